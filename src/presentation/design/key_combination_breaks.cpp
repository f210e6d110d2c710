#include "presentation/design/key_combination_breaks.hpp"

#include <cctype>

namespace quorvane {
namespace {

constexpr std::string_view kWordJoiner = "\u2060";

bool isKeyNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

std::string withKeyCombinationsWhole(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        const bool joinsKeys = text[index] == '+' && index > 0 && index + 1 < text.size() &&
                               isKeyNameCharacter(text[index - 1]) &&
                               isKeyNameCharacter(text[index + 1]);
        if (joinsKeys) {
            out += kWordJoiner;
            out += '+';
            out += kWordJoiner;
        } else {
            out += text[index];
        }
    }
    return out;
}

}  // namespace quorvane
