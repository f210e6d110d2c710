#include "services/automation/quorvane_automation_url_outcome.hpp"

namespace quorvane {

std::optional<std::string> QuorvaneAutomationURLOutcome::refusal() const {
    switch (kind) {
        case Kind::carriedOut:
        case Kind::duplicate:
            return std::nullopt;
        case Kind::refused:
        case Kind::failed:
            break;
    }
    return statusText;
}

}  // namespace quorvane
