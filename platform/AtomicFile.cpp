#include "platform/AtomicFile.h"

#include "platform/OrbiloError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Retries the calls a signal may interrupt.
template <typename Call>
auto retryInterrupted(Call call)
{
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

bool writeAll(int fd, const QByteArray& contents)
{
    const char* data = contents.constData();
    qsizetype left = contents.size();
    while (left > 0) {
        const ssize_t written = retryInterrupted([&] { return ::write(fd, data, static_cast<size_t>(left)); });
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// The rename is only durable once the folder's entry is on the disk too.
void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// A link is followed, so that the file it points to is replaced, not the link.
QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.symLinkTarget();
        if (!target.isEmpty())
            return target;
    }
    return path;
}

// Creates the temporary file beside the target with a fresh name; the mode
// of a new file follows the user's umask as for any other file they create.
int createTemporary(const QByteArray& base, QByteArray& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = base + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        const int fd = retryInterrupted(
            [&] { return ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); });
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

void writeFileAtomically(const QString& path, const QByteArray& contents)
{
    const QString target = resolvedTarget(path);
    const QFileInfo info(target);
    if (target.isEmpty() || info.isDir())
        throw FileWriteError(path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray finalName = QFile::encodeName(info.absoluteFilePath());
    QByteArray tempName;
    const int fd = createTemporary(folder + "/." + QFile::encodeName(info.fileName()), tempName);
    if (fd < 0)
        throw FileWriteError(path);
    // The new file keeps the permissions of the one it replaces.
    struct stat old {};
    if (::stat(finalName.constData(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);

    const bool written = writeAll(fd, contents) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(tempName.constData(), finalName.constData()) != 0) {
        ::unlink(tempName.constData());
        throw FileWriteError(path);
    }
    syncFolder(folder);
}

QByteArray readWholeFile(const QString& path)
{
    struct stat info {};
    if (path.isEmpty())
        return {};
    if (path.startsWith(u':')) { // built into the program
        QFile resource(path);
        return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
    }
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {};
        throw FileReadError(path);
    }
    QFile file(path);
    if (S_ISDIR(info.st_mode) || !file.open(QIODevice::ReadOnly))
        throw FileReadError(path);
    QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileReadError(path);
    return contents;
}
