#pragma once

#include "i18n/DictionaryApplier.h"

#include <QGroupBox>
#include <vector>

class QButtonGroup;
class QRadioButton;

// A titled group of radio buttons whose items come as one list (and so can
// be translated as a whole).
class RadioGroup : public QGroupBox, public TranslatableControl {
public:
    explicit RadioGroup(const QString& objectName, QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    int ItemIndex() const;
    void SetItemIndex(int index);
    // An item that does not apply stays listed but cannot be chosen; the
    // choice survives a change of the items' texts.
    void SetItemEnabled(int index, bool enabled);
    bool ItemEnabled(int index) const;

    bool setTranslatedText(const QString& property, const QString& text) override;

private:
    QButtonGroup* m_group;
    std::vector<QRadioButton*> m_buttons;
    std::vector<int> m_disabled; // indexes of the items that cannot be chosen
};
