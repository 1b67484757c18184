#include "globe/GlobeClasses.h"

#include "globe/GlobeLayer.h"
#include "globe/GlobeStream.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

TGlobeObjectSource::TGlobeObjectSource(TCustomGlobeView& globe) : m_globe(globe), m_presenters(globe)
{
    m_globe.Notify(gnObjectSourceCreate, this);
}

TGlobeObjectSource::~TGlobeObjectSource()
{
    SetActive(false);
    m_globe.Notify(gnObjectSourceFree, this);
    SetCount(0);
    const std::vector<TGlobeLayer*> layers = m_layers;
    for (TGlobeLayer* layer : layers)
        layer->SetObjects(nullptr);
}

void TGlobeObjectSource::CheckIndex(int i) const
{
    if (i < 0 || i >= m_count)
        throw EGlobeException(
            QStringLiteral("%1: object index %2 out of range (0..%3)").arg(ClassName()).arg(i).arg(m_count - 1));
}

TObjectData& TGlobeObjectSource::GetDataPtr(int i)
{
    CheckIndex(i);
    return m_data[static_cast<size_t>(i)];
}

int32_t TGlobeObjectSource::GetMRU(int i) { return GetDataPtr(i).MRU; }
int32_t TGlobeObjectSource::GetPresenterID(int i) { return GetDataPtr(i).PresenterID; }
TGlobeObjectState TGlobeObjectSource::GetState(int i) { return GetDataPtr(i).State; }
void TGlobeObjectSource::SetMER(int i, const TMER& mer) { GetDataPtr(i).MER = mer; }
void TGlobeObjectSource::SetMRU(int i, int32_t mru) { GetDataPtr(i).MRU = mru; }
void TGlobeObjectSource::SetPresenterID(int i, int32_t id) { GetDataPtr(i).PresenterID = id; }
void TGlobeObjectSource::SetState(int i, TGlobeObjectState state) { GetDataPtr(i).State = state; }

TMER TGlobeObjectSource::GetMER(int i)
{
    TObjectData& entry = GetDataPtr(i);
    if (Has(entry.State, osValidMER))
        return entry.MER;
    const TMER m = GetObject(i)->ObjectMER();
    TObjectData& again = GetDataPtr(i); // loading may have grown the entries
    again.MER = m;
    Include(again.State, osValidMER);
    return m;
}

const TBoundingCap& TGlobeObjectSource::GetCap(int i)
{
    const TMER m = GetMER(i);
    TObjectData& entry = GetDataPtr(i);
    if (!entry.Cap.Holds(m))
        entry.Cap = BoundingCap(m);
    return entry.Cap;
}

TGlobeObject* TGlobeObjectSource::GetObject(int i)
{
    CheckIndex(i);
    if (!m_data[static_cast<size_t>(i)].Object) {
        const bool isNew = Has(m_data[static_cast<size_t>(i)].State, osNew);
        m_loading = true;
        TGlobeObject* loaded = nullptr;
        try {
            loaded = LoadObject(i, isNew);
        } catch (...) {
            m_loading = false;
            throw;
        }
        m_loading = false;
        if (!loaded)
            throw EGlobeException(QStringLiteral("Object reader returned nil object"));
        CheckIndex(i);
        TObjectData& entry = m_data[static_cast<size_t>(i)];
        if (isNew) {
            TGlobeObjectState state = loaded->State();
            Exclude(state, osNew);
            entry.State = state;
            entry.PresenterID = loaded->PresenterID();
        } else {
            loaded->SetState(entry.State);
            loaded->SetIndex(i);
            loaded->SetPresenterID(entry.PresenterID);
        }
        loaded->SetIndex(i);
        loaded->SetUserObject(GetUserObject(i));
        entry.Object = loaded;
        loaded->FixupReferences();
        m_globe.DoObjectCreate(loaded);
        if (!Has(entry.State, osDiscardable))
            m_globe.CacheUsedDelta(static_cast<int32_t>(loaded->ObjectInstanceSize()));
        Include(entry.State, osDiscardable);
    }
    TObjectData& entry = m_data[static_cast<size_t>(i)];
    entry.MRU = m_globe.NextMRU();
    return entry.Object;
}

void* TGlobeObjectSource::GetUserObject(int i)
{
    return (i >= 0 && i < static_cast<int>(m_userObjects.size())) ? m_userObjects[static_cast<size_t>(i)] : nullptr;
}

double TGlobeObjectSource::GetValue(int i)
{
    return (i >= 0 && i < static_cast<int>(m_values.size())) ? m_values[static_cast<size_t>(i)] : 0.0;
}

void TGlobeObjectSource::SetValue(int i, double value)
{
    if (i < 0 || i >= m_count)
        return;
    if (i >= static_cast<int>(m_values.size()))
        m_values.resize(static_cast<size_t>(i) + 1, 0.0);
    m_values[static_cast<size_t>(i)] = value;
}

void TGlobeObjectSource::SetUserObject(int i, void* object)
{
    if (i < 0 || i >= m_count)
        return;
    if (i >= static_cast<int>(m_userObjects.size()))
        m_userObjects.resize(static_cast<size_t>(i) + 1, nullptr);
    m_userObjects[static_cast<size_t>(i)] = object;
    if (TGlobeObject* loaded = m_data[static_cast<size_t>(i)].Object)
        loaded->SetUserObject(object);
}

TGlobeLayer* TGlobeObjectSource::GetLayer(int i)
{
    return (i >= 0 && i < LayerCount()) ? m_layers[static_cast<size_t>(i)] : nullptr;
}

void TGlobeObjectSource::SetCount(int n)
{
    if (n < 0)
        throw EGlobeException(QStringLiteral("DynArraySetLength: Invalid Parameter"));
    for (int i = n; i < m_count; ++i) {
        TObjectData& entry = m_data[static_cast<size_t>(i)];
        delete std::exchange(entry.Object, nullptr);
        entry = TObjectData{};
    }
    if (Capacity() < n)
        SetCapacity(n + 32);
    // Entries coming back into use start fresh.
    for (int i = m_count; i < n; ++i)
        m_data[static_cast<size_t>(i)] = TObjectData{};
    m_count = n;
}

void TGlobeObjectSource::SetCapacity(int n)
{
    if (n < 0)
        throw EGlobeException(QStringLiteral("DynArraySetLength: Invalid Parameter"));
    for (int i = n; i < Capacity(); ++i)
        delete std::exchange(m_data[static_cast<size_t>(i)].Object, nullptr);
    m_data.resize(static_cast<size_t>(n));
    m_count = std::min(m_count, n);
}

TGlobeObject* TGlobeObjectSource::LoadObject(int /*i*/, bool /*isNew*/) { return nullptr; }

void TGlobeObjectSource::InternalOpen() { Notify(osnRedraw, nullptr); }
void TGlobeObjectSource::InternalClose() { Notify(osnRedraw, nullptr); }

void TGlobeObjectSource::SetActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    try {
        active ? InternalOpen() : InternalClose();
    } catch (...) {
        // A source that failed to open stays closed.
        if (active)
            m_active = false;
        throw;
    }
    m_globe.Notify(gnObjectSourceActiveChange, this);
}

void TGlobeObjectSource::Open()
{
    SetActive(true);
    m_modified = false;
}

void TGlobeObjectSource::Close() { SetActive(false); }

void TGlobeObjectSource::Notify(TObjectSourceNotification message, TGlobeObject* object)
{
    if (message == osnRedraw && object && object->Index() >= 0 && object->Index() < m_count
        && m_data[static_cast<size_t>(object->Index())].Object == object) {
        // The entry's rectangle is its own cache: valid only while it was
        // and the object's still is. An object that worked out its own
        // rectangle must not vouch for the entry's, which may never have
        // been filled; drawing would cull the object by a stale rectangle.
        TObjectData& entry = m_data[static_cast<size_t>(object->Index())];
        const bool rectangle = Has(entry.State, osValidMER) && Has(object->State(), osValidMER);
        entry.State = object->State();
        SetBit(entry.State, osValidMER, rectangle);
    }
    const std::vector<TGlobeLayer*> layers = m_layers; // a layer may unsubscribe meanwhile
    for (TGlobeLayer* layer : layers)
        layer->Notify(message, object);
}

void TGlobeObjectSource::Subscribe(TGlobeLayer* layer)
{
    if (layer && std::find(m_layers.begin(), m_layers.end(), layer) == m_layers.end())
        m_layers.push_back(layer);
}

void TGlobeObjectSource::UnSubscribe(TGlobeLayer* layer)
{
    m_layers.erase(std::remove(m_layers.begin(), m_layers.end(), layer), m_layers.end());
}

void TGlobeObjectSource::Add(TGlobeObject* object)
{
    if (m_loading || !object)
        return;
    const int index = m_count;
    SetCount(m_count + 1);
    TObjectData& entry = m_data[static_cast<size_t>(index)];
    entry.Object = object;
    entry.State = object->State();
    entry.PresenterID = object->PresenterID();
    entry.MRU = m_globe.NextMRU();
    object->SetIndex(index);
    object->FixupReferences();
    TGlobeObjectState state = object->State();
    Exclude(state, osValidMER);
    object->SetState(state);
    Exclude(entry.State, osValidMER);
    Notify(osnAdd, object);
    m_modified = true;
}

void TGlobeObjectSource::Delete(TGlobeObject* object)
{
    if (!object || object->Index() < 0 || object->Index() >= m_count || object->Parent() != this)
        return;
    Notify(osnDelete, object);
    const int index = object->Index();
    TObjectData& entry = m_data[static_cast<size_t>(index)];
    // Only loaded discardable objects are in the cache account.
    if (entry.Object == object && Has(entry.State, osDiscardable))
        m_globe.CacheUsedDelta(-static_cast<int32_t>(object->ObjectInstanceSize()));
    m_data.erase(m_data.begin() + index);
    m_data.emplace_back();
    if (index < static_cast<int>(m_values.size()))
        m_values.erase(m_values.begin() + index);
    if (index < static_cast<int>(m_userObjects.size()))
        m_userObjects.erase(m_userObjects.begin() + index);
    --m_count;
    for (int i = index; i < m_count; ++i)
        if (TGlobeObject* o = m_data[static_cast<size_t>(i)].Object)
            o->SetIndex(i);
    object->SetIndex(-1);
    m_modified = true;
}

void TGlobeObjectSource::Move(int from, int to)
{
    CheckIndex(from);
    CheckIndex(to);
    if (from != to) {
        auto shift = [from, to](auto& items) {
            if (from < static_cast<int>(items.size()) && to < static_cast<int>(items.size())) {
                auto item = items[static_cast<size_t>(from)];
                items.erase(items.begin() + from);
                items.insert(items.begin() + to, item);
            }
        };
        shift(m_data);
        shift(m_values);
        shift(m_userObjects);
        for (int i = 0; i < m_count; ++i)
            if (TGlobeObject* o = m_data[static_cast<size_t>(i)].Object)
                o->SetIndex(i);
    }
    Notify(osnRedraw, nullptr);
    m_modified = true;
}

void TGlobeObjectSource::ListActiveObjects(std::vector<TObjectData*>& list)
{
    for (int i = 0; i < m_count; ++i) {
        TObjectData& entry = m_data[static_cast<size_t>(i)];
        if (entry.Object && Has(entry.State, osDiscardable))
            list.push_back(&entry);
    }
}

int64_t TGlobeObjectSource::ObjectInstanceSize()
{
    std::vector<TObjectData*> active;
    ListActiveObjects(active);
    int64_t total = 0;
    for (TObjectData* entry : active)
        total += entry->Object->ObjectInstanceSize();
    return total;
}

void TGlobeObjectSource::UnloadObjects()
{
    std::vector<TObjectData*> active;
    ListActiveObjects(active);
    for (TObjectData* entry : active) {
        entry->Object->SetSelected(false);
        TGlobeObject* object = std::exchange(entry->Object, nullptr);
        entry->State = object->State();
        entry->PresenterID = object->PresenterID();
        delete object;
    }
}

void TGlobeObjectSource::ReadMetaData(TGlobeStreamReader& reader)
{
    const int64_t at = reader.Position();
    const int32_t count = reader.ReadInteger();
    if (count < 0)
        throw EGlobeException(
            QStringLiteral("Globe stream: negative object count %1 at offset %2").arg(count).arg(at));
    reader.Require(int64_t{count} * 16, "the object count");
    SetCount(count);
    for (int i = 0; i < count; ++i) {
        TObjectData& entry = m_data[static_cast<size_t>(i)];
        entry.MER = reader.ReadMER();
        Include(entry.State, osValidMER);
    }
}

void TGlobeObjectSource::WriteMetaData(TGlobeStreamWriter& writer)
{
    writer.WriteInteger(m_count);
    for (int i = 0; i < m_count; ++i)
        writer.WriteMER(GetMER(i));
}

QString TGlobeObjectSource::MetaDataFilename(const QString& name, bool resolve)
{
    if (name.isEmpty())
        return {};
    const QString file = name + QStringLiteral(".md");
    if (!resolve)
        return file;
    switch (m_globe.SaveMetaDataLocation()) {
    case smdInDataDirectory:
        return m_globe.DataDirectory() + QFileInfo(file).fileName();
    case smdWithDataFile:
        return file;
    case smdWithExeFile:
        return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QFileInfo(file).fileName();
    case smdDiscard:
        break;
    }
    return {};
}
