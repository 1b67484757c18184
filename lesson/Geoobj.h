#pragma once

#include "lesson/LessonTypes.h"

#include <QString>
#include <QStringList>

// Text routines of the lesson model: field extraction, message formatting
// and the comparison of a typed answer with a stored name.

// Field k (1-based) of a text split at one delimiter: the text between the
// (k-1)-th and the k-th delimiter. Asking beyond the last delimiter gives
// the last field; k below 1 counts as 1.
QString ExtractField(const QString& text, QChar delimiter, int k);
// Number of fields: delimiters + 1 (an empty text is one empty field).
int FieldCount(const QString& text, QChar delimiter);
// Every field in order.
QStringList SplitFields(const QString& text, QChar delimiter);
// A name list joined by "|"; empty pieces are no names and are dropped, so
// that an empty answer can never match.
QStringList SplitNames(const QString& text);

// Fills printf-style placeholders (%s, %d) in order; "%%" is a percent sign.
// Missing arguments fill as empty texts.
QString FormatText(const QString& format, const QStringList& args);

// Characters an answer comparison ignores.
extern const QString AnswerSeparators;

// Case of A-Z and the separators are ignored; with tolerance, texts with
// equal phonetic keys are almost right.
AnswerResult CompareAnswer(const QString& answer, const QString& storedName, bool tolerant);
// Lower-cases A-Z only and removes the separators.
QString NormaliseAnswer(const QString& text);
// Folds spellings that sound alike onto one key.
QString PhoneticKey(const QString& text);
