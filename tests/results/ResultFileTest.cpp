#include "ResultsSupport.h"

#include "platform/IniFile.h"
#include "platform/Optionen.h"
#include "platform/OrbiloError.h"
#include "results/ResultFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kLine1 = QStringLiteral("02.02.2001 14:35;12;3;80 %;95;Kurzkontrolle");
const QString kLine2 = QStringLiteral("03.02.2001 09:05;1;0;100 %;61;Abfrage");

class ResultFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<TOptionen> options;

    ResultFileTest()
    {
        QDir(dir.path()).mkdir(QStringLiteral("Ergebnisse"));
        options = std::make_unique<TOptionen>(dir.path() + u'/', std::make_unique<IniFile>(dir.filePath("geo.ini")));
        options->UserNumber = 7;
    }

    QString path() const { return options->ResultFilePath(); }

    void writeFile(const QByteArray& text) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray readFile() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ResultFileTest, RunsAreNumberedPerLesson)
{
    TResultFile file(*options);
    EXPECT_TRUE(file.ReadLines("Europa.lek").isEmpty()); // no file yet
    EXPECT_TRUE(path().endsWith("/Ergebnisse/7.dat"));

    FakeClock clock;
    file.Append("Europa.lek", MakeRun(clock, 12, 15, 95));
    file.AppendLine("Europa.lek", kLine2);
    file.AppendLine(dir.filePath("Lektionen/Asien.lek"), kLine1); // the folder is not part of the name

    EXPECT_EQ(readFile(), "[Europa.lek]\n1=" + kLine1.toUtf8() + "\n2=" + kLine2.toUtf8() + "\n[Asien.lek]\n1="
                              + kLine1.toUtf8() + "\n");
    EXPECT_EQ(file.ReadLines("europa.lek"), QStringList({kLine1, kLine2}));
    EXPECT_EQ(file.ReadLines("Asien.lek"), QStringList({kLine1}));
    EXPECT_TRUE(file.ReadLines("Afrika.lek").isEmpty());
}

TEST_F(ResultFileTest, OnlyWellFormedLinesAreRead)
{
    writeFile("[Europa.lek]\n"
              "1=" + kLine1.toUtf8() + "\n"
              "2=02.02.2001 14:35;12;3;80 %\n"              // too few fields
              "3=02.02.2001 14:35;12;3;achtzig %;95;Test\n" // percentage not a number
              "4=02.02.2001 14:35;12;3;80;95;Test\n"        // no percent sign
              "5=02.02.2001 14:35;12;3;80 %;lang;Test\n"    // duration not a number
              "6=02.02.2001 14:35;zwölf;3;80 %;95;Test\n"   // count not a number
              "7=\n"
              "8=;;;;;\n"
              "9=" + kLine2.toUtf8() + "=trailing\n"        // lines never hold "="
              "10=\"" + kLine1.toUtf8() + "\"\n");
    EXPECT_EQ(TResultFile(*options).ReadLines("Europa.lek"), QStringList({kLine1, kLine2, kLine1}));

    TResultRow row;
    ASSERT_TRUE(ParseResultLine(kLine1 + ";extra", row));
    EXPECT_EQ(row.Date, "02.02.2001 14:35");
    EXPECT_EQ(row.Correct, 12);
    EXPECT_EQ(row.Wrong, 3);
    EXPECT_EQ(row.Percent, 80);
    EXPECT_EQ(row.Seconds, 95);
    EXPECT_EQ(row.Mode, "Kurzkontrolle");
}

TEST_F(ResultFileTest, NoStoredRunIsOverwritten)
{
    // A line removed by hand: n + 1 is taken, the next free key is used.
    writeFile("[Europa.lek]\n1=" + kLine1.toUtf8() + "\n3=" + kLine1.toUtf8() + "\n");
    TResultFile file(*options);
    file.AppendLine("Europa.lek", kLine2);
    const IniFile ini(path());
    EXPECT_EQ(ini.ReadString("Europa.lek", "3"), kLine1);
    EXPECT_EQ(ini.ReadString("Europa.lek", "4"), kLine2);

    // Far more runs than a key list of the profile functions holds.
    QByteArray many = "[Asien.lek]\n";
    for (int key = 1; key <= 4000; ++key)
        many += QByteArray::number(key) + "=" + kLine1.toUtf8() + "\n";
    writeFile(many);
    file.AppendLine("Asien.lek", kLine2);
    const QStringList lines = file.ReadLines("Asien.lek");
    ASSERT_EQ(lines.size(), 4001);
    EXPECT_EQ(lines.first(), kLine1);
    EXPECT_EQ(lines.last(), kLine2);
    EXPECT_EQ(IniFile(path()).ReadString("Asien.lek", "4001"), kLine2);
}

TEST_F(ResultFileTest, EveryLessonNameKeepsItsOwnSection)
{
    const QStringList names{"Europa.lek",   "a]b.lek",       "x=y.lek",      ";c.lek",        "[d.lek",
                            "e[f]g.lek",    "]",             " lead.lek",    "lead.lek",      "trail.lek ",
                            "%20lead.lek",  "100%.lek",      "line\nbreak.lek", "cr\rlf.lek", "tab\tin.lek",
                            "\tlead.lek",   "Übersee ß.lek"};
    TResultFile file(*options);
    for (int i = 0; i < names.size(); ++i)
        file.AppendLine(names[i], QStringLiteral("02.02.2001 14:35;%1;0;100 %;5;Test").arg(i + 1));
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(file.ReadLines(names[i]), QStringList(QStringLiteral("02.02.2001 14:35;%1;0;100 %;5;Test").arg(i + 1)))
            << names[i].toStdString();
    EXPECT_EQ(IniFile(path()).ReadSections().size(), names.size());
    // Names the format carries are written as they are, as older files have them.
    EXPECT_EQ(ResultSectionName("a]b.lek"), "a]b.lek");
    EXPECT_EQ(ResultSectionName(" lead.lek"), "/%20lead.lek");
    EXPECT_EQ(ResultSectionName("line\nbreak 100%.lek"), "/line%0Abreak 100%25.lek");
}

TEST_F(ResultFileTest, AFailedWriteNamesTheFileAndChangesNothing)
{
    QDir(options->ResultFolder()).removeRecursively();
    TResultFile missingFolder(*options);
    try {
        missingFolder.AppendLine("Europa.lek", kLine1);
        FAIL() << "no error";
    } catch (const FileWriteError& error) {
        EXPECT_EQ(error.message(), "Unable to write to " + path());
    }
    EXPECT_FALSE(QDir(options->ResultFolder()).exists());

    QDir(dir.path()).mkpath(QStringLiteral("Ergebnisse/7.dat")); // a folder where the file should be
    EXPECT_THROW(TResultFile(*options).AppendLine("Europa.lek", kLine1), FileWriteError);
    EXPECT_THROW(TResultFile(*options).ReadLines("Europa.lek"), FileReadError) << "unreadable is not empty";
}

TEST_F(ResultFileTest, ADeletedLessonLeavesEveryResultFile)
{
    TResultFile(*options).AppendLine(" Europa.lek", kLine1);
    TResultFile(*options).AppendLine("Asien.lek", kLine1);
    TResultFile other(options->ResultFolder() + "8.dat");
    other.AppendLine(" Europa.lek", kLine2);
    EraseLessonResults(options->ResultFolder(), " Europa.lek");
    EXPECT_TRUE(TResultFile(*options).ReadLines(" Europa.lek").isEmpty());
    EXPECT_TRUE(other.ReadLines(" Europa.lek").isEmpty());
    EXPECT_EQ(TResultFile(*options).ReadLines("Asien.lek"), QStringList({kLine1}));
}

} // namespace
