#include "lesson/LessonTypes.h"

QString KindLetter(int kind)
{
    static const char16_t letters[] = u"CLFIST";
    if (kind < 1 || kind > 6)
        return QStringLiteral(" ");
    return QString(QChar(letters[kind - 1]));
}
