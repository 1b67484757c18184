#include "results/ResultFile.h"

#include "lesson/Geoobj.h"
#include "platform/IniFile.h"
#include "platform/Optionen.h"
#include "platform/OrbiloError.h"
#include "results/Ergebnis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool toNumber(const QString& text, int& value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

bool isLineBreakOrControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || u == 0x7F || u == 0x85 || u == 0x2028 || u == 0x2029;
}

bool needsEncoding(const QString& name)
{
    if (name.isEmpty())
        return false;
    // The INI reader trims section names.
    if (name.front().isSpace() || name.back().isSpace())
        return true;
    return std::any_of(name.cbegin(), name.cend(), isLineBreakOrControl);
}

void appendEncoded(QString& out, QChar c)
{
    for (const char byte : QString(c).toUtf8())
        out += u'%' + QStringLiteral("%1").arg(static_cast<unsigned char>(byte), 2, 16, QChar(u'0')).toUpper();
}

} // namespace

bool ParseResultLine(const QString& line, TResultRow& row)
{
    const QStringList fields = SplitFields(line, u';');
    if (fields.size() < 6)
        return false;
    QString percent = fields[3].trimmed();
    if (!percent.endsWith(u'%'))
        return false;
    percent.chop(1);
    TResultRow parsed;
    if (!toNumber(fields[1], parsed.Correct) || !toNumber(fields[2], parsed.Wrong)
        || !toNumber(percent, parsed.Percent) || !toNumber(fields[4], parsed.Seconds))
        return false;
    parsed.Date = fields[0];
    parsed.Mode = fields[5];
    row = std::move(parsed);
    return true;
}

QString ResultSectionName(const QString& lessonFileName)
{
    const QString name = QFileInfo(lessonFileName).fileName();
    if (!needsEncoding(name))
        return name;
    QString encoded(u'/');
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        // Keep surrogate pairs together so that they encode as one character.
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            encoded += name.mid(i, 2);
            ++i;
            continue;
        }
        const bool atEnd = i == 0 || i == name.size() - 1;
        if (c == u'%' || isLineBreakOrControl(c) || (c.isSpace() && atEnd))
            appendEncoded(encoded, c);
        else
            encoded += c;
    }
    return encoded;
}

TResultFile::TResultFile(QString path) : m_path(std::move(path)) {}

TResultFile::TResultFile(const TOptionen& options) : m_path(options.ResultFilePath()) {}

QStringList TResultFile::ReadLines(const QString& lessonFileName) const
{
    const IniFile file(m_path);
    QStringList lines;
    TResultRow row;
    for (const auto& [key, value] : file.ReadSectionEntries(ResultSectionName(lessonFileName))) {
        // Lines never contain "="; anything after a second one is not part of it.
        const QString line = value.section(u'=', 0, 0);
        if (ParseResultLine(line, row))
            lines << line;
    }
    return lines;
}

void TResultFile::AppendLine(const QString& lessonFileName, const QString& line)
{
    // A file that is there but cannot be read is never replaced by one that
    // holds only the new line: the run is reported as not stored.
    std::unique_ptr<IniFile> file;
    try {
        file = std::make_unique<IniFile>(m_path);
    } catch (const FileReadError&) {
        throw FileWriteError(m_path);
    }
    const QString section = ResultSectionName(lessonFileName);
    // Key n + 1 after n entries; if that key is taken (a line removed by
    // hand), the next free one, so that no stored run is overwritten.
    int key = static_cast<int>(file->ReadSectionEntries(section).size()) + 1;
    while (file->ValueExists(section, QString::number(key)))
        ++key;
    file->WriteString(section, QString::number(key), line);
}

void TResultFile::Append(const QString& lessonFileName, const TErgebnis& result)
{
    AppendLine(lessonFileName, result.ResultLine());
}

void EraseLessonResults(const QString& resultFolder, const QString& lessonFileName)
{
    const QDir folder(resultFolder);
    const QString section = ResultSectionName(lessonFileName);
    for (const QString& name : folder.entryList({QStringLiteral("*.dat")}, QDir::Files)) {
        IniFile file(folder.filePath(name));
        if (file.SectionExists(section))
            file.EraseSection(section);
    }
}
