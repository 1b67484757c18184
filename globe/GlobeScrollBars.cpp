#include "globe/GlobeScrollBars.h"

#include <QScrollBar>
#include <QWidget>

TGlobeScrollBars::TGlobeScrollBars(QWidget& owner, ActionHandler onAction)
    : m_owner(owner),
      m_horizontal(new QScrollBar(Qt::Horizontal, &owner)),
      m_vertical(new QScrollBar(Qt::Vertical, &owner)),
      m_corner(new QWidget(&owner))
{
    for (QScrollBar* bar : {m_horizontal, m_vertical}) {
        bar->hide();
        bar->setEnabled(false);
        bar->setFocusPolicy(Qt::NoFocus);
        QObject::connect(bar, &QAbstractSlider::actionTriggered, &owner,
                         [bar, onAction](int action) { onAction(bar->orientation(), action); });
    }
    // The square between two bars, in the window colour as scroll areas have it.
    m_corner->setAutoFillBackground(true);
    m_corner->setBackgroundRole(QPalette::Window);
    m_corner->hide();
}

void TGlobeScrollBars::SetStyle(TScrollStyle style)
{
    m_style = style;
    Place();
}

bool TGlobeScrollBars::Shown(Qt::Orientation orientation) const
{
    if (!m_owner.parentWidget())
        return false;
    return orientation == Qt::Horizontal ? (m_style == ssHorizontal || m_style == ssBoth)
                                         : (m_style == ssVertical || m_style == ssBoth);
}

QScrollBar& TGlobeScrollBars::Bar(Qt::Orientation orientation) const
{
    return orientation == Qt::Horizontal ? *m_horizontal : *m_vertical;
}

QSize TGlobeScrollBars::ClientSize() const
{
    QSize size = m_owner.size();
    if (Shown(Qt::Vertical))
        size.rwidth() -= m_vertical->sizeHint().width();
    if (Shown(Qt::Horizontal))
        size.rheight() -= m_horizontal->sizeHint().height();
    return size.expandedTo(QSize(0, 0));
}

void TGlobeScrollBars::Place()
{
    const QSize client = ClientSize();
    const bool horizontal = Shown(Qt::Horizontal), vertical = Shown(Qt::Vertical);
    m_horizontal->setGeometry(0, client.height(), client.width(), m_owner.height() - client.height());
    m_vertical->setGeometry(client.width(), 0, m_owner.width() - client.width(), client.height());
    m_corner->setGeometry(client.width(), client.height(), m_owner.width() - client.width(),
                          m_owner.height() - client.height());
    m_horizontal->setVisible(horizontal);
    m_vertical->setVisible(vertical);
    m_corner->setVisible(horizontal && vertical);
}
