#include "models/settings/quorvane_change_plan_entry.hpp"

namespace quorvane {

namespace {

template <class E, std::size_t N>
std::optional<E> findCase(std::string_view text, const std::array<E, N>& all) {
    for (E value : all) {
        if (caseName(value) == text)
            return value;
    }
    return std::nullopt;
}

}  // namespace

std::string_view caseName(QuorvaneChangePlanControlPath value) {
    switch (value) {
        case QuorvaneChangePlanControlPath::settings:
            return "settings";
        case QuorvaneChangePlanControlPath::software:
            return "software";
        case QuorvaneChangePlanControlPath::nativeBrightness:
            return "nativeBrightness";
        case QuorvaneChangePlanControlPath::ddc:
            return "ddc";
        case QuorvaneChangePlanControlPath::colorProfile:
            return "colorProfile";
        case QuorvaneChangePlanControlPath::displayMode:
            return "displayMode";
    }
    return {};
}

std::optional<QuorvaneChangePlanControlPath> parseCaseName(std::string_view text,
                                                           QuorvaneChangePlanControlPath*) {
    return findCase(text, kAllChangePlanControlPaths);
}

std::string_view caseName(QuorvaneChangePlanRisk value) {
    switch (value) {
        case QuorvaneChangePlanRisk::safe:
            return "safe";
        case QuorvaneChangePlanRisk::reversible:
            return "reversible";
        case QuorvaneChangePlanRisk::hardwarePersistent:
            return "hardwarePersistent";
        case QuorvaneChangePlanRisk::screenLossRisk:
            return "screenLossRisk";
    }
    return {};
}

std::optional<QuorvaneChangePlanRisk> parseCaseName(std::string_view text,
                                                    QuorvaneChangePlanRisk*) {
    return findCase(text, kAllChangePlanRisks);
}

std::string_view caseName(QuorvaneChangePlanSideEffectPolicy value) {
    switch (value) {
        case QuorvaneChangePlanSideEffectPolicy::previewOnly:
            return "previewOnly";
        case QuorvaneChangePlanSideEffectPolicy::requiresConfirmation:
            return "requiresConfirmation";
        case QuorvaneChangePlanSideEffectPolicy::executesImmediately:
            return "executesImmediately";
    }
    return {};
}

std::optional<QuorvaneChangePlanSideEffectPolicy> parseCaseName(
    std::string_view text, QuorvaneChangePlanSideEffectPolicy*) {
    return findCase(text, kAllChangePlanSideEffectPolicies);
}

}  // namespace quorvane
