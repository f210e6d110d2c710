#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include "ddc_transport/i2c_bus.hpp"
#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// A monitor that speaks DDC/CI at the byte level behind address 0x37: it
// keeps VCP values with their maxima, answers Get VCP Feature requests with a
// correctly checksummed reply (result code 1 for a code it does not know),
// takes Set VCP Feature requests, and ignores packets with a bad length or
// checksum, as monitors do. Faults make it misbehave on purpose.
//
// Thread-safe: a transaction may run on a background thread while a test
// changes the monitor.
class SimulatedDDCMonitor {
  public:
    enum class Fault {
        none,
        nakRequest,       // the request's write is not acknowledged
        noReply,          // the reply's read is not acknowledged (never answers)
        garbageReply,     // the reply is noise
        badChecksum,      // a proper reply whose checksum is off by one bit
        wrongCode,        // a proper reply for the next VCP code
        wrongOpcode,      // a proper reply with another opcode
        simpleReplyOnly,  // DDC/CI-framed reads get a null message; plain reads work
    };
    static constexpr int kForever = -1;

    struct Control {
        std::uint16_t current = 0;
        std::uint16_t maximum = 0;
        bool operator==(const Control&) const = default;
    };

    // With a clock the monitor refuses (does not acknowledge) a reply read
    // sooner than 40 ms after its request; with a sleeper it can be slow.
    // Both, when given, must outlive the monitor.
    explicit SimulatedDDCMonitor(Sleeper* sleeper = nullptr, const Clock* clock = nullptr);

    void setControl(std::uint8_t code, std::uint16_t current, std::uint16_t maximum);
    void removeControl(std::uint8_t code);
    std::optional<Control> control(std::uint8_t code) const;

    // The fault applies to the next `count` transactions it concerns (writes
    // for nakRequest, reads for the others), or for ever.
    void setFault(Fault fault, int count = kForever);
    // Requests for `code` are taken, but their replies never come (the
    // reply's read is not acknowledged), as on monitors that hang on a code.
    void leaveUnanswered(std::uint8_t code);
    // Requests for `code` are refused every time (the request's write is not
    // acknowledged), as on monitors that refuse the codes they lack.
    void refuseRequests(std::uint8_t code);
    // Every write and read takes this long (on the sleeper).
    void setTransactionTime(Duration duration);
    // Maps a written value to the one the monitor keeps (default: clamped to
    // the control's maximum), for monitors that round.
    void setStoredValueRule(std::function<std::uint16_t(std::uint8_t code, std::uint16_t)> rule);

    // The monitor's side of one bus transaction.
    I2CStatus receive(std::span<const std::uint8_t> bytes);
    I2CStatus transmit(std::span<std::uint8_t> buffer, I2CReadMode mode);

    // Set VCP Feature requests taken, in order (code, value as sent).
    std::vector<std::pair<std::uint8_t, std::uint16_t>> setRequests() const;

  private:
    bool takeFault(Fault fault);
    std::vector<std::uint8_t> replyFor(std::uint8_t code) const;
    void pause();

    mutable std::mutex mutex_;
    Sleeper* sleeper_;
    const Clock* clock_;
    std::map<std::uint8_t, Control> controls_;
    std::set<std::uint8_t> unanswered_;
    std::set<std::uint8_t> refused_;
    Fault fault_ = Fault::none;
    int faultCount_ = 0;
    Duration transactionTime_{0};
    std::function<std::uint16_t(std::uint8_t, std::uint16_t)> storedValueRule_;
    std::optional<std::uint8_t> pendingGetCode_;
    std::optional<MonotonicTime> pendingSince_;
    std::vector<std::pair<std::uint8_t, std::uint16_t>> setRequests_;
};

}  // namespace quorvane
