#include "platform/linux/icc_profile_library.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/icc_color_profile_manager.hpp"
#include "support/edid_builder.hpp"
#include "support/icc_test_profiles.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using testing::IccTestProfiles;

class IccProfileLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvane-icc-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
};

TEST_F(IccProfileLibraryTest, ListsValidDisplayProfilesAndSkipsEverythingElse) {
    auto user = root / "user";
    auto system = root / "system";
    IccTestProfiles::write(
        user / "studio.icc",
        IccTestProfiles::make(IccTestProfiles::Kind::display, L"Studio 한글 Display"));
    IccTestProfiles::write(user / "vendor" / "Plain.ICM",
                           IccTestProfiles::make(IccTestProfiles::Kind::noDescription, L""));
    IccTestProfiles::write(user / "press.icc",
                           IccTestProfiles::make(IccTestProfiles::Kind::printer, L"Press"));
    IccTestProfiles::write(user / "broken.icc", {'n', 'o', 't', ' ', 'i', 'c', 'c'});
    IccTestProfiles::write(user / "empty.icc", {});
    IccTestProfiles::write(user / "notes.txt",
                           IccTestProfiles::make(IccTestProfiles::Kind::display, L"Text"));
    IccTestProfiles::write(system / "srgb.icc",
                           IccTestProfiles::make(IccTestProfiles::Kind::display, L"System sRGB"));
    fs::create_symlink(system / "srgb.icc", user / "linked.icc");

    auto profiles = IccProfileLibrary::displayProfiles({user, root / "missing", system});

    ASSERT_EQ(profiles.size(), 3u);
    // The link and its target are one file; the first directory wins.
    EXPECT_EQ(profiles[0].path, user / "linked.icc");
    EXPECT_EQ(profiles[0].description, "System sRGB");
    EXPECT_EQ(profiles[1].path, user / "studio.icc");
    EXPECT_EQ(profiles[1].description, "Studio 한글 Display");
    EXPECT_EQ(profiles[2].path, user / "vendor" / "Plain.ICM");
    EXPECT_EQ(profiles[2].description, std::nullopt);
}

TEST_F(IccProfileLibraryTest, StandardDirectoriesFollowTheBaseDirectoryRules) {
    using Dirs = std::vector<fs::path>;
    EXPECT_EQ(
        IccProfileLibrary::standardDirectories("/data", "/home/u", "/opt/share:/usr/share"),
        (Dirs{"/data/icc", "/home/u/.color/icc", "/opt/share/color/icc", "/usr/share/color/icc"}));
    EXPECT_EQ(IccProfileLibrary::standardDirectories(std::nullopt, "/home/u", std::nullopt),
              (Dirs{"/home/u/.local/share/icc", "/home/u/.color/icc", "/usr/local/share/color/icc",
                    "/usr/share/color/icc"}));
    EXPECT_EQ(IccProfileLibrary::standardDirectories("relative", std::nullopt, "x::/usr/share"),
              (Dirs{"/usr/share/color/icc"}));
}

TEST_F(IccProfileLibraryTest, FactoryProfileComesFromTheEdidAndIsReproducible) {
    testing::EdidBuilder monitor;
    auto edid = Edid::parse(monitor.bytes());
    auto first = IccProfileLibrary::makeFactoryProfile(edid, "DELL U2720Q");
    auto second = IccProfileLibrary::makeFactoryProfile(edid, "DELL U2720Q");
    EXPECT_EQ(first, second);
    EXPECT_TRUE(IccProfileLibrary::isDisplayProfile(first));
    EXPECT_EQ(IccProfileLibrary::description(first), "DELL U2720Q");

    monitor.gammaByte = 140;  // 2.4
    auto darker =
        IccProfileLibrary::makeFactoryProfile(Edid::parse(monitor.bytes()), "DELL U2720Q");
    EXPECT_NE(darker, first);

    auto fallback = IccProfileLibrary::makeFactoryProfile(std::nullopt, "DUMMY0");
    EXPECT_EQ(IccProfileLibrary::description(fallback), "DUMMY0");
}

TEST(IccDeviceUUIDTest, StableAndDerivedFromTheEdidElseTheConnector) {
    auto edid = testing::EdidBuilder{}.bytes();
    auto uuid = IccColorProfileManager::deviceUUID(edid, "HDMI-1");
    EXPECT_EQ(uuid, IccColorProfileManager::deviceUUID(edid, "DP-2"));
    ASSERT_EQ(uuid.size(), 36u);
    EXPECT_EQ(uuid[14], '8');

    testing::EdidBuilder other;
    other.serial = 77;
    EXPECT_NE(IccColorProfileManager::deviceUUID(other.bytes(), "HDMI-1"), uuid);
    EXPECT_NE(IccColorProfileManager::deviceUUID({}, "HDMI-1"),
              IccColorProfileManager::deviceUUID({}, "HDMI-2"));
    auto damaged = edid;
    damaged[127] ^= 1;
    EXPECT_EQ(IccColorProfileManager::deviceUUID(damaged, "HDMI-1"),
              IccColorProfileManager::deviceUUID({}, "HDMI-1"));
}

}  // namespace
}  // namespace quorvane
