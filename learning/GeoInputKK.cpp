#include "learning/GeoInputKK.h"

#include "i18n/MainDictionary.h"
#include "learning/GeoEdit.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <random>

namespace {
constexpr int kFieldHeight = 24; // the default edit height of 21, plus 3
} // namespace

TGeoInputKK::TGeoInputKK(QWidget* owner, TDaten& lesson) : TGeoInput(owner, lesson), m_content(new QWidget)
{
    m_content->setObjectName(QStringLiteral("KKContent"));
    setWidget(m_content);
}

TGeoInputKK::~TGeoInputKK()
{
    if (m_revealButton)
        QObject::disconnect(m_revealConnection);
    if (m_overrideCursor)
        QApplication::restoreOverrideCursor();
}

QString TGeoInputKK::ModeName() const { return MainDictionary().GetText(QStringLiteral("KK")); }

void TGeoInputKK::Start()
{
    if (!Numbered)
        Shuffle();
    Lesson.Renumber();
    Layout();
}

void TGeoInputKK::Shuffle()
{
    std::mt19937 random(NewSeed());
    for (auto& category : Lesson.Categories) {
        auto& items = category->Items;
        // For position p = 2 .. n exchange p with r drawn from 1 .. p.
        for (size_t p = 1; p < items.size(); ++p) {
            std::uniform_int_distribution<size_t> pick(0, p);
            std::swap(items[p], items[pick(random)]);
        }
    }
}

TGeoEdit* TGeoInputKK::AddField(TGeoItem& item, int left, int top, int width)
{
    auto* field = new TGeoEdit(m_content);
    field->setObjectName(QStringLiteral("Field%1").arg(m_fields.size() + 1));
    field->setGeometry(left, top, width, kFieldHeight);
    if (Lesson.LearnOptions && Lesson.LearnOptions->Schwierigkeit && item.State() != ItemState::Deactivated)
        field->SetTextSilently(item.DisplayName().left(1));
    field->Bind(&item);
    field->OnFocused = [this](TGeoEdit& edit) {
        ensureWidgetVisible(&edit, 0, 8); // fields reached by keyboard scroll into view
        SelectItem(edit.Item());
    };
    field->show();
    if (m_fields.empty())
        field->setFocus();
    m_fields.push_back(field);
    return field;
}

void TGeoInputKK::Layout()
{
    const int left = Numbered ? 37 : 25;
    const int width = Numbered ? 120 : 125;
    int y = 9;
    QFont headingFont(QStringLiteral("Times New Roman"), 12);
    headingFont.setBold(true);
    headingFont.setItalic(true);
    QFont numberFont(QStringLiteral("Times New Roman"), 9);
    numberFont.setBold(true);
    const int contentWidth = this->width() - 4;

    for (const auto& category : Lesson.Categories) {
        if (category->Items.empty() || category->Singular == QStringLiteral("Hauptstadt"))
            continue; // capitals stand under their countries
        auto* heading = new QLabel(m_content);
        heading->setFont(headingFont);
        QPalette pal = heading->palette();
        pal.setColor(QPalette::WindowText, ToQColor(category->Color));
        heading->setPalette(pal);
        // A long title is cut with an ellipsis rather than running into the fields.
        const QString title = category->DisplayName();
        heading->setText(QFontMetrics(headingFont).elidedText(title, Qt::ElideRight, contentWidth - 9));
        heading->setToolTip(title);
        heading->setGeometry(9, y, contentWidth - 9, 22);
        heading->show();
        y += 23;
        int fieldsBefore = static_cast<int>(m_fields.size());
        for (const auto& item : category->Items) {
            const ItemState state = item->State();
            if (state == ItemState::Deactivated || state == ItemState::ShowOnly || state == ItemState::Dependent)
                continue;
            if (Numbered) {
                auto* number = new QLabel(QString::number(item->Number), m_content);
                number->setFont(numberFont);
                number->setGeometry(18, y + 3, left - 18, 16);
                number->show();
            }
            TGeoEdit* last = AddField(*item, left, y, width);
            if (item->Capital) {
                y += last->height() - 1;
                last = AddField(*item->Capital, left, y, width);
                y += 4;
            }
            y += last->height() - 1;
        }
        if (static_cast<int>(m_fields.size()) > fieldsBefore) {
            m_headings.push_back(heading);
            y += 10;
        } else {
            delete heading;
            y -= 23;
        }
    }
    m_content->resize(contentWidth, y + 9);
}

void TGeoInputKK::MapItemClicked(TGeoItem& item)
{
    for (TGeoEdit* field : m_fields)
        if (field->Item() == &item) {
            field->setFocus();
            ensureWidgetVisible(field);
            return;
        }
}

void TGeoInputKK::AttachRevealButton(QAbstractButton* button)
{
    if (m_revealButton)
        QObject::disconnect(m_revealConnection);
    m_revealButton = button;
    if (!button)
        return;
    button->setCheckable(true);
    button->setChecked(false);
    m_revealConnection = connect(button, &QAbstractButton::clicked, this, [this] { ToggleRevealMode(); });
}

void TGeoInputKK::ToggleRevealMode()
{
    RevealMode = !RevealMode;
    ApplyRevealMode();
}

void TGeoInputKK::ApplyRevealMode()
{
    for (TGeoEdit* field : m_fields) {
        if (RevealMode) {
            field->setCursor(Qt::WhatsThisCursor);
            field->OnPressed = [this](TGeoEdit& pressed) { Reveal(pressed); };
        } else {
            field->setCursor(Qt::IBeamCursor);
            field->OnPressed = nullptr;
        }
    }
    if (RevealMode && !m_overrideCursor) {
        QApplication::setOverrideCursor(Qt::WhatsThisCursor);
        m_overrideCursor = true;
    } else if (!RevealMode && m_overrideCursor) {
        QApplication::restoreOverrideCursor();
        m_overrideCursor = false;
    }
    if (m_revealButton)
        m_revealButton->setChecked(RevealMode);
}

void TGeoInputKK::Reveal(TGeoEdit& field)
{
    if (TGeoItem* item = field.Item())
        item->ShowNameInEdit(true);
    RevealMode = false;
    ApplyRevealMode();
}
