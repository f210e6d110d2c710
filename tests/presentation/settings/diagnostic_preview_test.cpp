#include <gtest/gtest.h>

#include <cstdlib>

#include "display_store/store_world.hpp"
#include "models/coding/json_coding.hpp"
#include "presentation/settings/diagnostic_report_actions.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane::testing {
namespace {

using Mode = QuorvaneDiagnosticPrivacyMode;

class DiagnosticPreviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({externalDisplay(1, "Jane Studio 27", 8675309)});
        world.start();
    }
    DisplayStore& store() { return *world.store; }
    void prepare(Mode mode) {
        prepareDiagnosticPreview(store(), state, environment, world.scheduler->wallNow(), mode);
    }
    std::string reportedStatus() const {
        return parseJson(state.diagnosticPreview->data)["appState"]["statusMessage"];
    }

    StoreWorld world;
    SettingsWindowState state;
    TemporaryFolder folder;
    const QuorvaneDiagnosticEnvironment environment{"Quorvane", "0.1.0", "1", "Debian 12"};
};

TEST_F(DiagnosticPreviewTest, TheReportCarriesTheStatusShownBeforeItWasAskedFor) {
    store().setStatusMessage("화면 모드: 다크");
    prepare(Mode::privacyPreserving);
    ASSERT_TRUE(state.diagnosticPreview.has_value());
    EXPECT_EQ(reportedStatus(), "화면 모드: 다크");
    EXPECT_EQ(store().statusMessage(), "기본 리포트 미리보기 완료");
    const auto firstID = state.diagnosticPreview->id;

    prepare(Mode::hardwareDetails);
    EXPECT_EQ(reportedStatus(), "기본 리포트 미리보기 완료");
    EXPECT_EQ(store().statusMessage(), "상세 리포트 미리보기 완료");
    EXPECT_EQ(state.diagnosticPreview->privacyMode, Mode::hardwareDetails);
    EXPECT_NE(state.diagnosticPreview->id, firstID);
    EXPECT_EQ(diagnosticSheetTexts(Mode::hardwareDetails).title, "하드웨어 상세 진단 리포트");
}

TEST_F(DiagnosticPreviewTest, CopyAndSaveCarryExactlyThePreviewedBytesAndNothingPrivate) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    store().setStatusMessage("내보내기 실패: /home/jdoe/문서/Quorvane-Settings.json");
    prepare(Mode::privacyPreserving);
    const auto preview = *state.diagnosticPreview;

    std::string clipboard;
    copyDiagnosticPreview(store(), preview, [&](const std::string& text) { clipboard = text; });
    EXPECT_EQ(store().statusMessage(), "진단 리포트 복사 완료");
    const auto file = folder / "Quorvane-Diagnostic-Report.json";
    saveDiagnosticPreview(store(), preview, file);
    EXPECT_EQ(store().statusMessage(), "진단 리포트 저장 완료");
    copyDiagnosticPreview(store(), preview, [&](const std::string& text) { clipboard = text; });
    EXPECT_EQ(store().statusMessage(), "진단 리포트 복사 완료");

    const auto saved = fileContents(file);
    EXPECT_EQ(saved, preview.data);
    EXPECT_EQ(clipboard, saved);
    EXPECT_NE(saved.back(), '\n');
    for (const std::string secret : {"jdoe", "8675309", "Jane", "/home/"})
        EXPECT_EQ(saved.find(secret), std::string::npos) << "leaked: " << secret;
    if (home.size() > 1) {
        EXPECT_EQ(saved.find(home), std::string::npos) << "leaked: " << home;
    }
}

TEST_F(DiagnosticPreviewTest, ASaveThatFailsOrIsCancelledKeepsThePreviewOpen) {
    prepare(Mode::privacyPreserving);
    const auto before = state;
    saveDiagnosticPreview(store(), *state.diagnosticPreview, std::nullopt);
    EXPECT_EQ(store().statusMessage(), "기본 리포트 미리보기 완료");

    saveDiagnosticPreview(store(), *state.diagnosticPreview, folder / "gone" / "r.json");
    EXPECT_EQ(store().statusMessage(), "\u2018r.json\u2019 파일을 저장할 폴더가 없습니다.");
    EXPECT_EQ(state, before);
}

}  // namespace
}  // namespace quorvane::testing
