#include "ResultsSupport.h"
#include "support/TestResponder.h"

#include "platform/IniFile.h"
#include "platform/Optionen.h"
#include "results/ChartBar.h"
#include "results/Ergebnisse.h"
#include "results/GeoChart.h"
#include "results/ResultTexts.h"
#include "widgets/FlatButton.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const std::array<int, 6> kLimits{0, 90, 75, 65, 50, 25};

QString lineOf(int percent)
{
    return QStringLiteral("02.02.2001 14:35;%1;%2;%1 %;95;Abfrage").arg(percent).arg(100 - percent);
}

TEST(ResultTexts, SingularAndPluralInEveryLanguage)
{
    FakeClock clock;
    TLangDictionary d = TLangDictionary::forWindow(QStringLiteral("Tfrm_Ergebnis"));
    d.DoRaiseExceptions = true;
    const struct {
        int correct, total, seconds, language;
        const char *richtig, *falsch, *prozent, *dauer, *dauerfrage, *note;
    } cases[] = {
        {1, 1, 60, 1, "1 richtige Antwort von 1 Frage", "0 falsche Antworten", "Sie haben 100 % gewußt.",
         "Sie haben 1 Minute gelernt.", "Das entspricht 60 Sekunden für jede richtige Antwort.",
         "Sehr gut (Schulnote 1)"},
        {1, 2, 59, 2, "1 richtige Antwort von 2 Fragen", "1 falsche Antwort", "Sie haben 50 % gewusst.",
         "Sie haben weniger als eine Minute gelernt.", "Das entspricht 59 Sekunden für jede richtige Antwort.",
         "Ausreichend (Schulnote 4)"},
        {12, 15, 95, 3, "12 correct answers out of 15 questions", "3 incorrect answers", "You knew 80 % .",
         "You have learnt 1 minute.", "This equals 7 seconds for each correct answer.", "Good (grade 2)"},
        {30, 31, 45, 3, "30 correct answers out of 31 questions", "1 incorrect answer", "You knew 96 % .",
         "You have learnt less than one minute.", "This equals 1 second for each correct answer.",
         "Very good (grade 1)"},
        {0, 0, 150, 1, "0 richtige Antworten von 0 Fragen", "0 falsche Antworten", "Sie haben 0 % gewußt.",
         "Sie haben 2 Minuten gelernt.", "Das entspricht 0 Sekunden für jede richtige Antwort.",
         "Ungenügend (Schulnote 6)"},
    };
    for (const auto& c : cases) {
        clock.now = QDateTime(QDate(2001, 2, 2), QTime(14, 35));
        const TErgebnis result = MakeRun(clock, c.correct, c.total, c.seconds);
        d.SetActLang(c.language);
        const TResultTexts t = BuildResultTexts(result, QStringLiteral("Anna"), d, kLimits);
        SCOPED_TRACE(c.richtig);
        EXPECT_EQ(t.person, "Anna");
        EXPECT_EQ(t.richtig, QString::fromUtf8(c.richtig));
        EXPECT_EQ(t.falsch, QString::fromUtf8(c.falsch));
        EXPECT_EQ(t.prozent, QString::fromUtf8(c.prozent));
        EXPECT_EQ(t.zeit, "02.02.2001 14:35 Uhr");
        EXPECT_EQ(t.dauer, QString::fromUtf8(c.dauer));
        EXPECT_EQ(t.dauerfrage, QString::fromUtf8(c.dauerfrage));
        EXPECT_EQ(t.note, QString::fromUtf8(c.note));
    }
}

class ResultWindow : public ::testing::Test {
protected:
    FakeClock clock;
    Tfrm_Ergebnis window;

    QString header(int column) const { return window.ListVergleich()->headerItem()->text(column); }
    QString cell(int row, int column) const { return window.ListVergleich()->topLevelItem(row)->text(column); }
};

TEST_F(ResultWindow, ComparisonListInEveryLanguage)
{
    const char* expected[3][7] = {{"Lernergebnis", "Zeit", "Richtig", "Falsch", "Lernerfolg", "Dauer", "Art"},
                                  {"Lernergebnis", "Zeit", "Richtig", "Falsch", "Lernerfolg", "Dauer", "Art"},
                                  {"Learning result", "Time", "Right", "Wrong", "Result", "Duration", "Type"}};
    const QStringList stored{"01.02.2001 10:00;5;5;50 %;600;Abfrage", "broken line",
                             "01.02.2001 11:00;9;1;90 %;60;Auswahl"};
    for (int language = 1; language <= 3; ++language) {
        const TErgebnis run = MakeRun(clock, 1, 2, 59);
        window.Fill(run, QStringLiteral("Anna"), stored, language, kLimits);
        SCOPED_TRACE(language);
        EXPECT_EQ(window.windowTitle(), expected[language - 1][0]);
        for (int column = 0; column < 6; ++column)
            EXPECT_EQ(header(column), expected[language - 1][column + 1]);
        ASSERT_EQ(window.ListVergleich()->topLevelItemCount(), 3);
        EXPECT_EQ(cell(0, 4), "10 Min.");
        EXPECT_EQ(cell(1, 4), "1 Min.");
        // The current run comes last; its empty English unit falls back to German.
        EXPECT_EQ(QStringList({cell(2, 1), cell(2, 2), cell(2, 3), cell(2, 4), cell(2, 5)}),
                  QStringList({"1", "1", "50 %", "0 Min.", "Kurzkontrolle"}));
        EXPECT_EQ(window.Label("lbl_note")->text(), language == 3 ? "Sufficient (grade 4)" : "Ausreichend (Schulnote 4)");
    }
    EXPECT_EQ(window.findChild<QAbstractButton*>("btn_Grafik")->text(), "Graphics");
    EXPECT_EQ(window.findChild<QLabel*>("Label2")->text(), "Success rate:");
    EXPECT_EQ(window.ListVergleich()->columnWidth(0), 105);
    EXPECT_FALSE(window.ListVergleich()->header()->sectionsClickable());
}

TEST_F(ResultWindow, PageButtonsSwitchBetweenPagesAndChart)
{
    window.Fill(MakeRun(clock, 3, 4, 10), {}, {}, 1, kLimits);
    window.show();
    auto* pages = window.findChild<QStackedWidget*>("Seiten");
    window.PageButton(2)->click();
    EXPECT_EQ(window.CurrentPage(), 2);
    EXPECT_FALSE(pages->isVisible());
    EXPECT_TRUE(window.Chart()->isVisible());
    EXPECT_EQ(window.Chart()->geometry(), QRect(17, 60, 408, 283));
    window.PageButton(1)->click();
    EXPECT_TRUE(pages->isVisible());
    EXPECT_FALSE(window.Chart()->isVisible());
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_FALSE(window.PageButton(2)->isChecked());
}

TEST_F(ResultWindow, EnterAndEscapeBothClose)
{
    window.Fill(MakeRun(clock, 3, 4, 10), {}, {}, 1, kLimits);
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        window.show();
        window.PageButton(1)->setFocus();
        QTest::keyClick(&window, Qt::Key(key));
        EXPECT_FALSE(window.isVisible()) << key;
    }
}

TEST_F(ResultWindow, ShowResultReadsTheFileAndStartsOnTheResultPage)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Ergebnisse");
    {
        QFile ini(dir.filePath("geo.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Users]\n3=Ben\n");
    }
    TOptionen options(dir.path() + u'/', std::make_unique<IniFile>(dir.filePath("geo.ini")));
    options.UserNumber = 3;
    options.GradeThresholds = {0, 95, 85, 75, 60, 30};
    TResultFile(options).AppendLine("Europa.lek", lineOf(40));

    TestResponder responder;
    int rows = -1;
    int page = -1;
    responder.onDialog = [&](QDialog&) {
        rows = window.ListVergleich()->topLevelItemCount();
        page = window.CurrentPage();
        return int(QDialog::Accepted);
    };
    window.ShowPage(2);
    const TErgebnis run = MakeRun(clock, 12, 15, 95);
    EXPECT_EQ(window.ShowResult(run, "Europa.lek", options, 2), QDialog::Accepted);
    EXPECT_EQ(responder.dialogsShown, 1);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(page, 0);
    EXPECT_EQ(window.Label("lbl_person")->text(), "Ben");
    EXPECT_EQ(window.Label("lbl_note")->text(), "Befriedigend (Schulnote 3)"); // 80 % under the user's limits
    EXPECT_EQ(window.ResultBar()->Percent(), 80);
    EXPECT_EQ(TResultFile(options).ReadLines("Europa.lek").size(), 1); // showing stores nothing

    // A first run on a lesson shows exactly one row: the current run.
    window.ShowResult(run, "Asien.lek", options, 3);
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(window.ComparisonRows().back().Percent, 80);
}

// Pixels of the painting controls.

QImage paint(QWidget& widget)
{
    widget.ensurePolished();
    return widget.grab().toImage();
}

QColor at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

TEST(ChartBar, SegmentsRunFromRedToGreen)
{
    TChartBar bar;
    bar.resize(304, 12);
    bar.SetMargin(2);
    bar.SetShowText(false);
    bar.SetBackground(0xEEEEEE);
    bar.SetSunken(true);
    // Segments of (304 - 30 * 2) / 30 = 8 pixels, each followed by a gap of 2, from x = 3.
    auto segmentColour = [](const QImage& image, int i) { return image.pixelColor(3 + (i - 1) * 10 + 4, 6); };

    bar.SetPercent(100);
    QImage image = paint(bar);
    EXPECT_EQ(segmentColour(image, 30), QColor(0, 0x80, 0));
    EXPECT_EQ(segmentColour(image, 1), TChartBar::SegmentColor(0x0000FF, 0x008000, 30, 1));
    EXPECT_EQ(segmentColour(image, 1).red(), 246); // 255 - 255 * 3.33 / 100
    EXPECT_EQ(at(image, 3 + 8, 6), QColor(0xEE, 0xEE, 0xEE)); // the gap
    EXPECT_EQ(at(image, 0, 5), QColor(0x80, 0x80, 0x80));     // sunken frame
    EXPECT_EQ(at(image, 303, 5), QColor(Qt::white));

    bar.SetPercent(50);
    image = paint(bar);
    EXPECT_EQ(segmentColour(image, 15), QColor(127, 64, 0));
    EXPECT_EQ(segmentColour(image, 16), QColor(0xEE, 0xEE, 0xEE));

    bar.SetPercent(101);
    EXPECT_EQ(bar.Percent(), 0);
    image = paint(bar);
    EXPECT_EQ(segmentColour(image, 1), QColor(0xEE, 0xEE, 0xEE));
}

TEST(ChartBar, TextIsWhiteOnceTheBarReachesIt)
{
    TChartBar bar;
    bar.resize(304, 16);
    bar.SetContinuous(true);
    bar.SetGap(0);
    bar.SetBackground(0xEEEEEE);
    // Text pixels near the colour (the text is anti-aliased) in the middle of the bar.
    auto count = [](const QImage& image, QColor colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 120; x < 184; ++x) {
                const QColor c = image.pixelColor(x, y);
                n += std::abs(c.red() - colour.red()) < 50 && std::abs(c.green() - colour.green()) < 50
                  && std::abs(c.blue() - colour.blue()) < 50;
            }
        return n;
    };
    bar.SetPercent(80);
    QImage image = paint(bar);
    EXPECT_GT(count(image, Qt::white), 5);
    EXPECT_EQ(count(image, Qt::black), 0);
    // Continuous: the colour at x follows the segment of that pixel.
    EXPECT_EQ(at(image, 2, 5), TChartBar::SegmentColor(0x0000FF, 0x008000, 304, 1));
    EXPECT_EQ(at(image, 301, 5), QColor(0xEE, 0xEE, 0xEE)); // 80 % of 304 ends at 245

    bar.SetPercent(20);
    image = paint(bar);
    EXPECT_GT(count(image, Qt::black), 5);
}

TEST(GeoChart, ShowsTheLastRunsThatFit)
{
    std::vector<TResultRow> rows(40);
    for (int i = 0; i < 40; ++i)
        rows[i].Percent = i == 13 ? 0 : 100 - i;
    TGeoChart chart;
    chart.resize(408, 283);
    chart.SetRows(&rows);
    ASSERT_EQ(chart.Capacity(), 27);
    const QImage image = paint(chart);
    const int h = 283;
    // Bar k (from 0) shows row 13 + k; its left edge is 3 + 15 k.
    auto barTop = [&](int k) {
        const int x = 3 + 15 * k + 6;
        int y = 1;
        while (y < h - 1 && image.pixelColor(x, y) != QColor(Qt::black))
            ++y;
        return y;
    };
    EXPECT_EQ(barTop(0), h - 2); // 0 %: a flat outline at the bottom
    EXPECT_EQ(barTop(1), h - int((h - 2) / (100.0 / 86)));
    EXPECT_EQ(at(image, 3 + 15 + 6, h - 5), QColor(0, 0x80, 0));
    EXPECT_EQ(at(image, 3 + 15 * 26 + 6, h - 5), QColor(0xFF, 0xFF, 0)); // the current run, at the right
    EXPECT_EQ(at(image, 3 + 15 * 26 + 12, h - 5), QColor(Qt::white));     // the gap
    EXPECT_EQ(at(image, 3 + 15 * 13 + 13, h / 2), QColor(0xB5, 0xB5, 0xB5)); // guide line in a gap
    EXPECT_EQ(at(image, 0, 100), QColor(0x80, 0x80, 0x80));
}

TEST_F(ResultWindow, RenderPages)
{
    const QString out = qEnvironmentVariable("ORBILO_SCREENSHOT_DIR");
    if (out.isEmpty())
        GTEST_SKIP() << "set ORBILO_SCREENSHOT_DIR to render the result window";
    QDir().mkpath(out);
    QStringList stored;
    for (int i = 0; i < 30; ++i)
        stored << QStringLiteral("%1.01.2001 1%2:05;%3;%4;%5 %;%6;Abfrage")
                      .arg(i % 28 + 1, 2, 10, QChar(u'0'))
                      .arg(i % 10)
                      .arg(10 + i % 7)
                      .arg(i % 5)
                      .arg(40 + (i * 37) % 61)
                      .arg(30 + i * 13);
    window.show();
    for (int language = 1; language <= 3; ++language) {
        clock.now = QDateTime(QDate(2001, 2, 2), QTime(14, 35));
        window.Fill(MakeRun(clock, 12, 15, 95), QStringLiteral("Anna"), stored, language, kLimits);
        for (int page = 0; page < 3; ++page) {
            window.PageButton(page)->click();
            window.grab().save(QStringLiteral("%1/result_%2_%3.png").arg(out).arg(page).arg(language));
        }
    }
    // The bar as the learning view's status line uses it.
    TChartBar status;
    status.resize(400, 20);
    status.SetContinuous(true);
    status.SetGap(0);
    status.SetBackground(0xEEEEEE);
    for (const int percent : {0, 20, 45, 80, 100}) {
        status.SetPercent(percent);
        status.grab().save(QStringLiteral("%1/statusbar_%2.png").arg(out).arg(percent));
    }
}

} // namespace
