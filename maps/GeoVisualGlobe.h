#pragma once

#include "lesson/GeoIndex.h"
#include "lesson/LessonTypes.h"
#include "maps/GeoVisual.h"

#include <QString>
#include <memory>

class QFrame;
class TGeoDataObject;
class TGlobeLessonLink;
class TGlobeStreamReader;
class TGlobeView;
class TKategorie;

// The globe map: a rotating, zoomable globe drawn from the program's
// geographic data. A globe lesson names its terms by numbers into the
// geographic index; the map turns them into items and globe objects.
class TGeoVisualGlobe : public TGeoVisual {
public:
    // Opens Data/geodata.dat and Data/geodata.ini under the program folder;
    // a data file that cannot be opened raises OrbiloError.
    TGeoVisualGlobe(QWidget* lessonView, const QString& programFolder, TDaten& lesson);
    ~TGeoVisualGlobe() override;

    QString ProgramFolder;
    std::unique_ptr<TGlobeStreamReader> GeoDataReader;
    TGeoIndex GeoIndex;
    TGlobeView* Globe;
    QFrame* InsetPanel;
    TGeoDataObject* MarkerObject = nullptr;
    bool AllowMoving = true;
    bool AllowZooming = true;
    bool BuildingInsets = false;

    void ShowItemState(TGeoItem& item) override;
    void HighlightItem(TGeoItem* item, bool mainPartsOnly) override;
    QWidget* InteractiveCanvas() const override;
    void PrepareMap() override;
    bool LoadLesson(const QString& lessonPath, const IniFile& lessonFile) override;
    void RenderItem(TGeoItem& item, QPainter& painter, const QRect& rect) override;

    // The item of a lesson's kind and number, created as a helper of owner
    // when the lesson lacks it; code is a kind letter and a number.
    TGeoItem* FindOrCreateItem(const QString& code, TGeoItem& owner, ItemState state);
    void AttachSubItems(TGeoItem& item);
    void LinkCapitals();
    void BuildInsets();
    // The item's centre lies on the visible globe.
    bool CentreVisible(const TGeoItem& item) const;
    void LayoutGlobe();

    TGlobeLessonLink& Link() { return *m_link; }

protected:
    void ArrangeContent() override;

private:
    void SelectOnGlobe(TGeoItem& item, bool mainPartsOnly);
    void SelectParts(TGeoItem& item, bool mainPartsOnly, int depth);
    void DeselectAll();
    void ApplyGlobeSection(const IniFile& lessonFile);
    void LoadCategories(const QString& lessonPath, const IniFile& lessonFile);
    void PlaceMarker();

    std::unique_ptr<TGlobeLessonLink> m_link;
    QWidget* m_marker = nullptr;
    bool m_layoutActive = false;
    int m_attachLevel = 0; // levels of AttachSubItems now running
};
