// Entry point of the widget tests: one QApplication on the offscreen platform.
#include "settings/registry.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    // The per-user store goes to a test folder (before anything opens it), emptied at the start.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    qorv::registry::open()->clear();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
