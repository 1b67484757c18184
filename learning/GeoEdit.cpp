#include "learning/GeoEdit.h"

#include "lesson/TGeoItem.h"

#include <QKeyEvent>
#include <QPainter>

TGeoEdit::TGeoEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(3, 0, 3, 0);
    QPalette pal = palette();
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_item && !Revealed())
            m_item->CheckAnswer(text);
    });
    UpdateBackground();
}

TGeoEdit::~TGeoEdit()
{
    if (m_item && m_item->AnswerEdit() == this)
        m_item->BindEdit(nullptr);
}

void TGeoEdit::Bind(TGeoItem* item)
{
    m_item = item;
    if (item)
        item->BindEdit(this);
}

bool TGeoEdit::Revealed() const { return m_item && m_item->State() == ItemState::Revealed; }

void TGeoEdit::SetTextSilently(const QString& text)
{
    const QSignalBlocker block(this);
    setText(text);
    deselect();
}

void TGeoEdit::SetColors(TColor unfocused, TColor focused)
{
    m_unfocused = ToQColor(unfocused);
    m_focused = ToQColor(focused);
    // The item tells every state change here: a revealed answer stays as it is.
    setReadOnly(Revealed());
    UpdateBackground();
}

void TGeoEdit::SetEnabled(bool enabled) { setEnabled(enabled); }

void TGeoEdit::UpdateBackground()
{
    QPalette pal = palette();
    const QColor background = (hasFocus() || m_hover) ? m_focused : m_unfocused;
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Disabled, QPalette::Base, background);
    pal.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    setPalette(pal);
}

void TGeoEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        focusNextChild();
        return; // Enter is swallowed, no beep
    case Qt::Key_Up:
        focusPreviousChild();
        return;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

void TGeoEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    UpdateBackground();
    if (OnFocused)
        OnFocused(*this);
}

void TGeoEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (m_item && m_item->State() == ItemState::Right)
        SetTextSilently(m_item->MatchedName);
    UpdateBackground();
}

void TGeoEdit::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    UpdateBackground();
    QLineEdit::enterEvent(event);
}

void TGeoEdit::leaveEvent(QEvent* event)
{
    m_hover = false;
    UpdateBackground();
    QLineEdit::leaveEvent(event);
}

void TGeoEdit::mousePressEvent(QMouseEvent* event)
{
    if (OnPressed) {
        OnPressed(*this);
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TGeoEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
