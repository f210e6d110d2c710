#include "models/coding/text_joining.hpp"

namespace quorvane {

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string text;
    for (std::size_t index = 0; index < parts.size(); ++index) {
        if (index > 0)
            text += separator;
        text += parts[index];
    }
    return text;
}

}  // namespace quorvane
