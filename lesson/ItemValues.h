#pragma once

#include "lesson/ConversionError.h"
#include "lesson/LessonTypes.h"

#include <QString>
#include <QStringList>

// The item values of lesson files, as the map views read them.

// Picture lessons: ["xxx"] names ["?" region ["?" capital names]], the
// names being German names joined by "|", optionally "~" and English ones.
struct TPictureItemValue {
    bool Deactivated = false;
    QStringList NamesGerman;
    QStringList NamesEnglish;
    QString Region;
    QStringList CapitalNames;
};
TPictureItemValue ParsePictureItemValue(const QString& value);

// Globe lessons: ["xxxx" (show only) | "xxx" (deactivated)] record number.
struct TGlobeItemValue {
    ItemState State = ItemState::Open;
    int Number = 0;
};
// A record number that is not decimal raises ConversionError naming the source.
TGlobeItemValue ParseGlobeItemValue(const QString& value, const TValueSource& source);
