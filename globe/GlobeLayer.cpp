#include "globe/GlobeLayer.h"

#include "globe/GlobeLayerStore.h"
#include "globe/GlobeCanvas.h"
#include "globe/GlobeProjections.h"

#include <algorithm>
#include <chrono>

TGlobeLayer::TGlobeLayer(TCustomGlobeView& globe) : m_globe(globe), m_presenters(globe)
{
    Clear();
    m_globe.Notify(gnLayerCreate, this);
    m_modified = false;
}

TGlobeLayer::~TGlobeLayer()
{
    m_globe.Notify(gnLayerFree, this);
    SetObjects(nullptr);
}

void TGlobeLayer::Clear()
{
    m_layerState &= ~lsValidMER;
    m_switches[0] = m_switches[1] = m_switches[3] = true;
    m_switches[2] = false;
    m_modified = false;
    m_zoomMin = m_zoomMax = 0;
    m_zoomUnits = NauticalMile;
    SetObjects(nullptr);
    m_presenters.Clear();
    m_globe.RedrawLayers();
}

TGlobeObjectSource& TGlobeLayer::GetObjects()
{
    if (!m_objects)
        SetObjects(new TGlobeObjectSource(m_globe)); // the globe owns it from its birth
    return *m_objects;
}

void TGlobeLayer::SetObjects(TGlobeObjectSource* source)
{
    if (source == m_objects)
        return;
    if (m_objects)
        m_objects->UnSubscribe(this);
    m_objects = source;
    if (m_objects)
        m_objects->Subscribe(this);
    m_layerState &= ~lsValidMER;
    m_globe.RedrawLayers();
}

void TGlobeLayer::Notify(TObjectSourceNotification message, TGlobeObject* object)
{
    switch (message) {
    case osnOpen:
        SetVisible(true);
        break;
    case osnClose:
        SetVisible(false);
        break;
    case osnAdd:
    case osnDelete:
        m_layerState &= ~lsValidMER;
        m_globe.RedrawLayers();
        break;
    case osnRedraw:
        m_globe.RedrawLayers();
        break;
    case osnFree:
        if (LayerStore)
            LayerStore->ObjectFreed(object);
        break;
    default:
        break;
    }
}

QString TGlobeLayer::GetLayerName() const
{
    const QString name = m_name.trimmed();
    if (!name.isEmpty())
        return name;
    if (m_objects && !m_objects->Name.trimmed().isEmpty())
        return m_objects->Name;
    return ClassName();
}

int TGlobeLayer::GetIndex() const { return LayerStore ? LayerStore->IndexOf(this) : -1; }

void TGlobeLayer::SetIndex(int index)
{
    if (LayerStore)
        LayerStore->Move(GetIndex(), index);
}

int TGlobeLayer::SelectedCount()
{
    if (!m_objects)
        return 0;
    int n = 0;
    for (int i = 0; i < m_objects->Count(); ++i)
        if (Has(m_objects->GetState(i), osSelected))
            ++n;
    return n;
}

TMER TGlobeLayer::GetLayerMER()
{
    if ((m_layerState & lsValidMER) && m_layerMER.Width != 0)
        return m_layerMER;
    if (!m_objects || m_objects->Count() == 0) {
        m_layerMER = MER(0, 0, 1, 1);
    } else {
        int64_t west = std::numeric_limits<int64_t>::max(), south = west;
        int64_t east = std::numeric_limits<int64_t>::min(), north = east;
        for (int i = 0; i < m_objects->Count(); ++i) {
            const TMER m = m_objects->GetMER(i);
            west = std::min<int64_t>(west, int64_t{m.Long} - 1);
            south = std::min<int64_t>(south, int64_t{m.Lat} - 1);
            east = std::max<int64_t>(east, int64_t{m.Long} + m.Width);
            north = std::max<int64_t>(north, int64_t{m.Lat} + m.Height);
        }
        west = std::max<int64_t>(west, -GU_180_DEGREE);
        east = std::min<int64_t>(east, GU_180_DEGREE);
        m_layerMER = MER(static_cast<int32_t>(west), static_cast<int32_t>(south), static_cast<int32_t>(east - west),
                         static_cast<int32_t>(north - south));
    }
    m_layerState |= lsValidMER;
    return m_layerMER;
}

bool TGlobeLayer::IsLayerMERVisible()
{
    if (!Visible())
        return false;
    const int32_t altitude = m_globe.Projection().Altitude();
    if (m_zoomMin > 0 && !(GlobeUnitsFrom(m_zoomUnits, m_zoomMin) < altitude))
        return false;
    if (m_zoomMax >= 1 && !(GlobeUnitsFrom(m_zoomUnits, m_zoomMax) >= altitude))
        return false;
    return true;
}

TGlobePresenter* TGlobeLayer::FindPresenter(int32_t id)
{
    if (TGlobePresenter* own = m_presenters.ByID(id, true))
        return own;
    return m_objects ? m_objects->Presenters().ByID(id, false) : nullptr;
}

void TGlobeLayer::SetZoomUnits(TGlobeUnitTypes units)
{
    auto convert = [&](int32_t value) {
        return Round(GlobeUnitsTo(GlobeUnitsFrom(m_zoomUnits, value), units));
    };
    m_zoomMin = convert(m_zoomMin);
    m_zoomMax = convert(m_zoomMax);
    m_zoomUnits = units;
    m_modified = true;
}

void TGlobeLayer::SetZoomMin(int32_t z)
{
    m_zoomMin = z;
    m_modified = true;
}

void TGlobeLayer::SetZoomMax(int32_t z)
{
    m_zoomMax = z;
    m_modified = true;
}

void TGlobeLayer::SetSwitch(int which, bool on)
{
    if (m_switches[which] == on)
        return;
    m_switches[which] = on;
    m_modified = true;
    m_globe.RedrawLayers();
}

TGlobeObject* TGlobeLayer::ObjectAtXY(int x, int y)
{
    TPointLL p;
    if (!m_globe.Projection().DeviceXYToLL(x, y, p))
        return nullptr;
    return ObjectAtLL(p);
}

TGlobeObject* TGlobeLayer::ObjectAtLL(const TPointLL& p)
{
    if (!m_objects || !IsLayerMERVisible())
        return nullptr;
    const int32_t tolerance = Round(1 / m_globe.Projection().ScaleFactor());
    // The object drawn last lies on top and is tested first.
    for (int i = m_objects->Count() - 1; i >= 0; --i) {
        const TMER m = m_objects->GetMER(i);
        if (!((m.Width == 0 && m.Height == 0) || PointLLinMER(p, m)))
            continue;
        TGlobeObject* object = m_objects->GetObject(i);
        TGlobePresenter* presenter = FindPresenter(object->PresenterID());
        const bool hit = presenter ? presenter->LLInObject(m_globe, p, tolerance, *object)
                                   : object->LLInObject(p, tolerance);
        if (hit)
            return object;
    }
    return nullptr;
}

template <typename Match> TGlobeObject* TGlobeLayer::FirstObject(Match match)
{
    if (!m_objects)
        return nullptr;
    for (int i = 0; i < m_objects->Count(); ++i)
        if (TGlobeObject* object = m_objects->GetObject(i); match(*object))
            return object;
    return nullptr;
}

TGlobeObject* TGlobeLayer::ObjectByTitle(const QString& title)
{
    return FirstObject([&](const TGlobeObject& o) { return o.Title() == title; });
}

TGlobeObject* TGlobeLayer::ObjectByID(int32_t id)
{
    return FirstObject([id](const TGlobeObject& o) { return o.ID() == id; });
}

TGlobeObjectState TGlobeLayer::UpdateObjectState(int i)
{
    TGlobeObjectState state = m_objects->GetState(i);
    if (Has(state, osNew))
        state = m_objects->GetObject(i)->State();
    if (Has(state, osHidden)) {
        Exclude(state, osVisible);
        return state;
    }
    const TMER m = m_objects->GetMER(i);
    TGlobeProjection& prj = m_globe.Projection();
    if (prj.ProjectionModel().VisibleMER(m, m_objects->GetCap(i), state)) {
        Include(state, osVisible);
        // Objects of at most 2 pixels each way are drawn as one pixel.
        const int32_t t = std::max(Round(2 / prj.ScaleFactor()), 1);
        if (m.Width > 0 && m.Height > 0)
            SetBit(state, osTiny, m.Width <= t && m.Height <= t);
    } else {
        Exclude(state, osVisible);
    }
    return state;
}

void TGlobeLayer::RenderObjects()
{
    if (!m_objects || !IsLayerMERVisible())
        return;
    TGlobeProjection& prj = m_globe.Projection();
    TGlobeCanvas& canvas = m_globe.GlobeCanvas();
    const TGlobeObjectStateBit face = prj.BackFace ? osBackFace : osFace;
    const int32_t altitude = prj.Altitude();
    bool missingMER = false;
    // A long pass shows what it has drawn every PeriodicUpdateTime ms.
    const int32_t period = m_globe.PeriodicUpdateTime();
    using Clock = std::chrono::steady_clock;
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(period);
    for (int i = 0; i < m_objects->Count(); ++i) {
        if ((i & 255) == 0) {
            if (m_globe.RenderCheckpoint(NoInterrupt))
                break;
            if (period > 0 && Clock::now() >= deadline) {
                m_globe.ShowProgress();
                deadline = Clock::now() + std::chrono::milliseconds(period);
            }
        }
        missingMER = missingMER || !Has(m_objects->GetState(i), osValidMER);
        const TGlobeObjectState s = UpdateObjectState(i);
        if (!Has(s, osVisible) || !Has(s, face))
            continue;
        if (Has(s, osTiny)) {
            const TMER m = m_objects->GetMER(i);
            QPoint p;
            if (prj.LLToDeviceXY(m.Long, m.Lat, p))
                canvas.SetPixel(p.x(), p.y(), 0x808080);
            continue;
        }
        TGlobeObject* object = m_objects->GetObject(i);
        const bool anyZoom = object->ZoomMin() == object->ZoomMax();
        if (!anyZoom && !(object->ZoomMin() < altitude && altitude <= object->ZoomMax()))
            continue;
        if (TGlobePresenter* presenter = FindPresenter(object->PresenterID())) {
            presenter->RenderObject(m_globe, *object, s);
            if (ShowTitles())
                RenderTitle(*object, *presenter, s);
        } else if (!m_globe.DoObjectRender(*object, s)) {
            object->Render(m_globe, s);
        }
    }
    if (missingMER) {
        InvalidateLayerMER();
        GetLayerMER();
    }
}

void TGlobeLayer::RenderTitle(TGlobeObject& object, TGlobePresenter& presenter, TGlobeObjectState state)
{
    const TTitleAlignment align = presenter.TitleAlignment;
    if (align == taNone || object.Title().isEmpty())
        return;
    TGlobeCanvas& canvas = m_globe.GlobeCanvas();
    TGlobeFont& font = presenter.TitleFont;
    const int h = canvas.FontRenderHeight(font.FontSize(), font.FontUnit());
    if (h < std::max(2, m_globe.GetMinTextHeight()))
        return;
    const int o = font.FontUnit() == Pixel
        ? presenter.TitleOffset
        : Round(m_globe.Projection().ScaleFactor() * ::GlobeUnitsFrom(font.FontUnit(), presenter.TitleOffset));
    font.RenderAttribute(canvas, Has(state, osSelected));
    QPoint anchor;
    if (!m_globe.Projection().PointLLToXY(object.GetCentroid(), anchor))
        return;
    const bool left = align == taLeft || align == taTopLeft || align == taBottomLeft;
    const bool right = align == taRight || align == taTopRight || align == taBottomRight;
    const bool top = align == taTopLeft || align == taTop || align == taTopRight;
    const bool bottom = align == taBottomLeft || align == taBottom || align == taBottomRight;
    int x = anchor.x() + (right ? o : left ? -o : 0);
    int y = anchor.y() + (bottom ? o : top ? -o : 0);
    const QSize extent = canvas.TextExtent(object.Title());
    x -= left ? extent.width() : right ? 0 : extent.width() / 2;
    // TextOut places the top of the text; the rest stand on the baseline.
    y -= top ? extent.height() : bottom ? 0 : canvas.TextAscent();
    canvas.TextOut(x, y, object.Title(), font.FontAngle());
}
