// Tests of one X server change its shared state (modes, gamma ramps,
// root-window properties) and would see each other's windows: every test
// program that reaches the private server runs each of its tests under
// CTest's one lock of that server, as CTest lists them.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "services/persistence/unique_file_descriptor.hpp"
#include "suite/ctest_listing.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

// Whether the program reads the variable that names the private server:
// its name is among the program's bytes.
bool reachesTheXServer(const fs::path& program) {
    static constexpr std::string_view kNamingVariable = "QUORVANE_TEST_DISPLAY";
    const UniqueFileDescriptor fd(::open(program.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || info.st_size == 0)
        return false;
    const auto size = static_cast<std::size_t>(info.st_size);
    void* bytes = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (bytes == MAP_FAILED)
        return false;
    const bool found =
        ::memmem(bytes, size, kNamingVariable.data(), kNamingVariable.size()) != nullptr;
    ::munmap(bytes, size);
    return found;
}

bool holdsTheXServerLock(const nlohmann::json& test) {
    for (const auto& lock : testing::propertyOf(test, "RESOURCE_LOCK"))
        if (lock == "quorvane-x-server")
            return true;
    return false;
}

TEST(TestLocksTest, EveryTestOfAProgramThatReachesTheXServerHoldsItsLock) {
    const auto listed = testing::listedTests();
    ASSERT_TRUE(listed.contains("tests")) << "ctest listed no tests";
    // This program names the variable only to look for it.
    const auto self = fs::read_symlink("/proc/self/exe");
    std::map<fs::path, bool> reaching;
    std::set<std::string> unlocked;
    for (const auto& test : listed["tests"]) {
        const fs::path program = test["command"][0].get<std::string>();
        if (program == self)
            continue;
        auto [known, first] = reaching.try_emplace(program, false);
        if (first)
            known->second = reachesTheXServer(program);
        if (known->second && !holdsTheXServerLock(test))
            unlocked.insert(program.filename().string());
    }
    EXPECT_TRUE(unlocked.empty()) << "without the lock quorvane-x-server: "
                                  << nlohmann::json(unlocked).dump();
    // The look finds what it looks for: the X server's own tests reach it.
    EXPECT_TRUE(reaching[fs::path(QUORVANE_BINARY_DIR) / "tests" / "test_x11"]);
}

}  // namespace
}  // namespace quorvane
