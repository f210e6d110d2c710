#include "models/coding/uuid_parsing.hpp"

#include <cctype>

namespace quorvane {

std::optional<std::string> canonicalUuidText(std::string_view text) {
    if (text.size() != 36)
        return std::nullopt;
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const bool dashPosition = i == 8 || i == 13 || i == 18 || i == 23;
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if (dashPosition) {
            if (c != '-')
                return std::nullopt;
            continue;
        }
        if (!std::isxdigit(c))
            return std::nullopt;
        out[i] = static_cast<char>(std::toupper(c));
    }
    return out;
}

}  // namespace quorvane
