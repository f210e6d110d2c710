#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "cli/cli_text.hpp"
#include "cli/quorvane_bootstrap.hpp"
#include "cli/quorvane_cli.hpp"
#include "models/display/display_identity.hpp"
#include "platform/simulated/in_memory_defaults_store.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"
#include "platform/simulated/simulated_display_manager.hpp"
#include "platform/simulated/simulated_gamma_controller.hpp"
#include "services/display/cli_display_snapshot_provider.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/merging_defaults_store.hpp"
#include "services/persistence/quorvane_settings_document_coder.hpp"
#include "services/persistence/record_write_stamp.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "support/other_lock_holder.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane {
namespace {

using ::testing::HasSubstr;

DisplaySnapshot makeDisplay(DisplayID id, std::string name, std::uint32_t serial) {
    DisplaySnapshot display;
    display.id = id;
    display.name = std::move(name);
    display.vendorNumber = 1552;
    display.modelNumber = 41000;
    display.serialNumber = serial;
    return display;
}

// The runner over the in-memory platform, with both streams captured.
struct CLIHarness {
    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>();
    std::shared_ptr<UserDefaultsPreferencesStore> preferences =
        std::make_shared<UserDefaultsPreferencesStore>(defaults);
    std::shared_ptr<SimulatedDisplayManager> manager = std::make_shared<SimulatedDisplayManager>();
    std::shared_ptr<SimulatedBrightnessController> brightness =
        std::make_shared<SimulatedBrightnessController>();
    std::shared_ptr<SimulatedGammaController> gamma = std::make_shared<SimulatedGammaController>();
    std::string out;
    std::string err;
    std::optional<std::string> outputFailure;
    std::optional<std::string> displayVariable = ":7";
    std::function<Date()> requestNow = [] { return std::chrono::system_clock::now(); };

    void setDisplays(const std::vector<DisplaySnapshot>& displays) {
        manager->setDisplays(displays);
        std::set<DisplayID> ids;
        ScreenNames names;
        for (const auto& display : displays) {
            ids.insert(display.id);
            names[display.id] = display.name;
        }
        manager->setScreenNames(names);
        gamma->setKnownDisplays(ids);
    }

    std::int32_t run(const std::vector<std::string>& arguments) {
        out.clear();
        err.clear();
        QuorvaneCLI cli({preferences, std::make_shared<CLIDisplaySnapshotProvider>(manager),
                         brightness, gamma, [this](std::string_view text) { out += text; },
                         [this](std::string_view text) { err += text; },
                         [this] { return outputFailure; }, displayVariable, requestNow});
        return cli.run(arguments);
    }
};

// --- process entry ---------------------------------------------------------

struct Dispatched {
    std::string mode;
    std::vector<std::string> arguments;
};

Dispatched dispatch(std::vector<std::string> arguments) {
    Dispatched seen;
    const auto status = QuorvaneBootstrap::dispatch(
        std::move(arguments),
        [&](const std::vector<std::string>& rest) {
            seen = {"cli", rest};
            return 7;
        },
        [&] {
            seen = {"app", {}};
            return 9;
        });
    EXPECT_EQ(status, seen.mode == "cli" ? 7 : 9);
    return seen;
}

TEST(QuorvaneBootstrap, OnlyAnExactCliInFirstPlaceSelectsTheCommandLine) {
    using V = std::vector<std::string>;
    EXPECT_EQ(dispatch({}).mode, "app");
    for (const V& arguments : {V{"/bin/q"}, V{"/bin/q", "--"}, V{"/bin/q", "--", "--", "cli"},
                               V{"/bin/q", "CLI"}, V{"/bin/q", "-psn_0_1234", "cli"}})
        EXPECT_EQ(dispatch(arguments).mode, "app");

    EXPECT_EQ(dispatch({"/bin/q", "cli"}).arguments, V{});
    EXPECT_EQ(dispatch({"/bin/q", "--", "cli", "list", "presets"}).arguments,
              (V{"list", "presets"}));
    EXPECT_EQ(dispatch({"/bin/q", "cli", "--", "list"}).arguments, (V{"--", "list"}));
}

// --- option grammar --------------------------------------------------------

TEST(QuorvaneCLIOptions, ValuesAreTakenWhateverTheyLookLikeAndMissingOnesAreUnknown) {
    using V = std::vector<std::string>;
    const auto parsed =
        QuorvaneCLI::parseOptions({"--display", "--json", "x", "-h", "--", "--nope"});
    EXPECT_EQ(parsed.options.display, "--json");
    EXPECT_FALSE(parsed.options.json);
    EXPECT_EQ(parsed.positionals, (V{"x", "-h"}));
    EXPECT_EQ(parsed.unknown, (V{"--", "--nope"}));

    const auto twice = QuorvaneCLI::parseOptions({"--file", "a", "--file", "b", "--display"});
    EXPECT_EQ(twice.options.file, "a");
    EXPECT_EQ(twice.positionals, (V{"b"}));
    EXPECT_EQ(twice.unknown, (V{"--file", "--display requires a value"}));
}

TEST(QuorvaneCLIRunner, ANumberWithoutJsonSpellingFailsWithStatusThreeAndNothingOnStandardOutput) {
    CLIHarness harness;
    harness.setDisplays({makeDisplay(1, "Panel", 7)});
    harness.brightness->setValue(1, std::numeric_limits<double>::quiet_NaN());

    EXPECT_EQ(harness.run({"list", "displays", "--json"}), 3);
    EXPECT_EQ(harness.out, "");
    EXPECT_THAT(harness.err, HasSubstr("JSON 출력을 만들지 못했습니다: "));
    EXPECT_EQ(harness.err.find('{'), std::string::npos);  // plain text, also in JSON mode

    // The text form never shows the brightness.
    EXPECT_EQ(harness.run({"list", "displays"}), 0);
}

// --- preset and display resolution -------------------------------------

DisplayPreset preset(std::string id, std::string name) {
    return {std::move(id), std::move(name), ColorAdjustment::neutral(), ItemKind::custom};
}

TEST(QuorvaneCLIResolve, IdsMatchExactlyBeforeNamesMatchTrimmedAndCaseInsensitive) {
    const std::vector<DisplayPreset> presets = {preset("night", "Night"), preset("u1", "night"),
                                                preset("u2", "Cosy")};
    using K = QuorvaneCLI::PresetResolution::Kind;

    const auto byId = QuorvaneCLI::resolvePreset("night", presets);
    EXPECT_EQ(byId.kind, K::success);
    EXPECT_EQ(byId.presets[0].id, "night");

    // Not an id in this letter case, but two names agree.
    const auto byName = QuorvaneCLI::resolvePreset("NIGHT", presets);
    EXPECT_EQ(byName.kind, K::ambiguous);
    EXPECT_EQ(byName.presets.size(), 2u);

    EXPECT_EQ(QuorvaneCLI::resolvePreset(" u2", presets).kind, K::missing);
}

TEST(QuorvaneCLIResolve, IdenticalMonitorsShareAnIdentityAndOnlyTheirIdsTellThemApart) {
    const auto first = makeDisplay(70, "Twin", 5);
    const auto second = makeDisplay(71, "Twin", 5);
    const std::vector<DisplaySnapshot> displays = {first, second};
    using K = QuorvaneCLI::DisplayResolution::Kind;

    EXPECT_EQ(QuorvaneCLI::resolveDisplay("71", displays).displays[0].id, 71u);
    EXPECT_EQ(QuorvaneCLI::resolveDisplay(DisplayIdentity::of(first).rawValue, displays).kind,
              K::ambiguous);
    EXPECT_EQ(QuorvaneCLI::resolveDisplay("071", displays).kind, K::missing);
}

// --- apply-safe-preset ---------------------------------------------------

TEST(QuorvaneCLIApply, APartialFailureSavesTheDisplaysThatTookThePresetAndReturnsThree) {
    CLIHarness harness;
    const auto left = makeDisplay(1, "Left", 11);
    harness.setDisplays({left, makeDisplay(2, "Right", 12)});
    harness.gamma->setFailure(2, DisplayControlError::coreGraphics(8));

    EXPECT_EQ(harness.run({"apply-safe-preset", "Night"}), 3);
    EXPECT_EQ(harness.err, "Some displays failed: Right\n");
    EXPECT_EQ(harness.out, "Safe preset applied to 1 display(s); 1 failed.\n");
    const auto saved = harness.preferences->loadResult().preferences.displayAdjustments;
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved.begin()->first, DisplayIdentity::of(left).rawValue);
    EXPECT_EQ(saved.begin()->second, DisplayPreset::builtIns()[2].adjustment);

    EXPECT_EQ(harness.run({"apply-safe-preset", "night", "--json"}), 3);
    const auto applied = parseJson(harness.out)["result"]["applied"];
    EXPECT_EQ(applied["failed"][0]["message"], "X11 오류: 8");
    EXPECT_EQ(applied["applied"][0]["id"], 1);
}

TEST(QuorvaneCLIApply, WhenEveryDisplayFailsNothingIsSavedAndStandardOutputStaysEmpty) {
    CLIHarness harness;
    harness.setDisplays({makeDisplay(1, "Left", 11)});
    harness.gamma->setFailure(1, DisplayControlError::coreGraphics(8));

    EXPECT_EQ(harness.run({"apply-safe-preset", "coding"}), 3);
    EXPECT_EQ(harness.out, "");
    EXPECT_EQ(harness.defaults->writeCount(), 0u);
}

TEST(QuorvaneCLIApply, AFailedSaveIsAnErrorWithStatusThreeInTextAndJson) {
    CLIHarness harness;
    harness.setDisplays({makeDisplay(1, "Left", 11)});
    harness.defaults->setFailsWrites(true);

    EXPECT_EQ(harness.run({"apply-safe-preset", "coding"}), 3);
    EXPECT_EQ(harness.out, "");
    EXPECT_EQ(harness.err,
              "화면에는 적용했지만 설정을 저장하지 못했습니다: "
              "org.quorvane.Quorvane.preferences.v1\n");

    EXPECT_EQ(harness.run({"apply-safe-preset", "coding", "--json"}), 3);
    EXPECT_EQ(harness.out, "");
    const auto envelope = parseJson(harness.err);
    EXPECT_EQ(envelope["exitCode"], 3);
    EXPECT_THAT(envelope["message"].get<std::string>(), HasSubstr("저장하지 못했습니다"));
    EXPECT_EQ(harness.defaults->lockDepth(), 0);
}

// A stopped or hung application holding the settings lock: the command waits
// its limit on its clock, then changes neither the screen nor the record and
// ends as a failed save, saying who holds the lock.
TEST(QuorvaneCLIApply, ASettingsLockHeldPastTheWaitChangesNothingAndEndsAsAFailedSave) {
    testing::TemporaryFolder folder;
    auto files = std::make_shared<FileDefaultsStore>(folder.path());
    auto clock = std::make_shared<ManualScheduler>();
    files->limitLockWait(seconds(5), clock, clock);
    CLIHarness harness;
    harness.preferences = std::make_shared<UserDefaultsPreferencesStore>(files);
    harness.setDisplays({makeDisplay(1, "Left", 11)});
    ASSERT_EQ(harness.run({"apply-safe-preset", "night"}), 0);
    const auto record = files->dataForKey("org.quorvane.Quorvane.preferences.v1");
    const auto shown = harness.gamma->tables(1);
    testing::OtherLockHolder application(folder / ".lock");
    ASSERT_TRUE(application.held());

    const auto start = clock->monotonicNow();
    EXPECT_EQ(harness.run({"apply-safe-preset", "coding"}), 3);
    EXPECT_EQ(clock->monotonicNow() - start, seconds(5));
    const std::string reason =
        "화면에 적용하지 않았습니다: 다른 프로세스가 설정 잠금을 쥐고 있어 저장하지 "
        "못했습니다: " +
        (folder / ".lock").string();
    EXPECT_EQ(harness.err, reason + "\n");
    EXPECT_EQ(harness.out, "");
    EXPECT_EQ(harness.run({"apply-safe-preset", "coding", "--json"}), 3);
    EXPECT_EQ(parseJson(harness.err)["message"], reason);
    EXPECT_EQ(harness.gamma->tables(1), shown);
    EXPECT_EQ(files->dataForKey("org.quorvane.Quorvane.preferences.v1"), record);

    application.release();
    EXPECT_EQ(harness.run({"apply-safe-preset", "coding"}), 0);
}

// The command waited for the lock while another process saved a request
// for the left display asked after its own: that display keeps the later
// value on the screen and in the record, is named as set by a later
// request, and counts as not carried out; the right one takes the preset.
TEST(QuorvaneCLIApply, ADisplayALaterRequestSetWhileItWaitedIsLeftAsItIsWithStatusThree) {
    testing::TemporaryFolder folder;
    CLIHarness harness;
    harness.preferences = std::make_shared<UserDefaultsPreferencesStore>(
        std::make_shared<FileDefaultsStore>(folder.path()));
    const auto left = makeDisplay(1, "Left", 11);
    harness.setDisplays({left, makeDisplay(2, "Right", 12)});
    const Date asked = std::chrono::system_clock::now() - std::chrono::minutes(1);
    harness.requestNow = [asked] { return asked; };
    const auto leftIdentity = DisplayIdentity::of(left).rawValue;
    const auto movie = DisplayPreset::builtIns()[3].adjustment;
    QuorvanePreferences later;
    later.displayAdjustments[leftIdentity] = movie;
    TouchedRecordParts laterRequest;
    laterRequest.touch("displayAdjustments", leftIdentity, asked + std::chrono::seconds(1));
    UserDefaultsPreferencesStore application(std::make_shared<FileDefaultsStore>(folder.path()));
    ASSERT_TRUE(application.save(later, laterRequest).succeeded());

    EXPECT_EQ(harness.run({"apply-safe-preset", "night"}), 3);
    EXPECT_EQ(harness.err, "Already set by a later request: Left\n");
    EXPECT_EQ(harness.out,
              "Safe preset applied to 1 display(s); 1 already set by a later request.\n");
    EXPECT_FALSE(harness.gamma->tables(1));
    EXPECT_EQ(harness.gamma->tables(2),
              harness.gamma->makeTransferTables(DisplayPreset::builtIns()[2].adjustment));
    const auto saved = application.loadResult().preferences.displayAdjustments;
    EXPECT_EQ(saved.at(leftIdentity), movie);
    EXPECT_EQ(saved.size(), 2u);

    EXPECT_EQ(harness.run({"apply-safe-preset", "night", "--display", "1", "--json"}), 3);
    const auto result = parseJson(harness.out)["result"]["applied"];
    EXPECT_EQ(result["applied"], Json::array());
    ASSERT_EQ(result["failed"].size(), 1u);
    EXPECT_EQ(result["failed"][0]["name"], "Left");
    EXPECT_EQ(result["failed"][0]["message"],
              "나중에 요청된 변경이 이미 저장되어 있어 이 디스플레이는 바꾸지 않았습니다.");
    EXPECT_EQ(application.loadResult().preferences.displayAdjustments.at(leftIdentity), movie);
}

// The lock file is taken away while the command holds it, and another
// writer saves "movie" for the display and shows it, just before the
// command's record lands (before its last look at the lock, or after).
// Asked after the command, it stays in the record and on the screen, with
// status 3; asked before it, the command's own value goes back on the
// screen. A later request of the command's own value leaves it in effect:
// nothing is refused.
TEST(QuorvaneCLIApply, AnotherRequestLetInByATakenLockFileLeavesScreenAndRecordAgreeing) {
    for (const int round : {0, 1, 2, 3, 4, 5}) {
        const bool sameValue = round >= 4;
        const bool otherLater = round % 2 == 0 || sameValue;
        const bool afterLastLook = round % 4 >= 2;
        SCOPED_TRACE(sameValue ? "the command's own value" : "another value");
        SCOPED_TRACE(otherLater ? "the other asked later" : "the other asked earlier");
        SCOPED_TRACE(afterLastLook ? "after the last look" : "before the last look");
        testing::TemporaryFolder folder;
        auto files = std::make_shared<FileDefaultsStore>(folder.path());
        CLIHarness harness;
        harness.preferences =
            std::make_shared<UserDefaultsPreferencesStore>(std::make_shared<MergingDefaultsStore>(
                files,
                MergingDefaultsStore::Merges{{UserDefaultsPreferencesStore::standardStorageKey(),
                                              RecordMerge::preferencesBytes}}));
        const auto left = makeDisplay(1, "Left", 11);
        const auto identity = DisplayIdentity::of(left).rawValue;
        harness.setDisplays({left});
        const Date asked = std::chrono::system_clock::now() - std::chrono::minutes(1);
        harness.requestNow = [asked] { return asked; };
        const auto& builtIns = DisplayPreset::builtIns();
        QuorvanePreferences other;
        const auto& theirs = builtIns[sameValue ? 2 : 3].adjustment;
        other.displayAdjustments[identity] = theirs;
        TouchedRecordParts request;
        request.touch("displayAdjustments", identity, asked + seconds(otherLater ? 1 : -1));
        bool letIn = false;
        const auto letInAnother = [&](const auto&) {
            if (std::exchange(letIn, true))
                return true;
            std::filesystem::remove(folder / ".lock");
            harness.gamma->setTransferTables(harness.gamma->makeTransferTables(theirs), 1);
            UserDefaultsPreferencesStore writer(std::make_shared<FileDefaultsStore>(folder.path()));
            return writer.save(other, request).succeeded();
        };
        if (afterLastLook)
            files->setBeforeInstallHook(letInAnother);
        else
            files->setBeforeRenameHook(letInAnother);

        const bool refused = otherLater && !sameValue;
        EXPECT_EQ(harness.run({"apply-safe-preset", "night"}), refused ? 3 : 0);
        EXPECT_EQ(harness.err, refused ? "Already set by a later request: Left\n" : "");
        const auto& kept = refused ? theirs : builtIns[2].adjustment;
        EXPECT_EQ(harness.gamma->tables(1), harness.gamma->makeTransferTables(kept));
        EXPECT_EQ(harness.preferences->loadResult().preferences.displayAdjustments.at(identity),
                  kept);
    }
}

// The lock file taken away once the command's record is about to land,
// another writer renames its own record over the command's right after,
// made from the record before: the display's value is gone, and no stamp
// names a request for it asked after the command's (stamped, it carries
// the earlier request that set the display before; described by no stamp,
// as where a third write took them, it is dated by its file). The
// command lays its change on that record again and both stand; where that
// happens at every save, it says the lock file was taken from under it.
// Never is the display told set by a later request.
TEST(QuorvaneCLIApply, ARecordRenamedOverTheCommandsIsMergedOntoNeverTakenForALaterRequest) {
    for (const int round : {0, 1, 2}) {
        const bool stamped = round == 0;
        const bool everySave = round == 2;
        SCOPED_TRACE(stamped ? "stamped" : "described by no stamp");
        SCOPED_TRACE(everySave ? "at every save" : "once");
        testing::TemporaryFolder folder;
        const auto key = UserDefaultsPreferencesStore::standardStorageKey();
        auto files = std::make_shared<FileDefaultsStore>(folder.path());
        CLIHarness harness;
        harness.preferences =
            std::make_shared<UserDefaultsPreferencesStore>(std::make_shared<MergingDefaultsStore>(
                files, MergingDefaultsStore::Merges{{key, RecordMerge::preferencesBytes}}));
        const auto left = DisplayIdentity::of(makeDisplay(1, "Left", 11)).rawValue;
        const auto right = DisplayIdentity::of(makeDisplay(2, "Right", 12)).rawValue;
        harness.setDisplays({makeDisplay(1, "Left", 11), makeDisplay(2, "Right", 12)});
        const Date asked = std::chrono::system_clock::now() - std::chrono::minutes(1);
        harness.requestNow = [asked] { return asked; };
        const auto& builtIns = DisplayPreset::builtIns();
        QuorvanePreferences theirs;
        theirs.displayAdjustments[left] = builtIns[0].adjustment;
        theirs.displayAdjustments[right] = builtIns[3].adjustment;
        const auto record = folder.path() / FileDefaultsStore::fileNameForKey(key);
        const auto renameTheirsOver = [&] {
            std::filesystem::remove(record);
            if (stamped) {
                TouchedRecordParts request;
                request.touch("displayAdjustments", left, asked - seconds(2));
                request.touch("displayAdjustments", right, asked - seconds(1));
                FileDefaultsStore writer(folder.path());
                ASSERT_TRUE(writer.setDataTouching(key, *theirs.encoded(), request).succeeded());
                return;
            }
            std::ofstream(folder / "theirs") << *theirs.encoded();
            std::filesystem::rename(folder / "theirs", record);
            const auto stamps = folder / RecordWriteStamp::fileNameFor(record.filename().string());
            std::filesystem::remove(stamps);
            std::filesystem::remove(stamps.string() + "~");
        };
        bool landing = false;
        files->setBeforeInstallHook([&, saves = 0](const auto&) mutable {
            if (saves++ == 0 || everySave) {
                std::filesystem::remove(folder / ".lock");
                landing = true;
            }
            return true;
        });
        files->setReadCall([&](const auto&, int fd, void* buffer, std::size_t size) {
            if (std::exchange(landing, false))
                renameTheirsOver();
            return ::read(fd, buffer, size);
        });

        const auto status = harness.run({"apply-safe-preset", "night", "--display", "1"});
        EXPECT_EQ(harness.err.find("Already set by a later request"), std::string::npos);
        EXPECT_EQ(harness.gamma->tables(1),
                  harness.gamma->makeTransferTables(builtIns[2].adjustment));
        const auto saved = harness.preferences->loadResult().preferences.displayAdjustments;
        ASSERT_TRUE(saved.contains(right));
        EXPECT_EQ(saved.at(right), builtIns[3].adjustment);
        if (!everySave) {
            EXPECT_EQ(status, 0) << harness.err;
            ASSERT_TRUE(saved.contains(left));
            EXPECT_EQ(saved.at(left), builtIns[2].adjustment);
            continue;
        }
        EXPECT_EQ(status, 3);
        EXPECT_EQ(harness.err,
                  "화면에는 적용했지만 저장하는 동안 설정 잠금 파일이 거듭 지워지거나 "
                  "바뀌어 저장하지 못했습니다: " +
                      (folder / ".lock").string() + "\n");
    }
}

TEST(QuorvaneCLIRecords, AnUndecodableRecordIsNoticedOnStandardErrorAndKeptAsideBeforeASave) {
    CLIHarness harness;
    harness.setDisplays({makeDisplay(1, "Left", 11)});
    const std::string newer = R"({"appearance":"sepia","customPresets":[]})";
    harness.defaults->setData("org.quorvane.Quorvane.preferences.v1", newer);

    EXPECT_EQ(harness.run({"list", "presets"}), 0);
    EXPECT_EQ(harness.err, "저장된 설정을 읽지 못해 기본값으로 복구했습니다.\n");
    EXPECT_THAT(harness.out, HasSubstr("Presets:\n"));
    EXPECT_EQ(harness.defaults->contents().size(), 1u);  // reading writes nothing

    EXPECT_EQ(harness.run({"apply-safe-preset", "coding"}), 0);
    EXPECT_THAT(harness.err, HasSubstr("읽지 못한 기록은 따로 보관했습니다: "
                                       "org.quorvane.Quorvane.preferences.v1.json.unreadable-1"));
    EXPECT_EQ(
        harness.defaults->contents().at("org.quorvane.Quorvane.preferences.v1.json.unreadable-1"),
        newer);
    EXPECT_THAT(harness.out, HasSubstr("Safe preset applied"));
}

// Said once on standard error, also when the save then keeps the record aside.
TEST(QuorvaneCLIRecords, ACommandMeetingABrokenRecordSaysItRecoveredOnce) {
    CLIHarness harness;
    harness.setDisplays({makeDisplay(1, "Left", 11)});
    harness.defaults->setData("org.quorvane.Quorvane.preferences.v1", "{broken");
    ASSERT_EQ(harness.run({"apply-safe-preset", "coding"}), 0);
    const std::string notice(UserDefaultsPreferencesStore::kCorruptionNotice);
    const auto first = harness.err.find(notice);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(harness.err.find(notice, first + 1), std::string::npos) << harness.err;
    EXPECT_THAT(harness.err, HasSubstr("보관했습니다: org.quorvane.Quorvane.preferences.v1.json"));
}

TEST(QuorvaneCLIRecords, AnUnreadableRecordFailsEveryCommandThatNeedsIt) {
    CLIHarness harness;
    harness.setDisplays({makeDisplay(1, "Left", 11)});
    harness.defaults->setUnreadable("org.quorvane.Quorvane.preferences.v1");
    for (const std::vector<std::string>& command : {std::vector<std::string>{"list", "presets"},
                                                    {"list", "scenes"},
                                                    {"read", "settings"},
                                                    {"read", "diagnostics"},
                                                    {"apply-safe-preset", "coding"}}) {
        EXPECT_EQ(harness.run(command), 3) << command[1];
        EXPECT_EQ(harness.out, "") << command[1];
        EXPECT_THAT(harness.err, HasSubstr("읽을 수 없습니다")) << command[1];
    }
    EXPECT_EQ(harness.gamma->writeCount(), 0);
    EXPECT_EQ(harness.defaults->writeCount(), 0u);
}

// --- the X server, standard output and the terminal ----------------------

const std::string kUnreachable =
    "X 서버에 연결할 수 없습니다: $DISPLAY=:7. 그래픽 세션이 실행 중인지, $DISPLAY 값이 맞는지 "
    "확인하세요.";

TEST(QuorvaneCLIDisplayServer, NoServerIsStatusTwoNamingDisplayNotAnEmptyList) {
    CLIHarness harness;
    harness.setDisplays({makeDisplay(1, "Left", 11)});
    harness.manager->setUnreachable(true);

    EXPECT_EQ(harness.run({"list", "displays"}), 2);
    EXPECT_EQ(harness.out, "");
    EXPECT_EQ(harness.err, kUnreachable + "\n");
    EXPECT_EQ(harness.run({"read", "diagnostics", "--json"}), 2);
    EXPECT_EQ(parseJson(harness.err)["message"], kUnreachable);
    EXPECT_EQ(harness.run({"apply-safe-preset", "night"}), 2);
    EXPECT_EQ(harness.gamma->writeCount(), 0);

    // Unset or empty, no display is named.
    for (const auto& unset : {std::optional<std::string>(), std::optional<std::string>("")}) {
        harness.displayVariable = unset;
        EXPECT_EQ(harness.run({"read", "displays"}), 2);
        EXPECT_THAT(harness.err, HasSubstr("$DISPLAY가 설정되어 있지 않습니다"));
    }
}

TEST(QuorvaneCLIDisplayServer, AServerLostMidApplyEndsWithStatusTwoAndSavesNothing) {
    CLIHarness harness;
    harness.setDisplays({makeDisplay(1, "Left", 11), makeDisplay(2, "Right", 12)});
    harness.gamma->setFailure(2, DisplayControlError::displayServerUnreachable());

    EXPECT_EQ(harness.run({"apply-safe-preset", "night", "--json"}), 2);
    EXPECT_EQ(harness.out, "");
    EXPECT_EQ(parseJson(harness.err)["exitCode"], 2);
    // Reached, then lost: not told as a server never reached.
    const std::string lost =
        "X 서버와의 연결이 끊어져 종료합니다: $DISPLAY=:7. 설정은 바꾸지 않았습니다.";
    EXPECT_EQ(parseJson(harness.err)["message"], lost);
    EXPECT_EQ(harness.defaults->writeCount(), 0u);
    EXPECT_EQ(harness.defaults->lockDepth(), 0);
    EXPECT_EQ(harness.run({"apply-safe-preset", "night"}), 2);
    EXPECT_EQ(harness.err, lost + "\n");
    EXPECT_EQ(harness.defaults->writeCount(), 0u);
    // Nothing is written past the loss.
    harness.gamma->setFailure(2, std::nullopt);
    harness.gamma->setFailure(1, DisplayControlError::displayServerUnreachable());
    EXPECT_EQ(harness.run({"apply-safe-preset", "night"}), 2);
    EXPECT_FALSE(harness.gamma->tables(2));
    harness.gamma->setFailure(1, std::nullopt);

    // Any other refusal is the display's own failure, as before.
    harness.gamma->setFailure(2, DisplayControlError::coreGraphics(1));
    EXPECT_EQ(harness.run({"apply-safe-preset", "night"}), 3);
    EXPECT_EQ(harness.defaults->writeCount(), 1u);
}

TEST(QuorvaneCLIDisplayServer, APreviewWithoutServerStillPlansAndSaysWhyNoDisplayIsMapped) {
    CLIHarness harness;
    harness.manager->setUnreachable(true);
    const auto path = std::filesystem::temp_directory_path() / "quorvane-cli-preview-test.json";
    {
        std::ofstream file(path);
        file << QuorvaneSettingsDocumentCoder{}.encode(
            QuorvaneSettingsDocumentCoder::exportDocument(QuorvanePreferences{}, Date{}));
    }
    const auto status = harness.run({"preview", "import-plan", "--file", path.string()});
    std::filesystem::remove(path);
    EXPECT_EQ(status, 0) << harness.err;
    EXPECT_THAT(harness.out, HasSubstr("Settings import preview:"));
    EXPECT_THAT(harness.err, HasSubstr(kUnreachable));
}

TEST(QuorvaneCLIOutput, AFailedStandardOutputTurnsSuccessIntoStatusThree) {
    CLIHarness harness;
    harness.outputFailure = "No space left on device";
    EXPECT_EQ(harness.run({"list", "presets"}), 3);
    EXPECT_EQ(harness.err, "표준 출력에 쓰지 못했습니다: No space left on device\n");
    // A command that already failed keeps nothing of its own status hidden:
    // the output failure is still reported.
    EXPECT_EQ(harness.run({"list", "nothing"}), 3);
    EXPECT_THAT(harness.err, HasSubstr("표준 출력에 쓰지 못했습니다"));
}

TEST(QuorvaneCLIOutput, ControlCharactersInNamesAreEscapedInTextAndExactInJson) {
    CLIHarness harness;
    const std::string hostile = "Evil\x1b]0;owned\x07\x1b[2J\nfake line\xc2\x9b";
    QuorvanePreferences preferences;
    preferences.customPresets = {{"p\x1b", hostile, ColorAdjustment::neutral(), ItemKind::custom}};
    harness.preferences->save(preferences);
    harness.setDisplays({makeDisplay(1, "Screen\x1b[H", 11)});

    EXPECT_EQ(harness.run({"list", "presets"}), 0);
    EXPECT_THAT(harness.out, HasSubstr("- p\\x1b · Evil\\x1b]0;owned\\x07\\x1b[2J\\x0afake "
                                       "line\\u009b · custom\n"));
    EXPECT_EQ(harness.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(harness.out.find('\x07'), std::string::npos);

    EXPECT_EQ(harness.run({"list", "displays"}), 0);
    EXPECT_THAT(harness.out, HasSubstr("Screen\\x1b[H"));
    EXPECT_EQ(harness.run({"apply-safe-preset", "p\x1b"}), 0);
    EXPECT_THAT(harness.out, HasSubstr("Safe preset applied: Evil\\x1b]0;owned"));

    EXPECT_EQ(harness.run({"list", "presets", "--json"}), 0);
    EXPECT_EQ(parseJson(harness.out)["result"]["items"][5]["name"], hostile);

    // Error messages quote what they were given, escaped just the same.
    EXPECT_EQ(harness.run({"apply-safe-preset", "x\x1b[31m"}), 2);
    EXPECT_EQ(harness.err, "프리셋을 찾지 못했습니다: x\\x1b[31m\n");
}

TEST(QuorvaneCLIOutput, VisibleEscapesCoverC0DelAndC1ButNotOtherText) {
    EXPECT_EQ(visibleControlCharacters("a\tb\x7f\x01"), "a\\x09b\\x7f\\x01");
    EXPECT_EQ(visibleControlCharacters("one\ntwo", true), "one\ntwo");
    EXPECT_EQ(visibleControlCharacters("one\ntwo"), "one\\x0atwo");
    // U+009F is the last C1 control; U+00A0 (no-break space) and Korean
    // text pass unchanged.
    EXPECT_EQ(visibleControlCharacters("\xc2\x9f\xc2\xa0\xea\xb0\x80"),
              "\\u009f\xc2\xa0\xea\xb0\x80");
    EXPECT_EQ(visibleControlCharacters("\xc2\x80"), "\\u0080");
    // A byte of no valid UTF-8 sequence is escaped by its value.
    EXPECT_EQ(visibleControlCharacters("\xc2"), "\\xc2");
}

// Bytes of an argument that are not UTF-8 reach the terminal escaped: a lone
// 0x9b is CSI to a terminal in 8-bit mode. The valid text around them, a
// truncated sequence and an overlong one are told apart.
TEST(QuorvaneCLIOutput, BytesThatAreNotUTF8AreEscapedInMessages) {
    CLIHarness harness;
    EXPECT_EQ(harness.run({"apply-safe-preset",
                           "a\x9b"
                           "31m\xff\xfe\xc0\xaf한"}),
              2);
    EXPECT_EQ(harness.err, "프리셋을 찾지 못했습니다: a\\x9b31m\\xff\\xfe\\xc0\\xaf한\n");
    EXPECT_EQ(harness.run({"list", "\xea\xb0"}), 1);
    EXPECT_THAT(harness.err, HasSubstr("\\xea\\xb0"));
    for (const char raw : {'\x9b', '\xff', '\xfe', '\xc0'})
        EXPECT_EQ(harness.err.find(raw), std::string::npos);
    // The JSON envelope carries the replacement character instead.
    EXPECT_EQ(harness.run({"apply-safe-preset", "\x9b", "--json"}), 2);
    EXPECT_EQ(parseJson(harness.err)["message"], "프리셋을 찾지 못했습니다: \xef\xbf\xbd");
}

// A right-to-left override makes "Office\u202Egnp.exe" read as "Officeexe.png";
// in text output every bidirectional control shows as its escape.
TEST(QuorvaneCLIOutput, BidirectionalControlsInNamesAreEscapedInTextAndExactInJson) {
    CLIHarness harness;
    const std::string rlo = "\xe2\x80\xae";
    const std::string presetName = "Night" + rlo + "yad\xe2\x80\xaa\xe2\x80\xac";
    const std::string displayName = "\xe2\x81\xa6Left\xe2\x81\xa9 \xe2\x81\xa7\xe2\x81\xa8";
    QuorvanePreferences preferences;
    preferences.customPresets = {
        {"p" + rlo, presetName, ColorAdjustment::neutral(), ItemKind::custom}};
    harness.preferences->save(preferences);
    harness.setDisplays({makeDisplay(1, displayName, 11)});

    EXPECT_EQ(harness.run({"list", "presets"}), 0);
    EXPECT_THAT(harness.out, HasSubstr("- p\\u202e · Night\\u202eyad\\u202a\\u202c · custom\n"));
    EXPECT_EQ(harness.out.find(rlo), std::string::npos);

    EXPECT_EQ(harness.run({"list", "displays"}), 0);
    EXPECT_THAT(harness.out, HasSubstr("\\u2066Left\\u2069 \\u2067\\u2068"));
    EXPECT_EQ(harness.out.find("\xe2\x81"), std::string::npos);

    EXPECT_EQ(harness.run({"apply-safe-preset", "p" + rlo}), 0);
    EXPECT_THAT(harness.out, HasSubstr("Safe preset applied: Night\\u202eyad"));
    EXPECT_EQ(harness.out.find(rlo), std::string::npos);

    EXPECT_EQ(harness.run({"list", "presets", "--json"}), 0);
    EXPECT_EQ(parseJson(harness.out)["result"]["items"][5]["name"], presetName);
    EXPECT_EQ(harness.run({"list", "displays", "--json"}), 0);
    EXPECT_EQ(parseJson(harness.out)["result"]["items"][0]["name"], displayName);

    // An error quoting its argument escapes it the same way.
    EXPECT_EQ(harness.run({"apply-safe-preset", "x\xe2\x81\xa9"}), 2);
    EXPECT_EQ(harness.err, "프리셋을 찾지 못했습니다: x\\u2069\n");
}

// Inside the JSON envelope the C1 and bidirectional controls are written as
// JSON escapes too, on standard output and on standard error: the name
// decodes unchanged, and nothing else of the envelope differs; the
// characters just outside those ranges pass as they are.
TEST(QuorvaneCLIOutput, C1AndBidirectionalControlsAreEscapedInsideTheJsonEnvelope) {
    CLIHarness harness;
    const std::string name =
        "Night\xe2\x80\xae"
        "yad\xc2\x9b\xe2\x81\xa6x\xe2\x81\xa9";
    QuorvanePreferences preferences;
    preferences.customPresets = {{"p", name, ColorAdjustment::neutral(), ItemKind::custom}};
    harness.preferences->save(preferences);

    EXPECT_EQ(harness.run({"list", "presets", "--json"}), 0);
    EXPECT_THAT(harness.out, HasSubstr("\"name\": \"Night\\u202eyad\\u009b\\u2066x\\u2069\""));
    for (const char* raw : {"\xe2\x80\xae", "\xc2\x9b", "\xe2\x81\xa6", "\xe2\x81\xa9"})
        EXPECT_EQ(harness.out.find(raw), std::string::npos) << raw;
    EXPECT_EQ(parseJson(harness.out)["result"]["items"][5]["name"], name);

    EXPECT_EQ(
        harness.run({"apply-safe-preset", "x\xc2\x80\xc2\x9f\xe2\x80\xaa\xe2\x81\xa7", "--json"}),
        2);
    EXPECT_EQ(harness.err,
              "{\n  \"error\": true,\n  \"exitCode\": 2,\n  \"message\": \"프리셋을 찾지 "
              "못했습니다: x\\u0080\\u009f\\u202a\\u2067\",\n  \"schemaVersion\": 1\n}\n");
    // DEL, U+00A0, U+202F, U+2065 and U+206A border the escaped ranges.
    const std::string neighbours = "\x7f\xc2\xa0\xe2\x80\xaf\xe2\x81\xa5\xe2\x81\xaa";
    EXPECT_EQ(jsonWithTerminalControlsEscaped(neighbours), neighbours);
}

TEST(QuorvaneCLIOutput, VisibleEscapesStopAtTheEdgesOfTheBidirectionalRanges) {
    // U+202F (a narrow no-break space) stands beside the first range and
    // U+2065 (unassigned) inside the second block, and pass as they are; a
    // cut sequence is escaped byte by byte. The separators U+2028 and U+2029
    // next to the first range and the deprecated format character U+206A
    // next to the second are escaped.
    const std::string neighbours = "\xe2\x80\xaf\xe2\x81\xa5";
    EXPECT_EQ(visibleControlCharacters(neighbours), neighbours);
    EXPECT_EQ(visibleControlCharacters(neighbours + "\xe2\x80"), neighbours + "\\xe2\\x80");
    EXPECT_EQ(visibleControlCharacters("\xe2\x80\xa8\xe2\x80\xa9\xe2\x81\xaa"),
              "\\u2028\\u2029\\u206a");
    EXPECT_EQ(visibleControlCharacters("\xe2\x80\xaa\xe2\x80\xae\xe2\x81\xa6\xe2\x81\xa9"),
              "\\u202a\\u202e\\u2066\\u2069");
    EXPECT_EQ(visibleControlCharacters("a\xe2\x80\xae"
                                       "b\nc",
                                       true),
              "a\\u202eb\nc");
}

// Characters that draw nothing can hide part of a name or make two names
// look alike: direction marks, the Arabic letter mark, zero-width space,
// byte order mark, soft hyphen, separators and tag characters are escaped
// like the controls. A name that spells an escape itself keeps its
// backslash doubled, so it cannot pass for an escaped control.
TEST(QuorvaneCLIOutput, InvisibleCharactersAndBackslashesAreEscapedInTextAndExactInJson) {
    EXPECT_EQ(visibleControlCharacters("\xe2\x80\x8e\xe2\x80\x8f\xd8\x9c\xe2\x80\x8b\xef\xbb\xbf"
                                       "\xc2\xad\xe2\x80\xa8\xe2\x80\xa9"),
              "\\u200e\\u200f\\u061c\\u200b\\ufeff\\u00ad\\u2028\\u2029");
    EXPECT_EQ(visibleControlCharacters("tag\xf3\xa0\x80\x81"), "tag\\U000e0001");
    EXPECT_EQ(visibleControlCharacters("a\\b\\\nc", true), "a\\\\b\\\\\nc");

    CLIHarness harness;
    const std::string spoof = "Night\\u202e";
    const std::string hidden = "Da\xc2\xady\xe2\x80\x8b";
    QuorvanePreferences preferences;
    preferences.customPresets = {{"spoof", spoof, ColorAdjustment::neutral(), ItemKind::custom},
                                 {"hidden", hidden, ColorAdjustment::neutral(), ItemKind::custom}};
    harness.preferences->save(preferences);

    EXPECT_EQ(harness.run({"list", "presets"}), 0);
    EXPECT_THAT(harness.out, HasSubstr("- spoof · Night\\\\u202e · custom\n"));
    EXPECT_THAT(harness.out, HasSubstr("- hidden · Da\\u00ady\\u200b · custom\n"));
    EXPECT_EQ(harness.run({"apply-safe-preset", "x\xe2\x80\x8f"}), 2);
    EXPECT_EQ(harness.err, "프리셋을 찾지 못했습니다: x\\u200f\n");

    EXPECT_EQ(harness.run({"list", "presets", "--json"}), 0);
    const auto items = parseJson(harness.out)["result"]["items"];
    EXPECT_EQ(items[5]["name"], spoof);
    EXPECT_EQ(items[6]["name"], hidden);
}

TEST(QuorvaneCLIOutput, JsonIsPrettyPrintedWithSortedKeysTwoSpacesAndOneFinalLineFeed) {
    // The whole text, so a change of indentation, key order, spacing after
    // colons or the final line feed shows; scripts parse this output.
    CLIHarness harness;
    QuorvanePreferences preferences;
    preferences.textSize = QuorvaneTextSize::veryLarge;
    preferences.brightnessSyncEnabled = true;
    harness.preferences->save(preferences);
    EXPECT_EQ(harness.run({"read", "settings", "--json"}), 0);
    EXPECT_EQ(harness.out,
              "{\n"
              "  \"command\": \"read settings\",\n"
              "  \"result\": {\n"
              "    \"settings\": {\n"
              "      \"appearance\": \"system\",\n"
              "      \"autoApplyEnabled\": true,\n"
              "      \"brightnessSyncEnabled\": true,\n"
              "      \"customDisplayGroupCount\": 0,\n"
              "      \"customPresetCount\": 0,\n"
              "      \"customSceneCount\": 0,\n"
              "      \"savedAdjustmentCount\": 0,\n"
              "      \"sceneHotKeyBindingCount\": 5,\n"
              "      \"sceneHotKeysEnabled\": false,\n"
              "      \"schemaVersion\": 1,\n"
              "      \"softwareColorCorrectionEnabled\": true,\n"
              "      \"textSize\": \"veryLarge\"\n"
              "    },\n"
              "    \"type\": \"settings\"\n"
              "  },\n"
              "  \"schemaVersion\": 1\n"
              "}\n");
}

}  // namespace
}  // namespace quorvane
