#pragma once

#include <QString>

// File names for lessons the editor saves for the first time (new lessons
// and copies) and for the pictures it copies with them.

// A readable file name stem from a lesson name: umlauts and accents written
// out in plain letters ("Flüsse" gives "Fluesse"), blanks as "_", other
// characters left out; "Lektion" when nothing is left.
QString ReadableFileStem(const QString& lessonName);

// `folder` + stem + extension, or stem + "_2", "_3" ... + extension when a
// file of that name (in any letter case) is already there, so that no other
// lesson or picture is ever overwritten. `folder` ends with a separator;
// `extension` includes the dot.
QString UniqueFilePath(const QString& folder, const QString& stem, const QString& extension);
