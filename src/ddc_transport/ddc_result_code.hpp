#pragma once

#include <cstdint>

namespace quorvane {

// Result codes of the DDC/CI transport. 0 is success; every failure is
// negative, and only the DDC controller turns them into texts.
inline constexpr std::int32_t kDDCSuccess = 0;
// The display is the built-in panel; nothing is sent.
inline constexpr std::int32_t kDDCBuiltInDisplay = -1;
// No DRM connector could be found for the display.
inline constexpr std::int32_t kDDCNoConnector = -2;
// The connector has no I2C bus, or a bus device node is missing.
inline constexpr std::int32_t kDDCNoBus = -3;
// A bus device could not be opened or the monitor address not selected.
inline constexpr std::int32_t kDDCOpenFailed = -4;
// The request could not be written to the bus.
inline constexpr std::int32_t kDDCSendFailed = -5;
// The request went out but reading the reply failed.
inline constexpr std::int32_t kDDCTransactionFailed = -6;
// Every read attempt ended with a reply that failed validation.
inline constexpr std::int32_t kDDCInvalidReply = -7;
// A valid reply said the monitor does not support the VCP code.
inline constexpr std::int32_t kDDCUnsupportedCode = -8;
// A required out-value was not supplied.
inline constexpr std::int32_t kDDCMissingOutValue = -9;

}  // namespace quorvane
