#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quorvane {

// DDC/CI over I2C: the monitor listens at 7-bit address 0x37, which is 0x6E
// for writing and 0x6F for reading on the wire; the host is 0x51.
inline constexpr std::uint8_t kDDCSlaveAddress = 0x37;
inline constexpr std::uint8_t kDDCWriteAddress = 0x6E;
inline constexpr std::uint8_t kDDCReadAddress = 0x6F;
inline constexpr std::uint8_t kDDCHostAddress = 0x51;
// A valid reply's bytes XOR to this value (the virtual host address 0x50).
inline constexpr std::uint8_t kDDCReplyChecksumSeed = 0x50;

inline constexpr std::uint8_t kDDCGetVCPOpcode = 0x01;
inline constexpr std::uint8_t kDDCGetVCPReplyOpcode = 0x02;
inline constexpr std::uint8_t kDDCSetVCPOpcode = 0x03;

inline constexpr std::size_t kDDCGetVCPRequestSize = 5;
inline constexpr std::size_t kDDCSetVCPRequestSize = 7;
inline constexpr std::size_t kDDCGetVCPReplySize = 11;

using DDCGetVCPRequest = std::array<std::uint8_t, kDDCGetVCPRequestSize>;
using DDCSetVCPRequest = std::array<std::uint8_t, kDDCSetVCPRequestSize>;
using DDCGetVCPReplyBytes = std::array<std::uint8_t, kDDCGetVCPReplySize>;

// XOR of `seed` and every byte.
std::uint8_t ddcChecksum(std::uint8_t seed, std::span<const std::uint8_t> bytes);

// 51 82 01 code checksum, the checksum taken from the destination 0x6E on.
DDCGetVCPRequest makeGetVCPRequest(std::uint8_t code);
// 51 84 03 code high low checksum.
DDCSetVCPRequest makeSetVCPRequest(std::uint8_t code, std::uint16_t value);

// A Get VCP Feature reply is accepted when it comes from the monitor (0x6E),
// is a Get VCP reply, names the requested code and XORs to 0x50. The length
// and VCP type bytes are not examined.
bool isValidGetVCPReply(std::span<const std::uint8_t, kDDCGetVCPReplySize> reply,
                        std::uint8_t code);

struct DDCGetVCPReply {
    std::uint8_t resultCode = 0;  // 0 = supported
    std::uint16_t maximum = 0;
    std::uint16_t current = 0;

    bool operator==(const DDCGetVCPReply&) const = default;
};

// Reads the fields of a reply that passed validation.
DDCGetVCPReply decodeGetVCPReply(std::span<const std::uint8_t, kDDCGetVCPReplySize> reply);

}  // namespace quorvane
