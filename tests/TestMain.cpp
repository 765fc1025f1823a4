#include <cstring>
#include <memory>

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strncmp(argv[i], "--gtest_list_tests", 18) == 0;
    std::unique_ptr<QApplication> application;
    qputenv("QT_QPA_PLATFORM", KESTRO_TEST_PLATFORM);
    if (!listing)
        application = std::make_unique<QApplication>(argc, argv);
    return RUN_ALL_TESTS();
}
