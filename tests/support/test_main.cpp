// Shared entry point of the test executables: a Qt application object exists for the whole
// run (QFontMetrics, QImage text drawing and widgets need one), except while ctest only asks
// for the list of cases, which must work without any display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>

#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    bool listingOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            listingOnly = true;
        }
    }
    if (listingOnly || testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    std::unique_ptr<QCoreApplication> app;
#if PORTIQA_TEST_GUI_APP
    app = std::make_unique<QApplication>(argc, argv);
#else
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    app = std::make_unique<QGuiApplication>(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
