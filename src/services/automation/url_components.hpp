#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

struct UrlQueryItem {
    std::string name;
    std::optional<std::string> value;  // absent for "key" without "="

    bool operator==(const UrlQueryItem&) const = default;
};

// The parts of a URL as the automation parser reads them. A deliberately small
// splitter: nothing is normalised (no host lower-casing, no path resolution, no
// "+"-as-space), so what the parser sees is what the link said. Host, path and
// query items are percent-decoded; an invalid escape stays as written.
struct UrlComponents {
    std::optional<std::string> scheme;  // as written
    std::optional<std::string> host;    // present when the URL has "//"
    std::string path;
    std::optional<std::vector<UrlQueryItem>> queryItems;  // present when the URL has "?"

    bool operator==(const UrlComponents&) const = default;

    static UrlComponents split(std::string_view url);
};

std::string percentDecoded(std::string_view text);

}  // namespace quorvane
