#include "SampleData.h"

#include "globe/GlobeClasses.h"
#include "globe/GlobeStream.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <vector>

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

namespace {
// The stream positions the index gives the records of one section (the
// last field of each record; "null" is a record without an object).
bool IndexPositions(const QString& fileName, const QString& section, std::vector<int64_t>& positions, QString& error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString());
        return false;
    }
    const QString header = u'[' + section + u']';
    bool inSection = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inSection = line.compare(header, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inSection || eq < 0)
            continue;
        const QString position = line.mid(eq + 1).section(u'~', 5, 5);
        if (position == u"null")
            continue;
        bool ok = false;
        const int64_t at = position.toLongLong(&ok);
        if (!ok || at < 0) {
            error = QStringLiteral("%1, [%2]: a record without a stream position: %3").arg(fileName, section, line);
            return false;
        }
        positions.push_back(at);
    }
    if (positions.empty()) {
        error = QStringLiteral("%1 names no objects in [%2]").arg(fileName, section);
        return false;
    }
    return true;
}
} // namespace

int LoadIndexSection(const QString& dataFolder, const QString& section, TGlobeObjectSource& source, QString& error)
{
    std::vector<int64_t> positions;
    if (!IndexPositions(dataFolder + QStringLiteral("/geodata.ini"), section, positions, error))
        return -1;
    auto stream = std::make_unique<QFile>(dataFolder + QStringLiteral("/geodata.dat"));
    if (!stream->open(QIODevice::ReadOnly) || stream->size() == 0) {
        error = QStringLiteral("cannot read %1: %2").arg(stream->fileName(), stream->errorString());
        return -1;
    }
    TGlobeStreamReader reader(std::move(stream));
    for (const int64_t position : positions) {
        auto object = std::make_unique<TGeoDataObject>(nullptr);
        try {
            reader.Seek(position);
            reader.BeginRecord();
            object->ReadProperties(reader);
        } catch (const std::exception& e) {
            error = QStringLiteral("%1/geodata.dat at %2 ([%3]): %4").arg(dataFolder).arg(position).arg(section, e.what());
            return -1;
        }
        object.release()->SetParent(&source);
    }
    return static_cast<int>(positions.size());
}
