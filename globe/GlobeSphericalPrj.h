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
    void ChainPointsToXY(TPointStore& store, std::vector<QPoint>& points, std::vector<char>& visible) override;
    using TProjectionModel::VisibleMER;
    bool VisibleMER(const TMER& mer, const TBoundingCap& cap, TGlobeObjectState& state) override;
    bool XYToLL(int x, int y, int index) override;
    TExtents ExtentsLL() const override;
    void PropertyChanged(int property) override;
    std::vector<QPoint> PaintSurface() override;

    const TMatrix& Forward() const { return m_forward; }
    double Radius() const { return m_radius; }

private:
    void Rebuild();
    // The device point of a 3D point; true on the visible side.
    bool Point3DToXY(const TPoint3D& q, QPoint& out) const;
    bool Caching() const;

    TMatrix m_rotation;
    TMatrix m_forward; // rotation × scale
    TMatrix m_inverse; // transposed rotation / scale
    double m_radius = 0;
    double m_radius2 = 0;
};
