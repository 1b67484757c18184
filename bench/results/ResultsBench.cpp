#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/Optionen.h"
#include "results/Ergebnis.h"
#include "results/Ergebnisse.h"
#include "results/GeoChart.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

// The result window of a lesson with 1,000 stored runs, and its chart.
namespace {

constexpr int kRuns = 1000;

QString runLine(int i)
{
    return QStringLiteral("%1.%2.2001 %3:%4;%5;%6;%7 %;%8;Abfrage")
        .arg(i % 28 + 1, 2, 10, QChar(u'0'))
        .arg(i % 12 + 1, 2, 10, QChar(u'0'))
        .arg(i % 24, 2, 10, QChar(u'0'))
        .arg(i % 60, 2, 10, QChar(u'0'))
        .arg(i % 30)
        .arg(i % 7)
        .arg(i * 37 % 101)
        .arg(60 + i);
}

struct ProgramFolder {
    QTemporaryDir dir;
    std::unique_ptr<TOptionen> options;

    ProgramFolder()
    {
        QDir(dir.path()).mkdir(QStringLiteral("Ergebnisse"));
        QFile ini(dir.filePath(QStringLiteral("geo.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[Users]\n1=Anna\n");
        ini.close();
        options = std::make_unique<TOptionen>(dir.path() + u'/', std::make_unique<IniFile>(ini.fileName()));
        options->UserNumber = 1;
        QByteArray text = "[Asien.lek]\n1=x\n[Europa.lek]\n";
        for (int i = 1; i <= kRuns; ++i)
            text += QByteArray::number(i) + '=' + runLine(i).toUtf8() + '\n';
        QFile results(options->ResultFilePath());
        results.open(QIODevice::WriteOnly);
        results.write(text);
    }
};

// Shows the window and lets it paint once instead of running a modal loop.
class ShowOnce : public DialogResponder {
public:
    int message(const MessageRequest&) override { return mrOk; }
    bool input(const InputRequest&, QString&) override { return false; }
    int execDialog(QDialog& dialog) override
    {
        dialog.show();
        dialog.repaint();
        QApplication::processEvents();
        dialog.hide();
        return QDialog::Accepted;
    }
};

void BM_FillAndShowResultWindow(benchmark::State& state)
{
    ProgramFolder folder;
    Tfrm_Ergebnis window;
    ShowOnce responder;
    DialogResponder* previous = SetDialogResponder(&responder);
    TErgebnis result;
    result.Total = 15;
    result.Correct = 12;
    result.ModeText = QStringLiteral("Kurzkontrolle");
    for (auto _ : state)
        benchmark::DoNotOptimize(window.ShowResult(result, QStringLiteral("Europa.lek"), *folder.options, 1));
    SetDialogResponder(previous);
    state.counters["rows"] = static_cast<double>(window.ComparisonRows().size());
}
BENCHMARK(BM_FillAndShowResultWindow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_PaintChart(benchmark::State& state)
{
    std::vector<TResultRow> rows;
    TResultRow row;
    for (int i = 1; i <= kRuns; ++i)
        if (ParseResultLine(runLine(i), row))
            rows.push_back(row);
    TGeoChart chart;
    chart.resize(408, 283);
    chart.SetRows(&rows);
    QImage image(chart.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        chart.Paint(painter);
    }
}
BENCHMARK(BM_PaintChart)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

