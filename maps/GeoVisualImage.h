#pragma once

#include "lesson/LessonTypes.h"
#include "maps/GeoVisual.h"

#include <QString>

class PictureControl;

// The picture map: a GIF picture whose places are printed numbers or white
// areas that the map fills with a colour while their item is current.
class TGeoVisualImage : public TGeoVisual {
public:
    TGeoVisualImage(QWidget* lessonView, const QString& programFolder, TDaten& lesson);

    QString ProgramFolder;
    PictureControl* Picture;
    QString PictureFile;

    void HighlightItem(TGeoItem* item, bool mainPartsOnly) override;
    void PrepareMap() override;
    bool LoadLesson(const QString& lessonPath, const IniFile& lessonFile) override;
    void RenderItem(TGeoItem& item, QPainter& painter, const QRect& rect) override;

    // Fills every seed point's area of a region text ("x1&y1&x2&y2...").
    void FillRegion(const QString& region, TColor color);

protected:
    void ArrangeContent() override;

private:
    void LoadPicture();
    void LoadCategories(const IniFile& lessonFile);
    QString m_lessonPath;
};
