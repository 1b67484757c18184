#include "lesson/LessonExchange.h"

#include "lesson/LessonHeader.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

namespace LessonExchange {

namespace {

const QString kAllgemeines = QStringLiteral("Allgemeines");
const QString kLektion = QStringLiteral("Lektion");

Problem fromArchive(LessonArchive::Problem problem)
{
    switch (problem) {
    case LessonArchive::Problem::Unsafe: return Problem::Unsafe;
    case LessonArchive::Problem::TooLarge: return Problem::TooLarge;
    case LessonArchive::Problem::NoManifest: return Problem::NotExchangeFile;
    case LessonArchive::Problem::NewerFormat: return Problem::NewerFormat;
    case LessonArchive::Problem::NoLessons: return Problem::NoLessons;
    case LessonArchive::Problem::Damaged: break;
    }
    return Problem::Damaged;
}

bool isGif(const QByteArray& bytes) { return bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"); }

bool containsFolded(const QStringList& names, const QString& name)
{
    return names.contains(name, Qt::CaseInsensitive);
}

// A file that is there and can be read, within a size.
QByteArray readBounded(const QString& path, qint64 limit)
{
    const QFileInfo info(path);
    if (!info.isFile())
        throw ExchangeError(Problem::NoLessons, info.fileName());
    if (info.size() > limit)
        throw ExchangeError(Problem::TooLarge, info.fileName());
    const QByteArray bytes = readWholeFile(path);
    if (bytes.size() > limit)
        throw ExchangeError(Problem::TooLarge, info.fileName());
    return bytes;
}

} // namespace

ExchangeError::ExchangeError(Problem problem, const QString& detail)
    : OrbiloError(detail), m_problem(problem), m_detail(detail)
{
}

QString FreeFileName(const QString& wanted, const QStringList& taken)
{
    if (!containsFolded(taken, wanted))
        return wanted;
    const qsizetype dot = wanted.lastIndexOf(u'.');
    const QString stem = dot > 0 ? wanted.left(dot) : wanted;
    const QString suffix = dot > 0 ? wanted.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString number = QStringLiteral(" (%1)").arg(n);
        const QString candidate = stem.left(255 - number.size() - suffix.size()) + number + suffix;
        if (!containsFolded(taken, candidate))
            return candidate;
    }
}

void Export(const QString& lessonFolder, const QStringList& lessonFiles, const QString& target)
{
    const LessonArchive::Limits limits;
    LessonArchive::TArchive archive;
    QSet<QString> pictures;
    for (const QString& fileName : lessonFiles) {
        const QString path = lessonFolder + fileName;
        LessonArchive::TArchiveLesson lesson;
        lesson.FileName = fileName;
        lesson.Contents = readBounded(path, limits.MaxLessonBytes);
        const IniFile file(path, limits.MaxLessonBytes);
        lesson.Name = LessonFile::CatalogueName(file, 1);
        lesson.NameEnglish = file.ReadString(kLektion, QStringLiteral("NameEnglish"));
        lesson.Picture = file.ReadString(kAllgemeines, QStringLiteral("Bitmap"));
        if (!lesson.Picture.isEmpty()) {
            // The picture travels with its lesson, or the lesson does not go.
            if (!LessonArchive::IsPlainFileName(lesson.Picture) || !QFileInfo(lessonFolder + lesson.Picture).isFile())
                throw ExchangeError(Problem::MissingPicture, lesson.Picture);
            if (!pictures.contains(lesson.Picture.toLower())) {
                pictures.insert(lesson.Picture.toLower());
                archive.Pictures.push_back(
                    {lesson.Picture, readBounded(lessonFolder + lesson.Picture, limits.MaxPictureBytes)});
            }
        }
        archive.Lessons.push_back(std::move(lesson));
    }
    if (archive.Lessons.empty())
        throw ExchangeError(Problem::NoLessons, {});
    const QByteArray bytes = LessonArchive::Write(archive);
    try {
        writeFileAtomically(target, bytes);
    } catch (const FileWriteError& error) {
        throw ExchangeError(Problem::WriteFailed, error.message());
    }
}

ImportResult Import(const QString& source, const QString& lessonFolder, const QStringList& otherFolders,
                    const LessonArchive::Limits& limits)
{
    const QFileInfo info(source);
    const QString suffix = info.suffix().toLower();
    if (suffix == u"lkp")
        throw ExchangeError(Problem::OlderFormat, info.fileName());

    // Gather the lessons and pictures the file offers.
    LessonArchive::TArchive offered;
    if (suffix == u"lek") {
        LessonArchive::TArchiveLesson lesson;
        lesson.FileName = info.fileName();
        lesson.Contents = readBounded(source, limits.MaxLessonBytes);
        const IniFile file(source, limits.MaxLessonBytes);
        const QString picture = file.ReadString(kAllgemeines, QStringLiteral("Bitmap"));
        // A single lesson brings its picture from its own folder.
        if (!picture.isEmpty() && LessonArchive::IsPlainFileName(picture)) {
            const QString picturePath = info.absoluteDir().filePath(picture);
            if (QFileInfo(picturePath).isFile())
                offered.Pictures.push_back({picture, readBounded(picturePath, limits.MaxPictureBytes)});
        }
        offered.Lessons.push_back(std::move(lesson));
    } else {
        if (!info.isFile())
            throw ExchangeError(Problem::NotExchangeFile, info.fileName());
        if (info.size() > limits.MaxArchiveBytes)
            throw ExchangeError(Problem::TooLarge, info.fileName());
        try {
            offered = LessonArchive::Read(readWholeFile(source), limits);
        } catch (const LessonArchive::ArchiveError& error) {
            throw ExchangeError(fromArchive(error.problem()), error.detail());
        }
    }

    // Each lesson is checked and brought into its final form in a folder of
    // its own; only when all of them pass does anything reach the lesson folder.
    QTemporaryDir staging;
    if (!staging.isValid())
        throw ExchangeError(Problem::WriteFailed, staging.path());
    // Folders count too: a file cannot take the name of one.
    QStringList folders = otherFolders;
    folders << lessonFolder;
    QStringList taken;
    for (const QString& folder : folders)
        taken << QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    std::vector<std::pair<QString, QByteArray>> writes;
    QHash<QString, QString> pictureNames; // offered name (folded) -> name in the lesson folder
    int number = 0;
    for (const LessonArchive::TArchiveLesson& lesson : offered.Lessons) {
        const QString staged = staging.filePath(QStringLiteral("%1.lek").arg(++number));
        try {
            writeFileAtomically(staged, lesson.Contents);
        } catch (const FileWriteError& error) {
            throw ExchangeError(Problem::WriteFailed, error.message());
        }
        IniFile file(staged, limits.MaxLessonBytes);
        if (LessonFile::Version(file) > LessonFile::kNewestVersion)
            throw ExchangeError(Problem::NewerFormat, lesson.FileName);
        if (!LessonFile::HasContent(file))
            throw ExchangeError(Problem::NoLessons, lesson.FileName);

        const QString picture = file.ReadString(kAllgemeines, QStringLiteral("Bitmap"));
        if (!picture.isEmpty()) {
            if (!LessonArchive::IsPlainFileName(picture) || picture.endsWith(QStringLiteral(".lek"), Qt::CaseInsensitive))
                throw ExchangeError(Problem::Unsafe, picture);
            const auto offeredPicture =
                std::find_if(offered.Pictures.begin(), offered.Pictures.end(), [&](const LessonArchive::TArchivePicture& p) {
                    return p.FileName.compare(picture, Qt::CaseInsensitive) == 0;
                });
            if (offeredPicture == offered.Pictures.end())
                throw ExchangeError(Problem::MissingPicture, picture);
            if (!isGif(offeredPicture->Contents))
                throw ExchangeError(Problem::Damaged, picture);
            QString finalName = pictureNames.value(picture.toLower());
            if (finalName.isEmpty()) {
                // The same picture already there is shared; a different one
                // of that name stays, and this one comes in beside it.
                const QString existing = lessonFolder + picture;
                if (QFileInfo(existing).isFile() && readWholeFile(existing) == offeredPicture->Contents) {
                    finalName = QDir(lessonFolder).entryList({picture}, QDir::Files).value(0, picture);
                } else {
                    finalName = FreeFileName(picture, taken);
                    taken << finalName;
                    writes.emplace_back(finalName, offeredPicture->Contents);
                }
                pictureNames.insert(picture.toLower(), finalName);
            }
            if (finalName != picture)
                file.WriteString(kAllgemeines, QStringLiteral("Bitmap"), finalName);
        }
        // What comes in is the learner's own lesson: editable and deletable.
        const QString type = file.ReadString(kLektion, QStringLiteral("Typ")).toLower();
        if (type == u"iglobe" || type == u"iimage")
            file.WriteString(kLektion, QStringLiteral("Typ"), type.mid(1));

        const QString finalName = FreeFileName(lesson.FileName, taken);
        taken << finalName;
        writes.emplace_back(finalName, readWholeFile(staged));
    }
    if (offered.Lessons.empty())
        throw ExchangeError(Problem::NoLessons, info.fileName());

    ImportResult result;
    QStringList written;
    try {
        for (const auto& [name, bytes] : writes) {
            writeFileAtomically(lessonFolder + name, bytes);
            written << name;
            if (name.endsWith(QStringLiteral(".lek"), Qt::CaseInsensitive))
                result.LessonFiles << name;
        }
    } catch (const FileWriteError& error) {
        // Every name was free: what this import wrote is taken back.
        for (const QString& name : written)
            QFile::remove(lessonFolder + name);
        throw ExchangeError(Problem::WriteFailed, error.message());
    }
    return result;
}

} // namespace LessonExchange
