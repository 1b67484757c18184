#pragma once

class IniFile;
class QString;
class TGeoIndex;

// The five pairings of the memory game and which cards each one deals.
namespace MemoryPairings {

enum Pairing : int {
    CountryCapital = 0,
    CountryFlag = 1,
    CountryOutline = 2,
    OutlineCapital = 3,
    OutlineFlag = 4,
};
constexpr int kCount = 5;
constexpr unsigned kAll = (1u << kCount) - 1;

// The two card kinds of a pairing; a pairing outside 0..4 deals as 0.
struct CardKinds {
    bool Country = false;
    bool Capital = false;
    bool Outline = false;
    bool Flag = false;
};
CardKinds KindsOf(int pairing);

// Bit p is set when pairing p finds at least one pair in the lesson file:
// a country or state that is asked (neither shown only nor switched off)
// and has a name, and, as the pairing needs them, a capital with a name, a
// flag description, an outline on the globe. Picture lessons have neither
// flags nor outlines. `index` is the geographic index of globe lessons.
unsigned Available(const IniFile& lessonFile, const TGeoIndex& index);
// The same, reading the index "Data/geodata.ini" of the program folder
// (ending with a separator) only for globe lessons.
unsigned AvailableIn(const IniFile& lessonFile, const QString& programFolder);

} // namespace MemoryPairings
