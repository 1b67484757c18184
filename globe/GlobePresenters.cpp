#include "globe/GlobePresenters.h"

#include "globe/CustomGlobeView.h"
#include "globe/GlobeObjects.h"
#include "globe/GlobeProjections.h"

#include <QFileInfo>
#include <cmath>

// --- TGlobePresenter ---

TGlobePresenter::TGlobePresenter(TCustomGlobeView& globe, int32_t id) : m_globe(globe), PresenterID(id)
{
    TitleFont.Assign(globe.GlobeCanvas().TextFont);
}

void TGlobePresenter::Assign(const TGlobeRoot& source)
{
    auto* other = dynamic_cast<const TGlobePresenter*>(&source);
    if (!other)
        return TGlobeRoot::Assign(source);
    PresenterID = other->PresenterID;
    Name = other->Name;
    TitleFont.Assign(other->TitleFont);
    TitleAlignment = other->TitleAlignment;
    TitleOffset = other->TitleOffset;
}

// --- TPointPresenter ---

TPointPresenter::TPointPresenter(TCustomGlobeView& globe, int32_t id) : TGlobePresenter(globe, id)
{
    Name = ClassName();
}

void TPointPresenter::Assign(const TGlobeRoot& source)
{
    TGlobePresenter::Assign(source);
    auto* other = dynamic_cast<const TPointPresenter*>(&source);
    if (!other)
        return;
    PointPen.Assign(other->PointPen);
    PointBrush.Assign(other->PointBrush);
    PointFont.Assign(other->PointFont);
    SymbolIndex = other->SymbolIndex;
    PointType = other->PointType;
    PointUnit = other->PointUnit;
    PointSize = other->PointSize;
    MaxPointSize = other->MaxPointSize;
    SetImageName(other->m_imageName);
    if (m_imageName.isEmpty() || Image.isNull())
        Image = other->Image;
}

std::unique_ptr<TGlobePresenter> TPointPresenter::Clone() const
{
    auto copy = std::make_unique<TPointPresenter>(Globe(), PresenterID);
    copy->Assign(*this);
    return copy;
}

void TPointPresenter::SetImageName(const QString& name)
{
    m_imageName = name;
    if (!name.isEmpty() && QFileInfo(name).isFile()) // never a device or a pipe
        Image.load(name);
}

void TPointPresenter::RenderObject(TCustomGlobeView& globe, TGlobeObject& object, TGlobeObjectState state)
{
    TGlobeCanvas& canvas = globe.GlobeCanvas();
    const bool selected = Has(state, osSelected);
    PointPen.RenderAttribute(canvas, selected);
    PointBrush.RenderAttribute(canvas, selected);
    TGlobeProjection& prj = globe.Projection();
    QPoint at;
    auto* data = dynamic_cast<TGeoDataObject*>(&object);
    if (data && data->Chains().GetCount() > 0) {
        for (int i = 0; i < data->Chains().GetCount(); ++i) {
            const TPointStore* chain = data->Chains().Chain(i);
            for (int k = 0; chain && k < chain->GetCount(); ++k)
                if (prj.PointLLToXY(chain->GetLL(k), at))
                    RenderSymbol(canvas, at);
        }
    } else if (prj.PointLLToXY(object.GetCentroid(), at)) {
        RenderSymbol(canvas, at);
    }
}

void TPointPresenter::RenderSymbol(TGlobeCanvas& canvas, const QPoint& at)
{
    int s = canvas.ScaleUnitsToDevice(PointSize, PointUnit);
    if (MaxPointSize != 0)
        s = std::min(s, MaxPointSize);
    const int h = s / 2;
    const int x = at.x(), y = at.y();
    auto polygon = [&](std::initializer_list<QPoint> points) {
        canvas.Polygon(points.begin(), static_cast<int>(points.size()));
    };
    switch (PointType) {
    case ppNone:
        break;
    case ppFontSymbol: {
        PointFont.RenderAttribute(canvas, false);
        const QString text(QChar(static_cast<char16_t>(SymbolIndex)));
        const QSize extent = canvas.TextExtent(text);
        const double a = -PointFont.FontAngle() / 10.0 * M_PI / 180.0;
        const double w2 = extent.width() / 2.0, t2 = extent.height() / 2.0;
        canvas.TextOut(x - static_cast<int>(w2 * std::cos(a) - t2 * std::sin(a)),
                       y - static_cast<int>(w2 * std::sin(a) + t2 * std::cos(a)), text, PointFont.FontAngle());
        break;
    }
    case ppImage:
        if (!Image.isNull() && Image.width() > 0) {
            const int k = Round(static_cast<double>(Image.height()) * h / Image.width());
            canvas.DrawImage(QRect(QPoint(x - h, y - k), QPoint(x + h - 1, y + k - 1)), Image);
        }
        break;
    case ppDot:
        canvas.SetPixel(x, y, PointPen.PenColor());
        break;
    case ppCircle:
        canvas.Ellipse(x - h, y - h, x + h, y + h);
        break;
    case ppSquare:
        canvas.Rectangle(x - h, y - h, x + h, y + h);
        break;
    case ppDiamond:
        polygon({{x, y - h}, {x + h, y}, {x, y + h}, {x - h, y}});
        break;
    case ppTriangleUp:
        polygon({{x + h, y + h}, {x, y - h}, {x - h, y + h}});
        break;
    case ppTriangleDown:
        polygon({{x - h, y - h}, {x, y + h}, {x + h, y - h}});
        break;
    case ppTriangleLeft:
        polygon({{x + h, y + h}, {x - h, y}, {x + h, y - h}});
        break;
    case ppTriangleRight:
        polygon({{x - h, y - h}, {x + h, y}, {x - h, y + h}});
        break;
    }
}

bool TPointPresenter::LLInObject(TCustomGlobeView& globe, const TPointLL& p, int32_t /*tolerance*/,
                                 TGlobeObject& object)
{
    int32_t s = globe.GlobeCanvas().GlobeUnitsFrom(PointUnit, PointSize);
    if (MaxPointSize != 0)
        s = std::min(s, Round(MaxPointSize / globe.Projection().ScaleFactor()));
    const int32_t half = s / 2;
    const TPointLL c = object.GetCentroid();
    return PointLLinMER(p, MER(c.Long - half, c.Lat - half, 2 * half, 2 * half));
}

// --- polygons and polylines ---

TPolyPresenter::TPolyPresenter(TCustomGlobeView& globe, int32_t id) : TGlobePresenter(globe, id)
{
    Name = ClassName();
}

void TPolyPresenter::Assign(const TGlobeRoot& source)
{
    TGlobePresenter::Assign(source);
    if (auto* other = dynamic_cast<const TPolyPresenter*>(&source)) {
        PolyPen.Assign(other->PolyPen);
        PolyBrush.Assign(other->PolyBrush);
    }
}

std::unique_ptr<TGlobePresenter> TPolyPresenter::Clone() const { return CloneAs<TPolyPresenter>(); }

void TPolyPresenter::RenderObject(TCustomGlobeView& globe, TGlobeObject& object, TGlobeObjectState state)
{
    auto* data = dynamic_cast<TGeoDataObject*>(&object);
    if (!data)
        return;
    TGlobeCanvas& canvas = globe.GlobeCanvas();
    const bool selected = Has(state, osSelected);
    PolyPen.RenderAttribute(canvas, selected);
    if (Has(state, osClosed))
        PolyBrush.RenderAttribute(canvas, selected);
    canvas.RenderChainStore(data->Chains(), state, PolyPen.PenWidth());
}

TPolygonPresenter::TPolygonPresenter(TCustomGlobeView& globe, int32_t id) : TPolyPresenter(globe, id)
{
    Name = ClassName();
}

void TPolygonPresenter::RenderObject(TCustomGlobeView& globe, TGlobeObject& object, TGlobeObjectState state)
{
    object.SetClosed(true);
    TPolyPresenter::RenderObject(globe, object, state | Bit(osClosed));
}

TPolylinePresenter::TPolylinePresenter(TCustomGlobeView& globe, int32_t id) : TPolyPresenter(globe, id)
{
    Name = ClassName();
}

void TPolylinePresenter::RenderObject(TCustomGlobeView& globe, TGlobeObject& object, TGlobeObjectState state)
{
    object.SetClosed(false);
    TPolyPresenter::RenderObject(globe, object, state & static_cast<TGlobeObjectState>(~Bit(osClosed)));
}
