#include "lesson/TGeoItem.h"

#include "i18n/MainDictionary.h"
#include "lesson/AnswerEdit.h"
#include "lesson/Geoobj.h"
#include "lesson/GlobeLink.h"
#include "lesson/LessonHooks.h"
#include "lesson/TKategorie.h"

#include <unordered_set>
#include <vector>

namespace {

constexpr TColor kPanelGrey = 0xEEEEEE;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kRightGreen = 0xD7FFD7;
constexpr TColor kRevealedYellow = 0xA6FFFB;
constexpr TColor kDisabledGrey = 0xC0C0C0;

// The walks below keep their way in a list instead of on the stack: a
// damaged index can make sub-item chains of any length.
bool containsDepthFirst(const TGeoItem& owner, const TGeoItem* item)
{
    std::unordered_set<const TGeoItem*> seen;
    std::vector<const TGeoItem*> pending{&owner};
    while (!pending.empty()) {
        const TGeoItem* at = pending.back();
        pending.pop_back();
        if (!seen.insert(at).second)
            continue;
        // Pushed in reverse, so that the first sub-item is searched first.
        for (auto sub = at->SubItems.rbegin(); sub != at->SubItems.rend(); ++sub) {
            if (*sub == item)
                return true;
            if (*sub)
                pending.push_back(*sub);
        }
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

bool TGeoItem::ContainsSubItem(const TGeoItem* item) const { return containsDepthFirst(*this, item); }

void TGeoItem::SetVisible(bool visible)
{
    // Every item the walk reaches ends up the same, so each is set once.
    std::unordered_set<TGeoItem*> seen;
    std::vector<TGeoItem*> pending{this};
    while (!pending.empty()) {
        TGeoItem* at = pending.back();
        pending.pop_back();
        if (!seen.insert(at).second)
            continue;
        at->Visible = visible;
        if (at->GeoObject)
            at->GeoObject->SetVisible(visible);
        for (auto sub = at->SubItems.rbegin(); sub != at->SubItems.rend(); ++sub)
            if (*sub)
                pending.push_back(*sub);
    }
}

void TGeoItem::UpdatePresentation(int mode)
{
    // Depth first, the look an item passes on reaching the items below it;
    // an item already on the way ends that branch, which ends cycles. The
    // country of a capital comes before the capital's own parts.
    struct Step {
        TGeoItem* item;
        int passOn;
        bool capitalDone;
        std::size_t next; // the sub-item to go to next
    };
    std::vector<Step> way;
    const auto enter = [&way](TGeoItem* item, int itemMode) {
        if (item->m_presentationWalk)
            return;
        const int passOn = item->presentOwnLook(itemMode);
        way.push_back({item, passOn, !(item->GeoObject && item->CapitalOf), 0});
        item->m_presentationWalk = true;
    };
    try {
        enter(this, mode);
        while (!way.empty()) {
            Step& step = way.back();
            if (!step.capitalDone) {
                step.capitalDone = true;
                enter(step.item->CapitalOf, step.passOn);
            } else if (step.next < step.item->SubItems.size()) {
                TGeoItem* sub = step.item->SubItems[step.next++];
                if (sub)
                    enter(sub, step.passOn);
            } else {
                step.item->m_presentationWalk = false;
                way.pop_back();
            }
        }
    } catch (...) {
        for (const Step& step : way)
            step.item->m_presentationWalk = false;
        throw;
    }
}

int TGeoItem::presentOwnLook(int mode)
{
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
    } else if (IsSolved()) {
        passOn = 2;
    }
    return passOn;
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
