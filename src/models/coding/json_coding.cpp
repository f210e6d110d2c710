#include "models/coding/json_coding.hpp"

namespace quorvane {

namespace json_detail {

void fail(std::string_view key, std::string_view what) {
    std::string message = "JSON decode failed";
    if (!key.empty()) {
        message += " at '";
        message += key;
        message += "'";
    }
    message += ": ";
    message += what;
    throw JsonDecodeError(message);
}

}  // namespace json_detail

namespace {

// Measures the deepest nesting of arrays and objects without recursion,
// skipping string contents. Returns false as soon as `maxDepth` is exceeded.
bool depthWithin(std::string_view text, int maxDepth) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        switch (c) {
            case '"':
                inString = true;
                break;
            case '[':
            case '{':
                if (++depth > maxDepth)
                    return false;
                break;
            case ']':
            case '}':
                --depth;
                break;
            default:
                break;
        }
    }
    return true;
}

template <class J>
J parseWithDepth(std::string_view text, int maxDepth) {
    if (!depthWithin(text, maxDepth)) {
        throw JsonDecodeError("JSON decode failed: nesting deeper than " +
                              std::to_string(maxDepth) + " levels");
    }
    try {
        return J::parse(text.begin(), text.end());
    } catch (const nlohmann::json::exception& error) {
        throw JsonDecodeError(std::string("JSON decode failed: ") + error.what());
    }
}

}  // namespace

Json parseJson(std::string_view text, int maxDepth) {
    return parseWithDepth<Json>(text, maxDepth);
}

OrderedJson parseOrderedJson(std::string_view text, int maxDepth) {
    return parseWithDepth<OrderedJson>(text, maxDepth);
}

std::string dumpJson(const Json& value, int indent) {
    return value.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string dumpJson(const OrderedJson& value, int indent) {
    return value.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace quorvane
