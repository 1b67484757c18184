#include "LessonFixtures.h"

#include "lesson/GeoIndex.h"

namespace {

const char* const kIndex =
    "; the index\r\n"
    "[land]\r\n"
    "12=Frankreich~France~~1-0-0-500~~1024\r\n"
    "12=second line loses\r\n"
    " 7 = Spanien \r\n"
    "8=\r\n"
    "no key here\r\n"
    "=no key either\r\n"
    "hex=0x1F\r\n"
    "[Stadt] \r\n"
    "1=hidden: the header has a blank\r\n"
    "[Stadt]\r\n"
    "1=Paris\r\n"
    "  [ Flaggen ]  \r\n"
    "12=blau weiß rot\r\n"
    "[Land]\r\n"
    "12=a later section of the same name is not seen\r\n";

class GeoIndexTest : public ::testing::Test {
protected:
    TGeoIndex index = TGeoIndex::fromText(QString::fromUtf8(kIndex));
};

struct LookupCase {
    const char* section;
    const char* key;
    const char* expected;
};

TEST_F(GeoIndexTest, SectionAndKeyRules)
{
    const LookupCase cases[] = {
        {"Land", "12", "Frankreich~France~~1-0-0-500~~1024"}, // header case is ignored, first line wins
        {"LAND", "12", "Frankreich~France~~1-0-0-500~~1024"},
        {"Land", "012", "default"},                           // keys match exactly
        {"Land", "7", "Spanien"},                             // key and value trimmed
        {"Land", "8", "default"},                             // empty value
        {"Land", "no key here", "default"},
        {"Land", "", "default"},
        {"Land", "1", "default"},                             // the section ends at the blank-padded header
        {"Stadt", "1", "Paris"},
        {"Flaggen", "12", "default"},                         // not a whole-line header
        {"Nirgends", "1", "default"},
    };
    for (const LookupCase& c : cases)
        EXPECT_EQ(index.ReadString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), QStringLiteral("default")),
                  QString::fromUtf8(c.expected))
            << c.section << " / " << c.key;
    EXPECT_EQ(index.ReadInteger("Land", "hex", 0), 31);
    EXPECT_EQ(index.ReadInteger("Land", "7", -1), -1);
    EXPECT_TRUE(index.SectionExists("stadt"));
    EXPECT_FALSE(index.SectionExists("Flaggen"));
}

TEST_F(GeoIndexTest, WholeSectionAndSectionList)
{
    EXPECT_EQ(index.ReadSectionValues("Land"),
              (QStringList{"12=Frankreich~France~~1-0-0-500~~1024", "12=second line loses", "7=Spanien", "8=",
                           "hex=0x1F"}));
    EXPECT_EQ(index.ReadSectionValues("Stadt"), (QStringList{"1=Paris"}));
    EXPECT_EQ(index.ReadSections(), (QStringList{"land", "Stadt", "Stadt", "Flaggen", "Land"}));
}

TEST(GeoIndex, MissingFileAndHostileTextGiveNoCrash)
{
    TGeoIndex missing(QStringLiteral("/nonexistent/geodata.ini"));
    EXPECT_TRUE(missing.isEmpty());
    EXPECT_EQ(missing.ReadString("Land", "1", "d"), QStringLiteral("d"));
    EXPECT_TRUE(missing.ReadSections().isEmpty());

    for (const char* text : {"[", "]", "[]", "[]\n=\n", "\n\n\n", "[x]\n[y]", "[a]\nk=v", "[\n]\n[[]]\n1=2"}) {
        TGeoIndex index = TGeoIndex::fromText(QString::fromUtf8(text));
        index.ReadSections();
        index.ReadSectionValues(QString());
        EXPECT_EQ(index.ReadString("x", "1", "d"), QStringLiteral("d")) << text;
    }
    EXPECT_EQ(TGeoIndex::fromText("[a]\nk=v").ReadString("a", "k"), QStringLiteral("v"));
    EXPECT_EQ(TGeoIndex::fromText("[]\n=\nk=w").ReadString("", "k"), QStringLiteral("w"));
    EXPECT_EQ(TGeoIndex::fromText("[\n]\n[[]]\n1=2").ReadString("[]", "1"), QStringLiteral("2"));
}

TEST(GeoIndex, ReadsAWindows1252File)
{
    TempIni file(QByteArray("[Land]\n1=\xD6sterreich\n"), QStringLiteral("geodata.ini"));
    TGeoIndex index(file.path());
    EXPECT_EQ(index.ReadString("Land", "1"), QString::fromUtf8("Österreich"));
    TGeoIndex moved = std::move(index);
    EXPECT_EQ(moved.ReadString("land", "1"), QString::fromUtf8("Österreich"));
}

} // namespace
