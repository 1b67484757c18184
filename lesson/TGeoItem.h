#pragma once

#include "lesson/LessonTypes.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class IAnswerEdit;
class IInsetPicture;
class ILessonGlobeObject;
class TKategorie;

// One geographical term of a lesson, held by its category.
class TGeoItem {
public:
    // Sub-items come from the geographic index and may name each other
    // without end; no real term is made of deeper levels than these.
    static constexpr int MaxSubItemDepth = 16;

    explicit TGeoItem(TKategorie* category);
    ~TGeoItem();
    TGeoItem(const TGeoItem&) = delete;
    TGeoItem& operator=(const TGeoItem&) = delete;

    TKategorie* Category; // the category whose list holds the item
    int Number = 0;
    QStringList NamesGerman;
    QStringList NamesEnglish;
    QStringList NamesOther; // always judged with spelling tolerance
    QString MatchedName;
    QString Question;
    int AskCount = 0;
    ILessonGlobeObject* GeoObject = nullptr; // owned by the category's layer
    bool Visible = false;
    TGeoItem* Capital = nullptr;
    TGeoItem* CapitalOf = nullptr;
    int CapitalId = -1;
    int Area = 0;
    QString FlagData;
    QString SubItemRefs;
    int SubItemLimit = -1;
    std::vector<TGeoItem*> SubItems; // not owned: they belong to their own categories
    bool Auxiliary = false;
    QString Region;
    std::unique_ptr<IInsetPicture> InsetPicture;

    ItemState State() const { return m_state; }
    IAnswerEdit* AnswerEdit() const { return m_answerEdit; }

    QString DisplayName() const;
    QString QuestionText() const;
    bool IsDependent() const;
    bool IsSolved() const;
    bool ContainsSubItem(const TGeoItem* item) const;

    void SetVisible(bool visible);
    // Mode 0 normal, 1 force grey, 2 force solved.
    void UpdatePresentation(int mode);
    void SetState(ItemState requested);
    void ShowNameInEdit(bool reveal);
    void BindEdit(IAnswerEdit* edit);
    AnswerResult CheckAnswer(const QString& answer);

private:
    void applyEditColors();
    // Switches the item's own object to the look of the mode and returns
    // the mode its sub-items and its country get.
    int presentOwnLook(int mode);

    ItemState m_state = ItemState::Open;
    IAnswerEdit* m_answerEdit = nullptr;
    // Sub-item lists come from data files and may form cycles; this marks
    // the items on the way of the current presentation walk, so that a
    // cycle ends it.
    bool m_presentationWalk = false;
};
