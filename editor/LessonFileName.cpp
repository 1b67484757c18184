#include "editor/LessonFileName.h"

#include <QDir>
#include <QSet>

namespace {
// Long enough for any real lesson name, short for every file system.
constexpr int kMaxStem = 60;
} // namespace

QString ReadableFileStem(const QString& lessonName)
{
    QString spelled;
    for (const QChar c : lessonName) {
        switch (c.unicode()) {
        case u'ä': spelled += QStringLiteral("ae"); break;
        case u'ö': spelled += QStringLiteral("oe"); break;
        case u'ü': spelled += QStringLiteral("ue"); break;
        case u'Ä': spelled += QStringLiteral("Ae"); break;
        case u'Ö': spelled += QStringLiteral("Oe"); break;
        case u'Ü': spelled += QStringLiteral("Ue"); break;
        case u'ß': spelled += QStringLiteral("ss"); break;
        default: spelled += c;
        }
    }
    // Accented letters fall apart into the letter and its accent; the
    // accent is dropped with every other character a name may not hold.
    const QString decomposed = spelled.normalized(QString::NormalizationForm_D);
    QString stem;
    for (const QChar c : decomposed) {
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
            stem += c;
        else if ((c.isSpace() || c == u'_' || c == u'-' || c == u'.' || c == u',' || c == u':' || c == u'/' || c == u'\\') && !stem.endsWith(u'_'))
            stem += u'_';
    }
    while (stem.startsWith(u'_'))
        stem.remove(0, 1);
    stem.truncate(kMaxStem);
    while (stem.endsWith(u'_'))
        stem.chop(1);
    return stem.isEmpty() ? QStringLiteral("Lektion") : stem;
}

QString UniqueFilePath(const QString& folder, const QString& stem, const QString& extension)
{
    QSet<QString> taken;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        taken.insert(name.toLower());
    QString name = stem + extension;
    for (int n = 2; taken.contains(name.toLower()); ++n)
        name = stem + u'_' + QString::number(n) + extension;
    return folder + name;
}
