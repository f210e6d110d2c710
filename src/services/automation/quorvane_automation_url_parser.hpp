#pragma once

#include <string_view>

#include "services/automation/quorvane_automation_command.hpp"
#include "services/automation/quorvane_automation_url_error.hpp"

namespace quorvane {

// Turns a `quorvane:` URL into a command. Pure; throws QuorvaneAutomationURLError.
class QuorvaneAutomationURLParser {
  public:
    QuorvaneAutomationURLParser() = delete;

    static QuorvaneAutomationCommand command(std::string_view url);
};

}  // namespace quorvane
