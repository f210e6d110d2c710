#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <stdexcept>

#include "models/coding/json_coding.hpp"
#include "models/diagnostics/quorvane_diagnostic_report.hpp"
#include "models/diagnostics/quorvane_diagnostic_report_preview.hpp"
#include "platform/linux/operating_system_version.hpp"
#include "services/diagnostics/quorvane_diagnostic_report_coder.hpp"

namespace quorvane {
namespace {

using namespace std::chrono;

Date march1At0915And250ms() {
    return sys_days{year{2026} / 3 / 1} + 9h + 15min + 250ms;
}

QuorvaneDiagnosticReport sampleReport() {
    QuorvaneDiagnosticReport report;
    report.generatedAt = march1At0915And250ms();
    report.environment = {"Quorvane", "1.2", "42", "Linux 6.1"};
    report.appState.statusMessage = "프로파일 적용: a/b 완료";
    report.appState.textSize = "standard";
    report.appState.appearance = "system";

    QuorvaneDiagnosticDisplay display;
    display.reportID = "Display 1";
    display.displayName = "Display 1";
    display.displayKind = "external";
    display.serial = {"present-redacted", true};
    display.ddc.capability =
        QuorvaneDiagnosticCapability{"unchecked",
                                     "아직 확인하지 않음",
                                     "확인 전에는 모니터 자체 설정 항목을 숨깁니다.",
                                     std::nullopt,
                                     std::nullopt,
                                     std::nullopt,
                                     {}};
    report.displays.push_back(display);
    return report;
}

std::vector<std::string> keysOf(const Json& object) {
    std::vector<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it)
        keys.push_back(it.key());
    return keys;
}

bool containsNull(const Json& value) {
    if (value.is_null())
        return true;
    if (value.is_structured()) {
        for (const auto& element : value)
            if (containsNull(element))
                return true;
    }
    return false;
}

TEST(DiagnosticReportCoder, WritesSortedPrettyJsonWithoutNullsOrAbsentKeys) {
    const std::string text = QuorvaneDiagnosticReportCoder{}.encode(sampleReport());
    const Json document = parseJson(text);

    EXPECT_EQ(keysOf(document),
              (std::vector<std::string>{"appState", "displays", "documentType", "environment",
                                        "generatedAt", "hardwareDetailsIncluded", "privacyMode",
                                        "schemaVersion"}));
    EXPECT_EQ(document["generatedAt"], "2026-03-01T09:15:00Z");
    EXPECT_FALSE(containsNull(document));
    // Absent optionals leave no key behind; empty lists are still written.
    EXPECT_EQ(keysOf(document["displays"][0]["ddc"]["capability"]),
              (std::vector<std::string>{"badgeDetail", "badgeKind", "badgeTitle", "controls"}));

    // One member per line, indented by depth; slashes escaped; Korean as is.
    EXPECT_NE(text.find("\n  \"appState\": {\n    \"appearance\": \"system\""), std::string::npos);
    EXPECT_NE(text.find("프로파일 적용: a\\/b 완료"), std::string::npos);
}

TEST(DiagnosticReportCoder, RefusesARefreshRateThatIsNotFinite) {
    QuorvaneDiagnosticReport report = sampleReport();
    report.displays[0].currentMode =
        QuorvaneDiagnosticDisplayMode{"1920×1080", 1920, 1080, 1920, 1080, std::nan("")};
    EXPECT_THROW(QuorvaneDiagnosticReportCoder{}.encode(report), std::domain_error);
}

TEST(DiagnosticReportCoder, DecodesWhatItWroteExceptFractionsOfASecond) {
    QuorvaneDiagnosticReport report = sampleReport();
    report.privacyMode = QuorvaneDiagnosticPrivacyMode::hardwareDetails;
    report.hardwareDetailsIncluded = true;
    report.displays[0].bounds = QuorvaneDiagnosticBounds{-1920, 0, 1920, 1080};
    report.displays[0].currentMode =
        QuorvaneDiagnosticDisplayMode{"1920×1080 · 60 Hz", 1920, 1080, 1920, 1080, 59.94};
    report.displays[0].ddc.capability->controls.push_back({"모니터 밝기", "0x10", "supported", 50,
                                                           100, std::nullopt, report.generatedAt,
                                                           std::nullopt});

    const auto decoded = QuorvaneDiagnosticReport::fromJson(
        parseJson(QuorvaneDiagnosticReportCoder{}.encode(report)));
    report.generatedAt = floor<seconds>(report.generatedAt);
    report.displays[0].ddc.capability->controls[0].lastSucceededAt = report.generatedAt;
    EXPECT_EQ(decoded, report);

    Json broken = report.toJson();
    broken["privacyMode"] = "everything";
    EXPECT_THROW(QuorvaneDiagnosticReport::fromJson(broken), JsonDecodeError);
    broken = report.toJson();
    broken["generatedAt"] = "yesterday";
    EXPECT_THROW(QuorvaneDiagnosticReport::fromJson(broken), JsonDecodeError);
    broken = report.toJson();
    broken["displays"][0].erase("serial");
    EXPECT_THROW(QuorvaneDiagnosticReport::fromJson(broken), JsonDecodeError);
}

TEST(DiagnosticEnvironment, ReadsVersionsThatAreStringsOnly) {
    const Json info = {{"CFBundleShortVersionString", "1.4.0"}, {"CFBundleVersion", 140}};
    const auto environment = QuorvaneDiagnosticEnvironment::current(info, "Linux 6.1");
    EXPECT_EQ(environment,
              (QuorvaneDiagnosticEnvironment{"Quorvane", "1.4.0", "unknown", "Linux 6.1"}));
    EXPECT_EQ(QuorvaneDiagnosticEnvironment::current(Json(), "x").appVersion, "unknown");
    EXPECT_NE(operatingSystemVersionText().find("Linux"), std::string::npos);
}

TEST(DiagnosticReportPreview, ShowsOneReplacementCharacterPerIllFormedSequence) {
    auto preview = QuorvaneDiagnosticReportPreview::make(
        "a\xE2\x82"
        "b\xFF"
        "c\xED\xA0\x80"
        "d한",
        QuorvaneDiagnosticPrivacyMode::privacyPreserving);
    // A truncated sequence is one replacement; a surrogate's bytes are not a
    // valid prefix, so each is replaced on its own.
    EXPECT_EQ(preview.text(), "a\uFFFDb\uFFFDc\uFFFD\uFFFD\uFFFDd한");
}

}  // namespace
}  // namespace quorvane
