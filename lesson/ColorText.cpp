#include "lesson/ColorText.h"

#include "platform/IniFile.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

struct NamedColor {
    const char16_t* name;
    TColor color;
};

const NamedColor kBasicColors[] = {
    {u"clBlack", 0x000000},  {u"clMaroon", 0x000080}, {u"clGreen", 0x008000},   {u"clOlive", 0x008080},
    {u"clNavy", 0x800000},   {u"clPurple", 0x800080}, {u"clTeal", 0x808000},    {u"clGray", 0x808080},
    {u"clSilver", 0xC0C0C0}, {u"clRed", 0x0000FF},    {u"clLime", 0x00FF00},    {u"clYellow", 0x00FFFF},
    {u"clBlue", 0xFF0000},   {u"clFuchsia", 0xFF00FF}, {u"clAqua", 0xFFFF00},   {u"clWhite", 0xFFFFFF},
};

struct SystemColor {
    const char16_t* name;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The user's current colours stand in for the desktop's system colours.
const SystemColor kSystemColors[] = {
    {u"clScrollBar", QPalette::Active, QPalette::Button},
    {u"clBackground", QPalette::Active, QPalette::Window},
    {u"clActiveCaption", QPalette::Active, QPalette::Highlight},
    {u"clInactiveCaption", QPalette::Inactive, QPalette::Highlight},
    {u"clMenu", QPalette::Active, QPalette::Window},
    {u"clWindow", QPalette::Active, QPalette::Base},
    {u"clWindowFrame", QPalette::Active, QPalette::Shadow},
    {u"clMenuText", QPalette::Active, QPalette::WindowText},
    {u"clWindowText", QPalette::Active, QPalette::Text},
    {u"clCaptionText", QPalette::Active, QPalette::HighlightedText},
    {u"clActiveBorder", QPalette::Active, QPalette::Window},
    {u"clInactiveBorder", QPalette::Inactive, QPalette::Window},
    {u"clAppWorkSpace", QPalette::Active, QPalette::Dark},
    {u"clHighlight", QPalette::Active, QPalette::Highlight},
    {u"clHighlightText", QPalette::Active, QPalette::HighlightedText},
    {u"clBtnFace", QPalette::Active, QPalette::Button},
    {u"clBtnShadow", QPalette::Active, QPalette::Dark},
    {u"clGrayText", QPalette::Disabled, QPalette::Text},
    {u"clBtnText", QPalette::Active, QPalette::ButtonText},
    {u"clInactiveCaptionText", QPalette::Inactive, QPalette::HighlightedText},
    {u"clBtnHighlight", QPalette::Active, QPalette::Light},
    {u"cl3DDkShadow", QPalette::Active, QPalette::Shadow},
    {u"cl3DLight", QPalette::Active, QPalette::Midlight},
    {u"clInfoText", QPalette::Active, QPalette::ToolTipText},
    {u"clInfoBk", QPalette::Active, QPalette::ToolTipBase},
    {u"clHotLight", QPalette::Active, QPalette::Link},
    {u"clGradientActiveCaption", QPalette::Active, QPalette::Highlight},
    {u"clGradientInactiveCaption", QPalette::Inactive, QPalette::Highlight},
    {u"clMenuHighlight", QPalette::Active, QPalette::Highlight},
    {u"clMenuBar", QPalette::Active, QPalette::Window},
};

TColor fromQColor(const QColor& c) { return (c.blue() << 16) | (c.green() << 8) | c.red(); }

QPalette currentPalette()
{
    // Without a GUI application (command-line tools) a plain light palette serves.
    return qGuiApp ? QGuiApplication::palette() : QPalette(QColor(0xF0, 0xF0, 0xF0));
}

} // namespace

bool TryParseColorText(const QString& text, TColor& color)
{
    const QString name = text.trimmed();
    for (const NamedColor& c : kBasicColors) {
        if (name.compare(QStringView(c.name), Qt::CaseInsensitive) == 0) {
            color = c.color;
            return true;
        }
    }
    for (const SystemColor& c : kSystemColors) {
        if (name.compare(QStringView(c.name), Qt::CaseInsensitive) == 0) {
            color = fromQColor(currentPalette().color(c.group, c.role));
            return true;
        }
    }
    return IniFile::parseInteger(name, color);
}

TColor ParseColorText(const QString& text, const TValueSource& source)
{
    TColor color = 0;
    if (!TryParseColorText(text, color))
        throw ConversionError(source, text);
    return color;
}

QString ColorToText(TColor color)
{
    for (const NamedColor& c : kBasicColors)
        if (c.color == color)
            return QString::fromUtf16(c.name);
    return QStringLiteral("$%1").arg(static_cast<quint32>(color), 8, 16, QLatin1Char('0')).toUpper();
}
