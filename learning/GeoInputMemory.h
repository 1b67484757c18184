#pragma once

#include "learning/GeoInput.h"

#include <functional>
#include <vector>

class QPainter;
class QTimer;
class TMemoryPanel;

// The memory game: cards of the lesson's countries and states lie face up
// on a board; the learner turns two, a matching pair disappears. The pairing
// (country – capital, country – flag, country – outline, outline – capital,
// outline – flag) comes from the learning options. The game counts itself:
// Total starts at the number of pairs and grows with every wrong attempt,
// Correct grows with every pair found.
class TGeoInputMemory : public TGeoInput {
public:
    TGeoInputMemory(QWidget* owner, TDaten& lesson);
    ~TGeoInputMemory() override;

    // Draws an item's outline into a rectangle of a painter: the map view's
    // RenderItem, handed over by the learning view. Without it there are no
    // outline cards.
    using OutlineRenderer = std::function<void(TGeoItem& item, QPainter& painter, const QRect& rect)>;
    void SetOutlineRenderer(OutlineRenderer renderer) { m_renderOutline = std::move(renderer); }

    // The card kinds of the pairing.
    bool UseCountry = false;
    bool UseCapital = false;
    bool UseOutline = false;
    bool UseFlag = false;
    int Pairing = 0;
    static constexpr int CardWidth = 150;
    int CardHeight = 35; // 70 with flags, 100 with outlines
    static constexpr int KindsPerPair = 2;

    void Start() override;
    void Tip() override;
    std::unique_ptr<TErgebnis> CreateResult() override;
    QString ModeName() const override;
    void ShowRight(bool almost) override;
    void ShowWrong() override;

    // A press on a card: selects one on the board, returns a selected or
    // shown one. Ignored while a pair is being judged.
    void PressCard(TMemoryPanel& card, bool byKeyboard = false);
    // Draws the outline of every outline card on the board at the card's
    // size: those whose outline has another size, or all of them.
    void RenderOutlines(bool all = false);
    // Places the cards still on the board, row by row, at the scale that
    // fits the board, the cards of a row filling its width (scrolled to the
    // top).
    void LayoutCards();

    QWidget* Board() const { return m_board; }
    // Every card in board order (children of the board).
    const std::vector<TMemoryPanel*>& Cards() const { return m_cards; }
    int CardsOnBoard() const;
    // The cards on the board that are selected or shown, in board order.
    std::vector<TMemoryPanel*> SelectedCards() const;
    // How much larger than their base size the cards are drawn, 1 … kMaxScale:
    // few cards in a large window grow until the board is filled.
    double Scale() const { return m_scale; }
    static constexpr double kMaxScale = 1.6;
    bool Judging() const { return m_judging; }
    bool Dealing() const;
    QTimer* TipTimer() const { return m_tipTimer; }

    // The wait before a pair is judged (0: at once), the tip's duration and
    // the pause between cards while they are dealt (0: all at once).
    static inline int JudgeDelayMs = 200;
    static inline int TipMs = 700;
    static inline int DealStepMs = 12;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TMemoryPanel* newCard(TGeoItem& item);
    bool hasOutline(const TGeoItem& item) const;
    QImage renderOutline(TGeoItem& item, QSize cardSize);
    void cardSelected(TMemoryPanel& pressed);
    void judge(TMemoryPanel* pressed);
    void moveFocus(TMemoryPanel& from, int key);
    void focusNextAfter(TMemoryPanel& removed);
    void dealNext();
    QSize cardSize(double scale) const;
    static int columns(int cardWidth, int boardWidth);
    QSize placedSize(double scale, int boardWidth) const;
    int boardHeight(double scale, int boardWidth) const;
    void noPairs(const QString& key);

    QWidget* m_board;
    std::vector<TMemoryPanel*> m_cards;
    std::vector<TMemoryPanel*> m_selected;
    QTimer* m_tipTimer;
    QTimer* m_dealTimer;
    QTimer* m_outlineTimer;
    size_t m_dealt = 0;
    OutlineRenderer m_renderOutline;
    QString m_pictureFolder;
    double m_scale = 1.0;
    bool m_judging = false;
    bool m_keyboard = false; // the learner moves with the keys: show the focus
    unsigned m_seed = 0;
};
