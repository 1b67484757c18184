#pragma once

#include "maps/GeoVisualImage.h"

#include <QImage>

class FlatButton;
class TGeoObjEditImage;

// The picture map of the lesson editor. The author loads the map picture
// from a file or pastes it, copies and saves it, and gives each question
// its region by clicking the areas of the picture while the question is
// being edited. The map keeps the picture as it came, without the fills it
// shows: that is what is saved, copied and written with the lesson.
class TGeoVisualImageEditor : public TGeoVisualImage {
public:
    TGeoVisualImageEditor(QWidget* lessonView, const QString& programFolder, TDaten& lesson);

    // The picture was loaded or pasted since the lesson was opened or last
    // saved: the lesson writer writes it then.
    bool PictureReplaced = false;

    FlatButton* LoadButton = nullptr;
    FlatButton* SaveButton = nullptr;
    FlatButton* CopyButton = nullptr;
    FlatButton* PasteButton = nullptr;

    bool LoadLesson(const QString& lessonPath, const IniFile& lessonFile) override;
    QWidget* CreateToolPanel() override;
    QWidget* CreateItemEditPanel() override;

    // The four picture tools. A failure is told and changes nothing.
    void LoadPictureFile();
    void SavePictureFile();
    void CopyPicture();
    void PastePicture();

    // The picture without fills; null when the lesson has none.
    const QImage& CleanPicture() const { return m_clean; }
    void ReplacePicture(const QImage& picture);
    // Writes the picture beside the lesson file when it was replaced, or
    // copies the shared picture file `sharedSource` (a copied lesson's) so
    // that the lesson has a picture of its own; `bitmap` becomes the name
    // the lesson keeps. The lesson's own picture is written over; any other
    // name (none yet, a shared one, one reaching out of the folder) gives
    // way to a new file. Returns the file it created, for the caller to
    // remove should the lesson fail to be written. Throws the codec's or
    // the platform's write error.
    QString SaveBesideLesson(const QString& lessonPath, QString& bitmap, const QString& sharedSource);

    // A click on the picture at that pixel: while a question is being
    // edited it adds an area to its region or takes one out.
    void PictureClicked(QPoint pixel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowRegion(const QString& region);
    void EditEnded(TGeoItem* confirmedItem);
    void ShowClean();

    QImage m_clean;
    TGeoObjEditImage* m_panel = nullptr;
    bool m_editing = false;
    TGeoItem* m_highlightBeforeEdit = nullptr;
};
