#include <QApplication>
#include <gtest/gtest.h>

// As the program does: buttons answer the Alt key of their "&" letter.
Q_GUI_EXPORT void qt_set_sequence_auto_mnemonic(bool enabled);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                       : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    qt_set_sequence_auto_mnemonic(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
