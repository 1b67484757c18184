#pragma once

#include "editor/IndexCatalogue.h"
#include "maps/GeoVisualGlobe.h"

#include <memory>
#include <utility>
#include <vector>

class FlatButton;
class QCheckBox;
class TAddItemDialog;

// The globe map of the lesson editor. On the map page the author turns and
// zooms the globe freely to set the view the lesson opens with; elsewhere
// the lesson's own rules for the mouse apply. New terms come from the
// geographic index through the add dialog.
class TGeoVisualGlobeEditor : public TGeoVisualGlobe {
public:
    TGeoVisualGlobeEditor(QWidget* lessonView, const QString& programFolder, TDaten& lesson);
    ~TGeoVisualGlobeEditor() override;

    FlatButton* ZoomInButton = nullptr;
    FlatButton* ZoomOutButton = nullptr;
    QCheckBox* MovingBox = nullptr;
    QCheckBox* ZoomingBox = nullptr;

    QWidget* CreateToolPanel() override;
    QWidget* CreateItemEditPanel() override;
    void EditorPageChanged(int page) override;
    // Shows the add dialog until the author leaves it with Cancel; every
    // confirmed entry becomes a question of the lesson.
    bool AddItemsFromDatabase() override;

    // The term of that section and number as a question of the lesson: an
    // existing one is made a listed question, a new one is read from the
    // index with its parts and its capital. None when its record is damaged
    // (the author is told).
    TGeoItem* AddIndexEntry(const QString& section, int number);

    // The zoom buttons: the whole part of 2/3 of the altitude (closer) or
    // of 1.5 times it (farther).
    static int ZoomedAltitude(int altitude, bool closer);
    void Zoom(bool closer);

    // The globe's view as the [Globe] keys of a lesson file: as they apply
    // to the 300 x 300 globe on which a lesson's view is set.
    std::vector<std::pair<QString, QString>> LessonViewKeys();
    // Changes whenever the author turns or zooms the globe.
    QString ViewSignature() const;

    TIndexCatalogue& Catalogue();
    TAddItemDialog& AddDialog() { return *m_addDialog; }

private:
    void Modified(TGeoItem* item);
    void MakeQuestion(TGeoItem& item);
    void LinkCapital(TGeoItem& item);

    TIndexCatalogue m_catalogue;
    bool m_catalogueBuilt = false;
    TAddItemDialog* m_addDialog = nullptr; // a child of the map
};
