#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file atomically: a temporary file in the same folder is
// written, flushed and renamed over the target, so a crash never leaves a
// half-written file. Throws FileWriteError naming the file when it fails.
void writeFileAtomically(const QString& path, const QByteArray& contents);

// Reads a whole file; a missing or unreadable file reads as empty.
QByteArray readWholeFile(const QString& path);
