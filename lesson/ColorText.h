#pragma once

#include "lesson/ConversionError.h"
#include "lesson/LessonTypes.h"

#include <QString>

// Colour texts of lesson files: one of the basic colour names, a system
// colour name (the user's current colours, from the application palette),
// or a number (decimal or "$" hexadecimal) meaning 0xBBGGRR. Names match
// without regard to case.
bool TryParseColorText(const QString& text, TColor& color);
// As above; anything else raises ConversionError naming the source.
TColor ParseColorText(const QString& text, const TValueSource& source);
// The basic colour name of a colour, or "$" and eight hexadecimal digits.
QString ColorToText(TColor color);
