#pragma once

#include <QScrollArea>
#include <QString>
#include <functional>
#include <memory>

class QAbstractButton;
class TDaten;
class TErgebnis;
class TGeoItem;

// The question panel at the right of a lesson view; one subclass per
// learning mode, and the question editor. The lesson view and the learning
// view drive it through these operations.
class TGeoInput : public QScrollArea {
public:
    TGeoInput(QWidget* owner, TDaten& lesson);

    bool Numbered = false;               // the map shows item numbers
    TGeoItem* CurrentItem = nullptr;     // not owned
    std::function<void(TGeoItem* item)> OnItemSelected;
    std::function<void()> OnFinished;
    TDaten& Lesson;
    TErgebnis* Result = nullptr; // made by CreateResult; the learning view owns it

    virtual void Start() = 0;
    virtual void Tip() {}
    // A new result record for the run, kept in Result; the caller owns it.
    virtual std::unique_ptr<TErgebnis> CreateResult();
    virtual void MapItemClicked(TGeoItem& item);
    virtual void ItemStateChanged(TGeoItem& item);
    virtual QString ModeName() const;
    virtual void Refresh() {}
    virtual void Stop() {}
    virtual void SelectItem(TGeoItem* item);
    virtual void ShowRight(bool almost);
    virtual void ShowWrong() {}
    // The short test keeps the "Auflösen" button and takes its clicks.
    virtual void AttachRevealButton(QAbstractButton* button);

    // The seed of a panel's random choices: the clock, or what a test installs.
    static inline unsigned (*RandomSeed)() = nullptr;
    static unsigned NewSeed();

protected:
    void showEvent(QShowEvent* event) override;
};
