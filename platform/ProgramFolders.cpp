#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString withSlash(const QString& folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    return clean.endsWith(u'/') ? clean : clean + u'/';
}
} // namespace

ProgramFolders ProgramFolders::PortableIn(const QString& folder)
{
    const QString f = folder.isEmpty() ? folder : withSlash(folder);
    return {f, f};
}

ProgramFolders ProgramFolders::Decide(const QString& executableFolder, const QString& userDataFolder)
{
    const QDir exe(executableFolder);
    const bool hasSettings = QFileInfo::exists(exe.filePath(QStringLiteral("geo.ini")));
    const bool writable = QFileInfo(exe.absolutePath()).isWritable();
    const bool hasLessons = QFileInfo(exe.filePath(QStringLiteral("Lektionen"))).isDir();
    const QString installed = withSlash(exe.filePath(QStringLiteral("../share/orbilo")));
    if (hasSettings || (writable && hasLessons) || !QFileInfo(installed + QStringLiteral("Data")).isDir())
        return PortableIn(executableFolder);

    QString user = userDataFolder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                            : userDataFolder;
    user = withSlash(user);
    QDir().mkpath(user + QStringLiteral("Lektionen"));
    QDir().mkpath(user + QStringLiteral("Ergebnisse"));
    return {installed, user};
}
