#include "platform/linux/icc_color_profile_manager.hpp"

#include <gtest/gtest.h>

#include <X11/Xatom.h>

#include <algorithm>
#include <memory>

#include "models/color/color_profile_error.hpp"
#include "platform/linux/icc_profile_library.hpp"
#include "platform/linux/published_icc_profile.hpp"
#include "platform/linux/shared_x_connection.hpp"
#include "platform/simulated/in_memory_defaults_store.hpp"
#include "support/edid_builder.hpp"
#include "support/icc_test_profiles.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using testing::IccTestProfiles;

class IccColorProfileManagerTest : public testing::XServerTest {
  protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        char pattern[] = "/tmp/quorvane-icc-x11-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        studioBytes = IccTestProfiles::make(IccTestProfiles::Kind::display, L"Studio", 2.4);
        IccTestProfiles::write(directory / "studio.icc", studioBytes);
        deleteAtoms();
    }

    void TearDown() override {
        if (connection) {
            deleteAtoms();
            if (auto found = plainOutput("DUMMY1")) {
                XRRDeleteOutputProperty(connection->display(), found->id, connection->atom("EDID"));
            }
            connection->sync();
        }
        if (!directory.empty()) {
            fs::remove_all(directory);
        }
    }

    void deleteAtoms() {
        for (std::size_t index = 0; index < 3; ++index) {
            XDeleteProperty(connection->display(), connection->root(),
                            connection->atom(publishedProfileAtomName(index).c_str()));
        }
        ASSERT_FALSE(connection->sync());
    }

    std::vector<std::uint8_t> atomBytes(const std::string& name) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(connection->display(), connection->root(),
                           connection->atom(name.c_str()), 0, 1 << 20, False, AnyPropertyType,
                           &type, &format, &count, &remaining, &data);
        std::vector<std::uint8_t> bytes;
        if (data != nullptr) {
            EXPECT_EQ(type, XA_CARDINAL);
            EXPECT_EQ(format, 8);
            bytes.assign(data, data + count);
            XFree(data);
        }
        return bytes;
    }

    DisplaySnapshot display(const char* outputName) {
        DisplaySnapshot snapshot;
        snapshot.id = static_cast<DisplayID>(output(outputName)->id);
        return snapshot;
    }

    IccColorProfileManager manager() {
        return IccColorProfileManager({directory}, defaults,
                                      std::make_shared<SharedXConnection>(displayName));
    }

    void setEdid(const char* outputName, const std::vector<std::uint8_t>& bytes) {
        XRRChangeOutputProperty(connection->display(), output(outputName)->id,
                                connection->atom("EDID"), XA_INTEGER, 8, PropModeReplace,
                                bytes.data(), static_cast<int>(bytes.size()));
        ASSERT_FALSE(connection->sync());
    }

    static const DisplayColorProfile* find(const DisplayColorProfileState& state, bool factory) {
        auto found =
            std::find_if(state.profiles.begin(), state.profiles.end(),
                         [&](const auto& profile) { return profile.isFactory == factory; });
        return found == state.profiles.end() ? nullptr : &*found;
    }

    fs::path directory;
    std::vector<std::uint8_t> studioBytes;
    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>();
};

TEST_F(IccColorProfileManagerTest, ListsFilesAndTheFactoryProfileWithNothingPublished) {
    auto icc = manager();
    auto state = icc.profileState(display("DUMMY0"));
    ASSERT_EQ(state.profiles.size(), 2u);
    // Without a published profile nothing is current; the factory one is the default.
    EXPECT_EQ(state.currentProfileID, std::nullopt);
    const auto* factory = find(state, true);
    ASSERT_TRUE(factory);
    EXPECT_TRUE(factory->isDefault);
    EXPECT_FALSE(factory->url);
    const auto* studio = find(state, false);
    ASSERT_TRUE(studio);
    EXPECT_EQ(studio->name, "Studio");
    EXPECT_EQ(studio->url, directory / "studio.icc");
    EXPECT_EQ(state.displayUUID, IccColorProfileManager::deviceUUID({}, "DUMMY0"));
}

TEST_F(IccColorProfileManagerTest, AssigningPublishesTheProfileAndRemembersTheChoice) {
    auto icc = manager();
    auto second = display("DUMMY1");
    auto state = icc.profileState(second);

    icc.setDefaultProfile(*find(state, false), second);

    EXPECT_EQ(atomBytes("_ICC_PROFILE_1"), studioBytes);
    EXPECT_TRUE(atomBytes("_ICC_PROFILE").empty());
    auto after = icc.profileState(second);
    ASSERT_TRUE(after.currentProfile());
    EXPECT_EQ(after.currentProfile()->name, "Studio");
    EXPECT_TRUE(after.currentProfile()->isDefault);
    EXPECT_FALSE(find(after, true)->isDefault);
    EXPECT_TRUE(defaults->dataForKey(IccColorProfileManager::storageKey()));
    // The first output's state is not affected.
    EXPECT_EQ(icc.profileState(display("DUMMY0")).currentProfileID, std::nullopt);
}

TEST_F(IccColorProfileManagerTest, RestoringTheFactoryProfilePublishesItAndForgetsTheChoice) {
    auto icc = manager();
    auto first = display("DUMMY0");
    icc.setDefaultProfile(*find(icc.profileState(first), false), first);

    icc.restoreFactoryProfile(first);

    auto published = atomBytes("_ICC_PROFILE");
    EXPECT_EQ(published, IccProfileLibrary::makeFactoryProfile(std::nullopt, "DUMMY0"));
    auto state = icc.profileState(first);
    ASSERT_TRUE(state.currentProfile());
    EXPECT_TRUE(state.currentProfile()->isFactory);
    EXPECT_TRUE(state.currentProfile()->isDefault);
    EXPECT_FALSE(find(state, false)->isDefault);
}

TEST_F(IccColorProfileManagerTest, FailuresAreTypedAndChangeNothing) {
    auto icc = manager();
    auto first = display("DUMMY0");
    auto state = icc.profileState(first);

    try {
        icc.setDefaultProfile(*find(state, true), first);
        FAIL() << "the factory profile has no file";
    } catch (const ColorProfileError& error) {
        EXPECT_EQ(error, ColorProfileError::profileURLUnavailable("DUMMY0"));
    }

    DisplaySnapshot gone;
    gone.id = 0x7FFFFF;
    EXPECT_THROW(icc.profileState(gone), ColorProfileError);
    EXPECT_THROW(icc.restoreFactoryProfile(gone), ColorProfileError);

    auto studio = *find(state, false);
    fs::remove(directory / "studio.icc");
    try {
        icc.setDefaultProfile(studio, first);
        FAIL() << "expected an error";
    } catch (const ColorProfileError& error) {
        EXPECT_EQ(error, ColorProfileError::writeFailed("색상 프로파일을 적용하지 못했습니다."));
    }

    IccTestProfiles::write(directory / "studio.icc", studioBytes);
    defaults->setFailsWrites(true);
    EXPECT_THROW(icc.setDefaultProfile(studio, first), ColorProfileError);
    EXPECT_TRUE(atomBytes("_ICC_PROFILE").empty());
}

// The manager keeps its connection (and the outputs read through it) between
// calls: a monitor plugged into the output meanwhile must be what the next
// call names and publishes for, not the remembered empty connector.
TEST_F(IccColorProfileManagerTest, AMonitorChangedBetweenCallsIsReadAfresh) {
    auto icc = manager();
    auto second = display("DUMMY1");
    EXPECT_EQ(icc.profileState(second).displayUUID,
              IccColorProfileManager::deviceUUID({}, "DUMMY1"));

    testing::EdidBuilder monitor;
    monitor.name = "Studio 27";
    setEdid("DUMMY1", monitor.bytes());

    auto state = icc.profileState(second);
    EXPECT_EQ(state.displayUUID, IccColorProfileManager::deviceUUID(monitor.bytes(), "DUMMY1"));
    EXPECT_EQ(find(state, true)->name, "Studio 27");
    icc.restoreFactoryProfile(second);
    EXPECT_EQ(atomBytes("_ICC_PROFILE_1"),
              IccProfileLibrary::makeFactoryProfile(Edid::parse(monitor.bytes()), "Studio 27"));
}

}  // namespace
}  // namespace quorvane
