// The running application and another process sharing the records in the
// user's settings folder: what the command line saves reaches the store
// through the folder's change events and the window shows it, with no
// restart. Real files in a private $XDG_CONFIG_HOME; the only waits are on
// the event loop, bounded, for the events to arrive.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QByteArray>
#include <QFontDatabase>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "app/composition/linux_display_store_factory.hpp"
#include "app/shell/record_change_notifier.hpp"
#include "cli/quorvane_cli.hpp"
#include "models/presets/display_preset.hpp"
#include "services/display/cli_display_snapshot_provider.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/record_merge.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "support/temporary_folder.hpp"
#include "views/detail_form/detail_form_fixture.hpp"

namespace quorvane::testing {
namespace {

// Long enough for inotify under a loaded machine; the waits end as soon as
// what they wait for is there.
constexpr int kEventWaitMs = 10'000;

// A private $XDG_CONFIG_HOME for the test's life, so the application and the
// command line find their records where they would for a user. Built before
// the store and removed after it, so no late save outlives the folder.
class ConfigHome {
  public:
    ConfigHome()
        : previous_(qgetenv("XDG_CONFIG_HOME")),
          hadPrevious_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        // Fontconfig reads its user configuration under $XDG_CONFIG_HOME the
        // first time fonts are needed and leaks a parse buffer when that
        // folder has none; load the fonts with the real home first.
        QFontDatabase::families();
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home_.path().string()));
    }
    ~ConfigHome() {
        if (hadPrevious_)
            qputenv("XDG_CONFIG_HOME", previous_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    ConfigHome(const ConfigHome&) = delete;
    ConfigHome& operator=(const ConfigHome&) = delete;

  private:
    TemporaryFolder home_;
    QByteArray previous_;
    bool hadPrevious_;
};

struct RecordChangeNotifierTest : ConfigHome, DetailFormTest {
    RecordChangeNotifierTest() {
        // The records are written in the background, as the application
        // writes them; the folder does not exist until something writes.
        world.writer = LinuxDisplayStoreFactory::recordWriter(folder);
    }

    // `withoutFolder`: the folder is gone when the watching starts, as on
    // a first start whose first save has not landed yet.
    void startApplication(bool withoutFolder = false) {
        start();
        world.writer->flushPendingSaves();
        if (withoutFolder)
            std::filesystem::remove_all(folder);
        notifier = std::make_unique<RecordChangeNotifier>(folder, store());
        show(MainWindowSection::color);
    }

    // `quorvane cli` with these arguments through its own handle on the
    // folder, as the command-line process does: its save is a new file
    // renamed over the record under the folder's lock.
    std::int32_t cli(const std::vector<std::string>& arguments) {
        std::string ignored;
        auto files = std::make_shared<FileDefaultsStore>(FileDefaultsStore::standardLocation());
        QuorvaneCLI command(
            {std::make_shared<UserDefaultsPreferencesStore>(files),
             std::make_shared<CLIDisplaySnapshotProvider>(world.displayManager), world.brightness,
             world.gamma, [&](std::string_view text) { ignored += text; },
             [&](std::string_view text) { ignored += text; },
             [] { return std::optional<std::string>(); }, std::optional<std::string>(":7")});
        return command.run(arguments);
    }

    // Turns the event loop (and the store's own scheduler) until `shown`
    // holds, or the bound passes.
    bool soon(const std::function<bool()>& shown) {
        return QTest::qWaitFor(
            [&] {
                world.scheduler->runUntilIdle();
                return shown();
            },
            kEventWaitMs);
    }

    // What a screen reader hears of the colour row titled `title`.
    std::string shownValue(const char* title) const {
        QSlider* slider = sliderNamed(QString::fromUtf8(title));
        if (!slider)
            return "no such row";
        auto* accessible = QAccessible::queryAccessibleInterface(slider);
        return accessible ? accessible->text(QAccessible::Value).toStdString() : "no interface";
    }

    const std::filesystem::path folder = FileDefaultsStore::standardLocation();
    std::unique_ptr<RecordChangeNotifier> notifier;
};

TEST_F(RecordChangeNotifierTest, ACommandLineSaveReachesTheStoreAndTheSlidersWithoutARestart) {
    startApplication();
    EXPECT_EQ(shownValue("밝은 영역"), "1.00");

    const auto& night = DisplayPreset::builtIns()[2];
    ASSERT_EQ(night.id, "night");
    ASSERT_EQ(cli({"apply-safe-preset", "night", "--display", "1"}), 0);

    ASSERT_TRUE(soon([&] { return store().colorAdjustment(1) == night.adjustment; }))
        << "the store never took the command line's save";
    EXPECT_TRUE(soon([&] { return shownValue("밝은 영역") == "0.72"; })) << shownValue("밝은 영역");
    EXPECT_EQ(shownValue("어두운 영역"), "0.95");
    // The other display is left as it was.
    EXPECT_EQ(store().colorAdjustment(2), ColorAdjustment::neutral());
}

// The folder is made when watching starts, so the first record another
// process writes into it is seen as well.
TEST_F(RecordChangeNotifierTest, AFolderMissingWhenWatchingStartsIsMadeAndItsFirstRecordSeen) {
    startApplication(true);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    const auto& coding = DisplayPreset::builtIns()[1];
    ASSERT_EQ(cli({"apply-safe-preset", "coding", "--display", "2"}), 0);
    EXPECT_TRUE(soon([&] { return store().colorAdjustment(2) == coding.adjustment; }));
    EXPECT_EQ(store().colorAdjustment(1), ColorAdjustment::neutral());
}

// A request for the values the record holds writes the record's stamp
// alone, and that is heard as a write of the record. Here the record's file
// was changed in place by a writer that still holds it open, which nothing
// has told yet: only the stamp can.
TEST_F(RecordChangeNotifierTest, AWriteOfTheRecordsStampAloneIsHeardAsTheRecords) {
    startApplication();
    const auto& night = DisplayPreset::builtIns()[2];
    const auto key = UserDefaultsPreferencesStore::standardStorageKey();
    FileDefaultsStore files(folder);
    const auto text = files.read(key).data;
    auto preferences = text ? QuorvanePreferences::decoded(*text) : QuorvanePreferences::defaults();
    const auto identity = rawIdentity(store().displays().front());
    preferences.displayAdjustments[identity] = night.adjustment;
    const auto bytes = preferences.encoded();
    ASSERT_TRUE(bytes);
    const int held = ::open(files.pathForKey(key).c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::write(held, bytes->data(), bytes->size()), static_cast<ssize_t>(bytes->size()));

    TouchedRecordParts touched;
    touched.touch(RecordMerge::PreferencesPart::displayAdjustments, identity);
    EXPECT_TRUE(files.setDataTouching(key, *bytes, touched).succeeded());
    const DisplayID shownFirst = store().displays().front().id;
    EXPECT_TRUE(soon([&] { return store().colorAdjustment(shownFirst) == night.adjustment; }));
    ::close(held);
}

}  // namespace
}  // namespace quorvane::testing
