#pragma once

#include "platform/OrbiloError.h"

#include <QString>

// Where a value was read from, so that a failed conversion can name it.
struct TValueSource {
    QString File;
    QString Section;
    QString Key;
};

// A value in a lesson or index file that does not convert to what it must be.
class ConversionError : public OrbiloError {
public:
    ConversionError(const TValueSource& source, const QString& text);

    const TValueSource& source() const { return m_source; }
    const QString& text() const { return m_text; }

private:
    TValueSource m_source;
    QString m_text;
};
