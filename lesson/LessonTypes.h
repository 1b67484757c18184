#pragma once

#include <QColor>
#include <QString>

// A colour as the model and the files keep it: 0xBBGGRR, so 0x0000FF is red.
using TColor = int;

// The same colour for the painter; only there do colours become QColor.
inline QRgb ToQRgb(TColor color) { return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }
inline QColor ToQColor(TColor color) { return QColor(ToQRgb(color)); }

// Answer state of an item. WrongNotify is only ever requested, never stored.
enum class ItemState : int {
    Open = 0,
    Right = 1,
    Wrong = 2,
    Revealed = 3,
    Deactivated = 4,
    ShowOnly = 5,
    Dependent = 6,
    WrongNotify = 7,
};

enum class CategoryKind : int {
    None = 0,
    Cities = 1,
    Countries = 2,
    Rivers = 3,
    Islands = 4,
    Lakes = 5,
    States = 6,
};

// Result of judging a typed answer against a stored name.
enum class AnswerResult : int {
    Exact = 0,
    Almost = 1,
    Wrong = 2,
};

// "C", "L", "F", "I", "S", "T" for the kinds 1..6, a blank for anything else.
QString KindLetter(int kind);
inline QString KindLetter(CategoryKind kind) { return KindLetter(static_cast<int>(kind)); }
