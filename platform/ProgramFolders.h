#pragma once

#include <QString>

// Where the program's files are. Two forms of one program:
//
// - portable: the executable's folder is the program folder and holds
//   everything, as in the build folder or on a USB stick. It is portable when
//   that folder holds geo.ini, or is writable and holds "Lektionen";
// - installed: what ships (lessons, globe data, flags, help) is read from the
//   installed data folder and never written; geo.ini, the results and the
//   user's own lessons live in the user's data folder.
//
// Every folder ends with "/". Nothing else builds paths to these folders.
struct ProgramFolders {
    QString Shipped; // Data/, geo.hlp and the standard lessons in Lektionen/
    QString User;    // geo.ini, Ergebnisse/ and the user's own lessons in Lektionen/

    bool Portable() const { return Shipped == User; }
    QString ShippedLessons() const { return Shipped + QStringLiteral("Lektionen/"); }
    QString UserLessons() const { return User + QStringLiteral("Lektionen/"); }

    // Both in one folder.
    static ProgramFolders PortableIn(const QString& folder);
    // Decides the form for an executable in `executableFolder`; the
    // installed form finds its data in ../share/orbilo/ and uses
    // `userDataFolder` (the platform's per-user data folder when empty),
    // creating its Lektionen/ and Ergebnisse/ there.
    static ProgramFolders Decide(const QString& executableFolder, const QString& userDataFolder = {});
};
