#pragma once

#include "lesson/AnswerEdit.h"

#include <QLineEdit>
#include <functional>

class TGeoItem;

// The answer field of one lesson item: judged while it is typed, rewritten
// to the matched spelling when left, read-only once its answer was revealed.
class TGeoEdit : public QLineEdit, public IAnswerEdit {
public:
    explicit TGeoEdit(QWidget* parent = nullptr);
    ~TGeoEdit() override;

    // Binds the field and the item to each other; the field takes the
    // item's state colour at once.
    void Bind(TGeoItem* item);
    TGeoItem* Item() const { return m_item; }

    std::function<void(TGeoEdit&)> OnFocused;
    // While set, a mouse press on the field goes here instead.
    std::function<void(TGeoEdit&)> OnPressed;

    void SetTextSilently(const QString& text) override;
    void SetColors(TColor unfocused, TColor focused) override;
    void SetEnabled(bool enabled) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool Revealed() const;
    void UpdateBackground();

    TGeoItem* m_item = nullptr;
    QColor m_unfocused{0xEE, 0xEE, 0xEE};
    QColor m_focused{Qt::white};
    bool m_hover = false;
};
