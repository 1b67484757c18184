#pragma once

// The globe's ordered layers (first drawn first, at the bottom), the global
// drawing styles and the selection across layers.

#include "globe/GlobePresenterStore.h"
#include "globe/GlobeSysUtils.h"

#include <vector>

class TGlobeLayer;
class TGlobeObject;

class TGlobeLayerStore {
public:
    explicit TGlobeLayerStore(TCustomGlobeView& globe);
    virtual ~TGlobeLayerStore();
    TGlobeLayerStore(const TGlobeLayerStore&) = delete;
    TGlobeLayerStore& operator=(const TGlobeLayerStore&) = delete;

    virtual TGlobeLayer* GetLayer(int i) const;
    virtual void SetCount(int n);
    virtual int GetSelectedCount();
    virtual TGlobeObject* GetSelected(int n);
    virtual void SetSelectedObject(TGlobeObject* object);
    // Takes the layer; the layer's own constructor calls this through the globe.
    virtual void Add(TGlobeLayer* layer);
    // Removes the layer without freeing it.
    virtual void Delete(TGlobeLayer* layer);
    virtual void Move(int from, int to);
    virtual void Clear() { SetCount(0); }
    virtual int IndexOf(const TGlobeLayer* layer) const;
    virtual int IndexByName(const QString& name) const;
    virtual TGlobeObject* ObjectAtLL(const TPointLL& p);
    virtual TGlobeObject* ObjectAtXY(int x, int y);
    virtual TGlobeObject* ObjectByTitle(const QString& title);
    virtual TGlobeObject* ObjectByID(int32_t id);
    // Draws the layers, first to last, whose Animated equals the argument.
    virtual void Render(bool animated);
    // An object is going away: the selection must not keep pointing at it.
    void ObjectFreed(const TGlobeObject* object);

    int Count() const { return static_cast<int>(m_layers.size()); }
    TGlobeObject* SelectedObject() const { return m_selected; }
    TGlobePresenterStore& GlobalPresenters() { return m_globalPresenters; }
    TCustomGlobeView& Globe() const { return m_globe; }

private:
    TCustomGlobeView& m_globe;
    std::vector<TGlobeLayer*> m_layers; // owned
    TGlobeObject* m_selected = nullptr;
    TGlobePresenterStore m_globalPresenters;
};
