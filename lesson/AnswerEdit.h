#pragma once

#include "lesson/LessonTypes.h"

#include <QString>

// The answer field an item is bound to in the short test. The learning
// widgets implement it; the model never sees a widget. A widget that goes
// away before its item must unbind itself (TGeoItem::BindEdit(nullptr)).
class IAnswerEdit {
public:
    virtual ~IAnswerEdit() = default;

    // Replaces the text without raising the field's change event and leaves
    // no text selected.
    virtual void SetTextSilently(const QString& text) = 0;
    // Background colours while the field has no focus and while it has.
    virtual void SetColors(TColor unfocused, TColor focused) = 0;
    virtual void SetEnabled(bool enabled) = 0;
};
