#include "models/settings/quorvane_appearance.hpp"

namespace quorvane {

std::string_view caseName(QuorvaneAppearance appearance) {
    switch (appearance) {
        case QuorvaneAppearance::system:
            return "system";
        case QuorvaneAppearance::light:
            return "light";
        case QuorvaneAppearance::dark:
            return "dark";
    }
    return {};
}

std::string_view displayName(QuorvaneAppearance appearance) {
    switch (appearance) {
        case QuorvaneAppearance::system:
            return "시스템";
        case QuorvaneAppearance::light:
            return "라이트";
        case QuorvaneAppearance::dark:
            return "다크";
    }
    return {};
}

std::optional<QuorvaneAppearance> parseCaseName(std::string_view text, QuorvaneAppearance*) {
    for (auto appearance : kAllAppearances) {
        if (caseName(appearance) == text)
            return appearance;
    }
    return std::nullopt;
}

}  // namespace quorvane
