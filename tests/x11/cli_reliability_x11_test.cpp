// The built `quorvane` under pressure on a real X server: commands started
// together, a standard output closed while the settings lock is held, and
// an X server that dies while commands run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <X11/extensions/randr.h>

#include <atomic>
#include <csignal>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <thread>

#include "models/coding/text_joining.hpp"
#include "models/display/display_control_error.hpp"
#include "models/presets/display_preset.hpp"
#include "platform/linux/display_manager.hpp"
#include "platform/linux/gamma_controller.hpp"
#include "platform/linux/shared_x_connection.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"
#include "services/persistence/quorvane_settings_document_coder.hpp"
#include "support/mount_rights.hpp"
#include "support/temporary_folder.hpp"
#include "x11/cli_executable_x11_fixture.hpp"
#include "x11/cutting_x_proxy.hpp"
#include "x11/private_x_server.hpp"
#include "x11/vanishing_x_server.hpp"

namespace quorvane {
namespace {

using testing::CommandLine;
using ::testing::HasSubstr;
using testing::runQuorvane;
using testing::TemporaryHome;

using testing::kOutputs;

// RandR's major opcode on that server; 0 when it cannot be asked.
int randrOpcode(const std::string& display) {
    auto probe = XConnection::open(display);
    int randr = 0;
    int event = 0;
    int error = 0;
    if (!probe || !XQueryExtension(probe->display(), "RANDR", &randr, &event, &error))
        return 0;
    return randr;
}

// The presets a round hands out, so consecutive rounds always differ.
const DisplayPreset& presetOf(std::size_t index) {
    static const auto presets = DisplayPreset::builtIns();
    return presets[1 + index % (presets.size() - 1)];
}

class CLIReliabilityX11Test : public testing::CLIExecutableX11Fixture {
  protected:
    // Runs the commands together: each waits at one barrier, which opens
    // once all are started. Returns their exit statuses.
    std::vector<int> runTogether(const std::vector<std::vector<std::string>>& commands) {
        testing::Barrier barrier;
        std::vector<std::unique_ptr<CommandLine>> lines;
        std::vector<pid_t> pids;
        for (const auto& arguments : commands) {
            lines.push_back(std::make_unique<CommandLine>(arguments, home, displayName));
            pids.push_back(testing::startQuorvaneAtBarrier(*lines.back(), barrier));
        }
        barrier.open();
        std::vector<int> statuses;
        for (const pid_t pid : pids)
            statuses.push_back(testing::waitForExit(pid));
        return statuses;
    }
};

TEST_F(CLIReliabilityX11Test, CommandsStartedTogetherForDifferentDisplaysLoseNoSavedValue) {
    const auto ids = selectors();
    ASSERT_EQ(ids.size(), 3u);
    constexpr std::size_t kRounds = 8;
    for (std::size_t round = 0; round < kRounds; ++round) {
        std::vector<std::vector<std::string>> commands;
        for (std::size_t i = 0; i < kOutputs.size(); ++i) {
            commands.push_back({"cli", "apply-safe-preset", presetOf(round + i).id, "--display",
                                std::to_string(lit(kOutputs[i]).id)});
        }
        for (const int status : runTogether(commands))
            ASSERT_EQ(status, 0) << "round " << round;
        const auto record = savedAdjustments();
        for (std::size_t i = 0; i < kOutputs.size(); ++i) {
            const auto& wanted = presetOf(round + i).adjustment;
            ASSERT_EQ(record.size(), 3u) << "round " << round;
            EXPECT_EQ(record.at(ids.at(kOutputs[i])), wanted) << "round " << round;
            EXPECT_EQ(ramp(kOutputs[i]), expectedRamp(wanted, kOutputs[i])) << "round " << round;
        }
    }
}

TEST_F(CLIReliabilityX11Test, CommandsStartedTogetherForAllDisplaysLeaveScreenAndRecordAgreeing) {
    const auto ids = selectors();
    constexpr std::size_t kRounds = 8;
    for (std::size_t round = 0; round < kRounds; ++round) {
        std::vector<std::vector<std::string>> commands;
        for (std::size_t i = 0; i < 3; ++i)
            commands.push_back({"cli", "apply-safe-preset", presetOf(round + i).id});
        const auto statuses = runTogether(commands);
        // Whichever command asked last, screen and record both show its
        // preset: one that asked earlier and took the lock after it left
        // every display to it, with status 3.
        const auto record = savedAdjustments();
        ASSERT_EQ(record.size(), 3u);
        const auto& last = record.at(ids.at("DUMMY0"));
        bool lastCarriedOut = false;
        for (std::size_t i = 0; i < statuses.size(); ++i) {
            ASSERT_TRUE(statuses[i] == 0 || statuses[i] == 3) << "round " << round;
            lastCarriedOut =
                lastCarriedOut || (statuses[i] == 0 && presetOf(round + i).adjustment == last);
        }
        EXPECT_TRUE(lastCarriedOut) << "round " << round;
        for (const auto& name : kOutputs) {
            EXPECT_EQ(record.at(ids.at(name)), last) << "round " << round << " " << name;
            EXPECT_EQ(ramp(name), expectedRamp(last, name)) << "round " << round << " " << name;
        }
    }
}

// A command holds the settings lock while its screen write stalls (held by
// a proxy in front of the server), and meanwhile the lock file is removed,
// replaced, or made a link (to nothing, or to a file). A second command for
// another display goes at once; the first, going on, takes the lock again
// and saves on top of the second's record: both presets stay, on the screen
// and in the record, and the lock file is a regular one again.
TEST_F(CLIReliabilityX11Test, ALockFileTakenFromUnderAHoldingCommandLosesNoChange) {
    int randr = 0;
    int event = 0;
    int error = 0;
    ASSERT_TRUE(XQueryExtension(connection->display(), "RANDR", &randr, &event, &error));
    const auto ids = selectors();
    const auto lockFile = home.configFolder() / ".lock";
    const auto theirs = home.path() / "their-lock";
    std::ofstream(theirs) << "theirs";
    // Each puts its file at the lock file's name, or removes it.
    const std::vector<std::pair<std::string, std::function<void(const std::filesystem::path&)>>>
        takings{
            {"removed", [](const auto&) {}},
            {"replaced", [](const auto& file) { std::ofstream(file) << ""; }},
            {"dangling link",
             [&](const auto& file) {
                 std::filesystem::create_symlink(home.path() / "none", file);
             }},
            {"link to a file",
             [&](const auto& file) { std::filesystem::create_symlink(theirs, file); }},
        };
    const auto& movie = DisplayPreset::builtIns()[3].adjustment;
    for (const auto& [name, takeAway] : takings) {
        SCOPED_TRACE(name);
        ASSERT_EQ(run({"apply-safe-preset", "coding"}).status, 0);
        testing::CuttingXProxy proxy(displayName,
                                     {static_cast<std::uint8_t>(randr), X_RRSetCrtcGamma, 1, true});
        ASSERT_FALSE(proxy.display().empty());
        auto holding = std::async(std::launch::async, [&] {
            return runQuorvane({"cli", "apply-safe-preset", "night", "--display", ids.at("DUMMY0")},
                               home, proxy.display());
        });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (proxy.holds() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(proxy.holds(), 1);
        std::filesystem::remove(lockFile);
        takeAway(home.path() / "aside");
        if (std::filesystem::exists(std::filesystem::symlink_status(home.path() / "aside")))
            std::filesystem::rename(home.path() / "aside", lockFile);

        const auto second = run({"apply-safe-preset", "movie", "--display", ids.at("DUMMY1")});
        EXPECT_EQ(second.status, 0) << second.err;
        proxy.release();
        const auto first = holding.get();
        EXPECT_EQ(first.status, 0) << first.err;

        const auto record = savedAdjustments();
        EXPECT_EQ(record.at(ids.at("DUMMY0")), night());
        EXPECT_EQ(record.at(ids.at("DUMMY1")), movie);
        EXPECT_EQ(ramp("DUMMY0"), expectedRamp(night(), "DUMMY0"));
        EXPECT_EQ(ramp("DUMMY1"), expectedRamp(movie, "DUMMY1"));
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(lockFile)));
    }
    EXPECT_EQ(testing::fileContents(theirs), "theirs");
}

TEST_F(CLIReliabilityX11Test, AClosedStandardOutputNeverLandsInTheLockOrTheRecord) {
    const auto result = runQuorvane({"cli", "apply-safe-preset", "night"}, home, displayName,
                                    testing::StandardOutput::closed);
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, "표준 출력에 쓰지 못했습니다: Bad file descriptor\n");
    EXPECT_EQ(std::filesystem::file_size(home.configFolder() / ".lock"), 0u);
    ASSERT_TRUE(home.preferencesText());
    EXPECT_EQ(savedAdjustments().size(), 3u);  // the record itself is whole
}

TEST_F(CLIReliabilityX11Test, ASaveIntoAFolderTheUserCannotWriteIsStatusThree) {
    std::filesystem::create_directories(home.configFolder());
    // As an unprivileged user (root writes anywhere): the folder is theirs
    // but read-only. Xorg lets local clients of any user in; setpriv drops
    // root to nobody.
    std::vector<std::string> command;
    if (::geteuid() == 0) {
        for (const auto& folder : {home.path(), home.path() / ".config", home.configFolder()})
            ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
        command = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    }
    ASSERT_EQ(::chmod(home.configFolder().c_str(), 0500), 0);
    command.insert(command.end(),
                   {testing::quorvaneExecutable(), "cli", "apply-safe-preset", "night", "--json"});
    const auto result = testing::runProgram(
        command.front(), std::vector<std::string>(command.begin() + 1, command.end()), home,
        displayName);
    ::chmod(home.configFolder().c_str(), 0700);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_EQ(result.out, "");
    const auto envelope = parseJson(result.err);
    EXPECT_EQ(envelope["exitCode"], 3);
    EXPECT_THAT(
        envelope["message"].get<std::string>(),
        HasSubstr("설정 폴더에 쓸 수 없어 저장하지 못했습니다: " + home.configFolder().string()));
    EXPECT_FALSE(home.preferencesText());
}

// A lock file that can be neither locked nor replaced (a folder something is
// mounted on) is never taken for a free lock: the command changes neither
// the screen nor the record, and says why, with status 3.
TEST_F(CLIReliabilityX11Test, ALockThatCanBeNeitherTakenNorReplacedChangesNothing) {
    ASSERT_EQ(run({"apply-safe-preset", "coding"}).status, 0);
    const auto saved = savedAdjustments();
    const auto shown = ramp("DUMMY0");
    const auto lockFile = home.configFolder() / ".lock";
    std::filesystem::remove(lockFile);
    std::filesystem::create_directories(lockFile);
    if (const auto refused = testing::MountRights::mountTmpfs(lockFile, "64k"))
        GTEST_SKIP() << "no file system can be mounted here: " << *refused;
    struct Unmount {
        std::filesystem::path path;
        ~Unmount() { testing::MountRights::unmount(path); }
    } unmount{lockFile};

    const auto result = run({"apply-safe-preset", "night", "--json"});
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_EQ(result.out, "");
    const auto envelope = parseJson(result.err);
    EXPECT_EQ(envelope["exitCode"], 3);
    EXPECT_THAT(envelope["message"].get<std::string>(),
                HasSubstr("화면에 적용하지 않았습니다: 설정 잠금 파일을 잠글 수도 새 파일로 바꿀 "
                          "수도 없어 저장하지 못했습니다: " +
                          lockFile.string()));
    EXPECT_EQ(savedAdjustments(), saved);
    EXPECT_EQ(ramp("DUMMY0"), shown);
}

TEST(XServerLossTest, ALostConnectionBecomesATypedErrorAndTheProcessLivesOn) {
    testing::PrivateXServer server;
    if (server.display().empty())
        GTEST_SKIP() << "no private X server could be started";
    // Writing to the dead server's socket must fail, not kill the test.
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    auto connection = std::make_shared<SharedXConnection>(server.display());
    DisplayManager manager(connection);
    GammaController gamma(GammaController::kStandardTableSize, connection);
    SimulatedBrightnessController brightness;
    DisplaySnapshotRequest failing{false, false, {}, true};

    const auto displays = manager.activeDisplays(brightness, failing);
    ASSERT_EQ(displays.size(), 3u);
    const auto tables = gamma.makeTransferTables(DisplayPreset::builtIns()[2].adjustment);
    gamma.setTransferTables(tables, displays[0].id);

    server.stop();
    try {
        gamma.setTransferTables(tables, displays[1].id);
        ADD_FAILURE() << "a write to a dead server succeeded";
    } catch (const DisplayControlError& error) {
        EXPECT_TRUE(error.isDisplayServerUnreachable()) << error.description();
    }
    EXPECT_THROW(
        {
            try {
                manager.activeDisplays(brightness, failing);
            } catch (const DisplayControlError& error) {
                EXPECT_TRUE(error.isDisplayServerUnreachable());
                throw;
            }
        },
        DisplayControlError);
    // The application's reads never throw: no server is no display.
    EXPECT_TRUE(manager.activeDisplays(brightness, DisplaySnapshotRequest{}).empty());
    std::signal(SIGPIPE, previous);
}

// The rare moments of the loop below, made to happen every time: the server
// goes away while the command sets its connection up, or while it closes it
// after its work is done.
TEST(XServerLossTest, AServerGoneWhileTheConnectionIsSetUpIsOurUnreachableError) {
    TemporaryHome home;
    for (const auto moment : {testing::VanishingXServer::Moment::settingUp,
                              testing::VanishingXServer::Moment::finishingSetUp}) {
        testing::VanishingXServer server(moment);
        ASSERT_FALSE(server.display().empty());
        const std::string message = "X 서버에 연결할 수 없습니다: $DISPLAY=" + server.display() +
                                    ". 그래픽 세션이 실행 중인지, $DISPLAY 값이 맞는지 확인하세요.";

        const auto text =
            runQuorvane({"cli", "apply-safe-preset", "night"}, home, server.display());
        EXPECT_EQ(text.status, 2) << text.err;
        EXPECT_EQ(text.err, message + "\n");

        const auto json =
            runQuorvane({"cli", "list", "displays", "--json"}, home, server.display());
        EXPECT_EQ(json.status, 2) << json.err;
        EXPECT_EQ(json.out, "");
        const auto envelope = parseJson(json.err);
        EXPECT_EQ(envelope["exitCode"], 2);
        EXPECT_EQ(envelope["message"], message);
        EXPECT_GE(server.vanished(), 2);
    }
    EXPECT_FALSE(home.preferencesText());
}

// Right after the reply that sets the connection up, before XOpenDisplay
// has made even its default graphics contexts.
TEST(XServerLossTest, AServerGoneRightAfterAnsweringTheSetUpIsOurUnreachableError) {
    TemporaryHome home;
    testing::VanishingXServer server(testing::VanishingXServer::Moment::answeringSetUp,
                                     testing::VanishingXServer::setupReplySize());
    ASSERT_FALSE(server.display().empty());
    for (const auto& command : std::vector<std::vector<std::string>>{
             {"cli", "apply-safe-preset", "night"}, {"cli", "read", "diagnostics", "--json"}}) {
        const auto result = runQuorvane(command, home, server.display());
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_EQ(result.out, "");
        // A sanitized build may add its leak checker's summary after it.
        EXPECT_THAT(result.err,
                    HasSubstr("X 서버에 연결할 수 없습니다: $DISPLAY=" + server.display()));
    }
    EXPECT_EQ(server.vanished(), 2);
    EXPECT_FALSE(home.preferencesText());
}

TEST(XServerLossTest, AServerGoneWhileTheConnectionClosesKeepsTheCommandsOutcome) {
    testing::VanishingXServer server(testing::VanishingXServer::Moment::closing);
    ASSERT_FALSE(server.display().empty());
    TemporaryHome home;
    // The stand-in server has no RandR, so no display at all.
    const auto result = runQuorvane({"cli", "list", "displays", "--json"}, home, server.display());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(parseJson(result.out)["result"]["items"], Json::array());
    EXPECT_EQ(server.vanished(), 1);
}

// The server goes away while a gamma write waits for the ramp size of its
// CRTC: the size never comes, and that is the loss of the server, not a
// fault of that display. Killed at random in the loop below, a server meets
// this moment only now and then (at the last display of a command, which
// then counted that display as failed, saved the others and ended with 3);
// here it is met every time.
TEST(XServerLossTest, AServerGoneWhileARampSizeIsReadEndsTheWriteAsALostServer) {
    testing::PrivateXServer server;
    if (server.display().empty())
        GTEST_SKIP() << "no private X server could be started";
    const int randr = randrOpcode(server.display());
    ASSERT_GT(randr, 0);
    const auto cutAt = [randr](int occurrence) {
        return testing::CuttingXProxy::Cut{static_cast<std::uint8_t>(randr), X_RRGetCrtcGammaSize,
                                           occurrence};
    };
    {
        testing::CuttingXProxy proxy(server.display(), cutAt(1));
        ASSERT_FALSE(proxy.display().empty());
        auto connection = std::make_shared<SharedXConnection>(proxy.display());
        DisplayManager manager(connection);
        GammaController gamma(GammaController::kStandardTableSize, connection);
        SimulatedBrightnessController brightness;
        const auto displays =
            manager.activeDisplays(brightness, DisplaySnapshotRequest{false, false, {}, true});
        ASSERT_EQ(displays.size(), 3u);
        try {
            gamma.setTransferTables(
                gamma.makeTransferTables(DisplayPreset::builtIns()[2].adjustment), displays[0].id);
            ADD_FAILURE() << "a write to a lost server succeeded";
        } catch (const DisplayControlError& error) {
            EXPECT_TRUE(error.isDisplayServerUnreachable()) << error.description();
        }
        EXPECT_EQ(proxy.cuts(), 1);
    }
    // The command's third display: the two before it were written, but the
    // server is gone, so the command ends as for a lost server and saves
    // nothing.
    TemporaryHome home;
    testing::CuttingXProxy proxy(server.display(), cutAt(3));
    ASSERT_FALSE(proxy.display().empty());
    const auto result = runQuorvane({"cli", "apply-safe-preset", "night"}, home, proxy.display());
    EXPECT_EQ(result.status, 2) << result.out << result.err;
    // Told as the lost connection it is, not as a server never reached.
    EXPECT_EQ(result.err, "X 서버와의 연결이 끊어져 종료합니다: $DISPLAY=" + proxy.display() +
                              ". 설정은 바꾸지 않았습니다.\n");
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(home.preferencesText());
    EXPECT_EQ(proxy.cuts(), 1);
}

// A command's connection that broke is never opened again: what it read of
// one server is neither named nor written through a connection to another
// (a server restarted meanwhile, whose outputs may be others under the same
// IDs). The displays it read are not listed unnamed either.
TEST(XServerLossTest, ACommandsConnectionThatBrokeStaysBroken) {
    testing::PrivateXServer server;
    if (server.display().empty())
        GTEST_SKIP() << "no private X server could be started";
    const int randr = randrOpcode(server.display());
    ASSERT_GT(randr, 0);
    // Each connection is cut as its outputs are read.
    testing::CuttingXProxy proxy(server.display(),
                                 {static_cast<std::uint8_t>(randr), X_RRGetOutputPrimary, 1});
    ASSERT_FALSE(proxy.display().empty());
    auto connection = std::make_shared<SharedXConnection>(proxy.display(),
                                                          SharedXConnection::AfterLoss::stayLost);
    DisplayManager manager(connection);
    GammaController gamma(GammaController::kStandardTableSize, connection);
    SimulatedBrightnessController brightness;
    const auto lost = [](const auto& call) {
        try {
            call();
        } catch (const DisplayControlError& error) {
            return error.isDisplayServerLost();
        }
        return false;
    };
    EXPECT_TRUE(lost([&] {
        manager.activeDisplays(brightness, DisplaySnapshotRequest{false, false, {}, true});
    }));
    EXPECT_TRUE(lost([&] { manager.screenNamesByDisplayID(); }));
    EXPECT_TRUE(lost([&] {
        manager.activeDisplays(brightness, DisplaySnapshotRequest{false, false, {}, true});
    }));
    const auto answers = gamma.setTransferTablesOnEach(
        gamma.makeTransferTables(DisplayPreset::builtIns()[2].adjustment), {1});
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_TRUE(answers[0] && answers[0]->isDisplayServerUnreachable());
    EXPECT_EQ(proxy.cuts(), 1);
}

// Commands of the record alone never ask the server anything, so no loss
// can meet them.
TEST(XServerLossTest, CommandsOfTheRecordAloneNeverAskTheServer) {
    testing::PrivateXServer server;
    if (server.display().empty())
        GTEST_SKIP() << "no private X server could be started";
    const testing::CuttingXProxy::Cut uncut{std::nullopt, std::nullopt, 0};
    for (const auto& command : std::vector<std::vector<std::string>>{
             {"cli", "read", "settings"}, {"cli", "list", "presets"}, {"cli", "list", "scenes"}}) {
        TemporaryHome home;
        testing::CuttingXProxy proxy(server.display(), uncut);
        EXPECT_EQ(runQuorvane(command, home, proxy.display()).status, 0);
        EXPECT_EQ(proxy.requests(), 0) << joined(command, " ");
    }
}

// A command that asks the server; the import plan's file is put after its
// words.
struct CommandAskingTheServer {
    std::string name;
    std::vector<std::string> arguments;
    bool importsAFile = false;

    friend void PrintTo(const CommandAskingTheServer& command, std::ostream* out) {
        *out << joined(command.arguments, " ");
    }
};

// Each command is a case of its own, so a command that fails at one cut
// cannot hide how the others end.
class XServerLossAtEachRequestTest : public ::testing::TestWithParam<CommandAskingTheServer> {};

// The server goes at each request of a command in turn, from the first of
// its connection's set-up to the last of its close. Until XOpenDisplay has
// returned, the server was never reached; from then on the connection broke,
// and the command says so; while the connection closes, the command's work
// is done and stands. Never a signal or Xlib's own words, nothing saved. An
// import plan is still shown without a server, yet not from the displays of
// a connection that broke while they were read.
TEST_P(XServerLossAtEachRequestTest, AServerGoneAtAnyRequestEndsTheCommandWithOurStatusAndMessage) {
    testing::PrivateXServer server;
    if (server.display().empty())
        GTEST_SKIP() << "no private X server could be started";
    using Cut = testing::CuttingXProxy::Cut;
    // Counts every request, cutting none.
    const Cut uncut{std::nullopt, std::nullopt, 0};
    int opening = 0;
    int closing = 0;
    {
        testing::CuttingXProxy proxy(server.display(), uncut);
        ASSERT_FALSE(proxy.display().empty());
        auto connection = XConnection::open(proxy.display());
        ASSERT_TRUE(connection);
        opening = proxy.requests();
        connection.reset();
        closing = proxy.requests() - opening;
    }
    const auto unreachable = [](const std::string& display) {
        return "X 서버에 연결할 수 없습니다: $DISPLAY=" + display +
               ". 그래픽 세션이 실행 중인지, $DISPLAY 값이 맞는지 확인하세요.";
    };
    const auto lost = [](const std::string& display) {
        return "X 서버와의 연결이 끊어져 종료합니다: $DISPLAY=" + display +
               ". 설정은 바꾸지 않았습니다.";
    };
    auto command = GetParam().arguments;
    testing::TemporaryFolder files;
    if (GetParam().importsAFile) {
        QuorvanePreferences imported;
        imported.displayAdjustments["vendor-1-model-2-serial-3-external"].warmth = -0.2;
        const auto settingsFile = (files / "Quorvane-Settings.json").string();
        std::ofstream(settingsFile, std::ios::binary) << QuorvaneSettingsDocumentCoder{}.encode(
            QuorvaneSettingsDocumentCoder::exportDocument(imported, Date{}));
        command.insert(command.end(), {"--file", settingsFile, "--json"});
    }
    const bool json = command.back() == "--json";
    testing::ExecutableResult whole;
    int requests = 0;
    {
        TemporaryHome home;
        testing::CuttingXProxy proxy(server.display(), uncut);
        whole = runQuorvane(command, home, proxy.display());
        requests = proxy.requests();
    }
    ASSERT_EQ(whole.status, 0) << whole.err;
    ASSERT_GT(requests, opening + closing);
    for (int at = 1; at <= requests; ++at) {
        TemporaryHome home;
        testing::CuttingXProxy proxy(server.display(), Cut{std::nullopt, std::nullopt, at});
        const auto result = runQuorvane(command, home, proxy.display());
        SCOPED_TRACE("quorvane " + joined(command, " ") + ", cut at request " + std::to_string(at) +
                     " of " + std::to_string(requests) + "\nstatus " +
                     std::to_string(result.status) + ", signal " + std::to_string(result.signal) +
                     "\nstandard output:\n" + result.out + "\nstandard error:\n" + result.err);
        EXPECT_EQ(result.signal, 0);
        if (result.signal != 0)
            continue;
        EXPECT_EQ(proxy.cuts(), 1);
        // Nothing of Xlib's own ("request 0 length 12 would exceed
        // buffer size", "ignoring invalid extension event").
        EXPECT_EQ(result.err.find("Xlib"), std::string::npos);
        EXPECT_EQ(result.err.find("invalid"), std::string::npos);
        if (at > requests - closing) {
            EXPECT_EQ(result.status, 0);
            EXPECT_EQ(result.out, whole.out);
            continue;
        }
        if (GetParam().importsAFile && at <= opening) {
            // Planned with no display, which maps nothing of this file.
            EXPECT_EQ(result.status, 0);
            EXPECT_EQ(result.out, whole.out);
            EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
                      unreachable(proxy.display()) + " 연결된 디스플레이 없이 계획을 미리 봅니다.");
            continue;
        }
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(home.preferencesText());
        const auto message = at <= opening ? unreachable(proxy.display()) : lost(proxy.display());
        // A sanitized build may add its leak checker's summary after it.
        if (!json) {
            EXPECT_EQ(result.err.substr(0, result.err.find('\n')), message);
            continue;
        }
        // Whatever came instead of the envelope fails here, not the cases after it.
        const auto told =
            Json::parse(result.err.substr(0, result.err.find("\n}") + 2), nullptr, false);
        EXPECT_TRUE(told.is_object());
        EXPECT_EQ(told.is_object() ? told.value("message", "") : "", message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachCommand, XServerLossAtEachRequestTest,
    ::testing::Values(
        CommandAskingTheServer{"ListDisplays", {"cli", "list", "displays"}},
        CommandAskingTheServer{"ReadDisplaysAsJson", {"cli", "read", "displays", "--json"}},
        CommandAskingTheServer{"ReadDiagnostics", {"cli", "read", "diagnostics"}},
        CommandAskingTheServer{"ApplySafePreset", {"cli", "apply-safe-preset", "night"}},
        CommandAskingTheServer{
            "PreviewImportPlan", {"cli", "preview", "import-plan"}, /*importsAFile=*/true}),
    [](const ::testing::TestParamInfo<CommandAskingTheServer>& info) { return info.param.name; });

TEST(XServerLossTest, EveryCommandOfALoopEndsWithOneOfOurStatusesWhenTheServerDies) {
    testing::PrivateXServer server;
    if (server.display().empty())
        GTEST_SKIP() << "no private X server could be started";
    TemporaryHome home;
    const std::vector<std::vector<std::string>> loop = {
        {"cli", "apply-safe-preset", "night", "--json"},
        {"cli", "list", "displays"},
        {"cli", "apply-safe-preset", "coding"},
        {"cli", "read", "diagnostics", "--json"},
    };
    // What each run did, kept whole so a failure shows everything the
    // command said, on which command, before or after the stop.
    struct Run {
        std::size_t command = 0;
        bool afterTheStop = false;
        testing::ExecutableResult result;
    };
    std::atomic<int> finished = 0;
    std::atomic<bool> stopped = false;
    std::vector<Run> runs;
    std::thread runner([&] {
        // Commands keep running while the server is stopped under them...
        for (std::size_t i = 0; !stopped && i < 200; ++i) {
            runs.push_back({i % loop.size(), false,
                            runQuorvane(loop[i % loop.size()], home, server.display())});
            ++finished;
        }
        // ...and after it is gone.
        for (std::size_t i = 0; i < loop.size(); ++i)
            runs.push_back({i, true, runQuorvane(loop[i], home, server.display())});
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (finished < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    server.stop();
    stopped = true;
    runner.join();

    // 0 before the server died, 2 with our message after; never Xlib's own
    // exit (1) or a signal. After the stop every command must fail in our
    // way.
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const auto& [command, afterTheStop, result] = runs[i];
        SCOPED_TRACE("run " + std::to_string(i) + (afterTheStop ? " after" : " before") +
                     " the stop: quorvane " + joined(loop[command], " ") + "\nstatus " +
                     std::to_string(result.status) + ", signal " + std::to_string(result.signal) +
                     "\nstandard output:\n" + result.out + "\nstandard error:\n" + result.err);
        EXPECT_TRUE(result.status == 0 || result.status == 2);
        EXPECT_EQ(result.err.find("X connection"), std::string::npos);
        EXPECT_EQ(result.err.find("XIO"), std::string::npos);
        // Never reached, or lost mid-command.
        if (result.status == 2) {
            EXPECT_THAT(result.err,
                        ::testing::AnyOf(
                            HasSubstr("X 서버에 연결할 수 없습니다: $DISPLAY=" + server.display()),
                            HasSubstr("X 서버와의 연결이 끊어져 종료합니다: $DISPLAY=" +
                                      server.display())));
        }
    }
}

}  // namespace
}  // namespace quorvane
