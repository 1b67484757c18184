#include "learning/Geo.h"

#include "widgets/Background.h"
#include "i18n/LangDialogs.h"
#include "i18n/MainDictionary.h"
#include "learning/GeoInput.h"
#include "lesson/Geoobj.h"
#include "lesson/LessonHeader.h"
#include "lesson/LessonHooks.h"
#include "lesson/TDaten.h"
#include "maps/GeoVisualGlobe.h"
#include "maps/GeoVisualImage.h"
#include "platform/IniFile.h"
#include "platform/Messages.h"

#include <QAbstractButton>
#include <QFile>
#include <QHBoxLayout>
#include <QVBoxLayout>

TGeo::TGeo(QWidget* page, const QString& lessonArgument, std::unique_ptr<TLernOptionen> options,
           const QString& programFolder)
    : QWidget(page), LessonArgument(lessonArgument), ProgramFolder(programFolder)
{
    setObjectName(QStringLiteral("LessonView"));
    // No earlier view may hear of state changes any more.
    LessonHooks::ClearStateObserver();
    Lesson = std::make_unique<TDaten>();
    if (options && options->Mode == 1 && options->ViewOnMap)
        options->Hauptstaedte = false;
    Options = options.get();
    Lesson->LearnOptions = std::move(options);

    FillBackground(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_row = new QHBoxLayout;
    m_row->setSpacing(0);
    layout->addLayout(m_row, 1);
    if (page && page->layout())
        page->layout()->addWidget(this);
}

TGeo::~TGeo()
{
    // The panel and the map refer to the lesson: they go first.
    delete InputPanel;
    InputPanel = nullptr;
    delete MapView;
    MapView = nullptr;
    Lesson.reset();
    if (OnDestroyed)
        OnDestroyed(this);
}

void TGeo::Begin()
{
    if (MapView)
        MapView->PrepareMap();
    if (InputPanel)
        InputPanel->Start();
}

bool TGeo::Close()
{
    delete this;
    return true;
}

void TGeo::ShowPage(int) {}
void TGeo::Save() {}
void TGeo::ShowResult() {}

TGeoVisual* TGeo::CreateMap(const QString& lessonType)
{
    if (LessonFile::IsPictureType(lessonType))
        return new TGeoVisualImage(this, ProgramFolder, *Lesson);
    return new TGeoVisualGlobe(this, ProgramFolder, *Lesson);
}

bool TGeo::OpenLessonFile(const QString& path)
{
    if (!QFile::exists(path)) {
        MessageDlg(MainDictionary(), FormatText(MainDictionary().GetText(QStringLiteral("format_exists")), {path}),
                   MsgDlgType::mtError, mbOK);
        return false;
    }
    const std::unique_ptr<IniFile> file = IniFile::OpenLimited(path, LessonFile::kMaxFileBytes);
    LessonPath = path;
    const QString type = LessonFile::LessonType(*file);
    MapView = CreateMap(type);
    if (InputPanel && LessonFile::IsPictureType(type))
        InputPanel->Numbered = true;
    PlaceMap();
    MapView->OnItemClick = [this](TGeoItem& item) { RouteMapClick(item); };
    MapView->LoadLesson(path, *file);
    return true;
}

void TGeo::PlaceMap() { m_row->insertWidget(0, MapView, 1); }

void TGeo::PlaceInputPanel()
{
    if (InputPanel)
        m_row->addWidget(InputPanel);
}

void TGeo::PlaceBottomBar(QWidget* bar) { layout()->addWidget(bar); }

void TGeo::RouteMapClick(TGeoItem& item)
{
    if (InputPanel && item.State() != ItemState::Deactivated)
        InputPanel->MapItemClicked(item);
}

void TGeo::ShowItemOnMap(TGeoItem* item)
{
    if (MapView)
        MapView->HighlightItem(item, false);
}

void TGeo::RouteStateChange(TGeoItem& item)
{
    if (MapView)
        MapView->ShowItemState(item);
    if (InputPanel)
        InputPanel->ItemStateChanged(item);
}

void TGeo::RouteTip()
{
    if (InputPanel)
        InputPanel->Tip();
}

void TGeo::AttachRevealButton(QAbstractButton* button)
{
    if (Mode == 0 && InputPanel)
        InputPanel->AttachRevealButton(button);
}

void TGeo::PostEndOfSession() { ::PostEndOfSession(); }
