#include <gtest/gtest.h>

#include <chrono>

#include "models/coding/number_format.hpp"
#include "models/display/display_identity.hpp"
#include "services/diagnostics/quorvane_diagnostic_report_builder.hpp"
#include "services/diagnostics/quorvane_diagnostic_report_coder.hpp"

namespace quorvane {
namespace {

using namespace std::chrono;
using Builder = QuorvaneDiagnosticReportBuilder;
using Mode = QuorvaneDiagnosticPrivacyMode;

const Date kNow = sys_days{year{2026} / 3 / 1} + 9h + 15min;
const HomeFolderPathRedactor kHome(std::string("/srv/people/jdoe"));

DisplayColorProfile profile(std::string id, std::string name, std::string path, bool current) {
    DisplayColorProfile profile;
    profile.id = std::move(id);
    profile.name = std::move(name);
    profile.url = std::filesystem::path(std::move(path));
    profile.isCurrent = current;
    return profile;
}

// A desk with one reliable monitor, one without a serial number and the
// user's own aliases, colour profiles and monitor history; assembled the way
// the store assembles its report.
struct Desk {
    std::vector<DisplaySnapshot> displays;
    DDCCapabilityCache cache;
    std::map<DisplayID, DDCSnapshot> snapshots;
    Builder::DDCWriteStatuses writes;
    std::map<DisplayID, DisplayColorProfileState> profiles;
    std::vector<std::string> storeTokens;
    std::string statusMessage;

    Desk() {
        DisplaySnapshot studio;
        studio.id = 9;
        studio.name = "Studio 27";
        studio.vendorNumber = 4268;
        studio.modelNumber = 41240;
        studio.serialNumber = 8675309;
        studio.bounds = {-2560, 0, 2560, 1440};
        DisplayModeSnapshot mode;
        mode.width = 2560;
        mode.height = 1440;
        mode.pixelWidth = 2560;
        mode.pixelHeight = 1440;
        mode.refreshRate = 59.951;
        studio.currentMode = mode;

        DisplaySnapshot sidecar;
        sidecar.id = 4;
        sidecar.name = "Sidecar 24";
        sidecar.vendorNumber = 7789;
        sidecar.modelNumber = 3021;
        sidecar.bounds = {0, 0, 1920, 1080};
        displays = {studio, sidecar};

        DDCSnapshot readOut{9,
                            2,
                            {{DDCVCPCode::brightness, {DDCVCPCode::brightness, 73, 100}}},
                            {{DDCVCPCode::inputSource, "입력 소스: 응답 없음 (버스 /dev/i2c-7)"}},
                            "Studio 27 응답 지연 830ms (/Users/jdoe/Library/Logs/ddc.log)"};
        snapshots[9] = readOut;
        cache.merge(readOut, studio, kNow - 1h);
        // A monitor that is not connected now still names its owner's desk.
        DisplaySnapshot oldMonitor = sidecar;
        oldMonitor.name = "Jane Old Monitor";
        cache.merge(DDCSnapshot{}, oldMonitor, kNow - 48h);

        writes[{9, DDCVCPCode::contrast}] = {
            "r1",
            {9, DDCVCPCode::contrast},
            DDCWriteStatusPhase::failed,
            42,
            "모니터 대비이 요청한 값으로 확인되지 않았습니다. 요청 42, 확인 39"};
        writes[{4, DDCVCPCode::brightness}] = {
            "r2", {4, DDCVCPCode::brightness}, DDCWriteStatusPhase::pending, 61, std::nullopt};

        profiles[9] = DisplayColorProfileState::available(
            9, "uuid-9",
            {profile("/home/jdoe/.local/share/icc/Jane Calibrated.icc", "Jane Calibrated",
                     "/home/jdoe/.local/share/icc/Jane Calibrated.icc", true),
             profile("/Users/jdoe/Library/ColorSync/Profiles/Imported.icc", "Imported",
                     "/Users/jdoe/Library/ColorSync/Profiles/Imported.icc", false),
             profile("/srv/people/jdoe/icc/Desk Proof.icc", "Desk Proof",
                     "/srv/people/jdoe/icc/Desk Proof.icc", false)});
        profiles[4] = {4,
                       std::nullopt,
                       DisplayColorProfileState::Availability::unavailable,
                       {},
                       std::nullopt,
                       "프로파일을 읽지 못했습니다: /root/.config/icc/x.icc, 다시 시도하세요"};

        // What the store contributes: aliases and every profile's names and
        // file locations.
        storeTokens = {"Jane's desk", "왼쪽 모니터"};
        for (const auto& offered : profiles[9].profiles) {
            const auto& path = *offered.url;
            storeTokens.insert(storeTokens.end(),
                               {offered.id, offered.name, offered.displayName(),
                                "file://" + path.string(), path.string(), path.filename().string(),
                                path.stem().string(), path.parent_path().string()});
        }
        statusMessage = "Jane's desk: 모니터 밝기 73% 적용 (Studio 27, /home/jdoe/notes.txt)";
    }

    QuorvaneDiagnosticReport report(Mode mode) const {
        const auto tokens = Builder::redactionTokens(displays, cache, storeTokens);
        QuorvaneDiagnosticReport report;
        report.privacyMode = mode;
        report.hardwareDetailsIncluded = mode == Mode::hardwareDetails;
        report.generatedAt = kNow;
        report.appState.statusMessage = Builder::redactingFreeText(statusMessage, tokens, kHome);
        if (mode == Mode::privacyPreserving &&
            Builder::containsDDCLabel(report.appState.statusMessage))
            report.appState.statusMessage =
                Builder::redactingValueFragmentsFromFreeText(report.appState.statusMessage);

        auto sorted = displays;
        std::sort(sorted.begin(), sorted.end(), [](auto& a, auto& b) { return a.id < b.id; });
        for (std::size_t index = 0; index < sorted.size(); ++index) {
            const auto& display = sorted[index];
            QuorvaneDiagnosticDisplay record;
            record.reportID = "Display " + formatDecimal(static_cast<std::uint64_t>(index + 1));
            record.displayName = Builder::diagnosticDisplayName(display, index, mode);
            record.serial = {display.serialNumber ? "present-redacted" : "missing",
                             DisplayIdentity::of(display).hasReliableSerial};
            if (mode == Mode::hardwareDetails) {
                record.vendorNumber = display.vendorNumber;
                record.modelNumber = display.modelNumber;
                record.bounds = QuorvaneDiagnosticBounds::make(display.bounds);
                if (display.currentMode)
                    record.currentMode = QuorvaneDiagnosticDisplayMode{
                        display.currentMode->label(),     display.currentMode->width,
                        display.currentMode->height,      display.currentMode->pixelWidth,
                        display.currentMode->pixelHeight, display.currentMode->refreshRate};
            }
            if (auto found = profiles.find(display.id); found != profiles.end())
                record.colorProfile =
                    Builder::colorProfileReport(found->second, tokens, mode, kHome);
            const auto badge = Builder::reportBadge(display, {}, cache, {}, kNow);
            record.ddc.capability = Builder::capabilityReport(
                Builder::capabilityEntry(display, cache), badge, tokens, mode, kHome);
            if (auto found = snapshots.find(display.id); found != snapshots.end())
                record.ddc.snapshot = Builder::snapshotReport(found->second, tokens, mode, kHome);
            record.ddc.writeStatuses =
                Builder::writeStatusReports(display.id, writes, tokens, mode, kHome);
            report.displays.push_back(record);
        }
        return report;
    }

    std::string text(Mode mode) const {
        return QuorvaneDiagnosticReportCoder{}.encode(report(mode));
    }
};

void expectAbsent(const std::string& text, const std::vector<std::string>& secrets) {
    for (const auto& secret : secrets)
        EXPECT_EQ(text.find(secret), std::string::npos) << "leaked: " << secret;
}

void expectPresent(const std::string& text, const std::vector<std::string>& details) {
    for (const auto& detail : details)
        EXPECT_NE(text.find(detail), std::string::npos) << "missing: " << detail;
}

// Identifying texts that no report may carry, whatever its mode.
std::vector<std::string> identifyingTexts(const Desk& desk) {
    std::vector<std::string> secrets = {"8675309",         "jdoe",      "Jane",     "왼쪽 모니터",
                                        "Calibrated",      "\\/home",   "\\/Users", "\\/root",
                                        "\\/srv\\/people", "Desk Proof"};
    for (const auto& display : desk.displays) {
        secrets.push_back(DisplayIdentity::of(display).rawValue);
        secrets.push_back(DDCCapabilityCacheKey::connectionFingerprintFor(display));
    }
    for (const auto& [identity, entry] : desk.cache.entriesByDisplayIdentity)
        secrets.push_back(identity);
    return secrets;
}

TEST(DiagnosticReportPrivacy, PrivacyPreservingReportCarriesNoIdentityPathOrValue) {
    const Desk desk;
    const std::string text = desk.text(Mode::privacyPreserving);
    expectAbsent(text, identifyingTexts(desk));
    expectAbsent(
        text, {"Studio 27", "Sidecar", "4268", "41240", "7789", "\"bounds\"", "\"currentMode\"",
               "\"technicalCode\"", "\"currentValue\"", "\"maximumValue\"", "\"requestedRawValue\"",
               "\"busCount\"", "73", "42", "39", "830", "i2c-7", "\"currentProfileName\""});
    expectPresent(text,
                  {"\"Display 1\"", "\"Display 2\"", "present-redacted", "\"missing\"",
                   "[redacted-path]", "[redacted]", "요청 [redacted-value], 확인 [redacted-value]",
                   "\"availableProfileCount\": 3", "\"profiles\": []", "입력 소스"});
    // The status message names a monitor control, so its numbers go too.
    const auto report = desk.report(Mode::privacyPreserving);
    EXPECT_EQ(report.appState.statusMessage,
              "[redacted]: 모니터 밝기 [redacted-value] 적용 ([redacted], [redacted-path]");
}

TEST(DiagnosticReportPrivacy, HardwareDetailsReportKeepsHardwareButNotIdentity) {
    const Desk desk;
    const std::string text = desk.text(Mode::hardwareDetails);
    expectAbsent(text, identifyingTexts(desk));
    expectPresent(
        text,
        {"\"displayName\": \"Studio 27\"", "Display 1 (serial missing)", "\"vendorNumber\": 4268",
         "\"modelNumber\": 41240", "\"x\": -2560", "2560×1440 · 60 Hz", "\"refreshRate\": 59.951",
         "\"technicalCode\": \"0x10\"", "\"technicalCode\": \"0x60\"", "\"currentValue\": 73",
         "\"maximumValue\": 100", "\"requestedRawValue\": 42", "\"busCount\": 2",
         "요청 42, 확인 39", "응답 지연 830ms", "\\/dev\\/i2c-7",
         "\"currentProfileIsDefault\": false", "\"availableProfileCount\": 3"});
    // Numbers stay in the status message; names and paths do not.
    EXPECT_EQ(desk.report(Mode::hardwareDetails).appState.statusMessage,
              "[redacted]: 모니터 밝기 73% 적용 ([redacted], [redacted-path]");
}

TEST(DiagnosticReportPrivacy, SectionsFollowTheModeAndOrder) {
    const Desk desk;
    const auto report = desk.report(Mode::hardwareDetails);
    const auto& sidecar = report.displays.at(0);
    EXPECT_TRUE(sidecar.ddc.writeStatuses.at(0).phase == "pending");
    EXPECT_EQ(sidecar.colorProfile->message,
              "프로파일을 읽지 못했습니다: [redacted-path], 다시 시도하세요");
    // The disconnected monitor had another name, so the sidecar has no entry.
    EXPECT_EQ(sidecar.ddc.capability->badgeKind, "unchecked");
    EXPECT_TRUE(sidecar.ddc.capability->controls.empty());

    const auto& studio = report.displays.at(1);
    EXPECT_EQ(studio.ddc.capability->badgeKind, "confirmed");
    ASSERT_EQ(studio.ddc.capability->controls.size(), 2u);
    EXPECT_EQ(studio.ddc.capability->controls[1].state, "unsupported");
    EXPECT_EQ(studio.colorProfile->profiles.at(0).profileID, "[redacted]");
}

// Numbers that identify a monitor, written into free text the way messages
// and profile descriptions quote them: glued to Korean, inside a longer
// number, and as part of the identity strings that contain them.
TEST(DiagnosticReportPrivacy, IdentifyingNumbersInsideFreeTextAreRedacted) {
    const Desk desk;
    const auto& studio = desk.displays[0];
    const auto& sidecar = desk.displays[1];
    QuorvaneDiagnosticReportInputs inputs;
    inputs.displays = desk.displays;
    inputs.privacyMode = Mode::privacyPreserving;
    inputs.statusMessage = "8675309번 모니터 다시 연결 (S/N 186753091, " +
                           DisplayIdentity::of(studio).rawValue + ", HDR 10)";
    inputs.colorProfileStates[4] = {
        4,
        std::nullopt,
        DisplayColorProfileState::Availability::unavailable,
        {},
        std::nullopt,
        "프로파일 없음: " + DDCCapabilityCacheKey::connectionFingerprintFor(sidecar) + "/" +
            DisplayIdentity::of(sidecar).rawValue};
    // The sidecar has no serial number: no lone "0" is taken for one.
    const std::string expectedStatus =
        "[redacted]번 모니터 다시 연결 (S/N 1[redacted]1, [redacted], HDR 10)";
    const std::string expectedProfileMessage = "프로파일 없음: [redacted]/[redacted]";
    for (const auto mode : {Mode::privacyPreserving, Mode::hardwareDetails}) {
        inputs.privacyMode = mode;
        const auto report = Builder::report(inputs, kHome);
        EXPECT_EQ(report.appState.statusMessage, expectedStatus);
        EXPECT_EQ(report.displays.at(0).colorProfile->message, expectedProfileMessage);
    }

    // A monitor control in the text: its values go in the private report,
    // the serial number in both, and the Korean after each stays.
    inputs.statusMessage = "모니터 밝기 70으로 맞춤, 8675309번 모니터";
    inputs.privacyMode = Mode::privacyPreserving;
    EXPECT_EQ(Builder::report(inputs, kHome).appState.statusMessage,
              "모니터 밝기 [redacted-value]으로 맞춤, [redacted]번 모니터");
    inputs.privacyMode = Mode::hardwareDetails;
    EXPECT_EQ(Builder::report(inputs, kHome).appState.statusMessage,
              "모니터 밝기 70으로 맞춤, [redacted]번 모니터");

    // A text the store marked as carrying monitor values loses them even
    // without a control's name in it.
    inputs.statusMessage = "요청 42, 확인 39 (8675309)";
    inputs.statusMessageRequiresDDCValueRedaction = true;
    inputs.privacyMode = Mode::privacyPreserving;
    EXPECT_EQ(Builder::report(inputs, kHome).appState.statusMessage,
              "요청 [redacted-value], 확인 [redacted-value] ([redacted])");
}

TEST(DiagnosticReportBadge, OnlyARunningProbeCountsAsChecking) {
    const Desk desk;
    const auto& studio = desk.displays[0];
    EXPECT_EQ(Builder::reportBadge(studio, {9}, desk.cache, {}, kNow).kind,
              DDCCapabilityBadgeKind::checking);
    auto stale = Builder::reportBadge(studio, {}, desk.cache, {}, kNow - 1h + 604800s);
    EXPECT_EQ(stale.kind, DDCCapabilityBadgeKind::confirmed);
    stale = Builder::reportBadge(studio, {}, desk.cache, {}, kNow - 1h + 604801s);
    EXPECT_EQ(stale.kind, DDCCapabilityBadgeKind::recheckNeeded);
    // A monitor without a serial number whose result comes from an earlier
    // run says so, unless this run probed the same connection.
    const auto& sidecar = desk.displays[1];
    DDCCapabilityCache cache = desk.cache;
    cache.merge(DDCSnapshot{}, sidecar, kNow - 48h);
    const DDCCapabilityCacheKey sidecarKey{
        DisplayIdentity::of(sidecar).rawValue,
        DDCCapabilityCacheKey::connectionFingerprintFor(sidecar)};
    EXPECT_NE(Builder::reportBadge(sidecar, {}, cache, {}, kNow).detail->find("저장된 확인 결과"),
              std::string::npos);
    EXPECT_EQ(Builder::reportBadge(sidecar, {}, cache, {sidecarKey}, kNow)
                  .detail->find("저장된 확인 결과"),
              std::string::npos);
}

TEST(DiagnosticReportContext, WriteMessagesAndLabelsMarkMonitorValues) {
    const Desk desk;
    EXPECT_TRUE(Builder::statusMessageHasDDCWriteContext(
        "모니터 대비이 요청한 값으로 확인되지 않았습니다. 요청 42, 확인 39", desk.writes));
    EXPECT_FALSE(Builder::statusMessageHasDDCWriteContext("준비됨", desk.writes));
    EXPECT_FALSE(Builder::statusMessageHasDDCWriteContext("", {}));
    EXPECT_FALSE(Builder::containsDDCLabel("밝기 50%"));
}

TEST(DiagnosticReportSections, FramesAndNamesFollowTheMode) {
    EXPECT_EQ(QuorvaneDiagnosticBounds::make({-1920.7, 0.5, 1920.9, 1080}),
              (QuorvaneDiagnosticBounds{-1920, 0, 1920, 1080}));
    EXPECT_EQ(QuorvaneDiagnosticBounds::make({100, 100, -50, -20}),
              (QuorvaneDiagnosticBounds{50, 80, 50, 20}));
}

}  // namespace
}  // namespace quorvane
