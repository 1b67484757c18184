#include "app/OrbiloApplication.h"

#include "platform/ErrorDisplay.h"

#include <QLocale>

// Qt's switch for "&" mnemonics in captions; some platforms start with it
// off, and every button of the program is meant to answer its Alt key.
Q_GUI_EXPORT void qt_set_sequence_auto_mnemonic(bool enabled);

OrbiloApplication::OrbiloApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Orbilo"));
    qt_set_sequence_auto_mnemonic(true);
}

bool OrbiloApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowUnknownException();
    }
    return false;
}

void OrbiloApplication::FixDecimalComma()
{
    // German number formats give the comma; the rest of the system locale
    // (dates, language) is left alone.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}
