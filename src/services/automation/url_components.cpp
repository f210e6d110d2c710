#include "services/automation/url_components.hpp"

namespace quorvane {

namespace {

bool isSchemeStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSchemeChar(char c) {
    return isSchemeStart(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Length of the scheme before ':' or 0 when the text starts without one.
size_t schemeLength(std::string_view url) {
    if (url.empty() || !isSchemeStart(url[0]))
        return 0;
    size_t i = 1;
    while (i < url.size() && isSchemeChar(url[i]))
        ++i;
    return (i < url.size() && url[i] == ':') ? i : 0;
}

// The host of an authority: user information and port removed.
std::string hostOf(std::string_view authority) {
    if (auto at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    if (!authority.empty() && authority.front() == '[') {
        auto close = authority.find(']');
        return std::string(
            authority.substr(0, close == std::string_view::npos ? authority.size() : close + 1));
    }
    if (auto colon = authority.rfind(':'); colon != std::string_view::npos) {
        authority = authority.substr(0, colon);
    }
    return percentDecoded(authority);
}

std::vector<UrlQueryItem> splitQuery(std::string_view query) {
    std::vector<UrlQueryItem> items;
    if (query.empty())
        return items;
    size_t start = 0;
    while (true) {
        const size_t amp = query.find('&', start);
        const std::string_view item = query.substr(
            start, amp == std::string_view::npos ? std::string_view::npos : amp - start);
        const size_t equals = item.find('=');
        if (equals == std::string_view::npos) {
            items.push_back({percentDecoded(item), std::nullopt});
        } else {
            items.push_back(
                {percentDecoded(item.substr(0, equals)), percentDecoded(item.substr(equals + 1))});
        }
        if (amp == std::string_view::npos)
            break;
        start = amp + 1;
    }
    return items;
}

}  // namespace

std::string percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

UrlComponents UrlComponents::split(std::string_view url) {
    UrlComponents parts;
    if (const size_t length = schemeLength(url); length > 0) {
        parts.scheme = std::string(url.substr(0, length));
        url.remove_prefix(length + 1);
    }
    if (auto hash = url.find('#'); hash != std::string_view::npos)
        url = url.substr(0, hash);
    if (auto question = url.find('?'); question != std::string_view::npos) {
        parts.queryItems = splitQuery(url.substr(question + 1));
        url = url.substr(0, question);
    }
    if (url.substr(0, 2) == "//") {
        url.remove_prefix(2);
        const size_t slash = url.find('/');
        parts.host = hostOf(url.substr(0, slash));
        url = slash == std::string_view::npos ? std::string_view{} : url.substr(slash);
    }
    parts.path = percentDecoded(url);
    return parts;
}

}  // namespace quorvane
