#pragma once

// The view parameters of one globe and the conversions between globe
// coordinates and device points.

#include "globe/GlobeProjectionModel.h"

#include <algorithm>
#include <array>
#include <memory>

class TCustomGlobeView;
class TGlobeXmlElement;

enum TProjectionProperty {
    ppXRotation, ppYRotation, ppZRotation, ppScaleFactor, ppXOrigin, ppYOrigin, ppCentralMeridian,
    ppCentralParallel, ppFirstParallel, ppSecondParallel, ppSpheroid, ppXAxisChanges, ppYAxisChanges,
    ppMaxLatitude, ppMinLatitude, ppMaxLongitude, ppMinLongitude, ppMaxZoom, ppMinZoom
};
constexpr int ProjectionPropertyCount = 19;

enum TXAxisChanges { xaYOrigin, xaCentralParallel, xaNoAction };
enum TYAxisChanges { yaXOrigin, yaCentralMeridian, yaNoAction };

enum TSpheroid {
    Airy1830, Australian1965, Bessel1841, Clarke1866, Clarke1880, Everest1830, GRS1967, GRS1980, Helmert1906,
    Hough, International1920, Krassovsky1940, SouthAmerican1969, WGS60, WGS66, WGS72, WGS84
};
struct TSpheroidData {
    int32_t SemiMajorAxis; // GU
    double Flattening;
};
extern const TSpheroidData SpheroidData[17];

enum TProjectionFlag : uint8_t { pfContinuous = 1, pfTextureMap = 2 };
using TProjectionFlags = uint8_t;

class TGlobeProjection : public TGlobeRoot {
public:
    // The origin never lies farther off than this: the largest globe radius
    // (scale 3) added to it still gives a device point in integer range.
    static constexpr int32_t MaxOrigin = 1000000000;
    static int32_t ClampOrigin(int64_t origin)
    {
        return static_cast<int32_t>(std::clamp<int64_t>(origin, -MaxOrigin, MaxOrigin));
    }

    explicit TGlobeProjection(TCustomGlobeView& globe);
    ~TGlobeProjection() override;
    TGlobeProjection(const TGlobeProjection&) = delete;
    TGlobeProjection& operator=(const TGlobeProjection&) = delete;

    QString ClassName() const override { return QStringLiteral("TGlobeProjection"); }

    void Assign(const TGlobeRoot& source) override;
    virtual void SetIntegerProp(int property, int32_t value);
    virtual void SetFloatProp(int property, double value);
    // None installs a new spherical model.
    virtual void SetProjectionModel(std::unique_ptr<TCustomProjectionModel> model);
    virtual void SetXAxisChanges(TXAxisChanges value);
    virtual void SetYAxisChanges(TYAxisChanges value);
    // 0 fits the globe into the surface.
    virtual void SetScaleFactor(double x);
    virtual void SetAltitude(int32_t altitude);
    virtual std::unique_ptr<TGlobeProjection> Clone() const;
    // The view as attributes of an environment element; missing ones keep
    // their present value.
    virtual void LoadEnvironment(const TGlobeXmlElement& element);
    virtual void SaveEnvironment(TGlobeXmlElement& element) const;

    bool LLToDeviceXY(int32_t longitude, int32_t latitude, QPoint& point);
    bool PointLLToXY(const TPointLL& p, QPoint& point);
    // Off the globe: false and the point (972,000,000, 972,000,000).
    bool DeviceXYToLL(int x, int y, TPointLL& p);
    TExtents ExtentsLL() const { return m_model->ExtentsLL(); }

    void SetGlobeCenterXY(const QPoint& point);
    QPoint GetGlobeCenterXY() const { return {m_xOrigin, m_yOrigin}; }

    // Degrees of the point under the surface centre; 2,147,483,647 off the globe.
    double CenterLatitude();
    double CenterLongitude();
    void SetCenterLatitude(double value);
    void SetCenterLongitude(double value);

    int32_t GetUnitsPerInch() const;
    void SetUnitsPerInch(int32_t units);

    QString ProjectionClass() const { return m_model->ClassName(); }
    void SetProjectionClass(const QString& name);
    TCustomProjectionModel& ProjectionModel() const { return *m_model; }

    TCustomGlobeView& Globe() const { return m_globe; }
    int32_t XOrigin() const { return m_xOrigin; }
    int32_t YOrigin() const { return m_yOrigin; }
    int32_t Altitude() const { return m_altitude; }
    double ScaleFactor() const { return m_scaleFactor; }
    double FloatProp(int property) const;
    double XRotation() const { return m_float[ppXRotation]; }
    double YRotation() const { return m_float[ppYRotation]; }
    double ZRotation() const { return m_float[ppZRotation]; }
    void SetXRotation(double v) { SetFloatProp(ppXRotation, v); }
    void SetYRotation(double v) { SetFloatProp(ppYRotation, v); }
    void SetZRotation(double v) { SetFloatProp(ppZRotation, v); }
    double CentralMeridian() const { return m_float[ppCentralMeridian]; }
    double CentralParallel() const { return m_float[ppCentralParallel]; }
    double MaxZoom() const { return m_float[ppMaxZoom]; }
    double MinZoom() const { return m_float[ppMinZoom]; }
    void SetMaxZoom(double v) { SetFloatProp(ppMaxZoom, v); }
    void SetMinZoom(double v) { SetFloatProp(ppMinZoom, v); }
    TXAxisChanges XAxisChanges() const { return m_xAxisChanges; }
    TYAxisChanges YAxisChanges() const { return m_yAxisChanges; }

    TSpheroid Spheroid = WGS84;
    int32_t MeridianSegments = 72;
    int32_t ParallelSegments = 144;
    TProjectionFlags ProjectionFlags = pfTextureMap;
    // Conversions treat the far side as the visible one (back pass).
    bool BackFace = false;

private:
    static bool IsFloatProp(int property);
    // The point under the surface centre, if it is on the globe.
    bool SurfaceCentreLL(TPointLL& p);
    // Moves the origin to the surface centre and returns the point there.
    TPointLL CentreOnSurface();
    double FitScale() const;

    TCustomGlobeView& m_globe;
    int32_t m_xOrigin = 0;
    int32_t m_yOrigin = 0;
    int32_t m_altitude = 0;
    double m_scaleFactor = 1;
    std::array<double, ProjectionPropertyCount> m_float{};
    TXAxisChanges m_xAxisChanges = xaYOrigin;
    TYAxisChanges m_yAxisChanges = yaCentralMeridian;
    std::unique_ptr<TCustomProjectionModel> m_model;
};
