#include <memory>
#include <string_view>

#include <dlfcn.h>
#include <link.h>

#include <QApplication>
#include <gtest/gtest.h>

// Every test binary runs on the Qt platform its build names (offscreen, or a
// real X server for display tests) and has a QApplication, except while
// GoogleTest only lists the tests, which must work without any display.
namespace {

// Mesa's driver makes a few allocations once, for good, and is unloaded when
// the display closes; the leak checker then cannot name where they came from.
// Kept loaded, it can, and tests/lsan.supp passes over them.
void KeepOpenGLDriversLoaded()
{
    dl_iterate_phdr(
        [](dl_phdr_info* module, std::size_t, void*) {
            const std::string_view name = module->dlpi_name;
            if (name.ends_with("_dri.so"))
                dlopen(module->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

} // namespace

int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", KESTRO_TEST_PLATFORM);
    std::unique_ptr<QApplication> application;
    if (!GTEST_FLAG_GET(list_tests))
        application = std::make_unique<QApplication>(argc, argv);
    const int result = RUN_ALL_TESTS();
    KeepOpenGLDriversLoaded();
    return result;
}
