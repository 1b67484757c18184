#include "i18n/LangDictionary.h"

#include "platform/AtomicFile.h"
#include "platform/TextCodec.h"

namespace {

QString unescape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const QChar next = text[i + 1];
            if (next == u'n') {
                out += u'\n';
                ++i;
                continue;
            }
            if (next == u'\\') {
                out += u'\\';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

QStringList* tableByName(TLangDictionary::Tables& tables, const QString& name)
{
    const QString n = name.toLower();
    if (n == u"captions") return &tables.Captions;
    if (n == u"hints") return &tables.Hints;
    if (n == u"strings") return &tables.Strings;
    if (n == u"multilines") return &tables.MultiLines;
    if (n == u"collections") return &tables.Collections;
    if (n == u"otherstrings") return &tables.OtherStrings;
    if (n == u"fonts") return &tables.Fonts;
    if (n == u"charsets") return &tables.CharSets;
    if (n == u"dlgscaptions") return &tables.DlgsCaptions;
    if (n == u"locales") return &tables.Locales;
    return nullptr;
}

} // namespace

TLangDictionary::Tables TLangDictionary::parseTables(const QString& text, QChar delimiter)
{
    Tables tables;
    QStringList* current = nullptr;
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.trimmed().endsWith(u']')) {
            current = tableByName(tables, line.trimmed().mid(1, line.trimmed().size() - 2));
            continue;
        }
        if (!current)
            continue;
        QStringList fields = line.split(u'\t');
        while (fields.size() < 4)
            fields << QString();
        QString entry = fields[0].trimmed();
        for (int i = 1; i < 4; ++i)
            entry += delimiter + unescape(fields[i]);
        entry += delimiter;
        current->append(entry);
    }
    return tables;
}

TLangDictionary TLangDictionary::forWindow(const QString& windowClass)
{
    const QByteArray bytes = readWholeFile(QStringLiteral(":/dictionaries/%1.lang").arg(windowClass));
    return TLangDictionary(windowClass, parseTables(TextCodec::decode(bytes), QChar(1)));
}

TLangDictionary::TLangDictionary(QString windowClass, Tables tables)
    : m_windowClass(std::move(windowClass)), m_tables(std::move(tables))
{
    m_stringIndex = buildIndex(m_tables.Strings, LangDelim);
    m_dialogIndex = buildIndex(m_tables.DlgsCaptions, LangDelim);
    m_language = LangNames.value(0);
}

QString TLangDictionary::field(const QString& line, int k, QChar delimiter)
{
    qsizetype start = line.startsWith(delimiter) ? 1 : 0;
    for (int i = 1; i < k; ++i) {
        const qsizetype next = line.indexOf(delimiter, start);
        if (next < 0)
            return {};
        start = next + 1;
    }
    const qsizetype end = line.indexOf(delimiter, start);
    return end < 0 ? line.mid(start) : line.mid(start, end - start);
}

QHash<QString, int> TLangDictionary::buildIndex(const QStringList& table, QChar delimiter)
{
    // First entry of a key wins, so walk backwards and let earlier ones overwrite.
    QHash<QString, int> index;
    for (int i = static_cast<int>(table.size()) - 1; i >= 0; --i)
        index.insert(field(table[i], 1, delimiter).toUpper(), i);
    return index;
}

QString TLangDictionary::entryKey(const QString& entry) const { return field(entry, 1, LangDelim); }

QString TLangDictionary::entryText(const QString& entry) const
{
    QString text = field(entry, m_activeLanguage + 1, LangDelim);
    if (text.isEmpty() && translateType == TranslateType::ttGetDefault)
        text = field(entry, 2, LangDelim);
    return text;
}

QString TLangDictionary::lookup(const QStringList& table, const QHash<QString, int>& index, const QString& key,
                                bool* found) const
{
    const auto it = index.constFind(key.toUpper());
    *found = it != index.cend();
    return *found ? entryText(table[*it]) : QString();
}

QString TLangDictionary::GetText(const QString& key) const
{
    bool found = false;
    const QString text = lookup(m_tables.Strings, m_stringIndex, key, &found);
    if (!found && DoRaiseExceptions)
        throw LanguageError(QStringLiteral("String identifier \"%1\" not found!").arg(key));
    return text;
}

QString TLangDictionary::dialogCaption(const QString& key) const
{
    bool found = false;
    return lookup(m_tables.DlgsCaptions, m_dialogIndex, key, &found);
}

void TLangDictionary::SetActLang(int language)
{
    if (language == m_activeLanguage)
        return;
    if (language < 1 || language > NumOfLanguages)
        throw LanguageError(QStringLiteral("%1 - is not a valid property value!\rValue must be within [1..%2]!")
                                .arg(language)
                                .arg(NumOfLanguages));
    {
        struct BusyCursor {
            BusyCursor() { if (busyCursorHook) busyCursorHook(true); }
            ~BusyCursor() { if (busyCursorHook) busyCursorHook(false); }
        } busy;
        m_activeLanguage = language;
        if (LangNames.size() >= language)
            m_language = LangNames[language - 1];
        if (applier)
            applier(*this);
    }
    if (OnChangeLanguage)
        OnChangeLanguage(*this);
}
