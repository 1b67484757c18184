#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class TErgebnis;
class TOptionen;

// One line of a result file, split into its six fields.
struct TResultRow {
    QString Date;
    int Correct = 0;
    int Wrong = 0;
    int Percent = 0;
    int Seconds = 0;
    QString Mode;
};

// Splits a line of the form of TErgebnis::ResultLine. False for a line that
// has fewer than six fields or whose counts, percentage ("80 %") or duration
// are not numbers; such a line is not shown.
bool ParseResultLine(const QString& line, TResultRow& row);

// The section of a lesson in a result file: the lesson's file name without
// folder. A name the INI format cannot carry back unchanged (blanks at either
// end, control characters such as line breaks) is written as "/" followed by
// the name with "%", those blanks and control characters percent-encoded
// (UTF-8). No file name contains "/", so an encoded name never meets a plain
// one, and every name that was stored plainly before still is.
QString ResultSectionName(const QString& lessonFileName);

// The result file of a user (the options' ResultFilePath). Every call reads
// the file afresh; a missing file or section reads as no lines.
class TResultFile {
public:
    explicit TResultFile(QString path);
    explicit TResultFile(const TOptionen& options);

    const QString& path() const { return m_path; }

    // The well-formed lines stored for the lesson, in file order.
    QStringList ReadLines(const QString& lessonFileName) const;
    // Writes the line under the next free key of the lesson's section ("1"
    // for a new section). Throws FileWriteError ("Unable to write to ...")
    // when the file cannot be written, for example when the folder is
    // missing; the file is then left as it was.
    void AppendLine(const QString& lessonFileName, const QString& line);
    void Append(const QString& lessonFileName, const TErgebnis& result);

private:
    QString m_path;
};

// Removes a deleted lesson's section from every result file of the folder.
void EraseLessonResults(const QString& resultFolder, const QString& lessonFileName);
