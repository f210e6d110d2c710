#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// What pressing a support action asks the owning window to do; the window
// decides how.
enum class QuorvaneSupportActionKind {
    probeDDC,                 // run a monitor probe
    openHardwareSection,      // open the display's monitor-settings section
    openSettingsDiagnostics,  // go to the diagnostic report in the settings window
    readOnlyChecklist,        // a checklist or pointer that changes nothing by itself
};

inline constexpr std::array kQuorvaneSupportActionKindAllCases = {
    QuorvaneSupportActionKind::probeDDC,
    QuorvaneSupportActionKind::openHardwareSection,
    QuorvaneSupportActionKind::openSettingsDiagnostics,
    QuorvaneSupportActionKind::readOnlyChecklist,
};

std::string_view caseName(QuorvaneSupportActionKind kind);
std::optional<QuorvaneSupportActionKind> parseCaseName(std::string_view text,
                                                       QuorvaneSupportActionKind*);

// One button of a support row or step.
struct QuorvaneSupportAction {
    QuorvaneSupportActionKind kind = QuorvaneSupportActionKind::readOnlyChecklist;
    std::string title;
    std::optional<std::string> detail;
    bool isEnabled = false;
    std::optional<std::string> disabledReason;

    // Two actions of the same kind share an identity.
    std::string_view id() const { return caseName(kind); }

    bool operator==(const QuorvaneSupportAction&) const = default;
};

}  // namespace quorvane
