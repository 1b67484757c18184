#pragma once

#include "learning/FlagPainter.h"

#include <QWidget>

#include <functional>

// Shows one flag description. The control keeps its width to the flag's
// width at its current height, so users only choose the height and place it.
class TFlag : public QWidget {
    Q_OBJECT
public:
    using TPressHandler =
        std::function<void(TFlag& flag, Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers shift)>;

    explicit TFlag(QWidget* parent = nullptr);

    void SetPictureFolder(const QString& folder);
    const QString& PictureFolder() const { return m_painter.PictureFolder(); }
    void SetFixedRatio(bool on);
    bool FixedRatio() const { return m_painter.FixedRatio(); }
    void SetOnPress(TPressHandler handler) { m_onPress = std::move(handler); }

    // A new description drops the emblem of the old one; the same one keeps it.
    void SetDescription(const QString& description);
    const QString& Description() const { return m_description; }

    // Width of the flag at the control's height.
    int FlagWidth() const;
    // Why the last painting stopped early; empty after a complete one. A
    // bad description is shown as far as it painted, never as a failure
    // of the program.
    const QString& LastError() const { return m_lastError; }
    bool HasEmblemCache() const { return m_painter.HasEmblem(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitWidth();

    FlagPainter m_painter;
    TPressHandler m_onPress;
    QString m_description;
    QString m_lastError;
};
