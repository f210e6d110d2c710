#include "presentation/settings/diagnostic_report_actions.hpp"

#include <stdexcept>

#include "services/display_store/display_store.hpp"
#include "services/persistence/atomic_file_writer.hpp"
#include "services/persistence/quorvane_file_write_error.hpp"

namespace quorvane {

DiagnosticSheetTexts diagnosticSheetTexts(QuorvaneDiagnosticPrivacyMode mode) {
    if (mode == QuorvaneDiagnosticPrivacyMode::hardwareDetails) {
        return {"하드웨어 상세 진단 리포트",
                "지원 담당자가 요청했을 때만 공유하세요. 모니터 모델·해상도·DDC 상태를 "
                "포함하지만 고유 번호와 프로파일 경로는 가려져 있습니다."};
    }
    return {"개인정보 보호 진단 리포트",
            "GitHub 이슈나 이메일 지원에 붙여 넣을 수 있는 기본 정보입니다. 모니터 "
            "모델·해상도·DDC 원시값은 포함하지 않습니다."};
}

void prepareDiagnosticPreview(DisplayStore& store, SettingsWindowState& state,
                              const QuorvaneDiagnosticEnvironment& environment, Date now,
                              QuorvaneDiagnosticPrivacyMode mode) {
    std::string data;
    try {
        data = store.diagnosticReportCoder().encode(
            store.makeDiagnosticReport(environment, now, mode));
    } catch (const std::domain_error& error) {
        store.setStatusMessage(error.what());
        return;
    }
    state.diagnosticPreview = QuorvaneDiagnosticReportPreview::make(std::move(data), mode);
    store.setStatusMessage(mode == QuorvaneDiagnosticPrivacyMode::hardwareDetails
                               ? "상세 리포트 미리보기 완료"
                               : "기본 리포트 미리보기 완료");
}

void copyDiagnosticPreview(DisplayStore& store, const QuorvaneDiagnosticReportPreview& preview,
                           const std::function<void(const std::string&)>& putOnClipboard) {
    putOnClipboard(preview.text());
    store.setStatusMessage("진단 리포트 복사 완료");
}

void saveDiagnosticPreview(DisplayStore& store, const QuorvaneDiagnosticReportPreview& preview,
                           const std::optional<std::filesystem::path>& destination) {
    if (!destination)
        return;
    try {
        writeFileAtomically(*destination, preview.data);
    } catch (const QuorvaneFileWriteError& error) {
        store.setStatusMessage(error.description());
        return;
    }
    store.setStatusMessage("진단 리포트 저장 완료");
}

}  // namespace quorvane
