#include "learning/FlagPainter.h"
#include "learning/Flags.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

QImage paint(FlagPainter& painter, const QString& description, int height = 90)
{
    QImage image(FlagPainter::FlagWidth(description, height, painter.FixedRatio()), height, QImage::Format_RGB32);
    image.fill(Qt::gray); // shows what the painting leaves out
    QPainter p(&image);
    painter.Paint(p, description, height);
    return image;
}

QImage paint(const QString& description, int height = 90)
{
    FlagPainter painter;
    return paint(painter, description, height);
}

// Bounding box of the pixels of one colour inside the frame.
QRect area(const QImage& image, QRgb color)
{
    QRect box;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            if (image.pixel(x, y) == color)
                box |= QRect(x, y, 1, 1);
    return box;
}

bool isDark(QRgb c) { return qGray(c) < 128; }

void writeSvg(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10">)"
            R"(<rect width="10" height="10" fill="#0000ff"/></svg>)");
}

TEST(FlagPainter, WidthFollowsTheFirstCommandAndTheFixedRatio)
{
    struct Case {
        const char* description;
        bool fixedRatio;
        int width;
    } cases[] = {
        {"", true, 135},
        {"c,clRed;r,0,0,100,100", false, 135},
        {"q,1,1;c,clRed", true, 90},
        {"q,1,2", true, 135},
        {"q,1,2", false, 180},
        {"q,10,19", false, 171},
        {"q,2,2", true, 135},             // only 1 : 1 counts as square
        {"c,clRed;q,1,2", false, 135},   // proportions count only first
    };
    for (const Case& c : cases)
        EXPECT_EQ(FlagPainter::FlagWidth(c.description, 90, c.fixedRatio), c.width)
            << c.description << (c.fixedRatio ? " fixed" : "");
}

TEST(FlagPainter, RectanglesEndBeforeTheirRightAndBottomEdge)
{
    struct Case {
        const char* description;
        QRect filled;
    } cases[] = {
        // 33 and 66 are thirds (30, 60), not 29.7 and 59.4 truncated.
        {"c,clRed;r,0,0,100,33", QRect(QPoint(1, 1), QPoint(133, 29))},
        {"c,clRed;r,0,33,100,66", QRect(QPoint(1, 30), QPoint(133, 59))},
        {"c,clRed;r,0,66,100,100", QRect(QPoint(1, 60), QPoint(133, 88))},
        {"c,clRed;r,0,0,34,100", QRect(QPoint(1, 1), QPoint(44, 88))},
        // x2 and y2 are edges, so centring does not give a centred square.
        {"c,clRed;r,-1,-1,50,50", QRect(QPoint(34, 22), QPoint(66, 44))},
        // y2 = 0 takes x2's pixels.
        {"c,clRed;r,10,10,40,0", QRect(QPoint(13, 9), QPoint(53, 53))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(area(paint(c.description), kRed), c.filled) << c.description;
}

TEST(FlagPainter, EmptyDescriptionGivesWhiteWithABlackFrame)
{
    const QImage image = paint(QString());
    ASSERT_EQ(image.size(), QSize(135, 90));
    for (const QPoint p : {QPoint(0, 0), QPoint(134, 0), QPoint(0, 89), QPoint(134, 89), QPoint(67, 0), QPoint(0, 45)})
        EXPECT_EQ(image.pixel(p), kBlack) << p.x() << "," << p.y();
    EXPECT_EQ(area(image, kWhite), QRect(1, 1, 133, 88));
    // The frame is drawn over the shapes too.
    EXPECT_EQ(paint("c,clRed;r,0,0,100,100").pixel(0, 45), kBlack);
}

TEST(FlagPainter, ColoursAndOutlines)
{
    struct Case {
        const char* description;
        QRgb inside;
        QRgb edge; // the rectangle's left column
    } cases[] = {
        {"c,clRed;r,10,10,90,90", kRed, kRed},
        {"c,$0000FF;r,10,10,90,90", kRed, kRed},
        {"c,255;r,10,10,90,90", kRed, kRed},
        {"cr,255,0,0;r,10,10,90,90", kRed, kRed},
        {"c,$FF0000;r,10,10,90,90", kBlue, kBlue},
        {"cp,clRed,clBlue;r,10,10,90,90", kRed, kBlue},
        {"cp,clRed,clBlue;nl;r,10,10,90,90", kRed, kRed},
        {"nl;c,clRed;r,10,10,90,90", kRed, kRed},
        {"x,1,2;c,clRed;r,10,10,90,90", kRed, kRed}, // unknown commands are skipped
    };
    for (const Case& c : cases) {
        const QImage image = paint(c.description);
        EXPECT_EQ(image.pixel(67, 45), c.inside) << c.description;
        EXPECT_EQ(image.pixel(13, 45), c.edge) << c.description;
    }
}

TEST(FlagPainter, CrossBarsMeetAtTheGivenPosition)
{
    // Horizontal bar centred on row 45, 18 thick; vertical bar centred on 37 % of the width.
    const QImage image = paint("c,clRed;co,0,0,100,100,37,20");
    EXPECT_EQ(area(image, kRed), QRect(QPoint(1, 1), QPoint(133, 88)));
    EXPECT_EQ(image.pixel(20, 35), kWhite);
    EXPECT_EQ(image.pixel(20, 36), kRed);
    EXPECT_EQ(image.pixel(20, 53), kRed);
    EXPECT_EQ(image.pixel(20, 54), kWhite);
    EXPECT_EQ(image.pixel(39, 10), kWhite);
    EXPECT_EQ(image.pixel(40, 10), kRed);
    EXPECT_EQ(image.pixel(57, 10), kRed);
    EXPECT_EQ(image.pixel(58, 10), kWhite);
}

TEST(FlagPainter, StarPointsUpUnlessTurned)
{
    // Centre (67, 45), outer radius 18, inner 7: straight up the spike reaches
    // row 27; straight down lies the notch between two spikes.
    const QImage up = paint("c,clBlack;s,50,50,20,40");
    EXPECT_TRUE(isDark(up.pixel(67, 31)));
    EXPECT_FALSE(isDark(up.pixel(67, 25)));
    EXPECT_FALSE(isDark(up.pixel(67, 57)));

    const QImage down = paint("c,clBlack;s,50,50,20,40,5,90");
    EXPECT_FALSE(isDark(down.pixel(67, 33)));
    EXPECT_TRUE(isDark(down.pixel(67, 59)));

    // "-1" puts the star as far from the left as from the top.
    EXPECT_TRUE(isDark(paint("c,clBlack;s,-1,20,10,40").pixel(18, 18)));
}

TEST(FlagPainter, ExtraPolygonPointsAndSpikesAreCut)
{
    const QString tenPoints = "t,10,10,90,10,90,90,50,95,10,90,5,50,20,30,30,20,40,15,45,12";
    EXPECT_EQ(paint("c,clRed;" + tenPoints + ",0,0,100,100,0,100"), paint("c,clRed;" + tenPoints));
    EXPECT_EQ(paint("c,clRed;s,50,50,45,50,40"), paint("c,clRed;s,50,50,45,50,20"));
    // A lone last coordinate is no point.
    EXPECT_EQ(paint("c,clRed;t,0,0,100,0,50,100,70"), paint("c,clRed;t,0,0,100,0,50,100"));
}

TEST(FlagPainter, UnconvertibleFieldsStopThePainting)
{
    struct Case {
        const char* description;
        const char* bad;
    } cases[] = {
        {"r,0,0,100,50;c,clReed;r,0,50,100,100", "clReed"},
        {"c,clRed;r,0,0,1OO,50", "1OO"},
        {"c,clRed;r,0,0,100", ""},      // a missing field is no number
        {"cr,255,x,0", "x"},
        {"q,0,1", "0"},                 // a flag of no proportion
        {"c,clRed;s,50,50,20,40,0", "0"}, // a star of no spikes
        {"c,clRed;t,10,10,a,10,50,50", "a"},
    };
    for (const Case& c : cases) {
        try {
            paint(c.description);
            ADD_FAILURE() << c.description << " painted";
        } catch (const FlagConversionError& e) {
            EXPECT_EQ(e.description(), c.description);
            EXPECT_EQ(e.text(), c.bad) << c.description;
            EXPECT_TRUE(e.message().contains(c.description)) << e.message().toStdString();
        }
    }
}

TEST(FlagPainter, EmblemIsDrawnFromThePictureFolder)
{
    QTemporaryDir dir;
    writeSvg(dir.filePath("emblem_xx.svg"));
    FlagPainter painter;
    // Without a picture folder the emblem is left out.
    EXPECT_EQ(area(paint(painter, "m,emblem_xx.svg,-1,-1,0,50"), kBlue), QRect());

    painter.SetPictureFolder(dir.path());
    EXPECT_EQ(area(paint(painter, "m,emblem_xx.svg,-1,-1,0,50"), kBlue), QRect(45, 22, 45, 45));
    EXPECT_EQ(area(paint(painter, "m,EMBLEM_XX.svg,10,10,20,0"), kBlue), QRect(13, 9, 27, 27));
    EXPECT_THROW(paint(painter, "m,emblem_zz.svg,-1,-1,0,50"), FlagFileError);
}

// Descriptions as a damaged index may hold them. Every measure is cut to the
// flag before anything is allocated or converted: each paints at once, the
// emblem picture is never larger than the flag, and nothing is painted
// beside the flag.
TEST(FlagPainter, HostileMeasuresStayWithinTheFlag)
{
    QTemporaryDir dir;
    writeSvg(dir.filePath("emblem_xx.svg"));
    const char* const cases[] = {
        "m,emblem_xx.svg,-1,-1,15000,15000",
        "m,emblem_xx.svg,-1,-1,2147483647,0",
        "m,emblem_xx.svg,-2147483648,-2147483648,2147483647,2147483647",
        "m,emblem_xx.svg,2147483647,-1,50,50", // wholly beside the flag
        "c,clRed;co,0,0,100,100,2147483647,20",
        "c,clRed;co,2147483647,2147483647,2147483647,2147483647,2147483647,2147483647",
        "c,clRed;co,-2147483648,-2147483648,-2147483648,-2147483648,-2147483648,-2147483648",
        "c,clRed;r,-2147483648,-2147483648,2147483647,2147483647",
        "c,clRed;r,-1,-1,-2147483648,2147483647",
        "c,clRed;e,2147483647,-2147483648,2147483647",
        "c,clRed;e,50,50,2147483647",
        "c,clRed;t,2147483647,0,-2147483648,2147483647,0,-2147483648",
        "c,clRed;s,2147483647,2147483647,2147483647,2147483647,20,2147483647",
        "c,clRed;s,-1,50,2147483647,-2147483648",
        "q,1,100000;c,clRed;r,0,0,100,100",
        "q,1,2147483647;m,emblem_xx.svg,0,0,100,100",
        "q,2147483647,1;c,clRed;r,0,0,100,100",
    };
    const QRgb kGrey = qRgb(128, 128, 128);
    const QPoint at(20, 20);
    QElapsedTimer clock;
    clock.start();
    for (const char* description : cases) {
        for (const bool fixed : {false, true}) {
            FlagPainter painter;
            painter.SetPictureFolder(dir.path());
            painter.SetFixedRatio(fixed);
            const int width = FlagPainter::FlagWidth(description, 90, fixed);
            EXPECT_GE(width, 0) << description;
            EXPECT_LE(width, 4 * 90) << description << ": no flag is wider than four times its height";

            // The flag inside a grey margin that must stay grey.
            QImage image(std::min(width, 400) + 2 * at.x(), 90 + 2 * at.y(), QImage::Format_RGB32);
            image.fill(kGrey);
            {
                QPainter p(&image);
                p.translate(at);
                painter.Paint(p, description, 90);
            }
            const QRect flag(at, QSize(width, 90));
            int outside = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    outside += !flag.contains(x, y) && image.pixel(x, y) != kGrey;
            EXPECT_EQ(outside, 0) << description << (fixed ? " fixed" : "");
            if (painter.HasEmblem()) {
                EXPECT_LE(painter.EmblemSize().width(), width) << description;
                EXPECT_LE(painter.EmblemSize().height(), 90) << description;
            }
        }
    }
    EXPECT_LT(clock.elapsed(), 5000) << "ms for all of them";

    // A huge emblem is the flag-sized part of it: here the middle of a blue square.
    FlagPainter painter;
    painter.SetPictureFolder(dir.path());
    EXPECT_EQ(area(paint(painter, "m,emblem_xx.svg,-1,-1,15000,15000"), kBlue), QRect(1, 1, 133, 88));
}

TEST(TFlag, KeepsTheEmblemForTheSameDescription)
{
    QTemporaryDir dir;
    writeSvg(dir.filePath("emblem_xx.svg"));
    const QString description = "c,clRed;r,0,0,100,100;m,emblem_xx.svg,-1,-1,0,50";
    TFlag flag;
    flag.SetPictureFolder(dir.path());
    flag.SetFixedRatio(true);
    flag.resize(10, 90);
    flag.SetDescription(description);
    EXPECT_EQ(flag.grab().toImage().pixel(67, 45), kBlue);
    EXPECT_TRUE(flag.HasEmblemCache());

    // The picture is not read again: gone from the disk, it still shows.
    ASSERT_TRUE(QFile::remove(dir.filePath("emblem_xx.svg")));
    flag.SetDescription(description);
    EXPECT_EQ(flag.grab().toImage().pixel(67, 45), kBlue);
    EXPECT_TRUE(flag.LastError().isEmpty());

    flag.SetDescription(description + ";c,clRed");
    EXPECT_FALSE(flag.HasEmblemCache());
    const QImage missing = flag.grab().toImage();
    EXPECT_TRUE(flag.LastError().contains("emblem_xx.svg"));
    EXPECT_EQ(missing.pixel(67, 45), kRed); // painted up to the emblem
    EXPECT_EQ(missing.pixel(0, 45), kBlack);
}

TEST(TFlag, ShowsABadDescriptionAsFarAsItGoes)
{
    TFlag flag;
    flag.resize(10, 90);
    flag.SetDescription("c,clRed;r,0,0,100,50;c,clReed;r,0,50,100,100");
    ASSERT_EQ(flag.size(), QSize(135, 90));
    const QImage image = flag.grab().toImage();
    EXPECT_TRUE(flag.LastError().contains("clReed"));
    EXPECT_EQ(image.pixel(67, 20), kRed);
    EXPECT_EQ(image.pixel(67, 70), kWhite);
    EXPECT_EQ(image.pixel(134, 70), kBlack);

    flag.SetDescription("q,x,1;c,clRed");
    const QImage unusable = flag.grab().toImage();
    EXPECT_FALSE(flag.LastError().isEmpty());
    EXPECT_EQ(unusable.pixel(67, 45), kWhite);
    EXPECT_EQ(unusable.pixel(0, 45), kBlack);
}

TEST(TFlag, FitsItsWidthAndReportsPresses)
{
    TFlag flag;
    flag.show();
    flag.resize(300, 60);
    EXPECT_EQ(flag.width(), 90);
    flag.SetDescription("q,1,2");
    EXPECT_EQ(flag.width(), 120);
    flag.SetFixedRatio(true);
    EXPECT_EQ(flag.width(), 90);
    flag.SetDescription("q,1,1");
    EXPECT_EQ(flag.width(), 60);

    struct Press {
        TFlag* flag = nullptr;
        Qt::MouseButton button = Qt::NoButton;
        QPoint at;
        Qt::KeyboardModifiers shift;
    } press;
    flag.SetOnPress([&](TFlag& f, Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers shift) {
        press = {&f, button, QPoint(x, y), shift};
    });
    QTest::mousePress(&flag, Qt::RightButton, Qt::ShiftModifier, QPoint(12, 34));
    EXPECT_EQ(press.flag, &flag);
    EXPECT_EQ(press.button, Qt::RightButton);
    EXPECT_EQ(press.at, QPoint(12, 34));
    EXPECT_EQ(press.shift, Qt::ShiftModifier);
}

// The shipped table of flag descriptions.
struct FlagLine {
    QString key;
    QString description;
};

QList<FlagLine> readFlagTable()
{
    QList<FlagLine> lines;
    QFile f(QStringLiteral(ORBILO_FLAGS_TSV));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ADD_FAILURE() << "cannot read " << ORBILO_FLAGS_TSV;
        return lines;
    }
    int number = 0;
    while (!f.atEnd()) {
        ++number;
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList parts = line.split(u'\t');
        if (parts.size() != 2 || parts[0].isEmpty() || parts[1].isEmpty()) {
            ADD_FAILURE() << "line " << number << " is not KEY<TAB>description: " << line.toStdString();
            continue;
        }
        lines.append({parts[0], parts[1]});
    }
    return lines;
}

TEST(FlagTable, EveryDescriptionPaints)
{
    const QList<FlagLine> lines = readFlagTable();
    EXPECT_GT(lines.size(), 200);
    QSet<QString> keys;
    FlagPainter painter;
    painter.SetPictureFolder(QStringLiteral(ORBILO_DATA_DIR));
    for (const bool fixed : {true, false}) {
        painter.SetFixedRatio(fixed);
        for (const FlagLine& line : lines) {
            painter.DropEmblem();
            try {
                paint(painter, line.description);
            } catch (const OrbiloError& e) {
                ADD_FAILURE() << line.key.toStdString() << ": " << e.message().toStdString();
            }
            if (fixed) {
                // The index keeps values of at most 2047 characters.
                EXPECT_LE(line.description.size(), 2047) << line.key.toStdString();
                EXPECT_FALSE(keys.contains(line.key)) << "twice: " << line.key.toStdString();
            }
            keys.insert(line.key);
        }
    }
}

// Renders every flag of the table into one picture when ORBILO_SCREENSHOT_DIR
// is set, so that they can be looked at; otherwise skipped.
TEST(FlagTable, ContactSheet)
{
    const QString out = qEnvironmentVariable("ORBILO_SCREENSHOT_DIR");
    if (out.isEmpty())
        GTEST_SKIP() << "set ORBILO_SCREENSHOT_DIR to render the flags";
    const bool fixed = qEnvironmentVariable("ORBILO_FLAGS_FREE_RATIO").isEmpty();
    const QList<FlagLine> lines = readFlagTable();
    const int columns = 10;
    const int cellWidth = 200;
    const int cellHeight = 112;
    const int rows = (static_cast<int>(lines.size()) + columns - 1) / columns;
    QImage sheet(columns * cellWidth, rows * cellHeight, QImage::Format_RGB32);
    sheet.fill(qRgb(230, 230, 230));
    QPainter p(&sheet);
    FlagPainter painter;
    painter.SetPictureFolder(QStringLiteral(ORBILO_DATA_DIR));
    painter.SetFixedRatio(fixed);
    for (int i = 0; i < lines.size(); ++i) {
        const QPoint at((i % columns) * cellWidth + 4, (i / columns) * cellHeight + 4);
        painter.DropEmblem();
        p.save();
        p.translate(at);
        painter.TryPaint(p, lines[i].description, 90);
        p.restore();
        p.setPen(Qt::black);
        p.drawText(QRect(at.x(), at.y() + 90, cellWidth, 18), Qt::AlignLeft | Qt::AlignVCenter, lines[i].key);
    }
    p.end();
    QDir().mkpath(out);
    const QString name = out + (fixed ? "/flags" : "/flags_free");
    ASSERT_TRUE(sheet.save(name + ".png"));
    // Pages of five rows, small enough to look at closely.
    for (int page = 0; page * 5 < rows; ++page)
        sheet.copy(0, page * 5 * cellHeight, sheet.width(), std::min(5, rows - page * 5) * cellHeight).save(QString("%1_%2.png").arg(name).arg(page + 1));
}

} // namespace
