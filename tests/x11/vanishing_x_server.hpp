#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "x11/stand_in_x_socket.hpp"

namespace quorvane::testing {

// A stand-in X server that answers just enough of the protocol for a client
// to set up and close its connection, and goes away (closes the connection
// without a word, as a killed server does) at one chosen moment of each
// connection. A real server cannot be killed at such a moment on purpose;
// this one makes the rare timing happen every time.
//
// It serves clients on a display number of its own (an abstract socket, as
// Xorg's), announces one screen and RandR without any output as its only
// extension, and answers QueryExtension, GetProperty, GetInputFocus,
// InternAtom and RandR's queries.
class VanishingXServer {
  public:
    enum class Moment {
        // While it sends the reply that sets the connection up: after the
        // first `setupBytes` bytes of it (all of it when there are fewer).
        answeringSetUp,
        // At Xlib's first own round trip while XOpenDisplay sets the
        // connection up (the resource database on the root window).
        settingUp,
        // At XOpenDisplay's last round trip (the keyboard extension query).
        finishingSetUp,
        // At the first request once the connection is set up.
        inUse,
        // While XCloseDisplay closes the connection (after its FreeGC).
        closing,
    };

    explicit VanishingXServer(Moment moment, std::size_t setupBytes = 0)
        : moment_(moment), setupBytes_(setupBytes) {
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (listener_ < 0)
            return;
        // Past the numbers real servers of this machine take.
        display_ = listenOnFreeDisplay(listener_, 700 + ::getpid() % 200, 1100);
        if (display_.empty())
            return;
        thread_ = std::thread([this] { serve(); });
    }
    ~VanishingXServer() {
        if (listener_ >= 0) {
            // Wakes the accept() below.
            ::shutdown(listener_, SHUT_RDWR);
        }
        if (thread_.joinable())
            thread_.join();
        {
            // And the reads of clients still connected.
            std::lock_guard lock(mutex_);
            for (const int client : clients_)
                ::shutdown(client, SHUT_RDWR);
        }
        for (auto& talker : talkers_)
            talker.join();
        if (listener_ >= 0)
            ::close(listener_);
    }
    VanishingXServer(const VanishingXServer&) = delete;
    VanishingXServer& operator=(const VanishingXServer&) = delete;

    // Empty when no display number could be had.
    const std::string& display() const { return display_; }
    // How many connections went away at the chosen moment.
    int vanished() const { return vanished_; }

    // The length of the reply that sets a connection up.
    static std::size_t setupReplySize() { return setup().size(); }

  private:
    static constexpr std::uint8_t kGetProperty = 20;
    static constexpr std::uint8_t kInternAtom = 16;
    static constexpr std::uint8_t kGetInputFocus = 43;
    static constexpr std::uint8_t kFreeGC = 60;
    static constexpr std::uint8_t kQueryExtension = 98;
    static constexpr std::uint8_t kRandR = 140;

    struct Request {
        std::uint8_t opcode = 0;
        std::vector<std::uint8_t> bytes;
    };

    // Each client is talked to on a thread of its own, so a connection kept
    // open does not keep the next one waiting.
    void serve() {
        while (true) {
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                return;
            std::lock_guard lock(mutex_);
            clients_.insert(client);
            talkers_.emplace_back([this, client] {
                talk(client);
                std::lock_guard lock(mutex_);
                clients_.erase(client);
                ::close(client);
            });
        }
    }

    void talk(int client) {
        std::array<std::uint8_t, 12> prefix{};
        if (!readAllBytes(client, prefix.data(), prefix.size()) || prefix[0] != 'l')
            return;
        const std::size_t nameLength = prefix[6] | (prefix[7] << 8);
        const std::size_t dataLength = prefix[8] | (prefix[9] << 8);
        std::vector<std::uint8_t> authorization(padded4(nameLength) + padded4(dataLength));
        if (!readAllBytes(client, authorization.data(), authorization.size()))
            return;
        if (moment_ == Moment::answeringSetUp) {
            auto reply = setup();
            reply.resize(std::min(reply.size(), setupBytes_));
            if (sendAllBytes(client, reply.data(), reply.size()))
                ++vanished_;
            return;
        }
        if (const auto reply = setup(); !sendAllBytes(client, reply.data(), reply.size()))
            return;
        std::uint16_t sequence = 0;
        bool setUp = false;
        bool closing = false;
        Request request;
        while (readRequest(client, request)) {
            ++sequence;
            if (vanishesAt(request, setUp, closing)) {
                ++vanished_;
                return;
            }
            setUp = setUp || isKeyboardQuery(request);
            closing = closing || request.opcode == kFreeGC;
            if (const auto reply = replyTo(request, sequence); !reply.empty()) {
                if (!sendAllBytes(client, reply.data(), reply.size()))
                    return;
            }
        }
    }

    bool vanishesAt(const Request& request, bool setUp, bool closing) const {
        switch (moment_) {
            case Moment::answeringSetUp:
                return true;
            case Moment::settingUp:
                return request.opcode == kGetProperty;
            case Moment::finishingSetUp:
                return isKeyboardQuery(request);
            case Moment::inUse:
                return setUp;
            case Moment::closing:
                return closing;
        }
        return false;
    }

    // XOpenDisplay's last request.
    static bool isKeyboardQuery(const Request& request) {
        return request.opcode == kQueryExtension && extensionName(request) == "XKEYBOARD";
    }

    std::vector<std::uint8_t> replyTo(const Request& request, std::uint16_t sequence) {
        std::vector<std::uint8_t> reply(32, 0);
        reply[0] = 1;
        reply[2] = sequence & 0xFF;
        reply[3] = sequence >> 8;
        switch (request.opcode) {
            case kQueryExtension:
                if (extensionName(request) == "RANDR") {
                    reply[8] = 1;  // present
                    reply[9] = kRandR;
                    reply[10] = 89;   // first event
                    reply[11] = 147;  // first error
                }
                return reply;
            case kGetProperty:    // no such property
            case kGetInputFocus:  // focus None
                return reply;
            case kInternAtom:
                put32(reply, 8, ++lastAtom_);
                return reply;
            case kRandR:
                return randrReplyTo(request, std::move(reply));
            default:  // a request without a reply
                return {};
        }
    }

    // RandR 1.5 with no CRTC, output or mode: a screen with nothing lit.
    static std::vector<std::uint8_t> randrReplyTo(const Request& request,
                                                  std::vector<std::uint8_t> reply) {
        switch (request.bytes[1]) {
            case 0:  // QueryVersion
                put32(reply, 8, 1);
                put32(reply, 12, 5);
                return reply;
            case 6:  // GetScreenSizeRange
                reply[8] = 1;
                reply[10] = 1;
                reply[12] = 0xFF;
                reply[13] = 0x7F;
                reply[14] = 0xFF;
                reply[15] = 0x7F;
                return reply;
            case 8:   // GetScreenResources
            case 25:  // GetScreenResourcesCurrent
            case 31:  // GetOutputPrimary
                return reply;
            default:  // SelectInput and the like
                return {};
        }
    }

    static std::string extensionName(const Request& request) {
        if (request.bytes.size() < 8)
            return {};
        const std::size_t length = request.bytes[4] | (request.bytes[5] << 8);
        if (request.bytes.size() < 8 + length)
            return {};
        return std::string(request.bytes.begin() + 8, request.bytes.begin() + 8 + length);
    }

    // One screen 640x480 of depth 24 with one TrueColor visual.
    static std::vector<std::uint8_t> setup() {
        std::vector<std::uint8_t> data;
        auto add8 = [&](std::uint32_t value) { data.push_back(value & 0xFF); };
        auto add16 = [&](std::uint32_t value) {
            add8(value);
            add8(value >> 8);
        };
        auto add32 = [&](std::uint32_t value) {
            add16(value);
            add16(value >> 16);
        };
        add32(1);           // release
        add32(0x00200000);  // resource id base
        add32(0x001FFFFF);  // resource id mask
        add32(0);           // motion buffer size
        add16(4);           // vendor length
        add16(65535);       // maximum request length
        add8(1);            // screens
        add8(1);            // pixmap formats
        add8(0);            // image byte order: LSB first
        add8(0);            // bitmap bit order
        add8(32);           // bitmap scanline unit
        add8(32);           // bitmap scanline pad
        add8(8);            // min keycode
        add8(255);          // max keycode
        add32(0);           // pad
        for (char c : std::string("fake"))
            add8(static_cast<std::uint8_t>(c));
        add8(24);  // format: depth
        add8(32);  // bits per pixel
        add8(32);  // scanline pad
        for (int i = 0; i < 5; ++i)
            add8(0);
        add32(0x100);     // root window
        add32(0x20);      // default colormap
        add32(0xFFFFFF);  // white pixel
        add32(0);         // black pixel
        add32(0);         // current input mask
        add16(640);
        add16(480);
        add16(170);
        add16(127);
        add16(1);     // min installed maps
        add16(1);     // max installed maps
        add32(0x21);  // root visual
        add8(0);      // backing store
        add8(0);      // save unders
        add8(24);     // root depth
        add8(1);      // depths
        add8(24);     // depth
        add8(0);
        add16(1);  // visuals
        add32(0);
        add32(0x21);  // visual id
        add8(4);      // TrueColor
        add8(8);      // bits per RGB value
        add16(256);   // colormap entries
        add32(0xFF0000);
        add32(0x00FF00);
        add32(0x0000FF);
        add32(0);

        std::vector<std::uint8_t> bytes = {1, 0, 11, 0, 0, 0};
        const auto units = static_cast<std::uint16_t>(data.size() / 4);
        bytes.push_back(units & 0xFF);
        bytes.push_back(units >> 8);
        bytes.insert(bytes.end(), data.begin(), data.end());
        return bytes;
    }

    static bool readRequest(int client, Request& request) {
        std::array<std::uint8_t, 4> header{};
        if (!readAllBytes(client, header.data(), header.size()))
            return false;
        std::size_t units = header[2] | (header[3] << 8);
        request.bytes.assign(header.begin(), header.end());
        if (units == 0) {  // a big request carries its length next
            std::array<std::uint8_t, 4> length{};
            if (!readAllBytes(client, length.data(), length.size()))
                return false;
            units = length[0] | (length[1] << 8) | (length[2] << 16) |
                    (static_cast<std::size_t>(length[3]) << 24);
            if (units < 2)
                return false;
            units -= 1;
        }
        if (units < 1)
            return false;
        std::vector<std::uint8_t> rest((units - 1) * 4);
        if (!readAllBytes(client, rest.data(), rest.size()))
            return false;
        request.bytes.insert(request.bytes.end(), rest.begin(), rest.end());
        request.opcode = header[0];
        return true;
    }

    static void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = (value >> (8 * i)) & 0xFF;
    }

    Moment moment_;
    std::size_t setupBytes_;
    int listener_ = -1;
    std::string display_;
    std::thread thread_;
    std::mutex mutex_;
    std::set<int> clients_;
    std::vector<std::thread> talkers_;
    std::atomic<std::uint32_t> lastAtom_ = 0x100;
    std::atomic<int> vanished_ = 0;
};

}  // namespace quorvane::testing
