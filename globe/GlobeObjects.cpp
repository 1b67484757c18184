#include "globe/GlobeObjects.h"

#include "globe/GlobeCanvas.h"
#include "globe/GlobeClasses.h"
#include "globe/GlobeProjections.h"

// --- TGlobeObject ---

TGlobeObject::TGlobeObject(TGlobeObjectSource* source)
{
    SetParent(source);
}

TGlobeObject::~TGlobeObject()
{
    // The source frees its objects after emptying their entries; an object
    // freed by anyone else must not leave its entry pointing at freed memory.
    if (m_parent && m_index >= 0 && m_index < m_parent->Count()
        && m_parent->GetDataPtr(m_index).Object == this)
        m_parent->GetDataPtr(m_index).Object = nullptr;
    // The layers pass it on to the selection, which must forget this object.
    if (m_parent)
        m_parent->Notify(osnFree, this);
    m_parent = nullptr;
    Exclude(m_state, osSelected);
}

void TGlobeObject::SetParent(TGlobeObjectSource* source)
{
    if (source == m_parent)
        return;
    if (m_parent)
        m_parent->Delete(this);
    if (source)
        source->Add(this);
    m_parent = source;
}

void TGlobeObject::SetPresenterID(int32_t id)
{
    if (id == m_presenterID)
        return;
    m_presenterID = id;
    if (m_parent && m_index >= 0)
        m_parent->SetPresenterID(m_index, id);
    RedrawObject();
}

void TGlobeObject::SetSelected(bool selected)
{
    if (selected == Selected())
        return;
    SetBit(m_state, osSelected, selected);
    SelectedChanged();
    RedrawObject();
}

void TGlobeObject::SelectedChanged()
{
    if (!m_parent || m_index < 0)
        return;
    TGlobeObjectState entry = m_parent->GetState(m_index);
    SetBit(entry, osSelected, Selected());
    m_parent->SetState(m_index, entry);
    m_parent->Notify(osnSelectedChanged, this);
}

void TGlobeObject::SetHidden(bool hidden)
{
    if (hidden == Hidden())
        return;
    SetBit(m_state, osHidden, hidden);
    Include(m_state, osRedraw);
    RedrawObject();
}

void TGlobeObject::SetClosed(bool closed)
{
    if (closed == Closed())
        return;
    SetBit(m_state, osClosed, closed);
    if (m_parent && m_index >= 0) {
        TGlobeObjectState entry = m_parent->GetState(m_index);
        SetBit(entry, osClosed, closed);
        m_parent->SetState(m_index, entry);
    }
    RedrawObject();
}

void TGlobeObject::RedrawObject()
{
    Include(m_state, osRedraw);
    if (m_parent)
        m_parent->Notify(osnRedraw, this);
}

TPointLL TGlobeObject::GetCentroid() { return m_centroid; }

void TGlobeObject::SetCentroid(const TPointLL& p)
{
    m_centroid = p;
    Exclude(m_state, osValidMER);
    RedrawObject();
}

TMER TGlobeObject::ObjectMER()
{
    Include(m_state, osValidMER);
    return MER(m_centroid.Long, m_centroid.Lat, 0, 0);
}

void TGlobeObject::Assign(const TGlobeRoot& source)
{
    auto* other = dynamic_cast<const TGlobeObject*>(&source);
    if (!other) {
        TGlobeRoot::Assign(source);
        return;
    }
    auto& from = const_cast<TGlobeObject&>(*other); // GetCentroid may fill its cache
    Exclude(m_state, osValidMER);
    SetPresenterID(from.m_presenterID);
    m_title = from.m_title;
    m_id = from.m_id;
    SetCentroid(from.GetCentroid());
    m_zoomMin = from.m_zoomMin;
    m_zoomMax = from.m_zoomMax;
    SetClosed(from.Closed());
    SetSelected(from.Selected());
}

TGlobeObject* TGlobeObject::Create(TGlobeObjectSource* source) const { return new TGlobeObject(source); }

TGlobeObject* TGlobeObject::Clone()
{
    TGlobeObject* copy = Create(m_parent);
    copy->Assign(*this);
    return copy;
}

void TGlobeObject::Render(TCustomGlobeView& /*globe*/, TGlobeObjectState /*state*/) {}

void TGeoDataObject::Render(TCustomGlobeView& globe, TGlobeObjectState state)
{
    TGlobeCanvas& canvas = globe.GlobeCanvas();
    const bool selected = Has(state, osSelected);
    canvas.Pen.RenderAttribute(canvas, selected);
    if (Has(state, osClosed))
        canvas.Brush.RenderAttribute(canvas, selected);
    if (m_chains->GetCount() > 0) {
        canvas.RenderChainStore(*m_chains, state, canvas.CurrentPenWidth());
        return;
    }
    QPoint p;
    if (globe.Projection().PointLLToXY(GetCentroid(), p))
        canvas.Ellipse(p.x() - 2, p.y() - 2, p.x() + 2, p.y() + 2);
}

int64_t TGlobeObject::ObjectInstanceSize() const
{
    return static_cast<int64_t>(sizeof(TGlobeObject)) + m_title.size();
}

bool TGlobeObject::LLInObject(const TPointLL& /*p*/, int32_t /*tolerance*/) { return false; }

int TGlobeObject::LLInObjectMER(const TPointLL& p)
{
    if (Hidden())
        return 0;
    const TMER m = ObjectMER();
    if (!(m.Lat <= p.Lat && p.Lat < static_cast<int64_t>(m.Lat) + m.Height))
        return 0;
    const int64_t east = static_cast<int64_t>(m.Long) + m.Width;
    if (east > GU_180_DEGREE) {
        if (m.Long <= p.Long && p.Long < GU_180_DEGREE)
            return 2;
        if (-GU_180_DEGREE <= p.Long && p.Long < Mod180(east))
            return 1;
        return 0;
    }
    return (m.Long <= p.Long && p.Long < east) ? 3 : 0;
}

// --- TGeoDataObject ---

TGeoDataObject::TGeoDataObject(TGlobeObjectSource* source) : TGlobeObject(source) {}

TGlobeObject* TGeoDataObject::Create(TGlobeObjectSource* source) const { return new TGeoDataObject(source); }

TGlobeObject* TGeoDataObject::Clone()
{
    TGlobeObject* copy = Create(Parent());
    copy->Assign(*this);
    return copy;
}

void TGeoDataObject::Assign(const TGlobeRoot& source)
{
    TGlobeObject::Assign(source);
    if (auto* other = dynamic_cast<const TGeoDataObject*>(&source))
        m_chains = other->Chains().Clone();
}

TPointLL TGeoDataObject::GetCentroid()
{
    if (m_centroid.Height == NotComputed)
        m_centroid = Closed() ? m_chains->CentreOfLargestPart() : m_chains->Centroid();
    return m_centroid;
}

void TGeoDataObject::SetCentroid(const TPointLL& p)
{
    const TPointLL current = GetCentroid();
    auto delta = [](int32_t to, int32_t from) { return static_cast<int32_t>(int64_t{to} - from); };
    m_chains->Translate(delta(p.Long, current.Long), delta(p.Lat, current.Lat), delta(p.Height, current.Height));
    TGlobeObject::SetCentroid(p);
}

TMER TGeoDataObject::ObjectMER()
{
    if (m_chains->GetCount() == 0)
        return TGlobeObject::ObjectMER();
    Include(m_state, osValidMER);
    return m_chains->ChainStoreMER();
}

void TGeoDataObject::RedrawObject()
{
    TGlobeObject::RedrawObject();
    Exclude(m_state, osValidMER);
    m_chains->Refresh();
}

int64_t TGeoDataObject::ObjectInstanceSize() const
{
    return TGlobeObject::ObjectInstanceSize() + m_chains->ObjectInstanceSize();
}

bool TGeoDataObject::LLInObject(const TPointLL& p, int32_t tolerance)
{
    if (LLInObjectMER(p) == 0)
        return false;
    const bool closed = Closed();
    for (int i = 0; i < m_chains->GetCount(); ++i) {
        const TPointStore* chain = m_chains->Chain(i);
        if (!chain)
            continue;
        if (closed ? chain->PointInPolygon(p.Long, p.Lat) : chain->PointOnPolyline(p.Long, p.Lat, tolerance))
            return true;
    }
    return false;
}
