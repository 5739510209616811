// The window's tests run the real widgets without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <csignal>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication anwendung(argc, argv);
    anwendung.setApplicationName("Dravel");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
