#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/executable_run.hpp"

namespace quorvane::testing {

// Polls `done` until it holds or `timeout` passes; true when it held. For
// effects of another process, which no virtual clock can drive.
inline bool eventually(const std::function<bool()>& done,
                       std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A private home, settings folder and runtime folder for the windowed
// application; removed with everything in it.
class ApplicationHome : public TemporaryHome {
  public:
    ApplicationHome() {
        std::filesystem::create_directories(configFolder());
        std::filesystem::create_directories(runtimeFolder());
        std::filesystem::permissions(runtimeFolder(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
    }

    std::filesystem::path runtimeFolder() const { return path() / "runtime"; }
    std::filesystem::path log() const { return path() / "application.log"; }

    std::string logText() const {
        std::ifstream file(log());
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    // The environment a launch gets: this home, `display`, the sanitizer
    // settings of the test run and `extra`.
    std::vector<std::string> environment(const std::string& display,
                                         const std::vector<std::string>& extra = {}) const {
        std::vector<std::string> result = cleanEnvironment(*this, display);
        result.push_back("XDG_RUNTIME_DIR=" + runtimeFolder().string());
        // No session bus: without an address libdbus starts one per X display
        // through the server, shared by every launch of the run, and a launch
        // could then wait for ever on a bus an earlier test left behind. The
        // application follows the palette's lightness and the XEmbed tray.
        result.push_back("DBUS_SESSION_BUS_ADDRESS=unix:path=" +
                         (runtimeFolder() / "no-bus").string());
        result.insert(result.end(), extra.begin(), extra.end());
        return result;
    }
};

// One launch of a program, both output streams appended to `log`, or
// standard error alone to `errors` when given.
class LaunchedProcess {
  public:
    LaunchedProcess(const std::string& program, std::vector<std::string> arguments,
                    std::vector<std::string> environment, const std::filesystem::path& log,
                    const std::optional<std::filesystem::path>& errors = std::nullopt) {
        std::vector<std::string> argv = {program};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<char*> argvPointers;
        for (auto& argument : argv)
            argvPointers.push_back(argument.data());
        argvPointers.push_back(nullptr);
        std::vector<char*> envPointers;
        for (auto& entry : environment)
            envPointers.push_back(entry.data());
        envPointers.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (errors)
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors->c_str(),
                                             O_WRONLY | O_CREAT | O_APPEND, 0600);
        else
            posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argvPointers.data(),
                          envPointers.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~LaunchedProcess() {
        if (running()) {
            ::kill(pid_, SIGKILL);
            waitFor(std::chrono::seconds(10));
        }
    }
    LaunchedProcess(const LaunchedProcess&) = delete;
    LaunchedProcess& operator=(const LaunchedProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running() { return pid_ > 0 && !reap(); }
    void signal(int number) const { ::kill(pid_, number); }

    // The exit status once the process has ended within `timeout`; -1 for a
    // process killed by a signal.
    std::optional<int> waitFor(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
        if (!eventually([this] { return reap(); }, timeout))
            return std::nullopt;
        return status_;
    }

  private:
    bool reap() {
        if (status_)
            return true;
        int waitStatus = 0;
        if (::waitpid(pid_, &waitStatus, WNOHANG) != pid_)
            return false;
        status_ = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
        return true;
    }

    pid_t pid_ = -1;
    std::optional<int> status_;
};

}  // namespace quorvane::testing
