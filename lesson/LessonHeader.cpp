#include "lesson/LessonHeader.h"

#include "lesson/TDaten.h"
#include "platform/IniFile.h"

namespace LessonFile {
namespace {
const QString kLektion = QStringLiteral("Lektion");
const QString kAllgemeines = QStringLiteral("Allgemeines");
} // namespace

int Version(const IniFile& file) { return file.ReadInteger(kLektion, QStringLiteral("Version"), 0); }

static QString rawType(const IniFile& file)
{
    return file.ReadString(kLektion, QStringLiteral("Typ"), QStringLiteral("globe")).toLower();
}

QString LessonType(const IniFile& file)
{
    const QString type = rawType(file);
    if ((type == u"globe" || type == u"iglobe") &&
        !file.ReadString(kAllgemeines, QStringLiteral("Bitmap")).isEmpty())
        return QStringLiteral("image");
    return type;
}

bool IsPictureType(const QString& lessonType) { return lessonType == u"image" || lessonType == u"iimage"; }

bool IsStandardLesson(const IniFile& file)
{
    const QString type = rawType(file);
    return type == u"iglobe" || type == u"iimage";
}

int CatalogueGroup(const IniFile& file)
{
    const int group = file.ReadInteger(kLektion, QStringLiteral("Kategorie"), 0);
    if (group != 0)
        // The group picks a continent picture; a value beyond the six groups
        // is "other" rather than an index past the end.
        return group >= 1 && group <= 6 ? group : 6;
    static const QStringList continents{QStringLiteral("Nordamerika"), QStringLiteral("Südamerika"),
                                        QStringLiteral("Europa"), QStringLiteral("Asien"),
                                        QStringLiteral("Afrika")};
    const int index = static_cast<int>(continents.indexOf(file.ReadString(kAllgemeines, QStringLiteral("Kontinent"))));
    return index >= 0 ? index + 1 : 6;
}

QString CatalogueName(const IniFile& file, int language)
{
    QString name;
    if (language == 3)
        name = file.ReadString(kLektion, QStringLiteral("NameEnglish"));
    if (name.isEmpty())
        name = file.ReadString(kLektion, QStringLiteral("Name"));
    if (name.isEmpty())
        name = file.ReadString(kAllgemeines, QStringLiteral("Title"));
    return name;
}

void ReadHeader(const IniFile& file, TDaten& lesson)
{
    lesson.Name = file.ReadString(kLektion, QStringLiteral("Name"));
    if (lesson.Name.isEmpty())
        lesson.Name = file.ReadString(kAllgemeines, QStringLiteral("Title"));
    lesson.NameEnglish = file.ReadString(kLektion, QStringLiteral("NameEnglish"));
    lesson.Continent = CatalogueGroup(file);
}

bool HasContent(const IniFile& file)
{
    static const QStringList sections{QStringLiteral("L"),           QStringLiteral("T"),
                                      QStringLiteral("C"),           QStringLiteral("I"),
                                      QStringLiteral("F"),           QStringLiteral("S"),
                                      QStringLiteral("Allgemeines"), QStringLiteral("Kategorien"),
                                      QStringLiteral("CKategorien"), QStringLiteral("AKategorien")};
    for (const QString& section : sections)
        if (file.SectionExists(section))
            return true;
    return false;
}

QStringList GlobeCategorySections(const IniFile& file)
{
    QStringList categories;
    for (const QString& section : file.ReadSections())
        if (section != kLektion && section != u"Globe")
            categories << section;
    return categories;
}

bool IsSettingsKey(const QString& key) { return key.compare(u"Settings", Qt::CaseInsensitive) == 0; }

} // namespace LessonFile
