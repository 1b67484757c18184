#pragma once

#include <QEvent>

// The end-of-session message: a lesson view posts it when a drill is
// finished, so that the main window closes the view on a later turn of the
// message loop and not from inside the view's own event handler.
inline constexpr QEvent::Type kEndOfSessionMessage = static_cast<QEvent::Type>(1025);

// Posts the message to the application (no window).
void PostEndOfSession();
