#pragma once

// The presenters the engine offers: point symbols and the polygon and
// polyline styles.

#include "globe/GlobePresenter.h"

#include <QImage>

enum TPointPresenterType {
    ppNone, ppFontSymbol, ppImage, ppDot, ppCircle, ppSquare, ppDiamond, ppTriangleUp, ppTriangleDown,
    ppTriangleLeft, ppTriangleRight
};

class TPointPresenter : public TGlobePresenter {
public:
    TPointPresenter(TCustomGlobeView& globe, int32_t id);
    QString ClassName() const override { return QStringLiteral("TPointPresenter"); }
    void Assign(const TGlobeRoot& source) override;
    void RenderObject(TCustomGlobeView& globe, TGlobeObject& object, TGlobeObjectState state) override;
    std::unique_ptr<TGlobePresenter> Clone() const override;
    bool LLInObject(TCustomGlobeView& globe, const TPointLL& p, int32_t tolerance, TGlobeObject& object) override;
    void WriteProperties(TGlobeStreamWriter& writer) const override;
    void ReadProperties(TGlobeStreamReader& reader, int version) override;

    // Draws the symbol at a device point.
    void RenderSymbol(TGlobeCanvas& canvas, const QPoint& at);

    const QString& ImageName() const { return m_imageName; }
    // An existing file is loaded as the image.
    void SetImageName(const QString& name);

    TGlobePen PointPen;
    TGlobeBrush PointBrush;
    TGlobeFont PointFont;
    int16_t SymbolIndex = 0;
    TPointPresenterType PointType = ppCircle;
    TGlobeUnitTypes PointUnit = Pixel;
    int32_t PointSize = 6;
    int32_t MaxPointSize = 0; // pixels; 0 = no limit
    QImage Image;

private:
    QString m_imageName;
};

class TPolyPresenter : public TGlobePresenter {
public:
    TPolyPresenter(TCustomGlobeView& globe, int32_t id);
    QString ClassName() const override { return QStringLiteral("TPolyPresenter"); }
    void Assign(const TGlobeRoot& source) override;
    void RenderObject(TCustomGlobeView& globe, TGlobeObject& object, TGlobeObjectState state) override;
    std::unique_ptr<TGlobePresenter> Clone() const override;
    // Every poly presenter, polyline ones too, keeps its brush in the file.
    void WriteProperties(TGlobeStreamWriter& writer) const override;
    void ReadProperties(TGlobeStreamReader& reader, int version) override;

    TGlobePen PolyPen;
    TGlobeBrush PolyBrush;

protected:
    template <typename P> std::unique_ptr<TGlobePresenter> CloneAs() const
    {
        auto copy = std::make_unique<P>(Globe(), PresenterID);
        copy->Assign(*this);
        return copy;
    }
};

// Always draws its objects closed.
class TPolygonPresenter : public TPolyPresenter {
public:
    TPolygonPresenter(TCustomGlobeView& globe, int32_t id);
    QString ClassName() const override { return QStringLiteral("TPolygonPresenter"); }
    void RenderObject(TCustomGlobeView& globe, TGlobeObject& object, TGlobeObjectState state) override;
    std::unique_ptr<TGlobePresenter> Clone() const override { return CloneAs<TPolygonPresenter>(); }
};

// Always draws its objects open.
class TPolylinePresenter : public TPolyPresenter {
public:
    TPolylinePresenter(TCustomGlobeView& globe, int32_t id);
    QString ClassName() const override { return QStringLiteral("TPolylinePresenter"); }
    void RenderObject(TCustomGlobeView& globe, TGlobeObject& object, TGlobeObjectState state) override;
    std::unique_ptr<TGlobePresenter> Clone() const override { return CloneAs<TPolylinePresenter>(); }
};
