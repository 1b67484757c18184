#include "AppFixture.h"

#include "app/Lektionenliste.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolders.h"
#include "widgets/LessonListBox.h"

#include <QComboBox>
#include <QDirIterator>
#include <QTemporaryDir>

namespace {

// Every file under a folder with its size, to see that nothing changed.
QStringList filesUnder(const QString& folder)
{
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next();
        files << file.mid(folder.size()) + u' ' + QString::number(QFileInfo(file).size());
    }
    files.sort();
    return files;
}

void touch(const QString& path, const QByteArray& bytes = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(ProgramFolders, PortableWhereTheProgramFolderHoldsItsFilesInstalledOtherwise)
{
    QTemporaryDir root;
    const QString prefix = root.filePath("usr");
    touch(prefix + "/share/orbilo/Data/geodata.ini");
    QDir().mkpath(prefix + "/bin");
    const QString home = root.filePath("home/.local/share/Orbilo");

    const ProgramFolders installed = ProgramFolders::Decide(prefix + "/bin", home);
    EXPECT_FALSE(installed.Portable());
    EXPECT_EQ(installed.Shipped, prefix + "/share/orbilo/");
    EXPECT_EQ(installed.User, home + "/");
    EXPECT_TRUE(QFileInfo(home + "/Lektionen").isDir());
    EXPECT_TRUE(QFileInfo(home + "/Ergebnisse").isDir());

    const QString build = root.filePath("build");
    touch(build + "/Lektionen/a.lek");
    EXPECT_EQ(ProgramFolders::Decide(build, home).User, build + "/") << "a build folder with its lessons";
    touch(prefix + "/bin/geo.ini");
    EXPECT_TRUE(ProgramFolders::Decide(prefix + "/bin", home).Portable()) << "a geo.ini beside the program";
    EXPECT_TRUE(ProgramFolders::Decide(root.filePath("stick"), home).Portable()) << "no installed data beside it";
}

// The installed form as the program runs it: the shipped lessons and the
// user's own in one catalogue, the user's files in the user's folder and
// nothing written where the program is installed.
class InstalledForm : public AppFixture {
protected:
    QString shipped = dir.filePath("usr/share/orbilo/");
    QString user = dir.filePath("home/Orbilo/");

    InstalledForm()
    {
        for (const char* folder : {"Lektionen", "Data"})
            for (QDirIterator it(QStringLiteral(ORBILO_DATA_FOLDER) + "/" + folder, QDir::Files); it.hasNext();) {
                const QString file = it.next();
                touch(shipped + folder + "/" + QFileInfo(file).fileName());
                QFile::remove(shipped + folder + "/" + QFileInfo(file).fileName());
                QFile::copy(file, shipped + folder + "/" + QFileInfo(file).fileName());
            }
        touch(user + "Lektionen/Meine.lek",
              "[Lektion]\nTyp=image\nName=Meine Lektion\nKategorie=3\n[Kategorien]\n1=Flüsse\n[AKategorien]\n1=1\n"
              "[Kategorie1]\n1=Rhein\n");
        QDir().mkpath(user + "Ergebnisse");
        touch(user + "geo.ini", "[Geo]\nLanguage=1\n[Users]\n1=Anna\n");
    }
};

TEST_F(InstalledForm, ShowsShippedAndOwnLessonsAndWritesOnlyForTheUser)
{
    const QStringList before = filesUnder(shipped);
    ASSERT_GT(before.size(), 30);
    {
        auto main = std::make_unique<Tfrm_main>(ProgramFolders{shipped, user});
        main->Button("Btn_Haupt_Editor")->click();
        main->Kat()->setCurrentIndex(2); // Europe
        QStringList files;
        for (int row = 0; row < main->lektionen()->count(); ++row)
            files << LessonListBox::FilePart(main->lektionen()->item(row)->text());
        EXPECT_TRUE(files.contains("Meine.lek")) << "the user's own lesson";
        EXPECT_TRUE(files.contains("Europa_Laender.lek")) << "a shipped lesson";

        // A shipped lesson is never deleted.
        for (int row = 0; row < main->lektionen()->count(); ++row)
            if (main->lektionen()->item(row)->text().endsWith(";Europa_Laender.lek"))
                main->lektionen()->setCurrentRow(row);
        responder.messageAnswers = {mrYes};
        main->DeleteLesson();
        EXPECT_TRUE(QFile::exists(shipped + "Lektionen/Europa_Laender.lek"));
        EXPECT_EQ(main->Optionen().LessonPath("Europa_Laender.lek"), shipped + "Lektionen/Europa_Laender.lek");
        EXPECT_EQ(main->Optionen().LessonPath("Meine.lek"), user + "Lektionen/Meine.lek");
        EXPECT_EQ(main->Optionen().DataFolder(), shipped + "Data/");
    }
    EXPECT_EQ(filesUnder(shipped), before) << "nothing is written where the program is installed";
    EXPECT_EQ(IniFile(user + "geo.ini").ReadString("Users", "1"), "Anna");
    EXPECT_TRUE(IniFile(user + "geo.ini").ValueExists("Geo", "Width")) << "the window size went to the user's geo.ini";
}

} // namespace
