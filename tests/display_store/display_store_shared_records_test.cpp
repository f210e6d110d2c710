// The store sharing its records on the real file system with the command
// line and with copies made by hand: what either side saves stays saved, and
// the store shows the other side's values as soon as the folder tells of
// them. The folder's change events drive the store; the only waits are for
// the background writer's thread and for those events.

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <fstream>
#include <future>

#include "app/composition/linux_display_store_factory.hpp"
#include "cli/quorvane_cli.hpp"
#include "display_store/store_world.hpp"
#include "models/presets/display_preset.hpp"
#include "platform/linux/defaults_folder_watcher.hpp"
#include "platform/simulated/manual_boot_clock.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "services/display/cli_display_snapshot_provider.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"
#include "support/files_refusing_copies.hpp"
#include "support/mount_rights.hpp"
#include "support/other_lock_holder.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane::testing {
namespace {

constexpr auto kEventWait = std::chrono::seconds(10);

std::set<std::string> recordFiles() {
    std::set<std::string> names;
    for (const auto& [name, record] : LinuxDisplayStoreFactory::recordFileNames())
        names.insert(name);
    return names;
}

// The store as the application runs it, on records in a real folder, and the
// command line as another process runs it on the same folder.
class SharedRecordsTest : public ::testing::Test {
  protected:
    SharedRecordsTest() {
        world.connect(displays);
        QuorvanePreferences preferences;
        preferences.urlPresetAutomationEnabled = true;
        cliPreferences->save(preferences);
    }

    // Over `files` when given, else over a file store of its own; failed
    // writes are retried on the store's scheduler when `retries` is set.
    DisplayStore& startApplication(std::shared_ptr<FileDefaultsStore> files = nullptr,
                                   bool holdBackground = false, bool retries = false) {
        if (!files)
            files = std::make_shared<FileDefaultsStore>(folder.path());
        world.writer = LinuxDisplayStoreFactory::recordWriter(std::move(files),
                                                              retries ? world.scheduler : nullptr);
        if (holdBackground)
            world.startHoldingBackground();
        else
            world.start();
        watcher = std::make_unique<DefaultsFolderWatcher>(folder.path(), recordFiles());
        return *world.store;
    }

    void restartApplication() {
        world.writer->flushPendingSaves();
        watcher.reset();
        world.store.reset();
        world.writer.reset();
        startApplication();
    }

    // `quorvane cli` with these arguments, in this process but through its
    // own handle on the folder, as a second process would. Asked now, never
    // before a request the application made before it (the world's clock
    // may stand ahead of the real one), or at `askedAt`: a command that
    // waited for the lock since then.
    std::int32_t cli(const std::vector<std::string>& arguments,
                     std::optional<Date> askedAt = std::nullopt) {
        std::string ignored;
        QuorvaneCLI command(
            {cliPreferences, std::make_shared<CLIDisplaySnapshotProvider>(world.displayManager),
             world.brightness, world.gamma, [&](std::string_view text) { ignored += text; },
             [&](std::string_view text) { ignored += text; },
             [] { return std::optional<std::string>(); }, std::optional<std::string>(":7"),
             [this, askedAt] {
                 return askedAt.value_or(
                     std::max(std::chrono::system_clock::now(), world.scheduler->wallNow()));
             }});
        return command.run(arguments);
    }

    // Hands the folder's next change events to the store, as the
    // application's event loop does; false when none came.
    bool deliverChanges() {
        pollfd entry{watcher->descriptor(), POLLIN, 0};
        if (::poll(&entry, 1, static_cast<int>(kEventWait.count() * 1000)) <= 0)
            return false;
        const auto records = LinuxDisplayStoreFactory::recordFileNames();
        std::set<DisplayStoreRecord> changed;
        const auto changes = watcher->takeChanges();
        for (const auto* names : {&changes.written, &changes.removed})
            for (const auto& name : *names)
                changed.insert(records.at(name));
        world.store->reloadRecordsChangedOnDisk(changed);
        return true;
    }

    // Delivers events until the store shows `adjustment` for the display.
    bool showsSoon(DisplayID displayID, const ColorAdjustment& adjustment) {
        const auto shows = [&] {
            const auto& shown = world.store->colorAdjustments();
            const auto found = shown.find(identityOf(displayID));
            return found != shown.end() && found->second == adjustment;
        };
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (shows())
                return true;
            // A reload waiting for the store's own write looks again after
            // a moment of virtual time, once the writer is done.
            world.writer->flushPendingSaves();
            world.scheduler->advance(std::chrono::milliseconds(100));
            if (shows())
                return true;
            if (!deliverChanges())
                return false;
        }
        return false;
    }

    std::filesystem::path preferencesFile() const {
        return folder / FileDefaultsStore::fileNameForKey(
                            UserDefaultsPreferencesStore::standardStorageKey());
    }

    std::string preferencesBytes() const {
        std::ifstream file(preferencesFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    // A file store whose reads of the preferences record fail with EIO, as
    // on a failing disk or network home, while `failing` holds.
    std::shared_ptr<FileDefaultsStore> filesFailingPreferencesReads(
        std::shared_ptr<std::atomic<bool>> failing) const {
        auto files = std::make_shared<FileDefaultsStore>(folder.path());
        files->setReadCall([failing, record = preferencesFile()](const std::filesystem::path& file,
                                                                 int fd, void* buffer,
                                                                 std::size_t size) -> ssize_t {
            if (*failing && file == record) {
                errno = EIO;
                return -1;
            }
            return ::read(fd, buffer, size);
        });
        return files;
    }

    // The record as another process or an editor saves it, without the
    // lock: a new file renamed over it, or the file rewritten in place.
    void replaceRecord(const QuorvanePreferences& preferences, bool inPlace = false) {
        const auto bytes = *preferences.encoded();
        if (inPlace) {
            std::ofstream(preferencesFile(), std::ios::binary | std::ios::trunc) << bytes;
            return;
        }
        const auto written = folder / "edited.json";
        std::ofstream(written, std::ios::binary) << bytes;
        std::filesystem::rename(written, preferencesFile());
    }

    // What the simulated screen shows for `adjustment`.
    std::optional<TransferTables> tablesOf(const ColorAdjustment& adjustment) const {
        return world.gamma->makeTransferTables(adjustment);
    }

    // The record as the user left it: a preset of their own beside the
    // automation switch the fixture saved.
    QuorvanePreferences storeUsersOwnPreset() {
        auto stored = cliPreferences->loadResult().preferences;
        stored.customPresets.push_back(
            {"users-own", "내 프리셋", DisplayPreset::builtIns()[1].adjustment, ItemKind::custom});
        cliPreferences->save(stored);
        return stored;
    }

    static DisplayPreset presetNamed(std::string_view id) {
        for (const auto& preset : DisplayPreset::builtIns())
            if (preset.id == id)
                return preset;
        ADD_FAILURE() << "no preset " << id;
        return {};
    }

    std::string identityOf(DisplayID displayID) const {
        return rawIdentity(displays.at(displayID - 1));
    }

    QuorvanePreferences recordOnDisk() {
        world.writer->flushPendingSaves();
        return UserDefaultsPreferencesStore(std::make_shared<FileDefaultsStore>(folder.path()))
            .loadResult()
            .preferences;
    }

    const std::vector<DisplaySnapshot> displays = {externalDisplay(1, "Left", 11),
                                                   externalDisplay(2, "Middle", 22, 1920),
                                                   externalDisplay(3, "Right", 33, 3840)};
    TemporaryFolder folder;
    std::shared_ptr<UserDefaultsPreferencesStore> cliPreferences =
        std::make_shared<UserDefaultsPreferencesStore>(
            std::make_shared<FileDefaultsStore>(folder.path()));
    StoreWorld world;
    std::unique_ptr<DefaultsFolderWatcher> watcher;
};

// Every value either side wrote last stays: the command line's on the
// displays the application left alone, and the application's where its user
// set the left display again after the command line changed it, before the
// application had taken that change in (often with its own previous save
// still being written).
TEST_F(SharedRecordsTest, InterleavedRoundsOfCommandLineAndApplicationKeepTheLastValueOfEither) {
    constexpr int kRounds = 200;
    auto& store = startApplication();
    ASSERT_TRUE(watcher->watching());
    const auto presets = DisplayPreset::builtIns();
    std::map<std::string, ColorAdjustment> expected;

    for (int round = 0; round < kRounds; ++round) {
        // The command line on the middle or right display, and every third
        // round on the left one, the application's.
        const bool contested = round % 3 == 2;
        const DisplayID cliTarget = contested ? 1 : (round % 2 == 0 ? 2 : 3);
        const auto& cliPreset = presets[static_cast<std::size_t>(round) % presets.size()];
        const auto shownBefore = store.colorAdjustments();
        ASSERT_EQ(cli({"apply-safe-preset", cliPreset.id, "--display", std::to_string(cliTarget)}),
                  0);
        expected[identityOf(cliTarget)] = cliPreset.adjustment;

        if (contested) {
            // The user sets the left display's brightness to what the
            // application shows, which is what it last read.
            const auto mine = shownBefore.at(identityOf(1));
            store.updateColorAdjustment(1, &ColorAdjustment::softwareBrightness,
                                        mine.softwareBrightness);
            ASSERT_EQ(store.colorAdjustments().at(identityOf(1)), mine) << "round " << round;
            expected[identityOf(1)] = mine;
            continue;
        }
        ASSERT_TRUE(showsSoon(cliTarget, cliPreset.adjustment)) << "round " << round;

        // The application on the left display: a slider, or a preset handed
        // over by URL. Its save is often still being written when the
        // command line's next save comes.
        if (round % 2 == 0) {
            const double value = 0.5 + 0.001 * round;
            store.updateColorAdjustment(1, &ColorAdjustment::softwareBrightness, value);
            expected[identityOf(1)] = store.colorAdjustments().at(identityOf(1));
            ASSERT_DOUBLE_EQ(expected[identityOf(1)].softwareBrightness, value);
        } else {
            const auto& urlPreset = presets[static_cast<std::size_t>(round + 2) % presets.size()];
            ASSERT_TRUE(store.handleAutomationURL(
                "quorvane://apply-safe-preset?preset=" + urlPreset.id + "&display=1"))
                << store.statusMessage();
            expected[identityOf(1)] = urlPreset.adjustment;
        }
        if (round % 5 == 0)
            world.writer->flushPendingSaves();
    }

    EXPECT_EQ(recordOnDisk().displayAdjustments, expected);
    EXPECT_TRUE(showsSoon(1, expected.at(identityOf(1))));
    EXPECT_EQ(store.colorAdjustments(), expected);
    restartApplication();
    EXPECT_EQ(world.store->colorAdjustments(), expected);
}

TEST_F(SharedRecordsTest, AHandCopiedRecordWithANewPresetShowsUpAndLaterSavesKeepIt) {
    auto& store = startApplication();
    auto copied = recordOnDisk();
    copied.customPresets.push_back({"hand-made", "손으로 만든 프리셋",
                                    DisplayPreset::builtIns()[1].adjustment, ItemKind::custom});
    copied.textSize = QuorvaneTextSize::veryLarge;
    {
        // Written in place, the way cp replaces a file's contents.
        std::ofstream file(folder / FileDefaultsStore::fileNameForKey(
                                        UserDefaultsPreferencesStore::standardStorageKey()),
                           std::ios::trunc);
        file << *copied.encoded();
    }
    int announced = 0;
    store.addChangeObserver([&] { ++announced; });
    ASSERT_TRUE(deliverChanges());
    ASSERT_EQ(store.customPresets().size(), 1u);
    EXPECT_EQ(store.customPresets()[0].name, "손으로 만든 프리셋");
    EXPECT_EQ(store.textSize(), QuorvaneTextSize::veryLarge);
    EXPECT_GE(announced, 1);

    // The store's own save comes back as a change of the folder, and reads
    // as nothing new.
    store.setAppearance(QuorvaneAppearance::dark);
    world.writer->flushPendingSaves();
    announced = 0;
    ASSERT_TRUE(deliverChanges());
    EXPECT_EQ(announced, 0);

    const auto saved = recordOnDisk();
    EXPECT_EQ(saved.customPresets, copied.customPresets);
    EXPECT_EQ(saved.textSize, QuorvaneTextSize::veryLarge);
    EXPECT_EQ(saved.appearance, QuorvaneAppearance::dark);
}

TEST_F(SharedRecordsTest, AReloadWhileTheStoresSaveIsBeingWrittenWaitsForTheMergedRecord) {
    auto& store = startApplication();
    std::promise<void> release;
    auto released = release.get_future().share();
    std::atomic<bool> holding = false;
    world.writer->setBeforeWriteHook([&](const std::string&, const std::string&) {
        if (!holding.exchange(false))
            return;
        released.wait();
    });

    holding = true;
    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.4);
    // The command line saves while the store's save waits to be written.
    const auto night = DisplayPreset::builtIns()[2];
    ASSERT_EQ(cli({"apply-safe-preset", night.id, "--display", "2"}), 0);
    ASSERT_TRUE(deliverChanges());
    EXPECT_FALSE(store.colorAdjustments().contains(identityOf(2)));

    release.set_value();
    // The hook holds this test's locals: none may reach it once they are gone.
    world.writer->setBeforeWriteHook(nullptr);
    EXPECT_TRUE(showsSoon(2, night.adjustment));
    EXPECT_DOUBLE_EQ(store.colorAdjustments().at(identityOf(1)).warmth, 0.4);
    const auto saved = recordOnDisk();
    EXPECT_EQ(saved.displayAdjustments.at(identityOf(2)), night.adjustment);
    EXPECT_DOUBLE_EQ(saved.displayAdjustments.at(identityOf(1)).warmth, 0.4);
}

// The command line applies "movie" to a display whose "coding" the
// application last read; then the user hands "coding" to the application
// again while its previous save is still being written (so the reload of
// the command line's change waits). The user's later action is what the
// record keeps, as the screen shows it.
TEST_F(SharedRecordsTest, AUserActionEqualToTheValueLastReadWinsOverTheEarlierCommandLine) {
    auto& store = startApplication();
    const auto coding = presetNamed("coding");
    const std::string url = "quorvane://apply-safe-preset?preset=coding&display=1";
    // The same request in other words, so it is not taken for a repeat.
    const std::string again = "quorvane://apply-safe-preset?display=1&preset=coding";
    ASSERT_TRUE(store.handleAutomationURL(url)) << store.statusMessage();
    world.writer->flushPendingSaves();
    ASSERT_EQ(cli({"apply-safe-preset", "movie", "--display", "1"}), 0);

    std::promise<void> release;
    auto released = release.get_future().share();
    std::atomic<bool> holding = true;
    world.writer->setBeforeWriteHook([&](const std::string&, const std::string&) {
        if (holding.exchange(false))
            released.wait();
    });
    store.updateColorAdjustment(2, &ColorAdjustment::warmth, 0.4);
    ASSERT_TRUE(deliverChanges());
    ASSERT_TRUE(store.handleAutomationURL(again)) << store.statusMessage();
    release.set_value();
    // The hook holds this test's locals: none may reach it once they are gone.
    world.writer->setBeforeWriteHook(nullptr);

    const auto saved = recordOnDisk();
    EXPECT_EQ(saved.displayAdjustments.at(identityOf(1)), coding.adjustment);
    EXPECT_DOUBLE_EQ(saved.displayAdjustments.at(identityOf(2)).warmth, 0.4);
    EXPECT_TRUE(showsSoon(1, coding.adjustment));
    restartApplication();
    EXPECT_EQ(world.store->colorAdjustments().at(identityOf(1)), coding.adjustment);
}

// A command line asks for "movie" and waits; the user hands "night" to the
// application, whose save a full disk holds. The command line saves once
// there is room, knowing of no later request, and puts "movie" on the
// screen; taking its save in (the held change laid on it), the application
// puts its later colour back, and its retry writes it to the record.
TEST_F(SharedRecordsTest, AChangeHeldByAFullDiskReturnsToTheScreenAfterAnEarlierCommandLine) {
    auto full = std::make_shared<std::atomic<bool>>(false);
    world.scheduler->setWallNow(std::chrono::system_clock::now() - std::chrono::minutes(1));
    auto& store = startApplication(filesOnAFullDisk(folder.path(), full), false, true);
    const Date commandAsked = world.scheduler->wallNow();
    world.scheduler->advance(std::chrono::seconds(1));
    full->store(true);
    ASSERT_TRUE(store.handleAutomationURL("quorvane://apply-safe-preset?preset=night&display=1"));
    ASSERT_TRUE(world.writer->waitForPendingWrites(kEventWait));
    world.scheduler->runUntilIdle();

    full->store(false);
    ASSERT_EQ(cli({"apply-safe-preset", "movie", "--display", "1"}, commandAsked), 0);
    ASSERT_TRUE(deliverChanges());
    const auto night = presetNamed("night").adjustment;
    EXPECT_EQ(world.gamma->tables(1), tablesOf(night));
    world.scheduler->advance(BackgroundDefaultsWriter::kLongestRetryDelay);
    ASSERT_TRUE(world.writer->waitForPendingWrites(kEventWait));
    EXPECT_EQ(recordOnDisk().displayAdjustments.at(identityOf(1)), night);
}

// The same with a record that is a link to a file elsewhere, whose changes
// the folder's watch never reports: the application never took the command
// line's value in, and its user's later action still wins.
TEST_F(SharedRecordsTest, AUserActionOnALinkedRecordWinsOverTheEarlierCommandLine) {
    // A folder of its own, which the watch of the settings folder does not
    // reach into.
    const auto elsewhere = folder / "elsewhere";
    std::filesystem::create_directory(elsewhere);
    const auto target = elsewhere / preferencesFile().filename();
    std::filesystem::rename(preferencesFile(), target);
    std::filesystem::create_symlink(target, preferencesFile());
    auto& store = startApplication();
    const std::string url = "quorvane://apply-safe-preset?preset=coding&display=1";
    // The same request in other words, so it is not taken for a repeat.
    const std::string again = "quorvane://apply-safe-preset?display=1&preset=coding";
    ASSERT_TRUE(store.handleAutomationURL(url)) << store.statusMessage();
    world.writer->flushPendingSaves();
    ASSERT_EQ(cli({"apply-safe-preset", "movie", "--display", "1"}), 0);
    ASSERT_EQ(cli({"apply-safe-preset", "night", "--display", "2"}), 0);

    ASSERT_TRUE(store.handleAutomationURL(again)) << store.statusMessage();
    const auto saved = recordOnDisk();
    EXPECT_EQ(saved.displayAdjustments.at(identityOf(1)), presetNamed("coding").adjustment);
    EXPECT_EQ(saved.displayAdjustments.at(identityOf(2)), presetNamed("night").adjustment);
    EXPECT_TRUE(std::filesystem::is_symlink(preferencesFile()));
}

// "night" by URL, "movie" by the command line on the same display, then the
// same URL again at once: before the folder has told the store of the
// command line's save, and within the window in which a copy of a URL is
// dropped. It is the user's later word, carried out on the screen and in
// the record every round.
TEST_F(SharedRecordsTest, TheSameURLRightAfterTheCommandLinesChangeIsCarriedOut) {
    auto& store = startApplication();
    const auto night = presetNamed("night");
    const std::string url = "quorvane://apply-safe-preset?preset=night&display=1";
    for (int round = 0; round < 5; ++round) {
        ASSERT_TRUE(store.handleAutomationURL(url)) << store.statusMessage();
        world.writer->flushPendingSaves();
        ASSERT_EQ(cli({"apply-safe-preset", "movie", "--display", "1"}), 0);
        // No virtual time passes: the window is open.
        EXPECT_TRUE(store.handleAutomationURL(url)) << "round " << round;
        EXPECT_EQ(store.colorAdjustments().at(identityOf(1)), night.adjustment);
        EXPECT_EQ(world.gamma->tables(1), world.gamma->makeTransferTables(night.adjustment));
        EXPECT_EQ(recordOnDisk().displayAdjustments.at(identityOf(1)), night.adjustment)
            << "round " << round;
        world.scheduler->advance(std::chrono::seconds(1));
    }
}

// The same once the folder has told the store: the change taken in makes
// the next copy of the URL a new request too.
TEST_F(SharedRecordsTest, TheSameURLAfterTheCommandLinesChangeWasTakenInIsCarriedOut) {
    auto& store = startApplication();
    const auto night = presetNamed("night");
    const std::string url = "quorvane://apply-safe-preset?preset=night&display=1";
    ASSERT_TRUE(store.handleAutomationURL(url)) << store.statusMessage();
    world.writer->flushPendingSaves();
    ASSERT_EQ(cli({"apply-safe-preset", "movie", "--display", "1"}), 0);
    ASSERT_TRUE(showsSoon(1, presetNamed("movie").adjustment));

    EXPECT_TRUE(store.handleAutomationURL(url)) << store.statusMessage();
    EXPECT_EQ(world.gamma->tables(1), world.gamma->makeTransferTables(night.adjustment));
    EXPECT_EQ(recordOnDisk().displayAdjustments.at(identityOf(1)), night.adjustment);
}

// A copy of a URL with nothing changed since is still dropped, also while
// the store's own save is still being written; a change of another
// display's value elsewhere, told or not yet read back, makes the next copy
// a request again.
TEST_F(SharedRecordsTest, ACopyOfAURLIsDroppedOnlyWhileTheRecordIsKnownUnchanged) {
    auto& store = startApplication();
    const std::string url = "quorvane://apply-safe-preset?preset=night&display=1";
    ASSERT_TRUE(store.handleAutomationURL(url)) << store.statusMessage();
    world.writer->flushPendingSaves();
    const int writes = world.gamma->writeCount();
    EXPECT_FALSE(store.handleAutomationURL(url));
    EXPECT_EQ(store.statusMessage(), "중복 자동화 URL을 무시했습니다");
    EXPECT_EQ(world.gamma->writeCount(), writes);

    ASSERT_EQ(cli({"apply-safe-preset", "movie", "--display", "2"}), 0);
    EXPECT_TRUE(store.handleAutomationURL(url)) << store.statusMessage();
    EXPECT_EQ(store.colorAdjustments().at(identityOf(2)), presetNamed("movie").adjustment);
    // Its save is written before the hook goes in, so the one held below is
    // the next: one already on its way would pass the hook, and landing after
    // the command line's save below it would merge that save into its own.
    world.writer->flushPendingSaves();

    std::promise<void> release;
    auto released = release.get_future().share();
    world.writer->setBeforeWriteHook(
        [&](const std::string&, const std::string&) { released.wait(); });
    store.updateColorAdjustment(3, &ColorAdjustment::warmth, 0.4);
    ASSERT_TRUE(world.writer->hasUnwrittenValues());
    const int writesBeforeCopy = world.gamma->writeCount();
    EXPECT_FALSE(store.handleAutomationURL(url));
    EXPECT_EQ(store.statusMessage(), "중복 자동화 URL을 무시했습니다");
    EXPECT_EQ(world.gamma->writeCount(), writesBeforeCopy);
    ASSERT_EQ(cli({"apply-safe-preset", "night", "--display", "2"}), 0);
    ASSERT_TRUE(world.writer->hasUnwrittenValues());
    EXPECT_TRUE(store.handleAutomationURL(url)) << store.statusMessage();
    release.set_value();
    world.writer->flushPendingSaves();
    world.writer->setBeforeWriteHook(nullptr);
    const auto saved = recordOnDisk();
    EXPECT_EQ(saved.displayAdjustments.at(identityOf(1)), presetNamed("night").adjustment);
    EXPECT_EQ(saved.displayAdjustments.at(identityOf(2)), presetNamed("night").adjustment);
    EXPECT_DOUBLE_EQ(saved.displayAdjustments.at(identityOf(3)).warmth, 0.4);
}

TEST_F(SharedRecordsTest, JournalEntriesOfBothSidesAreKept) {
    auto boot = std::make_shared<ManualBootClock>();
    world.requestClock = std::make_shared<RequestClock>(world.scheduler, boot);
    auto& store = startApplication();
    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.2);
    world.writer->flushPendingSaves();
    ASSERT_EQ(store.recoveryJournal().entries.size(), 1u);
    const auto ours = store.recoveryJournal().entries.front();
    ASSERT_TRUE(ours.requested);

    // Another application instance (a second X display) records a change a
    // second later, after the clock was set back an hour.
    auto journal =
        UserDefaultsRecoveryJournalStore(std::make_shared<FileDefaultsStore>(folder.path()))
            .loadResult()
            .journal;
    QuorvaneRecoveryJournalEntry theirs = ours;
    theirs.id = "00000000-0000-4000-8000-000000000001";
    theirs.summary = "다른 곳에서 바꿈";
    theirs.createdAt -= std::chrono::hours(1);
    theirs.requested->askedAt += std::chrono::seconds(1);
    journal.append(theirs);
    UserDefaultsRecoveryJournalStore(std::make_shared<FileDefaultsStore>(folder.path()))
        .save(journal);
    ASSERT_TRUE(deliverChanges());
    ASSERT_EQ(store.recoveryJournal().entries.size(), 2u);
    EXPECT_EQ(store.recoveryJournal().entries.front().id, theirs.id);

    boot->advance(std::chrono::seconds(2));
    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.3);
    world.writer->flushPendingSaves();
    const auto saved =
        UserDefaultsRecoveryJournalStore(std::make_shared<FileDefaultsStore>(folder.path()))
            .loadResult()
            .journal;
    ASSERT_EQ(saved.entries.size(), 3u);
    EXPECT_EQ(saved.entries[1].id, theirs.id);
    EXPECT_EQ(saved.entries[2].id, ours.id);
}

// The journal file turns unreadable while the application runs (a failing
// disk): the change event that follows keeps the entries the store shows,
// and once the file reads again the next change adds to them.
TEST_F(SharedRecordsTest, AJournalThatTurnsUnreadableKeepsTheEntriesShown) {
    const auto journalFile = folder / FileDefaultsStore::fileNameForKey(
                                          UserDefaultsRecoveryJournalStore::standardStorageKey());
    auto failing = std::make_shared<std::atomic<bool>>(false);
    auto files = std::make_shared<FileDefaultsStore>(folder.path());
    files->setReadCall([failing, journalFile](const std::filesystem::path& file, int fd,
                                              void* buffer, std::size_t size) -> ssize_t {
        if (*failing && file == journalFile) {
            errno = EIO;
            return -1;
        }
        return ::read(fd, buffer, size);
    });
    auto& store = startApplication(files);
    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.2);
    world.writer->flushPendingSaves();
    ASSERT_EQ(store.recoveryJournal().entries.size(), 1u);

    failing->store(true);
    store.reloadRecordsChangedOnDisk({DisplayStoreRecord::recoveryJournal});
    EXPECT_EQ(store.recoveryJournal().entries.size(), 1u);

    failing->store(false);
    store.reloadRecordsChangedOnDisk({DisplayStoreRecord::recoveryJournal});
    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.3);
    world.writer->flushPendingSaves();
    EXPECT_EQ(store.recoveryJournal().entries.size(), 2u);
    EXPECT_EQ(UserDefaultsRecoveryJournalStore(std::make_shared<FileDefaultsStore>(folder.path()))
                  .loadResult()
                  .journal.entries.size(),
              2u);
}

// A read error on the preferences record at start: the application keeps the
// defaults in memory and writes nothing over the record, whatever it changes
// and at quit, until the record reads again. The next change after that puts
// this run's changes on top of what the record holds.
TEST_F(SharedRecordsTest, ARecordThatFailsToReadIsNotWrittenOverAndTakesTheRunsChangesLater) {
    const auto stored = storeUsersOwnPreset();
    const auto bytes = preferencesBytes();
    auto failing = std::make_shared<std::atomic<bool>>(true);
    auto& store = startApplication(filesFailingPreferencesReads(failing));
    EXPECT_NE(store.statusMessage().find("이 파일은 덮어쓰지 않습니다"), std::string::npos);
    EXPECT_TRUE(store.customPresets().empty());

    store.setTextSize(QuorvaneTextSize::veryLarge);
    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.3);
    store.saveCustomPreset("이번 실행", 1);
    world.writer->flushPendingSaves();
    world.scheduler->runUntilIdle();
    EXPECT_EQ(preferencesBytes(), bytes);

    failing->store(false);
    store.setAppearance(QuorvaneAppearance::dark);
    const auto saved = recordOnDisk();
    std::set<std::string> names;
    for (const auto& preset : saved.customPresets)
        names.insert(preset.name);
    EXPECT_EQ(names, (std::set<std::string>{"내 프리셋", "이번 실행"}));
    EXPECT_TRUE(saved.urlPresetAutomationEnabled);
    EXPECT_EQ(saved.textSize, QuorvaneTextSize::veryLarge);
    EXPECT_EQ(saved.appearance, QuorvaneAppearance::dark);
    ASSERT_TRUE(saved.displayAdjustments.contains(identityOf(1)));
    EXPECT_DOUBLE_EQ(saved.displayAdjustments.at(identityOf(1)).warmth, 0.3);
    EXPECT_EQ(store.customPresets().size(), 2u);
    EXPECT_EQ(stored.customPresets.size(), 1u);
}

// The record turns unreadable while the application runs (a failing disk)
// after the command line saved it: the application's save writes nothing,
// says why and holds the change; once the record reads, the retry writes
// both sides' values and the failure leaves the status.
TEST_F(SharedRecordsTest, ARecordThatStartsFailingToReadIsNotWrittenOver) {
    auto failing = std::make_shared<std::atomic<bool>>(false);
    auto& store = startApplication(filesFailingPreferencesReads(failing));
    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.2);
    world.writer->flushPendingSaves();

    failing->store(true);
    const auto night = presetNamed("night");
    ASSERT_EQ(cli({"apply-safe-preset", night.id, "--display", "2"}), 0);
    const auto bytes = preferencesBytes();
    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.3);
    const auto applied = store.statusMessage();
    EXPECT_EQ(world.writer->flushPendingSaves().size(), 1u);
    world.scheduler->runUntilIdle();
    EXPECT_EQ(preferencesBytes(), bytes);
    EXPECT_NE(store.statusMessage().find("이 파일은 덮어쓰지 않습니다"), std::string::npos);

    failing->store(false);
    const auto saved = recordOnDisk();
    world.scheduler->runUntilIdle();
    EXPECT_EQ(saved.displayAdjustments.at(identityOf(2)), night.adjustment);
    EXPECT_DOUBLE_EQ(saved.displayAdjustments.at(identityOf(1)).warmth, 0.3);
    EXPECT_EQ(store.statusMessage(), applied);
}

// Another tool breaks the record while the application runs, and the disk
// has no room for its copy: the user's next change is not dropped. It is
// held, and the status names why while it waits, also after the output step
// says its word; the way out would name it; once there is room, the back-off
// keeps the broken record aside and writes the change, and the status names
// the copy.
TEST_F(SharedRecordsTest, AChangeWhoseBrokenRecordFindsNoRoomForItsCopyIsHeldUntilThereIs) {
    auto stored = cliPreferences->loadResult().preferences;
    stored.displayAdjustments[identityOf(1)] = presetNamed("night").adjustment;
    cliPreferences->save(stored);
    auto full = std::make_shared<std::atomic<bool>>(true);
    auto& store = startApplication(filesRefusingCopies(folder.path(), full), true, true);
    world.writer->flushPendingSaves();
    const std::string broken = R"({"displayAdjustments":{)";
    writeContents(preferencesFile(), broken);
    ASSERT_TRUE(deliverChanges());

    store.setTextSize(QuorvaneTextSize::veryLarge);
    ASSERT_EQ(world.writer->flushPendingSaves().size(), 1u);
    world.scheduler->runUntilIdle();
    const std::string noRoom = "저장 공간이 부족해 설정을 저장하지 못했습니다";
    EXPECT_NE(store.statusMessage().find(noRoom), std::string::npos) << store.statusMessage();
    world.finishBackground();
    EXPECT_NE(store.statusMessage().find(noRoom), std::string::npos) << store.statusMessage();
    EXPECT_EQ(preferencesBytes(), broken);
    const auto unwritten = store.flushPendingSaves();
    ASSERT_EQ(unwritten.size(), 1u);
    EXPECT_EQ(unwritten[0].key, UserDefaultsPreferencesStore::standardStorageKey());

    full->store(false);
    world.scheduler->advance(BackgroundDefaultsWriter::kLongestRetryDelay);
    EXPECT_EQ(recordOnDisk().textSize, QuorvaneTextSize::veryLarge);
    EXPECT_EQ(folder.copiesKeptAside(UserDefaultsPreferencesStore::standardStorageKey()),
              std::vector<std::string>{broken});
    world.scheduler->runUntilIdle();
    EXPECT_NE(store.statusMessage().find("읽지 못한 기록은 따로 보관했습니다"), std::string::npos)
        << store.statusMessage();
    EXPECT_TRUE(store.flushPendingSaves().empty());
}

// The record that could not be read changes on disk (the command line saves
// it) once it reads: the reload shows it with this run's changes on top, and
// the next save writes both.
TEST_F(SharedRecordsTest, ARecordThatFailedToReadIsReadAgainWhenItChanges) {
    auto stored = storeUsersOwnPreset();
    const auto bytes = preferencesBytes();
    auto failing = std::make_shared<std::atomic<bool>>(true);
    auto& store = startApplication(filesFailingPreferencesReads(failing));
    store.setTextSize(QuorvaneTextSize::veryLarge);
    world.writer->flushPendingSaves();
    EXPECT_EQ(preferencesBytes(), bytes);

    failing->store(false);
    stored.appearance = QuorvaneAppearance::dark;
    cliPreferences->save(stored);
    ASSERT_TRUE(deliverChanges());
    ASSERT_EQ(store.customPresets().size(), 1u);
    EXPECT_EQ(store.customPresets()[0].name, "내 프리셋");
    EXPECT_EQ(store.appearance(), QuorvaneAppearance::dark);
    EXPECT_EQ(store.textSize(), QuorvaneTextSize::veryLarge);

    store.setAutoApplyEnabled(false);
    const auto saved = recordOnDisk();
    EXPECT_EQ(saved.customPresets, stored.customPresets);
    EXPECT_EQ(saved.appearance, QuorvaneAppearance::dark);
    EXPECT_EQ(saved.textSize, QuorvaneTextSize::veryLarge);
    EXPECT_FALSE(saved.autoApplyEnabled);
}

// A URL's change held by a full disk, then the command line applies another
// preset to the same display once there is room: the command line asked
// later, so its value stays in the record and on the screen, the held
// change is dropped (nothing retried, nothing named at the end) and the
// next start shows the command line's value.
TEST_F(SharedRecordsTest, ACommandLineAfterAChangeHeldByAFullDiskWins) {
    auto full = std::make_shared<std::atomic<bool>>(false);
    auto& store = startApplication(filesOnAFullDisk(folder.path(), full), false, true);
    // The user's request comes a minute before the command line's write.
    world.scheduler->setWallNow(std::chrono::system_clock::now() - std::chrono::minutes(1));
    full->store(true);
    ASSERT_TRUE(store.handleAutomationURL("quorvane://apply-safe-preset?preset=night&display=1"));
    ASSERT_TRUE(world.writer->waitForPendingWrites(kEventWait));
    world.scheduler->runUntilIdle();
    ASSERT_NE(store.statusMessage().find("저장 공간이 부족"), std::string::npos);

    full->store(false);
    const auto movie = presetNamed("movie").adjustment;
    ASSERT_EQ(cli({"apply-safe-preset", "movie", "--display", "1"}), 0);
    // Taken in before any retry: the windows and the screen follow at once.
    ASSERT_TRUE(deliverChanges());
    EXPECT_EQ(store.colorAdjustments().at(identityOf(1)), movie);
    EXPECT_EQ(world.gamma->tables(1), tablesOf(movie));
    // The URL's journal entry is still the user's and is written by the
    // retry; then nothing is left to name.
    world.scheduler->advance(BackgroundDefaultsWriter::kLongestRetryDelay);
    ASSERT_TRUE(world.writer->waitForPendingWrites(kEventWait));
    world.scheduler->runUntilIdle();
    EXPECT_EQ(store.statusMessage().find("저장 공간이 부족"), std::string::npos)
        << store.statusMessage();
    EXPECT_TRUE(store.flushPendingSaves().empty());
    EXPECT_EQ(recordOnDisk().displayAdjustments.at(identityOf(1)), movie);
    EXPECT_EQ(world.gamma->tables(1), tablesOf(movie));

    restartApplication();
    EXPECT_EQ(world.store->colorAdjustments().at(identityOf(1)), movie);
    EXPECT_EQ(world.gamma->tables(1), tablesOf(movie));
}

// A change whose save finds the settings lock neither to be taken nor to be
// replaced (a folder something is mounted on) is held, not saved without
// the lock: the status says why, and the retry saves it once the lock can
// be taken.
TEST_F(SharedRecordsTest, AChangeALockThatCannotBeTakenRefusesIsHeldToldAndSavedLater) {
    const auto lockFile = folder.path() / FileDefaultsStore::kLockFileName;
    std::filesystem::remove(lockFile);
    std::filesystem::create_directories(lockFile);
    if (const auto refused = MountRights::mountTmpfs(lockFile, "64k"))
        GTEST_SKIP() << "no file system can be mounted here: " << *refused;
    struct Unmount {
        std::filesystem::path path;
        ~Unmount() { MountRights::unmount(path); }
    };
    auto mounted = std::make_optional<Unmount>(lockFile);
    // Mounted before the store's threads start: a user's mount needs a
    // namespace of its own, which only a process of one thread may enter.
    auto& store = startApplication(nullptr, false, true);
    const auto before = preferencesBytes();

    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.4);
    ASSERT_TRUE(world.writer->waitForPendingWrites(kEventWait));
    world.scheduler->runUntilIdle();
    EXPECT_NE(store.statusMessage().find("설정 잠금 파일을 잠글 수도 새 파일로 바꿀 수도 없어"),
              std::string::npos)
        << store.statusMessage();
    EXPECT_EQ(preferencesBytes(), before);

    mounted.reset();
    world.scheduler->advance(BackgroundDefaultsWriter::kFirstRetryDelay);
    ASSERT_TRUE(world.writer->waitForPendingWrites(kEventWait));
    world.scheduler->runUntilIdle();
    EXPECT_EQ(store.statusMessage().find("설정 잠금"), std::string::npos) << store.statusMessage();
    EXPECT_EQ(recordOnDisk().displayAdjustments.at(identityOf(1)).warmth, 0.4);
}

// A lock that cannot be used at all (here a file system that tells the lock
// file's number differently at every look) has no holder to let go: a
// record changed elsewhere is read without it at once, not after the wait
// for a held lock.
TEST_F(SharedRecordsTest, ARecordChangedElsewhereIsTakenInAtOnceWhenTheLockCannotBeUsedAtAll) {
    auto files = std::make_shared<FileDefaultsStore>(folder.path());
    files->setLockFileNumberCall([looks = std::make_shared<std::atomic<ino_t>>(0)](ino_t told) {
        return told + (*looks)++;
    });
    auto& store = startApplication(files);

    ASSERT_EQ(cli({"apply-safe-preset", "movie", "--display", "1"}), 0);
    // The command's stamp and record may be heard apart; no time passes.
    const auto movie = presetNamed("movie").adjustment;
    const auto shown = [&] {
        const auto found = store.colorAdjustments().find(identityOf(1));
        return found != store.colorAdjustments().end() && found->second == movie;
    };
    for (int heard = 0; heard < 4 && !shown() && deliverChanges(); ++heard) {
    }
    EXPECT_TRUE(shown());
    EXPECT_EQ(world.gamma->tables(1), tablesOf(movie));
}

// The start-up's colours are the record's as it stands when they are
// written, not as the store first read it, and never land while another
// process holds the lock between its screen write and its save: the last
// word on the screen is that process's.
TEST_F(SharedRecordsTest, TheStartUpsColoursComeFromTheRecordAndWaitForAProcessMidWrite) {
    auto stored = cliPreferences->loadResult().preferences;
    stored.displayAdjustments[identityOf(1)] = presetNamed("coding").adjustment;
    cliPreferences->save(stored);
    auto& store = startApplication(nullptr, true);
    // Saved while the start-up read the displays, not yet taken in.
    ASSERT_EQ(cli({"apply-safe-preset", "movie", "--display", "1"}), 0);
    // Another process mid-way: lock held, its colour on the screen, its
    // record not yet written.
    world.writer->flushPendingSaves();
    auto holder = std::make_unique<OtherLockHolder>(folder / ".lock");
    ASSERT_TRUE(holder->held());
    const auto night = presetNamed("night").adjustment;
    world.gamma->apply(night, 1);
    const int writes = world.gamma->writeCount();
    world.finishBackground();
    EXPECT_EQ(world.gamma->writeCount(), writes);

    stored.displayAdjustments[identityOf(1)] = night;
    replaceRecord(stored);
    holder.reset();
    world.scheduler->advance(std::chrono::milliseconds(100));
    EXPECT_EQ(world.gamma->tables(1), tablesOf(night));
    EXPECT_EQ(store.colorAdjustments().at(identityOf(1)), night);
}

// A take-in that waited out a stopped holder of the lock read without it;
// the next process to hold the lock, between its screen write and its save,
// is waited for afresh: what the store heard meanwhile (an editor's earlier
// change) never lands on the screen after that process's colour.
TEST_F(SharedRecordsTest, AfterAWaitOutlivedItsHolderTheNextProcessMidWriteIsWaitedForAgain) {
    auto stored = cliPreferences->loadResult().preferences;
    const auto coding = presetNamed("coding").adjustment;
    stored.displayAdjustments[identityOf(1)] = coding;
    cliPreferences->save(stored);
    auto& store = startApplication(nullptr, true);
    world.writer->flushPendingSaves();
    auto stopped = std::make_unique<OtherLockHolder>(folder / ".lock");
    ASSERT_TRUE(stopped->held());
    world.finishBackground();
    const auto waited = FileDefaultsStore::kSharedLockWait + std::chrono::milliseconds(100);
    for (auto elapsed = Duration::zero(); elapsed < waited;
         elapsed += std::chrono::milliseconds(100))
        world.scheduler->advance(std::chrono::milliseconds(100));
    ASSERT_EQ(world.gamma->tables(1), tablesOf(coding));
    stopped.reset();

    stored.displayAdjustments[identityOf(1)] = presetNamed("movie").adjustment;
    replaceRecord(stored);
    // Another process mid-way: lock held, its colour on the screen.
    auto holder = std::make_unique<OtherLockHolder>(folder / ".lock");
    ASSERT_TRUE(holder->held());
    const auto night = presetNamed("night").adjustment;
    world.gamma->apply(night, 1);
    const int writes = world.gamma->writeCount();
    ASSERT_TRUE(deliverChanges());
    world.scheduler->advance(std::chrono::milliseconds(100));
    EXPECT_EQ(world.gamma->writeCount(), writes);
    EXPECT_EQ(world.gamma->tables(1), tablesOf(night));

    stored.displayAdjustments[identityOf(1)] = night;
    replaceRecord(stored);
    holder.reset();
    world.scheduler->advance(std::chrono::milliseconds(100));
    EXPECT_EQ(world.gamma->tables(1), tablesOf(night));
    EXPECT_EQ(store.colorAdjustments().at(identityOf(1)), night);
}

// A take-in that found the lock busy and then waited for the store's own
// save (itself waiting for that lock) has not looked at the lock meanwhile:
// a process holding it once the save gave up may have only begun, and is
// waited for in full before the store writes a screen.
TEST_F(SharedRecordsTest, AWaitSpentOnTheStoresOwnSaveCountsNothingAgainstTheNextHolder) {
    auto files = std::make_shared<FileDefaultsStore>(folder.path());
    auto lockClock = std::make_shared<ManualScheduler>();
    files->limitLockWait(FileDefaultsStore::kSharedLockWait, lockClock, lockClock);
    auto& store = startApplication(files, true);
    world.writer->flushPendingSaves();
    auto stopped = std::make_unique<OtherLockHolder>(folder / ".lock");
    ASSERT_TRUE(stopped->held());
    world.finishBackground();
    // The user's change waits in its write while time passes.
    std::promise<void> started;
    std::promise<void> release;
    auto released = release.get_future().share();
    std::atomic<bool> first = true;
    world.writer->setBeforeWriteHook([&](const std::string&, const std::string&) {
        if (!first.exchange(false))
            return;
        started.set_value();
        released.wait();
    });
    store.updateColorAdjustment(2, &ColorAdjustment::warmth, 0.4);
    started.get_future().wait();
    const auto waited = FileDefaultsStore::kSharedLockWait + std::chrono::milliseconds(100);
    for (auto elapsed = Duration::zero(); elapsed < waited;
         elapsed += std::chrono::milliseconds(100))
        world.scheduler->advance(std::chrono::milliseconds(100));
    release.set_value();
    // The hook holds this test's locals: none may reach it once they are gone.
    world.writer->setBeforeWriteHook(nullptr);
    ASSERT_TRUE(world.writer->waitForPendingWrites(kEventWait));
    stopped.reset();

    auto stored = cliPreferences->loadResult().preferences;
    stored.displayAdjustments[identityOf(1)] = presetNamed("movie").adjustment;
    replaceRecord(stored);
    // Another process mid-way: lock held, its colour on the screen.
    auto holder = std::make_unique<OtherLockHolder>(folder / ".lock");
    ASSERT_TRUE(holder->held());
    const auto night = presetNamed("night").adjustment;
    world.gamma->apply(night, 1);
    const int writes = world.gamma->writeCount();
    ASSERT_TRUE(deliverChanges());
    world.scheduler->advance(std::chrono::milliseconds(100));
    EXPECT_EQ(world.gamma->writeCount(), writes);
    EXPECT_EQ(world.gamma->tables(1), tablesOf(night));

    stored.displayAdjustments[identityOf(1)] = night;
    replaceRecord(stored);
    holder.reset();
    world.scheduler->advance(std::chrono::milliseconds(100));
    EXPECT_EQ(world.gamma->tables(1), tablesOf(night));
    EXPECT_EQ(store.colorAdjustments().at(identityOf(1)), night);
}

// An editor's change of the record (written in place, or a new file renamed
// over it) reaches the screens as a restart would show it, also on a display
// the store never wrote; the folder removed (a reset by hand) gives every
// display back its own colours; the command line's next save is heard in
// the folder made again.
TEST_F(SharedRecordsTest, AHandEditAndARemovedFolderReachTheScreens) {
    auto& store = startApplication();
    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.4);
    world.writer->flushPendingSaves();
    ASSERT_TRUE(deliverChanges());

    auto edited = recordOnDisk();
    edited.displayAdjustments[identityOf(1)].warmth = 0.1;
    auto brighter = ColorAdjustment::neutral();
    brighter.softwareBrightness = 0.5;
    edited.displayAdjustments[identityOf(2)] = brighter;
    replaceRecord(edited, true);
    ASSERT_TRUE(deliverChanges());
    EXPECT_EQ(world.gamma->tables(1), tablesOf(edited.displayAdjustments.at(identityOf(1))));
    EXPECT_EQ(world.gamma->tables(2), tablesOf(brighter));

    edited.displayAdjustments[identityOf(2)].softwareBrightness = 0.7;
    replaceRecord(edited);
    ASSERT_TRUE(deliverChanges());
    EXPECT_EQ(world.gamma->tables(2), tablesOf(edited.displayAdjustments.at(identityOf(2))));

    std::filesystem::remove_all(folder.path());
    ASSERT_TRUE(deliverChanges());
    EXPECT_TRUE(store.colorAdjustments().empty());
    for (const DisplayID display : {1u, 2u})
        EXPECT_EQ(world.gamma->tables(display), tablesOf(ColorAdjustment::neutral())) << display;
    EXPECT_FALSE(std::filesystem::exists(folder.path()));

    ASSERT_EQ(cli({"apply-safe-preset", "night", "--display", "3"}), 0);
    EXPECT_TRUE(showsSoon(3, presetNamed("night").adjustment));
}

// A colour set elsewhere for a display under a comparison ends the
// comparison: the new colour reaches the screen as on any display, and the
// holder's token no longer runs.
TEST_F(SharedRecordsTest, AColourSetElsewhereDuringAComparisonEndsIt) {
    auto& store = startApplication();
    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.4);
    world.writer->flushPendingSaves();
    ASSERT_TRUE(deliverChanges());
    const auto held = store.beginTemporaryNeutralComparison(1);
    ASSERT_TRUE(held.has_value());
    ASSERT_EQ(world.gamma->tables(1), tablesOf(ColorAdjustment::neutral()));

    auto edited = recordOnDisk();
    edited.displayAdjustments[identityOf(1)].warmth = 0.1;
    replaceRecord(edited);
    ASSERT_TRUE(deliverChanges());
    EXPECT_FALSE(store.temporaryNeutralComparisonRuns(*held));
    EXPECT_EQ(store.recoverySnapshot(1)->mode, QuorvaneEffectRecoveryMode::active);
    EXPECT_EQ(world.gamma->tables(1), tablesOf(edited.displayAdjustments.at(identityOf(1))));
}

// Switches taken in rule the screens as at a start: with auto-apply off a
// colour edited elsewhere stays off the screen; correction switched off
// elsewhere shows every display neutral.
TEST_F(SharedRecordsTest, TakenInSwitchesRuleTheScreensAsAtAStart) {
    auto& store = startApplication();
    store.updateColorAdjustment(1, &ColorAdjustment::warmth, 0.4);
    const auto shown = world.gamma->tables(1);
    world.writer->flushPendingSaves();
    ASSERT_TRUE(deliverChanges());

    auto edited = recordOnDisk();
    edited.autoApplyEnabled = false;
    edited.displayAdjustments[identityOf(1)].warmth = 0.1;
    replaceRecord(edited);
    ASSERT_TRUE(deliverChanges());
    EXPECT_FALSE(store.autoApplyEnabled());
    EXPECT_EQ(world.gamma->tables(1), shown);

    edited.softwareColorCorrectionEnabled = false;
    replaceRecord(edited);
    ASSERT_TRUE(deliverChanges());
    for (const DisplayID display : {1u, 2u, 3u})
        EXPECT_EQ(world.gamma->tables(display), tablesOf(ColorAdjustment::neutral())) << display;
}

// A colour set elsewhere for the identity two identical monitors share is
// taken in, but as at a start it is put on neither twin: it cannot tell
// which of them it was meant for. The other display's colour of the same
// edit reaches its screen.
TEST_F(SharedRecordsTest, AColourTakenInForTwinsIsLeftOffTheirScreens) {
    auto screens = identicalTwins(1, 2);
    screens.push_back(externalDisplay(3, "Right", 33, 3840));
    world.connect(screens);
    auto& store = startApplication();

    const auto night = presetNamed("night").adjustment;
    auto edited = recordOnDisk();
    for (const auto& screen : {screens[0], screens[2]})
        edited.displayAdjustments[rawIdentity(screen)] = night;
    replaceRecord(edited);
    ASSERT_TRUE(deliverChanges());
    EXPECT_EQ(store.colorAdjustments().at(rawIdentity(screens[0])), night);
    EXPECT_EQ(world.gamma->tables(3), tablesOf(night));
    for (const DisplayID twin : {1u, 2u})
        EXPECT_EQ(world.gamma->tables(twin), std::nullopt) << twin;
}

// The user sets a display's alias back to what the store last read, after
// another process renamed it and before the store heard of it: the user's
// later word is what the record keeps.
TEST_F(SharedRecordsTest, AnAliasSetBackToTheValueLastReadWinsOverAnEarlierChangeElsewhere) {
    auto& store = startApplication();
    store.setDisplayAlias("책상 왼쪽", 1);
    const auto aliases = recordOnDisk().displayAliasesByKey;
    ASSERT_EQ(aliases.size(), 1u);
    auto renamed = cliPreferences->loadResult().preferences;
    renamed.displayAliasesByKey.begin()->second = "회의실";
    cliPreferences->save(renamed);

    store.setDisplayAlias("책상 왼쪽", 1);
    EXPECT_EQ(recordOnDisk().displayAliasesByKey, aliases);
}

// The store reading records another process changed, on in-memory defaults:
// the folder's events stand in as direct calls, and the other process's
// saves as writes of the stored records.
class RecordReloadTest : public ::testing::Test {
  protected:
    RecordReloadTest() {
        QuorvanePreferences preferences;
        preferences.customPresets.push_back(
            {"users-own", "내 프리셋", DisplayPreset::builtIns()[1].adjustment, ItemKind::custom});
        preferences.textSize = QuorvaneTextSize::veryLarge;
        world.storePreferences(preferences);
        world.start().updateColorAdjustment(1, &ColorAdjustment::warmth, 0.2);
        world.store->addChangeObserver([this] { ++told; });
    }

    DisplayStore& store() { return *world.store; }
    double warmthShown() const {
        return world.store->colorAdjustments()
            .at(rawIdentity(externalDisplay(1, "Studio", 1001)))
            .warmth;
    }
    // The other process sets the display's warmth and adds a journal entry.
    void otherProcessSavesWarmth(double warmth) {
        auto preferences = world.savedPreferences();
        preferences.displayAdjustments.begin()->second.warmth = warmth;
        world.storePreferences(preferences);
        auto journal = world.savedJournal();
        auto entry = journal.entries.front();
        entry.id = "00000000-0000-4000-8000-00000000000" + std::to_string(journal.entries.size());
        entry.summary = "다른 곳에서 바꿈";
        journal.append(entry);
        UserDefaultsRecoveryJournalStore(world.defaults).save(journal);
    }

    const std::set<DisplayStoreRecord> allRecords = {DisplayStoreRecord::preferences,
                                                     DisplayStoreRecord::recoveryJournal,
                                                     DisplayStoreRecord::ddcCapabilityCache};
    StoreWorld world;
    int told = 0;
};

// Each record of a batch is read again, the application is told once when
// one changed and not at all when the store's own saves come back, and each
// read moves the base: the other process changing the same value again is
// taken in, not mistaken for the store's own change.
TEST_F(RecordReloadTest, EveryRecordOfABatchIsTakenInAndToldOnlyWhenItChanged) {
    store().reloadRecordsChangedOnDisk(allRecords);
    EXPECT_EQ(told, 0);

    for (const double warmth : {0.7, 0.4}) {
        otherProcessSavesWarmth(warmth);
        store().reloadRecordsChangedOnDisk(allRecords);
        EXPECT_DOUBLE_EQ(warmthShown(), warmth);
    }
    EXPECT_EQ(store().recoveryJournal().entries.size(), 3u);
    EXPECT_EQ(told, 2);
}

// Keys the other process bound or switched on reach the store when pressed:
// grabbed again, not only shown.
TEST_F(RecordReloadTest, ChangedHotKeysAreGrabbedAgain) {
    auto preferences = world.savedPreferences();
    const HotKeyCombination chord(15, "R", {HotKeyModifier::control, HotKeyModifier::option});
    preferences.emergencyRecoveryHotKeyCombination = chord;
    preferences.sceneHotKeysEnabled = true;
    world.storePreferences(preferences);
    store().reloadRecordsChangedOnDisk({DisplayStoreRecord::preferences});
    EXPECT_TRUE(world.registrar->press(chord));
    EXPECT_FALSE(world.registrar->press(HotKeyCombination::defaultEmergencyRecovery()));
    EXPECT_TRUE(world.registrar->press(SceneHotKeyBinding::defaultBindings()[0].combination));
}

// A record that no longer decodes (half written by hand) is no record: it
// resets nothing, and the next save still holds what the store held.
TEST_F(RecordReloadTest, ARecordThatNoLongerDecodesIsNotTakenForTheDefaults) {
    world.defaults->setData(UserDefaultsPreferencesStore::standardStorageKey(), "{\"textSize\":");
    world.defaults->setData(UserDefaultsRecoveryJournalStore::standardStorageKey(), "{");
    store().reloadRecordsChangedOnDisk(allRecords);
    EXPECT_EQ(told, 0);
    EXPECT_EQ(store().customPresets().size(), 1u);
    EXPECT_EQ(store().textSize(), QuorvaneTextSize::veryLarge);
    EXPECT_EQ(store().recoveryJournal().entries.size(), 1u);

    store().setAppearance(QuorvaneAppearance::dark);
    const auto saved = world.savedPreferences();
    EXPECT_EQ(saved.customPresets.size(), 1u);
    EXPECT_EQ(saved.textSize, QuorvaneTextSize::veryLarge);
    EXPECT_DOUBLE_EQ(saved.displayAdjustments.begin()->second.warmth, 0.2);
}

}  // namespace
}  // namespace quorvane::testing
