#pragma once

#include <cstdint>
#include <string>

namespace quorvane {

// A file size for people, in decimal units (1 KB = 1,000 bytes) as file
// managers show them: "1 byte", "999 bytes", "1 KB", "1 MB", "1.5 MB",
// "2.25 GB". Kilobytes show no fraction, megabytes one digit, larger units
// two; trailing zeros are dropped. Zero reads "Zero KB".
std::string formatFileByteCount(std::int64_t bytes);

}  // namespace quorvane
