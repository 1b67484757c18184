#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class FlatButton;
class QCheckBox;
class QLabel;
class QListWidget;
class TGeoItem;
class TLangDictionary;

// The item edit panel: it covers the question editor while one question is
// being edited, shows the question's names and its switches, and applies
// them on OK. TGeoObjEditImage serves picture lessons, whose names the
// author types; TGeoObjEditGlobe globe lessons, whose names come from the
// geographic index and stay as they are.
class TGeoObjEdit : public QWidget {
public:
    TGeoObjEdit(const TLangDictionary& dictionary, QWidget* parent);
    ~TGeoObjEdit() override;

    QLabel* TitleLabel = nullptr;
    QListWidget* GermanList = nullptr;
    QListWidget* EnglishList = nullptr;
    QCheckBox* DeactivatedBox = nullptr;
    FlatButton* OkButton = nullptr;
    FlatButton* CancelButton = nullptr;

    TGeoItem* Item = nullptr; // the question being edited
    bool IsNew = false;       // the question joins its category only on OK
    // Called after OK.
    std::function<void(QObject* sender)> OnDone;
    // Called after OK and after Cancel, once the panel is hidden.
    std::function<void()> OnClosed;

    virtual void ShowItem(TGeoItem& item);
    virtual void NewItem(TGeoItem& item);
    // A question that is not yet part of its category: the panel keeps it
    // and appends it on OK; Cancel releases it.
    void EditNewItem(std::unique_ptr<TGeoItem> item);
    bool Editing() const { return m_editing; }

    void Ok();
    void Cancel();

protected:
    // What OK writes into the item before the state switches.
    virtual void ApplyEdits() {}
    // After OK (with the edited item) or Cancel (none), once hidden.
    virtual void EditEnded(TGeoItem*) {}
    // The panel's width W: lists and buttons follow it.
    virtual void ArrangeControls();
    void resizeEvent(QResizeEvent* event) override;
    void PlaceOkCancel(int top);
    static void FillList(QListWidget* list, const QStringList& names);
    static QStringList ListEntries(const QListWidget* list);

    const TLangDictionary& m_dictionary;
    int m_listWidthReduction = 0;
    int m_okTop = 320;

private:
    std::unique_ptr<TGeoItem> m_newItem;
    bool m_editing = false;
};

class TGeoObjEditImage : public TGeoObjEdit {
public:
    TGeoObjEditImage(const TLangDictionary& dictionary, QWidget* parent);

    // The region being edited: the seed points set by clicks on the map,
    // shown as their number; OK writes them into the item.
    QLabel* RegionLabel = nullptr;
    QLabel* RegionCount = nullptr;
    QLabel* RegionHint = nullptr;
    FlatButton* ClearRegionButton = nullptr;
    const QString& PendingRegion() const { return m_region; }
    void SetPendingRegion(const QString& region);
    // A capital shares its country's region and is not given one of its own.
    bool RegionEditable() const;
    // The map shows the region as it changes and is told when the edit ends.
    std::function<void(const QString& region)> OnRegionChanged;
    std::function<void(TGeoItem* confirmedItem)> OnEditEnded;

    void ShowItem(TGeoItem& item) override;
    void NewItem(TGeoItem& item) override;

    // The buttons beside a list, and what they do.
    void AddName(QListWidget* list);
    void EditName(QListWidget* list);
    void DeleteName(QListWidget* list);
    FlatButton* ListButton(QListWidget* list, int which) const; // 0 add, 1 edit, 2 delete

protected:
    void ApplyEdits() override;
    void EditEnded(TGeoItem* item) override;
    void ArrangeControls() override;

private:
    bool AskName(QString& name);
    FlatButton* m_buttons[2][3] = {};
    QString m_region;
};

class TGeoObjEditGlobe : public TGeoObjEdit {
public:
    TGeoObjEditGlobe(const TLangDictionary& dictionary, QWidget* parent);

    QCheckBox* ShowOnlyBox = nullptr;

    void ShowItem(TGeoItem& item) override;

protected:
    void ApplyEdits() override;
};

// A typed name as the lesson file can hold it: "|", "~" and "?" separate
// names and fields there and are left out, and so are line breaks; blanks
// at both ends are trimmed.
QString CleanItemName(const QString& name);
