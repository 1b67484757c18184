#include "widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

RadioGroup::RadioGroup(const QString& objectName, QWidget* parent) : QGroupBox(parent), m_group(new QButtonGroup(this))
{
    setObjectName(objectName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);
}

void RadioGroup::SetItems(const QStringList& items)
{
    const int current = ItemIndex();
    for (QRadioButton* button : m_buttons)
        delete button;
    m_buttons.clear();
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        m_group->addButton(button, i);
        layout()->addWidget(button);
        button->setEnabled(std::find(m_disabled.begin(), m_disabled.end(), i) == m_disabled.end());
        button->show(); // the group may be on screen already (a language switch)
        m_buttons.push_back(button);
    }
    SetItemIndex(current);
}

int RadioGroup::ItemIndex() const { return m_group->checkedId(); }

void RadioGroup::SetItemIndex(int index)
{
    if (index >= 0 && index < static_cast<int>(m_buttons.size()))
        m_buttons[static_cast<size_t>(index)]->setChecked(true);
}

void RadioGroup::SetItemEnabled(int index, bool enabled)
{
    const auto at = std::find(m_disabled.begin(), m_disabled.end(), index);
    if (enabled && at != m_disabled.end())
        m_disabled.erase(at);
    else if (!enabled && at == m_disabled.end())
        m_disabled.push_back(index);
    if (index >= 0 && index < static_cast<int>(m_buttons.size()))
        m_buttons[static_cast<size_t>(index)]->setEnabled(enabled);
}

bool RadioGroup::ItemEnabled(int index) const
{
    return std::find(m_disabled.begin(), m_disabled.end(), index) == m_disabled.end();
}

bool RadioGroup::setTranslatedText(const QString& property, const QString& text)
{
    if (property.compare(QLatin1String("Items"), Qt::CaseInsensitive) != 0)
        return false; // the title is the group box's own caption
    SetItems(parseCommaText(text));
    return true;
}
