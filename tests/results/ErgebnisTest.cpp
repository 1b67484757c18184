#include "ResultsSupport.h"

#include "lesson/TDaten.h"
#include "results/Ergebnis.h"

#include <gtest/gtest.h>

namespace {

const std::array<int, 6> kDefaultLimits{0, 90, 75, 65, 50, 25};

TEST(Grade, DefaultLimitsAtTheirEdges)
{
    const struct {
        int rate;
        int grade;
    } cases[] = {{100, 1}, {90, 1}, {89, 2}, {75, 2}, {74, 3}, {65, 3}, {64, 4},
                 {50, 4},  {49, 5}, {25, 5}, {24, 6}, {0, 6}};
    for (const auto& c : cases)
        EXPECT_EQ(GradeOf(c.rate, kDefaultLimits), c.grade) << c.rate << " %";
}

TEST(Grade, LimitsFromTheSettingsAreUsedInOrder)
{
    // The first limit reached wins, even when the file lists them unsorted.
    const std::array<int, 6> strict{0, 100, 95, 90, 80, 70};
    EXPECT_EQ(GradeOf(99, strict), 2);
    EXPECT_EQ(GradeOf(69, strict), 6);
    const std::array<int, 6> unsorted{0, 50, 90, 65, 75, 25};
    EXPECT_EQ(GradeOf(80, unsorted), 1);
    EXPECT_EQ(GradeOf(30, unsorted), 5);
}

TEST(Ergebnis, SuccessRateTruncatesAndIsZeroWithoutQuestions)
{
    const struct {
        int correct, total, rate;
    } cases[] = {{0, 0, 0}, {12, 15, 80}, {2, 3, 66}, {1, 3, 33}, {15, 15, 100}, {0, 7, 0}};
    for (const auto& c : cases) {
        TErgebnis result;
        result.Correct = c.correct;
        result.Total = c.total;
        EXPECT_EQ(result.SuccessRate(), c.rate) << c.correct << "/" << c.total;
        EXPECT_EQ(result.WrongCount(), c.total - c.correct);
    }
    TErgebnis empty;
    EXPECT_EQ(empty.Grade(kDefaultLimits), 6);
}

TEST(Ergebnis, ResultLineOfAShortTest)
{
    FakeClock clock;
    const TErgebnis result = MakeRun(clock, 12, 15, 95);
    EXPECT_EQ(result.DateText(), "02.02.2001 14:35");
    EXPECT_EQ(result.ResultLine(), "02.02.2001 14:35;12;3;80 %;95;Kurzkontrolle");
}

TEST(Ergebnis, DurationCountsWholeSecondsUntilTheRunIsFinished)
{
    FakeClock clock;
    TErgebnis result;
    result.Start();
    clock.now = clock.now.addMSecs(59'999);
    EXPECT_EQ(result.DurationSeconds(), 59);
    clock.advance(1);
    result.Finish();
    clock.advance(600); // the result window stays open for a while
    EXPECT_EQ(result.DurationSeconds(), 60);
    result.Start();
    EXPECT_EQ(result.DurationSeconds(), 0);
    clock.advance(-30); // the system clock set back
    EXPECT_EQ(result.DurationSeconds(), 0);
}

TEST(Ergebnis, ModeTextCannotBreakTheLine)
{
    FakeClock clock;
    const TErgebnis result = MakeRun(clock, 1, 1, 5, QStringLiteral("a;b=c\nd"));
    EXPECT_EQ(result.ResultLine(), "02.02.2001 14:35;1;0;100 %;5;a b c d");
}

class Recount : public ::testing::Test {
protected:
    TDaten lesson;
    TGeoItem& add(TKategorie& category, ItemState state, int askCount = 0)
    {
        TGeoItem& item = category.AddItem();
        item.SetState(state);
        item.AskCount = askCount;
        return item;
    }
};

TEST_F(Recount, EveryTakingPartItemCountsItsQuestions)
{
    TKategorie& countries = lesson.AddCategory();
    add(countries, ItemState::Right);         // short test: once, right
    add(countries, ItemState::Right, 3);      // wrong twice, then right
    add(countries, ItemState::Wrong, 2);      // asked twice, never right
    add(countries, ItemState::Open);          // not asked yet: once
    add(countries, ItemState::Revealed);      // counts, not correct
    add(countries, ItemState::Deactivated, 4);
    add(countries, ItemState::ShowOnly, 5);
    TKategorie& capitals = lesson.AddCategory();
    add(capitals, ItemState::Dependent);
    add(capitals, ItemState::Right, 1);

    TErgebnis result;
    result.Total = 99;
    result.Correct = 42;
    result.RecountFrom(lesson);
    EXPECT_EQ(result.Total, 1 + 3 + 2 + 1 + 1 + 1 + 1);
    EXPECT_EQ(result.Correct, 3);
}

TEST_F(Recount, AnEmptyLessonCountsNothing)
{
    lesson.AddCategory();
    TErgebnis result;
    result.Total = 5;
    result.RecountFrom(lesson);
    EXPECT_EQ(result.Total, 0);
    EXPECT_EQ(result.SuccessRate(), 0);
}

TEST_F(Recount, TheMemoryGameCountsItselfAndIsNotRecounted)
{
    TKategorie& countries = lesson.AddCategory();
    for (int i = 0; i < 12; ++i)
        add(countries, ItemState::Open);
    TErgebnis result;
    result.Recount = false;
    result.StartMemory(12);
    for (int i = 0; i < 3; ++i)
        result.WrongAttempt();
    for (int i = 0; i < 12; ++i)
        result.PairFound();
    result.Refresh(lesson);
    EXPECT_EQ(result.Total, 15);
    EXPECT_EQ(result.Correct, 12);
    EXPECT_EQ(result.SuccessRate(), 80);

    result.Recount = true;
    result.Refresh(lesson);
    EXPECT_EQ(result.Total, 12);
    EXPECT_EQ(result.Correct, 0);
}

TEST(Ergebnis, TheMainRunReplacesTheIntensiveTraining)
{
    FakeClock clock;
    TErgebnis mainRun = MakeRun(clock, 7, 10, 120);
    TErgebnis live = mainRun;
    live.Start();
    live.Total = 4;
    live.Correct = 4;
    live.ModeText = QStringLiteral("Abfrage");
    clock.advance(30);
    live.TakeMainRun(mainRun);
    EXPECT_EQ(live.Total, 10);
    EXPECT_EQ(live.Correct, 7);
    EXPECT_EQ(live.Started, mainRun.Started);
    EXPECT_EQ(live.DurationSeconds(), 150); // the training's time is part of the run
    EXPECT_EQ(live.ModeText, "Abfrage");
}

} // namespace
