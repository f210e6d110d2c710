#pragma once

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace quorvane::testing {

struct ExecutableResult {
    // -1 when the program did not exit by itself (see `signal`).
    int status = -1;
    // The signal that ended the program, if one did.
    int signal = 0;
    std::string out;
    std::string err;
};

// A private home for one test: the program's settings land under
// <home>/.config/quorvane and the user's real ones are never touched.
class TemporaryHome {
  public:
    TemporaryHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quorvane-cli-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TemporaryHome() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path configFolder() const { return path_ / ".config" / "quorvane"; }
    std::filesystem::path preferencesFile() const {
        return configFolder() / "org.quorvane.Quorvane.preferences.v1.json";
    }

    std::optional<std::string> preferencesText() const {
        std::ifstream file(preferencesFile(), std::ios::binary);
        if (!file)
            return std::nullopt;
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    void writePreferences(const std::string& text) const {
        std::filesystem::create_directories(configFolder());
        std::ofstream(preferencesFile(), std::ios::binary) << text;
    }

  private:
    std::filesystem::path path_;
};

// The command the tests run: the one built with them, or the one
// QUORVANE_TEST_EXECUTABLE names (the command as released, built apart with
// its own switches).
inline std::string quorvaneExecutable() {
    const char* chosen = std::getenv("QUORVANE_TEST_EXECUTABLE");
    return chosen != nullptr && *chosen != '\0' ? chosen : QUORVANE_EXECUTABLE;
}

// A clean environment for the program: the home above, `display` as
// DISPLAY (or none) and the sanitizer settings of the test run.
inline std::vector<std::string> cleanEnvironment(const TemporaryHome& home,
                                                 const std::optional<std::string>& display) {
    std::vector<std::string> environment = {
        "HOME=" + home.path().string(),
        "XDG_CONFIG_HOME=" + (home.path() / ".config").string(),
        "PATH=/usr/bin:/bin",
    };
    if (display)
        environment.push_back("DISPLAY=" + *display);
    // Sanitizer builds keep their settings in the child.
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name))
            environment.push_back(std::string(name) + "=" + value);
    }
    return environment;
}

// The program's argument and environment vectors for one run in the clean
// environment above.
struct CommandLine {
    CommandLine(const std::vector<std::string>& arguments, const TemporaryHome& home,
                const std::optional<std::string>& display,
                const std::string& program = quorvaneExecutable())
        : environment(cleanEnvironment(home, display)) {
        argv = {program};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        for (auto& argument : argv)
            argvPointers.push_back(argument.data());
        argvPointers.push_back(nullptr);
        for (auto& entry : environment)
            envPointers.push_back(entry.data());
        envPointers.push_back(nullptr);
    }
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    std::vector<std::string> argv;
    std::vector<std::string> environment;
    std::vector<char*> argvPointers;
    std::vector<char*> envPointers;
};

// Where the program's standard output goes.
enum class StandardOutput {
    captured,
    // A device that is always full: every write fails with ENOSPC.
    full,
    // Closed before the program starts.
    closed,
    // A pipe whose reader is gone: writes raise SIGPIPE / fail with EPIPE.
    brokenPipe,
};

// Runs `program` (normally the built `quorvane`) with the arguments after
// the program path, a clean environment (the home above, `display` as
// DISPLAY or none) and returns its exit status and both streams.
inline ExecutableResult runProgram(const std::string& program,
                                   const std::vector<std::string>& arguments,
                                   const TemporaryHome& home,
                                   const std::optional<std::string>& display = std::nullopt,
                                   StandardOutput output = StandardOutput::captured) {
    CommandLine command(arguments, home, display, program);
    auto& argv = command.argv;
    auto& argvPointers = command.argvPointers;
    auto& envPointers = command.envPointers;

    int outPipe[2];
    int errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int brokenPipe[2] = {-1, -1};
    switch (output) {
        case StandardOutput::captured:
            posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
            break;
        case StandardOutput::full:
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/full", O_WRONLY, 0);
            break;
        case StandardOutput::closed:
            posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
            break;
        case StandardOutput::brokenPipe:
            if (::pipe2(brokenPipe, O_CLOEXEC) != 0)
                return {};
            ::close(brokenPipe[0]);
            posix_spawn_file_actions_adddup2(&actions, brokenPipe[1], STDOUT_FILENO);
            break;
    }
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, argvPointers.data(),
                                      envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    if (brokenPipe[1] >= 0)
        ::close(brokenPipe[1]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);

    ExecutableResult result;
    std::array<pollfd, 2> fds = {pollfd{outPipe[0], POLLIN, 0}, pollfd{errPipe[0], POLLIN, 0}};
    std::array<std::string*, 2> sinks = {&result.out, &result.err};
    int open = 2;
    while (spawned == 0 && open > 0) {
        if (::poll(fds.data(), fds.size(), -1) < 0)
            break;
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t count = ::read(fds[i].fd, buffer, sizeof buffer);
            if (count > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(count));
                continue;
            }
            fds[i].fd = -1;
            --open;
        }
    }
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    int waitStatus = 0;
    if (spawned == 0 && ::waitpid(pid, &waitStatus, 0) == pid) {
        if (WIFEXITED(waitStatus))
            result.status = WEXITSTATUS(waitStatus);
        else if (WIFSIGNALED(waitStatus))
            result.signal = WTERMSIG(waitStatus);
    }
    return result;
}

inline ExecutableResult runQuorvane(const std::vector<std::string>& arguments,
                                    const TemporaryHome& home,
                                    const std::optional<std::string>& display = std::nullopt,
                                    StandardOutput output = StandardOutput::captured) {
    return runProgram(quorvaneExecutable(), arguments, home, display, output);
}

// A pipe whose closing lets every program started at it begin together.
class Barrier {
  public:
    Barrier() {
        if (::pipe(ends_) != 0)
            ends_[0] = ends_[1] = -1;
    }
    ~Barrier() { open(); }
    Barrier(const Barrier&) = delete;
    Barrier& operator=(const Barrier&) = delete;

    // Lets everything waiting go.
    void open() {
        for (int& end : ends_) {
            if (end >= 0)
                ::close(std::exchange(end, -1));
        }
    }
    int readEnd() const { return ends_[0]; }
    int writeEnd() const { return ends_[1]; }

  private:
    int ends_[2];
};

// Starts the program held at the barrier until it opens. Standard output and
// error go to /dev/null; waitForExit() gives the status.
inline pid_t startQuorvaneAtBarrier(const CommandLine& command, const Barrier& barrier) {
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    // Only the test holds the barrier shut.
    ::close(barrier.writeEnd());
    char byte = 0;
    while (::read(barrier.readEnd(), &byte, 1) > 0) {
    }
    ::close(barrier.readEnd());
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::execve(command.argv[0].c_str(), command.argvPointers.data(), command.envPointers.data());
    ::_exit(127);
}

// The exit status, or -1 when the program did not exit by itself (a signal).
inline int waitForExit(pid_t pid) {
    int waitStatus = 0;
    if (::waitpid(pid, &waitStatus, 0) != pid || !WIFEXITED(waitStatus))
        return -1;
    return WEXITSTATUS(waitStatus);
}

}  // namespace quorvane::testing
