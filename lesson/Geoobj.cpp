#include "lesson/Geoobj.h"

const QString AnswerSeparators = QStringLiteral(" -_\"',.;");

QString ExtractField(const QString& text, QChar delimiter, int k)
{
    qsizetype start = 0;
    for (int i = 1; i < k; ++i) {
        const qsizetype next = text.indexOf(delimiter, start);
        if (next < 0)
            break; // fewer delimiters: the last field
        start = next + 1;
    }
    const qsizetype end = text.indexOf(delimiter, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

int FieldCount(const QString& text, QChar delimiter) { return static_cast<int>(text.count(delimiter)) + 1; }

QStringList SplitFields(const QString& text, QChar delimiter)
{
    QStringList fields;
    const int n = FieldCount(text, delimiter);
    fields.reserve(n);
    for (int k = 1; k <= n; ++k)
        fields << ExtractField(text, delimiter, k);
    return fields;
}

QStringList SplitNames(const QString& text)
{
    QStringList names;
    if (text.isEmpty())
        return names;
    for (const QString& name : SplitFields(text, u'|'))
        if (!name.isEmpty())
            names << name;
    return names;
}

QString FormatText(const QString& format, const QStringList& args)
{
    QString out;
    out.reserve(format.size() + 32);
    int next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'%' && i + 1 < format.size()) {
            const QChar conversion = format[i + 1];
            if (conversion == u's' || conversion == u'd') {
                out += args.value(next++);
                ++i;
                continue;
            }
            if (conversion == u'%') {
                out += u'%';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString NormaliseAnswer(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (AnswerSeparators.contains(c))
            continue;
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
        out += c;
    }
    return out;
}

namespace {

// Replaces a pattern until none is left, so that an occurrence formed by a
// replacement is replaced too. The rules have no self-overlap, so rewriting
// while copying (reducing at the end of what is written) reaches the same
// text as searching again from the start after every replacement. No
// replacement is longer than its pattern, so the text is rewritten in place.
void replaceAll(QString& text, QStringView pattern, QStringView replacement)
{
    if (!text.contains(pattern))
        return;
    QChar* d = text.data();
    const qsizetype n = text.size();
    const qsizetype p = pattern.size();
    qsizetype w = 0;
    for (qsizetype r = 0; r < n; ++r) {
        d[w++] = d[r];
        while (w >= p && QStringView(d + w - p, p) == pattern) {
            w -= p;
            for (QChar c : replacement)
                d[w++] = c;
        }
    }
    text.truncate(w);
}

void replaceChars(QString& text, QStringView set, QChar by)
{
    // A plain loop: a library search per character costs more than the rest
    // of the key together.
    QChar* d = text.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        for (QChar s : set)
            if (d[i] == s) {
                d[i] = by;
                break;
            }
}

void collapseRuns(QString& text)
{
    QChar* d = text.data();
    qsizetype w = 0;
    for (qsizetype r = 0; r < text.size(); ++r)
        if (w == 0 || d[w - 1] != d[r])
            d[w++] = d[r];
    text.truncate(w);
}

} // namespace

QString PhoneticKey(const QString& text)
{
    QString key = text;
    replaceAll(key, u"sch", u"s");
    replaceAll(key, u"ch", u"k");
    replaceAll(key, u"h", u"");
    replaceChars(key, u"yj", u'i');
    replaceAll(key, u"b", u"p");
    replaceChars(key, u"gxcz", u'k');
    replaceChars(key, u"vw", u'f');
    replaceAll(key, u"t", u"d");
    replaceAll(key, u"n", u"m");
    replaceAll(key, u"ß", u"s");
    replaceChars(key, u"eäÄáé", u'a');
    replaceChars(key, u"öÖó", u'o');
    replaceChars(key, u"üÜú", u'u');
    collapseRuns(key);
    return key;
}

AnswerResult CompareAnswer(const QString& answer, const QString& storedName, bool tolerant)
{
    const QString a = NormaliseAnswer(answer);
    const QString b = NormaliseAnswer(storedName);
    if (a == b)
        return AnswerResult::Exact;
    if (tolerant && PhoneticKey(a) == PhoneticKey(b))
        return AnswerResult::Almost;
    return AnswerResult::Wrong;
}
