// A flag description from the geographic index (any text) shown in the flag
// control as the test panel shows it, and painted by the painter alone as the
// data tool does. A bad description may stop the painting; it must never
// bring the program down.

#include "FuzzSupport.h"

#include "learning/FlagPainter.h"
#include "learning/Flags.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <iterator>

namespace {
// The test panel's height first; the others reach the edges of the arithmetic.
constexpr int kHeights[] = {90, 1, 2, 3, 17, 45, 300};
// The window a flag can be seen in: the control may be far wider than any
// screen, but only what lies on the screen is ever painted.
constexpr int kMaxShownWidth = 2048;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::EnsureApplication();
    // The length picks the height and the ratio, so that the seeds stay plain
    // description lines.
    const int height = kHeights[size % std::size(kHeights)];
    const bool fixedRatio = (size / std::size(kHeights)) % 2 == 0;
    const QString description = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    TFlag flag;
    flag.SetPictureFolder(QStringLiteral(ORBILO_DATA_DIR "/Data/"));
    flag.SetFixedRatio(fixedRatio);
    flag.resize(135, height);
    flag.SetDescription(description);
    if (flag.height() != height)
        Fuzz::Violation("the control changed its height");
    const int width = flag.width();
    if (width < 0)
        Fuzz::Violation("the control has a negative width");

    QImage shown(std::clamp(width, 1, kMaxShownWidth), height, QImage::Format_RGB32);
    flag.render(&shown, QPoint(), QRegion(shown.rect()));

    FlagPainter painter;
    painter.SetPictureFolder(QStringLiteral(ORBILO_DATA_DIR "/Data/"));
    painter.SetFixedRatio(fixedRatio);
    QImage sheet(kMaxShownWidth / 4, height, QImage::Format_RGB32);
    QPainter p(&sheet);
    QString error;
    painter.TryPaint(p, description, height, &error);
    return 0;
}
