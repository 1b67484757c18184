#pragma once

// The orthographic view of the sphere, turned by three angles.

#include "globe/GlobeProjectionModel.h"

TQuaternion EulerToQuat(double x, double y, double z);
TMatrix QuatToMatrix(const TQuaternion& q);

class TSphericalPrj : public TProjectionModel {
public:
    explicit TSphericalPrj(TGlobeProjection& projection);
    QString ClassName() const override { return QStringLiteral("TSphericalPrj"); }
    std::unique_ptr<TCustomProjectionModel> Create(TGlobeProjection& projection) const override
    {
        return std::make_unique<TSphericalPrj>(projection);
    }

    int PointStoreToXY(TPointStore& store, int start, bool toRim) override;
    bool LLToXY(int32_t longitude, int32_t latitude, int index) override;
    bool PointLLToXY(const TPointLL& p, int index) override;
    bool XYToLL(int x, int y, int index) override;
    TExtents ExtentsLL() const override;
    void PropertyChanged(int property) override;
    std::vector<QPoint> PaintSurface() override;

    const TMatrix& Forward() const { return m_forward; }
    double Radius() const { return m_radius; }

private:
    void Rebuild();

    TMatrix m_forward; // rotation × scale
    TMatrix m_inverse; // transposed rotation / scale
    double m_radius = 0;
    double m_radius2 = 0;
};
