#include "globe/GlobeLayer.h"

#include "globe/GlobeLayerStore.h"
#include "globe/GlobeProjections.h"

#include <algorithm>

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

void TGlobeLayer::Notify(TObjectSourceNotification message, TGlobeObject* /*object*/)
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
