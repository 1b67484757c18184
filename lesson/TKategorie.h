#pragma once

#include "lesson/ConversionError.h"
#include "lesson/LessonTypes.h"
#include "lesson/TGeoItem.h"

#include <QString>
#include <memory>
#include <vector>

class ILessonLayer;
class ILessonPresenter;

// One category of a lesson: an ordered list of items of one kind.
class TKategorie {
public:
    TKategorie() = default;
    TKategorie(const TKategorie&) = delete;
    TKategorie& operator=(const TKategorie&) = delete;

    std::vector<std::unique_ptr<TGeoItem>> Items;
    QString Name;        // plural, German
    QString NameEnglish; // plural, English; may be empty
    QString Singular;    // in the current language, for question texts
    QString IndexSection;
    QString Article;
    TColor Color = 0;
    TColor SelectedColor = 0;
    CategoryKind Kind = CategoryKind::None;
    // The globe side; set by the globe map, owned by the globe.
    ILessonLayer* Layer = nullptr;
    ILessonPresenter* NormalPresenter = nullptr;
    ILessonPresenter* SolvedPresenter = nullptr;
    ILessonPresenter* GreyPresenter = nullptr;
    TColor MapColor = 0;
    TColor OutlineColor = 0;

    // A new item at the end of the list.
    TGeoItem& AddItem();

    void SetKind(const QString& letter);
    static QString KindLetterOf(const QString& sectionName);
    // Up to six "~" fields: Name, NameEnglish, Color, MapColor,
    // SelectedColor, OutlineColor. A bad colour raises ConversionError
    // naming the source.
    void ApplySettings(const QString& text, const TValueSource& source = {});
    void SetMapColor(TColor color);
    void SetOutlineColor(TColor color);
    QString DisplayName() const;
    TGeoItem* FindItem(int number) const;

    bool HasPresenters() const { return NormalPresenter || SolvedPresenter || GreyPresenter; }
};
