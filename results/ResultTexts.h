#pragma once

#include <QString>
#include <array>

class TErgebnis;
class TLangDictionary;

// The value texts of the result page, in the dictionary's active language.
struct TResultTexts {
    QString person;
    QString richtig;
    QString falsch;
    QString prozent;
    QString zeit;
    QString dauer;
    QString dauerfrage;
    QString note;
};

TResultTexts BuildResultTexts(const TErgebnis& result, const QString& userName, const TLangDictionary& dictionary,
                              const std::array<int, 6>& thresholds);
