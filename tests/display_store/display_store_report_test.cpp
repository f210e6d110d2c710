#include <gtest/gtest.h>

#include "display_store/store_world.hpp"

namespace quorvane::testing {
namespace {

using Mode = QuorvaneDiagnosticPrivacyMode;

class DisplayStoreReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DisplayColorProfile proof;
        proof.id = "/opt/calibration/Jane Proof.icc";
        proof.name = "Jane Proof";
        proof.url = std::filesystem::path("/opt/calibration/Jane Proof.icc");
        proof.isCurrent = true;
        world.profiles->setProfiles(1, {proof});
        // Listed out of order: the report orders by display ID.
        world.connect({side, studio});
        world.start();
        store().setDisplayAlias("Jane's desk", 1);
        store().saveDisplayGroup("Jane's monitors");
        store().setDDCControl(DDCVCPCode::brightness, 80, 2, DDCWriteRequestKind::sliderFinalValue);
        world.writeQueue->answerApplied(78, 100);
    }

    DisplayStore& store() { return *world.store; }
    QuorvaneDiagnosticReport report(Mode mode) {
        const QuorvaneDiagnosticEnvironment environment{"Quorvane", "1.0", "1", "Linux"};
        return store().makeDiagnosticReport(environment, world.scheduler->wallNow(), mode);
    }
    std::string text(Mode mode) { return store().diagnosticReportCoder().encode(report(mode)); }

    StoreWorld world;
    DisplaySnapshot studio = externalDisplay(1, "Studio", 1001);
    DisplaySnapshot side = externalDisplay(2, "Side", 2002, 1920);
};

void expectAbsent(const std::string& text, const std::vector<std::string>& secrets) {
    for (const auto& secret : secrets)
        EXPECT_EQ(text.find(secret), std::string::npos) << "leaked: " << secret;
}

TEST_F(DisplayStoreReportTest, AMonitorValueInTheStatusIsShownOnlyInTheDetailedReport) {
    ASSERT_EQ(store().statusMessage(), "모니터 밝기 적용됨: 78%");
    const auto privacy = report(Mode::privacyPreserving);
    EXPECT_EQ(privacy.appState.statusMessage.find("78"), std::string::npos);
    EXPECT_EQ(privacy.appState.displayGroupCount, 1);
    ASSERT_EQ(privacy.displays.size(), 2u);
    EXPECT_EQ(privacy.displays[0].reportID, "Display 1");
    EXPECT_FALSE(privacy.displays[0].vendorNumber.has_value());
    EXPECT_TRUE(privacy.displays[0].colorProfile.has_value());
    expectAbsent(text(Mode::privacyPreserving),
                 {"78", "Studio", "Side", "Jane", "1001", "/opt/calibration", rawIdentity(studio),
                  rawIdentity(side)});

    const auto detailed = report(Mode::hardwareDetails);
    EXPECT_EQ(detailed.appState.statusMessage, "모니터 밝기 적용됨: 78%");
    EXPECT_EQ(detailed.displays[0].displayName, "Studio");
    EXPECT_EQ(detailed.displays[1].ddc.writeStatuses.at(0).requestedRawValue, 80u);
    expectAbsent(text(Mode::hardwareDetails), {"Jane", "/opt/calibration", rawIdentity(studio)});
}

TEST_F(DisplayStoreReportTest, ProfileNamesInTheStatusAreRedactedInBothModes) {
    store().setStatusMessageWithPrivacyTokens(
        "색상 프로파일 적용됨: Evening Proof (/opt/calibration/Evening.icc)",
        {"Evening Proof", "/opt/calibration/Evening.icc"});
    for (const auto mode : {Mode::privacyPreserving, Mode::hardwareDetails}) {
        const auto status = report(mode).appState.statusMessage;
        EXPECT_EQ(status, "색상 프로파일 적용됨: [redacted] ([redacted])");
    }
    // A new text drops the old tokens and the monitor-value mark.
    store().setStatusMessage("준비됨");
    EXPECT_TRUE(store().diagnosticStatusMessagePrivacyTokens().empty());
    EXPECT_FALSE(store().diagnosticStatusMessageRequiresDDCValueRedaction());
}

}  // namespace
}  // namespace quorvane::testing
