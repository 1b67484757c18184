#include "editor/ColourButton.h"

#include "platform/Dialogs.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionToolButton>

namespace {

// The basic colours in the order of the usual colour box: dark ones first.
constexpr TColor kBasicColours[] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
                                    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

TColor fromQColor(const QColor& c) { return (c.blue() << 16) | (c.green() << 8) | c.red(); }

// One field of the choice: a square of its colour.
class Swatch : public QToolButton {
public:
    Swatch(TColor colour, QWidget* parent) : QToolButton(parent), Colour(colour)
    {
        setFixedSize(20, 20);
        setAutoRaise(true);
        setObjectName(QStringLiteral("Swatch%1").arg(colour, 6, 16, QLatin1Char('0')));
    }
    const TColor Colour;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), underMouse() || hasFocus() ? QColor(0x80, 0x80, 0x80) : QColor(0xEE, 0xEE, 0xEE));
        p.fillRect(rect().adjusted(3, 3, -3, -3), ToQColor(Colour));
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawRect(rect().adjusted(3, 3, -4, -4));
    }
};

} // namespace

ColourButton::ColourButton(const QString& objectName, QWidget* parent) : QToolButton(parent)
{
    setObjectName(objectName);
    setAutoRaise(true);
    setFixedHeight(25);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QToolButton::clicked, this, [this] { ShowChoice(); });
}

void ColourButton::SetColor(TColor color)
{
    m_color = color & 0xFFFFFF;
    update();
}

void ColourButton::SetOtherCaption(const QString& caption)
{
    m_otherCaption = caption;
    if (m_choice)
        if (auto* other = m_choice->findChild<QPushButton*>(QStringLiteral("Other")))
            other->setText(caption);
}

QFrame* ColourButton::Choice()
{
    if (m_choice)
        return m_choice;
    m_choice = new QFrame(this, Qt::Popup);
    m_choice->setObjectName(QStringLiteral("ColourChoice"));
    m_choice->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_choice->setAutoFillBackground(true);
    QPalette pal = m_choice->palette();
    pal.setColor(QPalette::Window, QColor(0xEE, 0xEE, 0xEE));
    m_choice->setPalette(pal);
    auto* grid = new QGridLayout(m_choice);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(1);
    int n = 0;
    for (const TColor colour : kBasicColours) {
        auto* swatch = new Swatch(colour, m_choice);
        grid->addWidget(swatch, n / 4, n % 4);
        ++n;
        connect(swatch, &QToolButton::clicked, this, [this, colour] {
            m_choice->hide();
            SetColor(colour);
        });
    }
    auto* other = new QPushButton(m_otherCaption, m_choice);
    other->setObjectName(QStringLiteral("Other"));
    grid->addWidget(other, 4, 0, 1, 4);
    connect(other, &QPushButton::clicked, this, [this] {
        m_choice->hide();
        ChooseOther();
    });
    return m_choice;
}

void ColourButton::ShowChoice()
{
    QFrame* choice = Choice();
    choice->adjustSize();
    choice->move(mapToGlobal(QPoint(0, height())));
    choice->show();
}

void ColourButton::ChooseOther()
{
    QColorDialog dialog(ToQColor(m_color), window());
    dialog.setObjectName(QStringLiteral("ColourDialog"));
    if (ExecModal(dialog) == QDialog::Accepted && dialog.selectedColor().isValid())
        SetColor(fromQColor(dialog.selectedColor()));
}

void ColourButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const bool active = isEnabled() && (underMouse() || hasFocus() || isDown());
    if (active) {
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.setBrush(QColor(0xFF, 0xFF, 0xFF, 110));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    const QRect swatch = rect().adjusted(5, 5, -18, -5);
    p.fillRect(swatch, ToQColor(m_color));
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(Qt::NoBrush);
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
    // The arrow of a drop-down choice.
    const int x = width() - 13, y = height() / 2 - 2;
    p.setPen(Qt::NoPen);
    p.setBrush(isEnabled() ? QColor(0x34, 0x49, 0x5e) : QColor(0x80, 0x80, 0x80));
    const QPoint arrow[] = {{x, y}, {x + 7, y}, {x + 3, y + 4}};
    p.setRenderHint(QPainter::Antialiasing);
    p.drawPolygon(arrow, 3);
}
