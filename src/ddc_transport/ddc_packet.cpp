#include "ddc_transport/ddc_packet.hpp"

namespace quorvane {

std::uint8_t ddcChecksum(std::uint8_t seed, std::span<const std::uint8_t> bytes) {
    std::uint8_t sum = seed;
    for (std::uint8_t byte : bytes)
        sum ^= byte;
    return sum;
}

DDCGetVCPRequest makeGetVCPRequest(std::uint8_t code) {
    DDCGetVCPRequest request{kDDCHostAddress, 0x82, kDDCGetVCPOpcode, code, 0};
    request[4] = ddcChecksum(kDDCWriteAddress, std::span(request).first(4));
    return request;
}

DDCSetVCPRequest makeSetVCPRequest(std::uint8_t code, std::uint16_t value) {
    DDCSetVCPRequest request{kDDCHostAddress,
                             0x84,
                             kDDCSetVCPOpcode,
                             code,
                             static_cast<std::uint8_t>(value >> 8),
                             static_cast<std::uint8_t>(value & 0xFF),
                             0};
    request[6] = ddcChecksum(kDDCWriteAddress, std::span(request).first(6));
    return request;
}

bool isValidGetVCPReply(std::span<const std::uint8_t, kDDCGetVCPReplySize> reply,
                        std::uint8_t code) {
    if (reply[0] != kDDCWriteAddress)
        return false;
    if (reply[2] != kDDCGetVCPReplyOpcode)
        return false;
    if (reply[4] != code)
        return false;
    return ddcChecksum(0, reply) == kDDCReplyChecksumSeed;
}

DDCGetVCPReply decodeGetVCPReply(std::span<const std::uint8_t, kDDCGetVCPReplySize> reply) {
    DDCGetVCPReply decoded;
    decoded.resultCode = reply[3];
    decoded.maximum = static_cast<std::uint16_t>(reply[6] << 8 | reply[7]);
    decoded.current = static_cast<std::uint16_t>(reply[8] << 8 | reply[9]);
    return decoded;
}

}  // namespace quorvane
