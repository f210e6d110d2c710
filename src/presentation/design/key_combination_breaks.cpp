#include "presentation/design/key_combination_breaks.hpp"

#include <cctype>

namespace quorvane {
namespace {

constexpr std::string_view kZeroWidthSpace = "\u200B";

bool isKeyNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

std::string withBreaksBetweenKeys(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        out += text[index];
        const bool joinsKeys = text[index] == '+' && index > 0 && index + 1 < text.size() &&
                               isKeyNameCharacter(text[index - 1]) &&
                               isKeyNameCharacter(text[index + 1]);
        if (joinsKeys)
            out += kZeroWidthSpace;
    }
    return out;
}

}  // namespace quorvane
