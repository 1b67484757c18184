#include "lesson/ConversionError.h"

namespace {
QString describe(const TValueSource& source, const QString& text)
{
    return QStringLiteral("'%1' is not a valid value (file \"%2\", section [%3], key \"%4\")")
        .arg(text, source.File, source.Section, source.Key);
}
} // namespace

ConversionError::ConversionError(const TValueSource& source, const QString& text)
    : OrbiloError(describe(source, text)), m_source(source), m_text(text)
{
}
