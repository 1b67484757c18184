#include "maps/GeoVisualImage.h"

#include "codec/GifCodec.h"
#include "i18n/LangDialogs.h"
#include "i18n/MainDictionary.h"
#include "lesson/Geoobj.h"
#include "lesson/ItemValues.h"
#include "lesson/LessonHeader.h"
#include "lesson/LessonValues.h"
#include "lesson/TDaten.h"
#include "maps/PictureControl.h"
#include "platform/FloodFill.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x008000;
constexpr TColor kWhite = 0xFFFFFF;

} // namespace

TGeoVisualImage::TGeoVisualImage(QWidget* lessonView, const QString& programFolder, TDaten& lesson)
    : TGeoVisual(lessonView, lesson), ProgramFolder(programFolder)
{
    Picture = new PictureControl(Content());
}

void TGeoVisualImage::PrepareMap() {}

void TGeoVisualImage::RenderItem(TGeoItem&, QPainter&, const QRect&) {}

bool TGeoVisualImage::LoadLesson(const QString& lessonPath, const IniFile& lessonFile)
{
    m_lessonPath = lessonPath;
    PictureFile = lessonFile.ReadString(QStringLiteral("Allgemeines"), QStringLiteral("Bitmap"));
    LoadPicture();
    LessonFile::ReadHeader(lessonFile, Lesson);
    if (const auto background = ReadColor(lessonFile, QStringLiteral("Allgemeines"), QStringLiteral("Background"))) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, QColor(ToQRgb(*background)));
        setPalette(pal);
    }
    LoadCategories(lessonFile);
    return true;
}

void TGeoVisualImage::LoadPicture()
{
    // The picture lies beside its lesson: the user's own lessons and the
    // shipped ones may live in different folders.
    const QString folder = m_lessonPath.isEmpty() ? ProgramFolder + QStringLiteral("Lektionen")
                                                  : QFileInfo(m_lessonPath).absolutePath();
    const QString path = folder + u'/' + PictureFile;
    if (PictureFile.isEmpty() || !QFile::exists(path))
        return; // a lesson may come without a picture: nothing to say
    try {
        Picture->SetBitmap(GifCodec::toRgb32(GifCodec::decodeFile(path)));
    } catch (const GifError& error) {
        // A damaged picture is worth a word; the lesson still loads.
        MessageDlg(MainDictionary(), error.message(), MsgDlgType::mtError, mbOK);
    }
    ArrangeContent();
}

void TGeoVisualImage::LoadCategories(const IniFile& lessonFile)
{
    TDaten& lesson = Lesson;
    const bool wantCapitals = lesson.LearnOptions && lesson.LearnOptions->Hauptstaedte;
    const TLangDictionary& dictionary = MainDictionary();
    int runningNumber = 1;
    for (const auto& [key, value] : ReadSectionPairs(lessonFile, QStringLiteral("Kategorien"))) {
        // Everything that can fail is read before the category joins the lesson.
        const std::optional<TColor> color = ReadColor(lessonFile, QStringLiteral("CKategorien"), key);
        const int count = ReadItemCount(lessonFile, QStringLiteral("AKategorien"), key);

        TKategorie& category = lesson.AddCategory();
        category.Name = ExtractField(value, u'|', 1);
        if (FieldCount(value, u'|') > 1)
            category.NameEnglish = ExtractField(value, u'|', 2);
        if (category.Name == QStringLiteral("Länder"))
            category.Kind = CategoryKind::Countries; // the kind alone, none of its defaults
        if (color)
            category.Color = *color;

        const QString itemSection = QStringLiteral("Kategorie") + key;
        for (int i = 1; i <= count; ++i) {
            const TPictureItemValue parsed = ParsePictureItemValue(lessonFile.ReadString(itemSection, QString::number(i)));
            auto item = std::make_unique<TGeoItem>(&category);
            item->NamesGerman = parsed.NamesGerman;
            item->NamesEnglish = parsed.NamesEnglish;
            if (parsed.Deactivated)
                item->SetState(ItemState::Deactivated);
            if (!parsed.Region.isEmpty()) {
                item->Region = parsed.Region;
                category.SetKind(QStringLiteral("L"));
            } else {
                item->Question = FormatText(dictionary.GetText(QStringLiteral("format_nr")),
                                            {QString::number(runningNumber)});
            }
            if (!parsed.CapitalNames.isEmpty() && wantCapitals) {
                TKategorie* target = nullptr;
                if (lesson.Categories.size() == 1) {
                    target = &lesson.AddCategory();
                    target->SetKind(QStringLiteral("C"));
                } else {
                    target = lesson.Categories[1].get();
                }
                auto capital = std::make_unique<TGeoItem>(target);
                capital->NamesGerman = parsed.CapitalNames;
                capital->Number = runningNumber;
                capital->Region = item->Region;
                capital->Question = FormatText(dictionary.GetText(QStringLiteral("format_fragecapital")),
                                               {item->DisplayName()});
                capital->SetState(item->State() == ItemState::Deactivated ? ItemState::Deactivated
                                                                          : ItemState::Dependent);
                capital->CapitalOf = item.get();
                item->Capital = capital.get();
                target->Items.push_back(std::move(capital));
            }
            item->Number = runningNumber++;
            category.Items.push_back(std::move(item));
        }
    }
}

void TGeoVisualImage::HighlightItem(TGeoItem* item, bool)
{
    if (HighlightedItem)
        FillRegion(HighlightedItem->Region, HighlightedItem->IsSolved() ? kGreen : kWhite);
    if (item && !item->Region.isEmpty()) {
        FillRegion(item->Region, kRed);
        HighlightedItem = item;
        // A picture larger than the map scrolls to the place being asked.
        int x = 0, y = 0;
        if (ParseDecimal(ExtractField(item->Region, u'&', 1), x) && ParseDecimal(ExtractField(item->Region, u'&', 2), y))
            ensureVisible(Picture->x() + x, Picture->y() + y, 80, 80);
    }
}

void TGeoVisualImage::FillRegion(const QString& region, TColor color)
{
    if (region.isEmpty())
        return;
    const QStringList fields = SplitFields(region, u'&');
    QImage& bitmap = Picture->Bitmap();
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        int x = 0, y = 0;
        if (!ParseDecimal(fields[i], x) || !ParseDecimal(fields[i + 1], y))
            throw ConversionError(TValueSource{m_lessonPath, QStringLiteral("Region"), QString()},
                                  !ParseDecimal(fields[i], x) ? fields[i] : fields[i + 1]);
        if (FloodFill(bitmap, QPoint(x, y), ToQRgb(color)) > 0)
            Picture->update();
    }
}

void TGeoVisualImage::ArrangeContent()
{
    const QSize area = viewport()->size();
    const QSize picture = Picture->size();
    const int x = picture.width() < area.width() ? (area.width() - picture.width()) / 2 : 0;
    const int y = picture.height() < area.height() ? (area.height() - picture.height()) / 2 : 1;
    Picture->move(x, y);
    Content()->resize(std::max(area.width(), x + picture.width()), std::max(area.height(), y + picture.height()));
}
