#include "editor/LessonWriter.h"

#include "lesson/ColorText.h"
#include "lesson/TDaten.h"

#include <charconv>
#include <cmath>

namespace {

class LessonText {
public:
    void Section(const QString& name)
    {
        if (!m_lines.isEmpty())
            m_lines << QString();
        m_lines << u'[' + name + u']';
    }
    void Key(const QString& key, const QString& value) { m_lines << key + u'=' + CleanLessonValue(value); }
    void Key(const QString& key, int value) { m_lines << key + u'=' + QString::number(value); }
    QByteArray Bytes() const { return (m_lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8(); }

private:
    QStringList m_lines;
};

// "|" joins names, "~" the two languages, "?" the fields of a picture term:
// inside a name they would split it on reading.
QString NamePart(const QString& name)
{
    QString part = name;
    part.remove(u'|').remove(u'~').remove(u'?');
    return CleanLessonValue(part);
}

QString JoinNames(const QStringList& names)
{
    QStringList parts;
    for (const QString& name : names)
        if (const QString part = NamePart(name); !part.isEmpty())
            parts << part;
    return parts.join(u'|');
}

bool IsCapital(const TGeoItem& item) { return item.CapitalOf && item.CapitalOf->Capital == &item; }

QString PictureItemValue(const TGeoItem& item)
{
    QString value = JoinNames(item.NamesGerman);
    if (const QString english = JoinNames(item.NamesEnglish); !english.isEmpty())
        value += u'~' + english;
    const QString capitals = item.Capital && item.Capital->CapitalOf == &item ? JoinNames(item.Capital->NamesGerman)
                                                                               : QString();
    // The region is written as read: seed points joined by "&".
    QString region = item.Region;
    region.remove(u'?');
    if (!region.isEmpty() || !capitals.isEmpty())
        value += u'?' + region;
    if (!capitals.isEmpty())
        value += u'?' + capitals;
    if (item.State() == ItemState::Deactivated)
        value.prepend(QStringLiteral("xxx"));
    return value;
}

QString GlobeItemValue(const TGeoItem& item)
{
    QString prefix;
    if (item.State() == ItemState::ShowOnly)
        prefix = QStringLiteral("xxxx");
    else if (item.State() == ItemState::Deactivated)
        prefix = QStringLiteral("xxx");
    return prefix + QString::number(item.Number);
}

QString CategoryNamePart(const QString& name)
{
    QString part = name;
    part.remove(u'|').remove(u'~');
    return CleanLessonValue(part);
}

QString GlobeSettings(const TKategorie& category)
{
    return QStringList{CategoryNamePart(category.Name), CategoryNamePart(category.NameEnglish),
                       ColorToText(category.Color), ColorToText(category.MapColor),
                       ColorToText(category.SelectedColor), ColorToText(category.OutlineColor)}
        .join(u'~');
}

// A globe category the map made holds the author's work when one of its
// terms is a question of the lesson or its names and colours were changed.
bool HoldsAuthorsWork(const TKategorie& category)
{
    for (const auto& item : category.Items)
        if (!item->Auxiliary)
            return true;
    TKategorie defaults;
    defaults.SetKind(KindLetter(category.Kind));
    return GlobeSettings(defaults) != GlobeSettings(category);
}

void WriteHeader(LessonText& text, const TDaten& lesson, const QString& type)
{
    text.Section(QStringLiteral("Lektion"));
    text.Key(QStringLiteral("Version"), 3);
    text.Key(QStringLiteral("Typ"), type);
    text.Key(QStringLiteral("Name"), lesson.Name);
    text.Key(QStringLiteral("NameEnglish"), lesson.NameEnglish);
    text.Key(QStringLiteral("Kategorie"), lesson.Continent >= 1 && lesson.Continent <= 6 ? lesson.Continent : 6);
}

void WritePictureLesson(LessonText& text, const TDaten& lesson, const TLessonFileExtras& extras)
{
    WriteHeader(text, lesson, QStringLiteral("image"));
    text.Section(QStringLiteral("Allgemeines"));
    text.Key(QStringLiteral("Title"), lesson.Name);
    if (!extras.Bitmap.isEmpty())
        text.Key(QStringLiteral("Bitmap"), extras.Bitmap);
    if (!extras.Background.isEmpty())
        text.Key(QStringLiteral("Background"), extras.Background);
    text.Key(QStringLiteral("LHDatei"), extras.CountryCapitals ? 1 : 0);

    // Capitals are written with their country, as the third field of its
    // value; the category the map made for them is made again on reading.
    struct Written {
        const TKategorie* category;
        std::vector<const TGeoItem*> items;
    };
    std::vector<Written> categories;
    for (const auto& category : lesson.Categories) {
        Written w{category.get(), {}};
        for (const auto& item : category->Items)
            if (!IsCapital(*item) && !item->Auxiliary)
                w.items.push_back(item.get());
        if (extras.MapMade.contains(category.get()) && w.items.empty())
            continue;
        categories.push_back(std::move(w));
    }

    text.Section(QStringLiteral("Kategorien"));
    for (std::size_t k = 0; k < categories.size(); ++k) {
        const TKategorie& category = *categories[k].category;
        QString value = CategoryNamePart(category.Name);
        if (const QString english = CategoryNamePart(category.NameEnglish); !english.isEmpty())
            value += u'|' + english;
        text.Key(QString::number(k + 1), value);
    }
    text.Section(QStringLiteral("CKategorien"));
    for (std::size_t k = 0; k < categories.size(); ++k)
        text.Key(QString::number(k + 1), ColorToText(categories[k].category->Color));
    text.Section(QStringLiteral("AKategorien"));
    for (std::size_t k = 0; k < categories.size(); ++k)
        text.Key(QString::number(k + 1), static_cast<int>(categories[k].items.size()));
    for (std::size_t k = 0; k < categories.size(); ++k) {
        text.Section(QStringLiteral("Kategorie%1").arg(k + 1));
        const auto& items = categories[k].items;
        for (std::size_t i = 0; i < items.size(); ++i)
            text.Key(QString::number(i + 1), PictureItemValue(*items[i]));
    }
}

void WriteGlobeLesson(LessonText& text, const TDaten& lesson, const TLessonFileExtras& extras)
{
    WriteHeader(text, lesson, QStringLiteral("globe"));
    text.Key(QStringLiteral("AllowMoving"), extras.AllowMoving ? 1 : 0);
    text.Key(QStringLiteral("AllowZooming"), extras.AllowZooming ? 1 : 0);
    if (!extras.GlobeView.empty()) {
        text.Section(QStringLiteral("Globe"));
        for (const auto& [key, value] : extras.GlobeView)
            text.Key(key, value);
    }
    for (const auto& category : lesson.Categories) {
        QString section = extras.Sections.value(category.get());
        if (section.isEmpty()) {
            // Only a kind names a section the reader gives the kind again.
            if (category->Kind == CategoryKind::None)
                continue;
            section = KindLetter(category->Kind);
        }
        if (extras.MapMade.contains(category.get()) && !HoldsAuthorsWork(*category))
            continue;
        text.Section(section);
        text.Key(QStringLiteral("Settings"), GlobeSettings(*category));
        int key = 1;
        for (const auto& item : category->Items)
            if (!item->Auxiliary)
                text.Key(QString::number(key++), GlobeItemValue(*item));
    }
}

} // namespace

QString CleanLessonValue(const QString& value)
{
    QString clean = value;
    for (QChar& c : clean)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    return clean.trimmed();
}

QString FormatCommaFloat(double value)
{
    if (!std::isfinite(value))
        value = 0;
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    text.replace(u'.', u',');
    return text;
}

QByteArray LessonFileText(const TDaten& lesson, const TLessonFileExtras& extras)
{
    LessonText text;
    if (extras.PictureLesson)
        WritePictureLesson(text, lesson, extras);
    else
        WriteGlobeLesson(text, lesson, extras);
    return text.Bytes();
}
