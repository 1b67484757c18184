#pragma once

#include "lesson/LessonArchive.h"
#include "platform/OrbiloError.h"

#include <QString>
#include <QStringList>

// Moving lessons between installations: the checked lessons of the lesson
// folder into an exchange file, and the lessons of an exchange file (or a
// single lesson file) into the lesson folder. Nothing already there is ever
// replaced: a lesson or picture whose file name is taken comes in under a
// new name. Every file is written atomically, and an import that fails
// leaves the lesson folder as it was.
namespace LessonExchange {

// Why an export or import did not happen.
enum class Problem {
    OlderFormat,    // a ".lkp" file: lessons of the older program, not read
    NotExchangeFile,
    Damaged,
    Unsafe,
    TooLarge,
    NewerFormat,    // an exchange file or lesson of a newer program
    NoLessons,      // nothing in the file is a lesson
    MissingPicture, // a picture lesson whose map picture is not there
    WriteFailed,    // the disk refused; the text names the file
};

class ExchangeError : public OrbiloError {
public:
    ExchangeError(Problem problem, const QString& detail);
    Problem problem() const { return m_problem; }
    const QString& detail() const { return m_detail; }

private:
    Problem m_problem;
    QString m_detail;
};

// Writes the lessons (file names in `lessonFolder`, which ends with a
// separator) and their pictures into the exchange file `target`, atomically.
void Export(const QString& lessonFolder, const QStringList& lessonFiles, const QString& target);

struct ImportResult {
    QStringList LessonFiles; // as written into the lesson folder
};

// Reads `source` (".geo" exchange file, ".lek" lesson file; ".lkp" is
// refused with OlderFormat) into `lessonFolder`. The names of the files in
// `otherFolders` (the standard lessons of an installed program, which a
// lesson of the same name in `lessonFolder` would hide) count as taken.
// Raises ExchangeError and then has written nothing.
ImportResult Import(const QString& source, const QString& lessonFolder, const QStringList& otherFolders = {},
                    const LessonArchive::Limits& limits = {});

// A file name like `wanted` that is not among `taken` (compared without
// regard to case): "Name.lek", then "Name (2).lek", "Name (3).lek" …
QString FreeFileName(const QString& wanted, const QStringList& taken);

} // namespace LessonExchange
