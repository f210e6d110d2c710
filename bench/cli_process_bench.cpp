// What a user of the command line waits for: one whole `quorvane cli` run,
// process start to exit, next to `xrandr --listmonitors` on the same X server
// as a yardstick for a small X client.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs the command with its output thrown away; false when it did not exit 0.
bool runToExit(std::vector<std::string> argv, const std::vector<std::string>& extraEnvironment) {
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
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

}  // namespace
