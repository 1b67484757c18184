#pragma once

#include <QWidget>

class QLabel;

// A note on light yellow paper with rounded corners and a silver shadow,
// holding one word-wrapped text.
class NoteBox : public QWidget {
public:
    NoteBox(const QString& labelName, QWidget* parent = nullptr);
    QLabel* Label() const { return m_label; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_label;
};
