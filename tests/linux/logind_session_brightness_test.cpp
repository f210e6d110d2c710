#include "platform/linux/logind_session_brightness.hpp"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cerrno>

namespace quorvane {
namespace {

bool systemdLoaded() {
    void* handle = dlopen(LogindSessionBrightness::kLibrary, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr)
        return false;
    dlclose(handle);
    return true;
}

// Start-up pays for every library the program links; the D-Bus library is
// only for the rare backlight that needs logind.
TEST(LogindSessionBrightness, TheBusLibraryIsLoadedOnTheFirstCallOnly) {
    ASSERT_FALSE(systemdLoaded()) << "linked with the program";
    LogindSessionBrightness logind;
    EXPECT_FALSE(systemdLoaded());

    // No such session or bus here: the call fails, but not for want of the
    // library.
    EXPECT_NE(logind.setBrightness("backlight", "quorvane-test-none", 1), ENOSYS);
    EXPECT_TRUE(systemdLoaded());
}

TEST(LogindSessionBrightness, MissingLibraryIsAFailureNotACrash) {
    LogindSessionBrightness logind("libquorvane-absent.so.0");
    EXPECT_EQ(logind.setBrightness("backlight", "intel_backlight", 10), ENOSYS);
    EXPECT_EQ(logind.setBrightness("backlight", "intel_backlight", 10), ENOSYS);
}

}  // namespace
}  // namespace quorvane
