#include "platform/interfaces/defaults_storing.hpp"

#include <algorithm>

namespace quorvane {

namespace {

// Leaves room for ".json" and the temporary-file suffix within NAME_MAX.
constexpr std::size_t kMaxKeyLength = 200;

}  // namespace

bool isValidDefaultsKey(std::string_view key) {
    if (key.empty() || key.size() > kMaxKeyLength)
        return false;
    // A leading dot would hide the file and could collide with the store's
    // own temporary files.
    if (key.front() == '.')
        return false;
    if (key.find("..") != std::string_view::npos)
        return false;
    return std::none_of(key.begin(), key.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || byte < 0x20 || byte == 0x7F;
    });
}

}  // namespace quorvane
