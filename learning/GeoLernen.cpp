#include "learning/GeoLernen.h"
#include "learning/MapFocus.h"

#include "i18n/LangDialogs.h"
#include "i18n/MainDictionary.h"
#include "learning/GeoInputAbfrage.h"
#include "learning/GeoInputKK.h"
#include "learning/GeoInputMemory.h"
#include "lesson/LessonHooks.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "maps/GeoVisual.h"
#include "platform/ErrorDisplay.h"
#include "platform/OrbiloError.h"
#include "platform/Optionen.h"
#include "results/ChartBar.h"
#include "results/Ergebnis.h"
#include "results/ResultFile.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>

TGeoLernen::TGeoLernen(QWidget* page, const QString& lessonPath, std::unique_ptr<TLernOptionen> options,
                       const QString& programFolder)
    : TGeo(page, lessonPath, std::move(options), programFolder)
{
    setObjectName(QStringLiteral("TGeoLernen"));
    Mode = Options ? Options->Mode : 0;
    InputPanel = CreateInput(Mode);
    InputPanel->OnFinished = [] { TGeo::PostEndOfSession(); };
    InputPanel->OnItemSelected = [this](TGeoItem* item) { OnItemSelected(item); };
    m_result = InputPanel->CreateResult();
    m_result->ModeText = InputPanel->ModeName();
    PlaceInputPanel();
    BuildStatusLine();
    m_opened = OpenLessonFile(lessonPath);
    if (m_opened && MapView && Mode == 3) {
        // The memory game takes the whole view; the hidden map still draws
        // the outlines on its cards.
        MapView->hide();
        if (auto* memory = dynamic_cast<TGeoInputMemory*>(InputPanel))
            memory->SetOutlineRenderer([map = MapView](TGeoItem& item, QPainter& painter, const QRect& rect) {
                map->RenderItem(item, painter, rect);
            });
    }
    if (m_opened && MapView)
        if (QWidget* canvas = MapView->InteractiveCanvas())
            new FocusBackAfterMapUse(*canvas, [this]() -> QWidget* { return InputPanel ? InputPanel->focusWidget() : nullptr; });
    if (m_opened)
        Begin();
}

TGeoLernen::~TGeoLernen()
{
    LessonHooks::ClearStateObserver();
    // The panel refers to the result: it goes before the record.
    delete InputPanel;
    InputPanel = nullptr;
}

TGeoInput* TGeoLernen::CreateInput(int mode)
{
    switch (mode) {
    case 0:
        return new TGeoInputKK(this, *Lesson);
    case 1:
        if (Options && Options->ViewOnMap)
            return new TGeoInputAbfrageClick(this, *Lesson);
        return new TGeoInputAbfrageEdit(this, *Lesson);
    case 2:
        return new TGeoInputAbfrageChoice(this, *Lesson);
    case 3:
        return new TGeoInputMemory(this, *Lesson);
    default:
        throw OrbiloError(MainDictionary().GetText(QStringLiteral("mode_unavailable")));
    }
}

void TGeoLernen::BuildStatusLine()
{
    auto* status = new QWidget(this);
    status->setObjectName(QStringLiteral("pn_Status"));
    status->setFixedHeight(20);
    status->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(status);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_progress = new TChartBar(status);
    m_progress->setObjectName(QStringLiteral("ProgressBar"));
    m_progress->SetContinuous(true);
    m_progress->SetGap(0);
    m_progress->SetMargin(1);
    m_progress->SetBackground(0xEEEEEE);
    m_progress->SetStartColor(0x0000FF);
    m_progress->SetEndColor(0x008000);
    m_progress->SetShowText(true);
    row->addWidget(m_progress, 1);
    for (size_t i = 0; i < m_counts.size(); ++i) {
        auto* field = new QLabel(status);
        field->setObjectName(QStringLiteral("lbl_Count%1").arg(i + 1));
        field->setFrameShape(QFrame::StyledPanel);
        field->setIndent(4);
        row->addWidget(field);
        m_counts[i] = field;
    }
    PlaceBottomBar(status);
}

void TGeoLernen::Begin()
{
    TGeo::Begin();
    LessonHooks::SetStateObserver([this](TGeoItem& item) { OnStateChanged(item); });
    m_result->Start();
    RefreshStatus();
}

void TGeoLernen::RefreshStatus()
{
    TErgebnis& result = *m_result;
    if (result.Recount)
        result.RecountFrom(*Lesson);
    const TLangDictionary& dictionary = MainDictionary();
    const QString labels[3] = {dictionary.GetText(QStringLiteral("st_all")), dictionary.GetText(QStringLiteral("st_correct")),
                               dictionary.GetText(QStringLiteral("st_wrong"))};
    const int counts[3] = {result.Total, result.Correct, result.Total - result.Correct};
    for (int i = 0; i < 3; ++i) {
        QLabel* field = m_counts[i];
        field->setText(labels[i] + QString::number(counts[i]));
        // Wide enough for a four-digit count in this language, so that the
        // fields neither jump while counting nor run off the window.
        const int needed = field->fontMetrics().horizontalAdvance(labels[i] + QStringLiteral("9999"))
                           + field->contentsMargins().left() + field->contentsMargins().right() + 2 * field->margin() + 8;
        field->setFixedWidth(std::max(90, needed));
    }
    m_progress->SetPercent(result.SuccessRate());
}

void TGeoLernen::OnItemSelected(TGeoItem* item)
{
    ShowItemOnMap(item);
    if (Mode != 0)
        RefreshStatus();
}

void TGeoLernen::OnStateChanged(TGeoItem& item)
{
    RefreshStatus();
    RouteStateChange(item);
}

void TGeoLernen::ShowResult()
{
    RefreshStatus();
    if (ResultWindow)
        ResultWindow(*this, *m_result);
}

bool TGeoLernen::Close()
{
    // Stop may put the main run's figures back after an intensive training:
    // they are taken as they are, not recounted.
    if (InputPanel)
        InputPanel->Stop();
    if (m_result->Correct > 0) {
        m_result->Finish();
        if (ResultWindow)
            ResultWindow(*this, *m_result);
        try {
            if (Options && Options->Options)
                TResultFile(*Options->Options).Append(QFileInfo(LessonPath).fileName(), *m_result);
        } catch (const std::exception& error) {
            // The run stays open so that nothing is lost without a word.
            ShowException(error);
            m_result->Finished = QDateTime(); // the run goes on
            return false;
        }
    }
    return TGeo::Close();
}
