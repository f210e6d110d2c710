#include "services/display_store/display_store_types.hpp"

namespace quorvane {

std::string_view caseName(DisplayStoreRefreshIntent intent) {
    switch (intent) {
        case DisplayStoreRefreshIntent::startup:
            return "startup";
        case DisplayStoreRefreshIntent::explicitUserRefresh:
            return "explicitUserRefresh";
        case DisplayStoreRefreshIntent::passiveViewAppearance:
            return "passiveViewAppearance";
    }
    return {};
}

std::optional<DisplayStoreRefreshIntent> parseCaseName(std::string_view text,
                                                       DisplayStoreRefreshIntent*) {
    for (const auto intent :
         {DisplayStoreRefreshIntent::startup, DisplayStoreRefreshIntent::explicitUserRefresh,
          DisplayStoreRefreshIntent::passiveViewAppearance}) {
        if (caseName(intent) == text)
            return intent;
    }
    return std::nullopt;
}

}  // namespace quorvane
