#pragma once

// Point containers: one chain (a polyline or one polygon ring) and the
// ordered chains of an object.

#include "globe/GlobeSysUtils.h"

#include <memory>
#include <vector>

enum TPointStoreFlag : uint8_t {
    psLongCount = 1,
    ps16Bit = 2,
    psCompressed = 4,
    psHeight = 8,
};
using TPointStoreFlags = uint8_t;

using TPoint3DArray = std::vector<TPoint3D>;

class TPointStore {
public:
    TPointStore() = default;
    TPointStore(const TPointStore&) = delete;
    TPointStore& operator=(const TPointStore&) = delete;

    TPointStoreFlags Flags = 0;

    int GetCount() const { return static_cast<int>(m_points.size() / Stride()); }
    void SetCount(int n);
    void Reserve(int n) { m_points.reserve(static_cast<size_t>(n) * Stride()); }

    TPointLL GetLL(int i) const;
    void PutLL(int i, const TPointLL& p);
    void Add(const TPointLL& p);
    void Insert(int i, const TPointLL& p);
    void Delete(int i);

    bool GetHeightFlag() const { return (Flags & psHeight) != 0; }
    void SetHeightFlag(bool on);

    void Translate(int32_t dLong, int32_t dLat, int32_t dHeight);
    void Refresh() { m_cache3D.reset(); }

    TPointLL Centroid() const;
    // The centre of the area a closed ring encloses, and that area in square
    // globe units shrunk by the cosine of its latitude (0 for a ring without
    // area or one round a pole, whose centre is then the mean of its points).
    struct AreaCentre {
        TPointLL centre;
        double weight = 0;
    };
    AreaCentre AreaCentroid() const;
    TMER PointStoreMER() const;
    bool PointInPolygon(int32_t x, int32_t y) const;
    bool PointOnPolyline(int32_t x, int32_t y, int32_t tolerance) const;

    // The 3D points of the chain. With keep the array stays on the store and
    // is shared with the caller; without, the cache is dropped and the caller
    // gets an array of its own.
    std::shared_ptr<const TPoint3DArray> Point3DArray(bool keep);
    bool HasCache3D() const { return m_cache3D != nullptr; }

    std::unique_ptr<TPointStore> Clone() const;
    int64_t ObjectInstanceSize() const;

    // Raw coordinates, Stride() int32 values a point, for tight loops.
    const int32_t* Data() const { return m_points.data(); }
    int Stride() const { return GetHeightFlag() ? 3 : 2; }
    int32_t* MutableData()
    {
        m_cache3D.reset();
        return m_points.data();
    }

private:
    bool Valid(int i) const { return i >= 0 && i < GetCount(); }

    std::vector<int32_t> m_points;
    std::shared_ptr<TPoint3DArray> m_cache3D;
};

// Chains of one object; a slot may stay empty until first asked for.
class TChainStore {
public:
    TChainStore() = default;
    TChainStore(const TChainStore&) = delete;
    TChainStore& operator=(const TChainStore&) = delete;

    int GetCount() const { return static_cast<int>(m_chains.size()); }
    void SetCount(int n);
    // Never fails: grows the list and fills an empty slot.
    TPointStore& GetChain(int i);
    // The chain or none, without growing anything.
    const TPointStore* Chain(int i) const;
    void SetChain(int i, std::unique_ptr<TPointStore> store);
    void Add(std::unique_ptr<TPointStore> store);
    void Insert(int i, std::unique_ptr<TPointStore> store);
    void Delete(int i);
    void Move(int from, int to);

    TPointLL Centroid() const;
    // Where most of an area object's land is: the area centre of its largest
    // ring, so that far-away islands or overseas parts do not pull it into
    // the sea. Without any area, the mean of the chains' centres.
    TPointLL CentreOfLargestPart() const;
    TMER ChainStoreMER() const;
    void Translate(int32_t dLong, int32_t dLat, int32_t dHeight);
    void Refresh();
    std::unique_ptr<TChainStore> Clone() const;
    int64_t ObjectInstanceSize() const;

private:
    std::vector<std::unique_ptr<TPointStore>> m_chains;
};
