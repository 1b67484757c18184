#include "learning/MemoryPanel.h"

#include "learning/Flags.h"
#include "lesson/LessonTypes.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

namespace {

constexpr TColor kSilver = 0xC0C0C0;
constexpr TColor kPanel = 0xEEEEEE;

TColor faceColour(int state)
{
    switch (state) {
    case TMemoryPanel::Selected: return 0x8CFFFF; // light yellow
    case TMemoryPanel::Shown: return 0x00FF00;    // green
    default: return 0xFFFFFF;
    }
}

// The largest bold type, from the card's own size down, in which the
// caption fits the box; below the smallest one it is cut with an ellipsis.
QFont captionFont(const QString& text, const QRect& box, int largest)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    for (int px = largest; px >= 9; --px) {
        font.setPixelSize(px);
        const QRect needed = QFontMetrics(font).boundingRect(box, Qt::AlignCenter | Qt::TextWordWrap, text);
        if (needed.width() <= box.width() && needed.height() <= box.height())
            return font;
    }
    return font;
}

} // namespace

TMemoryPanel::TMemoryPanel(QWidget* board, TGeoItem& item) : QWidget(board), Item(item)
{
    setObjectName(QStringLiteral("MemoryCard"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TMemoryPanel::~TMemoryPanel() = default;

void TMemoryPanel::MakeFlagCard(const QString& description, const QString& pictureFolder)
{
    if (!m_flag) {
        m_flag = new TFlag(this);
        m_flag->setObjectName(QStringLiteral("Flag"));
        m_flag->hide(); // it paints into the card's face
    }
    m_flag->SetPictureFolder(pictureFolder);
    m_flag->SetFixedRatio(true);
    m_flag->SetDescription(description);
    m_faces = {};
    update();
}

void TMemoryPanel::SetOutline(QImage outline)
{
    m_isOutline = true;
    m_outline = std::move(outline);
    m_faces = {};
    update();
}

void TMemoryPanel::SetState(int state)
{
    if (state == m_state || state < OnBoard || state > Shown)
        return;
    // A found pair stays found; a card the tip shows only goes back.
    if (m_state == Removed || (m_state == Shown && state != OnBoard))
        return;
    const bool animate = isVisible() && TurnMs > 0;
    const QPixmap from = animate ? Face(m_state) : QPixmap();
    m_state = state;
    if (state == Removed) {
        if (animate) {
            m_folding = true;
            startTurn(from);
        } else {
            hide();
        }
    } else if (animate) {
        m_folding = false;
        startTurn(from);
    } else {
        update();
    }
    if (state == Selected && OnSelected)
        OnSelected(*this);
}

bool TMemoryPanel::Turning() const { return m_turn && m_turn->state() == QAbstractAnimation::Running; }

void TMemoryPanel::startTurn(const QPixmap& from)
{
    // A turn that is still running starts over from what the card shows now.
    m_from = from;
    if (!m_turn) {
        m_turn = new QVariantAnimation(this);
        m_turn->setStartValue(0.0);
        m_turn->setEndValue(1.0);
        connect(m_turn, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            m_progress = value.toDouble();
            update();
        });
        connect(m_turn, &QVariantAnimation::finished, this, [this] {
            m_progress = 1.0;
            m_from = QPixmap();
            if (m_folding) {
                m_folding = false;
                hide();
            }
            update();
        });
    }
    m_turn->stop();
    m_turn->setDuration(TurnMs);
    m_progress = 0.0;
    m_turn->start();
}

void TMemoryPanel::SetTurnProgress(double progress)
{
    m_progress = std::clamp(progress, 0.0, 1.0);
    if (m_from.isNull())
        m_from = Face(m_state == Selected ? OnBoard : Selected);
    update();
}

const QPixmap& TMemoryPanel::Face(int state)
{
    QPixmap& face = m_faces[static_cast<size_t>(std::clamp(state, 0, 3))];
    if (face.isNull() || face.deviceIndependentSize().toSize() != size())
        face = paintFace(state);
    return face;
}

QPixmap TMemoryPanel::paintFace(int state) const
{
    const qreal ratio = devicePixelRatioF();
    QPixmap face(size() * ratio);
    face.setDevicePixelRatio(ratio);
    const int w = width(), h = height();
    QPainter p(&face);
    // Shaded from silver into the face colour.
    QLinearGradient shade(0, 0, 0, h);
    shade.setColorAt(0, ToQColor(kSilver));
    shade.setColorAt(0.6, ToQColor(faceColour(state)));
    shade.setColorAt(1, ToQColor(faceColour(state)));
    p.fillRect(QRect(0, 0, w, h), shade);

    // Raised on the board, lowered while selected.
    const bool lowered = state == Selected;
    const QColor light(Qt::white), dark(0x80, 0x80, 0x80), darker(0x40, 0x40, 0x40);
    p.setPen(lowered ? darker : dark);
    p.drawRect(0, 0, w - 1, h - 1);
    p.setPen(lowered ? dark : light);
    p.drawLine(1, 1, w - 2, 1);
    p.drawLine(1, 1, 1, h - 2);
    p.setPen(lowered ? light : dark);
    p.drawLine(1, h - 2, w - 2, h - 2);
    p.drawLine(w - 2, 1, w - 2, h - 2);

    // A selected or shown card is framed in a deeper tone of its face, so
    // that it stands out even where a picture covers most of it.
    if (state == Selected || state == Shown) {
        p.setPen(QPen(state == Selected ? QColor(0xD8, 0xB0, 0x00) : QColor(0x00, 0xA0, 0x00), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3.5, 3.5, w - 7, h - 7));
    }

    const QPoint pressed = lowered ? QPoint(1, 1) : QPoint(0, 0);
    if (!m_outline.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(QPoint(8, 8) + pressed, QSize(w - 16, h - 16)), m_outline);
    }
    if (m_flag) {
        // The flag keeps 3 : 2 at its height; it is hidden, so its width is
        // set here rather than by its own resize handling.
        m_flag->resize(m_flag->width(), std::max(1, h - 10));
        m_flag->resize(m_flag->FlagWidth(), m_flag->height());
        const QPoint at((w - m_flag->width()) / 2, 5);
        m_flag->render(&p, at + pressed, QRegion(), QWidget::DrawChildren);
    }
    if (!Caption.isEmpty()) {
        const QRect box = QRect(6, 3, w - 12, h - 6).translated(pressed);
        p.setFont(captionFont(Caption, box, std::clamp(w * 12 / 150, 11, 20)));
        p.setPen(Qt::black);
        p.setClipRect(box); // a name too long even for the smallest type is cut
        p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, Caption);
    }
    return face;
}

void TMemoryPanel::PaintCard(QPainter& p)
{
    const int w = width(), h = height();
    p.fillRect(QRect(0, 0, w, h), ToQColor(kPanel));
    if (m_progress >= 1.0 || m_from.isNull()) {
        if (m_state != Removed)
            p.drawPixmap(0, 0, Face(m_state));
    } else if (m_folding) {
        // A found card shrinks to its centre and fades.
        const double s = 1.0 - m_progress;
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setOpacity(s);
        p.drawPixmap(QRectF(w * (1 - s) / 2, h * (1 - s) / 2, w * s, h * s), m_from, QRectF(m_from.rect()));
        p.setOpacity(1);
    } else {
        // Turning over: the old face narrows to the card's edge, the new one
        // opens from it, darker while it stands edge-on.
        const double t = m_progress;
        const QPixmap& face = t < 0.5 ? m_from : Face(m_state);
        const double sx = std::abs(std::cos(t * M_PI));
        const QRectF place(w * (1 - sx) / 2, 0, std::max(1.0, w * sx), h);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(place, face, QRectF(face.rect()));
        p.fillRect(place, QColor(0, 0, 0, static_cast<int>(70 * (1 - sx))));
    }
    if (hasFocus() && m_state != Removed && ShowsFocus && ShowsFocus()) {
        p.setPen(QPen(QColor(0x1F, 0x4E, 0x9E), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 3, w - 6, h - 6));
    }
}

void TMemoryPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    PaintCard(p);
}

void TMemoryPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && OnPressed) {
        OnPressed(*this, false);
        return;
    }
    QWidget::mousePressEvent(event);
}

void TMemoryPanel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~Qt::KeypadModifier)
            break;
        if (OnPressed)
            OnPressed(*this, true);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (event->modifiers() & ~Qt::KeypadModifier)
            break;
        if (OnArrowKey)
            OnArrowKey(*this, event->key());
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void TMemoryPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_faces = {}; // made again at the new size when next painted
}

void TMemoryPanel::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if ((event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) && OnTabbedTo)
        OnTabbedTo(*this);
    update();
}

void TMemoryPanel::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}
