#include "lesson/TDaten.h"

#include "lesson/GlobeLink.h"

#include <algorithm>

TKategorie& TDaten::AddCategory()
{
    Categories.push_back(std::make_unique<TKategorie>());
    return *Categories.back();
}

TKategorie* TDaten::FindCategory(const QString& letter) const
{
    for (const auto& category : Categories)
        if (KindLetter(category->Kind) == letter)
            return category.get();
    return nullptr;
}

int TDaten::CountReferences(const TGeoItem* item) const
{
    int count = 0;
    for (const auto& category : Categories)
        for (const auto& other : category->Items)
            count += static_cast<int>(std::count(other->SubItems.begin(), other->SubItems.end(), item));
    return count;
}

void TDaten::Renumber()
{
    int counter = 1;
    for (const auto& category : Categories) {
        for (const auto& item : category->Items) {
            QString label;
            if (item->State() != ItemState::ShowOnly) {
                item->Number = counter;
                label = QString::number(counter);
                ++counter;
            }
            if (item->GeoObject)
                item->GeoObject->SetTitle(label);
        }
    }
}

TKategorie* TDaten::OwnerOf(const TGeoItem* item) const
{
    if (!item)
        return nullptr;
    for (const auto& category : Categories)
        for (const auto& candidate : category->Items)
            if (candidate.get() == item)
                return category.get();
    return nullptr;
}

void TDaten::RemoveItem(TGeoItem* item)
{
    // Removing can reach the same item twice (through sub-items and the
    // capital); only an item still in the lesson is removed.
    TKategorie* owner = OwnerOf(item);
    if (!owner)
        return;
    if (CountReferences(item) > 0) {
        if (item->State() != ItemState::ShowOnly)
            item->Auxiliary = true;
        return;
    }
    auto& items = owner->Items;
    const auto it = std::find_if(items.begin(), items.end(), [&](const auto& p) { return p.get() == item; });
    std::unique_ptr<TGeoItem> removed = std::move(*it);
    items.erase(it);

    if (removed->GeoObject)
        removed->GeoObject->SetVisible(false);
    // Nothing left in the lesson may point at the released item.
    for (const auto& category : Categories) {
        for (const auto& other : category->Items) {
            if (other->Capital == item)
                other->Capital = nullptr;
            if (other->CapitalOf == item)
                other->CapitalOf = nullptr;
        }
    }
    const std::vector<TGeoItem*> subItems = removed->SubItems;
    for (TGeoItem* sub : subItems)
        if (OwnerOf(sub) && sub->State() == ItemState::ShowOnly) // an earlier step may have released it
            RemoveItem(sub);
    if (removed->Capital)
        RemoveItem(removed->Capital);
}

bool TDaten::RemoveCategory(TKategorie* category)
{
    const auto owned = [&] {
        return std::find_if(Categories.begin(), Categories.end(), [&](const auto& p) { return p.get() == category; });
    };
    if (owned() == Categories.end())
        return false;
    // Removing one item can free another of its last reference, so walk the
    // list again as long as it shrinks.
    std::size_t before = 0;
    do {
        before = category->Items.size();
        std::vector<TGeoItem*> snapshot;
        for (const auto& item : category->Items)
            snapshot.push_back(item.get());
        for (TGeoItem* item : snapshot)
            RemoveItem(item);
    } while (!category->Items.empty() && category->Items.size() < before);

    if (!category->Items.empty())
        return false;
    Categories.erase(owned());
    return true;
}
