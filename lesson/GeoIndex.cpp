#include "lesson/GeoIndex.h"

#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/TextCodec.h"

namespace {
bool looksLikeHeader(QStringView trimmed) { return trimmed.startsWith(u'[') && trimmed.endsWith(u']'); }
} // namespace

TGeoIndex::TGeoIndex(const QString& path) : m_fileName(path)
{
    m_text = TextCodec::decode(readWholeFile(path));
    parse();
}

TGeoIndex TGeoIndex::fromText(const QString& text, const QString& fileName)
{
    TGeoIndex index;
    index.m_fileName = fileName;
    index.m_text = text;
    index.parse();
    return index;
}

bool TGeoIndex::splitKeyLine(QStringView line, QStringView& key, QStringView& value)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return false;
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1).trimmed();
    return !key.isEmpty();
}

void TGeoIndex::parse()
{
    // Parsing keeps views into the text, so the text must own its buffer.
    m_text.detach();
    const QStringView text(m_text);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        qsizetype length = end - start;
        if (length > 0 && text[start + length - 1] == u'\r')
            --length;
        m_lines.push_back({start, length});
        start = end + 1;
    }

    const int lineCount = static_cast<int>(m_lines.size());
    for (int i = 0; i < lineCount; ++i)
        if (looksLikeHeader(line(i).trimmed()))
            m_headerLines.push_back(i);

    for (std::size_t h = 0; h < m_headerLines.size(); ++h) {
        const int headerLine = m_headerLines[h];
        const QStringView header = line(headerLine);
        // Only a whole line without blanks around names a section that can
        // be asked for; the first section of a name wins.
        if (header.size() != header.trimmed().size())
            continue;
        const QString folded = header.mid(1, header.size() - 2).toString().toCaseFolded();
        if (m_sectionIndex.contains(folded))
            continue;
        Section section;
        section.firstLine = headerLine + 1;
        section.endLine = h + 1 < m_headerLines.size() ? m_headerLines[h + 1] : lineCount;
        section.keys.reserve(section.endLine - section.firstLine);
        for (int i = section.firstLine; i < section.endLine; ++i) {
            QStringView key, value;
            if (splitKeyLine(line(i), key, value) && !section.keys.contains(key))
                section.keys.insert(key, i);
        }
        m_sectionIndex.insert(folded, static_cast<int>(m_sections.size()));
        m_sections.push_back(std::move(section));
    }
}

const TGeoIndex::Section* TGeoIndex::findSection(const QString& name) const
{
    const auto it = m_sectionIndex.constFind(name.toCaseFolded());
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[*it];
}

QString TGeoIndex::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Section* s = findSection(section);
    if (!s)
        return defaultValue;
    const auto it = s->keys.constFind(QStringView(key));
    if (it == s->keys.cend())
        return defaultValue;
    QStringView k, value;
    splitKeyLine(line(*it), k, value);
    return value.isEmpty() ? defaultValue : value.toString();
}

int TGeoIndex::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    int value = 0;
    return IniFile::parseInteger(ReadString(section, key), value) ? value : defaultValue;
}

bool TGeoIndex::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TGeoIndex::SectionExists(const QString& section) const { return findSection(section) != nullptr; }

QStringList TGeoIndex::ReadSectionValues(const QString& section) const
{
    QStringList values;
    const Section* s = findSection(section);
    if (!s)
        return values;
    for (int i = s->firstLine; i < s->endLine; ++i) {
        QStringView key, value;
        if (splitKeyLine(line(i), key, value))
            values << key.toString() + u'=' + value.toString();
    }
    return values;
}

QStringList TGeoIndex::ReadSections() const
{
    QStringList names;
    for (int i : m_headerLines) {
        const QStringView trimmed = line(i).trimmed();
        names << trimmed.mid(1, trimmed.size() - 2).trimmed().toString();
    }
    return names;
}
