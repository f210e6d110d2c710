#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// Which layer a planned change goes through.
enum class QuorvaneChangePlanControlPath {
    settings,
    software,
    nativeBrightness,
    ddc,
    colorProfile,
    displayMode,
};

// How dangerous a planned change is.
enum class QuorvaneChangePlanRisk { safe, reversible, hardwarePersistent, screenLossRisk };

// When a planned change takes effect.
enum class QuorvaneChangePlanSideEffectPolicy {
    previewOnly,
    requiresConfirmation,
    executesImmediately
};

inline constexpr std::array<QuorvaneChangePlanControlPath, 6> kAllChangePlanControlPaths = {
    QuorvaneChangePlanControlPath::settings,         QuorvaneChangePlanControlPath::software,
    QuorvaneChangePlanControlPath::nativeBrightness, QuorvaneChangePlanControlPath::ddc,
    QuorvaneChangePlanControlPath::colorProfile,     QuorvaneChangePlanControlPath::displayMode};
inline constexpr std::array<QuorvaneChangePlanRisk, 4> kAllChangePlanRisks = {
    QuorvaneChangePlanRisk::safe, QuorvaneChangePlanRisk::reversible,
    QuorvaneChangePlanRisk::hardwarePersistent, QuorvaneChangePlanRisk::screenLossRisk};
inline constexpr std::array<QuorvaneChangePlanSideEffectPolicy, 3>
    kAllChangePlanSideEffectPolicies = {QuorvaneChangePlanSideEffectPolicy::previewOnly,
                                        QuorvaneChangePlanSideEffectPolicy::requiresConfirmation,
                                        QuorvaneChangePlanSideEffectPolicy::executesImmediately};

std::string_view caseName(QuorvaneChangePlanControlPath value);
std::optional<QuorvaneChangePlanControlPath> parseCaseName(std::string_view text,
                                                           QuorvaneChangePlanControlPath*);
std::string_view caseName(QuorvaneChangePlanRisk value);
std::optional<QuorvaneChangePlanRisk> parseCaseName(std::string_view text, QuorvaneChangePlanRisk*);
std::string_view caseName(QuorvaneChangePlanSideEffectPolicy value);
std::optional<QuorvaneChangePlanSideEffectPolicy> parseCaseName(
    std::string_view text, QuorvaneChangePlanSideEffectPolicy*);

// One reviewable step of a change plan.
struct QuorvaneChangePlanEntry {
    std::string id;  // stable kebab-case identifier
    std::string title;
    std::optional<std::string> targetLabel;
    std::optional<std::string> targetIdentityRawValue;
    std::optional<std::string> beforeValue;
    std::optional<std::string> afterValue;
    QuorvaneChangePlanControlPath controlPath = QuorvaneChangePlanControlPath::settings;
    QuorvaneChangePlanRisk risk = QuorvaneChangePlanRisk::safe;
    QuorvaneChangePlanSideEffectPolicy sideEffectPolicy =
        QuorvaneChangePlanSideEffectPolicy::requiresConfirmation;
    std::string recoveryNote;
    std::string sideEffectNote;

    bool operator==(const QuorvaneChangePlanEntry&) const = default;
};

}  // namespace quorvane
