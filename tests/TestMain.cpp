#include <memory>

#include <QApplication>
#include <gtest/gtest.h>

// Every test binary runs on the Qt platform its build names (offscreen, or a
// real X server for display tests) and has a QApplication, except while
// GoogleTest only lists the tests, which must work without any display.
int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", KESTRO_TEST_PLATFORM);
    std::unique_ptr<QApplication> application;
    if (!GTEST_FLAG_GET(list_tests))
        application = std::make_unique<QApplication>(argc, argv);
    return RUN_ALL_TESTS();
}
