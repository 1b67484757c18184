// Presenters and their pens, brushes and fonts in the form of layer files.

#include "globe/GlobePresenters.h"
#include "globe/GlobeStream.h"

namespace {
// Layer file versions that changed the form.
constexpr int kWideTitleOffset = 1024; // int32 title offset, pen width and unit
constexpr int kNoTitleOffset = 768;

// A byte that must name one of count values.
template <typename Enum> Enum ReadEnum(TGlobeStreamReader& reader, int count, const char* what)
{
    const int64_t at = reader.Position();
    const auto v = static_cast<uint8_t>(reader.ReadShortInt());
    if (v >= count)
        throw EGlobeException(QStringLiteral("Layer file: %1 %2 at offset %3 is out of range").arg(QLatin1String(what)).arg(v).arg(at));
    return static_cast<Enum>(v);
}

void WriteByte(TGlobeStreamWriter& writer, int v) { writer.WriteShortInt(static_cast<int8_t>(static_cast<uint8_t>(v))); }
int ReadByte(TGlobeStreamReader& reader) { return static_cast<uint8_t>(reader.ReadShortInt()); }

void WritePen(TGlobeStreamWriter& writer, const TGlobePen& pen)
{
    writer.WriteInteger(static_cast<int32_t>(pen.PenColor()));
    WriteByte(writer, pen.PenStyle());
    writer.WriteInteger(pen.PenWidth());
    WriteByte(writer, pen.PenUnit());
}

void ReadPen(TGlobeStreamReader& reader, int version, TGlobePen& pen)
{
    const auto color = static_cast<uint32_t>(reader.ReadInteger());
    const int style = ReadByte(reader);
    if (version < kWideTitleOffset) {
        const int width = ReadByte(reader);
        pen.Define(color, style, width, pen.PenUnit());
        return;
    }
    const int32_t width = reader.ReadInteger();
    pen.Define(color, style, width, ReadEnum<TGlobeUnitTypes>(reader, GlobeUnitCount, "pen unit"));
}

void WriteBrush(TGlobeStreamWriter& writer, const TGlobeBrush& brush)
{
    writer.WriteInteger(static_cast<int32_t>(brush.BrushColor()));
    WriteByte(writer, brush.BrushStyle());
}

void ReadBrush(TGlobeStreamReader& reader, TGlobeBrush& brush)
{
    const auto color = static_cast<uint32_t>(reader.ReadInteger());
    brush.Define(color, ReadByte(reader));
}

void WriteFont(TGlobeStreamWriter& writer, const TGlobeFont& font)
{
    writer.WriteInteger(static_cast<int32_t>(font.FontColor()));
    WriteByte(writer, font.FontUnit());
    writer.WriteSmallInt(static_cast<int16_t>(font.FontSize()));
    writer.WriteSmallInt(static_cast<int16_t>(font.FontAngle()));
    WriteByte(writer, font.FontStyle());
    writer.WriteShortString(font.FontName());
}

void ReadFont(TGlobeStreamReader& reader, TGlobeFont& font)
{
    const auto color = static_cast<uint32_t>(reader.ReadInteger());
    const auto unit = ReadEnum<TGlobeUnitTypes>(reader, GlobeUnitCount, "font unit");
    const int16_t size = reader.ReadSmallInt();
    const int16_t angle = reader.ReadSmallInt();
    const auto style = static_cast<uint8_t>(ReadByte(reader));
    font.Define(reader.ReadShortString(), color, size, unit, angle, style);
}
} // namespace

void TGlobePresenter::WriteProperties(TGlobeStreamWriter& writer) const
{
    writer.WriteInteger(PresenterID);
    writer.WriteInteger(TitleOffset);
    writer.WriteShortString(Name);
    WriteByte(writer, TitleAlignment);
    WriteFont(writer, TitleFont);
}

void TGlobePresenter::ReadProperties(TGlobeStreamReader& reader, int version)
{
    PresenterID = reader.ReadInteger();
    if (version >= kWideTitleOffset)
        TitleOffset = reader.ReadInteger();
    else if (version > kNoTitleOffset)
        TitleOffset = reader.ReadShortInt();
    Name = reader.ReadShortString();
    TitleAlignment = ReadEnum<TTitleAlignment>(reader, taBottomRight + 1, "title alignment");
    ReadFont(reader, TitleFont);
}

void TPointPresenter::WriteProperties(TGlobeStreamWriter& writer) const
{
    TGlobePresenter::WriteProperties(writer);
    WriteByte(writer, PointType);
    WriteByte(writer, PointUnit);
    if (MaxPointSize > 0) {
        writer.WriteInteger(-PointSize);
        writer.WriteInteger(MaxPointSize);
    } else {
        writer.WriteInteger(PointSize);
    }
    writer.WriteSmallInt(SymbolIndex);
    writer.WriteShortString(m_imageName);
    WritePen(writer, PointPen);
    WriteBrush(writer, PointBrush);
    WriteFont(writer, PointFont);
}

void TPointPresenter::ReadProperties(TGlobeStreamReader& reader, int version)
{
    TGlobePresenter::ReadProperties(reader, version);
    PointType = ReadEnum<TPointPresenterType>(reader, ppTriangleRight + 1, "point type");
    PointUnit = ReadEnum<TGlobeUnitTypes>(reader, GlobeUnitCount, "point unit");
    const int64_t size = reader.ReadInteger();
    MaxPointSize = 0;
    if (size < 0)
        MaxPointSize = reader.ReadInteger();
    PointSize = static_cast<int32_t>(std::min<int64_t>(std::abs(size), std::numeric_limits<int32_t>::max()));
    SymbolIndex = reader.ReadSmallInt();
    SetImageName(reader.ReadShortString());
    ReadPen(reader, version, PointPen);
    ReadBrush(reader, PointBrush);
    ReadFont(reader, PointFont);
}

void TPolyPresenter::WriteProperties(TGlobeStreamWriter& writer) const
{
    TGlobePresenter::WriteProperties(writer);
    WritePen(writer, PolyPen);
    WriteBrush(writer, PolyBrush);
}

void TPolyPresenter::ReadProperties(TGlobeStreamReader& reader, int version)
{
    TGlobePresenter::ReadProperties(reader, version);
    ReadPen(reader, version, PolyPen);
    ReadBrush(reader, PolyBrush);
}
