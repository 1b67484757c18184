#pragma once

#include "lesson/LessonTypes.h"

#include <QToolButton>

class QFrame;

// A flat button that shows its colour. Pressed, it offers the sixteen basic
// colours and, under its "other" button, the platform's colour dialog.
class ColourButton : public QToolButton {
public:
    explicit ColourButton(const QString& objectName, QWidget* parent = nullptr);

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    // The caption of the button for further colours (`color_other`).
    void SetOtherCaption(const QString& caption);

    // The choice of colours; made on the first press.
    QFrame* Choice();
    void ShowChoice();
    // The platform's colour dialog, starting from the current colour.
    void ChooseOther();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor m_color = 0;
    QString m_otherCaption;
    QFrame* m_choice = nullptr;
};
