#include "learning/GeoInputAbfrage.h"

#include "i18n/LangDialogs.h"
#include "i18n/MainDictionary.h"
#include "learning/Flags.h"
#include "lesson/Geoobj.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "platform/Optionen.h"
#include "results/Ergebnis.h"
#include "widgets/Artwork.h"
#include "widgets/FlatButton.h"

#include <QDateTime>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <random>

namespace {

constexpr int kFeedbackHeight = 69;
constexpr int kFlagHeight = 90;


// The feedback panel: shaded from the panel grey into the colour of the answer.
class ShadedPanel : public QWidget {
public:
    using QWidget::QWidget;
    QColor shade{0xAA, 0xEE, 0xAA};

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QLinearGradient gradient(0, 0, 0, height());
        gradient.setColorAt(0, QColor(0xEE, 0xEE, 0xEE));
        gradient.setColorAt(1, shade);
        painter.fillRect(rect(), gradient);
    }
};

QFont boldLarger(const QFont& base)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(base.pointSize() + 3);
    font.setBold(true);
    return font;
}

bool askable(const TGeoItem& item)
{
    const ItemState s = item.State();
    return s != ItemState::Right && s != ItemState::Deactivated && s != ItemState::ShowOnly && s != ItemState::Dependent;
}

} // namespace

TGeoInputAbfrage::TGeoInputAbfrage(QWidget* owner, TDaten& lesson)
    : TGeoInput(owner, lesson), m_content(new QWidget), m_feedbackTimer(new QTimer(this))
{
    setWidget(m_content);
    setWidgetResizable(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_question = new QLabel(m_content);
    m_question->setObjectName(QStringLiteral("QuestionLabel"));
    m_question->setFont(boldLarger(font()));
    m_question->setAlignment(Qt::AlignCenter);
    m_question->setWordWrap(true);

    m_ok = new FlatButton(QStringLiteral("OkButton"), Artwork::Glyph(QStringLiteral("ok")), m_content);
    m_ok->setText(QStringLiteral("&Ok"));
    m_ok->setFixedSize(75, 26);
    connect(m_ok, &QToolButton::clicked, this, [this] { Answer(); });

    auto* feedback = new ShadedPanel(m_content);
    m_feedback = feedback;
    m_feedback->setObjectName(QStringLiteral("FeedbackPanel"));
    m_feedback->hide();
    m_title = new QLabel(m_feedback);
    m_title->setFont(boldLarger(font()));
    m_title->setAlignment(Qt::AlignCenter);
    m_detail = new QLabel(m_feedback);
    m_detail->setAlignment(Qt::AlignCenter);
    m_detail->setWordWrap(true);

    const TOptionen* options = lesson.LearnOptions ? lesson.LearnOptions->Options : nullptr;
    if (options && options->ShowFlagAbfrage) {
        m_flag = new TFlag(m_content);
        m_flag->setObjectName(QStringLiteral("Flag"));
        m_flag->SetPictureFolder(options->DataFolder());
        m_flag->SetFixedRatio(true);
        m_flag->resize(135, kFlagHeight);
        m_flag->hide();
    }

    // The panel hides when the timer fires; the timer runs on, and every
    // new feedback restarts it, so each stays three seconds.
    m_feedbackTimer->setInterval(kFeedbackMs);
    connect(m_feedbackTimer, &QTimer::timeout, m_feedback, &QWidget::hide);
    m_seed = NewSeed();
    ArrangeControls();
}

TGeoInputAbfrage::~TGeoInputAbfrage() = default;

void TGeoInputAbfrage::resizeEvent(QResizeEvent* event)
{
    TGeoInput::resizeEvent(event);
    ArrangeControls();
}

void TGeoInputAbfrage::ArrangeControls()
{
    const int w = width();
    const int h = viewport()->height();
    m_question->setGeometry(15, 12, w - 30, 90);
    m_ok->move((w - 75) / 2, 95 + 21 + 12);
    // The title on one line; the detail under it, wrapped to the width, and
    // the panel taller (upwards) when a long name in a long language needs it.
    const bool hasDetail = !m_detail->text().isEmpty();
    const int titleTop = hasDetail ? 13 : 25;
    const int titleHeight = m_title->fontMetrics().height() + 2;
    const int detailTop = std::max(35, titleTop + titleHeight);
    const int detailHeight = hasDetail ? m_detail->heightForWidth(w - 20) : 0;
    const int panelHeight = std::max(kFeedbackHeight, detailTop + detailHeight + 4);
    m_feedback->setGeometry(0, h - panelHeight, w, panelHeight);
    m_title->setGeometry(0, titleTop, w, titleHeight);
    m_detail->setGeometry(10, detailTop, w - 20, std::max(detailHeight, 0));
    if (m_flag)
        m_flag->move((w - m_flag->width()) / 2, h - panelHeight - kFlagHeight - 40);
}

void TGeoInputAbfrage::Start() { NextQuestion(); }

void TGeoInputAbfrage::NextQuestion()
{
    TGeoItem* current = CurrentItem;
    TGeoItem* next = nullptr;
    if (current && current->Capital && current->Capital->State() != ItemState::Right) {
        next = current->Capital; // a country is followed by its open capital
    } else {
        std::vector<TGeoItem*> candidates;
        for (const auto& category : Lesson.Categories)
            for (const auto& item : category->Items)
                if (askable(*item))
                    candidates.push_back(item.get());
        if (current && candidates.size() >= 2)
            std::erase(candidates, current);
        if (candidates.empty()) {
            SelectItem(nullptr);
            Finish();
            return;
        }
        std::mt19937 random(m_seed++);
        std::uniform_int_distribution<size_t> pick(0, candidates.size() - 1);
        next = candidates[pick(random)];
    }
    SelectItem(next);
    CurrentItem = next;
    ShowFlagOf(*next);
    m_question->setText(next->QuestionText());
    QPalette pal = m_question->palette();
    pal.setColor(QPalette::WindowText, ToQColor(next->Category ? next->Category->Color : 0));
    m_question->setPalette(pal);
    QuestionChosen(*next);
}

void TGeoInputAbfrage::QuestionChosen(TGeoItem&) {}

void TGeoInputAbfrage::ShowFlagOf(const TGeoItem& item)
{
    if (!m_flag)
        return;
    QString flag = item.FlagData;
    if (flag.isEmpty() && item.CapitalOf)
        flag = item.CapitalOf->FlagData;
    m_flag->SetDescription(flag);
    m_flag->setVisible(!flag.isEmpty());
    ArrangeControls();
}

void TGeoInputAbfrage::Finish()
{
    if (Result)
        Result->Refresh(Lesson);
    const bool offer = !m_intensiveDone && (!Result || Result->SuccessRate() <= 70);
    if (offer && MessageDlg(MainDictionary(), MainDictionary().GetText(QStringLiteral("Intensivtraining")),
                            MsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes) {
        StartIntensiveTraining();
        return;
    }
    if (OnFinished)
        OnFinished();
}

void TGeoInputAbfrage::StartIntensiveTraining()
{
    m_intensiveDone = true;
    if (Result) {
        m_intensive = std::make_unique<TErgebnis>();
        m_intensive->TakeMainRun(*Result);
    }
    // Only what was hard stays in the run: asked three times or more.
    for (const auto& category : Lesson.Categories)
        for (const auto& item : category->Items) {
            if (item->State() == ItemState::Deactivated)
                continue;
            if (item->AskCount < 3) {
                item->SetState(ItemState::ShowOnly);
            } else {
                item->AskCount = 0;
                item->SetState(ItemState::Open);
            }
        }
    CurrentItem = nullptr;
    NextQuestion();
}

void TGeoInputAbfrage::Stop()
{
    m_feedbackTimer->stop();
    if (m_intensive && Result) {
        Result->TakeMainRun(*m_intensive); // the training's answers do not count
        m_intensive.reset();
    }
}

QString TGeoInputAbfrage::GetAnswer() const { return {}; }

void TGeoInputAbfrage::CountAnswer(TGeoItem& item) { ++item.AskCount; }

void TGeoInputAbfrage::Answer()
{
    TGeoItem* item = CurrentItem;
    if (!item)
        return;
    const AnswerResult result = item->CheckAnswer(GetAnswer());
    if (result == AnswerResult::Wrong) {
        item->SetState(ItemState::WrongNotify);
        const QPointer<TGeoInputAbfrage> self(this);
        ShowWrong();
        if (!self)
            return; // closed while the map showed the answer
    } else {
        ShowRight(result == AnswerResult::Almost);
        item->SetState(ItemState::Right);
    }
    CountAnswer(*item);
    NextQuestion();
}

void TGeoInputAbfrage::ShowRight(bool almost)
{
    const TLangDictionary& d = MainDictionary();
    if (almost)
        ShowFeedback(d.GetText(QStringLiteral("almost_right")),
                     FormatText(d.GetText(QStringLiteral("almost_right2")), {CurrentItem ? CurrentItem->DisplayName() : QString()}),
                     true);
    else
        ShowFeedback(d.GetText(QStringLiteral("right")), {}, true);
}

void TGeoInputAbfrage::ShowWrong()
{
    const TLangDictionary& d = MainDictionary();
    ShowFeedback(d.GetText(QStringLiteral("wrong")),
                 FormatText(d.GetText(QStringLiteral("wrong2")), {CurrentItem ? CurrentItem->DisplayName() : QString()}),
                 false);
}

void TGeoInputAbfrage::ShowFeedback(const QString& title, const QString& detail, bool right)
{
    static_cast<ShadedPanel*>(m_feedback)->shade = right ? QColor(0xAA, 0xEE, 0xAA) : QColor(0xFF, 0xBB, 0x93);
    m_title->setText(title);
    m_detail->setText(detail);
    m_detail->setVisible(!detail.isEmpty());
    ArrangeControls();
    m_feedbackTimer->start();
    m_feedback->show();
    m_feedback->update();
}

// ----------------------------------------------------------- type variant

TGeoInputAbfrageEdit::TGeoInputAbfrageEdit(QWidget* owner, TDaten& lesson)
    : TGeoInputAbfrage(owner, lesson), m_answer(new QLineEdit(Content()))
{
    m_answer->setObjectName(QStringLiteral("AnswerField"));
    m_answer->setGeometry(15, 95, width() - 30, 21);
    m_answer->setStyleSheet(QStringLiteral("QLineEdit { background: white; border: 1px solid #808080; }"));
    connect(m_answer, &QLineEdit::returnPressed, this, [this] { Answer(); });
}

QString TGeoInputAbfrageEdit::ModeName() const { return MainDictionary().GetText(QStringLiteral("AbfrageEdit")); }

QString TGeoInputAbfrageEdit::GetAnswer() const { return m_answer->text(); }

void TGeoInputAbfrageEdit::QuestionChosen(TGeoItem& item)
{
    const bool initials = Lesson.LearnOptions && Lesson.LearnOptions->Schwierigkeit;
    m_answer->setText(initials ? item.DisplayName().left(1) : QString());
    m_answer->setFocus();
}

// -------------------------------------------------------------- selection

namespace {
bool eligibleWrongAnswer(const TGeoItem& item)
{
    return item.State() != ItemState::Deactivated && item.State() != ItemState::ShowOnly;
}
} // namespace

TGeoInputAbfrageChoice::TGeoInputAbfrageChoice(QWidget* owner, TDaten& lesson) : TGeoInputAbfrage(owner, lesson)
{
    OkButton()->hide();
    OkButton()->disconnect(this);
    const int count = lesson.LearnOptions && lesson.LearnOptions->Schwierigkeit ? 7 : 4;
    for (int i = 0; i < count; ++i) {
        auto* button = new QPushButton(Content());
        button->setObjectName(QStringLiteral("Answer%1").arg(i + 1));
        button->setGeometry(10, 95 + 30 * i, width() - 20, 26);
        button->setFlat(true);
        button->setAutoFillBackground(true);
        button->setStyleSheet(QStringLiteral("QPushButton { background: white; border: 1px solid #808080; "
                                             "text-align: left; padding-left: 15px; }"
                                             "QPushButton:hover { border-color: #404040; }"
                                             "QPushButton:focus { border: 2px solid #505050; }"));
        connect(button, &QPushButton::clicked, this, [this, button] {
            m_chosen = button->text().mid(4); // after the "&k  " shortcut prefix
            Answer();
        });
        m_buttons.push_back(button);
    }
    m_seed = NewSeed() + 1;
}

void TGeoInputAbfrageChoice::keyPressEvent(QKeyEvent* event)
{
    // The buttons read "&1" … "&7": the plain digit picks them as well.
    const int k = event->key() - Qt::Key_1;
    const auto mods = event->modifiers() & ~(Qt::KeypadModifier | Qt::AltModifier);
    if (mods == Qt::NoModifier && k >= 0 && k < static_cast<int>(m_buttons.size()) && !m_buttons[k]->isHidden()) {
        m_buttons[k]->animateClick();
        return;
    }
    TGeoInputAbfrage::keyPressEvent(event);
}

QString TGeoInputAbfrageChoice::ModeName() const { return MainDictionary().GetText(QStringLiteral("AbfrageChoice")); }

QString TGeoInputAbfrageChoice::GetAnswer() const { return m_chosen; }

QStringList TGeoInputAbfrageChoice::WrongAnswers(const TGeoItem& item) const
{
    const size_t needed = m_buttons.size() - 1;
    std::vector<const TGeoItem*> candidates;
    auto take = [&](const TKategorie& category, size_t limit) {
        for (const auto& other : category.Items) {
            if (candidates.size() >= limit)
                return;
            if (other.get() != &item && eligibleWrongAnswer(*other) &&
                std::find(candidates.begin(), candidates.end(), other.get()) == candidates.end())
                candidates.push_back(other.get());
        }
    };
    // First the item's own category, whatever the other items' states.
    if (item.Category)
        take(*item.Category, SIZE_MAX);
    // Then the other categories in turn while there are too few, each adding
    // up to one more than the buttons need, so that the random pick below
    // still has a choice. A round that adds nothing ends it, so a small
    // lesson simply shows fewer buttons; no name is ever shown twice.
    const size_t want = std::max(candidates.size(), needed + 1);
    const bool onlyOne = Lesson.Categories.size() == 1;
    for (bool added = true; candidates.size() < needed && added;) {
        added = false;
        for (const auto& category : Lesson.Categories) {
            if ((category.get() == item.Category && !onlyOne) || candidates.size() >= needed)
                continue;
            const size_t before = candidates.size();
            take(*category, want);
            added = added || candidates.size() > before;
        }
    }
    QStringList names;
    for (const TGeoItem* candidate : candidates)
        names << candidate->DisplayName();
    return names;
}

void TGeoInputAbfrageChoice::QuestionChosen(TGeoItem& item)
{
    QStringList pool = WrongAnswers(item);
    std::mt19937 random(m_seed++);
    QStringList answers{item.DisplayName()};
    while (answers.size() < static_cast<qsizetype>(m_buttons.size()) && !pool.isEmpty()) {
        std::uniform_int_distribution<qsizetype> pick(0, pool.size() - 1);
        answers << pool.takeAt(pick(random));
    }
    std::shuffle(answers.begin(), answers.end(), random);
    for (size_t k = 0; k < m_buttons.size(); ++k) {
        const bool used = static_cast<qsizetype>(k) < answers.size();
        m_buttons[k]->setVisible(used);
        if (used)
            m_buttons[k]->setText(QStringLiteral("&%1  %2").arg(k + 1).arg(answers[static_cast<qsizetype>(k)]));
    }
    m_buttons.front()->setFocus();
}

// ------------------------------------------------------------ map variant

TGeoInputAbfrageClick::TGeoInputAbfrageClick(QWidget* owner, TDaten& lesson) : TGeoInputAbfrage(owner, lesson)
{
    OkButton()->hide();
}

QString TGeoInputAbfrageClick::ModeName() const { return MainDictionary().GetText(QStringLiteral("AbfrageClick")); }

QString TGeoInputAbfrageClick::GetAnswer() const { return m_clicked ? m_clicked->DisplayName() : QString(); }

void TGeoInputAbfrageClick::Start()
{
    // Only what can be clicked is asked: countries and states large enough
    // to hit, on the visible map.
    for (const auto& category : Lesson.Categories) {
        const bool clickable = category->Kind == CategoryKind::Countries || category->Kind == CategoryKind::States;
        for (const auto& item : category->Items) {
            if (item->State() == ItemState::Deactivated)
                continue;
            if (!clickable || item->InsetPicture || (item->Area >= 1 && item->Area <= 2499))
                item->SetState(ItemState::ShowOnly);
        }
    }
    TGeoInputAbfrage::Start();
}

void TGeoInputAbfrageClick::SelectItem(TGeoItem* item)
{
    // The map must not give the answer away: the item is only made current.
    if (item)
        CurrentItem = item;
}

void TGeoInputAbfrageClick::QuestionChosen(TGeoItem& item)
{
    QuestionLabel()->setText(FormatText(MainDictionary().GetText(QStringLiteral("format_ShowClick")), {item.DisplayName()}));
}

void TGeoInputAbfrageClick::MapItemClicked(TGeoItem& item)
{
    if (m_waiting || !CurrentItem)
        return; // the asked item is still lit after a wrong click
    m_clicked = &item;
    if (&item == CurrentItem || CurrentItem->ContainsSubItem(&item)) {
        ShowRight(false);
        CurrentItem->SetState(ItemState::Right);
        CountAnswer(*CurrentItem);
        NextQuestion();
        return;
    }
    Answer();
}

void TGeoInputAbfrageClick::ShowWrong()
{
    const TLangDictionary& d = MainDictionary();
    ShowFeedback(d.GetText(QStringLiteral("wrong")),
                 FormatText(d.GetText(QStringLiteral("wrong_click")), {m_clicked ? m_clicked->DisplayName() : QString()}),
                 false);
    // Light up the asked item for a second, keeping the window responsive.
    QPointer<TGeoInputAbfrageClick> self(this);
    m_waiting = true;
    if (OnItemSelected)
        OnItemSelected(CurrentItem);
    QEventLoop wait;
    QTimer::singleShot(WrongClickMs, &wait, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &wait, &QEventLoop::quit);
    wait.exec();
    if (!self)
        return; // the run was closed meanwhile
    m_waiting = false;
    if (OnItemSelected)
        OnItemSelected(nullptr);
}
