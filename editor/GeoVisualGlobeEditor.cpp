#include "editor/GeoVisualGlobeEditor.h"

#include "editor/AddItemDialog.h"
#include "editor/EditorStyle.h"
#include "editor/GeoObjEdit.h"
#include "editor/LessonWriter.h"
#include "globe/GlobeCanvas.h"
#include "globe/GlobeObjects.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeView.h"
#include "i18n/LangDialogs.h"
#include "i18n/MainDictionary.h"
#include "lesson/Geoobj.h"
#include "lesson/TDaten.h"
#include "maps/GlobeLessonLink.h"
#include "platform/OrbiloError.h"
#include "widgets/FlatButton.h"

#include <QCheckBox>

#include <limits>

namespace {

// A lesson's view is set on a globe of this size (the globe map reads it so).
constexpr int kLessonGlobeSide = 300;

} // namespace

TGeoVisualGlobeEditor::TGeoVisualGlobeEditor(QWidget* lessonView, const QString& programFolder, TDaten& lesson)
    : TGeoVisualGlobe(lessonView, programFolder, lesson)
{
    m_addDialog = new TAddItemDialog(m_catalogue, MainDictionary(), this);
}

TGeoVisualGlobeEditor::~TGeoVisualGlobeEditor() = default;

void TGeoVisualGlobeEditor::Modified(TGeoItem* item)
{
    if (OnModified)
        OnModified(this, item);
}

// ------------------------------------------------------------ the tools

QWidget* TGeoVisualGlobeEditor::CreateToolPanel()
{
    QWidget* panel = TGeoVisualGlobe::CreateToolPanel();
    if (ZoomInButton)
        return panel;
    const TLangDictionary& dictionary = MainDictionary();
    ZoomInButton = EditorStyle::Button(QStringLiteral("ZoomIn"), EditorStyle::GeoImage(14), panel, 5, 15, 60, 25);
    ZoomOutButton = EditorStyle::Button(QStringLiteral("ZoomOut"), EditorStyle::GeoImage(13), panel, 65, 15, 60, 25);
    for (FlatButton* button : {ZoomInButton, ZoomOutButton}) {
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setIconSize(QSize(20, 20));
    }
    ZoomInButton->setToolTip(dictionary.GetText(QStringLiteral("zoom_in")));
    ZoomOutButton->setToolTip(dictionary.GetText(QStringLiteral("zoom_out")));
    connect(ZoomInButton, &QToolButton::clicked, this, [this] { Zoom(true); });
    connect(ZoomOutButton, &QToolButton::clicked, this, [this] { Zoom(false); });

    // Shown, so that the author decides whether learners may turn and zoom.
    const auto box = [&](const char* key, int top, bool checked) {
        auto* check = new QCheckBox(dictionary.GetText(QString::fromLatin1(key)), panel);
        check->setObjectName(QString::fromLatin1(key));
        check->setGeometry(5, top, 200, 20);
        check->setChecked(checked);
        return check;
    };
    MovingBox = box("CheckMoving", 140, AllowMoving);
    ZoomingBox = box("CheckZooming", 160, AllowZooming);
    connect(MovingBox, &QCheckBox::clicked, this, [this](bool on) {
        AllowMoving = on;
        Modified(nullptr);
    });
    connect(ZoomingBox, &QCheckBox::clicked, this, [this](bool on) {
        AllowZooming = on;
        Modified(nullptr);
    });
    return panel;
}

QWidget* TGeoVisualGlobeEditor::CreateItemEditPanel() { return new TGeoObjEditGlobe(MainDictionary(), this); }

int TGeoVisualGlobeEditor::ZoomedAltitude(int altitude, bool closer)
{
    const qint64 next = closer ? qint64(altitude) * 2 / 3 : qint64(altitude) * 3 / 2;
    // 0 would mean "fit the globe", a jump rather than a step.
    return static_cast<int>(std::clamp<qint64>(next, 1, std::numeric_limits<int>::max()));
}

void TGeoVisualGlobeEditor::Zoom(bool closer)
{
    TGlobeProjection& prj = Globe->Projection();
    prj.SetAltitude(ZoomedAltitude(prj.Altitude(), closer));
    Globe->RedrawLayers();
    Modified(nullptr);
}

void TGeoVisualGlobeEditor::EditorPageChanged(int page)
{
    // The view is set on the map page: there the globe always moves.
    const bool free = page == 1;
    Globe->MouseRotateButton = free || AllowMoving ? mzbLeft : mzbNone;
    Globe->MouseZoomButton = free || AllowZooming ? mzbRight : mzbNone;
}

// ------------------------------------------------------------- the view

std::vector<std::pair<QString, QString>> TGeoVisualGlobeEditor::LessonViewKeys()
{
    TGlobeView& globe = *Globe;
    TGlobeCanvas& canvas = globe.GlobeCanvas();
    const int width = canvas.Width(), height = canvas.Height();
    // The globe on screen has the size of the map; the lesson file keeps
    // the view as on a globe of 300 x 300, which a copy of the projection
    // is taken to and back.
    std::unique_ptr<TGlobeProjection> onScreen;
    if (width != kLessonGlobeSide || height != kLessonGlobeSide) {
        onScreen = globe.SetProjection(globe.Projection().Clone());
        canvas.ResizeProjection(kLessonGlobeSide, kLessonGlobeSide);
    }
    const TGlobeProjection& prj = globe.Projection();
    std::vector<std::pair<QString, QString>> keys{
        {QStringLiteral("Spheroid"), QString::number(static_cast<int>(prj.Spheroid))},
        {QStringLiteral("YAxisChanges"), QString::number(static_cast<int>(prj.YAxisChanges()))},
        {QStringLiteral("XAxisChanges"), QString::number(static_cast<int>(prj.XAxisChanges()))},
        {QStringLiteral("ScaleFactor"), FormatCommaFloat(prj.ScaleFactor())},
        {QStringLiteral("XRotation"), FormatCommaFloat(prj.XRotation())},
        {QStringLiteral("YRotation"), FormatCommaFloat(prj.YRotation())},
        {QStringLiteral("ZRotation"), FormatCommaFloat(prj.ZRotation())},
        {QStringLiteral("XOrigin"), QString::number(prj.XOrigin())},
        {QStringLiteral("YOrigin"), QString::number(prj.YOrigin())},
        {QStringLiteral("CentralMeridian"), FormatCommaFloat(prj.CentralMeridian())},
        {QStringLiteral("CentralParallel"), FormatCommaFloat(prj.CentralParallel())},
        {QStringLiteral("FirstParallel"), FormatCommaFloat(prj.FloatProp(ppFirstParallel))},
        {QStringLiteral("SecondParallel"), FormatCommaFloat(prj.FloatProp(ppSecondParallel))},
    };
    if (onScreen) {
        canvas.ResizeProjection(width, height);
        globe.SetProjection(std::move(onScreen));
        globe.RedrawLayers();
    }
    return keys;
}

QString TGeoVisualGlobeEditor::ViewSignature() const
{
    const TGlobeProjection& prj = Globe->Projection();
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(prj.XRotation(), 0, 'g', 17)
        .arg(prj.YRotation(), 0, 'g', 17)
        .arg(prj.ZRotation(), 0, 'g', 17)
        .arg(prj.ScaleFactor(), 0, 'g', 17)
        .arg(prj.XOrigin())
        .arg(prj.YOrigin());
}

// --------------------------------------------------- terms from the index

TIndexCatalogue& TGeoVisualGlobeEditor::Catalogue()
{
    if (!m_catalogueBuilt) {
        m_catalogue = TIndexCatalogue(GeoIndex);
        m_catalogueBuilt = true;
    }
    return m_catalogue;
}

bool TGeoVisualGlobeEditor::AddItemsFromDatabase()
{
    Catalogue();
    for (;;) {
        m_addDialog->Reset();
        if (ExecModal(*m_addDialog) != QDialog::Accepted)
            break;
        const TIndexCatalogue::Entry* entry = m_addDialog->SelectedEntry();
        if (!entry)
            break;
        TGeoItem* item = AddIndexEntry(entry->Section, entry->Number);
        Modified(item);
    }
    return true;
}

TGeoItem* TGeoVisualGlobeEditor::AddIndexEntry(const QString& section, int number)
{
    TKategorie* category = nullptr;
    for (const auto& c : Lesson.Categories)
        if (c->IndexSection.compare(section, Qt::CaseInsensitive) == 0) {
            category = c.get();
            break;
        }
    if (!category) {
        category = &Lesson.AddCategory();
        category->SetKind(TKategorie::KindLetterOf(section));
        Link().CreatePresenters(*category);
    }
    if (TGeoItem* existing = category->FindItem(number)) {
        MakeQuestion(*existing);
        Globe->RedrawLayers();
        return existing;
    }

    TGeoItem& item = category->AddItem();
    item.Number = number;
    const TLangDictionary& dictionary = MainDictionary();
    try {
        Link().LoadRecord(item, GeoIndex, *GeoDataReader);
    } catch (const OrbiloError& error) {
        // Nothing refers to it yet: a term that cannot be read is not added.
        Lesson.RemoveItem(&item);
        MessageDlg(dictionary, error.message(), MsgDlgType::mtError, mbOK);
        return nullptr;
    }
    try {
        if (!item.SubItemRefs.isEmpty())
            AttachSubItems(item);
        LinkCapital(item);
    } catch (const OrbiloError& error) {
        // Its parts may name it already; it stays, with what could be read.
        MessageDlg(dictionary, error.message(), MsgDlgType::mtError, mbOK);
    }
    Globe->RedrawLayers();
    return &item;
}

void TGeoVisualGlobeEditor::MakeQuestion(TGeoItem& item)
{
    if (item.State() == ItemState::ShowOnly)
        item.SetState(ItemState::Open);
    if (!item.Auxiliary)
        return;
    item.Auxiliary = false;
    // Until now a click on it was a click on its owner.
    if (TGeoDataObject* object = TGlobeLessonLink::ObjectOf(item))
        object->SetUserObject(&item);
    if (item.State() == ItemState::Dependent) {
        // A capital asked on its own is no longer asked with its country,
        // as the lesson will read once saved.
        if (item.CapitalOf && item.CapitalOf->Capital == &item)
            item.CapitalOf->Capital = nullptr;
        item.CapitalOf = nullptr;
        item.Question.clear();
        item.SetState(ItemState::Open);
    }
    item.SetVisible(true);
    item.UpdatePresentation(0);
}

void TGeoVisualGlobeEditor::LinkCapital(TGeoItem& item)
{
    if (item.CapitalId == -1)
        return;
    TGeoItem* capital = FindOrCreateItem(QStringLiteral("C%1").arg(item.CapitalId), item, ItemState::Dependent);
    // A city that is a question of its own stays one.
    if (!capital || capital == &item || capital->State() != ItemState::Dependent)
        return;
    item.Capital = capital;
    capital->CapitalOf = &item;
    capital->Question =
        FormatText(MainDictionary().GetText(QStringLiteral("format_fragecapital")), {item.DisplayName()});
}
