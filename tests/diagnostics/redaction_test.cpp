#include <gtest/gtest.h>

#include "models/coding/unicode_text.hpp"
#include "services/diagnostics/quorvane_diagnostic_report_builder.hpp"

namespace quorvane {
namespace {

using Builder = QuorvaneDiagnosticReportBuilder;

std::string valueRedacted(std::string_view text) {
    return Builder::redactingValueFragmentsFromFreeText(text);
}

TEST(ValueFragmentRedaction, RemovesNumbersWithTheirContext) {
    EXPECT_EQ(valueRedacted("모니터 밝기: 50%"), "모니터 밝기");
    EXPECT_EQ(valueRedacted("모니터 밝기이 요청한 값으로 확인되지 않았습니다. 요청 70, 확인 65"),
              "모니터 밝기이 요청한 값으로 확인되지 않았습니다. 요청 [redacted-value], 확인 "
              "[redacted-value]");
    EXPECT_EQ(valueRedacted("밝기를 40%로 맞췄습니다"), "밝기를 [redacted-value]로 맞췄습니다");
    EXPECT_EQ(valueRedacted("주사율 59.94Hz"), "주사율 [redacted-value]Hz");
    EXPECT_EQ(valueRedacted("HDMI2 입력, 버스 3개"),
              "HDMI[redacted-value] 입력, 버스 [redacted-value]개");
    EXPECT_EQ(valueRedacted("  마지막 확인 결과: \n"), "마지막 확인 결과");
    EXPECT_EQ(valueRedacted("응답 없음"), "응답 없음");
}

TEST(ValueFragmentRedaction, TreatsDigitsAndSpacesOfEveryScriptAlike) {
    // Full-width digits after a no-break space, Arabic-Indic digits after an
    // ideographic space, Devanagari digits glued to a unit.
    EXPECT_EQ(valueRedacted("모니터 밝기:\u00A0５０\u2009%"), "모니터 밝기");
    EXPECT_EQ(valueRedacted("요청\u3000٤٢ 확인\u00A0७"),
              "요청 [redacted-value] 확인 [redacted-value]");
    EXPECT_EQ(valueRedacted("٦٠Hz 그리고 ३.५%"), "[redacted-value]Hz 그리고 [redacted-value]");
    const std::string result = valueRedacted("a١b ۲ c３d 4");
    for (char32_t digit : {U'١', U'۲', U'３', U'4'})
        EXPECT_EQ(result.find(utf8Encode({digit})), std::string::npos) << result;
}

TEST(FreeTextRedaction, ReplacesLongerTokensBeforeShorterOnes) {
    const auto tokens =
        Builder::sortedRedactionTokens({"DELL U27", "DELL U2723QE", "", "DELL U27"});
    ASSERT_EQ(tokens, (std::vector<std::string>{"DELL U2723QE", "DELL U27"}));
    const HomeFolderPathRedactor noHome(std::nullopt);
    EXPECT_EQ(Builder::redactingFreeText("DELL U2723QE-2 and DELL U27", tokens, noHome),
              "[redacted]-2 and [redacted]");
    EXPECT_EQ(Builder::redactingFreeText("nothing to hide", tokens, noHome), "nothing to hide");
}

TEST(FreeTextRedaction, CountsTokenLengthInUserPerceivedCharacters) {
    // "é" spelt with a combining mark is one character over three bytes, so
    // the four-character ASCII token comes before the nine-byte one.
    const auto tokens = Builder::sortedRedactionTokens({"e\u0301e\u0301e\u0301", "abcd", "  "});
    EXPECT_EQ(tokens, (std::vector<std::string>{"abcd", "e\u0301e\u0301e\u0301", "  "}));
}

TEST(FreeTextRedaction, RedactsHomeFolderPathsOfEveryKind) {
    const HomeFolderPathRedactor home(std::string("/srv/people/Jane Doe/"));
    auto redacted = [&](std::string_view text) {
        return Builder::redactingFreeText(text, {}, home);
    };
    EXPECT_EQ(redacted("/Users/jane/Library/ColorSync/Profiles/a.icc, 다음"),
              "[redacted-path], 다음");
    EXPECT_EQ(redacted("file:///home/jane/.local/share/icc/b.icc; x"), "file://[redacted-path]; x");
    EXPECT_EQ(redacted("/root/.config/quorvane: 실패"), "[redacted-path]: 실패");
    EXPECT_EQ(redacted("/root"), "[redacted-path]");
    EXPECT_EQ(redacted("/srv/people/Jane Doe/icc/c.icc 열기"), "[redacted-path] 열기");
    EXPECT_EQ(redacted("/srv/people/Jane Doe"), "[redacted-path]");
    // Neighbouring folders that merely share a prefix are no home folders.
    EXPECT_EQ(redacted("/usr/share/color/icc/sRGB.icc /rootfs /srv/people/Jane Doe2"),
              "/usr/share/color/icc/sRGB.icc /rootfs /srv/people/Jane Doe2");
    EXPECT_EQ(redacted("/home/ 비어 있음"), "/home/ 비어 있음");
}

TEST(FreeTextRedaction, IgnoresAHomeFolderThatWouldSwallowEveryPath) {
    const HomeFolderPathRedactor rootHome(std::string("/"));
    EXPECT_EQ(Builder::redactingFreeText("/usr/share/color", {}, rootHome), "/usr/share/color");
    const HomeFolderPathRedactor relative(std::string("home"));
    EXPECT_EQ(Builder::redactingFreeText("home/x", {}, relative), "home/x");
}

}  // namespace
}  // namespace quorvane
