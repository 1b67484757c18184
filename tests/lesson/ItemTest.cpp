#include "LessonFixtures.h"

#include "lesson/TDaten.h"

#include <QThread>

namespace {

using S = ItemState;

class Item : public LessonTest {
protected:
    Item()
    {
        countries.SetKind(QStringLiteral("L"));
        cities.SetKind(QStringLiteral("C"));
    }
    void SetUp() override
    {
        LessonTest::SetUp();
        LessonHooks::SetStateObserver([this](TGeoItem& item) { seen.push_back({&item, item.State()}); });
    }
    TGeoItem& item(TKategorie& category, std::initializer_list<QString> german = {},
                   std::initializer_list<QString> english = {})
    {
        TGeoItem& i = category.AddItem();
        i.NamesGerman = german;
        i.NamesEnglish = english;
        return i;
    }
    struct Seen {
        TGeoItem* item;
        ItemState state;
        bool operator==(const Seen&) const = default;
    };
    TKategorie countries, cities;
    std::vector<Seen> seen;
};

struct StateCase {
    ItemState from, request, result;
    int notifications;
};

TEST_F(Item, SetStateKeepsRevealedAndRightFinalAndTellsTheObserver)
{
    const StateCase cases[] = {
        {S::Open, S::Right, S::Right, 1},
        {S::Right, S::Right, S::Right, 0},          // no change, no report
        {S::Right, S::Revealed, S::Right, 1},       // Right never becomes Revealed, still reported
        {S::Revealed, S::Right, S::Revealed, 1},    // Revealed is final ...
        {S::Revealed, S::WrongNotify, S::Wrong, 2}, // ... except for WrongNotify, reported twice
        {S::Open, S::WrongNotify, S::Wrong, 2},
        {S::Wrong, S::Open, S::Open, 1},
    };
    for (const StateCase& c : cases) {
        TGeoItem& i = item(countries);
        if (c.from == S::Revealed)
            i.SetState(S::Open), i.SetState(S::Revealed);
        else
            i.SetState(c.from);
        seen.clear();
        i.SetState(c.request);
        EXPECT_EQ(i.State(), c.result) << int(c.from) << " -> " << int(c.request);
        EXPECT_EQ(int(seen.size()), c.notifications) << int(c.from) << " -> " << int(c.request);
        for (const Seen& s : seen)
            EXPECT_NE(s.state, S::WrongNotify) << "the request value is never stored";
    }
}

struct EditCase {
    ItemState state;
    TColor unfocused, focused;
    bool enabled;
};

TEST_F(Item, BoundEditFollowsTheState)
{
    const EditCase cases[] = {
        {S::Open, 0xEEEEEE, 0xFFFFFF, true},    {S::Wrong, 0xEEEEEE, 0xFFFFFF, true},
        {S::Right, 0xD7FFD7, 0xD7FFD7, true},   {S::Revealed, 0xA6FFFB, 0xA6FFFB, true},
        {S::Deactivated, 0xC0C0C0, 0xC0C0C0, false},
        {S::ShowOnly, -1, -1, true},            {S::Dependent, -1, -1, true}, // left as they were
    };
    for (const EditCase& c : cases) {
        TGeoItem& i = item(countries, {"Frankreich"});
        i.SetState(c.state);
        FakeEdit edit;
        i.BindEdit(&edit); // binding applies the colours of the current state
        EXPECT_EQ(edit.unfocused, c.unfocused) << int(c.state);
        EXPECT_EQ(edit.focused, c.focused) << int(c.state);
        EXPECT_EQ(edit.enabled, c.enabled) << int(c.state);
        EXPECT_EQ(edit.text, c.state == S::Deactivated ? QStringLiteral("Frankreich") : QString());
        i.BindEdit(nullptr);
    }
    TGeoItem& i = item(countries, {"Spanien"});
    FakeEdit edit;
    i.BindEdit(&edit);
    i.SetState(S::Right);
    EXPECT_EQ(edit.unfocused, 0xD7FFD7);
}

TEST_F(Item, ShowNameInEditRevealsOnlyWhenAsked)
{
    TGeoItem& i = item(countries, {"Italien"}, {"Italy"});
    FakeEdit edit;
    i.BindEdit(&edit);
    i.ShowNameInEdit(false);
    EXPECT_EQ(edit.text, QStringLiteral("Italien"));
    EXPECT_EQ(i.State(), S::Open);
    i.ShowNameInEdit(true);
    EXPECT_EQ(i.State(), S::Revealed);
    EXPECT_EQ(edit.unfocused, 0xA6FFFB);
}

TEST_F(Item, DisplayNameFallsBackToTheOtherLanguage)
{
    TGeoItem& both = item(countries, {"Deutschland"}, {"Germany"});
    TGeoItem& germanOnly = item(countries, {"Tschad"});
    TGeoItem& englishOnly = item(countries, {}, {"Chad"});
    TGeoItem& emptyGerman = item(countries, {""}, {"Chad"});
    TGeoItem& none = item(countries);
    EXPECT_EQ(both.DisplayName(), QStringLiteral("Deutschland"));
    EXPECT_EQ(englishOnly.DisplayName(), QStringLiteral("Chad"));
    EXPECT_EQ(emptyGerman.DisplayName(), QStringLiteral("Chad"));
    EXPECT_EQ(none.DisplayName(), QString());
    texts.language(3);
    EXPECT_EQ(both.DisplayName(), QStringLiteral("Germany"));
    EXPECT_EQ(germanOnly.DisplayName(), QStringLiteral("Tschad"));
}

TEST_F(Item, QuestionTextComesFromTheCategoryUnlessTheItemHasItsOwn)
{
    TGeoItem& country = item(countries, {"Polen"});
    EXPECT_EQ(country.QuestionText(), QStringLiteral("Wie heißt das\ngezeigte Land ?"));
    country.Question = QStringLiteral("Eigene Frage");
    EXPECT_EQ(country.QuestionText(), QStringLiteral("Eigene Frage"));
    TKategorie river;
    texts.language(2);
    river.SetKind(QStringLiteral("F"));
    EXPECT_EQ(item(river).QuestionText(), QStringLiteral("Wie heißt der\ngezeigte Fluss ?"));
}

TEST_F(Item, SolvedNeedsTheCapitalAndTheCountry)
{
    TGeoItem& country = item(countries, {"Peru"});
    TGeoItem& capital = item(cities, {"Lima"});
    country.Capital = &capital;
    capital.CapitalOf = &country;
    country.SetState(S::Right);
    EXPECT_FALSE(country.IsSolved());
    capital.SetState(S::Right);
    EXPECT_TRUE(country.IsSolved());
    EXPECT_TRUE(capital.IsSolved());
    EXPECT_TRUE(capital.IsDependent());
}

struct AnswerCase {
    const char* answer;
    bool spelling;
    AnswerResult result;
    const char* matched;
};

TEST_F(Item, CheckAnswerAcceptsGermanEnglishAndFurtherSpellings)
{
    const AnswerCase cases[] = {
        {"Bosnien herzegowina", false, AnswerResult::Exact, "Bosnien-Herzegowina"},
        {"bosnia and herzegovina", false, AnswerResult::Exact, "Bosnia and Herzegovina"},
        {"Bosnien", false, AnswerResult::Exact, "Bosnien"}, // the second German name
        {"Bosnia Herzegowina", false, AnswerResult::Almost, "Bosnia-Hercegovina"}, // further spellings are always tolerant
        {"Bosnien herzegovina", true, AnswerResult::Almost, "Bosnien-Herzegowina"},
        {"Bosnien herzegovina", false, AnswerResult::Wrong, ""},
        {"", true, AnswerResult::Wrong, ""},
        {" - ", true, AnswerResult::Wrong, ""},
    };
    for (const AnswerCase& c : cases) {
        LessonHooks::SetSpellingTolerance(c.spelling);
        TGeoItem& i = item(countries, {"Bosnien-Herzegowina", "Bosnien"}, {"Bosnia and Herzegovina"});
        i.NamesOther = QStringList{"Bosnia-Hercegovina"};
        EXPECT_EQ(i.CheckAnswer(QString::fromUtf8(c.answer)), c.result) << c.answer;
        EXPECT_EQ(i.MatchedName, QString::fromUtf8(c.matched)) << c.answer;
        EXPECT_EQ(i.State(), c.result == AnswerResult::Wrong ? S::Wrong : S::Right) << c.answer;
    }
}

TEST_F(Item, AnEmptyAnswerNeverMatchesAnEmptyName)
{
    TGeoItem& i = item(countries, {""});
    EXPECT_EQ(i.CheckAnswer(QString()), AnswerResult::Wrong);
}

TEST_F(Item, ContainsSubItemSearchesDepthFirstAndSurvivesCycles)
{
    TGeoItem& a = item(countries);
    TGeoItem& b = item(countries);
    TGeoItem& c = item(countries);
    TGeoItem& outside = item(countries);
    a.SubItems = {&b};
    b.SubItems = {&c, &a};
    EXPECT_TRUE(a.ContainsSubItem(&c));
    EXPECT_FALSE(a.ContainsSubItem(&outside));
    EXPECT_FALSE(c.ContainsSubItem(&a));
}

class GlobeItem : public Item {
protected:
    GlobeItem()
    {
        for (TKategorie* k : {&countries, &cities}) {
            k->NormalPresenter = &normal;
            k->SolvedPresenter = &solved;
            k->GreyPresenter = &grey;
        }
    }
    FakePresenter normal{1}, solved{2}, grey{3};
};

TEST_F(GlobeItem, PresentationFollowsStateCapitalAndSubItems)
{
    TGeoItem& country = item(countries);
    TGeoItem& part = item(countries);
    TGeoItem& capital = item(cities);
    FakeObject countryObject, partObject, capitalObject;
    country.GeoObject = &countryObject;
    part.GeoObject = &partObject;
    capital.GeoObject = &capitalObject;
    country.SubItems = {&part};
    country.Capital = &capital;
    capital.CapitalOf = &country;

    country.SetState(S::Right); // capital still open: normal look
    EXPECT_EQ(countryObject.presenter, 1);
    EXPECT_EQ(partObject.presenter, 1);
    capital.SetState(S::Right); // the capital updates its country, which updates its parts
    EXPECT_EQ(capitalObject.presenter, 2);
    EXPECT_EQ(countryObject.presenter, 2);
    EXPECT_EQ(partObject.presenter, 2);

    country.SetState(S::Deactivated);
    country.UpdatePresentation(2);
    EXPECT_EQ(countryObject.presenter, 3) << "deactivated is grey whatever the mode";
}

TEST_F(GlobeItem, ALookWithoutPresenterKeepsTheObjectsPresenter)
{
    TKategorie lakes;
    lakes.SetKind(QStringLiteral("S"));
    lakes.NormalPresenter = &normal;
    lakes.GreyPresenter = &grey;
    TGeoItem& lake = lakes.AddItem();
    FakeObject object;
    lake.GeoObject = &object;
    lake.UpdatePresentation(0);
    EXPECT_EQ(object.presenter, 1);
    lake.SetState(S::Right);
    EXPECT_EQ(object.presenter, 1);
}

TEST_F(GlobeItem, VisibilityAndPresentationEndOnCyclicSubItems)
{
    TGeoItem& a = item(countries);
    TGeoItem& b = item(countries);
    FakeObject objectA, objectB;
    a.GeoObject = &objectA;
    b.GeoObject = &objectB;
    a.SubItems = {&b};
    b.SubItems = {&a};
    a.SetVisible(false);
    EXPECT_FALSE(objectA.visible);
    EXPECT_FALSE(objectB.visible);
    EXPECT_FALSE(b.Visible);
    a.SetState(S::Right);
    EXPECT_EQ(objectB.presenter, 2);
}

// Sub-item lists come from data files and can be as long as a damaged index
// makes them. The walks run on a thread with a small stack, which a walk
// taking a call per link would overrun long before the end of the chain.
TEST_F(GlobeItem, WalksAlongALongSubItemChainNeedNoStackPerLink)
{
    constexpr int kChain = 30000;
    std::vector<FakeObject> objects(kChain);
    std::vector<TGeoItem*> chain;
    for (FakeObject& object : objects) {
        TGeoItem& link = item(countries);
        link.GeoObject = &object;
        if (!chain.empty())
            chain.back()->SubItems = {&link};
        chain.push_back(&link);
    }
    chain.back()->SubItems = {chain.front()}; // and round again
    TGeoItem* outside = &item(countries);
    bool reachesTheEnd = false;
    bool reachesOutside = true;
    std::unique_ptr<QThread> walker(QThread::create([&] {
        chain.front()->SetVisible(false);
        chain.front()->UpdatePresentation(2);
        reachesTheEnd = chain.front()->ContainsSubItem(chain.back());
        reachesOutside = chain.front()->ContainsSubItem(outside);
    }));
    walker->setStackSize(256 * 1024);
    walker->start();
    ASSERT_TRUE(walker->wait(60000));
    EXPECT_TRUE(reachesTheEnd);
    EXPECT_FALSE(reachesOutside);
    EXPECT_FALSE(chain.back()->Visible);
    EXPECT_FALSE(objects.back().visible);
    EXPECT_EQ(objects.back().presenter, 2);
    EXPECT_EQ(objects.front().presenter, 2) << "the way round ends at the start";
}

TEST_F(GlobeItem, DependentCapitalIsHidden)
{
    TGeoItem& capital = item(cities);
    FakeObject object;
    capital.GeoObject = &object;
    capital.SetVisible(true);
    capital.SetState(S::Dependent);
    EXPECT_FALSE(object.visible);
    EXPECT_FALSE(capital.Visible);
}

} // namespace
