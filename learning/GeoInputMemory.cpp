#include "learning/GeoInputMemory.h"

#include "i18n/LangDialogs.h"
#include "i18n/MainDictionary.h"
#include "learning/MemoryPanel.h"
#include "lesson/MemoryPairings.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "platform/Optionen.h"
#include "results/Ergebnis.h"

#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>

namespace {

constexpr int kGap = 5;
constexpr double kScaleStep = 0.05;

// Captions sort byte by byte, with a leading umlaut or ß read as its base
// letter, so that Österreich stands among the O's.
QString sortKey(const QString& caption)
{
    if (caption.isEmpty())
        return caption;
    static const QString from = QString::fromUtf8("ÜÄÖüäöß");
    static const QString to = QStringLiteral("UAOuaos");
    QString key = caption;
    if (const qsizetype i = from.indexOf(key[0]); i >= 0)
        key[0] = to[i];
    return key;
}

bool onBoard(const TMemoryPanel* card) { return card->State() != TMemoryPanel::Removed; }

} // namespace

TGeoInputMemory::TGeoInputMemory(QWidget* owner, TDaten& lesson)
    : TGeoInput(owner, lesson), m_board(new QWidget), m_tipTimer(new QTimer(this)), m_dealTimer(new QTimer(this)),
      m_outlineTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("GeoInputMemory"));
    // The game takes the whole view: the learning view hides the map.
    setMinimumWidth(0);
    setMaximumWidth(QWIDGETSIZE_MAX);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_board->setObjectName(QStringLiteral("Board"));
    m_board->setAutoFillBackground(false);
    setWidget(m_board);
    setWidgetResizable(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    TLernOptionen* options = lesson.LearnOptions.get();
    Pairing = options ? std::clamp(options->MemoryPairing, 0, MemoryPairings::kCount - 1) : 0;
    const MemoryPairings::CardKinds kinds = MemoryPairings::KindsOf(Pairing);
    UseCountry = kinds.Country;
    UseCapital = kinds.Capital;
    UseOutline = kinds.Outline;
    UseFlag = kinds.Flag;
    CardHeight = UseOutline ? 100 : UseFlag ? 70 : 35;
    // The map views load capitals only for the pairings that show them.
    if (options)
        options->Hauptstaedte = UseCapital;
    if (options && options->Options)
        m_pictureFolder = options->Options->DataFolder();

    m_tipTimer->setSingleShot(true);
    m_tipTimer->setInterval(TipMs);
    connect(m_tipTimer, &QTimer::timeout, this, [this] {
        for (TMemoryPanel* card : m_cards)
            card->SetState(TMemoryPanel::OnBoard);
    });
    connect(m_dealTimer, &QTimer::timeout, this, [this] { dealNext(); });
    // Outlines follow a change of scale once the window has settled.
    m_outlineTimer->setSingleShot(true);
    m_outlineTimer->setInterval(150);
    connect(m_outlineTimer, &QTimer::timeout, this, [this] { RenderOutlines(); });
    m_seed = NewSeed();
}

TGeoInputMemory::~TGeoInputMemory() = default;

std::unique_ptr<TErgebnis> TGeoInputMemory::CreateResult()
{
    std::unique_ptr<TErgebnis> result = TGeoInput::CreateResult();
    result->Recount = false; // the game counts itself
    return result;
}

QString TGeoInputMemory::ModeName() const { return MainDictionary().GetText(QStringLiteral("Memory")); }

bool TGeoInputMemory::hasOutline(const TGeoItem& item) const
{
    if (!m_renderOutline)
        return false;
    if (item.GeoObject)
        return true;
    return std::any_of(item.SubItems.begin(), item.SubItems.end(), [](const TGeoItem* sub) { return sub->GeoObject; });
}

QSize TGeoInputMemory::cardSize(double scale) const
{
    return {static_cast<int>(std::lround(CardWidth * scale)), static_cast<int>(std::lround(CardHeight * scale))};
}

QImage TGeoInputMemory::renderOutline(TGeoItem& item, QSize size)
{
    // The picture sits 8 pixels inside the card; the map's close-up is drawn
    // one pixel in from its edge, where the map frames it.
    QImage image(std::max(1, size.width() - 16), std::max(1, size.height() - 16), QImage::Format_RGB32);
    image.fill(QColor(0xEE, 0xEE, 0xEE));
    QPainter painter(&image);
    if (m_renderOutline)
        m_renderOutline(item, painter, image.rect().adjusted(1, 1, -1, -1));
    return image;
}

TMemoryPanel* TGeoInputMemory::newCard(TGeoItem& item)
{
    auto* card = new TMemoryPanel(m_board, item);
    card->hide(); // dealt one after the other
    card->resize(cardSize(m_scale));
    card->OnPressed = [this](TMemoryPanel& pressed, bool byKeyboard) { PressCard(pressed, byKeyboard); };
    card->OnSelected = [this](TMemoryPanel& selected) { cardSelected(selected); };
    card->OnArrowKey = [this](TMemoryPanel& from, int key) { moveFocus(from, key); };
    card->OnTabbedTo = [this](TMemoryPanel&) { m_keyboard = true; };
    card->ShowsFocus = [this] { return m_keyboard; };
    return card;
}

void TGeoInputMemory::Start()
{
    std::vector<TMemoryPanel*> mainList, secondList;
    bool flagCardMade = false;
    for (const auto& category : Lesson.Categories) {
        if (category->Kind != CategoryKind::Countries && category->Kind != CategoryKind::States)
            continue;
        for (const auto& owned : category->Items) {
            TGeoItem& item = *owned;
            if (item.State() == ItemState::ShowOnly || item.State() == ItemState::Deactivated)
                continue;
            if (UseCapital && (!item.Capital || item.Capital->DisplayName().isEmpty()))
                continue;
            if (UseFlag && item.FlagData.isEmpty())
                continue;
            // A card without a face could never be matched by sight.
            if ((UseCountry && item.DisplayName().isEmpty()) || (UseOutline && !hasOutline(item)))
                continue;
            if (UseFlag) {
                TMemoryPanel* card = newCard(item);
                card->MakeFlagCard(item.FlagData, m_pictureFolder);
                secondList.push_back(card);
                flagCardMade = true;
            }
            if (UseCapital) {
                TMemoryPanel* card = newCard(item);
                card->Caption = item.Capital->DisplayName();
                mainList.push_back(card);
            }
            if (UseCountry) {
                TMemoryPanel* card = newCard(item);
                card->Caption = item.DisplayName();
                mainList.push_back(card);
            }
            if (UseOutline) {
                TMemoryPanel* card = newCard(item);
                card->MakeOutlineCard();
                (UseFlag ? mainList : secondList).push_back(card);
            }
        }
    }
    if (UseFlag && !flagCardMade) {
        noPairs(QStringLiteral("noflags"));
        return;
    }
    if (mainList.empty()) {
        noPairs(QStringLiteral("nopairs"));
        return;
    }
    if (Pairing != MemoryPairings::OutlineFlag)
        std::stable_sort(mainList.begin(), mainList.end(), [](const TMemoryPanel* a, const TMemoryPanel* b) {
            return sortKey(a->Caption) < sortKey(b->Caption);
        });
    if (UseFlag || UseOutline) {
        std::mt19937 random(m_seed);
        std::shuffle(secondList.begin(), secondList.end(), random);
        std::vector<TMemoryPanel*> merged;
        merged.reserve(mainList.size() + secondList.size());
        for (size_t i = 0; i < std::max(mainList.size(), secondList.size()); ++i) {
            if (i < mainList.size())
                merged.push_back(mainList[i]);
            if (i < secondList.size())
                merged.push_back(secondList[i]);
        }
        mainList = std::move(merged);
    }
    m_cards = std::move(mainList);
    // Tab walks the board in the order the cards lie.
    for (size_t i = 1; i < m_cards.size(); ++i)
        QWidget::setTabOrder(m_cards[i - 1], m_cards[i]);
    if (Result)
        Result->StartMemory(static_cast<int>(m_cards.size()) / KindsPerPair);
    LayoutCards();
    // Outlines are drawn once, at the size the cards were given.
    m_outlineTimer->stop();
    RenderOutlines();
    // The cards appear one after the other.
    m_dealt = 0;
    if (DealStepMs > 0) {
        m_dealTimer->start(DealStepMs);
        dealNext();
    } else {
        while (m_dealt < m_cards.size())
            dealNext();
    }
}

void TGeoInputMemory::noPairs(const QString& key)
{
    MessageDlg(MainDictionary(), MainDictionary().GetText(key), MsgDlgType::mtError, mbOK);
    if (OnFinished)
        OnFinished();
}

bool TGeoInputMemory::Dealing() const { return m_dealt < m_cards.size(); }

void TGeoInputMemory::dealNext()
{
    // Many cards are dealt a few at a time, so that even a large board is
    // on the table within half a second.
    const size_t perStep = std::max<size_t>(1, m_cards.size() / 40);
    for (size_t n = 0; n < perStep && m_dealt < m_cards.size(); ++n) {
        TMemoryPanel* card = m_cards[m_dealt++];
        if (onBoard(card))
            card->show();
    }
    if (m_dealt < m_cards.size())
        return;
    m_dealTimer->stop();
    for (TMemoryPanel* card : m_cards)
        if (onBoard(card)) {
            card->setFocus(Qt::OtherFocusReason);
            break;
        }
}

// --------------------------------------------------------------- layout

int TGeoInputMemory::columns(int cardWidth, int boardWidth)
{
    return std::max(1, (boardWidth - kGap) / (cardWidth + kGap));
}

QSize TGeoInputMemory::placedSize(double scale, int boardWidth) const
{
    // The cards of a row share its width; they never get narrower than at
    // this scale.
    const QSize size = cardSize(scale);
    const int n = columns(size.width(), boardWidth);
    return {std::max(size.width(), (boardWidth - kGap * (n + 1)) / n), size.height()};
}

int TGeoInputMemory::boardHeight(double scale, int boardWidth) const
{
    const int n = columns(cardSize(scale).width(), boardWidth);
    const int rows = (CardsOnBoard() + n - 1) / n;
    return kGap + rows * (cardSize(scale).height() + kGap);
}

void TGeoInputMemory::LayoutCards()
{
    verticalScrollBar()->setValue(0);
    const int fullWidth = std::max(1, width() - 2 * frameWidth());
    const int fullHeight = std::max(1, height() - 2 * frameWidth());
    // The largest scale at which every card fits without scrolling; when not
    // even the base size does, the board scrolls and leaves room for the bar.
    double scale = 1.0;
    int boardWidth = fullWidth;
    if (boardHeight(1.0, fullWidth) <= fullHeight) {
        for (double s = kMaxScale; s > 1.0; s -= kScaleStep)
            if (boardHeight(s, fullWidth) <= fullHeight) {
                scale = s;
                break;
            }
    } else {
        boardWidth = std::max(1, fullWidth - verticalScrollBar()->sizeHint().width());
    }
    m_scale = scale;

    const QSize size = placedSize(m_scale, boardWidth);
    const int n = columns(cardSize(m_scale).width(), boardWidth);
    int column = 0, y = kGap;
    for (TMemoryPanel* card : m_cards) {
        if (!onBoard(card))
            continue;
        card->setGeometry(QRect(QPoint(kGap + column * (size.width() + kGap), y), size));
        if (++column == n) {
            column = 0;
            y += size.height() + kGap;
        }
    }
    m_board->resize(boardWidth, std::max(boardHeight(m_scale, boardWidth), fullHeight));
    if (UseOutline && std::any_of(m_cards.begin(), m_cards.end(), [&size](const TMemoryPanel* card) {
            return card->IsOutline() && onBoard(card) && card->Outline().size() != size - QSize(16, 16);
        }))
        m_outlineTimer->start();
}

void TGeoInputMemory::RenderOutlines(bool all)
{
    // Drawn at the size they are shown, so that they stay sharp.
    for (TMemoryPanel* card : m_cards)
        if (card->IsOutline() && onBoard(card) && (all || card->Outline().size() != card->size() - QSize(16, 16)))
            card->SetOutline(renderOutline(card->Item, card->size()));
}

void TGeoInputMemory::resizeEvent(QResizeEvent* event)
{
    TGeoInput::resizeEvent(event);
    LayoutCards();
}

// ------------------------------------------------------------ selecting

int TGeoInputMemory::CardsOnBoard() const
{
    return static_cast<int>(std::count_if(m_cards.begin(), m_cards.end(), onBoard));
}

std::vector<TMemoryPanel*> TGeoInputMemory::SelectedCards() const
{
    std::vector<TMemoryPanel*> selected;
    for (TMemoryPanel* card : m_cards)
        if (card->State() == TMemoryPanel::Selected || card->State() == TMemoryPanel::Shown)
            selected.push_back(card);
    return selected;
}

void TGeoInputMemory::PressCard(TMemoryPanel& card, bool byKeyboard)
{
    if (m_keyboard != byKeyboard) {
        m_keyboard = byKeyboard;
        if (QWidget* focused = m_board->focusWidget())
            focused->update();
    }
    // While a pair is judged the board waits; a card not yet dealt or
    // already found cannot be pressed.
    if (m_judging || !onBoard(&card) || card.isHidden())
        return;
    if (card.State() == TMemoryPanel::OnBoard)
        card.SetState(TMemoryPanel::Selected); // reports back through cardSelected
    else
        card.SetState(TMemoryPanel::OnBoard);
}

void TGeoInputMemory::cardSelected(TMemoryPanel& pressed)
{
    m_selected = SelectedCards();
    if (m_selected.size() > KindsPerPair) {
        pressed.SetState(TMemoryPanel::OnBoard);
        m_selected = SelectedCards();
    }
    if (m_selected.size() != KindsPerPair)
        return;
    // The learner sees the second card turn before the pair is judged.
    m_judging = true;
    if (JudgeDelayMs <= 0) {
        judge(&pressed);
        return;
    }
    QPointer<TMemoryPanel> card(&pressed);
    QTimer::singleShot(JudgeDelayMs, this, [this, card] { judge(card); });
}

void TGeoInputMemory::judge(TMemoryPanel* pressed)
{
    m_judging = false;
    if (!pressed || m_selected.size() != KindsPerPair)
        return;
    const bool pair = std::all_of(m_selected.begin(), m_selected.end(),
                                  [pressed](const TMemoryPanel* card) { return &card->Item == &pressed->Item; });
    if (pair)
        ShowRight(false);
    else
        ShowWrong();
}

void TGeoInputMemory::ShowRight(bool)
{
    m_tipTimer->stop();
    if (Result)
        Result->PairFound();
    const std::vector<TMemoryPanel*> found = std::exchange(m_selected, {});
    for (TMemoryPanel* card : found) {
        if (card->hasFocus())
            focusNextAfter(*card);
        card->SetState(TMemoryPanel::Removed);
    }
    for (TMemoryPanel* card : found)
        card->Item.SetState(ItemState::Right);
    if (CardsOnBoard() == 0 && OnFinished)
        OnFinished();
}

void TGeoInputMemory::ShowWrong()
{
    m_tipTimer->stop();
    if (Result)
        Result->WrongAttempt();
    const std::vector<TMemoryPanel*> tried = std::exchange(m_selected, {});
    if (!tried.empty())
        tried.front()->Item.SetState(ItemState::WrongNotify);
    for (TMemoryPanel* card : m_cards)
        card->SetState(TMemoryPanel::OnBoard);
}

void TGeoInputMemory::Tip()
{
    if (m_judging)
        return;
    for (TMemoryPanel* card : m_cards)
        card->SetState(TMemoryPanel::OnBoard);
    std::vector<TMemoryPanel*> remaining;
    std::copy_if(m_cards.begin(), m_cards.end(), std::back_inserter(remaining), onBoard);
    if (remaining.empty())
        return; // nothing left to show
    std::mt19937 random(NewSeed());
    std::uniform_int_distribution<size_t> pick(0, remaining.size() - 1);
    const TGeoItem& item = remaining[pick(random)]->Item;
    for (TMemoryPanel* card : remaining)
        if (&card->Item == &item)
            card->SetState(TMemoryPanel::Shown);
    m_tipTimer->start(TipMs);
}

// ------------------------------------------------------------- keyboard

void TGeoInputMemory::moveFocus(TMemoryPanel& from, int key)
{
    if (!m_keyboard) {
        m_keyboard = true;
        from.update();
    }
    std::vector<TMemoryPanel*> cards;
    for (TMemoryPanel* card : m_cards)
        if (onBoard(card) && !card->isHidden())
            cards.push_back(card);
    const auto at = std::find(cards.begin(), cards.end(), &from);
    if (cards.empty() || at == cards.end())
        return;
    TMemoryPanel* target = nullptr;
    switch (key) {
    case Qt::Key_Left:
        target = at == cards.begin() ? nullptr : *(at - 1);
        break;
    case Qt::Key_Right:
        target = at + 1 == cards.end() ? nullptr : *(at + 1);
        break;
    case Qt::Key_Home:
        target = cards.front();
        break;
    case Qt::Key_End:
        target = cards.back();
        break;
    default: {
        // The nearest row above or below, and in it the card nearest in column.
        const bool up = key == Qt::Key_Up;
        const int y = from.y();
        int rowY = up ? INT_MIN : INT_MAX;
        for (TMemoryPanel* card : cards)
            if (up ? (card->y() < y && card->y() > rowY) : (card->y() > y && card->y() < rowY))
                rowY = card->y();
        const int centre = from.geometry().center().x();
        int best = INT_MAX;
        for (TMemoryPanel* card : cards)
            if (card->y() == rowY && std::abs(card->geometry().center().x() - centre) < best) {
                best = std::abs(card->geometry().center().x() - centre);
                target = card;
            }
    }
    }
    if (!target)
        return;
    target->setFocus(Qt::OtherFocusReason);
    ensureWidgetVisible(target, 0, kGap);
    from.update();
}

void TGeoInputMemory::focusNextAfter(TMemoryPanel& removed)
{
    const auto at = std::find(m_cards.begin(), m_cards.end(), &removed);
    auto usable = [&removed](TMemoryPanel* card) {
        return card != &removed && onBoard(card) && !card->isHidden() && &card->Item != &removed.Item;
    };
    auto next = std::find_if(at, m_cards.end(), usable);
    if (next == m_cards.end()) {
        const auto before = std::find_if(std::make_reverse_iterator(at), m_cards.rend(), usable);
        if (before == m_cards.rend())
            return;
        (*before)->setFocus(Qt::OtherFocusReason);
        return;
    }
    (*next)->setFocus(Qt::OtherFocusReason);
}
