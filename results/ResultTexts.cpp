#include "results/ResultTexts.h"

#include "i18n/LangDictionary.h"
#include "lesson/Geoobj.h"
#include "results/Ergebnis.h"

namespace {
QString number(int value) { return QString::number(value); }

QString singularOrPlural(const TLangDictionary& d, int count, const char* stem)
{
    const QString suffix = count == 1 ? QStringLiteral("_sing") : QStringLiteral("_plural");
    return d.GetText(QString::fromLatin1(stem) + suffix);
}
} // namespace

TResultTexts BuildResultTexts(const TErgebnis& result, const QString& userName, const TLangDictionary& d,
                              const std::array<int, 6>& thresholds)
{
    const int c = result.Correct;
    const int t = result.Total;
    const int w = result.WrongCount();
    const int p = result.SuccessRate();
    const int seconds = result.DurationSeconds();
    const QChar blank = u' ';

    TResultTexts texts;
    texts.person = userName;
    texts.richtig = number(c) + blank + singularOrPlural(d, c, "rantworten") + blank + number(t) + blank
                  + singularOrPlural(d, t, "frage");
    texts.falsch = number(w) + blank + singularOrPlural(d, w, "fantworten");
    texts.prozent = d.GetText(QStringLiteral("gewusst_anfang")) + blank + number(p) + QStringLiteral(" % ")
                  + d.GetText(QStringLiteral("gewusst_ende"));
    texts.zeit = result.DateText() + QStringLiteral(" Uhr");

    const int minutes = seconds / 60;
    texts.dauer = minutes != 0 ? FormatText(d.GetText(QStringLiteral("format_gelernt")),
                                            {number(minutes), singularOrPlural(d, minutes, "minuten")})
                               : d.GetText(QStringLiteral("lessthan1minute"));

    const int perAnswer = c >= 1 ? seconds / c : 0;
    texts.dauerfrage = FormatText(d.GetText(QStringLiteral("format_entspricht")),
                                  {number(perAnswer), singularOrPlural(d, perAnswer, "sekunden")});

    const int grade = result.Grade(thresholds);
    texts.note = FormatText(d.GetText(QStringLiteral("mark")),
                            {d.GetText(QStringLiteral("n") + number(grade)), d.GetText(number(grade))});
    return texts;
}
