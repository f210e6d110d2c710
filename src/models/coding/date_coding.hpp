#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "models/coding/json_coding.hpp"

namespace quorvane {

// A point in wall-clock time, as records store it.
using Date = std::chrono::system_clock::time_point;

// ISO 8601 in UTC with whole seconds and a "Z": "2026-12-06T20:41:31Z".
// Fractions of a second are dropped (rounded towards the past).
std::string formatIso8601(Date date);

// Reads an internet date-time: the form formatIso8601 writes, or one with a
// fraction of a second ("2026-12-06T20:41:31.25Z") and/or a numeric offset
// from UTC instead of "Z" ("2026-12-07T14:15:00+09:00", "-05:30"), keeping
// the instant it names. nullopt for anything else.
std::optional<Date> parseIso8601(std::string_view text);

// Date fields of records, coded as their ISO 8601 text. Every reader of a
// record date goes through here.
template <class J>
Date requireDateKey(const J& object, std::string_view key) {
    const std::string text = requireKey<std::string>(object, key);
    auto parsed = parseIso8601(text);
    if (!parsed)
        throw JsonDecodeError("JSON decode failed at '" + std::string(key) +
                              "': invalid ISO 8601 date");
    return *parsed;
}

template <class J>
std::optional<Date> optionalDateKey(const J& object, std::string_view key) {
    if (!optionalKey<std::string>(object, key))
        return std::nullopt;
    return requireDateKey(object, key);
}

}  // namespace quorvane
