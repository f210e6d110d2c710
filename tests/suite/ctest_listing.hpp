#pragma once

// What CTest lists of this build, for the suite's own checks.

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace quorvane::testing {

// What the shell command `command` prints on standard output.
inline std::string printedBy(const std::string& command) {
    std::string text;
    if (FILE* output = ::popen(command.c_str(), "r")) {
        char buffer[64 * 1024];
        for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, output)) > 0;)
            text.append(buffer, count);
        ::pclose(output);
    }
    return text;
}

// Every test of this build with its properties, as `ctest` lists them.
inline nlohmann::json listedTests() {
    return nlohmann::json::parse(
        printedBy("'" QUORVANE_CTEST_COMMAND "' --test-dir '" QUORVANE_BINARY_DIR
                  "' --show-only=json-v1"),
        nullptr, false);
}

// The values of the property `name` of one listed test (none without it).
inline nlohmann::json propertyOf(const nlohmann::json& test, std::string_view name) {
    for (const auto& property : test.value("properties", nlohmann::json::array())) {
        if (property.value("name", "") == name)
            return property["value"];
    }
    return nlohmann::json::array();
}

}  // namespace quorvane::testing
