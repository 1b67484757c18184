#pragma once

// Object sources: the containers that list globe objects with a fixed-size
// entry each and may load objects on demand.

#include "globe/CustomGlobeView.h"
#include "globe/GlobeBoundingCap.h"
#include "globe/GlobeObjects.h"
#include "globe/GlobePresenterStore.h"

#include <vector>

class TGlobeLayer;
class TGlobeXmlElement;

enum TObjectSourceNotification {
    osnOpen, osnClose, osnAdd, osnDelete, osnRedraw, osnSelectedChanged, osnCreate, osnFree
};

// One entry per object; state and presenter survive while the object is
// not loaded.
struct TObjectData {
    TGlobeObjectState State = Bit(osNew);
    TMER MER;
    int32_t MRU = 0;
    TGlobeObject* Object = nullptr; // owned by the source
    int32_t PresenterID = 0;
    TBoundingCap Cap; // of MER, made when first asked for
};

class TGlobeObjectSource : public TGlobeRoot {
public:
    // Registers with the globe, which owns the source from then on.
    explicit TGlobeObjectSource(TCustomGlobeView& globe);
    ~TGlobeObjectSource() override;
    TGlobeObjectSource(const TGlobeObjectSource&) = delete;
    TGlobeObjectSource& operator=(const TGlobeObjectSource&) = delete;

    QString ClassName() const override { return QStringLiteral("TGlobeObjectSource"); }

    virtual TObjectData& GetDataPtr(int i);
    virtual int32_t GetMRU(int i);
    virtual TMER GetMER(int i);
    // The cap round GetMER(i), kept until the rectangle changes.
    const TBoundingCap& GetCap(int i);
    virtual int32_t GetPresenterID(int i);
    virtual TGlobeObjectState GetState(int i);
    // Loads the object when needed; never answers none.
    virtual TGlobeObject* GetObject(int i);
    virtual void* GetUserObject(int i);
    virtual double GetValue(int i);
    virtual TGlobeLayer* GetLayer(int i);
    virtual void SetMER(int i, const TMER& mer);
    virtual void SetMRU(int i, int32_t mru);
    virtual void SetPresenterID(int i, int32_t id);
    virtual void SetCount(int n);
    virtual void SetCapacity(int n);
    virtual void SetState(int i, TGlobeObjectState state);
    virtual void SetValue(int i, double value);
    virtual void SetUserObject(int i, void* object);
    // Readers construct the object of entry i here.
    virtual TGlobeObject* LoadObject(int i, bool isNew);
    virtual void InternalOpen();
    virtual void InternalClose();
    virtual void SetActive(bool active);
    virtual void Notify(TObjectSourceNotification message, TGlobeObject* object);
    virtual void Subscribe(TGlobeLayer* layer);
    virtual void UnSubscribe(TGlobeLayer* layer);
    virtual void SaveMetaData() {}
    virtual void LoadMetaData() {}
    virtual void ReadMetaData(TGlobeStreamReader& reader);
    virtual void WriteMetaData(TGlobeStreamWriter& writer);
    virtual QString MetaDataFilename(const QString& name, bool resolve);
    // The source's settings as attributes of an environment element.
    virtual void LoadEnvironment(const TGlobeXmlElement& element);
    virtual void SaveEnvironment(TGlobeXmlElement& element);
    virtual void Open();
    virtual void Close();
    virtual void Add(TGlobeObject* object);
    virtual void Delete(TGlobeObject* object);
    virtual void Move(int from, int to);
    virtual void UnloadObjects();

    void ListActiveObjects(std::vector<TObjectData*>& list);
    int64_t ObjectInstanceSize();

    TCustomGlobeView& Globe() const { return m_globe; }
    int Count() const { return m_count; }
    int Capacity() const { return static_cast<int>(m_data.size()); }
    bool Active() const { return m_active; }
    bool Modified() const { return m_modified; }
    bool Loading() const { return m_loading; }
    int LayerCount() const { return static_cast<int>(m_layers.size()); }
    QString Name;
    TGlobePresenterStore& Presenters() { return m_presenters; }

protected:
    void CheckIndex(int i) const;

private:
    TCustomGlobeView& m_globe;
    bool m_active = false;
    bool m_modified = false;
    bool m_loading = false;
    int m_count = 0;
    std::vector<TObjectData> m_data;
    std::vector<double> m_values;
    std::vector<void*> m_userObjects;
    std::vector<TGlobeLayer*> m_layers;
    TGlobePresenterStore m_presenters;
};
