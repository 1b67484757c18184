#include "lesson/LessonArchive.h"

#include "lesson/GeoIndex.h"

#include <QSet>

#include <deque>
#include <memory>
#include <sys/stat.h>
#include <zip.h>

namespace LessonArchive {

namespace {

const QString kHeader = QStringLiteral("Austausch");

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveCloser>;

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

bool isLessonName(const QString& name) { return name.endsWith(QStringLiteral(".lek"), Qt::CaseInsensitive); }

// One entry as the central directory describes it.
struct Entry {
    zip_uint64_t index = 0;
    QString name;
    qint64 size = 0;
};

QByteArray readEntry(zip_t* archive, const Entry& entry)
{
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive, entry.index, 0));
    if (!file)
        throw ArchiveError(Problem::Damaged, entry.name);
    // One byte more than the directory promises: an entry that unpacks to
    // more is damaged, and reading to its end checks its checksum.
    QByteArray contents(static_cast<qsizetype>(entry.size) + 1, Qt::Uninitialized);
    qint64 done = 0;
    while (done < contents.size()) {
        const zip_int64_t n = zip_fread(file.get(), contents.data() + done, static_cast<zip_uint64_t>(contents.size() - done));
        if (n < 0)
            throw ArchiveError(Problem::Damaged, entry.name);
        if (n == 0)
            break;
        done += n;
    }
    if (done != entry.size)
        throw ArchiveError(Problem::Damaged, entry.name);
    contents.resize(static_cast<qsizetype>(done));
    return contents;
}

// The entry's kind of file from the attributes its maker stored: only plain
// files are taken, never links or folders.
bool isPlainFile(zip_t* archive, zip_uint64_t index)
{
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0)
        return false;
    if (system == ZIP_OPSYS_UNIX || system == ZIP_OPSYS_MACINTOSH) {
        const mode_t mode = static_cast<mode_t>(attributes >> 16);
        if (mode != 0 && !S_ISREG(mode))
            return false;
    }
    constexpr zip_uint32_t kDosFolder = 0x10;
    return !(attributes & kDosFolder);
}

} // namespace

ArchiveError::ArchiveError(Problem problem, const QString& detail)
    : OrbiloError(detail.isEmpty() ? QStringLiteral("Unusable exchange file") : QStringLiteral("Unusable exchange file: ") + detail),
      m_problem(problem), m_detail(detail)
{
}

bool IsPlainFileName(const QString& name)
{
    if (name.isEmpty() || name.size() > 255 || name == u"." || name == u"..")
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
        if (c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' || c == u'>' ||
            c == u'|')
            return false;
    }
    // Names that end in a dot or blank are not the same file everywhere.
    return !name.endsWith(u'.') && !name.endsWith(u' ') && !name.startsWith(u' ');
}

QByteArray Write(const TArchive& archive)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        throw OrbiloError(QStringLiteral("Cannot create the exchange file"));
    zip_t* za = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!za) {
        zip_source_free(buffer);
        throw OrbiloError(QStringLiteral("Cannot create the exchange file"));
    }
    zip_source_keep(buffer); // the bytes are read back after closing
    std::unique_ptr<zip_source_t, decltype(&zip_source_free)> keepBuffer(buffer, zip_source_free);
    ArchivePtr open(za);

    std::deque<QByteArray> storage; // libzip reads the contents when closing
    QSet<QString> names;
    auto add = [&](const QString& name, const QByteArray& contents) {
        if (!IsPlainFileName(name) || names.contains(name.toLower()))
            throw OrbiloError(QStringLiteral("Cannot put %1 into the exchange file").arg(name));
        names.insert(name.toLower());
        const QByteArray& kept = storage.emplace_back(contents);
        zip_source_t* source = zip_source_buffer(za, kept.constData(), static_cast<zip_uint64_t>(kept.size()), 0);
        if (!source)
            throw OrbiloError(QStringLiteral("Cannot put %1 into the exchange file").arg(name));
        const zip_int64_t index = zip_file_add(za, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            throw OrbiloError(QStringLiteral("Cannot put %1 into the exchange file").arg(name));
        }
        const auto i = static_cast<zip_uint64_t>(index);
        zip_set_file_compression(za, i, ZIP_CM_DEFLATE, 9);
        // A plain file, readable by everyone, for whoever unpacks it by hand.
        zip_file_set_external_attributes(za, i, 0, ZIP_OPSYS_UNIX, static_cast<zip_uint32_t>(S_IFREG | 0644) << 16);
    };

    // The manifest: plain INI text, so that the archive explains itself.
    QString manifest;
    manifest += QStringLiteral("[%1]\nFormat=%2\nProgramm=Orbilo 3.0\nLektionen=%3\n")
                    .arg(kHeader)
                    .arg(kFormatVersion)
                    .arg(archive.Lessons.size());
    for (size_t i = 0; i < archive.Lessons.size(); ++i) {
        const TArchiveLesson& lesson = archive.Lessons[i];
        auto line = [](QString text) { return text.replace(u'\r', u' ').replace(u'\n', u' '); };
        manifest += QStringLiteral("\n[Lektion%1]\nDatei=%2\nName=%3\nNameEnglish=%4\n")
                        .arg(i + 1)
                        .arg(lesson.FileName, line(lesson.Name), line(lesson.NameEnglish));
        if (!lesson.Picture.isEmpty())
            manifest += QStringLiteral("Bild=%1\n").arg(lesson.Picture);
    }
    add(kManifestName, manifest.toUtf8());
    for (const TArchiveLesson& lesson : archive.Lessons)
        add(lesson.FileName, lesson.Contents);
    for (const TArchivePicture& picture : archive.Pictures)
        add(picture.FileName, picture.Contents);

    if (zip_close(open.release()) != 0) {
        zip_discard(za);
        throw OrbiloError(QStringLiteral("Cannot create the exchange file"));
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(buffer, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) || zip_source_open(buffer) != 0)
        throw OrbiloError(QStringLiteral("Cannot create the exchange file"));
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_source_read(buffer, bytes.data(), stat.size);
    zip_source_close(buffer);
    if (read != static_cast<zip_int64_t>(stat.size))
        throw OrbiloError(QStringLiteral("Cannot create the exchange file"));
    return bytes;
}

TArchive Read(const QByteArray& bytes, const Limits& limits)
{
    if (bytes.size() > limits.MaxArchiveBytes)
        throw ArchiveError(Problem::TooLarge, {});
    if (bytes.isEmpty())
        throw ArchiveError(Problem::Damaged, {}); // libzip would take it for an empty archive
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    if (!source)
        throw ArchiveError(Problem::Damaged, {});
    zip_t* za = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!za) {
        zip_source_free(source);
        zip_error_fini(&error);
        throw ArchiveError(Problem::Damaged, {});
    }
    ArchivePtr archive(za); // frees the source as well

    const zip_int64_t count = zip_get_num_entries(za, 0);
    if (count < 0)
        throw ArchiveError(Problem::Damaged, {});
    if (count > limits.MaxEntries)
        throw ArchiveError(Problem::TooLarge, QString::number(count));

    // Every entry is looked at before anything is unpacked.
    std::vector<Entry> entries;
    QSet<QString> seen;
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(za, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE))
            throw ArchiveError(Problem::Damaged, {});
        const QString name = QString::fromUtf8(stat.name);
        if (!IsPlainFileName(name) || seen.contains(name.toLower()) || !isPlainFile(za, index))
            throw ArchiveError(Problem::Unsafe, name);
        if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
            throw ArchiveError(Problem::Unsafe, name);
        if (!(stat.valid & ZIP_STAT_COMP_METHOD) ||
            (stat.comp_method != ZIP_CM_STORE && stat.comp_method != ZIP_CM_DEFLATE))
            throw ArchiveError(Problem::Unsafe, name);
        seen.insert(name.toLower());
        const qint64 limit = name.compare(kManifestName, Qt::CaseInsensitive) == 0 ? limits.MaxManifestBytes
                             : isLessonName(name)                                 ? limits.MaxLessonBytes
                                                                                  : limits.MaxPictureBytes;
        if (stat.size > static_cast<zip_uint64_t>(limit))
            throw ArchiveError(Problem::TooLarge, name);
        total += static_cast<qint64>(stat.size);
        if (total > limits.MaxTotalBytes)
            throw ArchiveError(Problem::TooLarge, name);
        entries.push_back({index, name, static_cast<qint64>(stat.size)});
    }
    auto find = [&entries](const QString& name) -> const Entry* {
        for (const Entry& entry : entries)
            if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
                return &entry;
        return nullptr;
    };

    const Entry* manifestEntry = find(kManifestName);
    if (!manifestEntry)
        throw ArchiveError(Problem::NoManifest, {});
    const TGeoIndex manifest = TGeoIndex::fromText(QString::fromUtf8(readEntry(za, *manifestEntry)));
    TArchive result;
    result.FormatVersion = manifest.ReadInteger(kHeader, QStringLiteral("Format"), 0);
    if (result.FormatVersion < 1)
        throw ArchiveError(Problem::NoManifest, {});
    if (result.FormatVersion > kFormatVersion)
        throw ArchiveError(Problem::NewerFormat, QString::number(result.FormatVersion));
    const int lessons = manifest.ReadInteger(kHeader, QStringLiteral("Lektionen"), 0);
    if (lessons < 1)
        throw ArchiveError(Problem::NoLessons, {});
    if (lessons > count)
        throw ArchiveError(Problem::Damaged, {});

    QSet<QString> taken;
    for (int i = 1; i <= lessons; ++i) {
        const QString section = QStringLiteral("Lektion%1").arg(i);
        TArchiveLesson lesson;
        const Entry* file = find(manifest.ReadString(section, QStringLiteral("Datei")));
        if (!file || !isLessonName(file->name) || taken.contains(file->name.toLower()))
            throw ArchiveError(Problem::Damaged, manifest.ReadString(section, QStringLiteral("Datei")));
        taken.insert(file->name.toLower());
        lesson.FileName = file->name;
        lesson.Name = manifest.ReadString(section, QStringLiteral("Name"));
        lesson.NameEnglish = manifest.ReadString(section, QStringLiteral("NameEnglish"));
        lesson.Contents = readEntry(za, *file);
        const QString pictureName = manifest.ReadString(section, QStringLiteral("Bild"));
        if (!pictureName.isEmpty()) {
            const Entry* picture = find(pictureName);
            if (!picture || isLessonName(picture->name) || picture == manifestEntry)
                throw ArchiveError(Problem::Damaged, pictureName);
            lesson.Picture = picture->name;
            const bool known = std::any_of(result.Pictures.begin(), result.Pictures.end(),
                                           [&](const TArchivePicture& p) { return p.FileName == picture->name; });
            if (!known)
                result.Pictures.push_back({picture->name, readEntry(za, *picture)});
        }
        result.Lessons.push_back(std::move(lesson));
    }
    return result;
}

} // namespace LessonArchive
