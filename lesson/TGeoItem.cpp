#include "lesson/TGeoItem.h"

#include "i18n/MainDictionary.h"
#include "lesson/AnswerEdit.h"
#include "lesson/Geoobj.h"
#include "lesson/GlobeLink.h"
#include "lesson/LessonHooks.h"
#include "lesson/TKategorie.h"

#include <unordered_set>

namespace {

constexpr TColor kPanelGrey = 0xEEEEEE;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kRightGreen = 0xD7FFD7;
constexpr TColor kRevealedYellow = 0xA6FFFB;
constexpr TColor kDisabledGrey = 0xC0C0C0;

// Sets a flag for the length of a walk.
class WalkMark {
public:
    explicit WalkMark(bool& flag) : m_flag(flag) { m_flag = true; }
    ~WalkMark() { m_flag = false; }

private:
    bool& m_flag;
};

bool containsDepthFirst(const TGeoItem& owner, const TGeoItem* item, std::unordered_set<const TGeoItem*>& seen)
{
    if (!seen.insert(&owner).second)
        return false;
    for (const TGeoItem* sub : owner.SubItems) {
        if (sub == item)
            return true;
        if (sub && containsDepthFirst(*sub, item, seen))
            return true;
    }
    return false;
}

AnswerResult matchAny(const QStringList& names, const QString& answer, bool tolerant, QString& matched)
{
    for (const QString& name : names) {
        const AnswerResult result = CompareAnswer(answer, name, tolerant);
        if (result != AnswerResult::Wrong) {
            matched = name;
            return result;
        }
    }
    return AnswerResult::Wrong;
}

} // namespace

TGeoItem::TGeoItem(TKategorie* category) : Category(category) {}

TGeoItem::~TGeoItem() = default;

QString TGeoItem::DisplayName() const
{
    if (MainDictionary().ActiveLanguage() == 3 && !NamesEnglish.isEmpty())
        return NamesEnglish.first();
    if (!NamesGerman.isEmpty() && !NamesGerman.first().isEmpty())
        return NamesGerman.first();
    return NamesEnglish.value(0);
}

QString TGeoItem::QuestionText() const
{
    if (!Question.isEmpty())
        return Question;
    const QString article = Category ? Category->Article : QString();
    const QString singular = Category ? Category->Singular : QString();
    return FormatText(MainDictionary().GetText(QStringLiteral("format_frage")), {article, singular});
}

bool TGeoItem::IsDependent() const { return CapitalOf != nullptr || m_state == ItemState::Dependent; }

bool TGeoItem::IsSolved() const
{
    return m_state == ItemState::Right && (!Capital || Capital->State() == ItemState::Right) &&
           (!CapitalOf || CapitalOf->State() == ItemState::Right);
}

bool TGeoItem::ContainsSubItem(const TGeoItem* item) const
{
    std::unordered_set<const TGeoItem*> seen;
    return containsDepthFirst(*this, item, seen);
}

void TGeoItem::SetVisible(bool visible)
{
    if (m_visibilityWalk)
        return;
    WalkMark mark(m_visibilityWalk);
    Visible = visible;
    if (GeoObject)
        GeoObject->SetVisible(visible);
    for (TGeoItem* sub : SubItems)
        if (sub)
            sub->SetVisible(visible);
}

void TGeoItem::UpdatePresentation(int mode)
{
    if (m_presentationWalk)
        return;
    WalkMark mark(m_presentationWalk);
    int passOn = mode;
    if (GeoObject) {
        ILessonPresenter* presenter = nullptr;
        if (mode == 1 || m_state == ItemState::Deactivated) {
            passOn = 1;
            presenter = Category ? Category->GreyPresenter : nullptr;
        } else if (mode == 2 || IsSolved()) {
            passOn = 2;
            presenter = Category ? Category->SolvedPresenter : nullptr;
        } else {
            passOn = 3;
            presenter = Category ? Category->NormalPresenter : nullptr;
        }
        if (presenter)
            GeoObject->SetPresenterId(presenter->PresenterId());
        if (CapitalOf)
            CapitalOf->UpdatePresentation(passOn);
    } else if (IsSolved()) {
        passOn = 2;
    }
    for (TGeoItem* sub : SubItems)
        if (sub)
            sub->UpdatePresentation(passOn);
}

void TGeoItem::SetState(ItemState requested)
{
    if (requested != m_state) {
        const bool locked = m_state == ItemState::Revealed ||
                            (requested == ItemState::Revealed && m_state == ItemState::Right);
        // WrongNotify is a request, never a state: it lands as Wrong.
        if (!locked)
            m_state = requested == ItemState::WrongNotify ? ItemState::Wrong : requested;
        UpdatePresentation(0);
        LessonHooks::NotifyStateObserver(*this);
    }
    if (requested == ItemState::WrongNotify) {
        m_state = ItemState::Wrong;
        LessonHooks::NotifyStateObserver(*this);
    }
    if (requested == ItemState::Dependent)
        SetVisible(!IsDependent());
    applyEditColors();
}

void TGeoItem::applyEditColors()
{
    if (!m_answerEdit)
        return;
    switch (m_state) {
    case ItemState::Open:
    case ItemState::Wrong:
        m_answerEdit->SetColors(kPanelGrey, kWhite);
        break;
    case ItemState::Right:
        m_answerEdit->SetColors(kRightGreen, kRightGreen);
        break;
    case ItemState::Revealed:
        m_answerEdit->SetColors(kRevealedYellow, kRevealedYellow);
        break;
    case ItemState::Deactivated:
        ShowNameInEdit(false);
        m_answerEdit->SetColors(kDisabledGrey, kDisabledGrey);
        m_answerEdit->SetEnabled(false);
        break;
    default:
        break;
    }
}

void TGeoItem::ShowNameInEdit(bool reveal)
{
    if (m_answerEdit)
        m_answerEdit->SetTextSilently(DisplayName());
    if (reveal)
        SetState(ItemState::Revealed);
}

void TGeoItem::BindEdit(IAnswerEdit* edit)
{
    m_answerEdit = edit;
    applyEditColors();
}

AnswerResult TGeoItem::CheckAnswer(const QString& answer)
{
    const bool tolerant = LessonHooks::SpellingTolerance();
    QString matched;
    AnswerResult result = AnswerResult::Wrong;
    // An answer that is empty once the separators are gone says nothing.
    if (!NormaliseAnswer(answer).isEmpty()) {
        result = matchAny(NamesGerman, answer, tolerant, matched);
        if (result == AnswerResult::Wrong)
            result = matchAny(NamesEnglish, answer, tolerant, matched);
        if (result == AnswerResult::Wrong)
            result = matchAny(NamesOther, answer, true, matched);
    }
    if (result != AnswerResult::Wrong)
        MatchedName = matched;
    SetState(result == AnswerResult::Wrong ? ItemState::Wrong : ItemState::Right);
    return result;
}
