#include "models/diagnostics/quorvane_support_action.hpp"

namespace quorvane {

std::string_view caseName(QuorvaneSupportActionKind kind) {
    switch (kind) {
        case QuorvaneSupportActionKind::probeDDC:
            return "probeDDC";
        case QuorvaneSupportActionKind::openHardwareSection:
            return "openHardwareSection";
        case QuorvaneSupportActionKind::openSettingsDiagnostics:
            return "openSettingsDiagnostics";
        case QuorvaneSupportActionKind::readOnlyChecklist:
            return "readOnlyChecklist";
    }
    return "readOnlyChecklist";
}

std::optional<QuorvaneSupportActionKind> parseCaseName(std::string_view text,
                                                       QuorvaneSupportActionKind*) {
    for (QuorvaneSupportActionKind kind : kQuorvaneSupportActionKindAllCases) {
        if (caseName(kind) == text)
            return kind;
    }
    return std::nullopt;
}

}  // namespace quorvane
