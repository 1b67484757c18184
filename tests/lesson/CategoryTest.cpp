#include "LessonFixtures.h"

#include "lesson/ConversionError.h"
#include "lesson/TKategorie.h"

namespace {

struct KindCase {
    const char* letter;
    CategoryKind kind;
    const char* section;
    const char* name;
    const char* english;
    TColor color, map, selected, outline;
};

class Category : public LessonTest {};

TEST_F(Category, SetKindAppliesTheKindTable)
{
    const KindCase cases[] = {
        {"C", CategoryKind::Cities, "Stadt", "Städte", "Cities", 0x0000FF, 0xC0C0C0, 0x0000FF, 0x123456},
        {"L", CategoryKind::Countries, "Land", "Länder", "Countries", 0x000000, 0xFFFFFF, 0x00FFFF, 0x000000},
        {"F", CategoryKind::Rivers, "Fluss", "Flüsse", "Rivers", 0xFF0000, 0xC0C0C0, 0xFF0000, 0x123456},
        {"I", CategoryKind::Islands, "Insel", "Inseln", "Islands", 0x000080, 0xFFFFFF, 0x00FFFF, 0x123456},
        {"S", CategoryKind::Lakes, "See", "Seen", "Lakes", 0xFF0000, 0xC0C0C0, 0xFF0000, 0x123456},
        {"T", CategoryKind::States, "Staat", "Staaten", "States", 0x000000, 0xFFFFFF, 0x00FFFF, 0x123456},
    };
    for (const KindCase& c : cases) {
        TKategorie k;
        k.OutlineColor = 0x123456;
        k.SetKind(QString::fromUtf8(c.letter));
        EXPECT_EQ(k.Kind, c.kind) << c.letter;
        EXPECT_EQ(KindLetter(k.Kind), QString::fromUtf8(c.letter));
        EXPECT_EQ(k.IndexSection, QString::fromUtf8(c.section)) << c.letter;
        EXPECT_EQ(k.Name, QString::fromUtf8(c.name)) << c.letter;
        EXPECT_EQ(k.NameEnglish, QString::fromUtf8(c.english)) << c.letter;
        EXPECT_EQ(k.Color, c.color) << c.letter;
        EXPECT_EQ(k.MapColor, c.map) << c.letter;
        EXPECT_EQ(k.SelectedColor, c.selected) << c.letter;
        EXPECT_EQ(k.OutlineColor, c.outline) << c.letter;
    }
}

TEST_F(Category, SetKindTakesSingularAndArticleFromTheDictionary)
{
    TKategorie river;
    river.SetKind(QStringLiteral("F"));
    EXPECT_EQ(river.Singular, QString::fromUtf8("Fluß"));
    EXPECT_EQ(river.Article, QStringLiteral("der"));
    texts.language(3);
    river.SetKind(QStringLiteral("F"));
    EXPECT_EQ(river.Singular, QStringLiteral("river"));
    EXPECT_EQ(river.Name, QString::fromUtf8("Flüsse")) << "the stored names do not follow the interface";

    // An unknown letter (even one the dictionary knows a text for) empties
    // the texts and keeps kind and colours.
    river.SetKind(QStringLiteral("X"));
    EXPECT_EQ(river.Singular, QString());
    EXPECT_EQ(river.Article, QString());
    EXPECT_EQ(river.Kind, CategoryKind::Rivers);
    EXPECT_EQ(river.MapColor, 0xC0C0C0);
}

TEST_F(Category, KindLetterOfSectionNames)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Stadt", "C"}, {"Staat", "T"}, {"Land", "L"}, {"Fluss", "F"}, {"See", "S"},
        {"L", "L"},     {"stadt", "s"}, {"", ""},
    };
    for (const auto& [section, letter] : cases)
        EXPECT_EQ(TKategorie::KindLetterOf(QString::fromUtf8(section)), QString::fromUtf8(letter)) << section;
    EXPECT_EQ(KindLetter(0), QStringLiteral(" "));
    EXPECT_EQ(KindLetter(7), QStringLiteral(" "));
}

TEST_F(Category, ApplySettingsChangesOnlyTheFieldsPresent)
{
    TKategorie k;
    k.SetKind(QStringLiteral("L"));
    k.ApplySettings(QString());
    EXPECT_EQ(k.Name, QString::fromUtf8("Länder"));

    k.ApplySettings(QStringLiteral("Staaten Europas~European countries~clRed"));
    EXPECT_EQ(k.Name, QStringLiteral("Staaten Europas"));
    EXPECT_EQ(k.NameEnglish, QStringLiteral("European countries"));
    EXPECT_EQ(k.Color, 0x0000FF);
    EXPECT_EQ(k.MapColor, 0xFFFFFF);
    EXPECT_EQ(k.SelectedColor, 0x00FFFF);

    k.ApplySettings(QStringLiteral("A~~clBlue~$00FF00~16711935~clgray"));
    EXPECT_EQ(k.NameEnglish, QString());
    EXPECT_EQ(k.MapColor, 0x00FF00);
    EXPECT_EQ(k.SelectedColor, 0xFF00FF);
    EXPECT_EQ(k.OutlineColor, 0x808080);
}

TEST_F(Category, ApplySettingsWithABadColourNamesTheSource)
{
    TKategorie k;
    try {
        k.ApplySettings(QStringLiteral("A~B~Rot"), {QStringLiteral("x.lek"), QStringLiteral("L"), QStringLiteral("Settings")});
        FAIL() << "no conversion error";
    } catch (const ConversionError& e) {
        for (const char* part : {"x.lek", "L", "Settings", "Rot"})
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(part))) << e.message().toStdString();
    }
    EXPECT_THROW(k.ApplySettings(QStringLiteral("A~B~")), ConversionError);
}

struct RecolourCase {
    const char* letter;
    TColor fill, line; // -1: untouched
    TColor outlineLine;
};

TEST_F(Category, ColoursReachThePresentersOfTheKindAndRedrawTheGlobe)
{
    const RecolourCase cases[] = {
        {"L", 0x111111, -1, 0x222222}, {"I", 0x111111, -1, 0x222222}, {"T", 0x111111, -1, 0x222222},
        {"S", 0x111111, 0x111111, 0x111111}, {"C", 0x111111, -1, -1}, {"F", -1, 0x111111, 0x111111},
    };
    int redraws = 0;
    LessonHooks::SetGlobeRedrawHook([&] { ++redraws; });
    for (const RecolourCase& c : cases) {
        TKategorie k;
        k.SetKind(QString::fromUtf8(c.letter));
        FakePresenter normal(1);
        k.NormalPresenter = &normal;
        redraws = 0;
        k.SetMapColor(0x111111);
        EXPECT_EQ(normal.fill, c.fill) << c.letter;
        EXPECT_EQ(normal.line, c.line) << c.letter;
        k.SetOutlineColor(0x222222);
        EXPECT_EQ(normal.line, c.outlineLine) << c.letter;
        EXPECT_EQ(k.OutlineColor, 0x222222);
        EXPECT_EQ(redraws, 2) << c.letter;
    }
    TKategorie without;
    redraws = 0;
    without.SetMapColor(0x333333);
    EXPECT_EQ(without.MapColor, 0x333333);
    EXPECT_EQ(redraws, 0) << "no presenters, nothing to redraw";
}

TEST_F(Category, DisplayNameAndFindItem)
{
    TKategorie k;
    k.Name = QStringLiteral("Flüsse");
    EXPECT_EQ(k.DisplayName(), QStringLiteral("Flüsse"));
    texts.language(3);
    EXPECT_EQ(k.DisplayName(), QStringLiteral("Flüsse"));
    k.NameEnglish = QStringLiteral("Rivers");
    EXPECT_EQ(k.DisplayName(), QStringLiteral("Rivers"));

    k.AddItem().Number = 5;
    TGeoItem& second = k.AddItem();
    second.Number = 7;
    k.AddItem().Number = 7;
    EXPECT_EQ(k.FindItem(7), &second);
    EXPECT_EQ(k.FindItem(8), nullptr);
    EXPECT_EQ(second.Category, &k);
}

} // namespace
