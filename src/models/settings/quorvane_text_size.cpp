#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

std::string_view caseName(QuorvaneTextSize size) {
    switch (size) {
        case QuorvaneTextSize::standard:
            return "standard";
        case QuorvaneTextSize::large:
            return "large";
        case QuorvaneTextSize::extraLarge:
            return "extraLarge";
        case QuorvaneTextSize::veryLarge:
            return "veryLarge";
    }
    return {};
}

std::string_view displayName(QuorvaneTextSize size) {
    switch (size) {
        case QuorvaneTextSize::standard:
            return "기본";
        case QuorvaneTextSize::large:
            return "크게";
        case QuorvaneTextSize::extraLarge:
            return "더 크게";
        case QuorvaneTextSize::veryLarge:
            return "아주 크게";
    }
    return {};
}

std::optional<QuorvaneTextSize> parseCaseName(std::string_view text, QuorvaneTextSize*) {
    for (auto size : kAllTextSizes) {
        if (caseName(size) == text)
            return size;
    }
    return std::nullopt;
}

}  // namespace quorvane
