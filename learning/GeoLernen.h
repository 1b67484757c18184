#pragma once

#include "learning/Geo.h"

#include <array>
#include <functional>
#include <memory>

class QLabel;
class TChartBar;
class TErgebnis;

// The lesson view of a learning run: it makes the question panel of the
// chosen mode, keeps the run's result, shows the running counts in its
// status line, and at the end shows and stores the result.
class TGeoLernen : public TGeo {
public:
    TGeoLernen(QWidget* page, const QString& lessonPath, std::unique_ptr<TLernOptionen> options,
               const QString& programFolder);
    ~TGeoLernen() override;

    // False when the lesson file was missing; the view then has nothing to show.
    bool Opened() const { return m_opened; }
    TErgebnis& Result() { return *m_result; }

    void Begin() override;
    // Stops the panel and, after at least one right answer, shows the result
    // and appends it to the learner's result file. When that file cannot be
    // written the error is shown and the view stays open (false).
    bool Close() override;
    void ShowResult() override;
    void RefreshStatus();

    // The result window: shows a result modally. Installed by the program entry.
    static inline std::function<void(TGeoLernen& view, const TErgebnis& result)> ResultWindow;

    TChartBar* ProgressBar() const { return m_progress; }
    QLabel* CountField(int index) const { return m_counts[static_cast<size_t>(index)]; }

private:
    TGeoInput* CreateInput(int mode);
    void BuildStatusLine();
    void OnItemSelected(TGeoItem* item);
    void OnStateChanged(TGeoItem& item);

    std::unique_ptr<TErgebnis> m_result;
    std::array<QLabel*, 3> m_counts{};
    TChartBar* m_progress = nullptr;
    bool m_opened = false;
};
