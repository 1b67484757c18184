#include "platform/Messages.h"

#include <QCoreApplication>

void PostEndOfSession()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        QCoreApplication::postEvent(app, new QEvent(kEndOfSessionMessage));
}
