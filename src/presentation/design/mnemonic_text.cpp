#include "presentation/design/mnemonic_text.hpp"

namespace quorvane {

std::string verbatimMnemonicText(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        result.push_back(c);
        if (c == '&')
            result.push_back('&');
    }
    return result;
}

std::string shownMnemonicText(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            result.push_back(text[i]);
            continue;
        }
        // "&&" is one "&"; a lone "&" marks the next letter and is not drawn.
        if (i + 1 < text.size() && text[i + 1] == '&') {
            result.push_back('&');
            ++i;
        }
    }
    return result;
}

}  // namespace quorvane
