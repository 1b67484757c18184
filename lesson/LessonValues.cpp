#include "lesson/LessonValues.h"

#include "lesson/ColorText.h"
#include "lesson/ConversionError.h"
#include "platform/IniFile.h"

#include <QSet>
#include <cmath>
#include <limits>

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// sign? digits+
qsizetype scanInteger(const QString& t, qsizetype i)
{
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    const qsizetype digits = i;
    while (i < t.size() && isDigit(t[i]))
        ++i;
    return i > digits ? i : -1;
}

} // namespace

bool ParseCommaFloat(const QString& text, double& value)
{
    const QString t = text.trimmed();
    // sign? digits* (',' digits*)? (e sign? digits+)?, at least one mantissa digit
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    qsizetype mantissaDigits = 0;
    while (i < t.size() && isDigit(t[i]))
        ++i, ++mantissaDigits;
    if (i < t.size() && t[i] == u',') {
        ++i;
        while (i < t.size() && isDigit(t[i]))
            ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return false;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        i = scanInteger(t, i + 1);
        if (i < 0)
            return false;
    }
    if (i != t.size())
        return false;
    QString c = t;
    c.replace(u',', u'.');
    bool ok = false;
    const double v = c.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ParseDecimal(const QString& text, int& value)
{
    const QString t = text.trimmed();
    if (scanInteger(t, 0) != t.size())
        return false;
    bool ok = false;
    const int v = t.toInt(&ok, 10);
    if (!ok)
        return false;
    value = v;
    return true;
}

double ReadFloat(const IniFile& file, const QString& section, const QString& key, double defaultValue)
{
    double value = 0;
    return ParseCommaFloat(file.ReadString(section, key), value) ? value : defaultValue;
}

std::optional<TColor> ReadColor(const IniFile& file, const QString& section, const QString& key)
{
    const QString text = file.ReadString(section, key);
    if (text.isEmpty())
        return std::nullopt;
    return ParseColorText(text, {file.fileName(), section, key});
}

int ReadItemCount(const IniFile& file, const QString& section, const QString& key)
{
    const QString text = file.ReadString(section, key);
    int count = 0;
    if (!ParseDecimal(text, count) || count < 0 || count > kMaxItemsPerCategory)
        throw ConversionError({file.fileName(), section, key}, text);
    return count;
}

std::vector<std::pair<QString, QString>> ReadSectionPairs(const IniFile& file, const QString& section)
{
    std::vector<std::pair<QString, QString>> pairs;
    QSet<QString> seen;
    for (auto& [key, value] : file.ReadSectionEntries(section)) {
        const QString folded = key.toCaseFolded();
        if (seen.contains(folded))
            continue;
        seen.insert(folded);
        if (!value.isEmpty())
            pairs.emplace_back(std::move(key), std::move(value));
    }
    return pairs;
}
