#include "i18n/MainDictionary.h"
#include "learning/GeoInputAbfrage.h"
#include "lesson/LessonHooks.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "widgets/FlatButton.h"
#include "results/Ergebnis.h"
#include "support/TestResponder.h"

#include <QLabel>
#include <QSet>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class AbfrageTest : public ::testing::Test {
protected:
    TDaten lesson;
    QWidget window;
    TestResponder responder;
    std::unique_ptr<TErgebnis> result;
    int finished = 0;
    std::vector<TGeoItem*> selected;

    AbfrageTest()
    {
        lesson.LearnOptions = std::make_unique<TLernOptionen>();
        LessonHooks::SetSpellingTolerance(true);
        TGeoInputAbfrage::RandomSeed = [] { return 7u; };
        window.resize(500, 500);
    }
    ~AbfrageTest() override { TGeoInputAbfrage::RandomSeed = nullptr; }

    TKategorie& category(const char* kind, QStringList names)
    {
        TKategorie& c = lesson.AddCategory();
        c.SetKind(kind);
        for (const QString& n : names)
            c.AddItem().NamesGerman = n.split('|');
        return c;
    }
    template <typename Input>
    std::unique_ptr<Input> make()
    {
        auto input = std::make_unique<Input>(&window, lesson);
        input->resize(200, 500);
        input->OnFinished = [this] { ++finished; };
        input->OnItemSelected = [this](TGeoItem* item) { selected.push_back(item); };
        result = input->CreateResult();
        window.show();
        return input;
    }
    void type(TGeoInputAbfrageEdit& input, const QString& text)
    {
        input.AnswerField()->setText(text);
        QTest::keyClick(input.AnswerField(), Qt::Key_Return);
    }
};

TEST_F(AbfrageTest, AnswersAreJudgedWithToleranceAndWrongOnesComeBack)
{
    category("L", {"Marokko", "Kongo", "Bosnien-Herzegowina"});
    auto input = make<TGeoInputAbfrageEdit>();
    input->Start();
    TGeoItem* first = input->CurrentItem;
    ASSERT_NE(first, nullptr);
    type(*input, "völlig falsch");
    EXPECT_EQ(first->State(), ItemState::Wrong);
    EXPECT_EQ(first->AskCount, 1);
    EXPECT_EQ(input->FeedbackTitle()->text(), "Falsch !");
    EXPECT_TRUE(input->FeedbackDetail()->text().contains(first->DisplayName()));
    EXPECT_FALSE(input->FeedbackPanel()->isHidden());
    EXPECT_NE(input->CurrentItem, first) << "never twice in a row while two or more are left";

    const QString spoken = input->CurrentItem->NamesGerman[0] == "Marokko" ? "Marocco"
                           : input->CurrentItem->NamesGerman[0] == "Kongo" ? "Congo"
                                                                           : "Bosnien herzegowina";
    TGeoItem* second = input->CurrentItem;
    type(*input, spoken);
    EXPECT_EQ(second->State(), ItemState::Right);
    if (spoken != "Bosnien herzegowina") {
        EXPECT_EQ(input->FeedbackTitle()->text(), "Fast richtig...");
        EXPECT_TRUE(input->FeedbackDetail()->text().contains(second->NamesGerman[0]));
    } else {
        EXPECT_EQ(input->FeedbackTitle()->text(), "Richtig !");
    }
}

TEST_F(AbfrageTest, TheLastOpenItemIsAskedAgainAtOnce)
{
    category("L", {"Chile"});
    auto input = make<TGeoInputAbfrageEdit>();
    input->Start();
    TGeoItem* only = input->CurrentItem;
    type(*input, "Peru");
    EXPECT_EQ(input->CurrentItem, only);
    EXPECT_EQ(only->State(), ItemState::Wrong);
}

TEST_F(AbfrageTest, ACapitalFollowsItsCountryRightOrWrong)
{
    TKategorie& countries = category("L", {"Frankreich", "Spanien", "Italien"});
    TKategorie& capitals = category("C", {"Paris", "Madrid", "Rom"});
    for (size_t i = 0; i < 3; ++i) {
        countries.Items[i]->Capital = capitals.Items[i].get();
        capitals.Items[i]->CapitalOf = countries.Items[i].get();
        capitals.Items[i]->SetState(ItemState::Dependent);
    }
    auto input = make<TGeoInputAbfrageEdit>();
    input->Start();
    for (int round = 0; round < 2; ++round) {
        TGeoItem* country = input->CurrentItem;
        ASSERT_NE(country->Capital, nullptr);
        type(*input, round == 0 ? "falsch" : country->NamesGerman[0]);
        EXPECT_EQ(input->CurrentItem, country->Capital);
        type(*input, country->Capital->NamesGerman[0]);
    }
}

TEST_F(AbfrageTest, AGoodRunFinishesAndAWeakOneOffersTraining)
{
    // Every answer counts: n items and w wrong answers give n / (n + w).
    struct Case {
        int items, wrongAnswers;
        bool offered;
    } cases[] = {{10, 0, false}, {7, 3, true} /* 70 % */, {10, 4, false} /* 71 % */};
    for (const Case& c : cases) {
        lesson.Categories.clear();
        QStringList names;
        for (int i = 0; i < c.items; ++i)
            names << QString("Land%1").arg(QChar('A' + i));
        category("L", names);
        finished = 0;
        responder.messages.clear();
        responder.messageAnswers = {mrNo};
        auto input = make<TGeoInputAbfrageEdit>();
        result->Start();
        input->Start();
        int wrong = c.wrongAnswers;
        std::vector<TGeoItem*> missed;
        while (input->CurrentItem && finished == 0 && responder.messages.empty()) {
            TGeoItem* item = input->CurrentItem;
            const bool fail = wrong > 0 && item->State() == ItemState::Open;
            if (fail)
                --wrong;
            type(*input, fail ? QString("x") : item->NamesGerman[0]);
            // the learning view recounts after every change
            result->Refresh(lesson);
        }
        EXPECT_EQ(!responder.messages.empty(), c.offered) << c.wrongAnswers << " rate " << result->SuccessRate();
        EXPECT_EQ(finished, 1);
    }
}

TEST_F(AbfrageTest, IntensiveTrainingAsksOnlyTheHardItemsAndTheMainRunCounts)
{
    category("L", {"Eins", "Zwei", "Drei"});
    responder.messageAnswers = {mrYes, mrNo};
    auto input = make<TGeoInputAbfrageEdit>();
    result->Start();
    input->Start();
    // "Eins" is answered wrong twice, then right: asked three times.
    while (finished == 0 && input->CurrentItem) {
        TGeoItem* item = input->CurrentItem;
        const bool fail = item->NamesGerman[0] == "Eins" && item->AskCount < 2 && !input->IntensiveTrainingRunning();
        type(*input, fail ? QString("nein") : item->NamesGerman[0]);
        result->Refresh(lesson);
        if (input->IntensiveTrainingRunning() && responder.messages.size() == 1) {
            for (const auto& i : lesson.Categories[0]->Items)
                EXPECT_EQ(i->State() == ItemState::ShowOnly, i->NamesGerman[0] != "Eins") << i->NamesGerman[0].toStdString();
        }
    }
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(responder.messages.size(), 1u) << "the training is offered once";
    EXPECT_EQ(result->Total, 1) << "the training asked Eins once";
    input->Stop();
    EXPECT_EQ(result->Total, 5) << "the main run's figures are restored: Eins three times, the others once";
    EXPECT_EQ(result->Correct, 3);
}

TEST_F(AbfrageTest, MapTestAsksOnlyClickableItemsAndShowsTheAnswerAfterAMiss)
{
    TKategorie& countries = category("L", {"Frankreich", "Spanien", "Monaco"});
    countries.Items[2]->Area = 2;
    TKategorie& rivers = category("F", {"Rhein"});
    TGeoItem& corsica = countries.AddItem();
    corsica.NamesGerman = {"Korsika"};
    corsica.SetState(ItemState::Deactivated);
    countries.Items[0]->SubItems.push_back(&corsica);
    TGeoInputAbfrageClick::WrongClickMs = 5;
    auto input = make<TGeoInputAbfrageClick>();
    input->Start();
    EXPECT_EQ(rivers.Items[0]->State(), ItemState::ShowOnly);
    EXPECT_EQ(countries.Items[2]->State(), ItemState::ShowOnly) << "too small to click";
    EXPECT_TRUE(selected.empty()) << "the map must not show what is asked";
    TGeoItem* asked = input->CurrentItem;
    EXPECT_TRUE(input->QuestionLabel()->text().contains(asked->DisplayName()));
    TGeoItem* other = asked == countries.Items[0].get() ? countries.Items[1].get() : countries.Items[0].get();
    input->MapItemClicked(*other);
    EXPECT_EQ(input->FeedbackTitle()->text(), "Falsch !");
    EXPECT_EQ(input->FeedbackDetail()->text(), QString("Das war \"%1\"").arg(other->DisplayName()));
    EXPECT_EQ(selected, (std::vector<TGeoItem*>{asked, nullptr})) << "lit for a moment, then cleared";
    // France by one of its parts.
    while (input->CurrentItem != countries.Items[0].get())
        input->MapItemClicked(*input->CurrentItem);
    input->MapItemClicked(corsica);
    EXPECT_EQ(countries.Items[0]->State(), ItemState::Right);
    TGeoInputAbfrageClick::WrongClickMs = 1000;
}

TEST_F(AbfrageTest, RiversCannotBeClickedSoTheRunEndsAtOnce)
{
    category("F", {"Rhein", "Elbe"});
    responder.messageAnswers = {mrNo};
    auto input = make<TGeoInputAbfrageClick>();
    input->Start();
    EXPECT_EQ(responder.messages.size(), 1u) << "nothing counted: the training is offered";
    EXPECT_EQ(finished, 1);
}

TEST_F(AbfrageTest, FeedbackLayoutAndTimer)
{
    category("L", {"Chile", "Peru"});
    auto input = make<TGeoInputAbfrageEdit>();
    input->Start();
    type(*input, input->CurrentItem->NamesGerman[0]);
    EXPECT_EQ(input->FeedbackTitle()->y(), 25) << "no detail: the title sits lower";
    EXPECT_EQ(input->FeedbackPanel()->height(), 69);
    type(*input, "falsch");
    EXPECT_EQ(input->FeedbackTitle()->y(), 13);
    EXPECT_EQ(input->FeedbackDetail()->y(), 35);
    QTimer* timer = input->findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 3000);
    EXPECT_TRUE(timer->isActive());
}

// The feedback fits its texts in every language, also for long names.
TEST_F(AbfrageTest, FeedbackTextsFitInEveryLanguage)
{
    category("L", {"Bosnien und Herzegowina", "St. Vincent und die Grenadinen"});
    lesson.Categories[0]->Items[0]->NamesEnglish = {"Bosnia and Herzegovina"};
    lesson.Categories[0]->Items[1]->NamesEnglish = {"St. Vincent and the Grenadines"};
    for (int language = 1; language <= 3; ++language) {
        MainDictionary().SetActLang(language);
        auto input = make<TGeoInputAbfrageEdit>();
        input->Start();
        type(*input, "falsch");
        SCOPED_TRACE(input->FeedbackDetail()->text().toStdString());
        const QRect title = input->FeedbackTitle()->geometry();
        const QRect detail = input->FeedbackDetail()->geometry();
        const QRect panel = input->FeedbackPanel()->rect();
        EXPECT_LE(input->FeedbackTitle()->fontMetrics().horizontalAdvance(input->FeedbackTitle()->text()), title.width());
        EXPECT_GE(title.height(), input->FeedbackTitle()->fontMetrics().height());
        EXPECT_LT(title.bottom(), detail.top()) << "the title and the detail do not overlap";
        EXPECT_GE(detail.height(), input->FeedbackDetail()->heightForWidth(detail.width())) << "the detail is not cut";
        EXPECT_TRUE(panel.contains(title) && panel.contains(detail));
        EXPECT_LE(input->FeedbackPanel()->geometry().bottom(), input->viewport()->height());
    }
    MainDictionary().SetActLang(1);
}

} // namespace

namespace {

QStringList shownNames(const TGeoInputAbfrageChoice& input)
{
    QStringList names;
    for (QPushButton* button : input.AnswerButtons())
        if (!button->isHidden())
            names << button->text().mid(4);
    return names;
}

TEST_F(AbfrageTest, SelectionOffersTheRightNameAndOthersOfItsCategory)
{
    QStringList countries;
    for (int i = 0; i < 10; ++i)
        countries << QString("Land%1").arg(i);
    TKategorie& own = category("L", countries);
    own.Items[3]->SetState(ItemState::Right);
    own.Items[4]->SetState(ItemState::Deactivated);
    category("C", {"Stadt"});
    auto input = make<TGeoInputAbfrageChoice>();
    input->Start();
    ASSERT_EQ(input->AnswerButtons().size(), 4u);
    QStringList names = shownNames(*input);
    EXPECT_EQ(names.size(), 4);
    EXPECT_TRUE(names.contains(input->CurrentItem->DisplayName()));
    EXPECT_EQ(QStringList(names).removeDuplicates(), 0);
    for (const QString& name : names) {
        EXPECT_TRUE(name.startsWith("Land")) << "wrong answers come from the item's own category";
        EXPECT_NE(name, "Land4") << "never a switched-off item";
    }
    for (size_t k = 0; k < 4; ++k)
        EXPECT_TRUE(input->AnswerButtons()[k]->text().startsWith(QString("&%1  ").arg(k + 1)));
    EXPECT_TRUE(input->OkButton()->isHidden());
}

TEST_F(AbfrageTest, SelectionFillsFromOtherCategoriesAndNeverLoops)
{
    category("F", {"Rhein", "Elbe"});
    category("S", {"Bodensee", "Chiemsee", "Müritz"});
    lesson.LearnOptions->Schwierigkeit = true; // 7 buttons
    auto input = make<TGeoInputAbfrageChoice>();
    input->Start();
    ASSERT_EQ(input->AnswerButtons().size(), 7u);
    EXPECT_EQ(input->AnswerButtons()[4]->text().left(4), "&5  ");
    EXPECT_EQ(shownNames(*input).size(), 5) << "five terms in all: the rest of the buttons stay hidden";

    lesson.Categories.clear();
    category("L", {"Chile", "Peru"});
    auto small = make<TGeoInputAbfrageChoice>();
    small->Start();
    EXPECT_EQ(shownNames(*small).size(), 2);
}

// The wrong answers from other categories are a random choice, not always
// the same first ones, and a plain digit picks a button.
TEST_F(AbfrageTest, SelectionDrawsWrongAnswersAtRandomAndTakesDigits)
{
    category("L", {"A1", "A2"});
    category("C", {"B1", "B2", "B3", "B4"});
    QSet<QString> seen;
    static unsigned seed = 0;
    for (seed = 1; seed <= 40; ++seed) {
        TGeoInputAbfrage::RandomSeed = [] { return seed; };
        auto input = make<TGeoInputAbfrageChoice>();
        input->Start();
        if (input->CurrentItem->Category == lesson.Categories[0].get())
            for (const QString& name : shownNames(*input))
                seen.insert(name);
    }
    EXPECT_TRUE(seen.contains("B3")) << "the fill takes one more than needed, so the pick has a choice";

    TGeoInputAbfrage::RandomSeed = [] { return 7u; };
    auto input = make<TGeoInputAbfrageChoice>();
    input->Start();
    TGeoItem* asked = input->CurrentItem;
    const QString second = input->AnswerButtons()[1]->text().mid(4);
    input->show();
    QTest::keyClick(input->AnswerButtons()[0], Qt::Key_2);
    QTest::qWait(300); // the button's click animation
    EXPECT_EQ(asked->State(), second == asked->DisplayName() ? ItemState::Right : ItemState::Wrong)
        << "the digit 2 chose " << second.toStdString();
    EXPECT_GE(asked->AskCount, 1);
}

TEST_F(AbfrageTest, ASelectionPickIsJudgedLikeATypedAnswer)
{
    category("L", {"Chile", "Peru", "Bolivien", "Ecuador"});
    auto input = make<TGeoInputAbfrageChoice>();
    input->Start();
    TGeoItem* asked = input->CurrentItem;
    for (QPushButton* button : input->AnswerButtons())
        if (button->text().mid(4) != asked->DisplayName()) {
            button->click();
            break;
        }
    EXPECT_EQ(asked->State(), ItemState::Wrong);
    EXPECT_EQ(input->FeedbackTitle()->text(), "Falsch !");
    EXPECT_TRUE(input->FeedbackDetail()->text().contains(asked->DisplayName()));
    TGeoItem* next = input->CurrentItem;
    for (QPushButton* button : input->AnswerButtons())
        if (button->text().mid(4) == next->DisplayName())
            button->click();
    EXPECT_EQ(next->State(), ItemState::Right);
    EXPECT_EQ(input->ModeName(), "Auswahl");
}

} // namespace
