#include "codec/GifCodec.h"
#include "i18n/MainDictionary.h"
#include "lesson/ConversionError.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "maps/GeoVisualImage.h"
#include "maps/PictureControl.h"
#include "platform/IniFile.h"
#include "support/TestResponder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PictureMapTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TestResponder responder;
    TDaten lesson;
    QWidget view;

    PictureMapTest()
    {
        QDir(dir.path()).mkdir("Lektionen");
        lesson.LearnOptions = std::make_unique<TLernOptionen>();
    }
    QString lessonPath() const { return dir.filePath("Lektionen/test.lek"); }
    void write(const QString& name, const QByteArray& text)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    // Two white 10 x 10 areas with a black border, side by side.
    void writePicture()
    {
        QImage picture(23, 12, QImage::Format_RGB32);
        picture.fill(qRgb(0, 0, 0));
        for (int y = 1; y <= 10; ++y)
            for (int x = 1; x <= 10; ++x) {
                picture.setPixel(x, y, qRgb(255, 255, 255));
                picture.setPixel(x + 11, y, qRgb(255, 255, 255));
            }
        GifCodec::saveFile(picture, dir.filePath("Lektionen/map.gif"));
    }
    std::unique_ptr<TGeoVisualImage> load(const QByteArray& text)
    {
        write("Lektionen/test.lek", text);
        auto map = std::make_unique<TGeoVisualImage>(&view, dir.path() + '/', lesson);
        IniFile file(lessonPath());
        map->LoadLesson(lessonPath(), file);
        return map;
    }
};

TEST_F(PictureMapTest, NumbersRunAcrossCategoriesAndAskForTheNumber)
{
    auto map = load("[Kategorien]\n1=Städte|Cities\n2=Flüsse\n[AKategorien]\n1=3\n2=2\n"
                    "[Kategorie1]\n1=Berlin\n2=xxxHamburg~Hamburg\n3=München|Muenchen~Munich\n"
                    "[Kategorie2]\n1=Rhein~Rhine\n2=Elbe\n");
    ASSERT_EQ(lesson.Categories.size(), 2u);
    EXPECT_EQ(lesson.Categories[0]->Name, QString::fromUtf8("Städte"));
    EXPECT_EQ(lesson.Categories[0]->NameEnglish, "Cities");
    const TGeoItem& hamburg = *lesson.Categories[0]->Items[1];
    EXPECT_EQ(hamburg.State(), ItemState::Deactivated);
    EXPECT_EQ(hamburg.NamesGerman, QStringList{"Hamburg"});
    EXPECT_EQ(hamburg.NamesEnglish, QStringList{"Hamburg"});
    EXPECT_EQ(lesson.Categories[0]->Items[2]->NamesGerman, (QStringList{QString::fromUtf8("München"), "Muenchen"}));
    const TGeoItem& rhine = *lesson.Categories[1]->Items[0];
    EXPECT_EQ(rhine.Number, 4);
    EXPECT_TRUE(rhine.Question.startsWith(QString::fromUtf8("Wie heißt"))) << rhine.Question.toStdString();
    EXPECT_TRUE(rhine.Question.endsWith("Nummer 4 ?")) << rhine.Question.toStdString();
    EXPECT_EQ(lesson.Categories[1]->Items[1]->Number, 5);
    EXPECT_EQ(map->PictureFile, "");
    EXPECT_TRUE(map->Picture->Bitmap().isNull()) << "no picture, and no message";
    EXPECT_TRUE(responder.messages.empty());
}

TEST_F(PictureMapTest, AnEmptyOrRepeatedCategoryEntryIsNoCategory)
{
    auto map = load("[Kategorien]\n1=Städte\n2=\n1=Doppelt\n3=Flüsse\n[AKategorien]\n1=1\n2=1\n3=1\n"
                    "[Kategorie1]\n1=Berlin\n[Kategorie2]\n1=Nirgends\n[Kategorie3]\n1=Rhein\n");
    ASSERT_EQ(lesson.Categories.size(), 2u);
    EXPECT_EQ(lesson.Categories[0]->Name, QString::fromUtf8("Städte"));
    EXPECT_EQ(lesson.Categories[1]->Items[0]->NamesGerman, QStringList{"Rhein"});
}

TEST_F(PictureMapTest, ARegionMakesACountriesCategoryAndCapitalsOnlyWhenAsked)
{
    const QByteArray text = "[Kategorien]\n1=Irgendwas\n[AKategorien]\n1=2\n"
                            "[Kategorie1]\n1=Frankreich~France?5&5?Paris\n2=xxxSpanien?16&5?Madrid\n";
    load(text);
    ASSERT_EQ(lesson.Categories.size(), 1u) << "no capitals unless asked";
    EXPECT_EQ(lesson.Categories[0]->Kind, CategoryKind::Countries);
    EXPECT_NE(lesson.Categories[0]->Name, "Irgendwas") << "the kind's default names replace the file's";
    EXPECT_TRUE(lesson.Categories[0]->Items[0]->Question.isEmpty());

    TDaten withCapitals;
    withCapitals.LearnOptions = std::make_unique<TLernOptionen>();
    withCapitals.LearnOptions->Hauptstaedte = true;
    TGeoVisualImage map(&view, dir.path() + '/', withCapitals);
    IniFile file(lessonPath());
    map.LoadLesson(lessonPath(), file);
    ASSERT_EQ(withCapitals.Categories.size(), 2u) << "the first capital makes the cities category";
    EXPECT_EQ(withCapitals.Categories[1]->Kind, CategoryKind::Cities);
    const TGeoItem& france = *withCapitals.Categories[0]->Items[0];
    const TGeoItem& paris = *withCapitals.Categories[1]->Items[0];
    EXPECT_EQ(france.Capital, &paris);
    EXPECT_EQ(paris.CapitalOf, &france);
    EXPECT_EQ(paris.Number, 1);
    EXPECT_EQ(paris.Region, "5&5");
    EXPECT_EQ(paris.State(), ItemState::Dependent);
    EXPECT_TRUE(paris.Question.contains("\"France\"") || paris.Question.contains("\"Frankreich\""));
    EXPECT_EQ(withCapitals.Categories[1]->Items[1]->State(), ItemState::Deactivated) << "Madrid follows Spain";
}

TEST_F(PictureMapTest, BadCountsAreConversionErrorsKeepingWhatWasBuilt)
{
    for (const QByteArray& count : {QByteArray("zwei"), QByteArray("")}) {
        TDaten fresh;
        write("Lektionen/test.lek", "[Kategorien]\n1=A\n2=B\n[AKategorien]\n1=1\n2=" + count + "\n[Kategorie1]\n1=x\n");
        TGeoVisualImage map(&view, dir.path() + '/', fresh);
        IniFile file(lessonPath());
        EXPECT_THROW(map.LoadLesson(lessonPath(), file), ConversionError) << count.constData();
        EXPECT_EQ(fresh.Categories.size(), 1u);
    }
}

TEST_F(PictureMapTest, HighlightFillsRegionsRedThenWhiteOrGreen)
{
    writePicture();
    auto map = load("[Allgemeines]\nBitmap=map.gif\n[Kategorien]\n1=Länder\n[AKategorien]\n1=3\n"
                    "[Kategorie1]\n1=A?5&5\n2=B?16&5&30\n3=C\n");
    QImage& bitmap = map->Picture->Bitmap();
    ASSERT_EQ(bitmap.size(), QSize(23, 12));
    TGeoItem& a = *lesson.Categories[0]->Items[0];
    TGeoItem& b = *lesson.Categories[0]->Items[1];
    TGeoItem& c = *lesson.Categories[0]->Items[2];
    const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255), green = qRgb(0, 128, 0);
    map->HighlightItem(&a, false);
    EXPECT_EQ(bitmap.pixel(1, 1), red);
    EXPECT_EQ(bitmap.pixel(12, 1), white);
    map->HighlightItem(&b, false);
    EXPECT_EQ(bitmap.pixel(1, 1), white);
    EXPECT_EQ(bitmap.pixel(12, 10), red) << "an odd last field is ignored";
    b.SetState(ItemState::Right);
    map->HighlightItem(&c, false);
    EXPECT_EQ(map->HighlightedItem, &b) << "an item without a region keeps the last one";
    EXPECT_EQ(bitmap.pixel(12, 10), green);
    map->HighlightItem(nullptr, false);
    EXPECT_EQ(map->HighlightedItem, &b);

    a.Region = "5&x";
    EXPECT_THROW(map->HighlightItem(&a, false), ConversionError);
    a.Region = "500&500";
    EXPECT_NO_THROW(map->FillRegion(a.Region, 0x0000FF)) << "a seed outside fills nothing";
}

TEST_F(PictureMapTest, PictureIsCentredOrScrolled)
{
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    GifCodec::saveFile(picture, dir.filePath("Lektionen/map.gif"));
    auto map = load("[Allgemeines]\nBitmap=map.gif\n");
    view.show();
    map->show();
    map->resize(600, 500);
    QCoreApplication::processEvents();
    ASSERT_EQ(map->viewport()->size(), QSize(600, 500));
    EXPECT_EQ(map->Picture->pos(), QPoint(100, 100));
    map->resize(300, 200);
    EXPECT_EQ(map->Picture->pos(), QPoint(0, 1));
}

TEST_F(PictureMapTest, ABrokenPictureIsReportedAndTheLessonStillLoads)
{
    write("Lektionen/map.gif", "GIF89a\x10\x00");
    auto map = load("[Allgemeines]\nBitmap=map.gif\n[Kategorien]\n1=A\n[AKategorien]\n1=1\n[Kategorie1]\n1=x\n");
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].type, MsgDlgType::mtError);
    EXPECT_EQ(lesson.Categories.size(), 1u);
}

// Without a usable picture the map is its background colour and nothing else.
TEST_F(PictureMapTest, NoPictureMissingOrDamagedShowsOnlyTheBackground)
{
    write("Lektionen/broken.gif", "GIF89a\x10\x00");
    for (const char* bitmap : {"", "missing.gif", "broken.gif"}) {
        SCOPED_TRACE(bitmap);
        auto map = load(QByteArray("[Allgemeines]\nBackground=clAqua\nBitmap=") + bitmap + "\n");
        view.show();
        map->show();
        map->resize(300, 200);
        QCoreApplication::processEvents();
        const QImage shot = map->viewport()->grab().toImage();
        int other = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                other += (shot.pixel(x, y) & 0xFFFFFF) != 0x00FFFF;
        EXPECT_EQ(other, 0) << "pixels that are not the background";
    }
}

} // namespace
