// An exchange file (any bytes) read as the import reads it, then imported
// into an empty lesson folder: what the reader accepts stays within its
// limits and names only plain files, and an import writes only into the
// lesson folder, or nothing at all when it refuses.

#include "FuzzSupport.h"

#include "lesson/LessonArchive.h"
#include "lesson/LessonExchange.h"

#include <QDir>
#include <QDirIterator>

namespace {

// Smaller than the program's limits, so that the fuzzer does not spend its
// time unpacking what the program would refuse anyway at a larger size.
LessonArchive::Limits fuzzLimits()
{
    LessonArchive::Limits limits;
    limits.MaxEntries = 64;
    limits.MaxArchiveBytes = 1 << 20;
    limits.MaxLessonBytes = 256 * 1024;
    limits.MaxPictureBytes = 256 * 1024;
    limits.MaxManifestBytes = 64 * 1024;
    limits.MaxTotalBytes = 1 << 20;
    return limits;
}

QStringList everyFileBelow(const QString& folder)
{
    QStringList files;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        files << it.next();
    return files;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::EnsureApplication();
    const LessonArchive::Limits limits = fuzzLimits();
    bool readable = true;
    try {
        const LessonArchive::TArchive archive = LessonArchive::Read(Fuzz::Bytes(data, size), limits);
        if (archive.Lessons.empty())
            Fuzz::Violation("an archive without lessons was accepted");
        qint64 total = 0;
        for (const auto& lesson : archive.Lessons) {
            if (!LessonArchive::IsPlainFileName(lesson.FileName) || !lesson.FileName.endsWith(".lek", Qt::CaseInsensitive))
                Fuzz::Violation("a lesson with an unusable name", lesson.FileName);
            if (lesson.Contents.size() > limits.MaxLessonBytes)
                Fuzz::Violation("a lesson beyond the limit", lesson.FileName);
            total += lesson.Contents.size();
        }
        for (const auto& picture : archive.Pictures) {
            if (!LessonArchive::IsPlainFileName(picture.FileName))
                Fuzz::Violation("a picture with an unusable name", picture.FileName);
            if (picture.Contents.size() > limits.MaxPictureBytes)
                Fuzz::Violation("a picture beyond the limit", picture.FileName);
            total += picture.Contents.size();
        }
        if (total > limits.MaxTotalBytes)
            Fuzz::Violation("more bytes than the limit");
    } catch (const LessonArchive::ArchiveError&) {
        readable = false;
    }

    // The import, into a lesson folder of its own beside the exchange file.
    const QString source = Fuzz::WriteScratchFile(QStringLiteral("fuzz.geo"), data, size);
    const QString home = Fuzz::ScratchFolder() + QStringLiteral("/home");
    QDir(home).removeRecursively();
    QDir().mkpath(home + QStringLiteral("/Lektionen"));
    const QString lessons = home + QStringLiteral("/Lektionen/");
    try {
        const LessonExchange::ImportResult result = LessonExchange::Import(source, lessons, {}, limits);
        if (!readable)
            Fuzz::Violation("an archive the reader refused was imported");
        if (result.LessonFiles.isEmpty())
            Fuzz::Violation("an import without lessons was reported as done");
        for (const QString& name : result.LessonFiles)
            if (!QFileInfo::exists(lessons + name))
                Fuzz::Violation("a lesson reported as imported is not there", name);
    } catch (const LessonExchange::ExchangeError&) {
        if (!everyFileBelow(lessons).isEmpty())
            Fuzz::Violation("a refused import left files behind");
    } catch (const OrbiloError&) {
        // A lesson file the INI service cannot read; reported to the user.
    }
    // Nothing may land beside the lesson folder, or in a folder inside it.
    for (const QString& file : everyFileBelow(home))
        if (QFileInfo(file).absolutePath() != QDir(lessons).absolutePath() || QFileInfo(file).isDir())
            if (file != home + QStringLiteral("/Lektionen"))
                Fuzz::Violation("an import wrote outside the lesson folder", file);
    return 0;
}
