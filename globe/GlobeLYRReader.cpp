#include "globe/GlobeLYRReader.h"

#include "globe/GlobeLayer.h"
#include "globe/GlobePresenters.h"
#include "globe/GlobeStream.h"
#include "platform/AtomicFile.h"

#include <QBuffer>
#include <QFileInfo>

namespace {
// Larger layer files are not read into memory.
constexpr qint64 kMaxFileSize = 1024LL * 1024 * 1024;

bool IsObjectClass(const QString& name)
{
    return name == QLatin1String("TGeoDataObject") || name == QLatin1String("TGlobeObject");
}

std::unique_ptr<TGlobeObject> CreateObject(const QString& className, TGlobeObjectSource* source)
{
    if (className == QLatin1String("TGlobeObject"))
        return std::make_unique<TGlobeObject>(source);
    return std::make_unique<TGeoDataObject>(source);
}

std::unique_ptr<TGlobePresenter> CreatePresenter(const QString& className, TCustomGlobeView& globe)
{
    if (className == QLatin1String("TPointPresenter"))
        return std::make_unique<TPointPresenter>(globe, 0);
    if (className == QLatin1String("TPolyPresenter"))
        return std::make_unique<TPolyPresenter>(globe, 0);
    if (className == QLatin1String("TPolygonPresenter"))
        return std::make_unique<TPolygonPresenter>(globe, 0);
    if (className == QLatin1String("TPolylinePresenter"))
        return std::make_unique<TPolylinePresenter>(globe, 0);
    return nullptr;
}

// A group count: positive for a group, 0 for the end mark.
int32_t ReadGroupCount(TGlobeStreamReader& reader, const QString& file)
{
    const int64_t at = reader.Position();
    const int32_t n = reader.ReadInteger();
    if (n < 0)
        throw EGlobeException(QStringLiteral("Layer file %1: group of %2 items at offset %3").arg(file).arg(n).arg(at));
    return n;
}

// Classes in the order of their first appearance, each with its items.
template <typename Item, typename ClassOf>
std::vector<std::pair<QString, std::vector<Item>>> GroupByClass(const std::vector<Item>& items, ClassOf classOf)
{
    std::vector<std::pair<QString, std::vector<Item>>> groups;
    for (const Item& item : items) {
        const QString name = classOf(item);
        auto it = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.first == name; });
        if (it == groups.end())
            it = groups.insert(groups.end(), {name, {}});
        it->second.push_back(item);
    }
    return groups;
}
} // namespace

TGlobeLYRReader::TGlobeLYRReader(TCustomGlobeView& globe) : TGlobeFileReader(globe) {}

TGlobeLYRReader::~TGlobeLYRReader() { SetActive(false); }

void TGlobeLYRReader::OpenFiles()
{
    if (m_index.empty())
        MapFile();
}

void TGlobeLYRReader::InternalClose()
{
    SetCount(0);
    m_index.clear();
    m_classes.clear();
    m_reader.reset();
    m_bytes.clear();
    Presenters().Clear();
    TGlobeObjectSource::InternalClose();
}

void TGlobeLYRReader::MapFile()
{
    QFile file;
    OpenDataFile(file, Filename());
    if (file.size() > kMaxFileSize)
        throw EGlobeException(QStringLiteral("Layer file %1 is too large (%2 bytes)").arg(Filename()).arg(file.size()));
    m_bytes = file.readAll();
    m_reader = std::make_unique<TGlobeStreamReader>(m_bytes);
    const int16_t version = m_reader->ReadSmallInt();
    if (version < OldestVersion)
        throw EGlobeException(QStringLiteral("Invalid File Version %1 in %2")
                                  .arg(QString::number(static_cast<uint32_t>(int32_t{version}), 16).toUpper(), Filename()));
    m_version = version;
    m_layerMER = m_reader->ReadMER();
    ReadPresenters();
    ReadObjects();
}

void TGlobeLYRReader::ReadPresenters()
{
    for (;;) {
        const int64_t at = m_reader->Position();
        const int32_t n = ReadGroupCount(*m_reader, Filename());
        if (n == 0) {
            m_reader->Seek(at); // the end mark, read with the objects
            return;
        }
        const QString className = m_reader->ReadShortString();
        if (IsObjectClass(className)) {
            m_reader->Seek(at);
            return;
        }
        for (int32_t k = 0; k < n; ++k) {
            std::unique_ptr<TGlobePresenter> presenter = CreatePresenter(className, Globe());
            if (!presenter)
                throw EGlobeException(QStringLiteral("Layer file %1: unknown class %2").arg(Filename(), className));
            presenter->ReadProperties(*m_reader, m_version);
            Presenters().Add(std::move(presenter)); // one of an ID already there is dropped
        }
    }
}

void TGlobeLYRReader::ReadObjects()
{
    MappingProgress progress(Globe(), m_bytes.size());
    std::vector<TMER> rectangles;
    while (const int32_t n = ReadGroupCount(*m_reader, Filename())) {
        const QString className = m_reader->ReadShortString();
        if (!IsObjectClass(className))
            throw EGlobeException(QStringLiteral("Layer file %1: %2 is no object class").arg(Filename(), className));
        if (!m_classes.contains(className))
            m_classes.append(className);
        const auto classIndex = static_cast<int32_t>(m_classes.indexOf(className));
        // Every record is read once to find the next and to learn its rectangle.
        for (int32_t k = 0; k < n; ++k) {
            const int64_t at = m_reader->Position();
            progress.Object(static_cast<int>(m_index.size()), at);
            m_reader->BeginRecord();
            std::unique_ptr<TGlobeObject> object = CreateObject(className, nullptr);
            object->ReadProperties(*m_reader);
            rectangles.push_back(object->ObjectMER());
            m_index.push_back({classIndex, at});
        }
    }
    SetCount(static_cast<int>(m_index.size()));
    for (int i = 0; i < Count(); ++i) {
        SetMER(i, rectangles[static_cast<size_t>(i)]);
        SetState(i, static_cast<TGlobeObjectState>(GetState(i) | Bit(osValidMER)));
    }
    progress.Finish();
}

TGlobeObject* TGlobeLYRReader::LoadObject(int i, bool /*isNew*/)
{
    const Entry& entry = m_index.at(static_cast<size_t>(i));
    m_reader->Seek(entry.offset);
    m_reader->BeginRecord();
    std::unique_ptr<TGlobeObject> object = CreateObject(m_classes.at(entry.classIndex), this);
    object->ReadProperties(*m_reader);
    return object.release();
}

// --- writer ---

QByteArray TGlobeLYRWriter::ToBytes()
{
    std::vector<TGlobeObject*> objects;
    std::vector<TGlobePresenter*> presenters;
    if (TGlobeObjectSource* source = m_layer.Objects())
        for (int i = 0; i < source->Count(); ++i) {
            TGlobeObject* object = source->GetObject(i);
            objects.push_back(object);
            TGlobePresenter* p = m_layer.FindPresenter(object->PresenterID());
            if (p && std::none_of(presenters.begin(), presenters.end(),
                                  [p](TGlobePresenter* q) { return q->PresenterID == p->PresenterID; }))
                presenters.push_back(p);
        }

    TGlobeStreamWriter writer(std::make_unique<QBuffer>());
    writer.WriteSmallInt(TGlobeLYRReader::CurrentVersion);
    writer.WriteMER(m_layer.GetLayerMER());
    for (const auto& [className, group] : GroupByClass(presenters, [](TGlobePresenter* p) { return p->ClassName(); })) {
        writer.WriteInteger(static_cast<int32_t>(group.size()));
        writer.WriteShortString(className);
        for (TGlobePresenter* p : group)
            p->WriteProperties(writer);
    }
    for (const auto& [className, group] : GroupByClass(objects, [](TGlobeObject* o) { return o->ClassName(); })) {
        writer.WriteInteger(static_cast<int32_t>(group.size()));
        writer.WriteShortString(className);
        for (TGlobeObject* o : group)
            o->WriteProperties(writer);
    }
    writer.WriteInteger(0);
    return static_cast<QBuffer&>(writer.Stream()).data();
}

void TGlobeLYRWriter::SaveToFile(const QString& fileName) { writeFileAtomically(fileName, ToBytes()); }

void WriteLayerToLYRfile(TGlobeLayer& layer, const QString& fileName) { TGlobeLYRWriter(layer).SaveToFile(fileName); }
