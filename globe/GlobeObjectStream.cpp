// Reading and writing globe objects as stream records.

#include "globe/GlobeObjects.h"
#include "globe/GlobeStream.h"

#include <algorithm>

namespace {
constexpr uint16_t kKnownFlags = 0x07FF;
constexpr uint16_t kChainBits = ofHeight | of16Bit | ofCompressed | ofLongCount;

struct ChainForm {
    int64_t unit;   // GU per coded step
    int32_t escape; // delta value that announces a full point
};
ChainForm FormOf(bool is16Bit) { return is16Bit ? ChainForm{GU_MINUTE, 127} : ChainForm{1, 32767}; }

inline int64_t Abs64(int64_t v) { return v < 0 ? -v : v; }

// Decodes n points into out (stride 2 or 3), continuing the running point.
template <bool Is16Bit, bool Height>
void DecodeDeltas(TGlobeStreamReader& reader, int32_t* out, int n, int64_t running[3])
{
    using Delta = std::conditional_t<Is16Bit, int8_t, int16_t>;
    constexpr int64_t u = Is16Bit ? GU_MINUTE : 1;
    constexpr int escape = Is16Bit ? 127 : 32767;
    constexpr int stride = Height ? 3 : 2;
    for (int k = 0; k < n; ++k, out += stride) {
        const int dLong = reader.Read<Delta>();
        if (dLong == escape) {
            const TPointLL p = reader.ReadPointLL(Height, Is16Bit);
            running[0] = p.Long / u;
            running[1] = p.Lat / u;
            running[2] = p.Height / u;
            out[0] = p.Long;
            out[1] = p.Lat;
            if constexpr (Height)
                out[2] = p.Height;
            continue;
        }
        running[0] += dLong;
        running[1] += reader.Read<Delta>();
        if constexpr (Height)
            running[2] += reader.Read<Delta>();
        // Hostile deltas may run beyond 32 bits: wrap, never overflow.
        out[0] = Mod180(static_cast<int32_t>(running[0] * u));
        out[1] = static_cast<int32_t>(running[1] * u);
        if constexpr (Height)
            out[2] = static_cast<int32_t>(running[2] * u);
    }
}

template <bool Is16Bit, bool Height> void DecodeFull(TGlobeStreamReader& reader, int32_t* out, int n)
{
    constexpr int stride = Height ? 3 : 2;
    for (int k = 0; k < n; ++k, out += stride) {
        const TPointLL p = reader.ReadPointLL(Height, Is16Bit);
        out[0] = p.Long;
        out[1] = p.Lat;
        if constexpr (Height)
            out[2] = p.Height;
    }
}

template <bool Is16Bit, bool Height>
void Decode(TGlobeStreamReader& reader, int32_t* out, int n, bool compressed, int64_t running[3])
{
    if (compressed)
        DecodeDeltas<Is16Bit, Height>(reader, out, n, running);
    else
        DecodeFull<Is16Bit, Height>(reader, out, n);
}

int PointBytes(bool height, bool is16Bit) { return (is16Bit ? 2 : 4) * (height ? 3 : 2); }
} // namespace

// --- TGlobeObject ---

void TGlobeObject::ReadProperties(TGlobeStreamReader& reader)
{
    reader.BeginRecord();
    const int64_t start = reader.Position();
    const uint16_t flags = reader.ReadWord();
    if (flags & ~kKnownFlags)
        throw EGlobeException(QStringLiteral("Globe stream: unknown object flags 0x%1 in the record at offset %2")
                                  .arg(flags, 4, 16, QLatin1Char('0'))
                                  .arg(start));
    m_objectFlags = flags;
    if (flags & ofTitle)
        m_title = reader.ReadShortString();
    if (flags & ofID)
        m_id = reader.ReadInteger();
    if (flags & ofZoomMinMax) {
        m_zoomMin = reader.ReadInteger();
        m_zoomMax = reader.ReadInteger();
    }
    if (flags & ofClosed)
        Include(m_state, osClosed);
    SetPresenterID(reader.ReadSmallInt());
}

void TGlobeObject::WriteHeader(TGlobeStreamWriter& writer, uint16_t flags)
{
    if (!m_title.isEmpty())
        flags |= ofTitle;
    if (m_id != 0)
        flags |= ofID;
    if (m_zoomMin != m_zoomMax)
        flags |= ofZoomMinMax;
    if (Closed())
        flags |= ofClosed;
    m_objectFlags = flags;
    writer.WriteWord(flags);
    if (flags & ofTitle)
        writer.WriteShortString(m_title);
    if (flags & ofID)
        writer.WriteInteger(m_id);
    if (flags & ofZoomMinMax) {
        writer.WriteInteger(m_zoomMin);
        writer.WriteInteger(m_zoomMax);
    }
    writer.WriteSmallInt(static_cast<int16_t>(m_presenterID));
}

void TGlobeObject::WriteProperties(TGlobeStreamWriter& writer) { WriteHeader(writer, 0); }

// --- TGeoDataObject ---

void TGeoDataObject::ReadProperties(TGlobeStreamReader& reader)
{
    TGlobeObject::ReadProperties(reader);
    const uint16_t flags = ObjectFlags();
    if (flags & ofSingle) {
        m_chains->SetCount(0);
        SetCentroid(reader.ReadPointLL(flags & ofHeight, flags & of16Bit));
        return;
    }
    const int count = (flags & ofMultiRing) ? reader.ReadWord() : 1;
    // Every chain takes at least its count Word and, after the first, a flags Word.
    reader.Require(int64_t{count} * 4 - 2, "the chain count");
    m_chains->SetCount(0);
    uint16_t chainFlags = flags;
    for (int i = 0; i < count; ++i) {
        TPointStore& store = m_chains->GetChain(i);
        store.SetHeightFlag(chainFlags & ofHeight);
        store.Flags = (store.Flags & psHeight) | ((chainFlags & of16Bit) ? ps16Bit : 0)
            | ((chainFlags & ofCompressed) ? psCompressed : 0) | ((chainFlags & ofLongCount) ? psLongCount : 0);
        ReadPoints(store, reader);
        if (i < count - 1)
            chainFlags = reader.ReadWord();
    }
    // The points changed under the caches.
    m_centroid = {0, 0, NotComputed};
    Exclude(m_state, osValidMER);
}

void TGeoDataObject::ReadPoints(TPointStore& store, TGlobeStreamReader& reader)
{
    const bool height = store.GetHeightFlag();
    const bool is16Bit = store.Flags & ps16Bit;
    const bool compressed = store.Flags & psCompressed;
    const int64_t at = reader.Position();
    const int64_t count = (store.Flags & psLongCount) ? int64_t{reader.ReadInteger()} : int64_t{reader.ReadWord()};
    if (count < 0)
        throw EGlobeException(
            QStringLiteral("Globe stream: negative point count %1 at offset %2").arg(count).arg(at));
    store.SetCount(0);
    if (count == 0)
        return;
    const int full = PointBytes(height, is16Bit);
    const int least = compressed ? (is16Bit ? 1 : 2) * (height ? 3 : 2) : full;
    reader.Require(full + (count - 1) * least, "the point count");

    const TPointLL first = reader.ReadPointLL(height, is16Bit);
    const ChainForm form = FormOf(is16Bit);
    int64_t running[3] = {first.Long / form.unit, first.Lat / form.unit, first.Height / form.unit};
    // Streams that cannot tell their size grow the store as data arrives.
    const int64_t step = reader.Remaining() == std::numeric_limits<int64_t>::max() ? 65536 : count;
    store.SetCount(1);
    store.PutLL(0, first);
    const int stride = store.Stride();
    int64_t done = 1;
    while (done < count) {
        const int n = static_cast<int>(std::min(count - done, step));
        store.SetCount(static_cast<int>(done + n));
        int32_t* out = store.MutableData() + done * stride;
        if (is16Bit)
            height ? Decode<true, true>(reader, out, n, compressed, running)
                   : Decode<true, false>(reader, out, n, compressed, running);
        else
            height ? Decode<false, true>(reader, out, n, compressed, running)
                   : Decode<false, false>(reader, out, n, compressed, running);
        done += n;
    }
}

uint16_t TGeoDataObject::ChainFlags(TPointStore& store)
{
    uint16_t flags = of16Bit;
    for (int i = store.GetCount() - 1; i >= 0; --i) {
        const TPointLL p = store.GetLL(i);
        if (p.Height != 0)
            flags |= ofHeight;
        // Heights must sit on whole minutes too, or the 16-bit form would
        // silently drop them.
        if (p.Long % GU_MINUTE != 0 || p.Lat % GU_MINUTE != 0 || p.Height % GU_MINUTE != 0)
            flags &= ~of16Bit;
        if (i >= 2 && i + 1 < store.GetCount() && p == store.GetLL(i + 1))
            store.Delete(i);
    }
    const int count = store.GetCount();
    const bool height = flags & ofHeight;
    const ChainForm form = FormOf(flags & of16Bit);
    int64_t estimate = count > 0 ? (height ? 12 : 8) : 0;
    for (int i = 1; i < count; ++i) {
        const TPointLL a = store.GetLL(i - 1);
        const TPointLL b = store.GetLL(i);
        const bool small = Abs64((int64_t{b.Long} - a.Long) / form.unit) < form.escape
            && Abs64((int64_t{b.Lat} - a.Lat) / form.unit) < form.escape
            && Abs64((int64_t{b.Height} - a.Height) / form.unit) < form.escape;
        estimate += small ? (height ? 6 : 4) : (height ? 14 : 10);
    }
    if (estimate < int64_t{count} * (height ? 12 : 8))
        flags |= ofCompressed;
    if (count > 65535)
        flags |= ofLongCount;
    return flags;
}

void TGeoDataObject::WritePoints(TPointStore& store, TGlobeStreamWriter& writer, uint16_t chainFlags)
{
    const bool height = chainFlags & ofHeight;
    const bool is16Bit = chainFlags & of16Bit;
    store.Flags = (store.Flags & psHeight) | (is16Bit ? ps16Bit : 0)
        | ((chainFlags & ofCompressed) ? psCompressed : 0) | ((chainFlags & ofLongCount) ? psLongCount : 0);
    const int count = store.GetCount();
    if (count > 65535)
        writer.WriteInteger(count);
    else
        writer.WriteWord(static_cast<uint16_t>(count));
    if (count == 0)
        return;
    if (!(chainFlags & ofCompressed)) {
        for (int i = 0; i < count; ++i)
            writer.WritePointLL(store.GetLL(i), height, is16Bit);
        return;
    }
    const ChainForm form = FormOf(is16Bit);
    TPointLL previous = store.GetLL(0);
    writer.WritePointLL(previous, height, is16Bit);
    for (int i = 1; i < count; ++i) {
        const TPointLL p = store.GetLL(i);
        const int64_t d[3] = {(int64_t{p.Long} - previous.Long) / form.unit,
                              (int64_t{p.Lat} - previous.Lat) / form.unit,
                              height ? (int64_t{p.Height} - previous.Height) / form.unit : 0};
        const bool small = Abs64(d[0]) < form.escape && Abs64(d[1]) < form.escape && Abs64(d[2]) < form.escape;
        const int values = height ? 3 : 2;
        if (!small) {
            is16Bit ? writer.WriteShortInt(static_cast<int8_t>(form.escape))
                    : writer.WriteSmallInt(static_cast<int16_t>(form.escape));
            writer.WritePointLL(p, height, is16Bit);
        } else {
            for (int k = 0; k < values; ++k)
                is16Bit ? writer.WriteShortInt(static_cast<int8_t>(d[k]))
                        : writer.WriteSmallInt(static_cast<int16_t>(d[k]));
        }
        previous = p;
    }
}

void TGeoDataObject::WriteProperties(TGlobeStreamWriter& writer)
{
    const int count = m_chains->GetCount();
    if (count == 0) {
        // A point keeps its height when it has one (the reader honours ofHeight).
        const TPointLL c = GetCentroid();
        const bool height = c.Height != 0 && c.Height != NotComputed;
        WriteHeader(writer, ofSingle | (height ? ofHeight : 0));
        writer.WritePointLL(c, height, false);
        return;
    }
    uint16_t chainFlags = ChainFlags(m_chains->GetChain(0));
    WriteHeader(writer, chainFlags | (count > 1 ? ofMultiRing : 0));
    if (count > 1)
        writer.WriteWord(static_cast<uint16_t>(std::min(count, 65535)));
    const int written = std::min(count, 65535);
    for (int i = 0; i < written; ++i) {
        WritePoints(m_chains->GetChain(i), writer, chainFlags);
        if (i + 1 < written) {
            chainFlags = ChainFlags(m_chains->GetChain(i + 1));
            writer.WriteWord(chainFlags & kChainBits);
        }
    }
}
