#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file atomically: a temporary file in the same folder is
// written to the last byte, synced to the disk and only then renamed over the
// target, so neither a crash nor a full disk ever leaves a half-written or
// empty file. On any failure the old file stays exactly as it was and
// FileWriteError naming the file is thrown.
void writeFileAtomically(const QString& path, const QByteArray& contents);

// Reads a whole file. A missing file reads as empty; a file that is there but
// cannot be read (no permission, a folder, an I/O error) throws FileReadError
// naming it, so that it is never taken for an empty one.
QByteArray readWholeFile(const QString& path);
