#include "services/automation/quorvane_automation_url_parser.hpp"

#include <algorithm>
#include <map>
#include <vector>

#include "models/coding/unicode_text.hpp"
#include "services/automation/url_components.hpp"

namespace quorvane {

namespace {

using Error = QuorvaneAutomationURLError;

std::string trimSlashes(std::string_view text) {
    while (!text.empty() && text.front() == '/')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == '/')
        text.remove_suffix(1);
    return std::string(text);
}

std::string nonBlankHost(const UrlComponents& parts) {
    if (!parts.host)
        return {};
    return trimWhitespaceAndNewlines(*parts.host);
}

std::string commandName(const UrlComponents& parts) {
    if (const std::string host = nonBlankHost(parts); !host.empty())
        return lowercased(host);
    return lowercased(trimWhitespaceAndNewlines(trimSlashes(parts.path)));
}

void requireNoQuery(const UrlComponents& parts) {
    if (!parts.queryItems || parts.queryItems->empty())
        return;
    throw Error(Error::Kind::unknownQueryKey, parts.queryItems->front().name);
}

QuorvaneAutomationCommand applySafePresetCommand(const std::vector<UrlQueryItem>& items) {
    static const std::vector<std::string> allowed = {"preset", "display", "scope"};
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> firstNames;
    for (const auto& item : items) {
        const std::string key = lowercased(item.name);
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
            throw Error(Error::Kind::unknownQueryKey, item.name);
        }
        if (values.contains(key))
            throw Error(Error::Kind::duplicateQueryKey, firstNames[key]);
        values[key] = item.value.value_or("");
        firstNames[key] = item.name;
    }

    const std::string preset =
        values.contains("preset") ? trimWhitespaceAndNewlines(values["preset"]) : "";
    if (preset.empty())
        throw Error(Error::Kind::missingPreset);

    const std::string display =
        values.contains("display") ? trimWhitespaceAndNewlines(values["display"]) : "";
    const std::string scope =
        values.contains("scope") ? trimWhitespaceAndNewlines(values["scope"]) : "";
    if (!scope.empty()) {
        if (scope != "all-visible")
            throw Error(Error::Kind::unknownScope, scope);
        if (!display.empty())
            throw Error(Error::Kind::conflictingTargets);
        return QuorvaneAutomationCommand::applySafePreset(preset,
                                                          QuorvaneAutomationTarget::allVisible());
    }
    if (display.empty())
        throw Error(Error::Kind::missingTarget);
    return QuorvaneAutomationCommand::applySafePreset(preset,
                                                      QuorvaneAutomationTarget::display(display));
}

}  // namespace

QuorvaneAutomationCommand QuorvaneAutomationURLParser::command(std::string_view url) {
    const UrlComponents parts = UrlComponents::split(url);
    if (!parts.scheme)
        throw Error(Error::Kind::unsupportedScheme);
    if (lowercased(*parts.scheme) != "quorvane")
        throw Error(Error::Kind::unsupportedScheme, *parts.scheme);

    const std::string name = commandName(parts);
    if (!nonBlankHost(parts).empty()) {
        const std::string path = trimWhitespaceAndNewlines(parts.path);
        if (!trimSlashes(path).empty())
            throw Error(Error::Kind::unexpectedPath, path);
    }
    if (name.empty())
        throw Error(Error::Kind::missingCommand);

    if (name == "open") {
        requireNoQuery(parts);
        return QuorvaneAutomationCommand::open();
    }
    if (name == "diagnostics") {
        requireNoQuery(parts);
        return QuorvaneAutomationCommand::diagnostics();
    }
    if (name == "apply-safe-preset") {
        return applySafePresetCommand(parts.queryItems.value_or(std::vector<UrlQueryItem>{}));
    }
    throw Error(Error::Kind::unknownCommand, name);
}

}  // namespace quorvane
