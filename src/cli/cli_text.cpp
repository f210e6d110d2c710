#include "cli/cli_text.hpp"

namespace quorvane {

std::string joinedText(const std::vector<std::string>& items, std::string_view separator,
                       std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < items.size(); ++i) {
        if (i > from)
            out += separator;
        out += items[i];
    }
    return out;
}

std::string_view onOff(bool value) {
    return value ? "on" : "off";
}

}  // namespace quorvane
