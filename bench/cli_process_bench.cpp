// What a user of the command line waits for: one whole `quorvane cli` run,
// process start to exit, next to `xrandr --listmonitors` on the same X server
// as a yardstick for a small X client.
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
#include <optional>
#include <string>
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
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count(),
            milliseconds(used.ru_utime) + milliseconds(used.ru_stime)};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Paired whole-process comparison: every round runs our command and then
// xrandr's on the same server, and the median of the per-round time ratios
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
    state.counters["xrandr_ms"] = median(theirTimes);
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

// The server with `state.range(0)` lit outputs, each with an EDID, and the
// outputs' names; none, with the benchmark skipped, when there is no such
// server.
struct LitServer {
    const char* display;
    std::vector<std::string> outputs;
};

std::optional<LitServer> litServer(benchmark::State& state) {
    const char* display = displayWithOutputs(state.range(0));
    auto outputs = display != nullptr ? litOutputsWithEdids(display) : std::vector<std::string>{};
    if (outputs.empty()) {
        state.SkipWithError("no X server with that many outputs");
        return std::nullopt;
    }
    return LitServer{display, std::move(outputs)};
}

// `cli list displays --json` against `xrandr --listmonitors`.
void BM_ListDisplaysVersusXrandr(benchmark::State& state) {
    const auto server = litServer(state);
    if (!server)
        return;
    comparePaired(state, {QUORVANE_EXECUTABLE, "cli", "list", "displays", "--json"},
                  {"xrandr", "--listmonitors"}, server->display);
}

// The night preset applied again on every lit output against `xrandr
// --gamma` on every lit output in one xrandr run. The preferences hold night
// before the first timed round, so no round changes the record: each one
// writes the ramps and only the record's stamp.
void BM_NightPresetVersusXrandrGamma(benchmark::State& state) {
    const auto server = litServer(state);
    if (!server)
        return;
    const std::vector<std::string> night = {QUORVANE_EXECUTABLE, "cli", "apply-safe-preset",
                                            "night", "--all-visible"};
    if (!runToExit(night, environmentFor(server->display))) {
        state.SkipWithError("the command failed");
        return;
    }
    comparePaired(state, night, xrandrGamma(server->outputs, "1:0.85:0.7"), server->display);
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
                  {{preset("night"), xrandrGamma(server->outputs, "1:0.85:0.7")},
                   {preset("coding"), xrandrGamma(server->outputs, "1:1:1.05")}},
                  server->display);
}

BENCHMARK(BM_ListDisplaysVersusXrandr)
    ->Arg(3)
    ->Arg(16)
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_NightPresetVersusXrandrGamma)
    ->Arg(3)
    ->Arg(16)
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_AlternatingPresetsVersusXrandrGamma)
    ->Arg(3)
    ->Arg(16)
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
