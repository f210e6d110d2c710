#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "models/coding/byte_count_format.hpp"
#include "models/settings/quorvane_settings_document_error.hpp"
#include "services/persistence/quorvane_settings_document_coder.hpp"

namespace quorvane {
namespace {

using Error = QuorvaneSettingsDocumentError;

std::string document(const std::string& appName, const std::string& version,
                     const std::string& exportedAt = R"("2026-01-02T03:04:05Z")",
                     const std::string& preferences = "{}") {
    std::string text = "{";
    if (!appName.empty())
        text += R"("appName":)" + appName + ",";
    if (!version.empty())
        text += R"("documentVersion":)" + version + ",";
    if (!exportedAt.empty())
        text += R"("exportedAt":)" + exportedAt + ",";
    return text + R"("preferences":)" + preferences + "}";
}

Error decodeError(const std::string& data) {
    try {
        QuorvaneSettingsDocumentCoder{}.decode(data);
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "decoded: " << data;
    return Error::invalidData();
}

TEST(SettingsDocumentCoder, ExportReimportsToAnEqualRecordWithSortedKeys) {
    QuorvanePreferences preferences;
    preferences.textSize = QuorvaneTextSize::extraLarge;
    preferences.displayAliasesByKey["k"] = "별칭";
    preferences.lastSelectedDisplayIdentity = "vendor-1-model-2-serial-3-builtin";
    const QuorvaneSettingsDocumentCoder coder;
    const auto now = *parseIso8601("2026-05-06T07:08:09Z");
    const std::string text =
        coder.encode(QuorvaneSettingsDocumentCoder::exportDocument(preferences, now));

    EXPECT_EQ(coder.decode(text), preferences);
    EXPECT_LT(text.find("\"appName\""), text.find("\"documentVersion\""));
    EXPECT_LT(text.find("\"appearance\""), text.find("\"autoApplyEnabled\""));  // nested sorted too
    EXPECT_NE(text.find("\"2026-05-06T07:08:09Z\""), std::string::npos);
    EXPECT_NE(text.find("\n  \"appName\": \"Quorvane\""), std::string::npos);
}

TEST(SettingsDocumentCoder, NameIsCheckedBeforeVersion) {
    EXPECT_EQ(decodeError(document(R"("quorvane")", "1")).description(),
              "Quorvane 설정 파일이 아닙니다: quorvane");
    EXPECT_EQ(decodeError(document(R"("Other")", "2")), Error::unsupportedAppName("Other"));
    EXPECT_EQ(decodeError(document(R"("Quorvane")", "2")).description(),
              "지원하지 않는 설정 파일 버전입니다: 2");
    EXPECT_EQ(decodeError(document(R"("Quorvane")", "0")), Error::unsupportedDocumentVersion(0));
}

TEST(SettingsDocumentCoder, EverythingElseIsInvalidData) {
    const std::vector<std::string> broken = {
        "not json",
        "[]",
        "",
        document(R"("Quorvane")", "1", ""),                          // no exportedAt
        document(R"("Quorvane")", "1", R"("2026-01-02 03:04:05")"),  // not ISO 8601
        document(R"("Quorvane")", "1", R"("2026-01-02T03:04:05+25:00")"),
        document(R"("Quorvane")", "1", R"("2026-01-02T03:04:05.+09:00")"),
        document(R"("Quorvane")", ""),  // no version
        document(R"("Quorvane")", R"("1")"),
        document("", "1"),
        document(R"("Quorvane")", "1", R"("2026-01-02T03:04:05Z")", "null"),
        document(R"("Quorvane")", "1", R"("2026-01-02T03:04:05Z")", R"({"textSize":"tiny"})"),
        // A broken document with a foreign name is still unreadable first.
        document(R"("Other")", "1", ""),
        std::string(1 << 20, '['),
    };
    for (const auto& data : broken) {
        const auto error = decodeError(data);
        EXPECT_EQ(error, Error::invalidData()) << data.substr(0, 120);
        EXPECT_EQ(error.description(), "설정 파일을 읽을 수 없습니다.");
    }
}

// A file written elsewhere may carry its local offset and a fraction of a
// second; it imports, and the moment of export is the same instant.
TEST(SettingsDocumentCoder, ExportDatesWithAnOffsetOrAFractionAreRead) {
    const QuorvaneSettingsDocumentCoder coder;
    for (const char* date : {"\"2026-12-07T14:15:00+09:00\"", "\"2026-12-07T05:15:00.000Z\"",
                             "\"2026-12-06T23:45:00.999-05:30\""}) {
        const std::string text = document(R"("Quorvane")", "1", date);
        EXPECT_EQ(coder.decode(text), QuorvanePreferences::defaults()) << date;
        const auto decoded = QuorvaneSettingsDocument::fromJson(parseJson(text));
        EXPECT_EQ(std::chrono::floor<std::chrono::seconds>(decoded.exportedAt),
                  *parseIso8601("2026-12-07T05:15:00Z"))
            << date;
    }
}

TEST(SettingsDocumentCoder, MissingPreferenceKeysTakeDefaults) {
    const auto preferences = QuorvaneSettingsDocumentCoder{}.decode(document(
        R"("Quorvane")", "1", R"("2026-01-02T03:04:05Z")", R"({"autoApplyEnabled":false})"));
    auto expected = QuorvanePreferences::defaults();
    expected.autoApplyEnabled = false;
    EXPECT_EQ(preferences, expected);
}

TEST(SettingsDocumentCoder, UnencodableRecordIsAnError) {
    QuorvanePreferences preferences;
    preferences.displayAdjustments["x"].gamma = std::numeric_limits<double>::infinity();
    EXPECT_THROW(QuorvaneSettingsDocumentCoder{}.encode(
                     QuorvaneSettingsDocumentCoder::exportDocument(preferences, Date{})),
                 QuorvaneSettingsDocumentEncodingError);
}

TEST(ByteCountFormat, FileStyleUsesDecimalUnits) {
    EXPECT_EQ(formatFileByteCount(0), "Zero KB");
    EXPECT_EQ(formatFileByteCount(1), "1 byte");
    EXPECT_EQ(formatFileByteCount(1'048'576), "1 MB");
    EXPECT_EQ(formatFileByteCount(1'500'000), "1.5 MB");
    EXPECT_EQ(formatFileByteCount(2'250'000'000), "2.25 GB");
}

TEST(ByteCountFormat, AThousandBytesIsTheFirstKilobyte) {
    EXPECT_EQ(formatFileByteCount(999), "999 bytes");
    EXPECT_EQ(formatFileByteCount(1000), "1 KB");
    EXPECT_EQ(formatFileByteCount(-1000), "-1 KB");
}

}  // namespace
}  // namespace quorvane
