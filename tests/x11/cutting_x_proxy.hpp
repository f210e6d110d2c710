#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "x11/stand_in_x_socket.hpp"

namespace quorvane::testing {

// Stands between X clients and a real X server, passing every byte on, and
// goes away (closes both sides without a word, as a killed server does) when
// a client's connection sends the n-th request of one kind (or of any), before the
// server sees it: the client then waits for an answer that never comes. A
// killed server meets a request at that moment only by chance; this makes
// it happen every time, with everything before it answered by the real
// server.
//
// With `hold`, the request is held back instead, with everything after it
// on that connection, until release(): the client waits as on a server
// that stalls, at a moment the test chooses.
//
// It serves on a display number of its own (an abstract socket, as Xorg's)
// and reaches the server on its abstract socket; clients must speak
// little-endian, as every client on this machine does.
class CuttingXProxy {
  public:
    struct Cut {
        // Any request when none: the n-th request of the connection.
        std::optional<std::uint8_t> majorOpcode;
        // Any minor opcode when none.
        std::optional<std::uint8_t> minorOpcode;
        // 1 for the first such request of each connection.
        int occurrence = 1;
        bool hold = false;
    };

    CuttingXProxy(const std::string& serverDisplay, Cut cut) : cut_(cut) {
        if (serverDisplay.size() < 2 || serverDisplay[0] != ':')
            return;
        serverNumber_ = std::stoi(serverDisplay.substr(1));
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (listener_ < 0)
            return;
        // Past the numbers real servers and the other stand-ins take.
        display_ = listenOnFreeDisplay(listener_, 1100 + ::getpid() % 200, 1500);
        if (!display_.empty())
            thread_ = std::thread([this] { serve(); });
    }
    ~CuttingXProxy() {
        release();
        if (listener_ >= 0)
            ::shutdown(listener_, SHUT_RDWR);
        if (thread_.joinable())
            thread_.join();
        {
            std::lock_guard lock(mutex_);
            for (const int socket : sockets_)
                ::shutdown(socket, SHUT_RDWR);
        }
        for (auto& relay : relays_)
            relay.join();
        for (const int socket : sockets_)
            ::close(socket);
        if (listener_ >= 0)
            ::close(listener_);
    }
    CuttingXProxy(const CuttingXProxy&) = delete;
    CuttingXProxy& operator=(const CuttingXProxy&) = delete;

    // Empty when no display number could be had.
    const std::string& display() const { return display_; }
    // How many connections were cut.
    int cuts() const { return cuts_; }
    // How many requests the clients sent, each counted once it is read
    // (before the server sees it), the one cut at included.
    int requests() const { return requests_; }
    // How many connections are held, or were until release().
    int holds() const { return holds_; }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        releasedChanged_.notify_all();
    }

  private:
    void serve() {
        while (true) {
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                return;
            const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            const auto [address, length] = xSocketAddress(serverNumber_);
            if (server < 0 ||
                ::connect(server, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
                ::close(client);
                if (server >= 0)
                    ::close(server);
                continue;
            }
            std::lock_guard lock(mutex_);
            sockets_.insert(client);
            sockets_.insert(server);
            // The server's bytes go back unread; the client's are read
            // request by request.
            relays_.emplace_back([client, server] { copyAll(server, client); });
            relays_.emplace_back([this, client, server] {
                forwardRequests(client, server);
                // Both directions end: the other relay's read returns.
                ::shutdown(client, SHUT_RDWR);
                ::shutdown(server, SHUT_RDWR);
            });
        }
    }

    void forwardRequests(int client, int server) {
        // The set-up: a 12-byte prefix, then the authorization name and data.
        std::vector<std::uint8_t> bytes(12);
        if (!readAllBytes(client, bytes.data(), bytes.size()) || bytes[0] != 'l')
            return;
        const std::size_t nameLength = bytes[6] | (bytes[7] << 8);
        const std::size_t dataLength = bytes[8] | (bytes[9] << 8);
        bytes.resize(12 + padded4(nameLength) + padded4(dataLength));
        if (!readAllBytes(client, bytes.data() + 12, bytes.size() - 12) ||
            !sendAllBytes(server, bytes.data(), bytes.size()))
            return;
        int seen = 0;
        while (readRequest(client, bytes)) {
            ++requests_;
            const bool matches = (!cut_.majorOpcode || bytes[0] == *cut_.majorOpcode) &&
                                 (!cut_.minorOpcode || bytes[1] == *cut_.minorOpcode);
            if (matches && ++seen == cut_.occurrence && !cut_.hold) {
                ++cuts_;
                return;
            }
            if (matches && seen == cut_.occurrence) {
                ++holds_;
                std::unique_lock lock(mutex_);
                releasedChanged_.wait(lock, [this] { return released_; });
            }
            if (!sendAllBytes(server, bytes.data(), bytes.size()))
                return;
        }
    }

    static bool readRequest(int client, std::vector<std::uint8_t>& bytes) {
        bytes.resize(4);
        if (!readAllBytes(client, bytes.data(), 4))
            return false;
        std::size_t units = bytes[2] | (bytes[3] << 8);
        if (units == 0) {  // a big request carries its length next
            bytes.resize(8);
            if (!readAllBytes(client, bytes.data() + 4, 4))
                return false;
            units = bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) |
                    (static_cast<std::size_t>(bytes[7]) << 24);
            if (units < 2)
                return false;
        }
        if (units < 1)
            return false;
        const std::size_t have = bytes.size();
        bytes.resize(units * 4);
        return readAllBytes(client, bytes.data() + have, bytes.size() - have);
    }

    static void copyAll(int from, int to) {
        std::array<std::uint8_t, 4096> buffer{};
        while (true) {
            const ssize_t got = ::read(from, buffer.data(), buffer.size());
            if (got <= 0)
                return;
            if (!sendAllBytes(to, buffer.data(), static_cast<std::size_t>(got)))
                return;
        }
    }

    Cut cut_;
    int serverNumber_ = 0;
    int listener_ = -1;
    std::string display_;
    std::thread thread_;
    std::mutex mutex_;
    // Both sockets of every connection, shut down when the proxy ends and
    // closed once its relays have.
    std::set<int> sockets_;
    std::vector<std::thread> relays_;
    std::atomic<int> cuts_ = 0;
    std::atomic<int> requests_ = 0;
    std::atomic<int> holds_ = 0;
    bool released_ = false;
    std::condition_variable releasedChanged_;
};

}  // namespace quorvane::testing
