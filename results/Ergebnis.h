#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <functional>

class TDaten;

// The result record of one learning run: what was counted, when it started,
// in which mode. The learning view owns it and shows it live; at the end of
// a run it is graded and stored as one line of the user's result file.
class TErgebnis {
public:
    // The clock every record reads; tests replace it (an empty function
    // restores the system clock).
    using Clock = std::function<QDateTime()>;
    static void SetClock(Clock clock);
    static QDateTime Now();

    TErgebnis();

    int Total = 0;       // questions counted
    int Correct = 0;     // correct answers
    bool Recount = true; // false: the input counts itself (memory)
    QString ModeText;    // the input's mode name, stored with every line
    QDateTime Started;
    // Set when the run is closed, so that the duration shown in the result
    // window and the one stored in the file are the same; invalid while the
    // run goes on.
    QDateTime Finished;

    void Reset();
    // Total and Correct from the item states: every item that takes part
    // counts with its ask count (at least once), the right ones as correct.
    void RecountFrom(const TDaten& lesson);
    // The status refresh: recounts unless the input counts itself.
    void Refresh(const TDaten& lesson);

    // The memory game counts itself.
    void StartMemory(int pairs);
    void PairFound();
    void WrongAttempt();

    void Start();  // Started := now, the run is open again
    void Finish(); // freezes the duration
    // After an intensive training the main run's figures count.
    void TakeMainRun(const TErgebnis& mainRun);

    int SuccessRate() const; // whole percent, truncated; 0 without questions
    int WrongCount() const;
    int DurationSeconds() const;
    QString DateText() const; // "dd.mm.yyyy hh:nn"
    // Grade 1..6 against the limits 1..5 (index 0 unused).
    int Grade(const std::array<int, 6>& thresholds) const;
    // "02.02.2001 14:35;12;3;80 %;95;Kurzkontrolle"
    QString ResultLine() const;
};

// The first k in 1..5 whose limit the rate reaches, else 6.
int GradeOf(int successRate, const std::array<int, 6>& thresholds);
