#include "learning/GeoEdit.h"
#include "learning/GeoInputKK.h"
#include "lesson/LessonHooks.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "support/TestResponder.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QScrollBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A small lesson: countries with capitals, rivers, and a category whose only
// item is switched off.
class ShortTest : public ::testing::Test {
protected:
    TDaten lesson;
    QWidget window;

    ShortTest()
    {
        lesson.LearnOptions = std::make_unique<TLernOptionen>();
        LessonHooks::SetSpellingTolerance(true);
        TKategorie& countries = lesson.AddCategory();
        countries.SetKind("L");
        TKategorie& capitals = lesson.AddCategory();
        capitals.SetKind("C");
        for (const auto& [country, capital] : {std::pair{"Frankreich", "Paris"}, std::pair{"Spanien", "Madrid"}}) {
            TGeoItem& c = countries.AddItem();
            c.NamesGerman = {country};
            TGeoItem& k = capitals.AddItem();
            k.NamesGerman = {capital};
            k.SetState(ItemState::Dependent);
            c.Capital = &k;
            k.CapitalOf = &c;
        }
        TKategorie& rivers = lesson.AddCategory();
        rivers.SetKind("F");
        for (const char* name : {"Rhein", "Elbe", "Donau"}) {
            TGeoItem& r = rivers.AddItem();
            r.NamesGerman = {name};
        }
        TKategorie& off = lesson.AddCategory();
        off.SetKind("S");
        off.AddItem().NamesGerman = {"Bodensee"};
        off.Items[0]->SetState(ItemState::Deactivated);
    }

    std::unique_ptr<TGeoInputKK> start(bool numbered)
    {
        window.resize(400, 600);
        auto input = std::make_unique<TGeoInputKK>(&window, lesson);
        input->resize(200, 600);
        input->Numbered = numbered;
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        input->Start();
        return input;
    }
};

TEST_F(ShortTest, LayoutPutsCapitalsUnderTheirCountriesAndSkipsEmptyCategories)
{
    auto input = start(true);
    const auto& fields = input->Fields();
    ASSERT_EQ(fields.size(), 7u);
    EXPECT_EQ(input->Headings().size(), 2u) << "no heading for capitals or switched-off lakes";
    EXPECT_EQ(input->Headings()[0]->pos(), QPoint(9, 9));
    EXPECT_EQ(input->Headings()[0]->font().family(), "Times New Roman");
    EXPECT_TRUE(input->Headings()[0]->font().bold() && input->Headings()[0]->font().italic());
    const int h = fields[0]->height();
    // y: 9 + 23 = 32 for France, Paris right under it, then +4, and so on.
    EXPECT_EQ(fields[0]->geometry(), QRect(37, 32, 120, h));
    EXPECT_EQ(fields[1]->y(), 32 + h - 1);
    EXPECT_EQ(fields[1]->Item()->NamesGerman, QStringList{"Paris"});
    EXPECT_EQ(fields[2]->y(), 32 + 2 * (h - 1) + 4);
    const int riversHeading = 32 + 4 * (h - 1) + 8 + 10;
    EXPECT_EQ(input->Headings()[1]->y(), riversHeading);
    EXPECT_EQ(fields[4]->y(), riversHeading + 23);
    EXPECT_TRUE(fields[0]->hasFocus());
}

TEST_F(ShortTest, PictureLessonsKeepTheirOrderGlobeLessonsAreShuffled)
{
    auto numbered = start(true);
    EXPECT_EQ(numbered->Fields()[4]->Item()->NamesGerman, QStringList{"Rhein"});
    EXPECT_EQ(numbered->Fields()[4]->Item()->Number, 5) << "renumbered after the countries and capitals";
    numbered.reset();
    QStringList orders;
    for (unsigned seed = 1; seed <= 8; ++seed) {
        TGeoInputKK::RandomSeed = [] { static unsigned s = 0; return ++s; };
        auto input = start(false);
        QString order;
        for (TGeoEdit* f : input->Fields())
            order += f->Item()->NamesGerman.first().left(1);
        orders << order;
    }
    TGeoInputKK::RandomSeed = nullptr;
    orders.removeDuplicates();
    EXPECT_GT(orders.size(), 1) << "the shuffle changes the order";
}

TEST_F(ShortTest, TypingJudgesAtOnceAndLeavingRewritesTheSpelling)
{
    LessonHooks::SetSpellingTolerance(false);
    auto input = start(true);
    TGeoEdit* france = input->Fields()[0];
    QTest::keyClicks(france, "frankreic");
    EXPECT_EQ(france->Item()->State(), ItemState::Wrong);
    QTest::keyClicks(france, "h");
    EXPECT_EQ(france->Item()->State(), ItemState::Right);
    QTest::keyClick(france, Qt::Key_Return);
    EXPECT_TRUE(input->Fields()[1]->hasFocus()) << "Enter moves on";
    EXPECT_EQ(france->text(), "Frankreich");
    QTest::keyClick(input->Fields()[1], Qt::Key_Down);
    EXPECT_TRUE(input->Fields()[2]->hasFocus());
    QTest::keyClick(input->Fields()[2], Qt::Key_Up);
    EXPECT_TRUE(input->Fields()[1]->hasFocus());
}

TEST_F(ShortTest, RevealSolvesOneFieldPerPressOfTheButton)
{
    auto input = start(true);
    QPushButton button;
    input->AttachRevealButton(&button);
    button.click();
    EXPECT_TRUE(input->RevealMode);
    EXPECT_TRUE(button.isChecked());
    TGeoEdit* rhine = input->Fields()[4];
    QTest::mouseClick(rhine, Qt::LeftButton);
    EXPECT_EQ(rhine->Item()->State(), ItemState::Revealed);
    EXPECT_EQ(rhine->text(), "Rhein");
    EXPECT_FALSE(input->RevealMode);
    EXPECT_FALSE(button.isChecked());
    rhine->setFocus();
    QTest::keyClicks(rhine, "x");
    QTest::keyClick(rhine, Qt::Key_Backspace);
    QTest::keyClick(rhine, Qt::Key_Delete);
    EXPECT_EQ(rhine->text(), "Rhein") << "a revealed field cannot be edited";
    TGeoEdit* elbe = input->Fields()[5];
    QTest::mouseClick(elbe, Qt::LeftButton);
    EXPECT_EQ(elbe->Item()->State(), ItemState::Open) << "one click of the button reveals one field";
}

// What the learner sees of each state, capitals waiting for their country
// included, before and while a field has the focus.
TEST_F(ShortTest, FieldColoursShowEveryState)
{
    auto input = start(true);
    const auto& fields = input->Fields();
    auto background = [](TGeoEdit* f) { return f->palette().color(QPalette::Base).rgb() & 0xFFFFFF; };
    QTest::keyClicks(fields[0], "Frankreich");             // right
    QTest::keyClicks(fields[2], "Portugal");               // wrong
    fields[4]->Item()->ShowNameInEdit(true);               // revealed
    fields[6]->setFocus();                                 // an open one has the focus
    const struct {
        const char* what;
        TGeoEdit* field;
        QRgb colour;
    } cases[] = {
        {"right", fields[0], 0xD7FFD7},
        {"capital of a country not yet answered", fields[3], 0xEEEEEE},
        {"wrong", fields[2], 0xEEEEEE},
        {"revealed", fields[4], 0xFBFFA6},
        {"open", fields[5], 0xEEEEEE},
        {"open with the focus", fields[6], 0xFFFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(background(c.field), c.colour) << c.what;
    EXPECT_EQ(fields[3]->Item()->State(), ItemState::Dependent);
}

TEST_F(ShortTest, InitialLettersAndMapClicks)
{
    lesson.LearnOptions->Schwierigkeit = true;
    auto input = start(true);
    EXPECT_EQ(input->Fields()[4]->text(), "R");
    EXPECT_EQ(input->Fields()[4]->Item()->State(), ItemState::Open) << "the given letter is not an answer";
    input->MapItemClicked(*input->Fields()[5]->Item());
    EXPECT_TRUE(input->Fields()[5]->hasFocus());
}

TEST_F(ShortTest, ALessonWithoutAskableItemsIsEmpty)
{
    TDaten empty;
    TKategorie& only = empty.AddCategory();
    only.AddItem().SetState(ItemState::Deactivated);
    TGeoInputKK input(&window, empty);
    input.Start();
    EXPECT_TRUE(input.Fields().empty());
    EXPECT_TRUE(input.Headings().empty());
}

} // namespace

namespace {
// A panel filled before its view was shown must still scroll.
TEST_F(ShortTest, ALongTestScrollsEvenWhenFilledWhileHidden)
{
    TKategorie& many = lesson.AddCategory();
    many.SetKind("C");
    for (int i = 0; i < 60; ++i)
        many.AddItem().NamesGerman = {QString("Stadt%1").arg(i)};
    QWidget holder;
    auto* layout = new QVBoxLayout(&holder);
    holder.resize(300, 500);
    holder.show();
    QCoreApplication::processEvents();
    auto* input = new TGeoInputKK(nullptr, lesson);
    input->Numbered = true;
    input->Start();
    layout->addWidget(input);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(input->verticalScrollBar()->isVisible());
    EXPECT_GT(input->verticalScrollBar()->maximum(), 0);
}
}
