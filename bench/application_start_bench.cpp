// What a user waits for when starting the windowed application: process start
// to the main window on screen (viewable, hence painted once), and the
// program's resident memory then. Runs the installed-style `quorvane` entry
// (which hands over to the Qt application) against the private X server
// without a tray, so the main window opens at start. Goals: <= 300 ms and
// <= 60 MB in an optimised build.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The process that owns a window (_NET_WM_PID), or -1.
long windowPid(Display* display, Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &count, &remaining, &data) == Success &&
        data && format == 32 && count == 1)
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return pid;
}

// Whether the process shows a viewable top-level window at least `minWidth`
// wide (the dummy server runs no window manager: top-levels are the root's
// children).
bool mainWindowShown(Display* display, pid_t pid, int minWidth) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        found = XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable && attributes.width >= minWidth &&
                windowPid(display, children[i]) == pid;
    }
    if (children)
        XFree(children);
    return found;
}

double residentMegabytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

pid_t launch(const std::string& display, const fs::path& home) {
    std::vector<std::string> environment = {"HOME=" + home.string(),
                                            "XDG_CONFIG_HOME=" + (home / ".config").string(),
                                            "XDG_RUNTIME_DIR=" + (home / "runtime").string(),
                                            "DISPLAY=" + display, "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = QUORVANE_EXECUTABLE;
    char* argv[] = {program.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void BM_ApplicationStartToMainWindow(benchmark::State& state) {
    const char* name = std::getenv("QUORVANE_TEST_DISPLAY");
    Display* display = name ? XOpenDisplay(name) : nullptr;
    if (!display) {
        state.SkipWithError("QUORVANE_TEST_DISPLAY is not set");
        return;
    }
    const fs::path home = fs::temp_directory_path() / "quorvane-app-bench";
    double rssTotal = 0;
    double rssMax = 0;
    for (auto _ : state) {
        fs::remove_all(home);
        fs::create_directories(home / "runtime");
        fs::permissions(home / "runtime", fs::perms::owner_all, fs::perm_options::replace);
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = launch(name, home);
        const auto deadline = start + std::chrono::seconds(20);
        bool shown = false;
        while (pid > 0 && !shown && std::chrono::steady_clock::now() < deadline) {
            shown = mainWindowShown(display, pid, 600);
            if (!shown)
                std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        const auto elapsed = std::chrono::steady_clock::now() - start;
        const double rss = pid > 0 ? residentMegabytes(pid) : 0;
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
        if (!shown) {
            state.SkipWithError("the main window did not appear");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
        rssTotal += rss;
        rssMax = std::max(rssMax, rss);
    }
    if (state.iterations() > 0)
        state.counters["rss_MB"] = rssTotal / static_cast<double>(state.iterations());
    state.counters["rss_max_MB"] = rssMax;
    fs::remove_all(home);
    XCloseDisplay(display);
}

BENCHMARK(BM_ApplicationStartToMainWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

}  // namespace
