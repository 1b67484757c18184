#pragma once

// The drawing style of objects: the base every presenter derives from.
// Stores hold presenters through this class.

#include "globe/GlobeCanvas.h"
#include "globe/GlobeRoot.h"

#include <memory>

class TCustomGlobeView;
class TGlobeObject;
class TGlobeStreamReader;
class TGlobeStreamWriter;

enum TTitleAlignment {
    taNone, taCenter, taLeft, taRight, taTopLeft, taTop, taTopRight, taBottomLeft, taBottom, taBottomRight
};

class TGlobePresenter : public TGlobeRoot {
public:
    // The title font starts as a copy of the canvas's text font.
    TGlobePresenter(TCustomGlobeView& globe, int32_t id);

    void Assign(const TGlobeRoot& source) override;

    virtual void RenderObject(TCustomGlobeView& globe, TGlobeObject& object, TGlobeObjectState state) = 0;
    virtual void AdjustObjectMER(TGlobeObject& /*object*/, TMER& /*mer*/) {}
    virtual std::unique_ptr<TGlobePresenter> Clone() const = 0;
    // The hit test of an object drawn by this presenter.
    virtual bool LLInObject(TCustomGlobeView& globe, const TPointLL& p, int32_t tolerance, TGlobeObject& object);
    // The presenter's form in a layer file: written in the current form,
    // read in the form of the file's version.
    virtual void WriteProperties(TGlobeStreamWriter& writer) const;
    virtual void ReadProperties(TGlobeStreamReader& reader, int version);

    TCustomGlobeView& Globe() const { return m_globe; }

private:
    TCustomGlobeView& m_globe;

public:
    int32_t PresenterID;
    QString Name;
    TGlobeFont TitleFont;
    TTitleAlignment TitleAlignment = taNone;
    int32_t TitleOffset = 0;
};
