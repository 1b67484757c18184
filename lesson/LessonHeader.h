#pragma once

#include <QString>
#include <QtGlobal>
#include <QStringList>

class IniFile;
class TDaten;

// The header of a lesson file ([Lektion], and the older [Allgemeines]) and
// what the catalogue and the lesson views derive from it.
namespace LessonFile {

constexpr int kNewestVersion = 3;
// Real lessons are a few hundred kilobytes; anything far beyond is refused
// before it is read, so a stray huge file cannot freeze the program.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

int Version(const IniFile& file);
// "image" or "iimage" for picture lessons (a globe type with a Bitmap is a
// picture lesson), otherwise the lower-case [Lektion] Typ, "globe" when
// missing.
QString LessonType(const IniFile& file);
bool IsPictureType(const QString& lessonType);
// Shipped with the program: only copied, never edited or deleted.
bool IsStandardLesson(const IniFile& file);
// Catalogue group 1..6 from [Lektion] Kategorie, else [Allgemeines]
// Kontinent, else 6.
int CatalogueGroup(const IniFile& file);
// The lesson's name in the catalogue for the given interface language.
QString CatalogueName(const IniFile& file, int language);
// Name, NameEnglish and Continent of the lesson.
void ReadHeader(const IniFile& file, TDaten& lesson);
// Only files with content are lessons.
bool HasContent(const IniFile& file);

// Globe lessons: every section that is not "Lektion" or "Globe" (exact
// comparison) is a category, in file order.
QStringList GlobeCategorySections(const IniFile& file);
// The key that holds a category's settings text, in any letter case.
bool IsSettingsKey(const QString& key);

} // namespace LessonFile
