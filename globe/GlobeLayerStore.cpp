#include "globe/GlobeLayerStore.h"

#include "globe/GlobeLayer.h"
#include "globe/GlobePresenters.h"

#include <algorithm>

// Objects that name no presenter of their layer fall back on the global
// presenters: −1 draws points, −2 polygons and lines.
TGlobeLayerStore::TGlobeLayerStore(TCustomGlobeView& globe) : m_globe(globe), m_globalPresenters(globe)
{
    m_globalPresenters.Add(std::make_unique<TPointPresenter>(globe, -1));
    m_globalPresenters.Add(std::make_unique<TPolyPresenter>(globe, -2));
}

TGlobeLayerStore::~TGlobeLayerStore() { SetCount(0); }

TGlobeLayer* TGlobeLayerStore::GetLayer(int i) const
{
    if (i < 0 || i >= Count())
        throw EGlobeException(QStringLiteral("TGlobeView.GetLayer: Bad layer index %1").arg(i));
    return m_layers[static_cast<size_t>(i)];
}

void TGlobeLayerStore::SetCount(int n)
{
    // Freed from the last to the first; a dying layer asks to be removed,
    // which finds it already gone.
    while (Count() > std::max(n, 0)) {
        TGlobeLayer* layer = m_layers.back();
        m_layers.pop_back();
        layer->LayerStore = nullptr;
        delete layer;
    }
}

int TGlobeLayerStore::GetSelectedCount()
{
    int n = 0;
    for (TGlobeLayer* layer : m_layers)
        n += layer->SelectedCount();
    return n;
}

TGlobeObject* TGlobeLayerStore::GetSelected(int n)
{
    for (TGlobeLayer* layer : m_layers) {
        TGlobeObjectSource* source = layer->Objects();
        if (!source)
            continue;
        for (int i = 0; i < source->Count(); ++i)
            if (Has(source->GetState(i), osSelected) && n-- == 0)
                return source->GetObject(i);
    }
    return nullptr;
}

void TGlobeLayerStore::SetSelectedObject(TGlobeObject* object)
{
    if (object == m_selected)
        return;
    m_selected = object;
    for (TGlobeLayer* layer : m_layers) {
        TGlobeObjectSource* source = layer->Objects();
        if (!source)
            continue;
        for (int i = 0; i < source->Count(); ++i)
            if (Has(source->GetState(i), osSelected))
                source->GetObject(i)->SetSelected(false);
    }
    if (object)
        object->SetSelected(true);
}

void TGlobeLayerStore::Add(TGlobeLayer* layer)
{
    if (!layer || IndexOf(layer) >= 0)
        return;
    layer->LayerStore = this;
    m_layers.push_back(layer);
    m_globe.RedrawLayers();
}

void TGlobeLayerStore::Delete(TGlobeLayer* layer)
{
    const int index = IndexOf(layer);
    if (index < 0)
        return;
    m_layers.erase(m_layers.begin() + index);
    layer->LayerStore = nullptr;
    m_globe.RedrawLayers();
}

void TGlobeLayerStore::Move(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count())
        return;
    TGlobeLayer* layer = m_layers[static_cast<size_t>(from)];
    m_layers.erase(m_layers.begin() + from);
    m_layers.insert(m_layers.begin() + to, layer);
    m_globe.RedrawLayers();
}

int TGlobeLayerStore::IndexOf(const TGlobeLayer* layer) const
{
    const auto it = std::find(m_layers.begin(), m_layers.end(), layer);
    return it == m_layers.end() ? -1 : static_cast<int>(it - m_layers.begin());
}

int TGlobeLayerStore::IndexByName(const QString& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_layers[static_cast<size_t>(i)]->GetLayerName() == name)
            return i;
    return -1;
}

TGlobeObject* TGlobeLayerStore::ObjectAtXY(int x, int y)
{
    for (int i = Count() - 1; i >= 0; --i) {
        TGlobeLayer* layer = m_layers[static_cast<size_t>(i)];
        if (!layer->Enabled() || !layer->Visible())
            continue;
        if (TGlobeObject* hit = layer->ObjectAtXY(x, y))
            return hit;
    }
    return nullptr;
}

TGlobeObject* TGlobeLayerStore::ObjectAtLL(const TPointLL& p)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (TGlobeObject* hit = m_layers[static_cast<size_t>(i)]->ObjectAtLL(p))
            return hit;
    return nullptr;
}

TGlobeObject* TGlobeLayerStore::ObjectByTitle(const QString& title)
{
    for (TGlobeLayer* layer : m_layers)
        if (TGlobeObject* found = layer->ObjectByTitle(title))
            return found;
    return nullptr;
}

TGlobeObject* TGlobeLayerStore::ObjectByID(int32_t id)
{
    for (TGlobeLayer* layer : m_layers)
        if (TGlobeObject* found = layer->ObjectByID(id))
            return found;
    return nullptr;
}

void TGlobeLayerStore::Render(bool animated)
{
    for (TGlobeLayer* layer : m_layers)
        if (layer->Animated() == animated)
            layer->RenderObjects();
}

void TGlobeLayerStore::ObjectFreed(const TGlobeObject* object)
{
    if (object && object == m_selected)
        m_selected = nullptr;
}
