#include "SampleData.h"

#include "globe/GlobeClasses.h"
#include "globe/GlobeStream.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
void AddRing(TGeoDataObject& object, const QJsonArray& coordinates)
{
    auto store = std::make_unique<TPointStore>();
    store->Reserve(static_cast<int>(coordinates.size()));
    for (const QJsonValue& value : coordinates) {
        const QJsonArray p = value.toArray();
        if (p.size() >= 2)
            store->Add(PointLL(DecimalToGlobeUnits(p[0].toDouble()), DecimalToGlobeUnits(p[1].toDouble())));
    }
    object.Chains().Add(std::move(store));
}

bool AddGeometry(TGeoDataObject& object, const QJsonObject& geometry)
{
    const QString type = geometry.value(QLatin1String("type")).toString();
    const QJsonArray c = geometry.value(QLatin1String("coordinates")).toArray();
    if (type == QLatin1String("Polygon")) {
        for (const QJsonValue& ring : c)
            AddRing(object, ring.toArray());
        return true;
    }
    if (type == QLatin1String("MultiPolygon")) {
        for (const QJsonValue& polygon : c)
            for (const QJsonValue& ring : polygon.toArray())
                AddRing(object, ring.toArray());
        return true;
    }
    if (type == QLatin1String("LineString")) {
        AddRing(object, c);
        return false;
    }
    if (type == QLatin1String("MultiLineString")) {
        for (const QJsonValue& line : c)
            AddRing(object, line.toArray());
        return false;
    }
    if (type == QLatin1String("Point") && c.size() >= 2)
        object.SetCentroid(PointLL(DecimalToGlobeUnits(c[0].toDouble()), DecimalToGlobeUnits(c[1].toDouble())));
    return false;
}
} // namespace

int LoadGeoJson(const QString& fileName, TGlobeObjectSource& source, const QString& titleKey)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    const QJsonArray features = document.object().value(QLatin1String("features")).toArray();
    int count = 0;
    for (const QJsonValue& value : features) {
        const QJsonObject feature = value.toObject();
        auto* object = new TGeoDataObject(nullptr);
        const bool closed = AddGeometry(*object, feature.value(QLatin1String("geometry")).toObject());
        object->SetClosed(closed);
        object->SetTitle(feature.value(QLatin1String("properties")).toObject().value(titleKey).toString());
        object->SetParent(&source);
        ++count;
    }
    return count;
}

int LoadGlobeStream(const QString& fileName, TGlobeObjectSource& source)
{
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly))
        return -1;
    const int64_t size = file->size();
    TGlobeStreamReader reader(std::move(file));
    int count = 0;
    while (reader.Position() < size) {
        auto object = std::make_unique<TGeoDataObject>(nullptr);
        object->ReadProperties(reader);
        object.release()->SetParent(&source);
        ++count;
    }
    return count;
}
