#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quorvane::testing {

// Stands at a running instance's socket in its place and gathers what
// `count` later launches hand over, each a whole frame (a four-byte length,
// then the message), before it passes any of them on: the instance then
// finds them all waiting at one moment, however far apart the launches came
// up on a loaded machine. Each launch gets the instance's answer to its own
// message. The instance's socket is moved aside meanwhile and put back when
// the relay goes.
class GatheringInstanceRelay {
  public:
    using Clock = std::chrono::steady_clock;

    GatheringInstanceRelay(std::filesystem::path socket, std::size_t count,
                           std::chrono::milliseconds patience = std::chrono::seconds(30))
        : socket_(std::move(socket)),
          moved_(socket_.string() + ".gathered"),
          count_(count),
          deadline_(Clock::now() + patience) {
        std::error_code error;
        std::filesystem::rename(socket_, moved_, error);
        if (error)
            return;
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const auto address = addressOf(socket_);
        if (listener_ < 0 ||
            ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, static_cast<int>(count_)) != 0)
            return;
        worker_ = std::thread([this] { passedOn_ = gatherAndPassOn(); });
    }

    ~GatheringInstanceRelay() {
        if (worker_.joinable())
            worker_.join();
        if (listener_ >= 0) {
            ::close(listener_);
            std::filesystem::remove(socket_);
        }
        std::error_code error;
        std::filesystem::rename(moved_, socket_, error);
    }

    GatheringInstanceRelay(const GatheringInstanceRelay&) = delete;
    GatheringInstanceRelay& operator=(const GatheringInstanceRelay&) = delete;

    // Waits until it is done: true when all `count` messages came in whole,
    // reached the instance together and each launch was given an answer.
    bool passedOnTogether() {
        if (worker_.joinable())
            worker_.join();
        return passedOn_;
    }

  private:
    static sockaddr_un addressOf(const std::filesystem::path& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        return address;
    }

    // Whether `fd` has something to read before the deadline.
    bool readable(int fd) const {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd entry{fd, POLLIN, 0};
        return ::poll(&entry, 1, static_cast<int>(left.count())) == 1;
    }

    // One whole frame from `fd`; none when it closed or the deadline passed.
    std::optional<std::string> frameFrom(int fd) const {
        std::string frame;
        while (frame.size() < 4 || frame.size() < 4 + lengthOf(frame)) {
            char buffer[512];
            if (!readable(fd))
                return std::nullopt;
            const ssize_t count = ::recv(fd, buffer, sizeof buffer, 0);
            if (count <= 0)
                return std::nullopt;
            frame.append(buffer, static_cast<std::size_t>(count));
        }
        return frame;
    }

    static std::size_t lengthOf(const std::string& frame) {
        std::size_t length = 0;
        for (int i = 0; i < 4; ++i)
            length = length << 8 | static_cast<std::uint8_t>(frame[static_cast<std::size_t>(i)]);
        return length;
    }

    // Everything `fd` sends until it closes; none when the deadline passed.
    std::optional<std::string> allFrom(int fd) const {
        std::string received;
        while (true) {
            char buffer[512];
            if (!readable(fd))
                return std::nullopt;
            const ssize_t count = ::recv(fd, buffer, sizeof buffer, 0);
            if (count < 0)
                return std::nullopt;
            if (count == 0)
                return received;
            received.append(buffer, static_cast<std::size_t>(count));
        }
    }

    bool gatherAndPassOn() {
        struct Held {
            int launch = -1;
            int instance = -1;
            std::string frame;
        };
        std::vector<Held> held;
        const auto closeAll = [&held] {
            for (const auto& each : held) {
                ::close(each.launch);
                if (each.instance >= 0)
                    ::close(each.instance);
            }
        };
        while (held.size() < count_) {
            if (!readable(listener_)) {
                closeAll();
                return false;
            }
            const int launch = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (launch < 0)
                continue;
            held.push_back({launch, -1, {}});
            auto frame = frameFrom(launch);
            if (!frame) {
                closeAll();
                return false;
            }
            held.back().frame = std::move(*frame);
        }
        // Every message is whole before the first goes on.
        const auto address = addressOf(moved_);
        bool passed = true;
        for (auto& each : held) {
            each.instance = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            passed = passed && each.instance >= 0 &&
                     ::connect(each.instance, reinterpret_cast<const sockaddr*>(&address),
                               sizeof address) == 0;
        }
        for (const auto& each : held)
            passed = passed && ::send(each.instance, each.frame.data(), each.frame.size(),
                                      MSG_NOSIGNAL) == static_cast<ssize_t>(each.frame.size());
        for (auto& each : held) {
            const auto answer = passed ? allFrom(each.instance) : std::nullopt;
            passed = passed && answer && !answer->empty() &&
                     ::send(each.launch, answer->data(), answer->size(), MSG_NOSIGNAL) ==
                         static_cast<ssize_t>(answer->size());
        }
        closeAll();
        return passed;
    }

    std::filesystem::path socket_;
    std::filesystem::path moved_;
    std::size_t count_;
    Clock::time_point deadline_;
    int listener_ = -1;
    bool passedOn_ = false;
    std::thread worker_;
};

}  // namespace quorvane::testing
