#pragma once

#include <QImage>
#include <QWidget>

// Shows a bitmap that the map fills regions in; the bitmap is 32 bits a
// pixel so fills and pixel reads are exact.
class PictureControl : public QWidget {
public:
    explicit PictureControl(QWidget* parent = nullptr);

    QImage& Bitmap() { return m_bitmap; }
    const QImage& Bitmap() const { return m_bitmap; }
    void SetBitmap(QImage bitmap);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_bitmap;
};
