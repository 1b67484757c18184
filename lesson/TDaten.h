#pragma once

#include "lesson/TKategorie.h"
#include "lesson/TLernOptionen.h"

#include <QString>
#include <memory>
#include <vector>

// One lesson in memory: its categories, each holding its items.
class TDaten {
public:
    TDaten() = default;
    TDaten(const TDaten&) = delete;
    TDaten& operator=(const TDaten&) = delete;

    // Declared first so that it is released after the categories.
    std::unique_ptr<TLernOptionen> LearnOptions;
    std::vector<std::unique_ptr<TKategorie>> Categories;
    QString Name;
    QString NameEnglish;
    int Continent = 6; // catalogue group 1..6

    // A new category at the end of the list.
    TKategorie& AddCategory();

    TKategorie* FindCategory(const QString& letter) const;
    int CountReferences(const TGeoItem* item) const;
    void Renumber();
    void RemoveItem(TGeoItem* item);
    // Removes the category's items and then the category. Items that other
    // items still refer to stay (see RemoveItem); while any remain, the
    // category stays in the lesson holding them, so nothing dangles. Returns
    // whether the category was removed (and released).
    bool RemoveCategory(TKategorie* category);

    // The category whose list holds the item, or none when the item is not
    // part of this lesson.
    TKategorie* OwnerOf(const TGeoItem* item) const;
};
