#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/OrbiloError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// A small tmpfs of its own, so that the disk really runs full.
class FullDiskTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString mountPoint;
    bool mounted = false;

    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "mounting a small tmpfs needs root; the full-disk tests are skipped";
        mountPoint = dir.filePath("disk");
        QDir().mkpath(mountPoint);
        if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "this machine does not allow mounting a tmpfs; the full-disk tests are skipped";
        mounted = true;
    }
    void TearDown() override
    {
        if (mounted)
            ::umount(QFile::encodeName(mountPoint).constData());
    }
    QString path(const QString& name) const { return mountPoint + u'/' + name; }

    // Fills what is left of the disk with a file of its own.
    void fillDisk()
    {
        QFile filler(path("filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    void freeDisk() { QFile::remove(path("filler")); }
    QStringList filesOnDisk() const { return QDir(mountPoint).entryList(QDir::Files | QDir::Hidden); }
};

TEST_F(FullDiskTest, EveryWriteFailsLoudlyAndLeavesTheOldFile)
{
    const QByteArray settings = "[Geo]\nLanguage=2\n[Users]\n1=Anna\n2=Ben\n";
    writeFileAtomically(path("geo.ini"), settings);
    IniFile ini(path("geo.ini"));
    fillDisk();

    struct Case {
        const char* what;
        std::function<void()> write;
    } cases[] = {
        {"a settings key", [&] { ini.WriteString("Geo", "Width", "800"); }},
        {"a replaced section", [&] { ini.ReplaceSection("Users", {{"1", "Anna"}}); }},
        {"a whole file", [&] { writeFileAtomically(path("geo.ini"), QByteArray(2000, 'y')); }},
    };
    for (const Case& c : cases) {
        try {
            c.write();
            ADD_FAILURE() << c.what << ": a write on a full disk reported success";
        } catch (const FileWriteError& error) {
            EXPECT_EQ(error.message(), "Unable to write to " + path("geo.ini")) << c.what;
        }
        EXPECT_EQ(contentsOf(path("geo.ini")), settings) << c.what << ": the old file must stay";
        EXPECT_EQ(ini.ReadString("Users", "2"), "Ben") << c.what;
        EXPECT_EQ(filesOnDisk(), QStringList({"filler", "geo.ini"})) << c.what << ": no temporary file is left";
    }

    freeDisk();
    ini.WriteString("Geo", "Width", "800");
    EXPECT_EQ(IniFile(path("geo.ini")).ReadInteger("Geo", "Width", 0), 800) << "with room again the write goes through";
}

TEST(AtomicFileTest, AFileThatIsThereButUnreadableIsNotEmpty)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("geo.ini");
    QDir().mkpath(folder);
    EXPECT_THROW(readWholeFile(folder), FileReadError);
    try {
        IniFile ini(folder);
        FAIL() << "a folder read as an empty settings file";
    } catch (const FileReadError& error) {
        EXPECT_EQ(error.message(), "Unable to read " + folder);
    }
    EXPECT_THROW(writeFileAtomically(folder, "x"), FileWriteError);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    EXPECT_TRUE(readWholeFile(dir.filePath("missing.ini")).isEmpty()) << "a missing file still reads as empty";
    EXPECT_TRUE(readWholeFile(dir.filePath("missing/deeper.ini")).isEmpty());
}

TEST(AtomicFileTest, KeepsThePermissionsAndFollowsALink)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.ini");
    writeFileAtomically(real, "old");
    QFile::setPermissions(real, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString link = dir.filePath("geo.ini");
    ASSERT_TRUE(QFile::link(real, link));
    writeFileAtomically(link, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link itself is kept";
    EXPECT_EQ(contentsOf(real), "new");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

} // namespace
