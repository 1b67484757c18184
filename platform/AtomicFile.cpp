#include "platform/AtomicFile.h"

#include "platform/OrbiloError.h"

#include <QFile>
#include <QSaveFile>

void writeFileAtomically(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    // Never fall back to writing in place: that is what could half-write it.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.commit())
        throw FileWriteError(path);
}

QByteArray readWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
