#pragma once

#include "learning/GeoInput.h"

#include <QPointer>
#include <QStringList>
#include <memory>
#include <vector>

class FlatButton;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class TFlag;
class TGeoItem;

// The test: one item at a time in random order until every item has been
// answered correctly; wrong answers come back later. The base of the typed
// test, the map test and the selection.
class TGeoInputAbfrage : public TGeoInput {
public:
    TGeoInputAbfrage(QWidget* owner, TDaten& lesson);
    ~TGeoInputAbfrage() override;

    void Start() override;
    void Stop() override;
    void ShowRight(bool almost) override;
    void ShowWrong() override;
    virtual void NextQuestion();
    virtual QString GetAnswer() const;

    // Judges GetAnswer for the current item and moves on.
    void Answer();

    QLabel* QuestionLabel() const { return m_question; }
    QWidget* FeedbackPanel() const { return m_feedback; }
    QLabel* FeedbackTitle() const { return m_title; }
    QLabel* FeedbackDetail() const { return m_detail; }
    TFlag* Flag() const { return m_flag; }
    FlatButton* OkButton() const { return m_ok; }
    bool IntensiveTrainingRunning() const { return m_intensive != nullptr; }

    static constexpr int kFeedbackMs = 3000;

protected:
    // Called after the base has chosen the next item (none when finished).
    virtual void QuestionChosen(TGeoItem& item);
    void ShowFeedback(const QString& title, const QString& detail, bool right);
    void resizeEvent(QResizeEvent* event) override;
    QWidget* Content() const { return m_content; }
    void CountAnswer(TGeoItem& item);

private:
    void Finish();
    void StartIntensiveTraining();
    void ShowFlagOf(const TGeoItem& item);
    void ArrangeControls();

    QWidget* m_content;
    QLabel* m_question;
    FlatButton* m_ok;
    QWidget* m_feedback;
    QLabel* m_title;
    QLabel* m_detail;
    TFlag* m_flag = nullptr;
    QTimer* m_feedbackTimer;
    std::unique_ptr<TErgebnis> m_intensive; // the main run while an intensive training runs
    bool m_intensiveDone = false;
    unsigned m_seed = 0;
};

// The test by typing: the map shows the item, the learner types its name.
class TGeoInputAbfrageEdit : public TGeoInputAbfrage {
public:
    TGeoInputAbfrageEdit(QWidget* owner, TDaten& lesson);
    QString ModeName() const override;
    QString GetAnswer() const override;
    QLineEdit* AnswerField() const { return m_answer; }

protected:
    void QuestionChosen(TGeoItem& item) override;

private:
    QLineEdit* m_answer;
};

// The selection: the item is shown on the map and its name is picked among
// 4 buttons, 7 with the higher difficulty.
class TGeoInputAbfrageChoice : public TGeoInputAbfrage {
public:
    TGeoInputAbfrageChoice(QWidget* owner, TDaten& lesson);
    QString ModeName() const override;
    QString GetAnswer() const override;
    const std::vector<QPushButton*>& AnswerButtons() const { return m_buttons; }

protected:
    void QuestionChosen(TGeoItem& item) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QStringList WrongAnswers(const TGeoItem& item) const;
    std::vector<QPushButton*> m_buttons;
    QString m_chosen;
    unsigned m_seed = 0;
};

// The test on the map: the item is named, the learner clicks it.
class TGeoInputAbfrageClick : public TGeoInputAbfrage {
public:
    TGeoInputAbfrageClick(QWidget* owner, TDaten& lesson);
    void Start() override;
    QString ModeName() const override;
    QString GetAnswer() const override;
    void SelectItem(TGeoItem* item) override;
    void MapItemClicked(TGeoItem& item) override;
    void ShowWrong() override;

    // How long the asked item lights up after a wrong click.
    static inline int WrongClickMs = 1000;

protected:
    void QuestionChosen(TGeoItem& item) override;

private:
    TGeoItem* m_clicked = nullptr;
    bool m_waiting = false;
};
