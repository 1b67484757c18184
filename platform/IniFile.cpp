#include "platform/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/OrbiloError.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

QString fold(const QString& text) { return text.trimmed().toCaseFolded(); }

// "[name]" -> name; the name runs to the last "]" so names may contain "]".
bool sectionHeader(const QString& trimmed, QString& name)
{
    if (!trimmed.startsWith(u'['))
        return false;
    const qsizetype close = trimmed.lastIndexOf(u']');
    name = (close > 0 ? trimmed.mid(1, close - 1) : trimmed.mid(1)).trimmed();
    return true;
}

bool keyLine(const QString& trimmed, QString& key, QString& value)
{
    if (trimmed.isEmpty() || trimmed.startsWith(u';'))
        return false;
    const qsizetype eq = trimmed.indexOf(u'=');
    if (eq <= 0)
        return false;
    key = trimmed.left(eq).trimmed();
    value = trimmed.mid(eq + 1);
    return !key.isEmpty();
}

// Cuts a name list where the platform's fixed list buffer would end:
// every name takes its length plus one terminator.
QStringList limitList(const QStringList& names)
{
    QStringList result;
    qsizetype used = 1;
    for (const QString& name : names) {
        used += name.toUtf8().size() + 1;
        if (used > IniFile::kMaxListBytes)
            break;
        result << name;
    }
    return result;
}

} // namespace

IniFile::IniFile(QString path, qint64 maxBytes) : m_path(std::move(path)), m_maxBytes(maxBytes)
{
    refresh();
}

std::unique_ptr<IniFile> IniFile::OpenLimited(const QString& path, qint64 maxBytes)
{
    return std::make_unique<IniFile>(path, maxBytes);
}

IniFile::FileStamp IniFile::stampNow() const
{
    FileStamp stamp;
    struct stat info {};
    if (m_path.isEmpty())
        return stamp;
    if (::stat(QFile::encodeName(m_path).constData(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return stamp;
        throw FileReadError(m_path);
    }
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedSec = info.st_mtim.tv_sec;
    stamp.modifiedNsec = info.st_mtim.tv_nsec;
    stamp.changedSec = info.st_ctim.tv_sec;
    stamp.changedNsec = info.st_ctim.tv_nsec;
    return stamp;
}

void IniFile::refresh() const
{
    const FileStamp stamp = stampNow();
    if (m_loaded && stamp == m_stamp)
        return;
    load(stamp);
}

void IniFile::load(const FileStamp& stamp) const
{
    if (m_maxBytes >= 0 && stamp.size > m_maxBytes)
        throw OrbiloError(QStringLiteral("The file %1 is too large (%2 MB) to be read.")
                              .arg(m_path)
                              .arg(stamp.size / (1024 * 1024)));
    const QString text = stamp.exists ? TextCodec::decode(readWholeFile(m_path)) : QString();
    // The file's own line break is kept for the lines written into it.
    if (text.contains(QStringLiteral("\r\n")))
        m_lineBreak = QStringLiteral("\r\n");
    else if (text.contains(u'\r') && !text.contains(u'\n'))
        m_lineBreak = QStringLiteral("\r");
    else
        m_lineBreak = QStringLiteral("\n");
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(u'\r', u'\n');
    m_lines = unified.split(u'\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    parse();
    m_stamp = stamp;
    m_loaded = true;
}

void IniFile::parse() const
{
    m_sections.clear();
    m_sectionIndex.clear();
    Section* current = nullptr;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString trimmed = m_lines[i].trimmed();
        QString name, key, value;
        if (sectionHeader(trimmed, name)) {
            m_sections.push_back(Section{name, i, i, {}, {}});
            current = &m_sections.back();
            continue;
        }
        if (!current)
            continue;
        if (!trimmed.isEmpty())
            current->lastLine = i;
        if (keyLine(trimmed, key, value)) {
            const QString folded = fold(key);
            if (!current->firstEntryOfKey.contains(folded))
                current->firstEntryOfKey.insert(folded, static_cast<int>(current->entries.size()));
            current->entries.push_back(Entry{key, i});
        }
    }
    // A section that occurs twice: the first one counts, as with the
    // platform's profile functions.
    for (int s = static_cast<int>(m_sections.size()) - 1; s >= 0; --s)
        m_sectionIndex.insert(fold(m_sections[s].name), s);
}

const IniFile::Section* IniFile::findSection(const QString& name) const
{
    refresh();
    const auto it = m_sectionIndex.constFind(fold(name));
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[*it];
}

QString IniFile::cleanValue(const QString& raw)
{
    QString value = raw.trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    if (value.size() > kMaxValueLength)
        value.truncate(kMaxValueLength);
    return value;
}

QString IniFile::rawValue(const Section& section, const QString& key, bool* found) const
{
    const auto it = section.firstEntryOfKey.constFind(fold(key));
    if (it == section.firstEntryOfKey.cend()) {
        *found = false;
        return {};
    }
    *found = true;
    const QString& line = m_lines[section.entries[*it].line];
    return line.mid(line.indexOf(u'=') + 1);
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Section* s = findSection(section);
    if (!s)
        return defaultValue;
    bool found = false;
    const QString raw = rawValue(*s, key, &found);
    return found ? cleanValue(raw) : defaultValue;
}

bool IniFile::parseInteger(const QString& text, int& result)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.front() == u'-';
        t.remove(0, 1);
    }
    int base = 10;
    if (t.startsWith(u'$')) {
        base = 16;
        t.remove(0, 1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t.remove(0, 2);
    }
    if (t.isEmpty())
        return false;
    bool ok = false;
    const qlonglong magnitude = t.toLongLong(&ok, base);
    if (!ok || t.front() == u'-' || t.front() == u'+')
        return false;
    const qlonglong value = negative ? -magnitude : magnitude;
    // Hexadecimal values may spell a full 32-bit pattern, as colours do.
    if (base == 16 && !negative && value <= 0xFFFFFFFFLL) {
        result = static_cast<int>(static_cast<quint32>(value));
        return true;
    }
    if (value < INT_MIN || value > INT_MAX)
        return false;
    result = static_cast<int>(value);
    return true;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    int value = 0;
    return parseInteger(ReadString(section, key), value) ? value : defaultValue;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::SectionExists(const QString& section) const { return findSection(section) != nullptr; }

bool IniFile::ValueExists(const QString& section, const QString& key) const
{
    const Section* s = findSection(section);
    bool found = false;
    if (s)
        rawValue(*s, key, &found);
    return found;
}

QStringList IniFile::ReadSection(const QString& section) const
{
    QStringList keys;
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            keys << e.key;
    return limitList(keys);
}

QStringList IniFile::ReadSections() const
{
    refresh();
    QStringList names;
    for (const Section& s : m_sections)
        names << s.name;
    return limitList(names);
}

std::vector<std::pair<QString, QString>> IniFile::ReadSectionEntries(const QString& section) const
{
    std::vector<std::pair<QString, QString>> result;
    if (const Section* s = findSection(section)) {
        result.reserve(s->entries.size());
        for (const Entry& e : s->entries) {
            const QString& line = m_lines[e.line];
            result.emplace_back(e.key, cleanValue(line.mid(line.indexOf(u'=') + 1)));
        }
    }
    return result;
}

void IniFile::save(const QStringList& lines)
{
    QString text = lines.join(m_lineBreak);
    if (!lines.isEmpty())
        text += m_lineBreak;
    writeFileAtomically(m_path, TextCodec::encode(text));
    m_lines = lines;
    parse();
    m_stamp = stampNow();
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    refresh();
    QStringList lines = m_lines;
    const QString newLine = key.trimmed() + u'=' + value;
    if (const Section* s = findSection(section)) {
        const auto it = s->firstEntryOfKey.constFind(fold(key));
        if (it != s->firstEntryOfKey.cend()) {
            const int line = s->entries[*it].line;
            // Keep the key as it is spelled in the file.
            const QString& old = lines[line];
            lines[line] = old.left(old.indexOf(u'=')).trimmed() + u'=' + value;
        } else {
            lines.insert(s->lastLine + 1, newLine);
        }
    } else {
        lines << u'[' + section + u']' << newLine;
    }
    save(lines);
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::Exists() const
{
    refresh();
    return m_stamp.exists;
}

QStringList IniFile::withoutSection(const QString& section, int* firstHeader) const
{
    QStringList lines = m_lines;
    *firstHeader = -1;
    // Every copy of the section goes, from the last one backwards.
    for (int s = static_cast<int>(m_sections.size()) - 1; s >= 0; --s) {
        if (fold(m_sections[s].name) != fold(section))
            continue;
        const int end = s + 1 < static_cast<int>(m_sections.size()) ? m_sections[s + 1].headerLine
                                                                    : static_cast<int>(lines.size());
        lines.erase(lines.begin() + m_sections[s].headerLine, lines.begin() + end);
        *firstHeader = m_sections[s].headerLine;
    }
    return lines;
}

void IniFile::EraseSection(const QString& section)
{
    refresh();
    int firstHeader = -1;
    const QStringList lines = withoutSection(section, &firstHeader);
    if (firstHeader >= 0)
        save(lines);
}

void IniFile::ReplaceSection(const QString& section, const std::vector<std::pair<QString, QString>>& entries)
{
    refresh();
    int at = -1;
    QStringList lines = withoutSection(section, &at);
    if (at < 0)
        at = static_cast<int>(lines.size());
    QStringList block{u'[' + section + u']'};
    for (const auto& [key, value] : entries)
        block << key.trimmed() + u'=' + value;
    for (int i = 0; i < block.size(); ++i)
        lines.insert(at + i, block[i]);
    save(lines);
}

void IniFile::DeleteKey(const QString& section, const QString& key)
{
    refresh();
    const Section* s = findSection(section);
    if (!s)
        return;
    const auto it = s->firstEntryOfKey.constFind(fold(key));
    if (it == s->firstEntryOfKey.cend())
        return;
    QStringList lines = m_lines;
    lines.removeAt(s->entries[*it].line);
    save(lines);
}
