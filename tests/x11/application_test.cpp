// The windowed application end to end on the private X server: the real
// program with a private home, later launches handing over to it, the socket
// surviving bad clients, and the outputs handed back on SIGTERM. Effects of
// the other process are polled with deadlines.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <future>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "app/composition/x_server_reachability.hpp"
#include "app/shell/quit_watchdog.hpp"
#include "models/coding/json_coding.hpp"
#include "models/color/gamma_ramp.hpp"
#include "models/color/transfer_tables.hpp"
#include "models/presets/display_preset.hpp"
#include "models/recovery/quorvane_recovery_journal.hpp"
#include "models/settings/quorvane_preferences.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/record_write_stamp.hpp"
#include "support/fuse_ext4_image.hpp"
#include "support/other_lock_holder.hpp"
#include "support/small_disk.hpp"
#include "support/temporary_folder.hpp"
#include "x11/application_process.hpp"
#include "x11/gathering_instance_relay.hpp"
#include "x11/private_x_server.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

using testing::eventually;
using testing::LaunchedProcess;

// A client of the instance socket that the test drives byte by byte.
class RawSocket {
  public:
    explicit RawSocket(const std::filesystem::path& path) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawSocket() { ::close(fd_); }
    bool connected() const { return connected_; }
    void send(const std::string& bytes) const {
        (void)::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    // Everything the other side sends until it closes the connection, or
    // until `timeout` passes.
    std::string receiveAll(std::chrono::milliseconds timeout) const {
        std::string received;
        eventually(
            [&] {
                pollfd entry{fd_, POLLIN, 0};
                if (::poll(&entry, 1, 10) <= 0)
                    return false;
                char buffer[256];
                const ssize_t count = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
                if (count > 0)
                    received.append(buffer, static_cast<std::size_t>(count));
                return count == 0 || (count < 0 && errno != EAGAIN);
            },
            timeout);
        return received;
    }
    // Whether the other side closed the connection within `timeout`.
    bool closedByPeer(std::chrono::milliseconds timeout) const {
        return eventually(
            [this] {
                pollfd entry{fd_, POLLIN, 0};
                if (::poll(&entry, 1, 0) <= 0)
                    return false;
                char buffer[256];
                return ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT) <= 0;
            },
            timeout);
    }

  private:
    int fd_ = -1;
    bool connected_ = false;
};

std::string header(std::uint32_t length) {
    return {static_cast<char>(length >> 24), static_cast<char>((length >> 16) & 0xFF),
            static_cast<char>((length >> 8) & 0xFF), static_cast<char>(length & 0xFF)};
}

// The instance socket of the application on `display` in `home`.
std::filesystem::path instanceSocket(const testing::ApplicationHome& home,
                                     const std::string& display) {
    std::string part = display;
    for (char& c : part)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-')
            c = '_';
    return home.runtimeFolder() / ("quorvane-" + part + ".socket");
}

// The signals a process blocks, as its status file under /proc gives them
// (none when it holds no such line: a thread that ended meanwhile).
std::optional<std::uint64_t> blockedSignals(const std::filesystem::path& status) {
    std::ifstream file(status);
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("SigBlk:", 0) == 0)
            return std::stoull(line.substr(7), nullptr, 16);
    }
    return std::nullopt;
}

// SIGTERM, SIGINT and SIGHUP as bits of a /proc signal mask.
std::uint64_t quitSignalBits() {
    std::uint64_t bits = 0;
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        bits |= std::uint64_t{1} << (number - 1);
    return bits;
}

// Preferences that let an automation URL apply a preset.
void allowPresetURLs(const testing::ApplicationHome& home) {
    QuorvanePreferences preferences;
    preferences.urlPresetAutomationEnabled = true;
    home.writePreferences(*preferences.encoded());
}

class ApplicationTest : public testing::XServerTest {
  protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        allowPresetURLs(home);
        // A freshly started server's ramps are its own, not necessarily our
        // identity ramp, and the first test on it must not depend on that.
        resetRampsToIdentity();
    }

    void TearDown() override {
        first.reset();
        if (connection)
            resetRampsToIdentity();
    }

    std::unique_ptr<LaunchedProcess> launch(std::vector<std::string> arguments = {}) {
        return std::make_unique<LaunchedProcess>(QUORVANE_EXECUTABLE, std::move(arguments),
                                                 home.environment(displayName), home.log());
    }

    // A launch whose standard error alone goes to `errors`.
    std::unique_ptr<LaunchedProcess> launchTellingErrors(std::vector<std::string> arguments,
                                                         const std::filesystem::path& errors) {
        return std::make_unique<LaunchedProcess>(QUORVANE_EXECUTABLE, std::move(arguments),
                                                 home.environment(displayName), home.log(), errors);
    }

    std::filesystem::path socketPath() const { return instanceSocket(home, displayName); }

    // Starts the first instance, through `wrapper` (a program and its
    // arguments) when given, and waits until it serves its socket.
    void startFirst(std::vector<std::string> wrapper = {}) {
        wrapper.push_back(QUORVANE_EXECUTABLE);
        first = std::make_unique<LaunchedProcess>(
            wrapper.front(), std::vector<std::string>(wrapper.begin() + 1, wrapper.end()),
            home.environment(displayName), home.log());
        ASSERT_TRUE(eventually([&] { return std::filesystem::exists(socketPath()); }))
            << home.logText();
    }

    // The settings lock held by another process (a stopped Quorvane), taken
    // once the application's own save, if any, let go of it.
    std::unique_ptr<testing::OtherLockHolder> holdTheLockElsewhere() {
        std::unique_ptr<testing::OtherLockHolder> other;
        EXPECT_TRUE(eventually([&] {
            other = std::make_unique<testing::OtherLockHolder>(home.configFolder() / ".lock");
            return other->held();
        }));
        return other;
    }

    bool showsIdentity(const char* name) {
        auto current = currentRamp(name);
        return current && *current == GammaRamp::identity(current->size());
    }

    // The ramp the output shows for `adjustment`.
    std::optional<GammaRamp> rampOf(const ColorAdjustment& adjustment, const char* name) {
        auto target = output(name);
        if (!target)
            return std::nullopt;
        return GammaRamp::fromTables(buildTransferTables(adjustment, 256),
                                     crtcGammaSize(*connection, target->crtc));
    }

    // Every lit output shows `adjustment` and the record holds it for each.
    bool showsAndSaved(const ColorAdjustment& adjustment) {
        for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"}) {
            if (currentRamp(name) != rampOf(adjustment, name))
                return false;
        }
        const auto text = home.preferencesText();
        if (!text)
            return false;
        const auto saved = QuorvanePreferences::decoded(*text).displayAdjustments;
        if (saved.size() != 3)
            return false;
        for (const auto& [identity, value] : saved)
            if (value != adjustment)
                return false;
        return true;
    }

    // The night preset on every output of the first instance, through a
    // later launch.
    void warmEveryOutput() {
        auto second = launch({"quorvane://apply-safe-preset?preset=night&scope=all-visible"});
        ASSERT_EQ(second->waitFor(), 0) << home.logText();
        ASSERT_TRUE(eventually([&] { return !showsIdentity("DUMMY2"); }));
    }

    // The quit signal `number` ends the first instance with status 0 and
    // every output back to the identity.
    void expectEndsCleanlyOn(int number) {
        first->signal(number);
        EXPECT_EQ(first->waitFor(), 0) << number << home.logText();
        for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"})
            EXPECT_TRUE(showsIdentity(name)) << number << " " << name;
    }

    testing::ApplicationHome home;
    std::unique_ptr<LaunchedProcess> first;
};

TEST_F(ApplicationTest, ALaterLaunchWithAPresetURLChangesTheRampsOfTheRunningInstance) {
    startFirst();
    ASSERT_TRUE(eventually([&] { return showsIdentity("DUMMY1"); }));

    auto second = launch({"quorvane://apply-safe-preset?preset=night&scope=all-visible"});
    EXPECT_EQ(second->waitFor(), 0) << home.logText();
    // The night preset warms the screen: blue falls below red mid-ramp.
    ASSERT_TRUE(eventually([&] {
        auto current = currentRamp("DUMMY1");
        return current && current->blue[current->size() / 2] < current->red[current->size() / 2];
    })) << home.logText();
    EXPECT_TRUE(first->running());
}

TEST_F(ApplicationTest, ALaterLaunchWithoutArgumentsEndsAndLeavesOneInstance) {
    startFirst();
    auto second = launch();
    EXPECT_EQ(second->waitFor(), 0) << home.logText();
    auto third = launch();
    EXPECT_EQ(third->waitFor(), 0) << home.logText();
    EXPECT_TRUE(first->running());
}

TEST_F(ApplicationTest, BadClientsAreDroppedAndTheInstanceKeepsServing) {
    startFirst();
    // Announces 4 GiB, then an oversized frame, then an unknown message.
    RawSocket huge(socketPath());
    ASSERT_TRUE(huge.connected());
    huge.send(header(0xFFFFFFFF) + "garbage");
    EXPECT_TRUE(huge.closedByPeer(std::chrono::seconds(10)));

    RawSocket oversized(socketPath());
    oversized.send(header(64 * 1024 + 1) + std::string(70 * 1024, 'x'));
    EXPECT_TRUE(oversized.closedByPeer(std::chrono::seconds(10)));

    RawSocket unknown(socketPath());
    unknown.send(header(5) + "hello");
    EXPECT_TRUE(unknown.closedByPeer(std::chrono::seconds(10)));

    // A client that says nothing neither blocks a real launch nor stays.
    RawSocket silent(socketPath());
    ASSERT_TRUE(silent.connected());
    auto second = launch();
    EXPECT_EQ(second->waitFor(), 0) << home.logText();
    EXPECT_TRUE(silent.closedByPeer(std::chrono::seconds(10)));
    EXPECT_TRUE(first->running());
}

TEST_F(ApplicationTest, SIGTERMHandsTheOutputsBackAndEndsCleanly) {
    startFirst();
    auto second = launch({"quorvane://apply-safe-preset?preset=night&scope=all-visible"});
    ASSERT_EQ(second->waitFor(), 0) << home.logText();
    ASSERT_TRUE(eventually([&] { return !showsIdentity("DUMMY2"); }));

    first->signal(SIGTERM);
    EXPECT_EQ(first->waitFor(), 0) << home.logText();
    for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"})
        EXPECT_TRUE(showsIdentity(name)) << name;
    // Quitting changed no saved setting: the next start shows the preset again.
}

TEST_F(ApplicationTest, SIGINTAndSIGHUPHandTheOutputsBackAndEndCleanlyAsSIGTERMDoes) {
    for (const int number : {SIGINT, SIGHUP}) {
        startFirst();
        warmEveryOutput();
        ASSERT_FALSE(HasFatalFailure());
        expectEndsCleanlyOn(number);
    }
}

// The quit signals are taken by a thread that never waits on the file
// system: every thread blocks them (a thread the kernel chose that sleeps
// in a hung mount would never run a handler), and the watchdog's thread
// takes them from its signalfd. Every thread keeps the rest of the mask the
// application was given, and the quit still ends it well.
TEST_F(ApplicationTest, EveryThreadBlocksTheQuitSignalsThatOneThreadTakes) {
    startFirst();
    const auto ordinary = blockedSignals("/proc/thread-self/status");
    ASSERT_TRUE(ordinary.has_value());
    const auto tasks = std::filesystem::path("/proc") / std::to_string(first->pid()) / "task";
    int threads = 0;
    for (const auto& task : std::filesystem::directory_iterator(tasks)) {
        const auto blocked = blockedSignals(task.path() / "status");
        if (!blocked)
            continue;  // a thread that ended meanwhile
        ++threads;
        EXPECT_EQ(*blocked, *ordinary | quitSignalBits()) << task.path();
    }
    // The window thread, Qt's and the store's own.
    EXPECT_GT(threads, 1);

    warmEveryOutput();
    ASSERT_FALSE(HasFatalFailure());
    expectEndsCleanlyOn(SIGTERM);
}

// A parent that leaked its blocked mask into the program (one that blocks
// the quit signals around starting it): the program takes them all the same
// and ends on each as it does when started with an ordinary mask.
TEST_F(ApplicationTest, AProgramStartedWithTheQuitSignalsBlockedHearsThemAndHandsTheOutputsBack) {
    sigset_t quit;
    sigemptyset(&quit);
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&quit, number);
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        // A child starts with the mask of the thread that starts it.
        sigset_t before;
        ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &quit, &before), 0);
        startFirst();
        pthread_sigmask(SIG_SETMASK, &before, nullptr);
        ASSERT_FALSE(HasFatalFailure());
        warmEveryOutput();
        ASSERT_FALSE(HasFatalFailure());
        expectEndsCleanlyOn(number);
    }
}

// Holds the main thread of a launched program where it is, as a call that
// never returns would (a file list reading a file that blocks for good),
// while its other threads go on and take the signals sent to the process.
class StuckMainThread {
  public:
    explicit StuckMainThread(pid_t pid) : pid_(pid) {
        if (::ptrace(PTRACE_SEIZE, pid, nullptr, nullptr) != 0)
            return;
        seized_ = true;
        int status = 0;
        stuck_ = ::ptrace(PTRACE_INTERRUPT, pid, nullptr, nullptr) == 0 &&
                 ::waitpid(pid, &status, __WALL) == pid && WIFSTOPPED(status);
    }
    ~StuckMainThread() {
        if (seized_)
            ::ptrace(PTRACE_DETACH, pid_, nullptr, nullptr);
    }
    StuckMainThread(const StuckMainThread&) = delete;
    StuckMainThread& operator=(const StuckMainThread&) = delete;

    bool stuck() const { return stuck_; }

  private:
    pid_t pid_;
    bool seized_ = false;
    bool stuck_ = false;
};

// The event loop never reads the quit: the outputs are handed back from
// another thread and the program ends, saying why, with a status that says
// it did not end well, once the bound for the event loop's answer is past.
TEST_F(ApplicationTest, AQuitSignalEndsTheProgramAndHandsTheOutputsBackWhileItsMainThreadIsStuck) {
    startFirst();
    warmEveryOutput();
    ASSERT_FALSE(HasFatalFailure());

    const StuckMainThread stuck(first->pid());
    if (!stuck.stuck())
        GTEST_SKIP() << "one thread of a child cannot be stopped by ptrace here";
    first->signal(SIGTERM);
    const auto signalled = std::chrono::steady_clock::now();
    EXPECT_EQ(first->waitFor(std::chrono::seconds(20)), QuitWatchdog::kUnansweredQuitStatus)
        << home.logText();
    const auto took = std::chrono::steady_clock::now() - signalled;
    const QuitWatchdog::Bounds bounds;
    EXPECT_GE(took, bounds.answer);
    EXPECT_LT(took, bounds.answer + std::chrono::seconds(5));
    for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"})
        EXPECT_TRUE(showsIdentity(name)) << name;
    // The preset was saved before the signal: nothing is said to be lost.
    EXPECT_NE(
        home.logText().find("quorvane: 종료 신호에 응답하지 못해 화면 색만 되돌리고 종료합니다.\n"),
        std::string::npos)
        << home.logText();
}

// Another process keeps the settings lock (a stopped or hung Quorvane): a
// change made in the running application waits, and the application still
// ends within a few seconds of SIGTERM, naming once each display and record
// whose change it could not save, with the reason, and ending with a status
// that says a change was lost. The record stays as it was.
TEST_F(ApplicationTest, SIGTERMEndsPromptlyWhileAnotherProcessHoldsTheLockAndNamesTheChange) {
    startFirst();
    const auto other = holdTheLockElsewhere();
    ASSERT_TRUE(other->held());
    const auto before = home.preferencesText();
    auto second = launch({"quorvane://apply-safe-preset?preset=night&scope=all-visible"});
    ASSERT_EQ(second->waitFor(), 0) << home.logText();
    ASSERT_TRUE(eventually([&] { return !showsIdentity("DUMMY2"); }));

    first->signal(SIGTERM);
    const auto signalled = std::chrono::steady_clock::now();
    EXPECT_EQ(first->waitFor(std::chrono::seconds(30)), 1) << home.logText();
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(15));
    const std::string line =
        "quorvane: 저장하지 못한 채 종료합니다: DUMMY0의 색상값, DUMMY1의 색상값, DUMMY2의 "
        "색상값, 복구 기록 — 다른 프로세스가 설정 잠금을 쥐고 있어 저장하지 "
        "못했습니다: " +
        (home.configFolder() / ".lock").string() + "\n";
    const auto log = home.logText();
    const auto told = log.find(line);
    EXPECT_NE(told, std::string::npos) << log;
    // Told once, and nothing else is said to be unsaved.
    EXPECT_EQ(log.find("저장하지 못한 채", told + line.size()), std::string::npos) << log;
    EXPECT_EQ(home.preferencesText(), before);
}

TEST_F(ApplicationTest, AStaleSocketFromACrashIsTakenOver) {
    startFirst();
    first->signal(SIGKILL);
    ASSERT_TRUE(first->waitFor());
    // The socket file stays behind; the next launch must not hand over to it.
    ASSERT_TRUE(std::filesystem::exists(socketPath()));
    auto next = launch();
    ASSERT_TRUE(eventually([&] {
        RawSocket probe(socketPath());
        return probe.connected();
    })) << home.logText();
    EXPECT_TRUE(next->running());
}

// Where a folder stands in the socket's place, the instance cannot listen:
// it says so and runs alone.
TEST_F(ApplicationTest, AnInstanceThatCannotListenSaysSoAndRunsAlone) {
    std::filesystem::create_directories(socketPath() / "in the way");
    const auto errors = home.path() / "errors.txt";
    first = launchTellingErrors({}, errors);
    EXPECT_TRUE(eventually([&] {
        return testing::fileContents(errors) ==
               "quorvane: 나중에 실행한 Quorvane의 요청을 받을 수 없습니다. 실행할 때마다 따로 "
               "동작합니다\n";
    })) << testing::fileContents(errors)
        << home.logText();
    EXPECT_TRUE(first->running());
    expectEndsCleanlyOn(SIGTERM);
}

// A preset URL up to the name of its preset.
constexpr std::string_view kPresetURLStart =
    "quorvane://apply-safe-preset?scope=all-visible&preset=";

TEST_F(ApplicationTest, URLsOfEveryFrameSizeUpToTheCapReachTheRunningInstance) {
    // Frame text = "url " + the URL, after a 4-byte big-endian length: the
    // shortest preset URL, the lengths on both sides of 255/256 and of
    // 65535/65536 (the cap), so every byte of the length gets used.
    const std::size_t start = kPresetURLStart.size();
    const std::vector<std::size_t> lengths = {start + 1, 150, 251, 252, 300, 65531, 65532};
    QuorvanePreferences preferences;
    preferences.urlPresetAutomationEnabled = true;
    std::vector<std::string> urls;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        // Names differ in length, so each URL finds exactly its preset.
        const std::string name(lengths[i] - start, static_cast<char>('a' + i));
        DisplayPreset preset{std::string("P").append(std::to_string(i)), name,
                             ColorAdjustment::neutral(), ItemKind::custom};
        preset.adjustment.softwareBrightness = 0.6 + 0.05 * static_cast<double>(i);
        preset.adjustment.warmth = 0.1 * static_cast<double>(i);
        preferences.customPresets.push_back(preset);
        urls.push_back(std::string(kPresetURLStart) + name);
        ASSERT_EQ(urls.back().size(), lengths[i]);
    }
    home.writePreferences(*preferences.encoded());
    startFirst();

    for (std::size_t i = 0; i < urls.size(); ++i) {
        auto later = launch({urls[i]});
        const auto status = later->waitFor();
        EXPECT_EQ(status, 0) << "URL of " << lengths[i] << " bytes\n" << home.logText();
        if (status != 0)
            continue;
        const auto& adjustment = preferences.customPresets[i].adjustment;
        EXPECT_TRUE(eventually([&] { return showsAndSaved(adjustment); }))
            << "URL of " << lengths[i] << " bytes";
    }
    EXPECT_TRUE(first->running());
}

TEST_F(ApplicationTest, AURLOverTheCapIsRefusedAtTheSecondLaunchWithAReason) {
    QuorvanePreferences preferences;
    preferences.urlPresetAutomationEnabled = true;
    const std::string name(65533 - kPresetURLStart.size(), 'z');
    preferences.customPresets.push_back(
        {"Z", name, DisplayPreset::builtIns()[2].adjustment, ItemKind::custom});
    home.writePreferences(*preferences.encoded());
    startFirst();
    ASSERT_TRUE(eventually([&] { return showsIdentity("DUMMY1"); }));

    const std::string url = std::string(kPresetURLStart) + name;
    ASSERT_EQ(url.size(), 65533u);
    auto later = launch({url});
    EXPECT_EQ(later->waitFor(), 1) << home.logText();
    EXPECT_NE(home.logText().find("quorvane: 이 URL은 65533바이트입니다. 실행 중인 Quorvane은 "
                                  "65532바이트 이하의 URL만 받습니다\n"),
              std::string::npos)
        << home.logText();
    // Nothing of it reached the running instance, which keeps serving.
    EXPECT_TRUE(first->running());
    EXPECT_TRUE(showsIdentity("DUMMY1"));
    auto next = launch({"quorvane://apply-safe-preset?preset=night&scope=all-visible"});
    EXPECT_EQ(next->waitFor(), 0) << home.logText();
    EXPECT_TRUE(eventually([&] { return showsAndSaved(DisplayPreset::builtIns()[2].adjustment); }));
}

// What a launch handing `arguments` to the running instance ends with: its
// status, and what it wrote on standard error.
struct HandOverResult {
    std::optional<int> status;
    std::string errors;
};

bool holds(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

constexpr std::string_view kAutomationOff =
    "URL 프리셋 자동화가 꺼져 있습니다. 설정에서 먼저 켜야 외부 링크가 저장 색상값을 적용합니다.";
constexpr int kNotCarriedOut = 3;

TEST_F(ApplicationTest, AURLTheRunningInstanceRefusesEndsTheLaterLaunchWithItsReason) {
    home.writePreferences(*QuorvanePreferences().encoded());
    // The first launch carries out its own URLs: one it refuses is named on
    // its standard error, and the windows go on.
    const auto firstErrors = home.path() / "first-errors.txt";
    first = launchTellingErrors({"quorvane://nope"}, firstErrors);
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(socketPath()); }))
        << home.logText();
    EXPECT_TRUE(eventually([&] {
        return holds(testing::fileContents(firstErrors),
                     "quorvane: 자동화 URL 오류: 알 수 없는 자동화 명령입니다: nope\n");
    })) << testing::fileContents(firstErrors);
    ASSERT_TRUE(eventually([&] { return showsIdentity("DUMMY1"); }));

    int round = 0;
    const auto handOver = [&](std::vector<std::string> urls) {
        const auto errors = home.path() / ("errors-" + std::to_string(++round) + ".txt");
        auto later = launchTellingErrors(std::move(urls), errors);
        const auto status = later->waitFor();
        return HandOverResult{status, testing::fileContents(errors)};
    };
    // Automation switched off: every URL is handed over, the refused one
    // named once, and the launch ends with its own status.
    const auto off = handOver(
        {"quorvane://open", "quorvane://apply-safe-preset?preset=night&scope=all-visible"});
    EXPECT_EQ(off.status, kNotCarriedOut) << home.logText();
    EXPECT_TRUE(holds(off.errors, "quorvane: " + std::string(kAutomationOff) + "\n")) << off.errors;
    EXPECT_FALSE(holds(off.errors, "quorvane: Quorvane")) << off.errors;
    EXPECT_TRUE(showsIdentity("DUMMY1"));

    const auto malformed = handOver({"quorvane://open/extra"});
    EXPECT_EQ(malformed.status, kNotCarriedOut) << home.logText();
    EXPECT_TRUE(holds(malformed.errors,
                      "quorvane: 자동화 URL 오류: 자동화 URL 경로를 인식하지 못했습니다: /extra\n"))
        << malformed.errors;

    // Carried out: 0 and not a word.
    const auto open = handOver({"quorvane://diagnostics"});
    EXPECT_EQ(open.status, 0) << home.logText();
    EXPECT_FALSE(holds(open.errors, "quorvane:")) << open.errors;
    EXPECT_TRUE(first->running());
}

TEST_F(ApplicationTest, AnUnknownPresetIsNamedWhileACopyOfACarriedOutURLEndsWell) {
    startFirst();
    ASSERT_TRUE(eventually([&] { return showsIdentity("DUMMY1"); }));
    const auto errors = home.path() / "errors.txt";
    // The name as received, with what would drive a terminal made visible.
    auto unknown = launchTellingErrors(
        {"quorvane://apply-safe-preset?preset=%1B%5B2Jnothing&scope=all-visible"}, errors);
    EXPECT_EQ(unknown->waitFor(), kNotCarriedOut) << home.logText();
    EXPECT_TRUE(holds(testing::fileContents(errors),
                      "quorvane: 자동화 프리셋을 찾지 못했습니다: \\x1b[2Jnothing\n"))
        << testing::fileContents(errors);
    EXPECT_TRUE(showsIdentity("DUMMY1"));

    // The same URL again the moment the first was answered (its save
    // written): the copy is ignored, and both hear "ok".
    const std::string message = "url quorvane://apply-safe-preset?preset=night&scope=all-visible";
    const auto sendCopy = [&] {
        RawSocket copy(socketPath());
        copy.send(header(static_cast<std::uint32_t>(message.size())) + message);
        return copy.receiveAll(std::chrono::seconds(20));
    };
    EXPECT_EQ(sendCopy(), header(2) + "ok");
    EXPECT_EQ(sendCopy(), header(2) + "ok");
    EXPECT_TRUE(eventually([&] { return showsAndSaved(DisplayPreset::builtIns()[2].adjustment); }));
    EXPECT_TRUE(first->running());
}

TEST_F(ApplicationTest, WithoutATrayClosingTheLastWindowEndsAndHandsTheOutputsBack) {
    ASSERT_FALSE(
        XGetSelectionOwner(connection->display(), connection->atom("_NET_SYSTEM_TRAY_S0")));
    startFirst();
    auto second = launch({"quorvane://apply-safe-preset?preset=night&scope=all-visible"});
    ASSERT_EQ(second->waitFor(), 0) << home.logText();
    ASSERT_TRUE(eventually([&] { return !showsIdentity("DUMMY0"); }));

    // The main window the program opened at start: closed as a window
    // manager closes it when its close button is pressed.
    std::optional<testing::ShownWindow> window;
    ASSERT_TRUE(eventually([&] {
        for (const auto& shown : viewableWindowsOf(first->pid()))
            if (shown.width >= 600)
                window = shown;
        return window.has_value();
    })) << home.logText();
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window->id;
    close.xclient.message_type = connection->atom("WM_PROTOCOLS");
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(connection->atom("WM_DELETE_WINDOW"));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection->display(), window->id, False, NoEventMask, &close);
    XFlush(connection->display());

    EXPECT_EQ(first->waitFor(), 0) << home.logText();
    for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"})
        EXPECT_TRUE(showsIdentity(name)) << name;
    // The preset stays saved for the next start.
    const auto text = home.preferencesText();
    ASSERT_TRUE(text);
    EXPECT_EQ(QuorvanePreferences::decoded(*text).displayAdjustments.size(), 3u);
}

// The identity raw value of each output, as the command line shows them.
std::map<std::string, std::string> identitiesByOutput(const testing::ApplicationHome& home,
                                                      const std::string& display) {
    const auto listed = testing::runQuorvane({"cli", "list", "displays", "--json"}, home, display);
    const auto json = parseJson(listed.out);
    std::map<std::string, std::string> result;
    for (const auto& item : json["result"]["items"])
        result[item["name"].get<std::string>()] = item["identityRawValue"].get<std::string>();
    return result;
}

// The command line applying presets to two displays while the running
// application takes presets for the third by URL: every save of either side
// stays in the record, and the next start shows all of them.
TEST_F(ApplicationTest, TheCommandLineAndTheRunningApplicationKeepEachOthersSavedValues) {
    startFirst();
    const auto identities = identitiesByOutput(home, displayName);
    ASSERT_EQ(identities.size(), 3u);
    const auto presets = DisplayPreset::builtIns();
    std::map<std::string, ColorAdjustment> expected;
    const auto saved = [&] {
        const auto text = home.preferencesText();
        return text ? QuorvanePreferences::decoded(*text).displayAdjustments
                    : std::map<std::string, ColorAdjustment>{};
    };

    for (std::size_t round = 0; round < 6; ++round) {
        const std::string cliOutput = round % 2 == 0 ? "DUMMY1" : "DUMMY2";
        const auto& cliPreset = presets[round % presets.size()];
        const auto applied = testing::runQuorvane(
            {"cli", "apply-safe-preset", cliPreset.id, "--display", identities.at(cliOutput)}, home,
            displayName);
        ASSERT_EQ(applied.status, 0) << applied.err;
        expected[identities.at(cliOutput)] = cliPreset.adjustment;

        const auto& urlPreset = presets[(round + 3) % presets.size()];
        const std::string message = "url quorvane://apply-safe-preset?preset=" + urlPreset.id +
                                    "&display=" + identities.at("DUMMY0");
        RawSocket later(socketPath());
        later.send(header(static_cast<std::uint32_t>(message.size())) + message);
        ASSERT_EQ(later.receiveAll(std::chrono::seconds(20)), header(2) + "ok") << home.logText();
        expected[identities.at("DUMMY0")] = urlPreset.adjustment;
        // The application's save holds the command line's values too.
        ASSERT_TRUE(eventually([&] { return saved() == expected; })) << "round " << round;
    }

    first->signal(SIGTERM);
    ASSERT_EQ(first->waitFor(), 0) << home.logText();
    EXPECT_EQ(saved(), expected);
    startFirst();
    for (const auto& [output, identity] : identities) {
        EXPECT_TRUE(eventually([&, output = output, identity = identity] {
            return currentRamp(output.c_str()) == rampOf(expected.at(identity), output.c_str());
        })) << output;
    }
}

// Hands `url` to the running instance as a later launch does; true when it
// answered "ok".
bool handOverURL(const std::filesystem::path& socket, const std::string& url) {
    const std::string message = "url " + url;
    RawSocket later(socket);
    later.send(header(static_cast<std::uint32_t>(message.size())) + message);
    return later.receiveAll(std::chrono::seconds(20)) == header(2) + "ok";
}

// The value the record holds for the display with this identity.
std::optional<ColorAdjustment> savedAdjustment(const testing::ApplicationHome& home,
                                               const std::string& identity) {
    const auto text = home.preferencesText();
    if (!text)
        return std::nullopt;
    const auto adjustments = QuorvanePreferences::decoded(*text).displayAdjustments;
    const auto found = adjustments.find(identity);
    if (found == adjustments.end())
        return std::nullopt;
    return found->second;
}

const DisplayPreset& builtInPreset(std::string_view id) {
    static const auto presets = DisplayPreset::builtIns();
    const auto found = std::find_if(presets.begin(), presets.end(),
                                    [&](const auto& preset) { return preset.id == id; });
    EXPECT_NE(found, presets.end()) << id;
    return found == presets.end() ? presets.front() : *found;
}

// "night" by URL, "movie" by the command line, the same "night" URL again:
// each started when the one before has ended, so the second URL comes well
// within the moment in which a copy of a URL is dropped, and usually before
// the application has heard of the command line's save. It is the user's
// later word: every round ends on night on the screen and in the record.
TEST_F(ApplicationTest, TheSameURLAgainAfterTheCommandLinesChangeEndsOnItsPreset) {
    startFirst();
    const auto identities = identitiesByOutput(home, displayName);
    ASSERT_EQ(identities.size(), 3u);
    const auto& identity = identities.at("DUMMY0");
    const std::string url = "quorvane://apply-safe-preset?preset=night&display=" + identity;
    const auto& night = builtInPreset("night").adjustment;
    const auto nightRamp = rampOf(night, "DUMMY0");
    ASSERT_TRUE(nightRamp);

    constexpr int kRounds = 30;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(handOverURL(socketPath(), url)) << home.logText();
        const auto movie = testing::runQuorvane(
            {"cli", "apply-safe-preset", "movie", "--display", identity}, home, displayName);
        ASSERT_EQ(movie.status, 0) << movie.err;
        ASSERT_NE(currentRamp("DUMMY0"), nightRamp);
        ASSERT_TRUE(handOverURL(socketPath(), url)) << home.logText();
        // The ramp is written before "ok", and the record with it.
        EXPECT_EQ(currentRamp("DUMMY0"), nightRamp);
        EXPECT_EQ(savedAdjustment(home, identity), night);
    }
    first->signal(SIGTERM);
    ASSERT_EQ(first->waitFor(), 0) << home.logText();
    EXPECT_EQ(savedAdjustment(home, identity), night);
}

// A command line killed after it wrote an output's ramps but before its
// save leaves the screen on its colours and the record as it was; the
// running application hears of nothing. The same URL again, within a moment
// of the first, finds the screen no longer showing what the first left
// there and is carried out: every round ends on the repeated request.
TEST_F(ApplicationTest, TheSameURLAgainAfterACommandKilledBeforeItsSaveEndsOnItsPreset) {
    startFirst();
    const auto identities = identitiesByOutput(home, displayName);
    ASSERT_EQ(identities.size(), 3u);
    const auto& identity = identities.at("DUMMY0");
    const std::string url = "quorvane://apply-safe-preset?preset=night&display=" + identity;
    const auto& night = builtInPreset("night").adjustment;
    const auto nightRamp = rampOf(night, "DUMMY0");
    const auto movieRamp = rampOf(builtInPreset("movie").adjustment, "DUMMY0");
    const auto target = output("DUMMY0");
    ASSERT_TRUE(nightRamp && movieRamp && target);

    constexpr int kRounds = 8;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(handOverURL(socketPath(), url)) << home.logText();
        ASSERT_EQ(currentRamp("DUMMY0"), nightRamp);
        // All the killed command did: the ramps, no save.
        ASSERT_FALSE(writeCrtcGamma(*connection, target->crtc, *movieRamp));
        ASSERT_TRUE(handOverURL(socketPath(), url)) << home.logText();
        EXPECT_EQ(currentRamp("DUMMY0"), nightRamp);
        EXPECT_EQ(savedAdjustment(home, identity), night);
    }
}

// The application and two command lines (naming the display by identity
// and by number) take turns on one display in an order drawn at random,
// with two presets, so the same URL often comes again within a moment of
// itself with the command line between. Each request ends the moment its
// process ends; the last one's preset is what the screen and the record
// hold after every step.
TEST_F(ApplicationTest, TheLastRequestOfTheApplicationAndTwoCommandLinesWins) {
    startFirst();
    const auto identities = identitiesByOutput(home, displayName);
    ASSERT_EQ(identities.size(), 3u);
    const auto& identity = identities.at("DUMMY0");
    const auto target = output("DUMMY0");
    ASSERT_TRUE(target);
    const std::vector<std::string> presets = {"night", "movie"};
    std::mt19937 random(38);

    constexpr int kSteps = 30;
    for (int step = 0; step < kSteps; ++step) {
        const auto& preset = presets[random() % presets.size()];
        const auto writer = random() % 3;
        SCOPED_TRACE("step " + std::to_string(step) + ": " + preset + " by writer " +
                     std::to_string(writer));
        if (writer == 0) {
            ASSERT_TRUE(handOverURL(socketPath(), "quorvane://apply-safe-preset?preset=" + preset +
                                                      "&display=" + identity))
                << home.logText();
        } else {
            const std::string display = writer == 1 ? identity : std::to_string(target->id);
            const auto result = testing::runQuorvane(
                {"cli", "apply-safe-preset", preset, "--display", display}, home, displayName);
            ASSERT_EQ(result.status, 0) << result.err;
        }
        const auto& wanted = builtInPreset(preset).adjustment;
        EXPECT_EQ(currentRamp("DUMMY0"), rampOf(wanted, "DUMMY0"));
        EXPECT_EQ(savedAdjustment(home, identity), wanted);
    }
}

// Whether the process has `file` open, from its /proc descriptors.
bool hasOpen(pid_t pid, const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path descriptors = "/proc/" + std::to_string(pid) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator(descriptors, error)) {
        if (std::filesystem::read_symlink(entry.path(), error) == file)
            return true;
    }
    return false;
}

// Whether every thread of the process is stopped (by a signal), from /proc.
bool isStopped(pid_t pid) {
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    bool any = false;
    for (const auto& entry : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        // The state follows the name, which is in parentheses.
        const auto close = line.rfind(')');
        if (close == std::string::npos || close + 2 >= line.size() || line[close + 2] != 'T')
            return false;
        any = true;
    }
    return any;
}

// A URL's "night" while another process holds the settings lock: the
// application's save waits for the lock and gives up, and the change is
// held. The holder lets go and the command line applies "movie" to the
// same display, asked for after the URL: its value stays in the record and
// on the screen, the application ends with nothing to name, and the next
// start shows "movie".
TEST_F(ApplicationTest, ACommandLineAfterAURLHeldByTheLockWinsAndARestartChangesNothing) {
    startFirst();
    const auto identities = identitiesByOutput(home, displayName);
    ASSERT_EQ(identities.size(), 3u);
    const auto& identity = identities.at("DUMMY0");
    const auto lockFile = home.configFolder() / ".lock";
    auto other = holdTheLockElsewhere();
    ASSERT_TRUE(other->held());
    ASSERT_TRUE(
        handOverURL(socketPath(), "quorvane://apply-safe-preset?preset=night&display=" + identity))
        << home.logText();
    // Answered once its save was tried: the save has waited for the lock
    // and given it up (and no longer holds the lock file open).
    ASSERT_TRUE(eventually([&] { return !hasOpen(first->pid(), lockFile); })) << home.logText();
    other.reset();

    const auto& movie = builtInPreset("movie").adjustment;
    const auto applied = testing::runQuorvane(
        {"cli", "apply-safe-preset", "movie", "--display", identity}, home, displayName);
    ASSERT_EQ(applied.status, 0) << applied.err;
    EXPECT_EQ(currentRamp("DUMMY0"), rampOf(movie, "DUMMY0"));

    // Ended of itself before this quit, it would have answered the launch
    // at its end, its save given up for a lock still held: nothing below
    // would then be the quit after the lock was let go.
    ASSERT_TRUE(first->running()) << "ended before it was asked to: " << home.logText();
    first->signal(SIGTERM);
    ASSERT_EQ(first->waitFor(), 0) << home.logText();
    EXPECT_EQ(home.logText().find("저장하지 못한 채 종료합니다"), std::string::npos)
        << home.logText();
    EXPECT_EQ(savedAdjustment(home, identity), movie);
    startFirst();
    EXPECT_TRUE(eventually([&] { return currentRamp("DUMMY0") == rampOf(movie, "DUMMY0"); }));
    EXPECT_EQ(savedAdjustment(home, identity), movie);
}

// What an editor saves reaches the screen within a second, however it
// writes (in place, or a new file renamed over the record, or the record
// moved aside first); then the settings folder removed gives every output
// its own colours back within a second, and the folder made again by the
// next save is still heard.
TEST_F(ApplicationTest, AHandEditAndARemovedFolderReachTheScreenWithinASecond) {
    startFirst();
    // Timed from an application that has started: it serves its socket
    // before it builds its windows, and it answers a later launch only
    // once its window thread is through that.
    ASSERT_EQ(launch()->waitFor(), 0) << home.logText();
    const auto identities = identitiesByOutput(home, displayName);
    ASSERT_EQ(identities.size(), 3u);
    const auto withBrightness = [&](const char* output, double value) {
        const auto text = home.preferencesText();
        auto preferences = text ? QuorvanePreferences::decoded(*text) : QuorvanePreferences{};
        auto adjustment = ColorAdjustment::neutral();
        adjustment.softwareBrightness = value;
        preferences.displayAdjustments[identities.at(output)] = adjustment;
        return std::pair(*preferences.encoded(), adjustment);
    };
    const auto showsWithinASecond = [&](const char* output, const ColorAdjustment& adjustment) {
        return eventually([&] { return currentRamp(output) == rampOf(adjustment, output); },
                          std::chrono::seconds(1));
    };

    const auto [inPlace, dimmer] = withBrightness("DUMMY1", 0.5);
    home.writePreferences(inPlace);
    EXPECT_TRUE(showsWithinASecond("DUMMY1", dimmer)) << home.logText();

    const auto [renamed, dimmest] = withBrightness("DUMMY1", 0.3);
    const auto written = home.configFolder() / "saved-by-an-editor";
    std::ofstream(written, std::ios::binary) << renamed;
    std::filesystem::rename(written, home.preferencesFile());
    EXPECT_TRUE(showsWithinASecond("DUMMY1", dimmest)) << home.logText();

    const auto [movedAside, brighter] = withBrightness("DUMMY2", 0.8);
    std::filesystem::rename(home.preferencesFile(), home.configFolder() / "backup~");
    home.writePreferences(movedAside);
    EXPECT_TRUE(showsWithinASecond("DUMMY2", brighter)) << home.logText();
    EXPECT_TRUE(showsWithinASecond("DUMMY1", dimmest));

    std::filesystem::remove_all(home.configFolder());
    for (const char* output : {"DUMMY1", "DUMMY2"})
        EXPECT_TRUE(showsWithinASecond(output, ColorAdjustment::neutral())) << output;
    EXPECT_FALSE(std::filesystem::exists(home.configFolder()));

    const auto [again, dim] = withBrightness("DUMMY0", 0.6);
    home.writePreferences(again);
    EXPECT_TRUE(showsWithinASecond("DUMMY0", dim)) << home.logText();
}

// A launch handing a URL over ends only once the URL's save was tried: while
// another process holds the settings lock for 0.3 s the launch waits, and
// the moment it has ended the record holds the preset.
TEST_F(ApplicationTest, ALaunchHandingOverAURLEndsOnceItsSaveWasTried) {
    startFirst();
    const auto identity = identitiesByOutput(home, displayName).at("DUMMY0");
    auto other = holdTheLockElsewhere();
    ASSERT_TRUE(other->held());
    auto second = launch({"quorvane://apply-safe-preset?preset=night&display=" + identity});
    ASSERT_TRUE(eventually([&] { return hasOpen(first->pid(), home.configFolder() / ".lock"); }))
        << home.logText();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(second->running());
    other.reset();
    ASSERT_EQ(second->waitFor(), 0) << home.logText();
    EXPECT_EQ(savedAdjustment(home, identity), builtInPreset("night").adjustment);
}

// Another process holds the settings lock (a stopped Quorvane) while six
// launches hand URLs over at once. The windows never wait for the saves: a
// plain launch's "show" is answered at once meanwhile. Every launch ends
// well, since its request was carried out although its save had to wait;
// once the lock is let go, the record holds what the screen shows.
TEST_F(ApplicationTest, HandOversWhileAnotherProcessHoldsTheLockAllEndWellAndNeverHoldTheWindows) {
    startFirst();
    const auto identities = identitiesByOutput(home, displayName);
    ASSERT_EQ(identities.size(), 3u);
    auto other = holdTheLockElsewhere();
    ASSERT_TRUE(other->held());
    const std::vector<std::string> outputs = {"DUMMY0", "DUMMY1", "DUMMY2"};
    std::vector<std::unique_ptr<LaunchedProcess>> launches;
    for (std::size_t i = 0; i < 6; ++i) {
        const auto& preset = i < 3 ? "night" : "movie";
        launches.push_back(launch({"quorvane://apply-safe-preset?preset=" + std::string(preset) +
                                   "&display=" + identities.at(outputs[i % 3])}));
    }
    // The first of them is being saved (or waits for the lock) by now.
    ASSERT_TRUE(eventually([&] {
        return std::any_of(outputs.begin(), outputs.end(),
                           [&](const auto& name) { return !showsIdentity(name.c_str()); });
    })) << home.logText();

    const std::string show = "show";
    RawSocket plain(socketPath());
    const auto asked = std::chrono::steady_clock::now();
    plain.send(header(static_cast<std::uint32_t>(show.size())) + show);
    EXPECT_EQ(plain.receiveAll(std::chrono::seconds(20)), header(2) + "ok");
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(500));

    for (std::size_t i = 0; i < launches.size(); ++i)
        EXPECT_EQ(launches[i]->waitFor(), 0) << "launch " << i << "\n" << home.logText();
    EXPECT_EQ(home.logText().find("응답하지 않습니다"), std::string::npos) << home.logText();

    other.reset();
    for (const auto& name : outputs) {
        const auto& identity = identities.at(name);
        EXPECT_TRUE(eventually([&] {
            const auto saved = savedAdjustment(home, identity);
            return saved && currentRamp(name.c_str()) == rampOf(*saved, name.c_str()) &&
                   !showsIdentity(name.c_str());
        })) << name
            << "\n"
            << home.logText();
    }
    EXPECT_TRUE(first->running());
}

// Whether the process ignores SIGPIPE, from its /proc status.
bool ignoresBrokenPipes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigIgn:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (SIGPIPE - 1) & 1) != 0;
    }
    return false;
}

// The record is a link to a file elsewhere, so the running application never
// hears of the command line's "movie" on a display whose "coding" it last
// saved. A URL that hands it "coding" again is the user's later word: the
// record and the screen both hold coding, also after the application ends.
TEST_F(ApplicationTest, AURLAfterTheCommandLinesChangeWinsOnARecordLinkedElsewhere) {
    const auto target = home.path() / "elsewhere.json";
    std::filesystem::rename(home.preferencesFile(), target);
    std::filesystem::create_symlink(target, home.preferencesFile());
    startFirst();
    const auto identities = identitiesByOutput(home, displayName);
    ASSERT_EQ(identities.size(), 3u);
    const auto& identity = identities.at("DUMMY0");
    const auto handOver = [&](const std::string& url) { return handOverURL(socketPath(), url); };
    const auto saved = [&] { return savedAdjustment(home, identity); };
    const auto& coding = builtInPreset("coding").adjustment;

    ASSERT_TRUE(handOver("quorvane://apply-safe-preset?preset=coding&display=" + identity))
        << home.logText();
    ASSERT_TRUE(eventually([&] { return saved() == coding; })) << home.logText();
    const auto movie = testing::runQuorvane(
        {"cli", "apply-safe-preset", "movie", "--display", identity}, home, displayName);
    ASSERT_EQ(movie.status, 0) << movie.err;
    ASSERT_NE(saved(), coding);
    // Worded otherwise, so it is not taken for a repeat of the first.
    ASSERT_TRUE(handOver("quorvane://apply-safe-preset?display=" + identity + "&preset=coding"))
        << home.logText();
    EXPECT_TRUE(eventually([&] { return saved() == coding; })) << home.logText();
    EXPECT_EQ(currentRamp("DUMMY0"), rampOf(coding, "DUMMY0"));

    first->signal(SIGTERM);
    ASSERT_EQ(first->waitFor(), 0) << home.logText();
    EXPECT_EQ(saved(), coding);
    EXPECT_TRUE(std::filesystem::is_symlink(home.preferencesFile()));
}

// The same URL launched twice at one moment: the second arrives while the
// first one's save may still be on its way, and with nothing else changed
// in between it is a copy. Each pair leaves one journal entry, after the
// one of the "movie" URL that set the display apart before it. The two
// launches' messages are gathered before either reaches the application, so
// they arrive together however long each launch took to come up.
TEST_F(ApplicationTest, TheSameURLLaunchedTwiceAtOnceIsCarriedOutOnce) {
    startFirst();
    const auto identity = identitiesByOutput(home, displayName).at("DUMMY0");
    const auto url = [&](const char* preset) {
        return "quorvane://apply-safe-preset?preset=" + std::string(preset) +
               "&display=" + identity;
    };
    constexpr std::ptrdiff_t kPairs = 8;
    for (std::ptrdiff_t pair = 0; pair < kPairs; ++pair) {
        ASSERT_TRUE(handOverURL(socketPath(), url("movie"))) << home.logText();
        testing::GatheringInstanceRelay together(socketPath(), 2);
        auto one = launch({url("night")});
        auto two = launch({url("night")});
        ASSERT_EQ(one->waitFor(), 0) << home.logText();
        ASSERT_EQ(two->waitFor(), 0) << home.logText();
        ASSERT_TRUE(together.passedOnTogether()) << home.logText();
        EXPECT_EQ(currentRamp("DUMMY0"), rampOf(builtInPreset("night").adjustment, "DUMMY0"));
    }
    first->signal(SIGTERM);
    ASSERT_EQ(first->waitFor(), 0) << home.logText();
    std::ifstream journal(home.configFolder() / "org.quorvane.Quorvane.recoveryJournal.v1.json");
    const std::string text{std::istreambuf_iterator<char>(journal), {}};
    const auto entries = QuorvaneRecoveryJournal::decoded(text).entries;
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const auto& entry) { return entry.actionTitle == "자동화 프리셋"; }),
              2 * kPairs);
}

// A URL's "night" held in the application (another process holds the
// settings lock), then a later request made elsewhere: it wins on the
// screen and in the record, and a restart changes nothing, however the
// record's file was dated or whatever bytes it came out as.
class RequestOrderTest : public ApplicationTest {
  protected:
    void TearDown() override {
        ApplicationTest::TearDown();
        if (mounted_)
            testing::MountRights::unmount(home.configFolder());
    }

    // The settings folder on a file system that counts whole seconds (ext4
    // with small inodes, as ext3, FAT and some network mounts do): a loop
    // device where one may be set up, else the same image through FUSE.
    // Nothing, or why not.
    std::optional<std::string> mountOneSecondFileSystem() {
        const auto image = (home.path() / "seconds.img").string();
        const bool looped =
            testing::MountRights::run("truncate -s 16M " + image + " && mkfs.ext4 -q -F -I 128 " +
                                      image + " >/dev/null 2>&1 && mount -o loop " + image + " " +
                                      home.configFolder().string() + " >/dev/null 2>&1") == 0;
        return settingsFolderMounted(looped ? std::nullopt
                                            : oneSecondFuse_.mount(home.configFolder()));
    }

    // The settings folder on an ext4 image through FUSE (FuseExt4Image),
    // which keeps neither birth times nor inode generations.
    std::optional<std::string> mountThroughFuse() {
        return settingsFolderMounted(fuse_.mount(home.configFolder()));
    }

    std::optional<std::string> settingsFolderMounted(std::optional<std::string> refused) {
        mounted_ = !refused;
        if (mounted_)
            allowPresetURLs(home);
        return refused;
    }

    // Holds the lock elsewhere and hands "night" over; returns once the
    // screen shows it, with the hand-over's answer still to come.
    std::future<bool> nightHeldByTheLock() {
        other_ = holdTheLockElsewhere();
        return nightHandedOver();
    }

    // Hands "night" over; returns once the screen shows it, with the
    // hand-over's answer still to come. In other words (its query in
    // another order), it is no copy of the same URL handed over a moment
    // before.
    std::future<bool> nightHandedOver(bool inOtherWords = false) {
        const auto url =
            inOtherWords ? "quorvane://apply-safe-preset?display=" + identity() + "&preset=night"
                         : "quorvane://apply-safe-preset?preset=night&display=" + identity();
        auto answer =
            std::async(std::launch::async, [this, url] { return handOverURL(socketPath(), url); });
        EXPECT_TRUE(eventually([&] { return currentRamp("DUMMY0") == rampOf(night(), "DUMMY0"); }));
        return answer;
    }

    // A command line that has asked and waits for the lock.
    bool waitsForTheLock(LaunchedProcess& command) {
        return eventually([&] { return hasOpen(command.pid(), home.configFolder() / ".lock"); });
    }

    // Stops `process` at a moment it has the lock file closed: it neither
    // holds the lock nor tries for it until it goes on again.
    bool stopsWithoutTheLock(LaunchedProcess& process) {
        return eventually([&] {
            process.signal(SIGSTOP);
            if (!eventually([&] { return isStopped(process.pid()); }))
                return false;
            if (!hasOpen(process.pid(), home.configFolder() / ".lock"))
                return true;
            process.signal(SIGCONT);
            return false;
        });
    }

    // The screen and the record show `adjustment` for DUMMY0.
    bool showsAndKeeps(const ColorAdjustment& adjustment) {
        return eventually([&] {
            return currentRamp("DUMMY0") == rampOf(adjustment, "DUMMY0") &&
                   savedAdjustment(home, identity()) == adjustment;
        });
    }

    // The screen and the record show `adjustment`; so they do once the
    // application has ended with nothing left to save and started again.
    void showsAcrossARestart(const ColorAdjustment& adjustment) {
        EXPECT_TRUE(showsAndKeeps(adjustment)) << home.logText();
        first->signal(SIGTERM);
        ASSERT_EQ(first->waitFor(), 0) << home.logText();
        EXPECT_EQ(savedAdjustment(home, identity()), adjustment);
        startFirst();
        EXPECT_TRUE(showsAndKeeps(adjustment));
    }

    // `quorvane cli apply-safe-preset <preset>` on `output`, run through
    // `wrapper` (a program and its arguments) when given.
    std::unique_ptr<LaunchedProcess> commandLine(const std::string& preset,
                                                 const std::string& output = "DUMMY0",
                                                 std::vector<std::string> wrapper = {}) {
        auto environment = testing::cleanEnvironment(home, displayName);
        if (!wrapper.empty())
            letPreloadComeFirst(environment);
        wrapper.insert(wrapper.end(), {QUORVANE_EXECUTABLE, "cli", "apply-safe-preset", preset,
                                       "--display", identity(output)});
        const auto program = wrapper.front();
        return std::make_unique<LaunchedProcess>(
            program, std::vector<std::string>(wrapper.begin() + 1, wrapper.end()),
            std::move(environment), home.log());
    }

    // A preloaded library (faketime's) comes before the sanitizers' runtime.
    static void letPreloadComeFirst(std::vector<std::string>& environment) {
        const auto options =
            std::find_if(environment.begin(), environment.end(),
                         [](const auto& entry) { return entry.starts_with("ASAN_OPTIONS="); });
        if (options == environment.end())
            environment.push_back("ASAN_OPTIONS=verify_asan_link_order=0");
        else
            *options += ":verify_asan_link_order=0";
    }

    // Starts the application with its wall clock (not its file times) off
    // by what `clockFile` says ("+1h"), read again at every look, so a
    // test can set it right while it runs.
    void startFirstOnAFakedClock(const std::filesystem::path& clockFile) {
        auto environment =
            home.environment(displayName, {"LD_PRELOAD=" + std::string(kFaketimeLibrary),
                                           "FAKETIME_TIMESTAMP_FILE=" + clockFile.string(),
                                           "FAKETIME_NO_CACHE=1", "NO_FAKE_STAT=1"});
        letPreloadComeFirst(environment);
        first = std::make_unique<LaunchedProcess>(QUORVANE_EXECUTABLE, std::vector<std::string>{},
                                                  std::move(environment), home.log());
        ASSERT_TRUE(eventually([&] { return std::filesystem::exists(socketPath()); }))
            << home.logText();
    }

    // Preloaded directly (the faketime program runs its command as a child),
    // so the command's process is the one launched.
    static constexpr std::string_view kFaketimeLibrary =
        "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";
    static bool hasFaketime() { return std::filesystem::exists(kFaketimeLibrary); }
    // A wrapper for commandLine() that runs the command with every clock it
    // reads off by `offset` ("+365d"), the library preloaded directly: the
    // faketime program refuses to start where a process killed earlier left
    // its shared clock under the program's own process ID, which comes round
    // again. `settings` follow (NO_FAKE_STAT=1 leaves file times true).
    static std::vector<std::string> onAFakedClock(const std::string& offset,
                                                  std::vector<std::string> settings = {}) {
        std::vector<std::string> wrapper{
            "/usr/bin/env", "LD_PRELOAD=" + std::string(kFaketimeLibrary), "FAKETIME=" + offset};
        wrapper.insert(wrapper.end(), settings.begin(), settings.end());
        return wrapper;
    }

    // `unshare` with `options`, in a user namespace of its own when not root.
    static std::vector<std::string> unshare(std::vector<std::string> options) {
        if (::geteuid() != 0)
            options.insert(options.begin(), {"--user", "--map-root-user"});
        options.insert(options.begin(), "/usr/bin/unshare");
        return options;
    }

    // Runs a program in a mount namespace where each text is bound over its
    // path; nothing where the kernel refuses.
    std::optional<std::vector<std::string>> withFilesReading(
        const std::vector<std::pair<std::string, std::string>>& textByPath) {
        std::string mounts;
        for (const auto& [path, text] : textByPath) {
            const auto file = home.path() / ("bound" + std::to_string(mounts.size()));
            std::ofstream(file) << text;
            mounts += "mount --bind " + file.string() + " " + path + " && ";
        }
        auto wrapper = unshare({"--mount", "/bin/sh", "-c", mounts + "exec \"$0\" \"$@\""});
        return runs(wrapper) ? std::optional(wrapper) : std::nullopt;
    }

    bool runs(std::vector<std::string> wrapper) {
        wrapper.push_back("/bin/true");
        return LaunchedProcess(wrapper.front(), {wrapper.begin() + 1, wrapper.end()},
                               home.environment(displayName), home.log())
                   .waitFor() == 0;
    }

    // "night" held past the lock's wait; then a command line run through
    // `wrapper` sets "movie" and takes the lock first: it is the later
    // request, and wins.
    void aLaterCommandLineWins(std::vector<std::string> wrapper) {
        auto answer = nightHeldByTheLock();
        ASSERT_TRUE(answer.get()) << home.logText();
        auto command = commandLine("movie", "DUMMY0", std::move(wrapper));
        ASSERT_TRUE(eventually([&] {
            return hasOpen(command->pid(), home.configFolder() / ".lock");
        })) << home.logText();
        other_.reset();
        ASSERT_EQ(command->waitFor(), 0) << home.logText();
        showsAcrossARestart(builtInPreset("movie").adjustment);
    }

    // The process strace (its log at `trace`, the traced process's id
    // first) reports stopped by SIGSTOP once it is; 0 where none is.
    pid_t stoppedByStrace(const std::filesystem::path& trace) {
        if (!eventually([&] {
                std::ifstream log(trace);
                return std::string(std::istreambuf_iterator<char>(log), {})
                           .find("stopped by SIGSTOP") != std::string::npos;
            }))
            return 0;
        pid_t traced = 0;
        std::ifstream(trace) >> traced;
        return traced;
    }

    const std::string& identity(const std::string& output = "DUMMY0") {
        if (identities_.empty())
            identities_ = identitiesByOutput(home, displayName);
        return identities_.at(output);
    }
    static const ColorAdjustment& night() { return builtInPreset("night").adjustment; }
    // "movie" by URL, then "night" held past the lock's wait, then "movie"
    // again by the command line: its record holds the very bytes of the
    // application's last save, and wins.
    void commandLineWritingTheLastSaveWins();

    std::unique_ptr<testing::OtherLockHolder> other_;
    std::map<std::string, std::string> identities_;
    bool mounted_ = false;
    testing::FuseExt4Image fuse_{home.path()};
    testing::FuseExt4Image oneSecondFuse_{home.path(), "-I 128"};
};

// The command line's "movie", asked for after the URL, waits for the lock
// too; the holder lets go early in a second, and either may take the lock
// first. Whole-second file times would date the command line's record
// before the URL was asked for.
TEST_F(RequestOrderTest, OneSecondFileTimesDoNotDateALaterCommandLineBeforeAHeldURL) {
    if (const auto refused = mountOneSecondFileSystem())
        GTEST_SKIP() << "no file system of whole seconds can be mounted here: " << *refused;
    startFirst();
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        eventually([] {
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            return now % std::chrono::seconds(1) < std::chrono::milliseconds(100);
        });
        auto answer = nightHeldByTheLock();
        auto command = commandLine("movie");
        ASSERT_TRUE(
            eventually([&] { return hasOpen(command->pid(), home.configFolder() / ".lock"); }));
        other_.reset();
        ASSERT_EQ(command->waitFor(), 0) << home.logText();
        ASSERT_TRUE(answer.get()) << home.logText();
        const auto movieShown = [&] {
            return currentRamp("DUMMY0") == rampOf(builtInPreset("movie").adjustment, "DUMMY0") &&
                   savedAdjustment(home, identity()) == builtInPreset("movie").adjustment;
        };
        EXPECT_TRUE(eventually(movieShown)) << home.logText();
    }
    showsAcrossARestart(builtInPreset("movie").adjustment);
}

// On whole-second file times a record saved by hand reads as changed up to
// two seconds later than it was: a command line started right after the
// edit is still the later request, in the record and on the screen.
TEST_F(RequestOrderTest, OneSecondFileTimesDoNotDateAHandEditAfterTheCommandLineThatFollows) {
    if (const auto refused = mountOneSecondFileSystem())
        GTEST_SKIP() << "no file system of whole seconds can be mounted here: " << *refused;
    for (int round = 0; round < 3; ++round) {
        auto edited = QuorvanePreferences::decoded(home.preferencesText().value());
        edited.displayAdjustments[identity()] = night();
        home.writePreferences(*edited.encoded());
        ASSERT_EQ(commandLine("movie")->waitFor(), 0) << home.logText();
        EXPECT_TRUE(showsAndKeeps(builtInPreset("movie").adjustment));
    }
}

// Two command lines wait for the lock: "movie", then "neutral" asked a
// moment later. Whichever takes the lock first (the other is stopped until
// it is done), the later request ends on the screen and in the record; the
// earlier one, taking the lock second, leaves the display to it with
// status 3.
TEST_F(RequestOrderTest, OfTwoCommandLinesWaitingForTheLockTheLaterRequestWinsInEitherOrder) {
    const auto& neutral = builtInPreset("neutral").adjustment;
    for (const bool laterFirst : {true, false}) {
        SCOPED_TRACE(laterFirst ? "the later takes the lock first" : "the earlier takes it first");
        other_ = holdTheLockElsewhere();
        auto earlier = commandLine("movie");
        ASSERT_TRUE(waitsForTheLock(*earlier));
        auto later = commandLine("neutral");
        ASSERT_TRUE(waitsForTheLock(*later));
        auto& second = laterFirst ? earlier : later;
        second->signal(SIGSTOP);
        other_.reset();
        ASSERT_EQ((laterFirst ? later : earlier)->waitFor(), 0) << home.logText();
        second->signal(SIGCONT);
        ASSERT_EQ(second->waitFor(), laterFirst ? 3 : 0) << home.logText();
        EXPECT_TRUE(showsAndKeeps(neutral));
    }
}

// The command line's "movie" waits for the lock; then "night" is handed to
// the application, whose save waits too. Whichever takes the lock first
// (the other stopped until it is done), "night" ends on the screen and in
// the record: taken second, the command line leaves the display alone with
// status 3; taken first, its colour reaches the screen and the
// application, taking its save in, puts its own later colour back.
//
// The command line is stopped while the URL is carried out (and, taken
// first, saved): its wait for the lock runs on the real clock and may run
// out meanwhile on a loaded machine, so it goes on only once the lock is
// free, with the application stopped where it neither holds the lock nor
// tries for it.
TEST_F(RequestOrderTest, ACommandLineAndALaterURLWaitingForTheLockEndOnTheURLInEitherOrder) {
    startFirst();
    for (const bool urlFirst : {true, false}) {
        SCOPED_TRACE(urlFirst ? "the URL's save takes the lock first" : "the command line does");
        // The screen shows night again only once the URL is carried out.
        resetRampsToIdentity();
        other_ = holdTheLockElsewhere();
        auto command = commandLine("movie");
        ASSERT_TRUE(waitsForTheLock(*command));
        command->signal(SIGSTOP);
        auto answer = nightHandedOver(!urlFirst);
        if (urlFirst) {
            other_.reset();
            ASSERT_TRUE(eventually([&] { return savedAdjustment(home, identity()) == night(); }));
            // Its record in place, the save still syncs under the lock, and
            // the application reads its own record back under it.
            ASSERT_TRUE(stopsWithoutTheLock(*first)) << home.logText();
        } else {
            // Its save waits for the lock the test holds. A stop is acted on
            // a moment after it is sent: let go before, the lock could be
            // taken by the save and then kept, stopped.
            first->signal(SIGSTOP);
            ASSERT_TRUE(eventually([&] { return isStopped(first->pid()); }));
            other_.reset();
        }
        command->signal(SIGCONT);
        ASSERT_EQ(command->waitFor(), urlFirst ? 3 : 0) << home.logText();
        if (!urlFirst) {
            ASSERT_EQ(currentRamp("DUMMY0"), rampOf(builtInPreset("movie").adjustment, "DUMMY0"));
        }
        first->signal(SIGCONT);
        ASSERT_TRUE(answer.get()) << home.logText();
        EXPECT_TRUE(showsAndKeeps(night())) << home.logText();
    }
    showsAcrossARestart(night());
}

// A backup put back over the record with its hours-old time (cp -p): putting
// it back is the user's later request.
TEST_F(RequestOrderTest, ABackupPutBackWithItsOldTimeWinsOverAnEarlierHeldChange) {
    startFirst();
    const auto backup = home.path() / "backup.json";
    ASSERT_EQ(commandLine("coding")->waitFor(), 0);
    std::filesystem::copy_file(home.preferencesFile(), backup);
    const auto hoursAgo =
        std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()) - 3 * 3600;
    const timespec dates[2] = {{hoursAgo, 0}, {hoursAgo, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, backup.c_str(), dates, 0), 0);
    ASSERT_EQ(commandLine("movie")->waitFor(), 0);

    auto answer = nightHeldByTheLock();
    ASSERT_EQ(
        std::system(("cp -p " + backup.string() + " " + home.preferencesFile().string()).c_str()),
        0);
    other_.reset();
    ASSERT_TRUE(answer.get()) << home.logText();
    showsAcrossARestart(builtInPreset("coding").adjustment);
}

// The same with a backup of the last save's very bytes copied back over the
// record in place, on a file system that keeps neither birth times nor
// inode generations (an ext4 image through FUSE, its clock moved on ten
// seconds): the same file, inode number, length, bytes and modification
// time as that save, changed later than it.
TEST_F(RequestOrderTest, TheLastSavesBytesPutBackThroughFuseWinOverAnEarlierHeldChange) {
    if (const auto refused = mountThroughFuse())
        GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
    startFirst();
    const auto backup = home.path() / "backup.json";
    ASSERT_EQ(commandLine("movie")->waitFor(), 0);
    const auto cp = "cp -p " + home.preferencesFile().string() + " " + backup.string();
    ASSERT_EQ(std::system(cp.c_str()), 0);

    auto answer = nightHeldByTheLock();
    std::ifstream backupFile(backup);
    ASSERT_EQ(home.preferencesText(), std::string(std::istreambuf_iterator<char>(backupFile), {}));
    fuse_.moveClockOn(10);
    ASSERT_EQ(
        std::system(("cp -p " + backup.string() + " " + home.preferencesFile().string()).c_str()),
        0);
    other_.reset();
    ASSERT_TRUE(answer.get()) << home.logText();
    showsAcrossARestart(builtInPreset("movie").adjustment);
}

// A command line setting "movie" on DUMMY0 (traced: stopped once its stamp
// is in place, then killed as it starts to say its record landed) whose
// record lands ten seconds after its stamp on the file system's clock, as
// on a disk that stalls; "night" on DUMMY1, asked for meanwhile, waits for
// the lock. The record still reads as the command line's write of DUMMY0
// alone, and "night" stands too.
TEST_F(RequestOrderTest, ACommandLineKilledAfterItsRecordLandedLateLosesNoLaterChange) {
    if (!std::filesystem::exists("/usr/bin/strace"))
        GTEST_SKIP() << "strace is not installed";
    if (const auto refused = mountThroughFuse())
        GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
    startFirst();
    // strace notes each traced call and stop, the traced process's id first.
    const auto trace = home.path() / "strace.log";
    auto command = commandLine(
        "movie", "DUMMY0",
        {"/usr/bin/strace", "-f", "-o", trace.string(), "-e", "trace=rename,link", "-e",
         "inject=rename:signal=SIGSTOP:when=1", "-e", "inject=link:signal=SIGKILL:when=2"});
    const pid_t traced = stoppedByStrace(trace);
    ASSERT_NE(traced, 0) << home.logText();

    auto answer = std::async(std::launch::async, [this] {
        return handOverURL(socketPath(), "quorvane://apply-safe-preset?preset=night&display=" +
                                             identity("DUMMY1"));
    });
    ASSERT_TRUE(eventually([&] { return currentRamp("DUMMY1") == rampOf(night(), "DUMMY1"); }));
    fuse_.moveClockOn(10);
    ::kill(traced, SIGCONT);
    command->waitFor();
    ASSERT_TRUE(answer.get()) << home.logText();

    const auto& movie = builtInPreset("movie").adjustment;
    const auto bothStand = [&] {
        return currentRamp("DUMMY0") == rampOf(movie, "DUMMY0") &&
               currentRamp("DUMMY1") == rampOf(night(), "DUMMY1") &&
               savedAdjustment(home, identity("DUMMY0")) == movie &&
               savedAdjustment(home, identity("DUMMY1")) == night();
    };
    EXPECT_TRUE(eventually(bothStand)) << home.logText();
    first->signal(SIGTERM);
    ASSERT_EQ(first->waitFor(), 0) << home.logText();
    startFirst();
    EXPECT_TRUE(eventually(bothStand));
}

// A command line setting "movie" on DUMMY0, traced: stopped just before its
// record lands, its lock file removed meanwhile and "night" saved by the
// application for DUMMY1; then its exchange displaces that record and it
// is killed as it starts to put it back. The application's reload, told of
// the exchange, puts the record back before it reads it: "night" stays on
// the screen and in the record, though nothing saves again.
TEST_F(RequestOrderTest, ARecordDisplacedByAKilledCommandLineIsBackWithTheApplicationsReload) {
    if (!std::filesystem::exists("/usr/bin/strace"))
        GTEST_SKIP() << "strace is not installed";
    startFirst();
    ASSERT_EQ(commandLine("neutral")->waitFor(), 0) << home.logText();
    // Its stamps go in place by the first rename, its record is named as
    // displacing by the second; the exchange is the first renameat2, and
    // the put-back the second.
    const auto trace = home.path() / "strace.log";
    auto command =
        commandLine("movie", "DUMMY0",
                    {"/usr/bin/strace", "-f", "-o", trace.string(), "-e", "trace=rename,renameat2",
                     "-e", "inject=rename:signal=SIGSTOP:when=2", "-e",
                     "inject=renameat2:error=EIO:signal=SIGKILL:when=2"});
    const pid_t traced = stoppedByStrace(trace);
    ASSERT_NE(traced, 0) << home.logText();
    std::filesystem::remove(home.configFolder() / ".lock");
    ASSERT_TRUE(handOverURL(
        socketPath(), "quorvane://apply-safe-preset?preset=night&display=" + identity("DUMMY1")))
        << home.logText();
    ASSERT_TRUE(eventually([&] { return savedAdjustment(home, identity("DUMMY1")) == night(); }));
    ::kill(traced, SIGCONT);
    command->waitFor();

    const auto displacedLeft = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(home.configFolder())) {
            if (entry.path().filename().string().find(FileDefaultsStore::kDisplacedMark) !=
                std::string::npos)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(eventually([&] {
        return !displacedLeft() && currentRamp("DUMMY1") == rampOf(night(), "DUMMY1") &&
               savedAdjustment(home, identity("DUMMY1")) == night();
    })) << home.logText();
}

// "night" held past the lock's wait; then the command line sets "movie",
// the value the application last saved, so its record comes out byte for
// byte as that save. It is still the later request, told by the record's
// stamp alone: the record's file is neither replaced nor written.
TEST_F(RequestOrderTest, ACommandLineWritingTheBytesOfTheLastSaveStillWinsOverAHeldChange) {
    startFirst();
    commandLineWritingTheLastSaveWins();
}

// The same with a folder (holding a file) at the name of the record's
// stamp: it stops no stamp.
TEST_F(RequestOrderTest, AFolderAtTheStampsNameStopsNoLaterRequestFromWinning) {
    const auto stamp = home.configFolder() /
                       RecordWriteStamp::fileNameFor(home.preferencesFile().filename().string());
    std::filesystem::create_directories(stamp);
    std::ofstream(stamp / "kept") << "x";
    startFirst();
    commandLineWritingTheLastSaveWins();
}

// A mount point at the stamp's name, which no rename replaces or moves:
// the command line changes the screen but not the record, leaves record and
// stamp as they were, and says so with status 3, naming the reason once.
TEST_F(RequestOrderTest, AMountPointAtTheStampsNameFailsACommandLineWithoutReplacingTheRecord) {
    ASSERT_EQ(commandLine("movie")->waitFor(), 0) << home.logText();
    const auto stamp = home.configFolder() /
                       RecordWriteStamp::fileNameFor(home.preferencesFile().filename().string());
    const auto recordBefore = home.preferencesText();
    std::filesystem::remove(stamp);
    std::filesystem::create_directory(stamp);
    const testing::SmallDisk mountPoint(stamp, "16k");
    if (!mountPoint.mounted())
        GTEST_SKIP() << mountPoint.refusal();
    struct stat before {};
    ASSERT_EQ(::stat(home.preferencesFile().c_str(), &before), 0);

    ASSERT_EQ(commandLine("coding", "DUMMY1")->waitFor(), 3) << home.logText();
    EXPECT_EQ(currentRamp("DUMMY1"), rampOf(builtInPreset("coding").adjustment, "DUMMY1"));
    EXPECT_EQ(home.preferencesText(), recordBefore);
    struct stat after {};
    ASSERT_EQ(::stat(home.preferencesFile().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    const auto log = home.logText();
    EXPECT_NE(log.find("화면에는 적용했지만 설정을 저장하지 못했습니다: " + stamp.string() + " (" +
                       std::strerror(EBUSY) + ")"),
              std::string::npos)
        << log;
    std::size_t saidNotSaved = 0;
    for (auto at = log.find("저장하지 못했습니다"); at != std::string::npos;
         at = log.find("저장하지 못했습니다", at + 1))
        ++saidNotSaved;
    EXPECT_EQ(saidNotSaved, 1u) << log;
    // Nothing but the stamps, and the ones kept as sure to outlive a crash.
    for (const auto& entry : std::filesystem::directory_iterator(home.configFolder())) {
        const auto name = entry.path().filename().string();
        EXPECT_FALSE(name.starts_with(".org") && !name.ends_with(".written") &&
                     !name.ends_with(".written~"))
            << entry.path();
    }
}

void RequestOrderTest::commandLineWritingTheLastSaveWins() {
    const auto& movie = builtInPreset("movie").adjustment;
    ASSERT_TRUE(handOverURL(socketPath(),
                            "quorvane://apply-safe-preset?preset=movie&display=" + identity()));
    ASSERT_TRUE(eventually([&] { return savedAdjustment(home, identity()) == movie; }));
    const auto lastSave = home.preferencesText();
    struct stat saved {};
    ASSERT_EQ(::stat(home.preferencesFile().c_str(), &saved), 0);

    auto answer = nightHeldByTheLock();
    ASSERT_TRUE(answer.get()) << home.logText();
    // The command line waits for the lock too, and takes it first: the
    // application tries its held change again only later.
    auto command = commandLine("movie");
    ASSERT_TRUE(eventually([&] { return hasOpen(command->pid(), home.configFolder() / ".lock"); }));
    other_.reset();
    ASSERT_EQ(command->waitFor(), 0);
    EXPECT_EQ(home.preferencesText(), lastSave);
    struct stat after {};
    ASSERT_EQ(::stat(home.preferencesFile().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, saved.st_ino);
    EXPECT_EQ(after.st_ctim.tv_sec, saved.st_ctim.tv_sec);
    EXPECT_EQ(after.st_ctim.tv_nsec, saved.st_ctim.tv_nsec);
    showsAcrossARestart(movie);
}

// "movie" set by a command line whose clock ran a year ahead (a clock set by
// hand, a resumed virtual machine); then, on the true clock, "night" held
// past the lock's wait, and another command line setting another display
// takes the lock first, carrying the first one's request on. "night" is the
// later request.
TEST_F(RequestOrderTest, ARequestFromAClockAYearAheadDoesNotOutlastALaterHeldURL) {
    if (!hasFaketime())
        GTEST_SKIP() << "faketime (Debian package faketime) is not installed";
    startFirst();
    ASSERT_EQ(commandLine("movie", "DUMMY0", onAFakedClock("+365d"))->waitFor(), 0)
        << home.logText();
    auto answer = nightHeldByTheLock();
    ASSERT_TRUE(answer.get()) << home.logText();
    auto command = commandLine("coding", "DUMMY1");
    ASSERT_TRUE(eventually([&] { return hasOpen(command->pid(), home.configFolder() / ".lock"); }));
    other_.reset();
    ASSERT_EQ(command->waitFor(), 0) << home.logText();
    showsAcrossARestart(night());
}

// "night" held past the lock's wait; then the clock is set back an hour
// (date -s, NTP correcting a clock that ran ahead) and a command line sets
// "movie" and takes the lock first: it is the later request, however its
// wall clock reads, and wins. faketime shifts every clock the C library
// reads (the boot-time clock too), not the file times.
TEST_F(RequestOrderTest, ACommandLineAfterTheClockWasSetBackWinsOverAnEarlierHeldChange) {
    if (!hasFaketime())
        GTEST_SKIP() << "faketime (Debian package faketime) is not installed";
    startFirst();
    aLaterCommandLineWins(onAFakedClock("-1h", {"NO_FAKE_STAT=1"}));
}

// The same from another machine sharing the home (a network file system):
// its boot id and machine id are not this machine's, and the wall clock is
// all the two share.
TEST_F(RequestOrderTest, ACommandLineOfAnotherMachineWinsOverAnEarlierHeldChange) {
    const auto otherMachine = withFilesReading(
        {{"/proc/sys/kernel/random/boot_id", "0f6b3bd1-5c2e-4d8e-9a1f-2b7c4e6d8a90\n"},
         {"/etc/machine-id", "5a1e2b3c4d5e6f708192a3b4c5d6e7f8\n"}});
    if (!otherMachine)
        GTEST_SKIP()
            << "the kernel lets no mount namespace bind files over the boot and machine ids";
    startFirst();
    aLaterCommandLineWins(*otherMachine);
}

// The same from a machine cloned from this one without a new machine id,
// sharing the home: another boot id, this machine's id.
TEST_F(RequestOrderTest, ACommandLineOfAMachineClonedWithThisOnesIDWinsOverAnEarlierHeldChange) {
    const auto clone = withFilesReading(
        {{"/proc/sys/kernel/random/boot_id", "0f6b3bd1-5c2e-4d8e-9a1f-2b7c4e6d8a90\n"}});
    if (!clone)
        GTEST_SKIP() << "the kernel lets no mount namespace bind a file over the boot id";
    startFirst();
    aLaterCommandLineWins(*clone);
}

// The same while the application could not read the boot id (a sandbox
// that hides it): the command line's request goes by the wall clock, never
// as one of an earlier boot.
TEST_F(RequestOrderTest, ACommandLineWinsOverTheHeldChangeOfAnApplicationWithoutABootID) {
    const auto hidden = withFilesReading({{"/proc/sys/kernel/random/boot_id", ""}});
    if (!hidden)
        GTEST_SKIP() << "the kernel lets no mount namespace bind a file over the boot id";
    startFirst(*hidden);
    aLaterCommandLineWins({});
}

// The same from a command line in a time namespace whose boot-time clock
// stands 1000 seconds back (as far as the time since boot allows): the
// same boot and wall clock, its own boot-time clock.
TEST_F(RequestOrderTest, ACommandLineInATimeNamespaceWinsOverAnEarlierHeldChange) {
    timespec sinceBoot{};
    ::clock_gettime(CLOCK_BOOTTIME, &sinceBoot);
    const auto back = std::to_string(std::min<long>(1000, sinceBoot.tv_sec - 10));
    const auto timeNamespace = unshare({"--time", "--boottime", "-" + back});
    if (sinceBoot.tv_sec < 20 || !runs(timeNamespace))
        GTEST_SKIP() << "the kernel gives no time namespace here (Linux 5.6 or later, and user "
                        "namespaces for an ordinary user)";
    startFirst();
    aLaterCommandLineWins(timeNamespace);
}

// The application's clock runs an hour ahead (a bad time server, a clock
// set by hand) while "night" is asked for and held past the lock's wait;
// then it is set right, and a command line on the true clock sets "movie"
// and takes the lock first. It is the later request, and wins.
TEST_F(RequestOrderTest, ACommandLineAfterTheApplicationsClockWasSetRightWinsOverItsHeldChange) {
    if (!hasFaketime())
        GTEST_SKIP() << "faketime (Debian package faketime) is not installed";
    const auto clockFile = home.path() / "clock-offset";
    std::ofstream(clockFile) << "+0\n";
    startFirstOnAFakedClock(clockFile);
    std::ofstream(clockFile, std::ios::trunc) << "+1h\n";
    auto answer = nightHeldByTheLock();
    ASSERT_TRUE(answer.get()) << home.logText();
    std::ofstream(clockFile, std::ios::trunc) << "+0\n";
    auto command = commandLine("movie");
    ASSERT_TRUE(eventually([&] { return hasOpen(command->pid(), home.configFolder() / ".lock"); }));
    other_.reset();
    ASSERT_EQ(command->waitFor(), 0) << home.logText();
    showsAcrossARestart(builtInPreset("movie").adjustment);
}

// How one application run ended after its X server ended under it.
struct ServerLossRound {
    bool serverStarted = false;
    bool changeAcknowledged = false;
    bool ignoredBrokenPipes = false;
    bool socketLeftBehind = false;
    std::optional<int> status;
    std::string log;
    std::string display;
    std::map<std::string, ColorAdjustment> saved;
};

// The application on an X server of its own, the server ended right after
// the application is up or right after it acknowledged a change; killed, or
// ended gracefully (SIGTERM, as at logout: the server closes its clients'
// connections while the application may still be writing to one).
ServerLossRound runUntilTheServerDies(bool changeFirst, int serverSignal) {
    ServerLossRound round;
    testing::PrivateXServer server;
    round.display = server.display();
    if (round.display.empty())
        return round;
    round.serverStarted = true;
    testing::ApplicationHome home;
    allowPresetURLs(home);
    LaunchedProcess application(QUORVANE_EXECUTABLE, {}, home.environment(round.display),
                                home.log());
    const auto socket = instanceSocket(home, round.display);
    if (eventually([&] { return std::filesystem::exists(socket); }) && changeFirst) {
        round.changeAcknowledged =
            handOverURL(socket, "quorvane://apply-safe-preset?preset=night&scope=all-visible");
    }
    round.ignoredBrokenPipes = ignoresBrokenPipes(application.pid());
    server.stop(serverSignal);
    round.status = application.waitFor(std::chrono::seconds(60));
    round.socketLeftBehind = std::filesystem::exists(socket);
    round.log = home.logText();
    if (const auto text = home.preferencesText())
        round.saved = QuorvanePreferences::decoded(*text).displayAdjustments;
    return round;
}

// A killed or gracefully ended X server ends the application in order: with
// its own word and status instead of a crash or a signal (a write to the
// closed connection fails, it does not raise SIGPIPE), with its instance
// socket removed, and with every change it acknowledged saved. The rounds
// run a few at a time, each on its own server; 100 rounds pass when run by
// hand (--gtest_repeat), a few of them keep the suite quick.
TEST(ApplicationServerLossTest, EndsInOrderWithTheAcknowledgedChangeSavedWhenTheServerDies) {
    constexpr int kRounds = 12;
    constexpr int kAtOnce = 4;
    const ColorAdjustment night = DisplayPreset::builtIns().at(2).adjustment;
    ASSERT_EQ(DisplayPreset::builtIns().at(2).id, "night");
    std::vector<ServerLossRound> rounds;
    for (int first = 0; first < kRounds; first += kAtOnce) {
        std::vector<std::future<ServerLossRound>> running;
        for (int i = first; i < std::min(first + kAtOnce, kRounds); ++i)
            running.push_back(std::async(std::launch::async, runUntilTheServerDies, i % 2 == 0,
                                         i / 2 % 2 == 0 ? SIGKILL : SIGTERM));
        for (auto& round : running)
            rounds.push_back(round.get());
    }
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        const auto& round = rounds[i];
        if (!round.serverStarted)
            GTEST_SKIP() << "no private X server could be started";
        SCOPED_TRACE("round " + std::to_string(i) + " on " + round.display + "\n" + round.log);
        EXPECT_TRUE(round.ignoredBrokenPipes);
        EXPECT_EQ(round.status, 1);
        EXPECT_NE(round.log.find(lostXServerMessage(round.display.c_str())), std::string::npos);
        EXPECT_FALSE(round.socketLeftBehind);
        for (const char* crash : {"Sanitizer", "runtime error", "X connection to", "XIO:"})
            EXPECT_EQ(round.log.find(crash), std::string::npos) << crash;
        if (i % 2 != 0)
            continue;
        ASSERT_TRUE(round.changeAcknowledged);
        ASSERT_EQ(round.saved.size(), 3u);
        for (const auto& [identity, adjustment] : round.saved)
            EXPECT_EQ(adjustment, night) << identity;
    }
}

// The processes `application` started and what they started in turn,
// orphans included once this process takes them in as a subreaper.
std::vector<pid_t> startedBy(pid_t application) {
    std::map<pid_t, pid_t> parents;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const auto name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const auto close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream fields(line.substr(close + 2));
        char state = 0;
        pid_t parent = 0;
        if (fields >> state >> parent && state != 'Z')
            parents[std::stoi(name)] = parent;
    }
    std::vector<pid_t> started;
    std::vector<pid_t> parentsToSee = {application, ::getpid()};
    while (!parentsToSee.empty()) {
        const pid_t parent = parentsToSee.back();
        parentsToSee.pop_back();
        for (const auto& [pid, itsParent] : parents) {
            if (itsParent == parent && pid != application) {
                started.push_back(pid);
                parentsToSee.push_back(pid);
            }
        }
    }
    return started;
}

// The text of a file under /proc, empty once its process is gone (a
// stream would throw on the read that finds it gone).
std::string procText(pid_t pid, const char* name) {
    const std::string path = "/proc/" + std::to_string(pid) + "/" + name;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string text;
    char buffer[4096];
    for (ssize_t got = 0; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    ::close(fd);
    return text;
}

std::string commandOf(pid_t pid) {
    std::string command = procText(pid, "cmdline");
    std::replace(command.begin(), command.end(), '\0', ' ');
    return command;
}

// How many threads the process runs, none once it is gone.
long threadsOf(pid_t pid) {
    std::error_code gone;
    const std::filesystem::directory_iterator tasks("/proc/" + std::to_string(pid) + "/task", gone);
    return gone ? 0 : std::distance(tasks, std::filesystem::directory_iterator{});
}

// The processor time the process has taken, user and system, in clock ticks.
long ticksOf(pid_t pid) {
    const std::string stat = procText(pid, "stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos)
        return 0;
    // After the command: the state, then fields 4 to 13, then the times.
    std::istringstream fields(stat.substr(close + 2));
    std::string skipped;
    for (int field = 3; field <= 13; ++field)
        fields >> skipped;
    long user = 0;
    long system = 0;
    fields >> user >> system;
    return user + system;
}

// A forked child of the application that can never go on: alone in its
// process, so that no other thread could free what it waits for, and
// waiting on a futex, or spinning on a lock well past the processor time a
// child takes to reach its exec (a few milliseconds).
bool heldForGood(pid_t pid) {
    if (commandOf(pid).find("quorvane-app") == std::string::npos || threadsOf(pid) != 1)
        return false;
    // The system call it is blocked in, by number.
    long number = -1;
    std::istringstream(procText(pid, "syscall")) >> number;
    return number == SYS_futex || ticksOf(pid) >= ::sysconf(_SC_CLK_TCK);
}

// What each of `processes` runs and is doing (its threads, what it waits
// in, its processor time and its system call), a line each.
std::string doingOf(const std::vector<pid_t>& processes) {
    std::string doing;
    for (const pid_t pid : processes)
        doing += std::to_string(pid) + " " + commandOf(pid) + ": " +
                 std::to_string(threadsOf(pid)) + " threads, in " + procText(pid, "wchan") + ", " +
                 std::to_string(ticksOf(pid)) + " ticks, " + procText(pid, "syscall");
    return doing;
}

// What the application starts execs with the quit signals unblocked, also
// where a library puts back the mask its thread had before it forked:
// started without a session bus, the application has libdbus start one
// (dbus-launch, and the bus daemon that outlives the application). Each of
// them ends on SIGTERM.
TEST(ApplicationQuitTest, WhatTheApplicationStartsHearsTheQuitSignals) {
    if (!std::filesystem::exists("/usr/bin/dbus-launch"))
        GTEST_SKIP() << "dbus-launch (Debian package dbus-x11) is not installed";
    testing::PrivateXServer server;
    if (server.display().empty())
        GTEST_SKIP() << "no private X server could be started";
    // What the application's children leave behind comes to this process.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    testing::ApplicationHome home;
    auto environment = home.environment(server.display());
    std::erase_if(environment, [](const std::string& entry) {
        return entry.starts_with("DBUS_SESSION_BUS_ADDRESS=");
    });
    // libdbus allocates and frees between its fork and its exec. Under the
    // sanitizers that takes their allocator's locks, which another thread
    // may have held as it forked: the child then waits for them for good.
    // Each launch is followed until its bus starts or its child is seen so
    // held; only such a launch is started again.
    std::unique_ptr<LaunchedProcess> application;
    std::vector<pid_t> started;
    bool daemonStarted = false;
    int heldForks = 0;
    for (; heldForks < 8; ++heldForks) {
        application = std::make_unique<LaunchedProcess>(
            QUORVANE_EXECUTABLE, std::vector<std::string>{}, environment, home.log());
        std::optional<pid_t> held;
        const bool judged = eventually(
            [&] {
                started = startedBy(application->pid());
                daemonStarted = std::any_of(started.begin(), started.end(), [](pid_t pid) {
                    return commandOf(pid).find("dbus-daemon") != std::string::npos;
                });
                const auto stuck = std::find_if(started.begin(), started.end(), heldForGood);
                held = stuck != started.end() ? std::optional(*stuck) : std::nullopt;
                return daemonStarted || held;
            },
            std::chrono::minutes(2));
        if (!judged) {
            const std::string doing = doingOf(started);
            for (const pid_t pid : started)
                ::kill(pid, SIGKILL);
            FAIL() << "no session bus started, and no child held: " << home.logText() << doing;
        }
        if (daemonStarted)
            break;
        ::kill(*held, SIGKILL);
        application.reset();
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
        }
    }
    // Where every launch's child was held, what it starts cannot be seen here.
    if (!daemonStarted)
        GTEST_SKIP() << "the sanitizers held the forked child of " << heldForks << " launches";
    for (const pid_t pid : started) {
        const auto blocked = blockedSignals("/proc/" + std::to_string(pid) + "/status");
        EXPECT_EQ(blocked.value_or(0) & quitSignalBits(), 0u) << commandOf(pid);
    }
    application->signal(SIGTERM);
    EXPECT_EQ(application->waitFor(), 0) << home.logText();
    for (const pid_t pid : started)
        ::kill(pid, SIGTERM);
    EXPECT_TRUE(eventually([&] {
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
        }
        return std::none_of(started.begin(), started.end(),
                            [](pid_t pid) { return ::kill(pid, 0) == 0; });
    }));
}

// Root run with another user's home and no session bus named (`sudo -E`
// where none was) starts no bus: dbus-launch would write the bus's address
// under that home's .dbus with root's rights, through whatever link its user
// put there. The application runs on without D-Bus.
TEST_F(ApplicationTest, RootWithAnotherUsersHomeStartsNoSessionBusThroughThatUsersLinks) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root runs with rights beyond its home's user";
    if (!std::filesystem::exists("/usr/bin/dbus-launch"))
        GTEST_SKIP() << "dbus-launch (Debian package dbus-x11) is not installed";
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    constexpr uid_t kOtherUser = 65534;
    const auto rootOnly = home.path() / "root only";
    std::filesystem::create_directory(rootOnly);
    std::filesystem::permissions(rootOnly, std::filesystem::perms::owner_all);
    const auto usersHome = home.path() / "user";
    std::filesystem::create_directory(usersHome);
    std::filesystem::create_directory_symlink(rootOnly, usersHome / ".dbus");
    ASSERT_EQ(::lchown((usersHome / ".dbus").c_str(), kOtherUser, kOtherUser), 0);
    ASSERT_EQ(::chown(usersHome.c_str(), kOtherUser, kOtherUser), 0);
    auto environment = home.environment(displayName);
    std::erase_if(environment, [](const std::string& entry) {
        return entry.starts_with("DBUS_SESSION_BUS_ADDRESS=") || entry.starts_with("HOME=");
    });
    environment.push_back("HOME=" + usersHome.string());
    first = std::make_unique<LaunchedProcess>(QUORVANE_EXECUTABLE, std::vector<std::string>{},
                                              environment, home.log());
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(socketPath()); }))
        << home.logText();
    const auto started = startedBy(first->pid());
    for (const pid_t pid : started)
        ::kill(pid, SIGKILL);
    EXPECT_TRUE(started.empty()) << doingOf(started);
    expectEndsCleanlyOn(SIGTERM);
    EXPECT_TRUE(std::filesystem::is_empty(rootOnly));
}

// Whether every lit output of the server `connection` talks to shows the
// identity ramp.
bool showsIdentityOn(XConnection& connection) {
    const auto screen = RandrScreen::read(connection, RandrScreen::Probe::cached);
    if (!screen)
        return false;
    for (const auto& output : screen->activeOutputs(false)) {
        const auto ramp = readCrtcGamma(connection, output.crtc);
        if (!ramp || *ramp != GammaRamp::identity(ramp->size()))
            return false;
    }
    return true;
}

// Whether the thread of `pid` that runs its windows waits elsewhere than in
// its event loop, which polls several descriptors: for a lock, or for one
// descriptor (a reply on its X connection), from the call /proc shows.
bool windowThreadHeld(pid_t pid) {
    const auto id = std::to_string(pid);
    std::ifstream file("/proc/" + id + "/task/" + id + "/syscall");
    std::string call, descriptors, count;
    file >> call >> descriptors >> count;
    return call == std::to_string(SYS_futex) ||
           (call == std::to_string(SYS_poll) && count == "0x1");
}

// How many sockets `pid` has open.
int socketsOf(pid_t pid) {
    int sockets = 0;
    std::error_code error;
    const std::filesystem::path descriptors = "/proc/" + std::to_string(pid) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator(descriptors, error)) {
        if (std::filesystem::read_symlink(entry.path(), error).string().starts_with("socket:"))
            ++sockets;
    }
    return sockets;
}

// The X server paused (SIGSTOP) with the outputs corrected, until the
// window thread waits for it (its tray watch asks the server every second):
// a quit signal finds the watchdog's own connection held by the paused
// server too, where no time counts against the window thread. Once the
// server answers again, the window thread takes the quit and the program
// ends the ordinary way, the outputs handed back, no word of the watchdog's.
TEST(ApplicationQuitTest, AQuitWhileTheXServerIsPausedEndsTheOrdinaryWayOnceItAnswers) {
    testing::PrivateXServer server;
    if (server.display().empty())
        GTEST_SKIP() << "no private X server could be started";
    testing::ApplicationHome home;
    allowPresetURLs(home);
    LaunchedProcess application(QUORVANE_EXECUTABLE, {}, home.environment(server.display()),
                                home.log());
    const auto socket = instanceSocket(home, server.display());
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(socket); })) << home.logText();
    ASSERT_TRUE(handOverURL(socket, "quorvane://apply-safe-preset?preset=night&scope=all-visible"));
    auto connection = XConnection::open(server.display());
    ASSERT_TRUE(connection);
    ASSERT_FALSE(showsIdentityOn(*connection));
    ASSERT_EQ(::kill(server.pid(), SIGSTOP), 0);
    const bool held = eventually([&] { return windowThreadHeld(application.pid()); });
    const int sockets = socketsOf(application.pid());
    application.signal(SIGTERM);
    // The watchdog's own connection, held by the paused server as well.
    const bool watched = eventually([&] { return socketsOf(application.pid()) > sockets; });
    ::kill(server.pid(), SIGCONT);
    EXPECT_TRUE(held);
    EXPECT_TRUE(watched);
    EXPECT_EQ(application.waitFor(), 0) << home.logText();
    EXPECT_TRUE(showsIdentityOn(*connection));
    EXPECT_EQ(home.logText().find("종료 신호에 응답하지 못해"), std::string::npos)
        << home.logText();
}

}  // namespace
}  // namespace quorvane
