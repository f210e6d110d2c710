#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/color/display_color_profile_state.hpp"
#include "models/ddc/ddc_capability_entry.hpp"
#include "models/ddc/ddc_snapshot.hpp"
#include "models/diagnostics/quorvane_display_support_summary.hpp"
#include "models/display/display_identity_descriptor.hpp"
#include "models/display/display_snapshot.hpp"
#include "services/ddc/ddc_capability_badge.hpp"

namespace quorvane {

// Turns what the application knows about one display into its support
// summary. Cautious by design: controls that change values inside the
// monitor are offered only after the monitor has answered a probe, and what
// cannot be done on this connection is explained rather than hidden. Every
// function is pure.
struct QuorvaneDisplaySupportSummaryBuilder {
    // The whole summary of one display. `isDDCBusy`: the display is being
    // probed, settles after a probe time-out or has a pending monitor write.
    static QuorvaneDisplaySupportSummary summary(
        const DisplaySnapshot& display, const DDCCapabilityBadge& badge,
        const std::optional<DDCSnapshot>& snapshot, const std::optional<DDCCapabilityEntry>& entry,
        bool isDDCBusy, const std::optional<DisplayColorProfileState>& colorProfileState,
        const std::optional<DisplayIdentityDescriptor>& descriptor);

    // The action that opens the display's colour adjustment.
    static QuorvaneSupportAction softwareStartAction();
    // A pointer to the settings window, where the report is made; disabled.
    static QuorvaneSupportAction reportAction();

    // A probe action with the given title; disabled without a reason reads
    // "잠시 후 다시 시도하세요.".
    static QuorvaneSupportAction probeAction(
        bool isEnabled, std::string title,
        std::optional<std::string> disabledReason = std::nullopt);

    // Labels of the controls that answered the last read-out, else of the
    // entry's supported records (unknown codes skipped), by ascending code.
    static std::vector<std::string> supportedControlLabels(
        const std::optional<DDCSnapshot>& snapshot, const std::optional<DDCCapabilityEntry>& entry);

    static QuorvaneSupportCapabilityRow partialConfirmedDDCRow(
        const DDCCapabilityBadge& badge, const std::optional<DDCSnapshot>& snapshot,
        const std::optional<DDCCapabilityEntry>& entry);
    static QuorvaneSupportCapabilityRow limitedDDCRow(
        const DDCCapabilityBadge& badge, const std::optional<DDCSnapshot>& snapshot,
        const std::optional<DDCCapabilityEntry>& entry);
    // The monitor direct-control row: nothing that changes values inside the
    // monitor before it has answered a probe.
    static QuorvaneSupportCapabilityRow ddcCapabilityRow(
        const DisplaySnapshot& display, const DDCCapabilityBadge& badge,
        const std::optional<DDCSnapshot>& snapshot, const std::optional<DDCCapabilityEntry>& entry,
        bool isDDCBusy);

    static QuorvaneSupportCapabilityRow colorProfileCapabilityRow(
        const std::optional<DisplayColorProfileState>& state);
    static QuorvaneSupportCapabilityRow identityCapabilityRow(
        const DisplaySnapshot& display, const std::optional<DisplayIdentityDescriptor>& descriptor);
    static QuorvaneSupportCapabilityRow softwareCapabilityRow();
    static QuorvaneSupportCapabilityRow hardwareBrightnessCapabilityRow(
        const DisplaySnapshot& display);

    static QuorvaneSupportWizardStep identityWizardStep(
        const QuorvaneSupportCapabilityRow& identityCapability);
    // Four steps: software first, the direct-control step, the identity note
    // and the report pointer.
    static std::vector<QuorvaneSupportWizardStep> wizardSteps(
        const DisplaySnapshot& display, const QuorvaneSupportCapabilityRow& ddcCapability,
        const QuorvaneSupportCapabilityRow& profileCapability,
        const QuorvaneSupportCapabilityRow& identityCapability);

    static std::vector<std::string> technicalDetails(
        const DisplaySnapshot& display, const DDCCapabilityBadge& badge,
        const std::optional<DDCSnapshot>& snapshot, const std::optional<DDCCapabilityEntry>& entry,
        const std::optional<DisplayColorProfileState>& colorProfileState);

    static std::string overallMessage(QuorvaneSupportStatus status, const DisplaySnapshot& display,
                                      const QuorvaneSupportCapabilityRow& ddcCapability);
};

}  // namespace quorvane
