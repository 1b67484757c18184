#include "learning/GeoInput.h"

#include "results/Ergebnis.h"

TGeoInput::TGeoInput(QWidget* owner, TDaten& lesson) : QScrollArea(owner), Lesson(lesson)
{
    setFixedWidth(200);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
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

void TGeoInput::MapItemClicked(TGeoItem&) {}
void TGeoInput::ItemStateChanged(TGeoItem&) {}
QString TGeoInput::ModeName() const { return {}; }
void TGeoInput::ShowRight(bool) {}
void TGeoInput::AttachRevealButton(QAbstractButton*) {}

void TGeoInput::SelectItem(TGeoItem* item)
{
    if (OnItemSelected)
        OnItemSelected(item);
    if (item)
        CurrentItem = item;
}
