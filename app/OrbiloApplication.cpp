#include "app/OrbiloApplication.h"

#include "platform/ErrorDisplay.h"

#include <QLocale>

OrbiloApplication::OrbiloApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Orbilo"));
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
