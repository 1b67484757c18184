#pragma once

#include "i18n/LangDictionary.h"

#include <QString>
#include <QStringList>

class QWidget;

// A control whose texts are not plain Qt properties (an owner-drawn list, a
// radio group of our own) takes them through this interface. `property` is
// the dotted remainder of the table key: "Caption", "Items",
// "Columns[0].Caption" and so on.
class TranslatableControl {
public:
    virtual ~TranslatableControl() = default;
    virtual bool setTranslatedText(const QString& property, const QString& text) = 0;
};

// Items of a comma text: separated by commas, an item with blanks or commas
// in double quotes (a doubled quote inside stands for one).
QStringList parseCommaText(const QString& text);

// Applies every table of the dictionary to the window and its named children,
// in the order captions, hints, fonts, list items, other strings, collections.
void applyDictionary(QWidget* window, const TLangDictionary& dictionary);

// Makes the dictionary apply itself to the window on every switch, and
// applies it once now.
void attachDictionary(QWidget* window, TLangDictionary& dictionary);
