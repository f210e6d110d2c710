#pragma once

// Date fields of the diagnostic report records: ISO 8601 text, whole seconds.

#include <optional>
#include <string_view>

#include "models/coding/date_coding.hpp"
#include "models/coding/json_coding.hpp"

namespace quorvane {

inline Date requireDateKey(const Json& object, std::string_view key) {
    return decodeJson(Json(requireKey<std::string>(object, key)), static_cast<Date*>(nullptr));
}

inline std::optional<Date> optionalDateKey(const Json& object, std::string_view key) {
    auto text = optionalKey<std::string>(object, key);
    if (!text)
        return std::nullopt;
    return decodeJson(Json(*text), static_cast<Date*>(nullptr));
}

inline void putOptionalDate(Json& object, std::string_view key, const std::optional<Date>& date) {
    if (date)
        object[std::string(key)] = formatIso8601(*date);
}

}  // namespace quorvane
