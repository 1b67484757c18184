#include "lesson/LessonArchive.h"
#include "lesson/LessonExchange.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using LessonArchive::Problem;

// Writes zip archives byte by byte, so that every field a hostile archive
// might bend can be bent: names, sizes, attributes, flags, checksums.
struct ZipEntry {
    QByteArray name;
    QByteArray data;                  // stored as it is (or as raw deflate data, method 8)
    quint16 method = 0;
    qint64 declaredSize = -1;         // the unpacked size the directory claims; -1: the data's
    quint32 unixMode = S_IFREG | 0644;
    quint16 flags = 0;
    bool wrongChecksum = false;
};

quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

class ZipWriter {
public:
    void add(const ZipEntry& entry) { m_entries.push_back(entry); }
    QByteArray bytes() const
    {
        QByteArray out, directory;
        for (const ZipEntry& e : m_entries) {
            const qint64 size = e.declaredSize < 0 ? e.data.size() : e.declaredSize;
            const bool zip64 = size >= 0xFFFFFFFFLL;
            const quint32 crc = crc32(e.data) ^ (e.wrongChecksum ? 1u : 0u);
            QByteArray extra;
            if (zip64) {
                u16(extra, 0x0001);
                u16(extra, 16);
                u64(extra, static_cast<quint64>(size));
                u64(extra, static_cast<quint64>(e.data.size()));
            }
            const quint32 offset = static_cast<quint32>(out.size());
            u32(out, 0x04034b50);
            u16(out, zip64 ? 45 : 20);
            u16(out, e.flags);
            u16(out, e.method);
            u16(out, 0);
            u16(out, 0x21);
            u32(out, crc);
            u32(out, zip64 ? 0xFFFFFFFFu : static_cast<quint32>(e.data.size()));
            u32(out, zip64 ? 0xFFFFFFFFu : static_cast<quint32>(size));
            u16(out, static_cast<quint16>(e.name.size()));
            u16(out, static_cast<quint16>(extra.size()));
            out += e.name + extra + e.data;

            u32(directory, 0x02014b50);
            u16(directory, (3 << 8) | 45); // made on Unix
            u16(directory, zip64 ? 45 : 20);
            u16(directory, e.flags);
            u16(directory, e.method);
            u16(directory, 0);
            u16(directory, 0x21);
            u32(directory, crc);
            u32(directory, zip64 ? 0xFFFFFFFFu : static_cast<quint32>(e.data.size()));
            u32(directory, zip64 ? 0xFFFFFFFFu : static_cast<quint32>(size));
            u16(directory, static_cast<quint16>(e.name.size()));
            u16(directory, static_cast<quint16>(extra.size()));
            u16(directory, 0);
            u16(directory, 0);
            u16(directory, 0);
            u32(directory, e.unixMode << 16);
            u32(directory, offset);
            directory += e.name + extra;
        }
        const quint32 start = static_cast<quint32>(out.size());
        out += directory;
        u32(out, 0x06054b50);
        u16(out, 0);
        u16(out, 0);
        u16(out, static_cast<quint16>(m_entries.size()));
        u16(out, static_cast<quint16>(m_entries.size()));
        u32(out, static_cast<quint32>(directory.size()));
        u32(out, start);
        u16(out, 0);
        return out;
    }

private:
    static void u16(QByteArray& b, quint16 v) { b += char(v & 0xFF), b += char(v >> 8); }
    static void u32(QByteArray& b, quint32 v) { u16(b, quint16(v & 0xFFFF)), u16(b, quint16(v >> 16)); }
    static void u64(QByteArray& b, quint64 v) { u32(b, quint32(v & 0xFFFFFFFFu)), u32(b, quint32(v >> 32)); }
    std::vector<ZipEntry> m_entries;
};

const QByteArray kLesson = "[Lektion]\nName=Flüsse\nNameEnglish=Rivers\nKategorie=3\n[F]\n1=5\n";
const QByteArray kManifest = "[Austausch]\nFormat=1\nLektionen=1\n[Lektion1]\nDatei=f.lek\nName=Flüsse\n";

// An exchange file as the program writes it, then bent in one place.
QByteArray archiveWith(const ZipEntry& extra, bool withLesson = true)
{
    ZipWriter zip;
    zip.add({"manifest.ini", kManifest});
    if (withLesson)
        zip.add({"f.lek", kLesson});
    zip.add(extra);
    return zip.bytes();
}

TEST(LessonArchive, WhatIsWrittenReadsBackTheSame)
{
    LessonArchive::TArchive archive;
    const QByteArray gif = QByteArray("GIF89a") + QByteArray(300, '\x01');
    archive.Lessons.push_back({"Städte.lek", QString::fromUtf8("Städte"), "Cities", {}, kLesson});
    archive.Lessons.push_back({"Karte.lek", "Karte", {}, "karte.gif", "[Allgemeines]\nBitmap=karte.gif\n[Kategorien]\n1=A\n"});
    archive.Lessons.push_back({"Karte2.lek", "Karte 2", {}, "karte.gif", "[Allgemeines]\nBitmap=karte.gif\n"});
    archive.Pictures.push_back({"karte.gif", gif});
    const LessonArchive::TArchive read = LessonArchive::Read(LessonArchive::Write(archive));
    ASSERT_EQ(read.Lessons.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(read.Lessons[i].FileName, archive.Lessons[i].FileName);
        EXPECT_EQ(read.Lessons[i].Name, archive.Lessons[i].Name);
        EXPECT_EQ(read.Lessons[i].NameEnglish, archive.Lessons[i].NameEnglish);
        EXPECT_EQ(read.Lessons[i].Picture, archive.Lessons[i].Picture);
        EXPECT_EQ(read.Lessons[i].Contents, archive.Lessons[i].Contents);
    }
    ASSERT_EQ(read.Pictures.size(), 1u) << "a picture two lessons share travels once";
    EXPECT_EQ(read.Pictures[0].Contents, gif);
}

// Whatever an archive holds that could reach outside the lesson folder, or
// unpack to more than any lesson needs, is refused before anything is read.
TEST(LessonArchive, HostileArchivesAreRefused)
{
    const QByteArray emptyDeflate("\x03\x00", 2); // unpacks to nothing
    ZipWriter many;
    many.add({"manifest.ini", kManifest});
    many.add({"f.lek", kLesson});
    for (int i = 0; i < 5000; ++i)
        many.add({QByteArray("x") + QByteArray::number(i) + ".gif", "GIF89a"});
    ZipWriter noManifest;
    noManifest.add({"f.lek", kLesson});
    const QByteArray good = archiveWith({"karte.gif", "GIF89a"});

    struct Case {
        const char* what;
        QByteArray bytes;
        Problem problem;
    } cases[] = {
        {"a parent folder", archiveWith({"../evil.lek", kLesson}), Problem::Unsafe},
        {"an absolute path", archiveWith({"/tmp/evil.lek", kLesson}), Problem::Unsafe},
        {"a folder inside", archiveWith({"sub/evil.lek", kLesson}), Problem::Unsafe},
        {"a backslash", archiveWith({"..\\evil.lek", kLesson}), Problem::Unsafe},
        {"a drive", archiveWith({"C:evil.lek", kLesson}), Problem::Unsafe},
        {"a folder entry", archiveWith({"Lektionen/", {}, 0, -1, S_IFDIR | 0755}), Problem::Unsafe},
        {"a link", archiveWith({"link.gif", "/etc/passwd", 0, -1, S_IFLNK | 0777}), Problem::Unsafe},
        {"an encrypted entry", archiveWith({"secret.gif", "GIF89a", 0, -1, S_IFREG | 0644, 1}), Problem::Unsafe},
        {"the same name twice", archiveWith({"F.LEK", kLesson}), Problem::Unsafe},
        {"10 GB unpacked", archiveWith({"huge.gif", emptyDeflate, 8, 10LL << 30}), Problem::TooLarge},
        {"4 GB unpacked", archiveWith({"big.gif", emptyDeflate, 8, 0xFFFFFFF0LL}), Problem::TooLarge},
        {"a lesson of 5 MB", archiveWith({"big.lek", emptyDeflate, 8, 5 << 20}), Problem::TooLarge},
        {"thousands of entries", many.bytes(), Problem::TooLarge},
        {"no manifest", noManifest.bytes(), Problem::NoManifest},
        {"a manifest of a newer program",
         [] {
             ZipWriter z;
             z.add({"manifest.ini", "[Austausch]\nFormat=2\nLektionen=1\n[Lektion1]\nDatei=f.lek\n"});
             z.add({"f.lek", kLesson});
             return z.bytes();
         }(),
         Problem::NewerFormat},
        {"a manifest naming a file that is not there", archiveWith({"g.gif", "GIF89a"}, false), Problem::Damaged},
        {"a wrong checksum",
         [] {
             ZipWriter z;
             z.add({"manifest.ini", kManifest});
             z.add({"f.lek", kLesson, 0, -1, S_IFREG | 0644, 0, true});
             return z.bytes();
         }(),
         Problem::Damaged},
        {"an entry that unpacks to more than it claims", archiveWith({"f.lek", kLesson, 0, 10}, false), Problem::Damaged},
        {"cut short", good.left(good.size() / 2), Problem::Damaged},
        {"the end cut off", good.left(good.size() - 10), Problem::Damaged},
        {"not a zip archive", QByteArray(4096, 'z'), Problem::Damaged},
        {"nothing", QByteArray(), Problem::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            LessonArchive::Read(c.bytes);
            ADD_FAILURE() << "read";
        } catch (const LessonArchive::ArchiveError& error) {
            EXPECT_EQ(int(error.problem()), int(c.problem)) << error.message().toStdString();
        }
    }
    EXPECT_NO_THROW(LessonArchive::Read(good)) << "the archive the cases bend is sound";
}

TEST(LessonArchive, PlainFileNames)
{
    for (const char* name : {"Europa.lek", "Städte & Flüsse (2).lek", "karte.gif", ".hidden.gif"})
        EXPECT_TRUE(LessonArchive::IsPlainFileName(QString::fromUtf8(name))) << name;
    for (const char* name : {"", ".", "..", "a/b", "a\\b", "c:x", "x?", "tab\t", "end.", " lead", "pipe|"})
        EXPECT_FALSE(LessonArchive::IsPlainFileName(QString::fromUtf8(name))) << name;
    EXPECT_FALSE(LessonArchive::IsPlainFileName(QString(256, u'a')));
}

// -------------------------------------------------------------- import

class LessonImport : public ::testing::Test {
protected:
    QTemporaryDir home, other;
    QString folder() const { return home.path() + "/Lektionen/"; }
    LessonImport() { QDir(home.path()).mkpath("Lektionen"); }

    void put(const QString& path, const QByteArray& bytes) { writeFileAtomically(path, bytes); }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
    QString archive(const LessonArchive::TArchive& a, const QString& name = "x.geo")
    {
        const QString path = other.filePath(name);
        put(path, LessonArchive::Write(a));
        return path;
    }
    static LessonExchange::Problem refusal(const QString& source, const QString& folder)
    {
        try {
            LessonExchange::Import(source, folder);
        } catch (const LessonExchange::ExchangeError& error) {
            return error.problem();
        }
        ADD_FAILURE() << "imported";
        return LessonExchange::Problem::WriteFailed;
    }
};

TEST_F(LessonImport, NothingIsReplacedAndStandardLessonsBecomeOnesOwn)
{
    const QByteArray map1 = QByteArray("GIF89a") + QByteArray(50, '\x01');
    const QByteArray map2 = QByteArray("GIF89a") + QByteArray(50, '\x02');
    // Already there: a standard lesson and its picture, and a lesson of one's own.
    put(folder() + "Europa.lek", "[Lektion]\nTyp=iimage\nName=Alt\n[Allgemeines]\nBitmap=Europa.gif\n[Kategorien]\n1=L\n");
    put(folder() + "Europa.gif", map1);
    put(folder() + "Fluesse.lek", kLesson);

    LessonArchive::TArchive a;
    a.Lessons.push_back({"Europa.lek", "Neu", {}, "Europa.gif",
                         "[Lektion]\nTyp=iimage\nName=Neu\n[Allgemeines]\nBitmap=Europa.gif\n[Kategorien]\n1=L\n"});
    a.Lessons.push_back({"Fluesse.lek", "Fluesse", {}, {}, kLesson});
    a.Lessons.push_back({"Welt.lek", "Welt", {}, "Welt.gif", "[Allgemeines]\nBitmap=Welt.gif\n[Kategorien]\n1=L\n"});
    a.Pictures.push_back({"Europa.gif", map2});
    a.Pictures.push_back({"Welt.gif", map1});
    const LessonExchange::ImportResult result = LessonExchange::Import(archive(a), folder());

    EXPECT_EQ(result.LessonFiles, (QStringList{"Europa (2).lek", "Fluesse (2).lek", "Welt.lek"}));
    EXPECT_EQ(files(), (QStringList{"Europa (2).gif", "Europa (2).lek", "Europa.gif", "Europa.lek", "Fluesse (2).lek",
                                    "Fluesse.lek", "Welt.gif", "Welt.lek"}));
    EXPECT_EQ(readWholeFile(folder() + "Europa.gif"), map1) << "the old picture stays";
    EXPECT_EQ(readWholeFile(folder() + "Europa (2).gif"), map2);
    const IniFile imported(folder() + "Europa (2).lek");
    EXPECT_EQ(imported.ReadString("Allgemeines", "Bitmap"), "Europa (2).gif");
    EXPECT_EQ(imported.ReadString("Lektion", "Typ"), "image") << "the learner's own copy can be edited and deleted";
    EXPECT_EQ(imported.ReadString("Lektion", "Name"), "Neu");
    EXPECT_EQ(IniFile(folder() + "Europa.lek").ReadString("Lektion", "Name"), "Alt");
    EXPECT_EQ(readWholeFile(folder() + "Fluesse (2).lek"), kLesson) << "an untouched lesson comes in byte for byte";

    // A standard lesson of an installed program, in a folder of its own,
    // keeps its name as well.
    QTemporaryDir shipped;
    put(shipped.filePath("Standard.lek"), kLesson);
    LessonArchive::TArchive standard;
    standard.Lessons.push_back({"standard.lek", "S", {}, {}, kLesson});
    EXPECT_EQ(LessonExchange::Import(archive(standard, "s.geo"), folder(), {shipped.path() + '/'}).LessonFiles,
              QStringList{"standard (2).lek"});

    // The same picture again is shared, not copied.
    LessonArchive::TArchive again;
    again.Lessons.push_back({"Welt2.lek", "Welt", {}, "Welt.gif", "[Allgemeines]\nBitmap=Welt.gif\n[Kategorien]\n1=L\n"});
    again.Pictures.push_back({"Welt.gif", map1});
    LessonExchange::Import(archive(again, "y.geo"), folder());
    EXPECT_FALSE(QFile::exists(folder() + "Welt (2).gif"));
    EXPECT_EQ(IniFile(folder() + "Welt2.lek").ReadString("Allgemeines", "Bitmap"), "Welt.gif");
}

TEST_F(LessonImport, WhatCannotComeInIsRefusedAndWritesNothing)
{
    put(folder() + "mine.lek", kLesson);
    const QStringList before = files();
    auto withLesson = [](const QByteArray& text, const QString& picture = {}, const QByteArray& pictureBytes = {}) {
        LessonArchive::TArchive a;
        a.Lessons.push_back({"a.lek", "A", {}, picture, text});
        if (!pictureBytes.isNull())
            a.Pictures.push_back({picture, pictureBytes});
        return a;
    };
    using P = LessonExchange::Problem;
    put(other.filePath("alt.lkp"), "whatever the old format was");
    put(other.filePath("damaged.geo"), LessonArchive::Write(withLesson(kLesson)).left(100));
    put(other.filePath("hostile.geo"), archiveWith({"../../evil.lek", kLesson}));
    struct Case {
        const char* what;
        QString source;
        P problem;
    } cases[] = {
        {"an older lesson file", other.filePath("alt.lkp"), P::OlderFormat},
        {"a damaged archive", other.filePath("damaged.geo"), P::Damaged},
        {"a hostile archive", other.filePath("hostile.geo"), P::Unsafe},
        {"a lesson of a newer program", archive(withLesson("[Lektion]\nVersion=4\n[L]\n1=1\n"), "v4.geo"), P::NewerFormat},
        {"a file that is no lesson", archive(withLesson("[Notizen]\n1=x\n"), "notes.geo"), P::NoLessons},
        {"a picture lesson without its picture", archive(withLesson("[Allgemeines]\nBitmap=k.gif\n[Kategorien]\n1=A\n"), "nopic.geo"),
         P::MissingPicture},
        {"a picture that is no picture",
         archive(withLesson("[Allgemeines]\nBitmap=k.gif\n[Kategorien]\n1=A\n", "k.gif", "#!/bin/sh"), "script.geo"), P::Damaged},
        {"a picture name reaching out",
         archive(withLesson("[Allgemeines]\nBitmap=../k.gif\n[Kategorien]\n1=A\n"), "out.geo"), P::Unsafe},
        {"a file that is not there", other.filePath("none.geo"), P::NotExchangeFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(int(refusal(c.source, folder())), int(c.problem));
        EXPECT_EQ(files(), before);
    }
    // A sound lesson before a broken one in the same archive: none comes in.
    LessonArchive::TArchive mixed = withLesson(kLesson);
    mixed.Lessons.push_back({"b.lek", "B", {}, {}, "[Lektion]\nVersion=9\n[L]\n1=1\n"});
    EXPECT_EQ(int(refusal(archive(mixed, "mixed.geo"), folder())), int(P::NewerFormat));
    EXPECT_EQ(files(), before);
}

TEST_F(LessonImport, ASingleLessonFileBringsThePictureBesideIt)
{
    const QByteArray gif = QByteArray("GIF87a") + QByteArray(20, '\x07');
    put(other.filePath("Karte.lek"), "[Lektion]\nTyp=image\n[Allgemeines]\nBitmap=Karte.gif\n[Kategorien]\n1=A\n");
    put(other.filePath("Karte.gif"), gif);
    EXPECT_EQ(LessonExchange::Import(other.filePath("Karte.lek"), folder()).LessonFiles, QStringList{"Karte.lek"});
    EXPECT_EQ(readWholeFile(folder() + "Karte.gif"), gif);
    QFile::remove(other.filePath("Karte.gif"));
    EXPECT_EQ(int(refusal(other.filePath("Karte.lek"), folder())), int(LessonExchange::Problem::MissingPicture));
}

TEST(LessonExchangeNames, AFreeNameKeepsTheExtension)
{
    EXPECT_EQ(LessonExchange::FreeFileName("a.lek", {"b.lek"}), "a.lek");
    EXPECT_EQ(LessonExchange::FreeFileName("a.lek", {"A.LEK"}), "a (2).lek");
    EXPECT_EQ(LessonExchange::FreeFileName("a.lek", {"a.lek", "a (2).lek"}), "a (3).lek");
    EXPECT_EQ(LessonExchange::FreeFileName("Karte.v2.gif", {"karte.v2.gif"}), "Karte.v2 (2).gif");
}

} // namespace
