#pragma once

// JSON coding conventions shared by every stored or exchanged record:
// keys are field names, absent optionals are left out, empty collections are
// written, enumerations are coded by their case names and a value of the wrong
// type fails the whole decode.

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace quorvane {

// std::map-backed: objects come out with sorted keys.
using Json = nlohmann::json;
// Insertion-ordered: objects come out in field order.
using OrderedJson = nlohmann::ordered_json;

// A decode that cannot produce its record. `path` names the offending key.
class JsonDecodeError : public std::runtime_error {
  public:
    explicit JsonDecodeError(const std::string& message) : std::runtime_error(message) {}
};

// Enumerations coded by case name provide, next to their definition:
//   std::string_view caseName(E value);
//   std::optional<E> parseCaseName(std::string_view text, E* tag);  // tag is unused
// The tag parameter lets overloads differ only by enumeration type.
template <class E>
concept CaseNamedEnum = std::is_enum_v<E> && requires(E value, std::string_view text) {
    { caseName(value) } -> std::convertible_to<std::string_view>;
    { parseCaseName(text, static_cast<E*>(nullptr)) } -> std::same_as<std::optional<E>>;
};

namespace json_detail {

[[noreturn]] void fail(std::string_view key, std::string_view what);

template <class T>
struct IsVector : std::false_type {};
template <class T>
struct IsVector<std::vector<T>> : std::true_type {};

template <class T>
struct IsStringMap : std::false_type {};
template <class T>
struct IsStringMap<std::map<std::string, T>> : std::true_type {};

// Appends an entry whose key is known to sort after, and differ from, every
// key already in the object.
template <class Entries, class Value>
void appendEntry(Entries& entries, const std::string& key, Value&& value) {
    if constexpr (requires { typename Entries::Container; }) {
        // nlohmann's ordered_map is a vector of entries underneath.
        static_cast<typename Entries::Container&>(entries).emplace_back(key,
                                                                        std::forward<Value>(value));
    } else {
        entries.emplace_hint(entries.end(), key, std::forward<Value>(value));
    }
}

}  // namespace json_detail

// Decodes one JSON value as T, strictly: numbers must be numbers (integers
// must be integral and in range), strings strings, booleans booleans, enums a
// known case name. Records decode through a `static T fromJson(const J&)`
// member or a free `decodeJson(const J&, T*)` found by lookup.
template <class T, class J>
T decodeValue(const J& value, std::string_view key = {});

template <class T, class J>
T decodeValue(const J& value, std::string_view key) {
    using json_detail::fail;
    if constexpr (std::is_same_v<T, bool>) {
        if (!value.is_boolean())
            fail(key, "expected a boolean");
        return value.template get<bool>();
    } else if constexpr (std::is_same_v<T, double>) {
        if (!value.is_number())
            fail(key, "expected a number");
        return value.template get<double>();
    } else if constexpr (std::is_integral_v<T>) {
        if (!value.is_number())
            fail(key, "expected an integer");
        if (value.is_number_float()) {
            const double d = value.template get<double>();
            if (!std::isfinite(d) || std::trunc(d) != d ||
                d < static_cast<double>(std::numeric_limits<T>::min()) ||
                d > static_cast<double>(std::numeric_limits<T>::max())) {
                fail(key, "expected an integer in range");
            }
            return static_cast<T>(d);
        }
        if (value.is_number_unsigned()) {
            const auto u = value.template get<std::uint64_t>();
            if (u > static_cast<std::uint64_t>(std::numeric_limits<T>::max())) {
                fail(key, "integer out of range");
            }
            return static_cast<T>(u);
        }
        const auto s = value.template get<std::int64_t>();
        if constexpr (std::is_unsigned_v<T>) {
            if (s < 0)
                fail(key, "integer out of range");
            if (static_cast<std::uint64_t>(s) > std::numeric_limits<T>::max()) {
                fail(key, "integer out of range");
            }
        } else {
            if (s < std::numeric_limits<T>::min() || s > std::numeric_limits<T>::max()) {
                fail(key, "integer out of range");
            }
        }
        return static_cast<T>(s);
    } else if constexpr (std::is_same_v<T, std::string>) {
        if (!value.is_string())
            fail(key, "expected a string");
        return value.template get<std::string>();
    } else if constexpr (CaseNamedEnum<T>) {
        if (!value.is_string())
            fail(key, "expected a case name");
        const auto& text = value.template get_ref<const std::string&>();
        auto parsed = parseCaseName(std::string_view(text), static_cast<T*>(nullptr));
        if (!parsed)
            fail(key, "unknown case name '" + text + "'");
        return *parsed;
    } else if constexpr (json_detail::IsVector<T>::value) {
        if (!value.is_array())
            fail(key, "expected an array");
        T out;
        out.reserve(value.size());
        for (const auto& element : value) {
            out.push_back(decodeValue<typename T::value_type>(element, key));
        }
        return out;
    } else if constexpr (json_detail::IsStringMap<T>::value) {
        if (!value.is_object())
            fail(key, "expected an object");
        T out;
        for (auto it = value.begin(); it != value.end(); ++it) {
            out.emplace(it.key(), decodeValue<typename T::mapped_type>(it.value(), it.key()));
        }
        return out;
    } else if constexpr (requires { T::fromJson(value); }) {
        if (!value.is_object())
            fail(key, "expected an object");
        return T::fromJson(value);
    } else {
        return decodeJson(value, static_cast<T*>(nullptr));
    }
}

// The value under `key`: missing or null fails the decode.
template <class T, class J>
T requireKey(const J& object, std::string_view key) {
    if (!object.is_object())
        json_detail::fail(key, "expected an object");
    auto it = object.find(key);
    if (it == object.end() || it->is_null())
        json_detail::fail(key, "missing key");
    return decodeValue<T>(*it, key);
}

// The value under `key`, or `fallback` when the key is missing or null; a
// value of the wrong type still fails.
template <class T, class J>
T keyOr(const J& object, std::string_view key, T fallback) {
    if (!object.is_object())
        json_detail::fail(key, "expected an object");
    auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return fallback;
    return decodeValue<T>(*it, key);
}

// An optional field: missing or null gives nullopt.
template <class T, class J>
std::optional<T> optionalKey(const J& object, std::string_view key) {
    if (!object.is_object())
        json_detail::fail(key, "expected an object");
    auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return std::nullopt;
    return decodeValue<T>(*it, key);
}

// Encoding side. Records provide `J toJson() const` (usually templated on the
// JSON flavour, or written for OrderedJson and converted).
template <class J, class T>
J encodeValue(const T& value) {
    if constexpr (CaseNamedEnum<T>) {
        return J(std::string(caseName(value)));
    } else if constexpr (json_detail::IsVector<T>::value) {
        J array = J::array();
        for (const auto& element : value)
            array.push_back(encodeValue<J>(element));
        return array;
    } else if constexpr (json_detail::IsStringMap<T>::value) {
        // The map's keys are unique and sorted already, so every entry goes
        // at the end: an insertion-ordered object would otherwise search its
        // entries for each key, quadratic in the size of the map.
        J object = J::object();
        auto& entries = object.template get_ref<typename J::object_t&>();
        for (const auto& [k, v] : value)
            json_detail::appendEntry(entries, k, encodeValue<J>(v));
        return object;
    } else if constexpr (requires { value.template toJson<J>(); }) {
        return value.template toJson<J>();
    } else if constexpr (requires { value.toJson(); }) {
        return J(value.toJson());
    } else {
        return J(value);
    }
}

// Writes `value` under `key` when it holds one; absent optionals are left out.
template <class J, class T>
void putOptional(J& object, std::string_view key, const std::optional<T>& value) {
    if (value)
        object[std::string(key)] = encodeValue<J>(*value);
}

// Parses JSON text with the nesting depth bounded before the parser recurses,
// so hostile input ("[[[[…") is a JsonDecodeError rather than a stack overflow.
// Also rejects trailing garbage and invalid UTF-8 (as a decode error).
inline constexpr int kDefaultMaxJsonDepth = 256;
Json parseJson(std::string_view text, int maxDepth = kDefaultMaxJsonDepth);
OrderedJson parseOrderedJson(std::string_view text, int maxDepth = kDefaultMaxJsonDepth);

// Serialises with non-ASCII text kept as UTF-8 and invalid sequences replaced
// rather than throwing. `indent` < 0 writes compact JSON.
std::string dumpJson(const Json& value, int indent = -1);
std::string dumpJson(const OrderedJson& value, int indent = -1);

}  // namespace quorvane
