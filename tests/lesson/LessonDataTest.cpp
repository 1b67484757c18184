#include "LessonFixtures.h"

#include "lesson/TDaten.h"

namespace {

using S = ItemState;

class LessonData : public LessonTest {
protected:
    TKategorie& category(const char* letter)
    {
        TKategorie& k = lesson.AddCategory();
        k.SetKind(QString::fromUtf8(letter));
        return k;
    }
    bool holds(const TKategorie& k, const TGeoItem* item)
    {
        for (const auto& i : k.Items)
            if (i.get() == item)
                return true;
        return false;
    }
    TDaten lesson;
};

TEST_F(LessonData, FindCategoryAndCountReferences)
{
    TKategorie& countries = category("L");
    TKategorie& cities = category("C");
    category("L");
    EXPECT_EQ(lesson.FindCategory(QStringLiteral("L")), &countries);
    EXPECT_EQ(lesson.FindCategory(QStringLiteral("C")), &cities);
    EXPECT_EQ(lesson.FindCategory(QStringLiteral("F")), nullptr);

    TGeoItem& city = cities.AddItem();
    TGeoItem& a = countries.AddItem();
    TGeoItem& b = countries.AddItem();
    a.SubItems = {&city, &b};
    b.SubItems = {&city};
    EXPECT_EQ(lesson.CountReferences(&city), 2);
    EXPECT_EQ(lesson.CountReferences(&b), 1);
    EXPECT_EQ(lesson.CountReferences(&a), 0);
}

TEST_F(LessonData, RenumberSkipsShowOnlyItemsWithoutAGap)
{
    TKategorie& first = category("L");
    TKategorie& second = category("C");
    FakeObject objects[4];
    TGeoItem* items[4] = {&first.AddItem(), &first.AddItem(), &first.AddItem(), &second.AddItem()};
    for (int i = 0; i < 4; ++i) {
        items[i]->GeoObject = &objects[i];
        items[i]->Number = 100 + i;
    }
    items[2]->SetState(S::ShowOnly);
    lesson.Renumber();
    EXPECT_EQ(items[0]->Number, 1);
    EXPECT_EQ(items[1]->Number, 2);
    EXPECT_EQ(items[2]->Number, 102);
    EXPECT_EQ(items[3]->Number, 3);
    EXPECT_EQ(objects[1].title, QStringLiteral("2"));
    EXPECT_EQ(objects[2].title, QString());
    EXPECT_EQ(objects[3].title, QStringLiteral("3"));
}

TEST_F(LessonData, RemoveItemKeepsItemsThatOthersReferTo)
{
    TKategorie& countries = category("L");
    TKategorie& cities = category("C");
    TGeoItem& country = countries.AddItem();
    TGeoItem& city = cities.AddItem();
    TGeoItem& shownCity = cities.AddItem();
    shownCity.SetState(S::ShowOnly);
    country.SubItems = {&city, &shownCity};

    lesson.RemoveItem(&city);
    EXPECT_TRUE(holds(cities, &city));
    EXPECT_TRUE(city.Auxiliary);
    lesson.RemoveItem(&shownCity);
    EXPECT_TRUE(holds(cities, &shownCity));
    EXPECT_FALSE(shownCity.Auxiliary);
}

TEST_F(LessonData, RemoveItemTakesShowOnlyPartsAndTheCapitalAlong)
{
    TKategorie& countries = category("L");
    TKategorie& cities = category("C");
    TGeoItem& country = countries.AddItem();
    TGeoItem& part = countries.AddItem();
    TGeoItem& askedPart = countries.AddItem();
    TGeoItem& capital = cities.AddItem();
    TGeoItem& neighbour = countries.AddItem();
    FakeObject object;
    country.GeoObject = &object;
    part.SetState(S::ShowOnly);
    country.SubItems = {&part, &askedPart, &part}; // a repeated entry must not remove twice
    country.Capital = &capital;
    capital.CapitalOf = &country;
    neighbour.Capital = &capital; // a broken file can make two countries share a capital

    lesson.RemoveItem(&country);
    EXPECT_FALSE(object.visible);
    ASSERT_EQ(countries.Items.size(), 2u);
    EXPECT_TRUE(holds(countries, &askedPart));
    EXPECT_TRUE(holds(countries, &neighbour));
    EXPECT_TRUE(cities.Items.empty());
    EXPECT_EQ(neighbour.Capital, nullptr) << "nothing may point at a released item";
}

TEST_F(LessonData, RemovedItemLeavesNoCapitalPointersBehind)
{
    TKategorie& countries = category("L");
    TKategorie& cities = category("C");
    TGeoItem& country = countries.AddItem();
    TGeoItem& capital = cities.AddItem();
    TGeoItem& holder = countries.AddItem();
    holder.SubItems = {&capital}; // keeps the capital in the lesson
    country.Capital = &capital;
    capital.CapitalOf = &country;

    lesson.RemoveItem(&country);
    ASSERT_TRUE(holds(cities, &capital));
    EXPECT_EQ(capital.CapitalOf, nullptr);
    EXPECT_TRUE(capital.Auxiliary);
    lesson.RemoveItem(&country); // no longer in the lesson: nothing happens
    EXPECT_EQ(countries.Items.size(), 1u);
}

TEST_F(LessonData, RemoveCategoryKeepsACategoryWhoseItemsAreStillReferredTo)
{
    TKategorie& countries = category("L");
    TKategorie& cities = category("C");
    TGeoItem& country = countries.AddItem();
    TGeoItem& city = cities.AddItem();
    cities.AddItem();
    country.SubItems = {&city};

    EXPECT_FALSE(lesson.RemoveCategory(&cities));
    ASSERT_EQ(lesson.Categories.size(), 2u);
    ASSERT_EQ(cities.Items.size(), 1u);
    EXPECT_TRUE(city.Auxiliary);

    EXPECT_TRUE(lesson.RemoveCategory(&countries));
    ASSERT_EQ(lesson.Categories.size(), 1u);
    EXPECT_TRUE(lesson.RemoveCategory(lesson.Categories[0].get())) << "no longer referred to";
    EXPECT_TRUE(lesson.Categories.empty());
    TKategorie stranger;
    EXPECT_FALSE(lesson.RemoveCategory(&stranger));
}

TEST_F(LessonData, RemoveCategoryRemovesItemsThatReferToEachOther)
{
    TKategorie& countries = category("L");
    TGeoItem& part = countries.AddItem(); // listed before the item that refers to it
    TGeoItem& whole = countries.AddItem();
    whole.SubItems = {&part};
    EXPECT_TRUE(lesson.RemoveCategory(&countries));
    EXPECT_TRUE(lesson.Categories.empty());
}

} // namespace
