// What a user of the command line waits for: one whole `quorvane cli` run,
// process start to exit, next to `xrandr --listmonitors` and `xrandr --gamma`
// on the same X server and outputs as yardsticks for a small X client, and
// next to the colour-temperature tools that set the same ramps where they
// are installed.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xatom.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/linux/randr_screen.hpp"
#include "platform/linux/x_connection.hpp"
#include "support/edid_builder.hpp"

extern char** environ;

namespace {

// Runs the command with its output thrown away; false when it did not exit 0.
// `usage`, when given, receives the processor time the command used.
bool runToExit(std::vector<std::string> argv, const std::vector<std::string>& extraEnvironment,
               rusage* usage = nullptr) {
    std::vector<std::string> environment = extraEnvironment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        environment.emplace_back(*entry);
    std::vector<char*> args;
    for (auto& argument : argv)
        args.push_back(argument.data());
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    rusage used{};
    const bool ended = ::wait4(pid, &status, 0, &used) == pid;
    if (usage != nullptr)
        *usage = used;
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

const char* testDisplay() {
    const char* name = std::getenv("QUORVANE_TEST_DISPLAY");
    return name != nullptr && *name != '\0' ? name : nullptr;
}

// A private, empty configuration folder, so the run reads the defaults.
std::vector<std::string> environmentFor(const char* display) {
    static const std::string home =
        (std::filesystem::temp_directory_path() / "quorvane-cli-bench").string();
    std::vector<std::string> out = {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/.config"};
    if (display != nullptr)
        out.push_back(std::string("DISPLAY=") + display);
    return out;
}

void runCommand(benchmark::State& state, std::vector<std::string> argv, bool needsDisplay) {
    const char* display = testDisplay();
    if (needsDisplay && display == nullptr) {
        state.SkipWithError("QUORVANE_TEST_DISPLAY is not set");
        return;
    }
    const auto environment = environmentFor(display);
    for (auto _ : state) {
        if (!runToExit(argv, environment)) {
            state.SkipWithError("the command failed");
            return;
        }
    }
}

void BM_CliListPresetsJson(benchmark::State& state) {
    runCommand(state, {QUORVANE_EXECUTABLE, "cli", "list", "presets", "--json"}, false);
}
void BM_CliListDisplaysJson(benchmark::State& state) {
    runCommand(state, {QUORVANE_EXECUTABLE, "cli", "list", "displays", "--json"}, true);
}
void BM_XrandrListMonitors(benchmark::State& state) {
    runCommand(state, {"xrandr", "--listmonitors"}, true);
}

BENCHMARK(BM_CliListPresetsJson)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliListDisplaysJson)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_XrandrListMonitors)->Unit(benchmark::kMillisecond)->UseRealTime();

// The server with `outputs` lit outputs: the three-output one in
// QUORVANE_TEST_DISPLAY, the sixteen-output one (bench/start-xserver-16) in
// QUORVANE_BENCH_DISPLAY_16.
const char* displayWithOutputs(std::int64_t outputs) {
    const char* name =
        std::getenv(outputs == 16 ? "QUORVANE_BENCH_DISPLAY_16" : "QUORVANE_TEST_DISPLAY");
    return name != nullptr && *name != '\0' ? name : nullptr;
}

// Gives every lit output a monitor EDID of its own (the dummy driver has
// none), so both programs read and name real monitors; returns the output
// names, empty when the server cannot be read.
std::vector<std::string> litOutputsWithEdids(const char* display) {
    auto connection = quorvane::XConnection::open(display);
    if (!connection)
        return {};
    auto screen = quorvane::RandrScreen::read(*connection, quorvane::RandrScreen::Probe::cached);
    if (!screen)
        return {};
    std::vector<std::string> names;
    std::uint32_t serial = 1;
    for (const auto& output : screen->activeOutputs(false)) {
        quorvane::testing::EdidBuilder edid;
        edid.serial = serial++;
        edid.name = "BENCH " + output.name;
        const auto bytes = edid.bytes();
        XRRChangeOutputProperty(connection->display(), output.id, connection->atom("EDID"),
                                XA_INTEGER, 8, PropModeReplace, bytes.data(),
                                static_cast<int>(bytes.size()));
        names.push_back(output.name);
    }
    connection->sync();
    return names;
}

// One run's wall time and processor time (user and system), in ms.
struct RunTimes {
    double wallMs = -1;
    double cpuMs = -1;
};

double milliseconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

RunTimes runTimed(const std::vector<std::string>& argv,
                  const std::vector<std::string>& environment) {
    const auto start = std::chrono::steady_clock::now();
    rusage used{};
    if (!runToExit(argv, environment, &used))
        return {};
    return {
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
        milliseconds(used.ru_utime) + milliseconds(used.ru_stime)};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Paired whole-process comparison: every round runs our command and then
// the other program's on the same server, and the median of the per-round time ratios
// is reported ("ratio"), next to each program's median time. The same for
// the processor time each used ("cpu_ratio"), which a busy machine disturbs
// less than the wall time. With several pairs the rounds take them in turn.
void comparePaired(
    benchmark::State& state,
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>>& rounds,
    const char* display) {
    const auto environment = environmentFor(display);
    std::vector<double> ratios;
    std::vector<double> cpuRatios;
    std::vector<double> ourTimes;
    std::vector<double> theirTimes;
    std::size_t round = 0;
    for (auto _ : state) {
        const auto& [ours, theirs] = rounds[round++ % rounds.size()];
        const auto our = runTimed(ours, environment);
        const auto their = runTimed(theirs, environment);
        if (our.wallMs < 0 || their.wallMs < 0) {
            state.SkipWithError("a command failed");
            return;
        }
        ourTimes.push_back(our.wallMs);
        theirTimes.push_back(their.wallMs);
        ratios.push_back(our.wallMs / their.wallMs);
        if (their.cpuMs > 0)
            cpuRatios.push_back(our.cpuMs / their.cpuMs);
    }
    state.counters["ratio"] = median(ratios);
    state.counters["quorvane_ms"] = median(ourTimes);
    state.counters["theirs_ms"] = median(theirTimes);
    if (!cpuRatios.empty())
        state.counters["cpu_ratio"] = median(cpuRatios);
}

void comparePaired(benchmark::State& state, const std::vector<std::string>& ours,
                   const std::vector<std::string>& theirs, const char* display) {
    comparePaired(state, {{ours, theirs}}, display);
}

// `xrandr` setting one gamma on every named output in one run.
std::vector<std::string> xrandrGamma(const std::vector<std::string>& outputs, const char* gamma) {
    std::vector<std::string> xrandr = {"xrandr"};
    for (const auto& name : outputs) {
        xrandr.insert(xrandr.end(), {"--output", name, "--gamma", gamma});
    }
    return xrandr;
}

// Switches off the lit outputs past the first `kept` for as long as it
// lives, and on again at their place and mode after, so the three-output
// server also serves the comparisons on fewer outputs.
class OutputsSwitchedOff {
  public:
    OutputsSwitchedOff(const char* display, std::size_t kept) {
        connection_ = quorvane::XConnection::open(display);
        if (!connection_)
            return;
        auto screen =
            quorvane::RandrScreen::read(*connection_, quorvane::RandrScreen::Probe::cached);
        if (!screen)
            return;
        auto outputs = screen->activeOutputs(true);
        for (std::size_t index = kept; index < outputs.size(); ++index) {
            if (switchOutput(outputs[index], false))
                off_.push_back(std::move(outputs[index]));
        }
    }
    OutputsSwitchedOff(const OutputsSwitchedOff&) = delete;
    OutputsSwitchedOff& operator=(const OutputsSwitchedOff&) = delete;
    ~OutputsSwitchedOff() {
        for (const auto& output : off_)
            switchOutput(output, true);
    }

  private:
    bool switchOutput(const quorvane::RandrOutput& output, bool on) {
        auto screen =
            quorvane::RandrScreen::read(*connection_, quorvane::RandrScreen::Probe::cached);
        if (!screen || !output.currentMode)
            return false;
        if (on)
            makeRoomFor(output);
        RROutput id = output.id;
        const Status status =
            on ? XRRSetCrtcConfig(connection_->display(), screen->resources(), output.crtc,
                                  CurrentTime, output.x, output.y, output.currentMode->id,
                                  RR_Rotate_0, &id, 1)
               : XRRSetCrtcConfig(connection_->display(), screen->resources(), output.crtc,
                                  CurrentTime, 0, 0, None, RR_Rotate_0, nullptr, 0);
        return status == RRSetConfigSuccess && !connection_->sync();
    }

    // xrandr fits the screen to the outputs lit when it sets a gamma, so
    // the screen may have shrunk past the output meanwhile.
    void makeRoomFor(const quorvane::RandrOutput& output) {
        Display* display = connection_->display();
        // Asked of the server: this connection hears of no size change.
        Window root = None;
        int x = 0;
        int y = 0;
        unsigned int width = 0;
        unsigned int height = 0;
        unsigned int border = 0;
        unsigned int depth = 0;
        if (!XGetGeometry(display, connection_->root(), &root, &x, &y, &width, &height, &border,
                          &depth))
            return;
        const auto neededWidth = std::max(width, static_cast<unsigned>(output.x) + output.width);
        const auto neededHeight = std::max(height, static_cast<unsigned>(output.y) + output.height);
        if (neededWidth == width && neededHeight == height)
            return;
        // About 96 dots per inch, as the dummy server starts.
        XRRSetScreenSize(display, connection_->root(), static_cast<int>(neededWidth),
                         static_cast<int>(neededHeight), static_cast<int>(neededWidth * 254 / 960),
                         static_cast<int>(neededHeight * 254 / 960));
        connection_->sync();
    }

    std::optional<quorvane::XConnection> connection_;
    std::vector<quorvane::RandrOutput> off_;
};

// The server with `state.range(0)` lit outputs, each with an EDID, and the
// outputs' names; none, with the benchmark skipped, when there is no such
// server. Two outputs are the three-output server's first two.
struct LitServer {
    const char* display;
    std::vector<std::string> outputs;
    std::unique_ptr<OutputsSwitchedOff> switchedOff;
};

std::optional<LitServer> litServer(benchmark::State& state) {
    const auto wanted = static_cast<std::size_t>(state.range(0));
    const char* display = displayWithOutputs(state.range(0));
    auto switchedOff =
        display != nullptr ? std::make_unique<OutputsSwitchedOff>(display, wanted) : nullptr;
    auto outputs = display != nullptr ? litOutputsWithEdids(display) : std::vector<std::string>{};
    if (outputs.size() != wanted) {
        state.SkipWithError("no X server with that many outputs");
        return std::nullopt;
    }
    return LitServer{display, std::move(outputs), std::move(switchedOff)};
}

// Whether `program` is found on $PATH as an executable file.
bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    while (!rest.empty()) {
        const auto end = std::min(rest.find(':'), rest.size());
        const auto candidate = std::filesystem::path(rest.substr(0, end)) / program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return true;
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return false;
}

// `cli list displays` against `xrandr --listmonitors`.
void BM_ListDisplaysVersusXrandr(benchmark::State& state) {
    const auto server = litServer(state);
    if (!server)
        return;
    comparePaired(state, {QUORVANE_EXECUTABLE, "cli", "list", "displays"},
                  {"xrandr", "--listmonitors"}, server->display);
}

// The ramps night sets, from xrandr's view: full red, less green, much less
// blue.
constexpr const char* kNightGamma = "1:0.86:0.6";

// The night preset applied again on every lit output against `theirs` on
// the same outputs. The preferences hold night before the first timed
// round, so no round changes the record: each one writes the ramps and only
// the record's stamp.
void nightPresetVersus(benchmark::State& state,
                       const std::function<std::vector<std::string>(const LitServer&)>& theirs) {
    const auto server = litServer(state);
    if (!server)
        return;
    const std::vector<std::string> night = {QUORVANE_EXECUTABLE, "cli", "apply-safe-preset",
                                            "night", "--all-visible"};
    if (!runToExit(night, environmentFor(server->display))) {
        state.SkipWithError("the command failed");
        return;
    }
    comparePaired(state, night, theirs(*server), server->display);
}

// Against `xrandr --gamma` on every lit output in one xrandr run.
void BM_NightPresetVersusXrandrGamma(benchmark::State& state) {
    nightPresetVersus(
        state, [](const LitServer& server) { return xrandrGamma(server.outputs, kNightGamma); });
}

// Against a colour-temperature tool setting one temperature on every output
// through RandR in one-shot mode, where that tool is installed (the
// benchmark is skipped otherwise).
void nightPresetVersusTool(benchmark::State& state, const std::string& tool) {
    if (!onPath(tool)) {
        state.SkipWithError((tool + " is not installed").c_str());
        return;
    }
    nightPresetVersus(state, [&tool](const LitServer&) {
        return std::vector<std::string>{tool, "-P", "-O", "4500", "-m", "randr"};
    });
}

void BM_NightPresetVersusRedshift(benchmark::State& state) {
    nightPresetVersusTool(state, "redshift");
}
void BM_NightPresetVersusGammastep(benchmark::State& state) {
    nightPresetVersusTool(state, "gammastep");
}

// Night and coding in turn, so every run changes the preferences and saves
// them durably (synced file, rename, synced folder); xrandr alternates two
// gammas likewise.
void BM_AlternatingPresetsVersusXrandrGamma(benchmark::State& state) {
    const auto server = litServer(state);
    if (!server)
        return;
    const auto preset = [](const char* name) {
        return std::vector<std::string>{QUORVANE_EXECUTABLE, "cli", "apply-safe-preset", name,
                                        "--all-visible"};
    };
    comparePaired(state,
                  {{preset("night"), xrandrGamma(server->outputs, kNightGamma)},
                   {preset("coding"), xrandrGamma(server->outputs, "1:1:1.05")}},
                  server->display);
}

BENCHMARK(BM_ListDisplaysVersusXrandr)
    ->Arg(2)
    ->Arg(3)
    ->Arg(16)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_NightPresetVersusXrandrGamma)
    ->Arg(2)
    ->Arg(3)
    ->Arg(16)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_NightPresetVersusRedshift)
    ->Arg(2)
    ->Arg(3)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_NightPresetVersusGammastep)
    ->Arg(2)
    ->Arg(3)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_AlternatingPresetsVersusXrandrGamma)
    ->Arg(3)
    ->Arg(16)
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
