#include "learning/GeoInput.h"

#include "results/Ergebnis.h"

#include <QDateTime>

TGeoInput::TGeoInput(QWidget* owner, TDaten& lesson) : QScrollArea(owner), Lesson(lesson)
{
    setFixedWidth(200);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    // The panel is narrow: it scrolls up and down, never sideways.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xEE, 0xEE, 0xEE));
    setPalette(pal);
    setBackgroundRole(QPalette::Window);
}

std::unique_ptr<TErgebnis> TGeoInput::CreateResult()
{
    auto result = std::make_unique<TErgebnis>();
    Result = result.get();
    return result;
}

unsigned TGeoInput::NewSeed()
{
    return RandomSeed ? RandomSeed() : static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch());
}

void TGeoInput::MapItemClicked(TGeoItem&) {}
void TGeoInput::ItemStateChanged(TGeoItem&) {}
QString TGeoInput::ModeName() const { return {}; }
void TGeoInput::ShowRight(bool) {}
void TGeoInput::AttachRevealButton(QAbstractButton*) {}

void TGeoInput::showEvent(QShowEvent* event)
{
    QScrollArea::showEvent(event);
    // A panel filled while it was hidden may not have shown its scroll bar
    // yet: let the scroll area look at its content again.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (QWidget* content = widget()) {
                const QSize size = content->size();
                content->resize(size + QSize(0, 1));
                content->resize(size);
            }
        },
        Qt::QueuedConnection);
}

void TGeoInput::SelectItem(TGeoItem* item)
{
    if (OnItemSelected)
        OnItemSelected(item);
    if (item)
        CurrentItem = item;
}
