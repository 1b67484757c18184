#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

class QVariantAnimation;
class TFlag;
class TGeoItem;

// One card of the memory game: a name, a flag or an outline of the item it
// stands for (its pair partner stands for the same item). The card is one
// picture, painted from a cached face per state; a change of state turns the
// card over (it narrows to its edge and opens again with the new face), and
// a found card folds away.
class TMemoryPanel : public QWidget {
public:
    enum CardState : int {
        OnBoard = 0,  // white face, raised
        Selected = 1, // light yellow face, lowered
        Removed = 2,  // pair found: hidden
        Shown = 3,    // green face, raised: shown by the tip
    };

    TMemoryPanel(QWidget* board, TGeoItem& item);
    ~TMemoryPanel() override;

    TGeoItem& Item;
    QString Caption;

    // A flag card shows the description at the card's height less 10, 3 : 2,
    // centred, 5 from the top. Emblems are read from `pictureFolder`.
    void MakeFlagCard(const QString& description, const QString& pictureFolder);
    bool IsFlag() const { return m_flag != nullptr; }
    TFlag* Flag() const { return m_flag; }
    // An outline card shows its picture 8 pixels in from the top left; the
    // picture is drawn for the card's size once the card is placed.
    void MakeOutlineCard() { m_isOutline = true; }
    void SetOutline(QImage outline);
    bool IsOutline() const { return m_isOutline; }
    const QImage& Outline() const { return m_outline; }

    int State() const { return m_state; }
    // From Shown only OnBoard is accepted, the current state again changes
    // nothing; entering Selected reports the card through OnSelected.
    void SetState(int state);
    bool OnTheBoard() const { return m_state != Removed; }

    std::function<void(TMemoryPanel& card)> OnSelected;
    // A left mouse press, or Space or Enter on the focused card.
    std::function<void(TMemoryPanel& card, bool byKeyboard)> OnPressed;
    // An arrow key, Home or End on the focused card.
    std::function<void(TMemoryPanel& card, int key)> OnArrowKey;
    // The card got the focus by Tab or Backtab.
    std::function<void(TMemoryPanel& card)> OnTabbedTo;
    // Whether the focused card shows its focus frame (the learner uses the keyboard).
    std::function<bool()> ShowsFocus;

    // How long a card takes to turn over or fold away; 0 turns at once.
    static inline int TurnMs = 180;
    bool Turning() const;
    // Progress of the running turn, 0 … 1 (1 when none runs).
    double TurnProgress() const { return m_progress; }
    // Where a running turn stands, for the pictures and the benchmark.
    void SetTurnProgress(double progress);

    // Paints the card as it looks now (the face of its state, or a stage of
    // its turn) into a painter whose origin is the card's top left.
    void PaintCard(QPainter& painter);
    // The face of a state at the card's size, made once per size.
    const QPixmap& Face(int state);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void startTurn(const QPixmap& from);
    QPixmap paintFace(int state) const;

    int m_state = OnBoard;
    TFlag* m_flag = nullptr; // a hidden child that paints into the face
    QImage m_outline;
    bool m_isOutline = false;
    std::array<QPixmap, 4> m_faces;
    QPixmap m_from; // the face the running turn started from
    bool m_folding = false;
    double m_progress = 1.0;
    QVariantAnimation* m_turn = nullptr;
};
