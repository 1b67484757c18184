#pragma once

#include <QApplication>

// The application object: an error that reaches the event loop is shown
// with the standard error display and the program goes on.
class OrbiloApplication : public QApplication {
public:
    OrbiloApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The program entry's first step: numbers are written with a decimal
    // comma, whatever the system setting.
    static void FixDecimalComma();
};
