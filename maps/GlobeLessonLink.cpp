#include "maps/GlobeLessonLink.h"

#include "globe/GlobeClasses.h"
#include "globe/GlobeLayer.h"
#include "globe/GlobePresenters.h"
#include "globe/GlobeStream.h"
#include "globe/GlobeView.h"
#include "i18n/MainDictionary.h"
#include "lesson/GeoIndex.h"
#include "lesson/Geoobj.h"
#include "lesson/LessonValues.h"
#include "lesson/TDaten.h"

namespace {

constexpr TColor kSolvedGreen = 0xD7FFD7;
constexpr TColor kGrey = 0xC0C0C0;
constexpr TColor kDarkGrey = 0x808080;
// The base map: a muted land, darker than any look of a lesson's areas, with
// faint borders, and lakes in the colour of the sea.
constexpr TColor kBaseLand = 0x7C9CA8;
constexpr TColor kBaseBorder = 0x627E88;
constexpr TColor kBaseWater = 0x804000;
constexpr int kBaseAroundPole = 2; // the base land's presenter without an outline

bool isAreaKind(CategoryKind kind)
{
    return kind == CategoryKind::Countries || kind == CategoryKind::Islands || kind == CategoryKind::States;
}

std::unique_ptr<TPolygonPresenter> polygon(TGlobeView& globe, int id, TColor fill, TColor line, int width = 1)
{
    auto p = std::make_unique<TPolygonPresenter>(globe, id);
    p->PolyBrush.Define(fill, 0);
    p->PolyPen.Define(line, 0, width, Pixel);
    return p;
}

std::unique_ptr<TPolylinePresenter> polyline(TGlobeView& globe, int id, TColor line)
{
    auto p = std::make_unique<TPolylinePresenter>(globe, id);
    p->PolyPen.Define(line, 0, 1, Pixel);
    return p;
}

int parseNumber(const QString& text, const TValueSource& source, const QString& record)
{
    int value = 0;
    if (!ParseDecimal(text, value))
        throw ConversionError(source, record);
    return value;
}

} // namespace

TGlobeRecord ParseGlobeRecord(const QString& value, const TValueSource& source)
{
    TGlobeRecord record;
    record.NamesGerman = SplitNames(ExtractField(value, u'~', 1));
    record.NamesEnglish = SplitNames(ExtractField(value, u'~', 2));
    record.NamesOther = SplitNames(ExtractField(value, u'~', 3));
    const QString numbers = ExtractField(value, u'~', 4);
    if (!numbers.isEmpty()) {
        const QString area = ExtractField(numbers, u'-', 4);
        record.Area = area.isEmpty() ? 0 : parseNumber(area, source, value);
        const QString capital = ExtractField(numbers, u'-', 1);
        if (FieldCount(numbers, u'-') >= 2 && !capital.isEmpty())
            record.CapitalId = parseNumber(capital, source, value);
    }
    record.SubItemRefs = ExtractField(value, u'~', 5);
    const QString position = ExtractField(value, u'~', 6).trimmed();
    if (position != u"null") {
        // Digits only: a sign or blank inside is damage, not a position.
        bool ok = !position.isEmpty();
        for (const QChar c : position)
            ok = ok && c >= u'0' && c <= u'9';
        if (ok)
            record.StreamPosition = position.toLongLong(&ok);
        if (!ok)
            throw ConversionError(source, value);
        record.HasObject = true;
    }
    return record;
}

int TLessonPresenter::PresenterId() const { return Presenter.PresenterID; }

void TLessonPresenter::SetFillColor(TColor color)
{
    if (auto* poly = dynamic_cast<TPolyPresenter*>(&Presenter))
        poly->PolyBrush.SetBrushColor(color);
    else if (auto* point = dynamic_cast<TPointPresenter*>(&Presenter))
        point->PointBrush.SetBrushColor(color);
}

void TLessonPresenter::SetLineColor(TColor color)
{
    if (auto* poly = dynamic_cast<TPolyPresenter*>(&Presenter))
        poly->PolyPen.SetPenColor(color);
    else if (auto* point = dynamic_cast<TPointPresenter*>(&Presenter))
        point->PointPen.SetPenColor(color);
}

void TLessonGlobeObject::SetPresenterId(int presenterId) { Object.SetPresenterID(presenterId); }
void TLessonGlobeObject::SetVisible(bool visible)
{
    Object.SetHidden(!visible);
    if (BaseTwin)
        BaseTwin->SetHidden(visible);
}
void TLessonGlobeObject::SetTitle(const QString& title) { Object.SetTitle(title); }

ILessonPresenter* TGlobeLessonLink::addPresenter(TGlobeLayer& layer, std::unique_ptr<TGlobePresenter> presenter)
{
    TGlobePresenter& kept = *presenter;
    layer.Presenters().Add(std::move(presenter));
    m_presenters.push_back(std::make_unique<TLessonPresenter>(kept));
    return m_presenters.back().get();
}

void TGlobeLessonLink::CreatePresenters(TKategorie& category)
{
    auto* layer = new TGlobeLayer(m_globe); // the globe's layer store owns it
    layer->SetName(category.Name);
    layer->SetShowTitles(false);
    m_layers.push_back(std::make_unique<TLessonLayer>(*layer));
    category.Layer = m_layers.back().get();

    const TColor map = category.MapColor;
    switch (category.Kind) {
    case CategoryKind::Countries:
    case CategoryKind::Islands:
    case CategoryKind::States:
        // Areas lie beneath rivers, lakes and cities, and above the base
        // land, under the base map's lakes.
        layer->SetIndex(m_baseLand ? 1 : 0);
        category.NormalPresenter = addPresenter(*layer, polygon(m_globe, PresenterIds::Normal, map, category.OutlineColor));
        category.SolvedPresenter = addPresenter(*layer, polygon(m_globe, PresenterIds::Solved, kSolvedGreen, 0x000000));
        category.GreyPresenter = addPresenter(*layer, polygon(m_globe, PresenterIds::Grey, kGrey, kDarkGrey));
        break;
    case CategoryKind::Lakes:
        category.NormalPresenter = addPresenter(*layer, polygon(m_globe, PresenterIds::Normal, map, map, 2));
        category.GreyPresenter = addPresenter(*layer, polygon(m_globe, PresenterIds::Grey, kGrey, kGrey));
        break;
    case CategoryKind::Cities: {
        auto point = std::make_unique<TPointPresenter>(m_globe, PresenterIds::Normal);
        point->PointType = ppSquare;
        point->PointSize = 8;
        point->PointUnit = Pixel;
        point->PointBrush.Define(map, 0);
        point->PointPen.Define(0x000000, 0, 1, Pixel);
        category.NormalPresenter = addPresenter(*layer, std::move(point));
        break;
    }
    case CategoryKind::Rivers:
        category.NormalPresenter = addPresenter(*layer, polyline(m_globe, PresenterIds::Normal, map));
        category.GreyPresenter = addPresenter(*layer, polyline(m_globe, PresenterIds::Grey, kGrey));
        break;
    case CategoryKind::None:
        break;
    }
    if (category.HasPresenters()) {
        category.SetMapColor(category.MapColor);
        if (isAreaKind(category.Kind))
            category.SetOutlineColor(category.OutlineColor);
    }
}

void TGlobeLessonLink::CreateBaseMap(const TGeoIndex& index, TGlobeStreamReader& reader)
{
    const QStringList entries = index.ReadSectionValues(QStringLiteral("Grundkarte"));
    if (m_baseLand || entries.isEmpty())
        return;
    // Water first, then land moved beneath everything: the lesson's area
    // layers go in between.
    m_baseWater = new TGlobeLayer(m_globe);
    m_baseLand = new TGlobeLayer(m_globe);
    m_baseLand->SetIndex(0);
    for (TGlobeLayer* layer : {m_baseLand, m_baseWater}) {
        layer->SetName(layer == m_baseLand ? QStringLiteral("Grundkarte") : QStringLiteral("Grundkarte Seen"));
        layer->SetShowTitles(false);
    }
    m_baseLand->Presenters().Add(polygon(m_globe, PresenterIds::Normal, kBaseLand, kBaseBorder));
    // Land round a pole is closed along a meridian to the pole and back: its
    // outline would draw that line across the land.
    m_baseLand->Presenters().Add(polygon(m_globe, kBaseAroundPole, kBaseLand, kBaseLand));
    m_baseWater->Presenters().Add(polygon(m_globe, PresenterIds::Normal, kBaseWater, kBaseWater));
    for (const QString& entry : entries) {
        const QString code = entry.mid(entry.indexOf(u'=') + 1).trimmed();
        TKategorie kind;
        kind.SetKind(code.left(1));
        int number = 0;
        if (kind.IndexSection.isEmpty() || !ParseDecimal(code.mid(1), number))
            continue;
        const QString key = QString::number(number);
        const QString value = index.ReadString(kind.IndexSection, key);
        if (value.isEmpty())
            continue;
        // The base map is context: a damaged entry leaves out one piece of
        // land, never the lesson.
        try {
            const TGlobeRecord record = ParseGlobeRecord(value, {index.fileName(), kind.IndexSection, key});
            if (!record.HasObject)
                continue;
            auto object = std::make_unique<TGeoDataObject>(nullptr);
            reader.Seek(record.StreamPosition);
            reader.BeginRecord();
            object->ReadProperties(reader);
            const TMER m = object->ObjectMER();
            const bool aroundPole =
                m.Lat <= -GU_90_DEGREE + GU_DEGREE / 10 || int64_t{m.Lat} + m.Height >= GU_90_DEGREE - GU_DEGREE / 10;
            object->SetPresenterID(aroundPole ? kBaseAroundPole : PresenterIds::Normal);
            TGlobeLayer* layer = kind.Kind == CategoryKind::Lakes ? m_baseWater : m_baseLand;
            m_baseObjects[{kind.Kind, number}] = object.get();
            object.release()->SetParent(&layer->GetObjects());
        } catch (const ConversionError&) {
        } catch (const EGlobeException&) {
        }
    }
}

void TGlobeLessonLink::LoadRecord(TGeoItem& item, const TGeoIndex& index, TGlobeStreamReader& reader)
{
    TKategorie* category = item.Category;
    if (!category || category->IndexSection.isEmpty())
        return;
    const QString key = QString::number(item.Number);
    const QString value = index.ReadString(category->IndexSection, key);
    if (value.isEmpty())
        return;
    const TValueSource source{index.fileName(), category->IndexSection, key};
    const TGlobeRecord record = ParseGlobeRecord(value, source);

    item.NamesGerman << record.NamesGerman;
    item.NamesEnglish << record.NamesEnglish;
    item.NamesOther << record.NamesOther;
    // These two records list the name of the old spelling first.
    if (MainDictionary().ActiveLanguage() == 2 && (item.Number == 520 || item.Number == 207) &&
        item.NamesGerman.size() >= 2)
        item.NamesGerman.swapItemsAt(0, 1);
    item.Area = record.Area;
    if (record.CapitalId != -1)
        item.CapitalId = record.CapitalId;
    item.SubItemRefs = record.SubItemRefs;
    item.FlagData = index.ReadString(QStringLiteral("Flaggen"), key);

    TGlobeLayer* layer = LayerOf(*category);
    if (!record.HasObject || !layer)
        return;
    // Read into a loose object first: a record that breaks off half-way
    // never joins the layer.
    auto object = std::make_unique<TGeoDataObject>(nullptr);
    try {
        reader.Seek(record.StreamPosition);
        reader.BeginRecord();
        object->ReadProperties(reader);
    } catch (const EGlobeException&) {
        throw ConversionError(source, value);
    }
    TGeoDataObject& kept = *object;
    object.release()->SetParent(&layer->GetObjects());
    kept.SetUserObject(&item);
    auto adapter = std::make_unique<TLessonGlobeObject>(kept);
    if (auto twin = m_baseObjects.find({category->Kind, item.Number}); twin != m_baseObjects.end())
        adapter->BaseTwin = twin->second;
    m_objects.push_back(std::move(adapter));
    item.GeoObject = m_objects.back().get();
    item.UpdatePresentation(0);
    item.SetVisible(!item.IsDependent());
}

TGeoDataObject* TGlobeLessonLink::ObjectOf(const TGeoItem& item)
{
    auto* adapter = dynamic_cast<TLessonGlobeObject*>(item.GeoObject);
    return adapter ? &adapter->Object : nullptr;
}

TGlobeLayer* TGlobeLessonLink::LayerOf(const TKategorie& category)
{
    auto* adapter = dynamic_cast<TLessonLayer*>(category.Layer);
    return adapter ? &adapter->Layer : nullptr;
}

TGeoItem* TGlobeLessonLink::ItemOf(const TGeoDataObject& object) { return static_cast<TGeoItem*>(object.UserObject()); }

void TGlobeLessonLink::Detach(TDaten& lesson)
{
    for (const auto& category : lesson.Categories) {
        category->Layer = nullptr;
        category->NormalPresenter = category->SolvedPresenter = category->GreyPresenter = nullptr;
        for (const auto& item : category->Items) {
            item->GeoObject = nullptr;
            item->InsetPicture.reset();
        }
    }
}
