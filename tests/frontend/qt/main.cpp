#include <QApplication>

#include <gtest/gtest.h>

// The window tests need one QApplication for the whole run; without a display they use the offscreen platform.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvrast"));
    return RUN_ALL_TESTS();
}
