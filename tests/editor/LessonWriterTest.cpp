#include "EditorFixture.h"

#include "editor/LessonFileName.h"
#include "editor/LessonWriter.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeView.h"
#include "lesson/LessonHeader.h"
#include "lesson/LessonValues.h"
#include "maps/GeoVisualGlobe.h"
#include "maps/GeoVisualImage.h"
#include "maps/PictureControl.h"
#include "platform/IniFile.h"

namespace {

QString names(const QStringList& list) { return list.join(u'|'); }

// Everything of a lesson the readers fill in: the tree of categories and
// items with their states and regions, and the map's view.
QStringList describe(TGeoEditor& editor)
{
    const TDaten& lesson = *editor.Lesson;
    QStringList lines{QString("lesson %1 / %2 / %3").arg(lesson.Name, lesson.NameEnglish).arg(lesson.Continent)};
    for (const auto& category : lesson.Categories) {
        lines << QString("category %1 / %2 kind %3 index %4 colours %5 %6 %7 %8")
                     .arg(category->Name, category->NameEnglish)
                     .arg(int(category->Kind))
                     .arg(category->IndexSection)
                     .arg(category->Color)
                     .arg(category->MapColor)
                     .arg(category->SelectedColor)
                     .arg(category->OutlineColor);
        for (const auto& item : category->Items)
            lines << QString("  %1 %2 ~ %3 ~ %4 state %5 region %6 aux %7 capital %8 of %9 parts %10")
                         .arg(item->Number)
                         .arg(names(item->NamesGerman), names(item->NamesEnglish), names(item->NamesOther))
                         .arg(int(item->State()))
                         .arg(item->Region)
                         .arg(item->Auxiliary)
                         .arg(item->Capital ? item->Capital->DisplayName() : "-")
                         .arg(item->CapitalOf ? item->CapitalOf->DisplayName() : "-")
                         .arg(item->SubItems.size());
    }
    if (auto* globe = dynamic_cast<TGeoVisualGlobe*>(editor.MapView)) {
        const TGlobeProjection& p = globe->Globe->Projection();
        lines << QString("view %1 %2 %3 scale %4 origin %5 %6 meridian %7 parallel %8 axes %9 %10 moving %11 zooming %12")
                     .arg(p.XRotation(), 0, 'g', 17)
                     .arg(p.YRotation(), 0, 'g', 17)
                     .arg(p.ZRotation(), 0, 'g', 17)
                     .arg(p.ScaleFactor(), 0, 'g', 17)
                     .arg(p.XOrigin())
                     .arg(p.YOrigin())
                     .arg(p.CentralMeridian(), 0, 'g', 17)
                     .arg(p.CentralParallel(), 0, 'g', 17)
                     .arg(int(p.XAxisChanges()))
                     .arg(int(p.YAxisChanges()))
                     .arg(globe->AllowMoving)
                     .arg(globe->AllowZooming);
    }
    if (auto* image = dynamic_cast<TGeoVisualImage*>(editor.MapView)) {
        const QImage& picture = image->Picture->Bitmap();
        lines << QString("picture %1 x %2").arg(picture.width()).arg(picture.height());
    }
    return lines;
}

class LessonWriterTest : public EditorFixture {};

// Every shipped lesson, saved from the editor, reads back into the same
// lesson; saving that again gives the same bytes.
TEST_F(LessonWriterTest, EveryShippedLessonReadsBackAsItWasSaved)
{
    QStringList lessons = QDir(dir.filePath("Lektionen")).entryList({"*.lek"}, QDir::Files, QDir::Name);
    ASSERT_GE(lessons.size(), 38);
    int pictures = 0;
    for (const QString& file : lessons) {
        SCOPED_TRACE(file.toStdString());
        auto original = open(lessonPath(file));
        ASSERT_TRUE(original->Opened());
        pictures += original->IsPictureLesson();
        // A standard lesson itself is never written: its first save is a new file.
        ASSERT_TRUE(original->SaveLesson());
        const QString saved = original->LessonPath;
        ASSERT_NE(QFileInfo(saved).fileName(), file);
        EXPECT_FALSE(original->Modified);

        const IniFile written(saved);
        EXPECT_FALSE(LessonFile::IsStandardLesson(written));
        EXPECT_LE(LessonFile::Version(written), 3);
        EXPECT_TRUE(LessonFile::HasContent(written));

        auto reread = open(saved);
        ASSERT_TRUE(reread->Opened());
        EXPECT_EQ(describe(*reread), describe(*original));

        const QByteArray first = read(saved);
        ASSERT_TRUE(reread->SaveLesson());
        EXPECT_EQ(reread->LessonPath, saved) << "an ordinary lesson is saved where it was read";
        EXPECT_EQ(read(saved), first);
    }
    EXPECT_GE(pictures, 5);
    EXPECT_GE(lessons.size() - pictures, 30);
}

TEST_F(LessonWriterTest, StatesBecomePrefixesAndHelpersStayOut)
{
    TDaten lesson;
    lesson.Name = "Test";
    lesson.Continent = 3;
    TKategorie& countries = lesson.AddCategory();
    countries.SetKind("L");
    countries.AddItem().Number = 75;
    TGeoItem& off = countries.AddItem();
    off.Number = 76;
    off.SetState(ItemState::Deactivated);
    TGeoItem& shown = countries.AddItem();
    shown.Number = 77;
    shown.SetState(ItemState::ShowOnly);
    TKategorie& cities = lesson.AddCategory();
    cities.SetKind("C");
    TGeoItem& capital = cities.AddItem();
    capital.Number = 1442;
    capital.Auxiliary = true;

    TLessonFileExtras extras;
    extras.MapMade.insert(&cities);
    extras.GlobeView = {{"XRotation", FormatCommaFloat(25)}, {"ScaleFactor", FormatCommaFloat(4.6865319e-07)}};
    const QByteArray text = LessonFileText(lesson, extras);
    EXPECT_TRUE(text.startsWith("[Lektion]\r\nVersion=3\r\nTyp=globe\r\nName=Test\r\n")) << text.constData();
    EXPECT_TRUE(text.contains("\r\n[L]\r\nSettings=L\xC3\xA4nder~Countries~clBlack~clWhite~clYellow~clBlack\r\n"
                              "1=75\r\n2=xxx76\r\n3=xxxx77\r\n"))
        << text.constData();
    EXPECT_TRUE(text.contains("[Globe]\r\nXRotation=25\r\nScaleFactor=0,00000046865319\r\n")) << text.constData();
    EXPECT_FALSE(text.contains("[C]")) << "a category of helpers only is made again by the map";
    EXPECT_FALSE(text.contains("Allgemeines")) << "a globe lesson reads every other section as a category";

    cities.Name = "Hauptstädte"; // the author's own name keeps it
    EXPECT_TRUE(LessonFileText(lesson, extras).contains("[C]\r\nSettings=Hauptst\xC3\xA4" "dte~"));
}

// Names come from the author's typing; nothing in them may break the file.
TEST_F(LessonWriterTest, TypedTextCannotSplitNamesOrStartNewLines)
{
    TDaten lesson;
    lesson.Name = "Zwei\nZeilen [L]";
    TKategorie& category = lesson.AddCategory();
    category.Name = "A|B";
    TGeoItem& item = category.AddItem();
    item.NamesGerman = {"Eins|Zwei", "Drei?Vier", "\r\n[Kategorie1]"};
    item.NamesEnglish = {"One~Two"};
    TLessonFileExtras extras;
    extras.PictureLesson = true;
    writeLesson("typed.lek", LessonFileText(lesson, extras));

    const IniFile file(lessonPath("typed.lek"));
    EXPECT_EQ(file.ReadString("Lektion", "Name"), "Zwei Zeilen [L]");
    EXPECT_EQ(file.ReadSections(), (QStringList{"Lektion", "Allgemeines", "Kategorien", "CKategorien", "AKategorien",
                                                "Kategorie1"}));
    EXPECT_EQ(file.ReadString("Kategorien", "1"), "AB");
    EXPECT_EQ(file.ReadString("Kategorie1", "1"), "EinsZwei|DreiVier|[Kategorie1]~OneTwo");
}

TEST(LessonValueText, FloatsReadBackExactlyWithADecimalComma)
{
    for (const double value : {0.0, 25.0, -1.5, 4.6865319e-07, 0.00000072909494, 1e-9, 123456.789}) {
        const QString text = FormatCommaFloat(value);
        EXPECT_FALSE(text.contains(u'.')) << text.toStdString();
        EXPECT_FALSE(text.contains(u'e')) << text.toStdString();
        double back = -99;
        EXPECT_TRUE(ParseCommaFloat(text, back)) << text.toStdString();
        EXPECT_EQ(back, value) << text.toStdString();
    }
    EXPECT_EQ(FormatCommaFloat(4.6865319e-07), "0,00000046865319");
}

TEST(LessonFileNames, ReadableStems)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Kopie von Alpen", "Kopie_von_Alpen"},
        {"Flüsse Europas: Süd", "Fluesse_Europas_Sued"},
        {"Île-de-France", "Ile_de_France"},
        {"Größe / Maße", "Groesse_Masse"},
        {"  ", "Lektion"},
        {"???", "Lektion"},
        {"../../etc/passwd", "etc_passwd"},
    };
    for (const auto& [name, stem] : cases)
        EXPECT_EQ(ReadableFileStem(QString::fromUtf8(name)), QString::fromUtf8(stem)) << name;
    EXPECT_LE(ReadableFileStem(QString(200, u'x')).size(), 60);
}

TEST(LessonFileNames, NoOtherFileIsEverChosen)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    EXPECT_EQ(UniqueFilePath(folder, "Alpen", ".lek"), folder + "Alpen.lek");
    for (const char* taken : {"Alpen.lek", "alpen_2.LEK"})
        QFile(folder + taken).open(QIODevice::WriteOnly);
    EXPECT_EQ(UniqueFilePath(folder, "Alpen", ".lek"), folder + "Alpen_3.lek");
    EXPECT_EQ(UniqueFilePath(folder, "Alpen", ".gif"), folder + "Alpen.gif");
}

} // namespace
