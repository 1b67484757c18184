#pragma once

// A layer shows one object source with its own drawing styles, zoom range
// and switches.

#include "globe/GlobeClasses.h"

enum TGlobeLayerState : uint8_t { lsValidMER = 1 };

class TGlobeLayerStore;

class TGlobeLayer : public TGlobeRoot {
public:
    // Announces itself to the globe, which adds it to its layer store.
    explicit TGlobeLayer(TCustomGlobeView& globe);
    ~TGlobeLayer() override;
    TGlobeLayer(const TGlobeLayer&) = delete;
    TGlobeLayer& operator=(const TGlobeLayer&) = delete;

    QString ClassName() const override { return QStringLiteral("TGlobeLayer"); }

    virtual int SelectedCount();
    virtual void Clear();
    virtual void Notify(TObjectSourceNotification message, TGlobeObject* object);
    virtual bool IsLayerMERVisible();
    virtual TGlobeObject* ObjectAtLL(const TPointLL& p);
    virtual TGlobeObject* ObjectAtXY(int x, int y);
    virtual TGlobeObject* ObjectByTitle(const QString& title);
    virtual TGlobeObject* ObjectByID(int32_t id);
    // Draws the objects whose face is in view: the far face during the
    // back pass of a transparent globe, else the near one.
    virtual void RenderObjects();
    virtual void RenderTitle(TGlobeObject& object, TGlobePresenter& presenter, TGlobeObjectState state);
    // The drawing state of entry i: visibility, faces, clipping, tininess.
    TGlobeObjectState UpdateObjectState(int i);

    // Creates a plain source on first use (the globe owns it).
    TGlobeObjectSource& GetObjects();
    TGlobeObjectSource* Objects() const { return m_objects; }
    void SetObjects(TGlobeObjectSource* source);
    TMER GetLayerMER();
    void InvalidateLayerMER() { m_layerState &= ~lsValidMER; }
    TGlobePresenter* FindPresenter(int32_t id);

    QString GetLayerName() const;
    void SetName(const QString& name) { m_name = name; }
    int GetIndex() const;
    void SetIndex(int index);

    bool Enabled() const { return m_switches[0]; }
    bool Visible() const { return m_switches[1]; }
    bool Animated() const { return m_switches[2]; }
    bool ShowTitles() const { return m_switches[3]; }
    void SetEnabled(bool on) { SetSwitch(0, on); }
    void SetVisible(bool on) { SetSwitch(1, on); }
    void SetAnimated(bool on) { SetSwitch(2, on); }
    void SetShowTitles(bool on) { SetSwitch(3, on); }
    bool NoInterrupt = false;

    int32_t ZoomMin() const { return m_zoomMin; }
    int32_t ZoomMax() const { return m_zoomMax; }
    void SetZoomMin(int32_t z);
    void SetZoomMax(int32_t z);
    TGlobeUnitTypes ZoomUnits() const { return m_zoomUnits; }
    void SetZoomUnits(TGlobeUnitTypes units);
    bool Modified() const { return m_modified; }

    TCustomGlobeView& Globe() const { return m_globe; }
    TGlobeLayerStore* LayerStore = nullptr;
    TGlobePresenterStore& Presenters() { return m_presenters; }

private:
    void SetSwitch(int which, bool on);
    // The first object of the source that matches, loading as it goes.
    template <typename Match> TGlobeObject* FirstObject(Match match);

    TCustomGlobeView& m_globe;
    QString m_name;
    TMER m_layerMER;
    uint8_t m_layerState = 0;
    TGlobePresenterStore m_presenters;
    TGlobeObjectSource* m_objects = nullptr;
    bool m_switches[4] = {true, true, false, true};
    int32_t m_zoomMin = 0;
    int32_t m_zoomMax = 0;
    TGlobeUnitTypes m_zoomUnits = NauticalMile;
    bool m_modified = false;
};
