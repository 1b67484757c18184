#include "maps/GeoVisualGlobe.h"

#include "globe/GlobeClasses.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeStream.h"
#include "globe/GlobeView.h"
#include "globe/GlobeViewUtils.h"
#include "i18n/MainDictionary.h"
#include "lesson/Geoobj.h"
#include "lesson/ItemValues.h"
#include "lesson/LessonHeader.h"
#include "lesson/LessonHooks.h"
#include "lesson/LessonValues.h"
#include "lesson/TDaten.h"
#include "maps/GlobeLessonLink.h"
#include "maps/PictureControl.h"
#include "platform/IniFile.h"
#include "platform/OrbiloError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace {

const QString kLektion = QStringLiteral("Lektion");
const QString kGlobe = QStringLiteral("Globe");
constexpr TColor kWideRiverColor = 0xFF4646;
constexpr int kInsetSize = 150;
// Sub-item chains come from the index and may loop; no real chain is deep.
constexpr int kMaxSubItemDepth = TGeoItem::MaxSubItemDepth;

bool isSmall(int area) { return area >= 1 && area <= 2499; }

// An item the selection colour alone does not find: an area of less than
// some 10 x 10 pixels on the globe, a line shorter than 15 pixels; it gets
// the marker, whatever its size on the earth. Cities are squares of their
// own size.
bool showsSmall(TGlobeView& globe, const TGeoItem& item, TGeoDataObject& object)
{
    if (!item.Category || item.Category->Kind == CategoryKind::Cities)
        return false;
    const double pixelsPerDegree = globe.Projection().ScaleFactor() * GU_DEGREE;
    if (!(pixelsPerDegree > 0))
        return false;
    if (item.Area > 0) {
        const double kmPerPixel = 111.2 / pixelsPerDegree;
        return item.Area < 100 * kmPerPixel * kmPerPixel;
    }
    const TMER m = object.ObjectMER();
    return std::max(m.Width, m.Height) / double(GU_DEGREE) * pixelsPerDegree < 15;
}

// A lesson's view is set on a globe of 300 x 300; even at the deepest zoom
// the map allows, the globe's radius is some 15,500 pixels, so an origin
// farther off shows nothing of it. Later resizes and zooms start from here.
constexpr double kMaxLessonOrigin = 100000;

// An angle of the lesson in -180 ... 180; one already there stays as it is.
double wrapDegrees(double degrees)
{
    return std::abs(degrees) <= 180 ? degrees : std::remainder(degrees, 360.0);
}

// A close-up of an item, shown in the inset panel while the item is current.
class TInsetPicture : public PictureControl, public IInsetPicture {
public:
    using PictureControl::PictureControl;
};

// The pin that marks a tiny item's centre on the globe.
class TMarkerGlyph : public QWidget {
public:
    explicit TMarkerGlyph(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Marker"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        resize(16, 16);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        // A red pin whose tip points right at (15, 8), where the centre lies.
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath pin;
        pin.moveTo(15, 8);
        pin.lineTo(7, 4);
        pin.lineTo(7, 12);
        pin.closeSubpath();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(220, 0, 0));
        p.drawPath(pin);
        p.drawEllipse(QRectF(1, 3, 10, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(4, 6, 3, 3));
    }
};

// Counts the levels of sub-items being attached for as long as it lives.
class AttachLevel {
public:
    explicit AttachLevel(int& level) : m_level(level) { ++m_level; }
    ~AttachLevel() { --m_level; }
    AttachLevel(const AttachLevel&) = delete;
    AttachLevel& operator=(const AttachLevel&) = delete;

private:
    int& m_level;
};

bool passive(const TGeoItem& item)
{
    return item.State() == ItemState::Deactivated || item.State() == ItemState::ShowOnly;
}

// The globe's canvas follows the widget's size only through resize events,
// which Qt holds back while the widget is hidden; the map sizes the globe
// while hidden and needs the canvas to agree at once.
void sizeGlobe(TGlobeView& globe, int width, int height)
{
    globe.resize(width, height);
    TGlobeCanvas& canvas = globe.GlobeCanvas();
    if (canvas.Width() != width || canvas.Height() != height) {
        canvas.SizeBMP(width, height, canvas.ScreenDPI);
        globe.RedrawLayers();
    }
}

} // namespace

TGeoVisualGlobe::TGeoVisualGlobe(QWidget* lessonView, const QString& programFolder, TDaten& lesson)
    : TGeoVisual(lessonView, lesson), ProgramFolder(programFolder)
{
    setObjectName(QStringLiteral("GlobeMap"));
    Globe = new TGlobeView(Content());
    Globe->setObjectName(QStringLiteral("Globe"));
    Globe->SetScrollBars(ssNone);
    Globe->SetSurfaceColor(0x804000);
    Globe->GraticulePen().SetPenColor(0x6A3500);
    Globe->MouseSelectButton = mzbNone; // the map selects, never the engine
    Globe->SetGraticuleDrawMode(gdBehind);
    Globe->CacheCapacity = 500;
    Globe->Projection().SetFloatProp(ppMaxZoom, 0.00005);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    viewport()->setPalette(pal);
    viewport()->setAutoFillBackground(true);

    Globe->OnObjectClick = [this](TGlobeView*, TGlobeObject* object) {
        if (OnItemClick && object && object->UserObject())
            OnItemClick(*static_cast<TGeoItem*>(object->UserObject()));
    };
    m_marker = new TMarkerGlyph(Globe);

    InsetPanel = new QFrame(Content());
    InsetPanel->setObjectName(QStringLiteral("InsetPanel"));
    InsetPanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    InsetPanel->setLineWidth(1);
    InsetPanel->setGeometry(10, 0, kInsetSize, kInsetSize);
    InsetPanel->hide();

    const QString dataPath = ProgramFolder + QStringLiteral("Data/geodata.dat");
    auto stream = std::make_unique<QFile>(dataPath);
    if (!stream->open(QIODevice::ReadOnly))
        throw OrbiloError(QStringLiteral("Cannot open file \"%1\". %2").arg(dataPath, stream->errorString()));
    GeoDataReader = std::make_unique<TGlobeStreamReader>(std::move(stream));
    GeoIndex = TGeoIndex(ProgramFolder + QStringLiteral("Data/geodata.ini"));
    m_link = std::make_unique<TGlobeLessonLink>(*Globe);

    QPointer<TGlobeView> globe(Globe);
    LessonHooks::SetGlobeRedrawHook([globe] {
        if (globe)
            globe->RedrawLayers();
    });
}

TGeoVisualGlobe::~TGeoVisualGlobe()
{
    // The lesson outlives the map; it must not keep pointers into the globe.
    TGlobeLessonLink::Detach(Lesson);
    GeoDataReader.reset();
    delete Globe;
    Globe = nullptr;
    delete InsetPanel;
    InsetPanel = nullptr;
}

// --- loading ---

bool TGeoVisualGlobe::LoadLesson(const QString& lessonPath, const IniFile& lessonFile)
{
    LessonFile::ReadHeader(lessonFile, Lesson);
    sizeGlobe(*Globe, 300, 300);
    if (lessonFile.SectionExists(kGlobe)) {
        ApplyGlobeSection(lessonFile);
        LayoutGlobe();
    }
    AllowMoving = lessonFile.ReadBool(kLektion, QStringLiteral("AllowMoving"), true);
    AllowZooming = lessonFile.ReadBool(kLektion, QStringLiteral("AllowZooming"), true);
    if (!AllowMoving)
        Globe->MouseRotateButton = mzbNone;
    if (!AllowZooming)
        Globe->MouseZoomButton = mzbNone;
    LoadCategories(lessonPath, lessonFile);
    return true;
}

void TGeoVisualGlobe::ApplyGlobeSection(const IniFile& file)
{
    // A key the section lacks keeps the projection's value: a default of 0
    // for the origin would put the globe's centre into the top left corner.
    TGlobeProjection& prj = Globe->Projection();
    const auto has = [&](const char* key) { return file.ValueExists(kGlobe, QString::fromLatin1(key)); };
    const auto real = [&](const char* key) { return ReadFloat(file, kGlobe, QString::fromLatin1(key), 0); };
    const auto integer = [&](const char* key) { return file.ReadInteger(kGlobe, QString::fromLatin1(key), 0); };

    // Indexes beyond the engine's lists would read past them.
    if (has("Spheroid") && integer("Spheroid") >= 0 && integer("Spheroid") <= WGS84)
        prj.Spheroid = static_cast<TSpheroid>(integer("Spheroid"));
    if (has("YAxisChanges") && integer("YAxisChanges") >= yaXOrigin && integer("YAxisChanges") <= yaNoAction)
        prj.SetYAxisChanges(static_cast<TYAxisChanges>(integer("YAxisChanges")));
    if (has("XAxisChanges") && integer("XAxisChanges") >= xaYOrigin && integer("XAxisChanges") <= xaNoAction)
        prj.SetXAxisChanges(static_cast<TXAxisChanges>(integer("XAxisChanges")));
    if (has("ScaleFactor"))
        prj.SetScaleFactor(real("ScaleFactor"));
    // Angles are brought into one turn, latitudes into -90 ... 90, before
    // the engine sees them: a huge angle becomes no number at all in the
    // rotation matrix, and every device point with it.
    struct Angle {
        const char* key;
        int property;
        bool latitude;
    };
    const Angle angles[] = {{"XRotation", ppXRotation, true},          {"YRotation", ppYRotation, false},
                            {"ZRotation", ppZRotation, false},         {"CentralMeridian", ppCentralMeridian, false},
                            {"CentralParallel", ppCentralParallel, true}, {"FirstParallel", ppFirstParallel, true},
                            {"SecondParallel", ppSecondParallel, true}};
    for (const Angle& angle : angles)
        if (has(angle.key)) {
            const double v = real(angle.key);
            prj.SetFloatProp(angle.property, angle.latitude ? std::clamp(v, -90.0, 90.0) : wrapDegrees(v));
        }
    for (const auto& [key, property] : {std::pair{"XOrigin", int(ppXOrigin)}, std::pair{"YOrigin", int(ppYOrigin)}})
        if (has(key)) {
            const double v = std::clamp(real(key), -kMaxLessonOrigin, kMaxLessonOrigin);
            prj.SetIntegerProp(property, static_cast<int32_t>(v));
        }
}

QWidget* TGeoVisualGlobe::InteractiveCanvas() const { return Globe; }

void TGeoVisualGlobe::LoadCategories(const QString& lessonPath, const IniFile& file)
{
    for (const QString& section : LessonFile::GlobeCategorySections(file)) {
        const auto entries = ReadSectionPairs(file, section);
        TKategorie& category = Lesson.AddCategory();
        category.SetKind(TKategorie::KindLetterOf(section));
        for (const auto& [key, value] : entries)
            if (LessonFile::IsSettingsKey(key)) {
                category.ApplySettings(value, TValueSource{lessonPath, section, key});
                break;
            }
        for (const auto& [key, value] : entries) {
            if (LessonFile::IsSettingsKey(key))
                continue;
            const TGlobeItemValue parsed = ParseGlobeItemValue(value, TValueSource{lessonPath, section, key});
            TGeoItem& item = category.AddItem();
            item.Number = parsed.Number;
            if (parsed.State != ItemState::Open)
                item.SetState(parsed.State);
            // Keeps the window painting during long lessons; input waits, so
            // nothing can close the view half-way through the load.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
}

void TGeoVisualGlobe::PrepareMap()
{
    // The world's land beneath every lesson, before the lesson's own layers.
    m_link->CreateBaseMap(GeoIndex, *GeoDataReader);
    if (!Lesson.Categories.empty()) {
        Globe->hide();
        const std::size_t count = Lesson.Categories.size();
        for (std::size_t c = 0; c < count; ++c)
            m_link->CreatePresenters(*Lesson.Categories[c]);
        std::vector<TGeoItem*> withSubItems;
        for (std::size_t c = 0; c < count; ++c) {
            TKategorie& category = *Lesson.Categories[c];
            for (std::size_t i = 0; i < category.Items.size(); ++i) {
                TGeoItem& item = *category.Items[i];
                if (item.Number == 0)
                    break; // a 0 ends the category's list
                m_link->LoadRecord(item, GeoIndex, *GeoDataReader);
                if (!item.SubItemRefs.isEmpty())
                    withSubItems.push_back(&item);
            }
        }
        for (TGeoItem* item : withSubItems)
            AttachSubItems(*item);
        if (Lesson.LearnOptions && Lesson.LearnOptions->Hauptstaedte)
            LinkCapitals();
        Globe->update();
        BuildInsets();
        Globe->show();
    }
    m_layoutActive = true;
    LayoutGlobe();
}

TGeoItem* TGeoVisualGlobe::FindOrCreateItem(const QString& code, TGeoItem& owner, ItemState state)
{
    const QString letter = code.left(1);
    int number = 0;
    if (!ParseDecimal(code.mid(1), number)) {
        const QString section = owner.Category ? owner.Category->IndexSection : QString();
        throw ConversionError(TValueSource{GeoIndex.fileName(), section, QString::number(owner.Number)}, code);
    }
    TKategorie* category = Lesson.FindCategory(letter);
    if (!category) {
        category = &Lesson.AddCategory();
        category->SetKind(letter);
        m_link->CreatePresenters(*category);
    }
    if (TGeoItem* existing = category->FindItem(number))
        return existing;
    // In the list before its record is read, so that a reference back to it
    // finds it instead of creating it again.
    TGeoItem& item = category->AddItem();
    item.Number = number;
    m_link->LoadRecord(item, GeoIndex, *GeoDataReader);
    item.SetState(owner.State() == ItemState::Deactivated ? ItemState::Deactivated : state);
    if (!item.SubItemRefs.isEmpty())
        AttachSubItems(item);
    item.Auxiliary = true;
    if (TGeoDataObject* object = TGlobeLessonLink::ObjectOf(item))
        object->SetUserObject(&owner); // a click on the helper is a click on its owner
    return &item;
}

void TGeoVisualGlobe::AttachSubItems(TGeoItem& item)
{
    // Each level reads records that may name a further level, and a damaged
    // index can go on for ever without looping. Below the depth to which
    // SelectParts selects, a sub-item could never be shown: the chain ends
    // there, before it could exhaust the stack.
    if (m_attachLevel >= kMaxSubItemDepth)
        return;
    const AttachLevel level(m_attachLevel);
    const QStringList fields = SplitFields(item.SubItemRefs, u';');
    const ItemState state = item.State() == ItemState::Dependent ? ItemState::Dependent : ItemState::ShowOnly;
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].isEmpty()) {
            item.SubItemLimit = i;
            continue;
        }
        TGeoItem* sub = FindOrCreateItem(fields[i], item, state);
        if (sub && sub != &item)
            item.SubItems.push_back(sub);
    }
}

void TGeoVisualGlobe::LinkCapitals()
{
    const QString format = MainDictionary().GetText(QStringLiteral("format_fragecapital"));
    // Capitals created on the way join the lists being walked.
    for (std::size_t c = 0; c < Lesson.Categories.size(); ++c) {
        for (std::size_t i = 0; i < Lesson.Categories[c]->Items.size(); ++i) {
            TGeoItem& item = *Lesson.Categories[c]->Items[i];
            if (item.CapitalId == -1 || passive(item))
                continue;
            TGeoItem* capital = FindOrCreateItem(QStringLiteral("C%1").arg(item.CapitalId), item, ItemState::Dependent);
            item.Capital = capital;
            if (capital && capital != &item && capital->State() == ItemState::Dependent) {
                capital->CapitalOf = &item;
                capital->Question = FormatText(format, {item.DisplayName()});
            } else {
                item.Capital = nullptr; // an ordinary question of the lesson
            }
        }
    }
}

void TGeoVisualGlobe::BuildInsets()
{
    BuildingInsets = true;
    for (std::size_t c = 0; c < Lesson.Categories.size(); ++c) {
        TKategorie& category = *Lesson.Categories[c];
        if (category.Kind != CategoryKind::Countries && category.Kind != CategoryKind::Islands &&
            category.Kind != CategoryKind::States)
            continue;
        for (std::size_t i = 0; i < category.Items.size(); ++i) {
            TGeoItem& item = *category.Items[i];
            if (passive(item))
                continue;
            if (!((!CentreVisible(item) && item.Area < 10000000) || isSmall(item.Area)))
                continue;
            auto picture = std::make_unique<TInsetPicture>(InsetPanel);
            picture->setGeometry(0, 0, kInsetSize, kInsetSize);
            picture->hide();
            QImage image(kInsetSize, kInsetSize, QImage::Format_RGB32);
            image.fill(Qt::black);
            {
                QPainter painter(&image);
                RenderItem(item, painter, QRect(0, 0, kInsetSize, kInsetSize));
            }
            picture->SetBitmap(std::move(image));
            item.InsetPicture = std::move(picture);
        }
    }
    BuildingInsets = false;
}

bool TGeoVisualGlobe::CentreVisible(const TGeoItem& item) const
{
    const TGeoItem* current = &item;
    for (int depth = 0; current && depth < kMaxSubItemDepth; ++depth) {
        if (TGeoDataObject* object = TGlobeLessonLink::ObjectOf(*current)) {
            const TPointLL centre = object->GetCentroid();
            QPoint point;
            return Globe->Projection().LLToDeviceXY(centre.Long, centre.Lat, point) && Globe->rect().contains(point);
        }
        current = current->SubItems.empty() ? nullptr : current->SubItems.front();
    }
    return false;
}

// --- showing ---

void TGeoVisualGlobe::RenderItem(TGeoItem& item, QPainter& painter, const QRect& rect)
{
    HighlightItem(&item, true);
    if (Globe->GlobeLayers().GetSelectedCount() == 0)
        return;
    const QSize savedSize = Globe->size();
    std::unique_ptr<TGlobeProjection> savedProjection;
    if (BuildingInsets)
        savedProjection = Globe->SetProjection(std::make_unique<TGlobeProjection>(*Globe));
    sizeGlobe(*Globe, rect.width(), rect.height());
    ZoomToSelectedObjects(*Globe);
    TGlobeProjection& prj = Globe->Projection();
    prj.SetScaleFactor(prj.ScaleFactor() * (isSmall(item.Area) ? 0.2 : 5.0 / 6.0));
    Globe->RedrawLayers();
    Globe->RenderToCanvas(painter, rect);
    if (BuildingInsets) {
        sizeGlobe(*Globe, savedSize.width(), savedSize.height());
        Globe->SetProjection(std::move(savedProjection));
        HighlightItem(nullptr, false);
    }
}

void TGeoVisualGlobe::HighlightItem(TGeoItem* item, bool mainPartsOnly)
{
    InsetPanel->hide();
    if (HighlightedItem && HighlightedItem->IsDependent()) {
        HighlightedItem->SetVisible(false);
        HighlightedItem = nullptr;
    }
    if (!item) {
        Globe->OnPaint = nullptr;
        MarkerObject = nullptr;
        m_marker->hide();
        DeselectAll();
        Globe->RedrawLayers();
        return;
    }
    if (item->IsDependent()) {
        item->SetVisible(true);
        HighlightedItem = item;
    }

    MarkerObject = nullptr;
    if (item->State() != ItemState::Deactivated) {
        TGeoDataObject* object = TGlobeLessonLink::ObjectOf(*item);
        if (!object && !item->SubItems.empty() && item->SubItems.front())
            object = TGlobeLessonLink::ObjectOf(*item->SubItems.front());
        if (object && (isSmall(item->Area) || showsSmall(*Globe, *item, *object)))
            MarkerObject = object;
    }
    if (MarkerObject) {
        Globe->OnPaint = [this](TGlobeView*) { PlaceMarker(); };
    } else {
        Globe->OnPaint = nullptr;
        m_marker->hide();
    }

    if (auto* picture = dynamic_cast<TInsetPicture*>(item->InsetPicture.get())) {
        InsetPanel->show();
        InsetPanel->raise();
        picture->show();
        picture->raise();
    }
    SelectOnGlobe(item->CapitalOf ? *item->CapitalOf : *item, mainPartsOnly);
}

void TGeoVisualGlobe::PlaceMarker()
{
    if (!MarkerObject) {
        m_marker->hide();
        return;
    }
    const TPointLL centre = MarkerObject->GetCentroid();
    QPoint point;
    if (!Globe->Projection().LLToDeviceXY(centre.Long, centre.Lat, point)) {
        m_marker->hide();
        return;
    }
    m_marker->move(point.x() - 15, point.y() - 8);
    m_marker->show();
    m_marker->raise();
}

void TGeoVisualGlobe::DeselectAll()
{
    TGlobeLayerStore& layers = Globe->GlobeLayers();
    for (int i = layers.GetSelectedCount() - 1; i >= 0; --i)
        if (TGlobeObject* object = layers.GetSelected(i))
            object->SetSelected(false);
}

void TGeoVisualGlobe::SelectOnGlobe(TGeoItem& item, bool mainPartsOnly)
{
    DeselectAll();
    Globe->RedrawLayers();
    SelectParts(item, mainPartsOnly, 0);
}

void TGeoVisualGlobe::SelectParts(TGeoItem& item, bool mainPartsOnly, int depth)
{
    if (depth > kMaxSubItemDepth)
        return;
    if (const TKategorie* category = item.Category) {
        TColor brush = category->SelectedColor;
        TColor pen = category->OutlineColor;
        int width = 1;
        if (category->Kind == CategoryKind::Rivers) {
            pen = category->SelectedColor;
            width = category->SelectedColor == kWideRiverColor ? 2 : 1;
        } else if (category->Kind == CategoryKind::Lakes) {
            pen = category->SelectedColor;
            width = 2;
        }
        Globe->SelectedBrush().SetBrushColor(brush);
        Globe->SelectedPen().Define(pen, 0, width, Pixel);
    }
    if (TGeoDataObject* object = TGlobeLessonLink::ObjectOf(item))
        object->SetSelected(true);
    std::size_t count = item.SubItems.size();
    if (mainPartsOnly && item.SubItemLimit != -1)
        count = std::min(count, static_cast<std::size_t>(item.SubItemLimit));
    for (std::size_t i = 0; i < count; ++i)
        if (TGeoItem* sub = item.SubItems[i]; sub && sub != &item)
            SelectParts(*sub, false, depth + 1);
}

void TGeoVisualGlobe::ShowItemState(TGeoItem& item)
{
    item.UpdatePresentation(0);
    Globe->RedrawLayers();
}

// --- layout ---

void TGeoVisualGlobe::LayoutGlobe()
{
    const QSize area = viewport()->size();
    const int side = std::min(area.width(), area.height()) - 5;
    // A map not yet laid out has a token size; scaling the view down to it
    // and back would lose the origin to rounding.
    if (side < 50)
        return;
    sizeGlobe(*Globe, side, side);
    Globe->move((area.width() - side) / 2, (area.height() - side) / 2);
    InsetPanel->move(10, area.height() - InsetPanel->height() - 10);
}

void TGeoVisualGlobe::ArrangeContent()
{
    Content()->resize(viewport()->size());
    if (m_layoutActive)
        LayoutGlobe();
}
