#pragma once

#include "platform/OrbiloError.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <vector>

// The exchange file ".geo": a zip archive holding lessons, the pictures they
// use and a small manifest "manifest.ini" (format version, and per lesson its
// file, its names in both languages and its picture). Every name in the
// archive is a plain file name; the reader refuses anything else, and
// anything too large or too many, before a byte is unpacked.
namespace LessonArchive {

constexpr int kFormatVersion = 1;
inline const QString kManifestName = QStringLiteral("manifest.ini");

// Bounds on what an archive may unpack to. Real lessons are a few hundred
// kilobytes and their pictures a few hundred more.
struct Limits {
    int MaxEntries = 256;
    qint64 MaxArchiveBytes = 64 * 1024 * 1024;
    qint64 MaxLessonBytes = 4 * 1024 * 1024;
    qint64 MaxPictureBytes = 16 * 1024 * 1024;
    qint64 MaxManifestBytes = 256 * 1024;
    qint64 MaxTotalBytes = 128 * 1024 * 1024;
};

struct TArchiveLesson {
    QString FileName;    // in the lesson folder, e.g. "Europa.lek"
    QString Name;        // as the lesson names itself, German
    QString NameEnglish;
    QString Picture;     // file name of its map picture, or empty
    QByteArray Contents; // the lesson file as it is on disk
};

struct TArchivePicture {
    QString FileName;
    QByteArray Contents;
};

struct TArchive {
    int FormatVersion = kFormatVersion;
    std::vector<TArchiveLesson> Lessons;
    std::vector<TArchivePicture> Pictures;
};

// Why an archive cannot be read.
enum class Problem {
    Damaged,    // not a zip archive, truncated, a checksum that does not match
    Unsafe,     // a name with a folder, "..", a link, an encrypted entry
    TooLarge,   // too many entries, or more bytes than the limits allow
    NoManifest, // a zip archive, but not an exchange file
    NewerFormat,
    NoLessons,
};

class ArchiveError : public OrbiloError {
public:
    ArchiveError(Problem problem, const QString& detail);
    Problem problem() const { return m_problem; }
    const QString& detail() const { return m_detail; }

private:
    Problem m_problem;
    QString m_detail;
};

// A name an archive may hold: a plain file name, no folder, no "..", no
// drive, no control characters, at most 255 characters.
bool IsPlainFileName(const QString& name);

// The archive's bytes. Pictures named by several lessons are stored once;
// file names must be plain and differ (without regard to case).
QByteArray Write(const TArchive& archive);

// Reads an archive from its bytes, checking every entry against the limits
// first; raises ArchiveError. The lessons come in manifest order, each with
// its picture among Pictures when it names one.
TArchive Read(const QByteArray& bytes, const Limits& limits = {});

} // namespace LessonArchive
