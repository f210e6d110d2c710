#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace quorvane::testing {

// A second X server of one test's own (the same Xorg dummy set-up as the
// shared one), for tests that stop a server: the shared server named by
// QUORVANE_TEST_DISPLAY is never stopped.
class PrivateXServer {
  public:
    // Starts the server; display() is empty when it could not be started.
    PrivateXServer() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quorvane-private-x-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            return;
        state_ = pattern;
        const std::string command =
            std::string(QUORVANE_SOURCE_DIR) + "/tests/x11/start-xserver '" + state_.string() + "'";
        FILE* output = ::popen(command.c_str(), "r");
        if (output == nullptr)
            return;
        char line[128] = {};
        const bool read = std::fgets(line, sizeof line, output) != nullptr;
        ::pclose(output);
        if (!read)
            return;
        std::istringstream words(line);
        std::string display;
        pid_t pid = -1;
        if (words >> display >> pid) {
            display_ = display;
            pid_ = pid;
        }
    }
    ~PrivateXServer() {
        stop();
        std::error_code ignored;
        std::filesystem::remove_all(state_, ignored);
        if (heldNumber_ >= 0)
            ::close(heldNumber_);
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    const std::string& display() const { return display_; }

    // Kills the server at once (no goodbye to its clients), or with SIGTERM
    // lets it end as at logout (it closes every client's connection in
    // order), and waits, up to a deadline, until it is gone. Its display
    // number stays taken until this object ends, so a server another test
    // starts meanwhile cannot answer in its place and make the dead one look
    // alive.
    void stop(int signal = SIGKILL) {
        if (pid_ <= 0)
            return;
        // Servers pick the lowest free number: one that starts between the
        // kill and a later bind takes this one over. The server's own
        // listening socket, kept open here, leaves no such moment; shut down,
        // it refuses every client.
        heldNumber_ = takeListeningSocket();
        if (heldNumber_ >= 0)
            ::shutdown(heldNumber_, SHUT_RDWR);
        ::kill(pid_, signal);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (::kill(pid_, 0) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        pid_ = -1;
        if (heldNumber_ < 0)
            holdDisplayNumber();
        else
            endQueuedClients();
    }

    // The server's process id; -1 once it is stopped or when it could not
    // be started.
    pid_t pid() const { return pid_; }

  private:
    // A duplicate of the server's listening socket on the display's
    // abstract name (clients try that name first); -1 when it cannot be
    // had (no pidfd_getfd, or not allowed to look into the server).
    int takeListeningSocket() const {
        const std::string target = "socket:[" + listeningSocketInode() + "]";
        const std::string descriptors = "/proc/" + std::to_string(pid_) + "/fd";
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(descriptors, error)) {
            if (std::filesystem::read_symlink(entry.path(), error) != target)
                continue;
            const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
            if (pidfd < 0)
                return -1;
            const int taken = static_cast<int>(
                ::syscall(SYS_pidfd_getfd, pidfd, std::stoi(entry.path().filename().string()), 0));
            ::close(pidfd);
            return taken;
        }
        return -1;
    }

    // Clients that connected just before the shutdown wait in the socket's
    // queue, never accepted; as long as the socket kept here is open they
    // would wait for the server's answer forever. Ending their connections
    // is what the server's death would have done. The shutdown let no one
    // in since, so once the queue is empty it stays empty.
    void endQueuedClients() const {
        const int flags = ::fcntl(heldNumber_, F_GETFL);
        if (flags < 0 || ::fcntl(heldNumber_, F_SETFL, flags | O_NONBLOCK) != 0)
            return;
        for (int client = ::accept4(heldNumber_, nullptr, nullptr, SOCK_CLOEXEC); client >= 0;
             client = ::accept4(heldNumber_, nullptr, nullptr, SOCK_CLOEXEC))
            ::close(client);
    }

    // From the server's /proc/<pid>/net/unix, whose lines read: Num RefCount
    // Protocol Flags Type St Inode Path; flags 00010000 mark a listening
    // socket. Empty when there is none.
    std::string listeningSocketInode() const {
        if (display_.size() < 2)
            return {};
        const std::string name = "@/tmp/.X11-unix/X" + display_.substr(1);
        std::ifstream sockets("/proc/" + std::to_string(pid_) + "/net/unix");
        std::string line;
        while (std::getline(sockets, line)) {
            std::istringstream fields(line);
            std::string num, refCount, protocol, flags, type, state, inode, path;
            if (fields >> num >> refCount >> protocol >> flags >> type >> state >> inode >> path &&
                path == name && flags == "00010000")
                return inode;
        }
        return {};
    }

    // A server started with -displayfd takes the first number whose abstract
    // socket it can bind; binding the killed server's one here (without
    // listening, so clients are refused) keeps the number from being reused.
    void holdDisplayNumber() {
        if (display_.size() < 2)
            return;
        const std::string name = "/tmp/.X11-unix/X" + display_.substr(1);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        // A leading NUL names an abstract socket.
        std::memcpy(address.sun_path + 1, name.data(), name.size());
        heldNumber_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const auto length =
            static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        if (heldNumber_ >= 0 &&
            ::bind(heldNumber_, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
            ::close(heldNumber_);
            heldNumber_ = -1;
        }
    }

    std::filesystem::path state_;
    int heldNumber_ = -1;
    std::string display_;
    pid_t pid_ = -1;
};

}  // namespace quorvane::testing
