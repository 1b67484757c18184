#pragma once

// Globe objects: the base object (title, IDs, state, centroid) and the
// geographic data object made of point chains.

#include "globe/GlobePointStore.h"
#include "globe/GlobeRoot.h"

#include <memory>

class TCustomGlobeView;
class TGlobeObjectSource;
class TGlobeStreamReader;
class TGlobeStreamWriter;

// Objects are created into a source, which owns them; one created without a
// source belongs to its creator.
class TGlobeObject : public TGlobeRoot {
public:
    explicit TGlobeObject(TGlobeObjectSource* source);
    ~TGlobeObject() override;
    TGlobeObject(const TGlobeObject&) = delete;
    TGlobeObject& operator=(const TGlobeObject&) = delete;

    QString ClassName() const override { return QStringLiteral("TGlobeObject"); }

    void Assign(const TGlobeRoot& source) override;
    virtual TPointLL GetCentroid();
    virtual void SetCentroid(const TPointLL& p);
    // The virtual constructor: a new, empty object of the same class.
    virtual TGlobeObject* Create(TGlobeObjectSource* source) const;
    virtual TGlobeObject* Clone();
    virtual void WriteProperties(TGlobeStreamWriter& writer);
    virtual void ReadProperties(TGlobeStreamReader& reader);
    virtual void RedrawObject();
    virtual void Render(TCustomGlobeView& globe, TGlobeObjectState state);
    virtual void SelectedChanged();
    virtual void FixupReferences() {}
    virtual int64_t ObjectInstanceSize() const;
    virtual TMER ObjectMER();
    virtual bool LLInObject(const TPointLL& p, int32_t tolerance);
    // 0 outside; 1 or 2 inside the west or east part of a rectangle across
    // 180°; 3 inside an ordinary rectangle.
    virtual int LLInObjectMER(const TPointLL& p);

    TGlobeObjectSource* Parent() const { return m_parent; }
    void SetParent(TGlobeObjectSource* source);
    const QString& Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    int32_t ID() const { return m_id; }
    void SetID(int32_t id) { m_id = id; }
    int32_t PresenterID() const { return m_presenterID; }
    void SetPresenterID(int32_t id);
    int32_t ZoomMin() const { return m_zoomMin; }
    int32_t ZoomMax() const { return m_zoomMax; }
    void SetZoomMin(int32_t z) { m_zoomMin = z; }
    void SetZoomMax(int32_t z) { m_zoomMax = z; }
    int32_t Index() const { return m_index; }
    void SetIndex(int32_t index) { m_index = index; }
    void* UserObject() const { return m_userObject; }
    void SetUserObject(void* object) { m_userObject = object; }
    uint16_t ObjectFlags() const { return m_objectFlags; }
    void SetObjectFlags(uint16_t flags) { m_objectFlags = flags; }
    TGlobeObjectState State() const { return m_state; }
    void SetState(TGlobeObjectState state) { m_state = state; }

    bool Closed() const { return Has(m_state, osClosed); }
    void SetClosed(bool closed);
    bool Hidden() const { return Has(m_state, osHidden); }
    void SetHidden(bool hidden);
    bool Selected() const { return Has(m_state, osSelected); }
    void SetSelected(bool selected);

protected:
    // Steps 1-4 and 6 of a record: the flags Word, title, ID, zoom range and
    // presenter; adds the flags these fields need.
    void WriteHeader(TGlobeStreamWriter& writer, uint16_t flags);

    // The centroid as cached, without computing it.
    TPointLL m_centroid{0, 0, NotComputed};
    TGlobeObjectState m_state = 0;

private:
    TGlobeObjectSource* m_parent = nullptr;
    QString m_title;
    int32_t m_id = 0;
    int32_t m_presenterID = 0;
    int32_t m_zoomMin = 0;
    int32_t m_zoomMax = 0;
    int32_t m_index = -1;
    void* m_userObject = nullptr;
    uint16_t m_objectFlags = 0;
};

class TGeoDataObject : public TGlobeObject {
public:
    explicit TGeoDataObject(TGlobeObjectSource* source);

    QString ClassName() const override { return QStringLiteral("TGeoDataObject"); }

    void Assign(const TGlobeRoot& source) override;
    TPointLL GetCentroid() override;
    void SetCentroid(const TPointLL& p) override;
    TGlobeObject* Create(TGlobeObjectSource* source) const override;
    TGlobeObject* Clone() override;
    void WriteProperties(TGlobeStreamWriter& writer) override;
    void ReadProperties(TGlobeStreamReader& reader) override;
    void RedrawObject() override;
    int64_t ObjectInstanceSize() const override;
    TMER ObjectMER() override;
    bool LLInObject(const TPointLL& p, int32_t tolerance) override;
    // Without a presenter: the canvas's pen and brush.
    void Render(TCustomGlobeView& globe, TGlobeObjectState state) override;

    TChainStore& Chains() { return *m_chains; }
    const TChainStore& Chains() const { return *m_chains; }

    // One chain of a record: count, first point, further points.
    static void ReadPoints(TPointStore& store, TGlobeStreamReader& reader);
    static void WritePoints(TPointStore& store, TGlobeStreamWriter& writer, uint16_t chainFlags);
    // The flags Word that describes a chain (removes repeated points first).
    static uint16_t ChainFlags(TPointStore& store);

private:
    std::unique_ptr<TChainStore> m_chains = std::make_unique<TChainStore>();
};
