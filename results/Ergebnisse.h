#pragma once

#include "i18n/LangDictionary.h"
#include "results/ResultFile.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <vector>

class FlatButton;
class QButtonGroup;
class QLabel;
class QStackedWidget;
class QTreeWidget;
class TChartBar;
class TErgebnis;
class TGeoChart;
class TOptionen;

// The result window: the result of a run with its grade, the comparison
// list of every stored run of the lesson, and their chart. Made once at
// program start and shown modally by the learning view.
class Tfrm_Ergebnis : public QDialog {
public:
    explicit Tfrm_Ergebnis(QWidget* parent = nullptr);
    ~Tfrm_Ergebnis() override;

    TLangDictionary lang;

    // Fills the window for the run and shows it modally: the language of the
    // main window, the result page, and the comparison list of the lines
    // stored for the lesson followed by the current run (not stored here).
    int ShowResult(const TErgebnis& result, const QString& lessonFileName, const TOptionen& options, int language);

    // The filling alone: `storedLines` are the lesson's lines from the file.
    void Fill(const TErgebnis& result, const QString& userName, const QStringList& storedLines, int language,
              const std::array<int, 6>& thresholds);

    // 0 result, 1 comparison, 2 chart.
    void ShowPage(int page);
    int CurrentPage() const;

    // The comparison list as drawn: the well-formed stored lines, then the
    // current run.
    const std::vector<TResultRow>& ComparisonRows() const { return m_rows; }

    // The controls, for the learning view's tests and for screenshots.
    QLabel* Label(const QString& name) const;
    QTreeWidget* ListVergleich() const { return m_list; }
    TChartBar* ResultBar() const { return m_bar; }
    TGeoChart* Chart() const { return m_chart; }
    FlatButton* PageButton(int page) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillList();

    QStackedWidget* m_pages;
    QButtonGroup* m_pageButtons;
    QTreeWidget* m_list;
    TChartBar* m_bar;
    TGeoChart* m_chart;
    std::vector<TResultRow> m_rows;
};
