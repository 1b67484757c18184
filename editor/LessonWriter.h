#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <utility>
#include <vector>

class TDaten;
class TKategorie;

// What a lesson file holds besides the lesson tree: the map's settings and
// the keys the editor carries over unchanged from the file it opened.
struct TLessonFileExtras {
    bool PictureLesson = false;

    // Picture lessons: [Allgemeines].
    QString Bitmap;
    QString Background; // a colour text; empty writes none
    bool CountryCapitals = false; // LHDatei: the memory game is offered

    // Globe lessons: [Lektion] and [Globe].
    bool AllowMoving = true;
    bool AllowZooming = true;
    std::vector<std::pair<QString, QString>> GlobeView;
    // The section each category of the opened file came from; a category
    // without one is named by its kind letter.
    QHash<const TKategorie*, QString> Sections;

    // Categories the map made while loading (the capitals of a picture
    // lesson, the capitals and parts of a globe lesson's terms). The map
    // makes them again, so they are written only when they hold something
    // of the author's: own terms, or changed names and colours.
    QSet<const TKategorie*> MapMade;
};

// The whole text of a lesson file, in the format the lesson readers take
// back into the same lesson: [Lektion] with Version 3 and the plain type
// ("image" or "globe": a saved lesson is never a standard lesson), then the
// map's sections and the categories with their terms. Lines end in CR LF.
QByteArray LessonFileText(const TDaten& lesson, const TLessonFileExtras& extras);

// A floating-point value as lesson files write it: a decimal comma, no
// exponent, and just the digits that read back as the same number.
QString FormatCommaFloat(double value);

// Line breaks and other control characters in a value would end the line
// and start a new key or section; they become blanks, and the value is
// trimmed as the reader will trim it.
QString CleanLessonValue(const QString& value);
