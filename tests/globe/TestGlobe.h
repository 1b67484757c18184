#pragma once

// A small stand-in for the globe control: owns what the control owns and
// counts the calls the engine makes on it.

#include "globe/CustomGlobeView.h"
#include "globe/GlobeCanvas.h"
#include "globe/GlobeClasses.h"
#include "globe/GlobeLayer.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobeProjections.h"

#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <vector>

class TestGlobe : public TCustomGlobeView {
public:
    explicit TestGlobe(QSize size = {400, 300}) : m_size(size)
    {
        m_canvas = std::make_unique<TGlobeCanvas>(*this);
        m_layers = std::make_unique<TGlobeLayerStore>(*this);
        m_projection = std::make_unique<TGlobeProjection>(*this);
    }
    ~TestGlobe() override
    {
        m_layers.reset();
        while (!m_sources.empty()) {
            TGlobeObjectSource* source = m_sources.back();
            m_sources.pop_back();
            delete source;
        }
    }

    TGlobeProjection& Projection() override { return *m_projection; }
    TGlobeLayerStore& GlobeLayers() override { return *m_layers; }
    TGlobeOptionsSet GlobeOptions() const override { return options; }
    QSize SurfaceSize() const override { return m_size; }
    int RenderDPI() const override { return 96; }
    int ScreenDPI() const override { return 96; }
    QString DataDirectory() const override { return dataDirectory; }
    TSaveMetaDataLocation SaveMetaDataLocation() const override { return metaDataLocation; }
    QString ResolveFilename(const QString& name) const override
    {
        if (name.isEmpty())
            return {};
        if (QFileInfo::exists(name))
            return name;
        const QString inData = dataDirectory + QFileInfo(name).fileName();
        return !dataDirectory.isEmpty() && QFileInfo::exists(inData) ? inData : QString();
    }
    bool ProgressMessage(TProgressMessage kind, const QString& text) override
    {
        progress.push_back({kind, text});
        return false;
    }
    int32_t NextMRU() override { return ++mru; }
    void Notify(TGlobeNotification kind, TGlobeRoot* item) override
    {
        if (!m_layers)
            return;
        switch (kind) {
        case gnLayerCreate:
            m_layers->Add(static_cast<TGlobeLayer*>(item));
            break;
        case gnLayerFree:
            m_layers->Delete(static_cast<TGlobeLayer*>(item));
            break;
        case gnObjectSourceCreate:
            m_sources.push_back(static_cast<TGlobeObjectSource*>(item));
            break;
        case gnObjectSourceFree:
            m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), item), m_sources.end());
            break;
        case gnObjectSourceActiveChange:
            break;
        }
        RedrawLayers();
    }
    void RedrawLayers() override { ++redraws; }
    void UpdateScrollBars() override {}
    void LocateToLL(int32_t longitude, int32_t latitude) override { located = PointLL(longitude, latitude); }
    int32_t CacheUsedDelta(int32_t delta) override { return cacheUsed += delta; }
    void RenderLine(const TPointLL&, const TPointLL&, int) override { ++lines; }
    void AssignViewRect(const QRect& rect) override { viewRect = rect; }
    void DoPanned() override {}
    void DoZoomed() override { ++zoomed; }
    void DoObjectCreate(TGlobeObject*) override { ++objectsCreated; }
    TGlobeCanvas& GlobeCanvas() override { return *m_canvas; }
    TGlobePen& SelectedPen() override { return selectedPen; }
    TGlobeBrush& SelectedBrush() override { return selectedBrush; }
    TGlobePen& TransparentPen() override { return transparentPen; }
    TGlobeBrush& TransparentBrush() override { return transparentBrush; }
    int32_t GetMinTextHeight() const override { return 5; }
    int32_t GetMaxTextHeight() const override { return 0; }
    bool DoObjectRender(TGlobeObject&, TGlobeObjectState) override { return false; }
    bool RenderCheckpoint(bool) override { return false; }
    int32_t PeriodicUpdateTime() const override { return 0; }
    void ShowProgress() override {}

    int SourceCount() const { return static_cast<int>(m_sources.size()); }

    TGlobeOptionsSet options = GlobeOption(goCache3DPoints) | GlobeOption(goDoubleBuffered);
    QString dataDirectory;
    TSaveMetaDataLocation metaDataLocation = smdInDataDirectory;
    int32_t mru = 0;
    int32_t cacheUsed = 0;
    int redraws = 0, zoomed = 0, lines = 0, objectsCreated = 0;
    TPointLL located;
    struct Progress {
        TProgressMessage kind;
        QString text;
    };
    std::vector<Progress> progress;
    QRect viewRect;
    TGlobePen selectedPen{0x0000FF, 0, 0, Pixel}, transparentPen{0x808080, 0, 0, Pixel};
    TGlobeBrush selectedBrush{0x00FFFF, 0}, transparentBrush{0xC0C0C0, 0};

private:
    QSize m_size;
    std::unique_ptr<TGlobeCanvas> m_canvas;
    std::unique_ptr<TGlobeLayerStore> m_layers;
    std::unique_ptr<TGlobeProjection> m_projection;
    std::vector<TGlobeObjectSource*> m_sources;
};

constexpr int32_t Deg(double d) { return static_cast<int32_t>(d * GU_DEGREE); }
