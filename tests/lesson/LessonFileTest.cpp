#include "LessonFixtures.h"

#include "lesson/ColorText.h"
#include "lesson/ConversionError.h"
#include "lesson/ItemValues.h"
#include "lesson/LessonHeader.h"
#include "lesson/LessonValues.h"
#include "lesson/TDaten.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

struct ColorCase {
    const char* text;
    TColor color;
};

TEST(LessonFile, ColourTextsAreNamesOrNumbers)
{
    const ColorCase cases[] = {
        {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
        {"clNavy", 0x800000},  {"clPurple", 0x800080}, {"clTeal", 0x808000},  {"clGray", 0x808080},
        {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},   {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF},
        {"clBlue", 0xFF0000},  {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
        {"CLRED", 0x0000FF},   {"255", 0x0000FF},      {"$FF0000", 0xFF0000}, {"$00d7ffd7", 0xD7FFD7},
        {"0", 0},
    };
    for (const ColorCase& c : cases) {
        TColor color = -1;
        EXPECT_TRUE(TryParseColorText(QString::fromUtf8(c.text), color)) << c.text;
        EXPECT_EQ(color, c.color) << c.text;
    }
    for (const char* bad : {"", "Rot", "clRedd", "$", "12abc", "#FF0000", "1.5"}) {
        TColor color = 0;
        EXPECT_FALSE(TryParseColorText(QString::fromUtf8(bad), color)) << bad;
    }
}

TEST(LessonFile, SystemColourNamesFollowTheApplicationPalette)
{
    const QPalette saved = QGuiApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(0x12, 0x34, 0x56));
    palette.setColor(QPalette::Active, QPalette::Base, QColor(0xAB, 0xCD, 0xEF));
    QGuiApplication::setPalette(palette);
    TColor color = 0;
    EXPECT_TRUE(TryParseColorText(QStringLiteral("clBtnFace"), color));
    EXPECT_EQ(color, 0x563412);
    EXPECT_TRUE(TryParseColorText(QStringLiteral("clwindow"), color));
    EXPECT_EQ(color, 0xEFCDAB);
    QGuiApplication::setPalette(saved);
}

TEST(LessonFile, ColourToTextReadsBack)
{
    for (TColor color : {0x0000FF, 0xC0C0C0, 0xD7FFD7, 0}) {
        TColor back = -1;
        ASSERT_TRUE(TryParseColorText(ColorToText(color), back)) << ColorToText(color).toStdString();
        EXPECT_EQ(back, color);
    }
    EXPECT_EQ(ColorToText(0x0000FF), QStringLiteral("clRed"));
}

struct FloatCase {
    const char* text;
    bool ok;
    double value;
};

TEST(LessonFile, FloatsUseTheDecimalComma)
{
    const FloatCase cases[] = {
        {"1,5", true, 1.5},  {"-0,25", true, -0.25}, {"3", true, 3},      {",5", true, 0.5},
        {"2,", true, 2},     {"1,5E3", true, 1500},  {"1.5", false, 0},   {"1.000,5", false, 0},
        {"", false, 0},      {",", false, 0},        {"1,5,5", false, 0}, {"inf", false, 0},
        {"1e999", false, 0}, {"1 5", false, 0},      {"0x10", false, 0},
    };
    for (const FloatCase& c : cases) {
        double value = 0;
        EXPECT_EQ(ParseCommaFloat(QString::fromUtf8(c.text), value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(value, c.value) << c.text;
        }
    }
    TempIni file("[Globe]\nScaleFactor=1,5\nXRotation=1.5\n");
    EXPECT_DOUBLE_EQ(ReadFloat(file.ini(), "Globe", "ScaleFactor", 0), 1.5);
    EXPECT_DOUBLE_EQ(ReadFloat(file.ini(), "Globe", "XRotation", 7), 7);
    EXPECT_DOUBLE_EQ(ReadFloat(file.ini(), "Globe", "YRotation", 8), 8);
}

struct TypeCase {
    const char* file;
    const char* type;
    bool picture;
    bool standard;
};

TEST(LessonFile, LessonTypeAndStandardLesson)
{
    const TypeCase cases[] = {
        {"[Lektion]\nTyp=Image\n", "image", true, false},
        {"[Lektion]\nName=x\n", "globe", false, false},
        {"[Lektion]\nTyp=iglobe\n[Allgemeines]\nBitmap=europa.gif\n", "image", true, true},
        {"[Lektion]\nTyp=globe\n[Allgemeines]\nBitmap=europa.gif\n", "image", true, false},
        {"[Lektion]\nTyp=iimage\n", "iimage", true, true},
        {"[Lektion]\nTyp=IGLOBE\n", "iglobe", false, true},
        {"[Lektion]\nTyp=Karte\n[Allgemeines]\nBitmap=x.gif\n", "karte", false, false},
    };
    for (const TypeCase& c : cases) {
        TempIni file(c.file);
        const QString type = LessonFile::LessonType(file.ini());
        EXPECT_EQ(type, QString::fromUtf8(c.type)) << c.file;
        EXPECT_EQ(LessonFile::IsPictureType(type), c.picture) << c.file;
        EXPECT_EQ(LessonFile::IsStandardLesson(file.ini()), c.standard) << c.file;
    }
}

struct GroupCase {
    const char* file;
    int group;
};

TEST(LessonFile, CatalogueGroup)
{
    const GroupCase cases[] = {
        {"[Lektion]\nKategorie=4\n[Allgemeines]\nKontinent=Europa\n", 4},
        {"[Lektion]\nKategorie=0\n[Allgemeines]\nKontinent=Europa\n", 3},
        {"[Allgemeines]\nKontinent=Südamerika\n", 2},
        {"[Lektion]\nKategorie=0\n[Allgemeines]\nKontinent=europa\n", 6},
        {"[Allgemeines]\nKontinent=\n", 6},
        {"[Lektion]\nKategorie=abc\n[Allgemeines]\nKontinent=Afrika\n", 5},
        {"[Lektion]\nKategorie=42\n", 6},
        {"[Lektion]\nKategorie=-1\n", 6},
    };
    for (const GroupCase& c : cases) {
        TempIni file(c.file);
        EXPECT_EQ(LessonFile::CatalogueGroup(file.ini()), c.group) << c.file;
    }
}

TEST(LessonFile, HeaderAndCatalogueName)
{
    TempIni titled("[Lektion]\nNameEnglish=Europe\n[Allgemeines]\nTitle=Europa alt\nKontinent=Europa\n");
    TDaten lesson;
    LessonFile::ReadHeader(titled.ini(), lesson);
    EXPECT_EQ(lesson.Name, QStringLiteral("Europa alt"));
    EXPECT_EQ(lesson.NameEnglish, QStringLiteral("Europe"));
    EXPECT_EQ(lesson.Continent, 3);
    EXPECT_EQ(LessonFile::CatalogueName(titled.ini(), 3), QStringLiteral("Europe"));
    EXPECT_EQ(LessonFile::CatalogueName(titled.ini(), 1), QStringLiteral("Europa alt"));

    TempIni named("[Lektion]\nName=Europa\nVersion=3\n[Allgemeines]\nTitle=alt\n");
    LessonFile::ReadHeader(named.ini(), lesson);
    EXPECT_EQ(lesson.Name, QStringLiteral("Europa"));
    EXPECT_EQ(lesson.NameEnglish, QString());
    EXPECT_EQ(lesson.Continent, 6);
    EXPECT_EQ(LessonFile::CatalogueName(named.ini(), 3), QStringLiteral("Europa"));
    EXPECT_EQ(LessonFile::Version(named.ini()), 3);
}

TEST(LessonFile, ContentTestAndGlobeCategorySections)
{
    const std::pair<const char*, bool> cases[] = {
        {"[Lektion]\nName=x\n[Globe]\nScaleFactor=1\n", false},
        {"[Lektion]\n[l]\n1=17\n", true},
        {"[Kategorien]\n1=Städte\n", true},
        {"[AKategorien]\n", true},
        {"[Land]\n1=17\n", false},
        {"", false},
    };
    for (const auto& [text, content] : cases) {
        TempIni file(text);
        EXPECT_EQ(LessonFile::HasContent(file.ini()), content) << text;
    }
    TempIni globe("[Lektion]\n[Globe]\n[Land]\n[globe]\n[Stadt]\n");
    EXPECT_EQ(LessonFile::GlobeCategorySections(globe.ini()), (QStringList{"Land", "globe", "Stadt"}));
    EXPECT_TRUE(LessonFile::IsSettingsKey(QStringLiteral("SETTINGS")));
    EXPECT_FALSE(LessonFile::IsSettingsKey(QStringLiteral("Settings2")));
}

struct PictureCase {
    const char* value;
    bool deactivated;
    QStringList german, english;
    const char* region;
    QStringList capitals;
};

TEST(LessonFile, PictureItemValues)
{
    const PictureCase cases[] = {
        {"Rhein", false, {"Rhein"}, {}, "", {}},
        {"Rhein|Rhine river~Rhine", false, {"Rhein", "Rhine river"}, {"Rhine"}, "", {}},
        {"xxxBodensee~Lake Constance", true, {"Bodensee"}, {"Lake Constance"}, "", {}},
        {"Frankreich~France?10&20&30?Paris|Parigi", false, {"Frankreich"}, {"France"}, "10&20&30", {"Paris", "Parigi"}},
        {"Spanien?5&6", false, {"Spanien"}, {}, "5&6", {}},
        {"Italien??Rom", false, {"Italien"}, {}, "", {"Rom"}},
        {"~Only English", false, {}, {"Only English"}, "", {}},
        {"", false, {}, {}, "", {}},
    };
    for (const PictureCase& c : cases) {
        const TPictureItemValue item = ParsePictureItemValue(QString::fromUtf8(c.value));
        EXPECT_EQ(item.Deactivated, c.deactivated) << c.value;
        EXPECT_EQ(item.NamesGerman, c.german) << c.value;
        EXPECT_EQ(item.NamesEnglish, c.english) << c.value;
        EXPECT_EQ(item.Region, QString::fromUtf8(c.region)) << c.value;
        EXPECT_EQ(item.CapitalNames, c.capitals) << c.value;
    }
}

TEST(LessonFile, GlobeItemValues)
{
    const TValueSource source{QStringLiteral("europa.lek"), QStringLiteral("L"), QStringLiteral("3")};
    const std::tuple<const char*, ItemState, int> cases[] = {
        {"xxxx17", ItemState::ShowOnly, 17},
        {"xxx17", ItemState::Deactivated, 17},
        {"17", ItemState::Open, 17},
    };
    for (const auto& [value, state, number] : cases) {
        const TGlobeItemValue item = ParseGlobeItemValue(QString::fromUtf8(value), source);
        EXPECT_EQ(item.State, state) << value;
        EXPECT_EQ(item.Number, number) << value;
    }
    for (const char* bad : {"xxxxx17", "", "xxx", "17a", "1,5", "$11", "99999999999"}) {
        try {
            ParseGlobeItemValue(QString::fromUtf8(bad), source);
            ADD_FAILURE() << "no conversion error for " << bad;
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.source().File, source.File);
            EXPECT_EQ(e.source().Section, source.Section);
            EXPECT_EQ(e.source().Key, source.Key);
            EXPECT_EQ(e.text(), QString::fromUtf8(bad));
            EXPECT_TRUE(e.message().contains(QStringLiteral("europa.lek")));
        }
    }
}

TEST(LessonFile, ItemCountIsRequired)
{
    TempIni file("[AKategorien]\n1=12\n2=zwölf\n3=\n4=-3\n5=99999999\n");
    EXPECT_EQ(ReadItemCount(file.ini(), "AKategorien", "1"), 12);
    for (const char* key : {"2", "3", "4", "5", "6"})
        EXPECT_THROW(ReadItemCount(file.ini(), "AKategorien", key), ConversionError) << key;
}

TEST(LessonFile, ColourValuesAndSectionReads)
{
    TempIni file("[Allgemeines]\nBackground=clAqua\nBad=Blau\nNone=\n"
                 "[Kategorien]\n1=Städte|Cities\nleer=\n1=doppelt\n2=Flüsse\n");
    EXPECT_EQ(ReadColor(file.ini(), "Allgemeines", "Background"), std::optional<TColor>(0xFFFF00));
    EXPECT_EQ(ReadColor(file.ini(), "Allgemeines", "None"), std::nullopt);
    EXPECT_EQ(ReadColor(file.ini(), "Allgemeines", "Missing"), std::nullopt);
    EXPECT_THROW(ReadColor(file.ini(), "Allgemeines", "Bad"), ConversionError);

    const auto pairs = ReadSectionPairs(file.ini(), "Kategorien");
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0], std::make_pair(QStringLiteral("1"), QString::fromUtf8("Städte|Cities")));
    EXPECT_EQ(pairs[1], std::make_pair(QStringLiteral("2"), QString::fromUtf8("Flüsse")));
}

} // namespace
