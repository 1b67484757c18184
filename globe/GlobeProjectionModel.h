#pragma once

// Projection models: the exchangeable mathematics of a projection. The base
// model gives the flat-map extents, the sampling visibility test and the
// graticule; TSphericalPrj is the globe the program shows.

#include "globe/GlobeRoot.h"

#include <QPoint>
#include <memory>
#include <vector>

class TGlobeProjection;
class TPointStore;
struct TBoundingCap;

// Device points written by conversions, shared by every globe; a chain is
// drawn with at most this many points.
constexpr int ScratchPointCount = 65537;
// Allocated on first use; the globe control frees it with the last globe.
QPoint* ScratchPoints();
// The second buffer of polygon clipping.
QPoint* ClipPoints();
void FreeSharedPointArrays();
bool SharedPointArraysAllocated();

// A rectangle in GU: left, top, right, bottom.
struct TExtents {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    int64_t Width() const { return int64_t{Right} - Left; }
    int64_t Height() const { return int64_t{Bottom} - Top; }
};

struct TGraticuleLine {
    TPointLL From;
    TPointLL To;
    int Steps = 0;
    friend bool operator==(const TGraticuleLine&, const TGraticuleLine&) = default;
};

class TCustomProjectionModel : public TGlobeRoot {
public:
    explicit TCustomProjectionModel(TGlobeProjection& projection) : m_projection(&projection) {}

    // The virtual constructor and copy, both for the given projection.
    virtual std::unique_ptr<TCustomProjectionModel> Create(TGlobeProjection& projection) const = 0;
    std::unique_ptr<TCustomProjectionModel> Clone(TGlobeProjection& projection) const;

    // Converts a chain into ScratchPoints; returns how many entries hold points.
    virtual int PointStoreToXY(TPointStore& store, int start, bool toRim) = 0;
    virtual bool LLToXY(int32_t longitude, int32_t latitude, int index) = 0;
    virtual bool PointLLToXY(const TPointLL& p, int index) = 0;
    // Writes the longitude as X and the latitude as Y of entry index.
    virtual bool XYToLL(int x, int y, int index) = 0;
    virtual TExtents ExtentsLL() const = 0;
    virtual bool XYListVisible(int count, TGlobeObjectState& state) = 0;
    virtual bool VisibleMER(const TMER& mer, TGlobeObjectState& state) = 0;
    // The same answer and bits for a rectangle whose bounding cap is known;
    // models that cannot use the cap sample the rectangle.
    virtual bool VisibleMER(const TMER& mer, const TBoundingCap& /*cap*/, TGlobeObjectState& state)
    {
        return VisibleMER(mer, state);
    }
    // Every point of a chain as a device point, and whether it lies on the
    // visible side, for lines cut where they disappear.
    virtual void ChainPointsToXY(TPointStore& store, std::vector<QPoint>& points, std::vector<char>& visible);
    virtual void PropertyChanged(int property) = 0;
    // The outline of the globe's surface in device points (none for flat models).
    virtual std::vector<QPoint> PaintSurface() = 0;
    virtual std::vector<TGraticuleLine> GraticuleLines(int longitudeStep, int latitudeStep) const = 0;

    TGlobeProjection& Projection() const { return *m_projection; }

protected:
    TGlobeProjection* m_projection;
};

class TProjectionModel : public TCustomProjectionModel {
public:
    using TCustomProjectionModel::TCustomProjectionModel;
    QString ClassName() const override { return QStringLiteral("TProjectionModel"); }

    int PointStoreToXY(TPointStore& store, int start, bool toRim) override;
    TExtents ExtentsLL() const override;
    bool XYListVisible(int count, TGlobeObjectState& state) override;
    bool VisibleMER(const TMER& mer, TGlobeObjectState& state) override;
    void PropertyChanged(int /*property*/) override {}
    std::vector<QPoint> PaintSurface() override { return {}; }
    std::vector<TGraticuleLine> GraticuleLines(int longitudeStep, int latitudeStep) const override;
    // Draws the graticule lines through the globe.
    void PaintGraticule(int longitudeStep, int latitudeStep);

protected:
    // Samples one part of a rectangle that does not cross 180°.
    bool VisiblePart(int32_t west, int32_t south, int32_t east, int32_t north, TGlobeObjectState& state);
};

// Plate carrée: longitude and latitude straight onto the surface. Not
// installed by the program; kept for views of flat maps.
class TCartesianPrj : public TProjectionModel {
public:
    explicit TCartesianPrj(TGlobeProjection& projection);
    QString ClassName() const override { return QStringLiteral("TCartesianPrj"); }
    std::unique_ptr<TCustomProjectionModel> Create(TGlobeProjection& projection) const override
    {
        return std::make_unique<TCartesianPrj>(projection);
    }
    bool LLToXY(int32_t longitude, int32_t latitude, int index) override;
    bool PointLLToXY(const TPointLL& p, int index) override { return LLToXY(p.Long, p.Lat, index); }
    bool XYToLL(int x, int y, int index) override;
    void PropertyChanged(int property) override;
};

// Makes the model of a class name (case-insensitive); raises when the
// class is not a projection model.
std::unique_ptr<TCustomProjectionModel> CreateProjectionModel(const QString& className, TGlobeProjection& projection);
