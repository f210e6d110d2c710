#include "cli/cli_text.hpp"

namespace quorvane {

std::string_view onOff(bool value) {
    return value ? "on" : "off";
}

}  // namespace quorvane
