#pragma once

#include <string>
#include <string_view>

#include "models/coding/json_coding.hpp"

namespace quorvane {

// Build and operating-system facts of a diagnostic report.
struct QuorvaneDiagnosticEnvironment {
    std::string appName;
    std::string appVersion;
    std::string buildVersion;
    // The operating system's version text; the key keeps its historic name.
    std::string macOSVersion;

    // `bundleInfo` is the application's information dictionary (a JSON
    // object); a missing or non-string "CFBundleShortVersionString" or
    // "CFBundleVersion" reads "unknown". The OS text is taken unchanged.
    static QuorvaneDiagnosticEnvironment current(const Json& bundleInfo,
                                                 std::string_view operatingSystemVersion);

    Json toJson() const;
    static QuorvaneDiagnosticEnvironment fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticEnvironment&) const = default;
};

}  // namespace quorvane
