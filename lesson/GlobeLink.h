#pragma once

#include "lesson/LessonTypes.h"

#include <QString>

// What the lesson model needs of the globe. The globe map implements these
// for its layers, presenters and objects; the model only refers to them, it
// owns none (the layer owns its presenters and objects).

// The globe layer that holds a category's objects.
class ILessonLayer {
public:
    virtual ~ILessonLayer() = default;
};

// One of a category's presenters; IDs 1 normal, 2 solved, 3 grey.
class ILessonPresenter {
public:
    virtual ~ILessonPresenter() = default;
    virtual int PresenterId() const = 0;
    virtual void SetFillColor(TColor color) = 0;
    virtual void SetLineColor(TColor color) = 0;
};

// An item's object on the globe.
class ILessonGlobeObject {
public:
    virtual ~ILessonGlobeObject() = default;
    virtual void SetPresenterId(int presenterId) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetTitle(const QString& title) = 0;
};

// The inset picture the globe view makes for an item; the item owns it.
class IInsetPicture {
public:
    virtual ~IInsetPicture() = default;
};

namespace PresenterIds {
constexpr int Normal = 1;
constexpr int Solved = 2;
constexpr int Grey = 3;
} // namespace PresenterIds
