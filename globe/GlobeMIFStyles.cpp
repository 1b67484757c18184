#include "globe/GlobeMIFStyles.h"

#include "globe/GlobeClasses.h"
#include "globe/GlobePresenters.h"


namespace {
// The numbers inside a clause's parentheses; quoted names are left out.
QList<int64_t> ClauseNumbers(const QByteArray& line)
{
    QList<int64_t> numbers;
    const qsizetype open = line.indexOf('(');
    if (open < 0)
        return numbers;
    const qsizetype close = line.lastIndexOf(')');
    const QByteArray inner = line.mid(open + 1, close > open ? close - open - 1 : -1);
    bool quoted = false;
    QByteArray field;
    auto flush = [&] {
        bool ok = false;
        const int64_t v = field.trimmed().toLongLong(&ok);
        if (ok)
            numbers.append(v);
        field.clear();
    };
    for (char c : inner) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            flush();
        else if (!quoted)
            field.append(c);
    }
    flush();
    return numbers;
}

QString QuotedName(const QByteArray& line)
{
    const qsizetype a = line.indexOf('"');
    const qsizetype b = a < 0 ? -1 : line.indexOf('"', a + 1);
    return b > a ? QString::fromLatin1(line.mid(a + 1, b - a - 1)) : QString();
}

int PenStyleFromMIF(int64_t pattern)
{
    if (pattern == 1)
        return 5; // none
    if (pattern == 2)
        return 0;
    if (pattern < 10)
        return 2; // dotted
    if (pattern < 14)
        return 1; // dashed
    return 3;
}

int BrushStyleFromMIF(int64_t pattern)
{
    // None, solid, then the six hatches in the engine's order.
    if (pattern >= 1 && pattern <= 8)
        return pattern == 1 ? 1 : pattern == 2 ? 0 : static_cast<int>(pattern - 1);
    return 0;
}

// MapInfo widths 1-7 are pixels; 11 and above are tenths of a point plus 10.
int PenWidthFromMIF(int64_t width)
{
    if (width >= 11)
        return std::max<int>(1, static_cast<int>((width - 10) * 96 / 720));
    return static_cast<int>(std::clamp<int64_t>(width, 1, 7));
}

TPointPresenterType PointTypeFromMIF(int shape)
{
    switch ((shape - 32) % 6) {
    case 0: return ppSquare;
    case 1: return ppDiamond;
    case 4: return ppTriangleUp;
    case 5: return ppTriangleDown;
    default: return ppCircle;
    }
}

bool SameAttributes(TGlobePresenter& p, TMIFPresenterKind kind, const TMIFStyle& style)
{
    if (kind == TMIFPresenterKind::Poly) {
        auto* poly = dynamic_cast<TPolyPresenter*>(&p);
        return poly && poly->ClassName() == QLatin1String("TPolyPresenter") && poly->PolyPen.Equals(style.pen)
            && poly->PolyBrush.Equals(style.brush);
    }
    auto* point = dynamic_cast<TPointPresenter*>(&p);
    return point && point->PointType == PointTypeFromMIF(style.symbolShape) && point->PointSize == style.symbolSize
        && point->PointBrush.BrushColor() == style.symbolColor && point->PointFont.Equals(style.font)
        && point->PointPen.PenColor() == style.symbolColor;
}
} // namespace

uint32_t ColorFromMIF(int64_t rgb)
{
    const auto c = static_cast<uint32_t>(rgb) & 0xFFFFFF;
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

bool TMIFStyle::Apply(const QList<QByteArray>& words, const QByteArray& line)
{
    if (words.isEmpty())
        return false;
    // The keyword may run into its parentheses: "Pen(1,2,0)".
    QByteArray keyword = words[0].toLower();
    if (const qsizetype paren = keyword.indexOf('('); paren >= 0)
        keyword.truncate(paren);
    const QList<int64_t> n = ClauseNumbers(line);
    if (keyword == "pen") {
        if (n.size() >= 3)
            pen.Define(ColorFromMIF(n[2]), PenStyleFromMIF(n[1]), PenWidthFromMIF(n[0]), Pixel);
    } else if (keyword == "brush") {
        if (n.size() >= 2)
            brush.Define(ColorFromMIF(n[1]), BrushStyleFromMIF(n[0]));
    } else if (keyword == "symbol") {
        if (n.size() >= 3) {
            symbolShape = static_cast<int>(std::clamp<int64_t>(n[0], 31, 67));
            symbolColor = ColorFromMIF(n[1]);
            symbolSize = static_cast<int>(std::clamp<int64_t>(n[2], 1, 48));
        }
    } else if (keyword == "font") {
        if (n.size() >= 3)
            font.Define(QuotedName(line), ColorFromMIF(n[2]), static_cast<int>(std::clamp<int64_t>(n[1], 0, 200)),
                        Pixel, 0, static_cast<uint8_t>(n[0] & 0x0F));
    } else if (keyword != "smooth" && keyword != "center" && keyword != "angle" && keyword != "spacing"
               && keyword != "justify" && keyword != "label") {
        return false;
    }
    return true;
}

int32_t MIFPresenterID(TGlobeObjectSource& source, TMIFPresenterKind kind, const TMIFStyle& style)
{
    TGlobePresenterStore& store = source.Presenters();
    for (int i = 0; i < store.GetCount(); ++i)
        if (SameAttributes(*store.GetPresenter(i), kind, style))
            return store.GetPresenter(i)->PresenterID;
    if (kind == TMIFPresenterKind::Poly) {
        auto p = std::make_unique<TPolyPresenter>(source.Globe(), 0);
        p->PolyPen.Assign(style.pen);
        p->PolyBrush.Assign(style.brush);
        return store.Add(std::move(p));
    }
    auto p = std::make_unique<TPointPresenter>(source.Globe(), 0);
    p->PointType = PointTypeFromMIF(style.symbolShape);
    p->PointSize = style.symbolSize;
    p->PointUnit = Pixel;
    p->PointPen.Define(style.symbolColor, 0, 1, Pixel);
    p->PointBrush.Define(style.symbolColor, 0);
    p->PointFont.Assign(style.font);
    return store.Add(std::move(p));
}
