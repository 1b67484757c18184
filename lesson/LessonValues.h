#pragma once

#include "lesson/LessonTypes.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

class IniFile;

// Typed reads of lesson file values beyond what the INI service offers.

// A floating-point number written with a decimal comma ("1,5"); a decimal
// point, thousands separators, blanks inside or an infinite value do not
// convert.
bool ParseCommaFloat(const QString& text, double& value);
// Decimal digits with an optional sign, within the integer range.
bool ParseDecimal(const QString& text, int& value);

// Reads as the default when missing or not a number.
double ReadFloat(const IniFile& file, const QString& section, const QString& key, double defaultValue);
// No value when the key is missing or empty; a bad colour text raises
// ConversionError.
std::optional<TColor> ReadColor(const IniFile& file, const QString& section, const QString& key);
// A required decimal count of items: a missing, non-decimal, negative or
// absurdly large value raises ConversionError.
int ReadItemCount(const IniFile& file, const QString& section, const QString& key);
constexpr int kMaxItemsPerCategory = 65535;

// The entries of a section read as a whole: in file order, the first of a
// repeated key only, and keys with an empty value left out.
std::vector<std::pair<QString, QString>> ReadSectionPairs(const IniFile& file, const QString& section);
