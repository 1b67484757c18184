#pragma once

#include "results/Ergebnis.h"

#include <QDateTime>

// Puts every result record on a clock the test sets; restores the system
// clock when it goes.
class FakeClock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2001, 2, 2), QTime(14, 35, 0))) : now(std::move(start))
    {
        TErgebnis::SetClock([this] { return now; });
    }
    ~FakeClock() { TErgebnis::SetClock({}); }
    void advance(int seconds) { now = now.addSecs(seconds); }

    QDateTime now;
};

// A run that started on the clock's time and lasted `seconds`.
inline TErgebnis MakeRun(FakeClock& clock, int correct, int total, int seconds,
                         const QString& mode = QStringLiteral("Kurzkontrolle"))
{
    TErgebnis result;
    result.Start();
    result.Total = total;
    result.Correct = correct;
    result.ModeText = mode;
    clock.advance(seconds);
    return result;
}
