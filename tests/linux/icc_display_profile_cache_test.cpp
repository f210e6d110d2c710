#include "platform/linux/icc_display_profile_cache.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/icc_test_profiles.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using testing::IccTestProfiles;

class IccDisplayProfileCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvane-icc-cache-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }

    static std::vector<std::string> names(const std::vector<IccProfileFile>& profiles) {
        std::vector<std::string> out;
        for (const auto& profile : profiles)
            out.push_back(profile.description.value_or(""));
        return out;
    }

    fs::path root;
};

// Unchanged files are not read again (bytes swapped behind an unchanged size
// and time stay unseen); a file that comes, goes or changes is.
TEST_F(IccDisplayProfileCacheTest, ReadsTheFilesAgainOnlyWhenOneCameWentOrChanged) {
    const auto studio = root / "studio.icc";
    const auto studioBytes = IccTestProfiles::make(IccTestProfiles::Kind::display, L"Studio");
    IccTestProfiles::write(studio, studioBytes);
    IccDisplayProfileCache cache({root});
    ASSERT_EQ(names(cache.profiles()), std::vector<std::string>{"Studio"});

    const auto stamp = fs::last_write_time(studio);
    std::vector<std::uint8_t> garbage(studioBytes.size(), 'x');
    IccTestProfiles::write(studio, garbage);
    fs::last_write_time(studio, stamp);
    EXPECT_EQ(names(cache.profiles()), std::vector<std::string>{"Studio"});

    fs::last_write_time(studio, stamp + std::chrono::seconds(1));
    EXPECT_TRUE(cache.profiles().empty());

    IccTestProfiles::write(studio, studioBytes);
    IccTestProfiles::write(root / "sub" / "wide.icm",
                           IccTestProfiles::make(IccTestProfiles::Kind::display, L"Wide"));
    EXPECT_EQ(names(cache.profiles()), (std::vector<std::string>{"Studio", "Wide"}));

    fs::remove(studio);
    EXPECT_EQ(names(cache.profiles()), std::vector<std::string>{"Wide"});
}

}  // namespace
}  // namespace quorvane
