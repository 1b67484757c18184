#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QAbstractButton;
class QHBoxLayout;
class TDaten;
class TGeoInput;
class TGeoItem;
class TGeoVisual;
struct TLernOptionen;

// The frame of an open lesson: it owns the lesson data, one map and one
// question panel, opens the lesson file, makes the map that fits the lesson
// type and routes events between map, panel and main window. The learning
// view and the editor view derive from it.
class TGeo : public QWidget {
public:
    TGeo(QWidget* page, const QString& lessonArgument, std::unique_ptr<TLernOptionen> options,
         const QString& programFolder);
    ~TGeo() override;

    std::unique_ptr<TDaten> Lesson;
    TLernOptionen* Options = nullptr; // owned by Lesson
    QString LessonArgument;
    QString LessonPath;
    QString ProgramFolder;
    TGeoVisual* MapView = nullptr;    // owned as a child
    TGeoInput* InputPanel = nullptr;  // owned as a child; made by the subclass
    int Mode = 0;
    std::function<void(TGeo* view)> OnDestroyed;

    virtual void Begin();
    // Releases the view (it is gone when this returns) and agrees.
    virtual bool Close();
    virtual void ShowPage(int page);
    virtual TGeoVisual* CreateMap(const QString& lessonType);
    virtual void Save();
    virtual void ShowResult();
    // True while the view stays open because its user chose so when it was
    // asked to close (the editor's Cancel): the program stays open as well.
    virtual bool CloseRefused() const { return false; }

    // Shows `format_exists` and fails for a missing file; conversion errors
    // of the lesson file propagate.
    bool OpenLessonFile(const QString& path);

    void RouteMapClick(TGeoItem& item);
    void ShowItemOnMap(TGeoItem* item);
    void RouteStateChange(TGeoItem& item);
    void RouteTip();
    void AttachRevealButton(QAbstractButton* button);
    static void PostEndOfSession();

protected:
    // Puts the question panel at the right edge; the subclass calls it once
    // its panel exists.
    void PlaceInputPanel();
    // A bar across the bottom of the view, under map and panel.
    void PlaceBottomBar(QWidget* bar);
    // The row that holds the map and the question panel.
    QHBoxLayout* Row() const { return m_row; }

private:
    void PlaceMap();
    QHBoxLayout* m_row;
};
