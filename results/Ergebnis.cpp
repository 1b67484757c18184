#include "results/Ergebnis.h"

#include "lesson/TDaten.h"

#include <algorithm>

namespace {
TErgebnis::Clock& resultClock()
{
    static TErgebnis::Clock c;
    return c;
}

// The mode text ends the line; a separator or a line break in it would
// shift the fields or break the file's lines.
QString lineSafe(QString text)
{
    for (QChar& c : text)
        if (c == u';' || c == u'=' || c == u'\r' || c == u'\n')
            c = u' ';
    return text;
}
} // namespace

void TErgebnis::SetClock(Clock c) { resultClock() = std::move(c); }

QDateTime TErgebnis::Now() { return resultClock() ? resultClock()() : QDateTime::currentDateTime(); }

TErgebnis::TErgebnis() : Started(Now()) {}

void TErgebnis::Reset()
{
    Total = 0;
    Correct = 0;
}

void TErgebnis::RecountFrom(const TDaten& lesson)
{
    Reset();
    for (const auto& category : lesson.Categories)
        for (const auto& item : category->Items) {
            const ItemState state = item->State();
            if (state == ItemState::Deactivated || state == ItemState::ShowOnly)
                continue;
            Total += item->AskCount > 0 ? item->AskCount : 1;
            if (state == ItemState::Right)
                ++Correct;
        }
}

void TErgebnis::Refresh(const TDaten& lesson)
{
    if (Recount)
        RecountFrom(lesson);
}

void TErgebnis::StartMemory(int pairs)
{
    Total = pairs;
    Correct = 0;
}

void TErgebnis::PairFound() { ++Correct; }

void TErgebnis::WrongAttempt() { ++Total; }

void TErgebnis::Start()
{
    Started = Now();
    Finished = QDateTime();
}

void TErgebnis::Finish() { Finished = Now(); }

void TErgebnis::TakeMainRun(const TErgebnis& mainRun)
{
    Total = mainRun.Total;
    Correct = mainRun.Correct;
    Started = mainRun.Started;
}

int TErgebnis::SuccessRate() const
{
    if (Total == 0)
        return 0;
    return static_cast<int>(100LL * Correct / Total);
}

int TErgebnis::WrongCount() const { return Total - Correct; }

int TErgebnis::DurationSeconds() const
{
    const QDateTime end = Finished.isValid() ? Finished : Now();
    // A clock set back during the run must not give a negative time.
    return static_cast<int>(std::max<qint64>(0, Started.secsTo(end)));
}

QString TErgebnis::DateText() const { return Started.toString(QStringLiteral("dd.MM.yyyy hh:mm")); }

int TErgebnis::Grade(const std::array<int, 6>& thresholds) const { return GradeOf(SuccessRate(), thresholds); }

QString TErgebnis::ResultLine() const
{
    const QChar sep = u';';
    return DateText() + sep + QString::number(Correct) + sep + QString::number(WrongCount()) + sep
         + QString::number(SuccessRate()) + QStringLiteral(" %") + sep + QString::number(DurationSeconds()) + sep
         + lineSafe(ModeText);
}

int GradeOf(int successRate, const std::array<int, 6>& thresholds)
{
    for (int grade = 1; grade <= 5; ++grade)
        if (successRate >= thresholds[grade])
            return grade;
    return 6;
}
