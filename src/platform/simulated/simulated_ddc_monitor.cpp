#include "platform/simulated/simulated_ddc_monitor.hpp"

#include <algorithm>

#include "ddc_transport/ddc_packet.hpp"
#include "ddc_transport/ddc_transport.hpp"

namespace quorvane {
namespace {

// What a monitor sends when it has nothing to say: 6E 80 BE.
std::vector<std::uint8_t> nullMessage() {
    std::vector<std::uint8_t> message{kDDCWriteAddress, 0x80, 0};
    message[2] = ddcChecksum(kDDCReplyChecksumSeed, std::span(message).first(2));
    return message;
}

void sealReply(std::vector<std::uint8_t>& reply) {
    reply.back() = ddcChecksum(kDDCReplyChecksumSeed, std::span(reply).first(reply.size() - 1));
}

// A host packet: 51, 0x80 | length, payload, checksum from 0x6E on.
std::optional<std::span<const std::uint8_t>> payloadOf(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 3 || bytes[0] != kDDCHostAddress || (bytes[1] & 0x80) == 0) {
        return std::nullopt;
    }
    const std::size_t length = bytes[1] & 0x7F;
    if (bytes.size() != length + 3)
        return std::nullopt;
    if (ddcChecksum(kDDCWriteAddress, bytes) != 0)
        return std::nullopt;
    return bytes.subspan(2, length);
}

}  // namespace

SimulatedDDCMonitor::SimulatedDDCMonitor(Sleeper* sleeper, const Clock* clock)
    : sleeper_(sleeper), clock_(clock) {}

void SimulatedDDCMonitor::setControl(std::uint8_t code, std::uint16_t current,
                                     std::uint16_t maximum) {
    std::lock_guard lock(mutex_);
    controls_[code] = {current, maximum};
}

void SimulatedDDCMonitor::removeControl(std::uint8_t code) {
    std::lock_guard lock(mutex_);
    controls_.erase(code);
}

std::optional<SimulatedDDCMonitor::Control> SimulatedDDCMonitor::control(std::uint8_t code) const {
    std::lock_guard lock(mutex_);
    auto it = controls_.find(code);
    if (it == controls_.end())
        return std::nullopt;
    return it->second;
}

void SimulatedDDCMonitor::setFault(Fault fault, int count) {
    std::lock_guard lock(mutex_);
    fault_ = fault;
    faultCount_ = count;
}

void SimulatedDDCMonitor::leaveUnanswered(std::uint8_t code) {
    std::lock_guard lock(mutex_);
    unanswered_.insert(code);
}

void SimulatedDDCMonitor::refuseRequests(std::uint8_t code) {
    std::lock_guard lock(mutex_);
    refused_.insert(code);
}

void SimulatedDDCMonitor::setTransactionTime(Duration duration) {
    std::lock_guard lock(mutex_);
    transactionTime_ = duration;
}

void SimulatedDDCMonitor::setStoredValueRule(
    std::function<std::uint16_t(std::uint8_t, std::uint16_t)> rule) {
    std::lock_guard lock(mutex_);
    storedValueRule_ = std::move(rule);
}

std::vector<std::pair<std::uint8_t, std::uint16_t>> SimulatedDDCMonitor::setRequests() const {
    std::lock_guard lock(mutex_);
    return setRequests_;
}

bool SimulatedDDCMonitor::takeFault(Fault fault) {
    if (fault_ != fault || faultCount_ == 0)
        return false;
    if (faultCount_ > 0 && --faultCount_ == 0)
        fault_ = Fault::none;
    return true;
}

std::vector<std::uint8_t> SimulatedDDCMonitor::replyFor(std::uint8_t code) const {
    std::vector<std::uint8_t> reply(kDDCGetVCPReplySize, 0);
    reply[0] = kDDCWriteAddress;
    reply[1] = 0x88;
    reply[2] = kDDCGetVCPReplyOpcode;
    reply[4] = code;
    auto it = controls_.find(code);
    if (it == controls_.end()) {
        reply[3] = 0x01;  // unsupported VCP code
    } else {
        reply[6] = static_cast<std::uint8_t>(it->second.maximum >> 8);
        reply[7] = static_cast<std::uint8_t>(it->second.maximum & 0xFF);
        reply[8] = static_cast<std::uint8_t>(it->second.current >> 8);
        reply[9] = static_cast<std::uint8_t>(it->second.current & 0xFF);
    }
    sealReply(reply);
    return reply;
}

void SimulatedDDCMonitor::pause() {
    Duration time{0};
    {
        std::lock_guard lock(mutex_);
        time = transactionTime_;
    }
    if (sleeper_ && time > Duration::zero())
        sleeper_->sleepFor(time);
}

I2CStatus SimulatedDDCMonitor::receive(std::span<const std::uint8_t> bytes) {
    pause();
    std::lock_guard lock(mutex_);
    if (takeFault(Fault::nakRequest))
        return I2CStatus::noAcknowledge;
    pendingGetCode_.reset();
    pendingSince_.reset();
    const auto payload = payloadOf(bytes);
    if (!payload)
        return I2CStatus::ok;
    const bool get = payload->size() == 2 && (*payload)[0] == kDDCGetVCPOpcode;
    const bool set = payload->size() == 4 && (*payload)[0] == kDDCSetVCPOpcode;
    if ((get || set) && refused_.contains((*payload)[1]))
        return I2CStatus::noAcknowledge;
    if (get) {
        pendingGetCode_ = (*payload)[1];
        if (clock_)
            pendingSince_ = clock_->monotonicNow();
    } else if (set) {
        const std::uint8_t code = (*payload)[1];
        const auto value = static_cast<std::uint16_t>((*payload)[2] << 8 | (*payload)[3]);
        setRequests_.emplace_back(code, value);
        auto it = controls_.find(code);
        if (it != controls_.end()) {
            it->second.current = storedValueRule_ ? storedValueRule_(code, value)
                                                  : std::min(value, it->second.maximum);
        }
    }
    return I2CStatus::ok;
}

I2CStatus SimulatedDDCMonitor::transmit(std::span<std::uint8_t> buffer, I2CReadMode mode) {
    pause();
    std::lock_guard lock(mutex_);
    if (takeFault(Fault::noReply))
        return I2CStatus::noAcknowledge;
    if (pendingGetCode_ && unanswered_.contains(*pendingGetCode_))
        return I2CStatus::noAcknowledge;
    if (pendingSince_ && clock_ &&
        clock_->monotonicNow() - *pendingSince_ <
            std::chrono::duration_cast<Duration>(kDDCReplyDelay)) {
        return I2CStatus::noAcknowledge;  // still working on the request
    }

    std::vector<std::uint8_t> reply = pendingGetCode_ ? replyFor(*pendingGetCode_) : nullMessage();
    pendingGetCode_.reset();
    pendingSince_.reset();
    if (reply.size() == kDDCGetVCPReplySize) {
        if (mode == I2CReadMode::ddcci && takeFault(Fault::simpleReplyOnly)) {
            reply = nullMessage();
        } else if (takeFault(Fault::garbageReply)) {
            for (std::size_t i = 0; i < reply.size(); ++i) {
                reply[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 37));
            }
        } else if (takeFault(Fault::badChecksum)) {
            reply.back() ^= 0x01;
        } else if (takeFault(Fault::wrongCode)) {
            reply[4] = static_cast<std::uint8_t>(reply[4] + 1);
            sealReply(reply);
        } else if (takeFault(Fault::wrongOpcode)) {
            reply[2] = kDDCSetVCPOpcode;
            sealReply(reply);
        }
    }
    // Past the end of its message a monitor leaves the bus idle (all ones).
    std::fill(buffer.begin(), buffer.end(), 0xFF);
    std::copy_n(reply.begin(), std::min(reply.size(), buffer.size()), buffer.begin());
    return I2CStatus::ok;
}

}  // namespace quorvane
