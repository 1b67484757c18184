#pragma once

#include "lesson/ConversionError.h"
#include "lesson/GlobeLink.h"

#include "lesson/LessonTypes.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

class TDaten;
class TGeoDataObject;
class TGeoIndex;
class TGeoItem;
class TGlobeLayer;
class TGlobePresenter;
class TGlobeStreamReader;
class TGlobeView;
class TKategorie;

// One record of the geographic index:
// German~English~further spellings~capital-x-x-area~sub-items~stream position
struct TGlobeRecord {
    QStringList NamesGerman;
    QStringList NamesEnglish;
    QStringList NamesOther;
    int CapitalId = -1;
    int Area = 0;
    QString SubItemRefs;
    bool HasObject = false;
    qint64 StreamPosition = 0;
};
// A number piece or stream position that is not decimal raises
// ConversionError naming the source.
TGlobeRecord ParseGlobeRecord(const QString& value, const TValueSource& source);

// The model's globe interfaces over the engine's classes.
class TLessonLayer : public ILessonLayer {
public:
    explicit TLessonLayer(TGlobeLayer& layer) : Layer(layer) {}
    TGlobeLayer& Layer;
};

class TLessonPresenter : public ILessonPresenter {
public:
    explicit TLessonPresenter(TGlobePresenter& presenter) : Presenter(presenter) {}
    int PresenterId() const override;
    void SetFillColor(TColor color) override;
    void SetLineColor(TColor color) override;
    TGlobePresenter& Presenter;
};

class TLessonGlobeObject : public ILessonGlobeObject {
public:
    explicit TLessonGlobeObject(TGeoDataObject& object) : Object(object) {}
    void SetPresenterId(int presenterId) override;
    void SetVisible(bool visible) override;
    void SetTitle(const QString& title) override;
    TGeoDataObject& Object;
    // The same term in the base map, drawn only while the lesson's object
    // is not: the two cover each other exactly.
    TGeoDataObject* BaseTwin = nullptr;
};

// Joins a lesson to one globe: builds the categories' layers and presenters
// and the items' objects, and keeps the adapters the model refers to.
class TGlobeLessonLink {
public:
    explicit TGlobeLessonLink(TGlobeView& globe) : m_globe(globe) {}
    TGlobeLessonLink(const TGlobeLessonLink&) = delete;
    TGlobeLessonLink& operator=(const TGlobeLessonLink&) = delete;

    void CreatePresenters(TKategorie& category);
    // The land of the whole world beneath the lesson and the big lakes over
    // its areas, as the index's section [Grundkarte] lists them by kind
    // letter and number: context only, never clicked, asked or counted.
    // Made once; area layers made afterwards go between the two.
    void CreateBaseMap(const TGeoIndex& index, TGlobeStreamReader& reader);
    TGlobeLayer* BaseLand() const { return m_baseLand; }
    TGlobeLayer* BaseWater() const { return m_baseWater; }
    // Names, numbers, flag and object of the item from its index record.
    // A damaged record or stream position raises ConversionError; the item
    // then has no object.
    void LoadRecord(TGeoItem& item, const TGeoIndex& index, TGlobeStreamReader& reader);

    static TGeoDataObject* ObjectOf(const TGeoItem& item);
    static TGlobeLayer* LayerOf(const TKategorie& category);
    static TGeoItem* ItemOf(const TGeoDataObject& object);

    // The model must not keep pointers into a globe that goes away.
    static void Detach(TDaten& lesson);

private:
    ILessonPresenter* addPresenter(TGlobeLayer& layer, std::unique_ptr<TGlobePresenter> presenter);

    TGlobeView& m_globe;
    TGlobeLayer* m_baseLand = nullptr;  // owned by the globe's layer store
    TGlobeLayer* m_baseWater = nullptr;
    std::map<std::pair<CategoryKind, int>, TGeoDataObject*> m_baseObjects; // by kind and record number
    std::vector<std::unique_ptr<ILessonLayer>> m_layers;
    std::vector<std::unique_ptr<ILessonPresenter>> m_presenters;
    std::vector<std::unique_ptr<ILessonGlobeObject>> m_objects;
};
