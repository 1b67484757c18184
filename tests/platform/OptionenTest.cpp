#include "platform/IniFile.h"
#include "platform/Optionen.h"
#include "platform/OrbiloError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class OptionenTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath("geo.ini"); }
    std::unique_ptr<TOptionen> open() const
    {
        return std::make_unique<TOptionen>(dir.path() + u'/', std::make_unique<IniFile>(iniPath()));
    }
    void write(const QString& path, const QByteArray& bytes) const
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void makeResultFiles(const QStringList& numbers) const
    {
        QDir(dir.path()).mkpath("Ergebnisse");
        for (const QString& n : numbers)
            write(dir.filePath("Ergebnisse/" + n + ".dat"), "[a.lek]\n1=x\n");
    }
    QStringList resultFiles() const { return QDir(dir.filePath("Ergebnisse")).entryList({"*.dat"}, QDir::Files); }
};

// Two copies of the program on one installation share geo.ini.
TEST_F(OptionenTest, TwoCopiesOfTheProgramNeverUndoEachOther)
{
    write(iniPath(), "[Geo]\nNewUser=2\n[Users]\n1=Anna\n2=Ben\n");
    auto first = open();
    auto second = open();
    first->FillUserList();
    second->FillUserList();

    // The first copy adds a user; the second one then adds its own.
    const int firstNumber = first->LastUserNumber() + 1;
    first->SetLastUserNumber(firstNumber);
    first->SaveUserList({"Anna|1", "Ben|2", "Cleo|" + QString::number(firstNumber)});
    const int secondNumber = second->LastUserNumber() + 1;
    second->SetLastUserNumber(secondNumber);
    EXPECT_EQ(firstNumber, 3);
    EXPECT_EQ(secondNumber, 4) << "a number is never handed out twice";

    // The grade limits are edited in a text editor while both run.
    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write("[Bewertung]\n1=95\n");
    ini.close();

    // The second copy leaves its options page (with Ben deleted and its own
    // new user) and closes.
    second->SaveUserList({"Anna|1", "Dora|4"});
    second->SaveWindowPlacement({800, 600, false});
    first->SaveWindowPlacement({700, 560, false});

    const auto check = open();
    EXPECT_EQ(check->FillUserList(), QStringList({"Anna|1", "Dora|4", "Cleo|3"}));
    EXPECT_EQ(check->LastUserNumber(), 4);
    check->LoadSettings();
    EXPECT_EQ(check->GradeThresholds[1], 95) << "an edit made while the program ran survives its close";
    EXPECT_EQ(check->LoadWindowPlacement().width, 700);
}

TEST_F(OptionenTest, ResultFilesGoOnlyForUsersRemovedFromAFileThatWasRead)
{
    makeResultFiles({"1", "2", "7"});
    // No settings file at all: nobody can be said to be gone.
    open()->DeleteOrphanResultFiles();
    EXPECT_EQ(resultFiles(), QStringList({"1.dat", "2.dat", "7.dat"}));

    write(iniPath(), "[Users]\n1=Anna\n7=Ben\n");
    auto options = open();
    options->DeleteOrphanResultFiles();
    EXPECT_EQ(resultFiles(), QStringList({"1.dat", "7.dat"}));

    // The file becomes unreadable (here: a folder in its place).
    QFile::remove(iniPath());
    QDir().mkpath(iniPath());
    EXPECT_THROW(options->DeleteOrphanResultFiles(), FileReadError);
    EXPECT_EQ(resultFiles(), QStringList({"1.dat", "7.dat"}));
}

} // namespace
