#pragma once

#include <QScrollArea>
#include <functional>

class IniFile;
class QPainter;
class TDaten;
class TGeoItem;

// The map of a lesson view: the base of the picture map and the globe map.
// A scrolling panel that scrolls its content when it is larger than the
// panel. The lesson view drives it only through these operations.
class TGeoVisual : public QScrollArea {
public:
    TGeoVisual(QWidget* lessonView, TDaten& lesson);
    ~TGeoVisual() override;

    TDaten& Lesson;                      // owned by the lesson view
    TGeoItem* HighlightedItem = nullptr; // the item last highlighted
    std::function<void(TGeoItem& item)> OnItemClick;
    std::function<void(QObject* sender, TGeoItem* item)> OnModified;

    virtual void ShowItemState(TGeoItem& item);
    virtual void HighlightItem(TGeoItem* item, bool mainPartsOnly) = 0;
    virtual void PrepareMap() = 0;
    // Reads the lesson into `Lesson`; conversion errors propagate.
    virtual bool LoadLesson(const QString& lessonPath, const IniFile& lessonFile) = 0;
    virtual void RenderItem(TGeoItem& item, QPainter& painter, const QRect& rect) = 0;
    // The editor's tool panel; owned by the map.
    virtual QWidget* CreateToolPanel();
    virtual QWidget* CreateItemEditPanel();
    virtual void EditorPageChanged(int page);
    virtual bool AddItemsFromDatabase();
    // The part of the map that takes the keyboard while the learner moves
    // it (the globe), or none.
    virtual QWidget* InteractiveCanvas() const { return nullptr; }

protected:
    // The scrolled area that holds the map's own controls.
    QWidget* Content() const { return m_content; }
    void resizeEvent(QResizeEvent* event) override;
    // Lays out the content after a size change of the map or of its picture.
    virtual void ArrangeContent() {}

private:
    QWidget* m_content;
    QWidget* m_toolPanel = nullptr;
};
