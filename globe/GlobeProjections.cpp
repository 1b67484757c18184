#include "globe/GlobeProjections.h"

#include "globe/CustomGlobeView.h"
#include "globe/GlobeSphericalPrj.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t Meters(double m) { return static_cast<int32_t>(m * 48.59611231101512 + 0.5); }
const double kTan50 = std::tan(50.0 * M_PI / 180.0);
constexpr double kMinScale = 1e-10;
constexpr double kMaxScale = 3;
} // namespace

const TSpheroidData SpheroidData[17] = {
    {Meters(6377563.396), 1 / 299.3249646}, {Meters(6378160), 1 / 298.25},
    {Meters(6377397.155), 1 / 299.1528128}, {Meters(6378206.4), 1 / 294.9786982},
    {Meters(6378249.145), 1 / 293.465},     {Meters(6377276.345), 1 / 300.8017},
    {Meters(6378160), 1 / 298.247167427},   {Meters(6378137), 1 / 298.257222101},
    {Meters(6378200), 1 / 298.3},           {Meters(6378270), 1 / 297.0},
    {Meters(6378388), 1 / 297.0},           {Meters(6378245), 1 / 298.3},
    {Meters(6378160), 1 / 298.25},          {Meters(6378165), 1 / 298.3},
    {Meters(6378145), 1 / 298.25},          {Meters(6378135), 1 / 298.26},
    {Meters(6378137), 1 / 298.257223563},
};

TGlobeProjection::TGlobeProjection(TCustomGlobeView& globe) : m_globe(globe)
{
    m_float[ppXRotation] = 23.5;
    m_float[ppMaxLatitude] = 90;
    m_float[ppMinLatitude] = -90;
    m_float[ppMaxLongitude] = 180;
    m_float[ppMinLongitude] = -180;
    m_model = std::make_unique<TSphericalPrj>(*this);
    const QSize size = m_globe.SurfaceSize();
    m_scaleFactor = std::clamp(FitScale(), kMinScale, kMaxScale);
    m_xOrigin = size.width() / 2;
    m_yOrigin = size.height() / 2;
    m_altitude = Round(1 / (m_scaleFactor * kTan50));
    m_model->PropertyChanged(ppScaleFactor);
}

TGlobeProjection::~TGlobeProjection() = default;

double TGlobeProjection::FitScale() const
{
    const TExtents e = m_model->ExtentsLL();
    const QSize size = m_globe.SurfaceSize();
    const double h = static_cast<double>(std::llabs(e.Height()));
    const double w = static_cast<double>(std::llabs(e.Width()));
    return std::min(h > 0 ? size.height() / h : 0.0, w > 0 ? size.width() / w : 0.0);
}

bool TGlobeProjection::IsFloatProp(int p)
{
    return (p >= ppXRotation && p <= ppZRotation) || (p >= ppCentralMeridian && p <= ppSecondParallel)
        || (p >= ppMaxLatitude && p <= ppMinZoom);
}

double TGlobeProjection::FloatProp(int property) const
{
    if (property == ppScaleFactor)
        return m_scaleFactor;
    return IsFloatProp(property) ? m_float[static_cast<size_t>(property)] : 0.0;
}

void TGlobeProjection::SetFloatProp(int property, double value)
{
    if (IsFloatProp(property)) {
        if (property == ppYRotation)
            value = Mod180Float(value);
        if (value == m_float[static_cast<size_t>(property)])
            return;
        m_float[static_cast<size_t>(property)] = value;
    }
    m_model->PropertyChanged(property);
    m_globe.RedrawLayers();
}

void TGlobeProjection::SetIntegerProp(int property, int32_t value)
{
    if (property == ppXOrigin || property == ppYOrigin) {
        value = ClampOrigin(value);
        int32_t& field = property == ppXOrigin ? m_xOrigin : m_yOrigin;
        if (field == value)
            return;
        field = value;
    }
    m_model->PropertyChanged(property);
    m_globe.RedrawLayers();
}

void TGlobeProjection::SetXAxisChanges(TXAxisChanges value)
{
    if (value == m_xAxisChanges)
        return;
    m_xAxisChanges = value;
    m_model->PropertyChanged(ppXAxisChanges);
}

void TGlobeProjection::SetYAxisChanges(TYAxisChanges value)
{
    if (value == m_yAxisChanges)
        return;
    m_yAxisChanges = value;
    m_model->PropertyChanged(ppYAxisChanges);
}

void TGlobeProjection::SetScaleFactor(double x)
{
    if (!(x >= 0) || std::abs(x - m_scaleFactor) < 1e-10)
        return;
    if (MaxZoom() > MinZoom())
        x = std::clamp(x, MinZoom(), MaxZoom());
    const QSize size = m_globe.SurfaceSize();
    const int w = size.width();
    const int h = size.height();
    if (x == 0) {
        m_xOrigin = w / 2;
        m_yOrigin = h / 2;
        x = FitScale();
    }
    if (x > kMaxScale)
        x = kMaxScale;
    if (std::max(w, h) / x > 2147483647.0)
        x = std::max(w, h) / 2147483647.0;
    // A surface without size would give no scale at all; keep the smallest.
    if (x < kMinScale)
        x = kMinScale;
    if (x != m_scaleFactor) {
        // The point under the window centre stays put. Zooming far in moves
        // a far origin farther off; it stops where device points still fit.
        m_xOrigin = ClampOrigin(int64_t{Round(x * (m_xOrigin - w / 2) / m_scaleFactor)} + w / 2);
        m_yOrigin = ClampOrigin(int64_t{Round(x * (m_yOrigin - h / 2) / m_scaleFactor)} + h / 2);
        m_altitude = Round(1 / (x * kTan50));
        m_globe.AssignViewRect(QRect(0, 0, Round(w / x), Round(h / x)));
        m_scaleFactor = x;
        m_model->PropertyChanged(ppScaleFactor);
        m_globe.RedrawLayers();
        m_globe.DoZoomed();
    }
    m_globe.UpdateScrollBars();
}

void TGlobeProjection::SetAltitude(int32_t altitude)
{
    SetScaleFactor(altitude != 0 ? 1 / (kTan50 * altitude) : 0.0);
}

void TGlobeProjection::SetGlobeCenterXY(const QPoint& point)
{
    if (point != GetGlobeCenterXY()) {
        SetIntegerProp(ppXOrigin, point.x());
        SetIntegerProp(ppYOrigin, point.y());
        m_globe.DoPanned();
    }
    m_globe.UpdateScrollBars();
    m_globe.RedrawLayers();
}

bool TGlobeProjection::LLToDeviceXY(int32_t longitude, int32_t latitude, QPoint& point)
{
    const bool visible = m_model->LLToXY(longitude, latitude, 0);
    point = ScratchPoints()[0];
    return visible;
}

bool TGlobeProjection::PointLLToXY(const TPointLL& p, QPoint& point)
{
    const bool visible = m_model->PointLLToXY(p, 0);
    point = ScratchPoints()[0];
    return visible;
}

bool TGlobeProjection::DeviceXYToLL(int x, int y, TPointLL& p)
{
    if (m_model->XYToLL(x, y, 0)) {
        const QPoint q = ScratchPoints()[0];
        p = PointLL(q.x(), q.y());
        return true;
    }
    p = {GU_180_DEGREE, GU_180_DEGREE, 0};
    return false;
}

bool TGlobeProjection::SurfaceCentreLL(TPointLL& p)
{
    const QSize size = m_globe.SurfaceSize();
    return DeviceXYToLL(size.width() / 2, size.height() / 2, p);
}

double TGlobeProjection::CenterLatitude()
{
    TPointLL c;
    return SurfaceCentreLL(c) ? c.Lat / double(GU_DEGREE) : 2147483647.0;
}

double TGlobeProjection::CenterLongitude()
{
    TPointLL c;
    return SurfaceCentreLL(c) ? c.Long / double(GU_DEGREE) : 2147483647.0;
}

TPointLL TGlobeProjection::CentreOnSurface()
{
    const QSize size = m_globe.SurfaceSize();
    SetIntegerProp(ppXOrigin, size.width() / 2);
    SetIntegerProp(ppYOrigin, size.height() / 2);
    TPointLL c;
    SurfaceCentreLL(c);
    return c;
}

void TGlobeProjection::SetCenterLatitude(double value)
{
    const TPointLL c = CentreOnSurface();
    SetFloatProp(ppXRotation, XRotation() - (c.Lat / double(GU_DEGREE) - value));
}

void TGlobeProjection::SetCenterLongitude(double value)
{
    const TPointLL c = CentreOnSurface();
    SetFloatProp(ppYRotation, YRotation() - (c.Long / double(GU_DEGREE) - value));
}

int32_t TGlobeProjection::GetUnitsPerInch() const { return Round(m_globe.RenderDPI() / m_scaleFactor); }

void TGlobeProjection::SetUnitsPerInch(int32_t units)
{
    if (units > 0)
        SetScaleFactor(m_globe.ScreenDPI() / static_cast<double>(units));
}

void TGlobeProjection::SetProjectionModel(std::unique_ptr<TCustomProjectionModel> model)
{
    const QSize size = m_globe.SurfaceSize();
    TPointLL centre;
    const bool remembered = (!model || model->ClassName() != m_model->ClassName()) && SurfaceCentreLL(centre);
    m_model.reset();
    m_model = model ? std::move(model) : std::make_unique<TSphericalPrj>(*this);
    for (int p = 0; p < ProjectionPropertyCount; ++p)
        m_model->PropertyChanged(p);
    if (remembered) {
        m_globe.AssignViewRect(QRect(0, 0, Round(size.width() / m_scaleFactor), Round(size.height() / m_scaleFactor)));
        m_xOrigin = size.width() / 2;
        m_yOrigin = size.height() / 2;
        m_globe.LocateToLL(centre.Long, centre.Lat);
    }
    m_globe.RedrawLayers();
}

void TGlobeProjection::SetProjectionClass(const QString& name)
{
    if (name.compare(ProjectionClass(), Qt::CaseInsensitive) == 0)
        return;
    SetProjectionModel(CreateProjectionModel(name, *this));
}

void TGlobeProjection::Assign(const TGlobeRoot& source)
{
    auto* other = dynamic_cast<const TGlobeProjection*>(&source);
    if (!other) {
        TGlobeRoot::Assign(source);
        return;
    }
    // The model first: a new model sets its own segment counts and flags.
    m_model = other->m_model->Clone(*this);
    m_xOrigin = other->m_xOrigin;
    m_yOrigin = other->m_yOrigin;
    m_altitude = other->m_altitude;
    m_float = other->m_float;
    m_scaleFactor = other->m_scaleFactor;
    Spheroid = other->Spheroid;
    m_xAxisChanges = other->m_xAxisChanges;
    m_yAxisChanges = other->m_yAxisChanges;
    MeridianSegments = other->MeridianSegments;
    ParallelSegments = other->ParallelSegments;
    ProjectionFlags = other->ProjectionFlags;
    BackFace = other->BackFace;
    m_model->PropertyChanged(ppScaleFactor);
}

std::unique_ptr<TGlobeProjection> TGlobeProjection::Clone() const
{
    auto copy = std::make_unique<TGlobeProjection>(m_globe);
    copy->Assign(*this);
    return copy;
}
