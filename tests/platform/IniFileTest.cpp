#include "platform/IniFile.h"
#include "platform/OrbiloError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("geo.ini"); }
    void writeRaw(const QByteArray& bytes)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readRaw() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(IniFileTest, MatchesSectionsAndKeysWithoutCaseAndCleansValues)
{
    writeRaw("; comment\n[Geo]\n  Language =  2  \nName=\"quoted\"\nOdd='half\"\nLanguage=3\n[geo]\nWidth=1\n");
    IniFile ini(path());
    EXPECT_EQ(ini.ReadInteger("GEO", "language", 1), 2) << "first occurrence of a key wins";
    EXPECT_EQ(ini.ReadString("geo", "NAME"), "quoted");
    EXPECT_EQ(ini.ReadString("Geo", "Odd"), "'half\"") << "only a matching pair of quotes goes";
    EXPECT_EQ(ini.ReadInteger("Geo", "Width", 680), 680) << "a repeated section does not count";
    EXPECT_EQ(ini.ReadString("Missing", "x", "dflt"), "dflt");
    EXPECT_TRUE(ini.ValueExists("GEO", "name"));
    EXPECT_FALSE(ini.ValueExists("GEO", "nothing"));
}

TEST_F(IniFileTest, IntegersReadLikeTheProfileFunctions)
{
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"42", 42},         {"-7", -7},         {"0x1F", 31},        {"0XfF", 255},
        {"$FF", 255},       {"$00FFFFFF", 0xFFFFFF}, {"12abc", -1},   {"abc", -1},
        {"", -1},           {"99999999999", -1}, {"0x", -1},          {" 5 ", 5},
        {"1.5", -1},        {"--3", -1},
    };
    QByteArray content = "[N]\n";
    int i = 0;
    for (const Case& c : cases)
        content += "k" + QByteArray::number(i++) + "=" + c.text + "\n";
    writeRaw(content);
    IniFile ini(path());
    i = 0;
    for (const Case& c : cases)
        EXPECT_EQ(ini.ReadInteger("N", QString("k%1").arg(i++), -1), c.expected) << c.text;
}

TEST_F(IniFileTest, BooleansAreIntegersAndWrittenAsOneOrZero)
{
    writeRaw("[Geo]\nA=0\nB=7\nC=yes\n");
    IniFile ini(path());
    EXPECT_FALSE(ini.ReadBool("Geo", "A", true));
    EXPECT_TRUE(ini.ReadBool("Geo", "B", false));
    EXPECT_TRUE(ini.ReadBool("Geo", "C", true)) << "unreadable reads as the default";
    ini.WriteBool("Geo", "A", true);
    ini.WriteBool("Geo", "D", false);
    EXPECT_TRUE(readRaw().contains("A=1\n"));
    EXPECT_TRUE(readRaw().contains("D=0\n"));
}

TEST_F(IniFileTest, WritesKeepEveryOtherLineAndReachTheDiskAtOnce)
{
    writeRaw("; keep me\r\n[Geo]\r\nlanguage=1\r\n\r\n[Users]\r\n1=Anna\r\n");
    IniFile ini(path());
    ini.WriteString("GEO", "Language", "3");
    ini.WriteString("Geo", "Width", "700");
    ini.WriteString("Bewertung", "1", "90");
    EXPECT_EQ(readRaw(), QByteArray("; keep me\r\n[Geo]\r\nlanguage=3\r\nWidth=700\r\n\r\n[Users]\r\n1=Anna\r\n"
                                    "[Bewertung]\r\n1=90\r\n"));
    IniFile reread(path());
    EXPECT_EQ(reread.ReadInteger("geo", "width", 0), 700);
}

TEST_F(IniFileTest, EraseSectionAndListsKeepFileOrder)
{
    writeRaw("[Users]\n3=C\n1=A\n2=B\n[Geo]\nNewUser=3\n[Users]\n9=Z\n");
    IniFile ini(path());
    EXPECT_EQ(ini.ReadSection("users"), (QStringList{"3", "1", "2"}));
    EXPECT_EQ(ini.ReadSections(), (QStringList{"Users", "Geo", "Users"}));
    ini.EraseSection("USERS");
    EXPECT_EQ(readRaw(), QByteArray("[Geo]\nNewUser=3\n"));
    EXPECT_TRUE(ini.ReadSection("Users").isEmpty());
    ini.WriteString("Users", "4", "D");
    EXPECT_EQ(ini.ReadSection("Users"), QStringList{"4"});
}

TEST_F(IniFileTest, SectionNamesMayHoldIniSpecialCharacters)
{
    IniFile ini(path());
    ini.WriteString("a]b=c;d.lek", "1", "x");
    ini.WriteString("a]b=c;d.lek", "2", "y");
    IniFile reread(path());
    EXPECT_EQ(reread.ReadSection("A]B=C;D.LEK"), (QStringList{"1", "2"}));
}

TEST_F(IniFileTest, LongValuesAndListsAreCut)
{
    QByteArray content = "[S]\nlong=" + QByteArray(3000, 'x') + "\n";
    for (int i = 0; i < 3000; ++i)
        content += "key" + QByteArray::number(i) + "=1\n";
    writeRaw(content);
    IniFile ini(path());
    EXPECT_EQ(ini.ReadString("S", "long").size(), IniFile::kMaxValueLength);
    const QStringList keys = ini.ReadSection("S");
    qsizetype bytes = 1;
    for (const QString& k : keys)
        bytes += k.size() + 1;
    EXPECT_LE(bytes, IniFile::kMaxListBytes);
    EXPECT_LT(keys.size(), 3001);
    EXPECT_EQ(ini.ReadSectionEntries("S").size(), 3001u) << "the unlimited reader sees everything";
}

TEST_F(IniFileTest, GarbageAndBinaryContentReadSafely)
{
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 131) & 0xFF);
    writeRaw("=\n[\n]\n[Geo\nLanguage=2\n" + junk + "\n[Geo]]\n");
    IniFile ini(path());
    EXPECT_EQ(ini.ReadInteger("Geo", "Language", 1), 2) << "an unclosed header still names a section";
    ini.WriteString("Geo", "Spelling", "1");
    EXPECT_EQ(IniFile(path()).ReadInteger("Geo", "Spelling", 0), 1);
}

TEST_F(IniFileTest, OldWindows1252FilesAreReadAndRewrittenAsUtf8)
{
    writeRaw("[Users]\n1=J\xfcrgen Stra\xdf" "e \x80\n");
    IniFile ini(path());
    EXPECT_EQ(ini.ReadString("Users", "1"), QString::fromUtf8("Jürgen Straße €"));
    ini.WriteString("Users", "2", QString::fromUtf8("Zoë"));
    EXPECT_EQ(readRaw(), QString::fromUtf8("[Users]\n1=Jürgen Straße €\n2=Zoë\n").toUtf8());
}

TEST_F(IniFileTest, FailedWriteNamesTheFileAndKeepsMemoryUnchanged)
{
    const QString missingFolder = dir.filePath("no/such/folder/geo.ini");
    IniFile ini(missingFolder);
    try {
        ini.WriteString("Geo", "Language", "2");
        FAIL() << "write into a missing folder must fail";
    } catch (const FileWriteError& error) {
        EXPECT_TRUE(error.message().contains(missingFolder));
    }
    EXPECT_EQ(ini.ReadInteger("Geo", "Language", 1), 1);
}

TEST_F(IniFileTest, SeesTheFileAsItIsNowAndWritesKeepWhatOthersChanged)
{
    writeRaw("[Geo]\nLanguage=1\n[Bewertung]\n1=90\n");
    IniFile ini(path());
    EXPECT_EQ(ini.ReadInteger("Bewertung", "1", 0), 90);
    writeRaw("[Geo]\nLanguage=1\n[Bewertung]\n1=95\n2=80\n");
    EXPECT_EQ(ini.ReadInteger("Bewertung", "1", 0), 95) << "an edit on disk is read";
    EXPECT_EQ(ini.ReadSection("Bewertung"), QStringList({"1", "2"}));

    IniFile other(path());
    other.WriteString("Users", "1", "Anna");
    ini.WriteString("Geo", "Width", "700");
    EXPECT_EQ(readRaw(), "[Geo]\nLanguage=1\nWidth=700\n[Bewertung]\n1=95\n2=80\n[Users]\n1=Anna\n");

    QFile::remove(path());
    EXPECT_FALSE(ini.Exists());
    EXPECT_EQ(ini.ReadString("Users", "1"), "") << "a file deleted meanwhile reads as empty";
}

TEST_F(IniFileTest, LineEndsOfEveryKindAreLineEnds)
{
    struct Case {
        const char* name;
        QByteArray text;
        QByteArray afterWrite;
    } cases[] = {
        {"CR", "[Geo]\rLanguage=2\r[Users]\r1=Anna\r", "[Geo]\rLanguage=2\rWidth=9\r[Users]\r1=Anna\r"},
        {"LF", "[Geo]\nLanguage=2\n[Users]\n1=Anna\n", "[Geo]\nLanguage=2\nWidth=9\n[Users]\n1=Anna\n"},
        {"CRLF", "[Geo]\r\nLanguage=2\r\n[Users]\r\n1=Anna", "[Geo]\r\nLanguage=2\r\nWidth=9\r\n[Users]\r\n1=Anna\r\n"},
        {"mixed", "[Geo]\rLanguage=2\r\n[Users]\n1=Anna\n", "[Geo]\r\nLanguage=2\r\nWidth=9\r\n[Users]\r\n1=Anna\r\n"},
    };
    for (const Case& c : cases) {
        writeRaw(c.text);
        IniFile ini(path());
        EXPECT_EQ(ini.ReadInteger("Geo", "Language", 0), 2) << c.name;
        EXPECT_EQ(ini.ReadString("Users", "1"), "Anna") << c.name;
        ini.WriteInteger("Geo", "Width", 9);
        EXPECT_EQ(readRaw(), c.afterWrite) << c.name;
    }
}

TEST_F(IniFileTest, ReplacingASectionWritesItWholeWhereItWas)
{
    writeRaw("[Geo]\nLanguage=1\n[Users]\n1=Anna\n2=Ben\n\n[Bewertung]\n1=90\n[users]\n9=Old\n");
    IniFile ini(path());
    ini.ReplaceSection("Users", {{"2", "Ben"}, {"3", "Cleo"}});
    EXPECT_EQ(readRaw(), "[Geo]\nLanguage=1\n[Users]\n2=Ben\n3=Cleo\n[Bewertung]\n1=90\n");
    ini.ReplaceSection("New", {});
    EXPECT_TRUE(ini.SectionExists("New"));
}

} // namespace
