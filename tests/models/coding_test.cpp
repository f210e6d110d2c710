#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <string>

#include "models/coding/date_coding.hpp"
#include "models/coding/json_coding.hpp"
#include "models/coding/korean_date_time_text.hpp"
#include "models/coding/number_format.hpp"
#include "models/coding/uuid_text.hpp"

namespace quorvane {
namespace {

std::tm localTime(int year, int month, int day, int hour, int minute) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    return parts;
}

TEST(KoreanDateTimeText, MidnightAndNoonAreTwelveOfTheirHalfDay) {
    EXPECT_EQ(koreanDateTimeText(localTime(2026, 12, 7, 0, 0)), "2026년 12월 7일 오전 12:00");
    EXPECT_EQ(koreanDateTimeText(localTime(2026, 12, 7, 0, 59)), "2026년 12월 7일 오전 12:59");
    EXPECT_EQ(koreanDateTimeText(localTime(2026, 12, 7, 11, 59)), "2026년 12월 7일 오전 11:59");
    EXPECT_EQ(koreanDateTimeText(localTime(2026, 12, 7, 12, 0)), "2026년 12월 7일 오후 12:00");
    EXPECT_EQ(koreanDateTimeText(localTime(2026, 12, 7, 13, 5)), "2026년 12월 7일 오후 1:05");
    EXPECT_EQ(koreanDateTimeText(localTime(2026, 12, 31, 23, 59)), "2026년 12월 31일 오후 11:59");
}

TEST(KoreanDateTimeText, FollowsTheLocalTimeZoneAcrossTheDateLine) {
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    // 2026-12-06 15:15 UTC is 00:15 the next day in Seoul.
    const Date instant = Date(std::chrono::seconds(1'796'570'100));
    setenv("TZ", "Asia/Seoul", 1);
    tzset();
    EXPECT_EQ(koreanLocalDateTimeText(instant), "2026년 12월 7일 오전 12:15");
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(koreanLocalDateTimeText(instant), "2026년 12월 6일 오후 3:15");
    previous ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
}

TEST(JsonCoding, StrictValuesRejectWrongTypes) {
    const Json object = parseJson(R"({"n":1,"f":1.5,"s":"x","b":true,"neg":-1,"big":1e30})");
    EXPECT_EQ(requireKey<int>(object, "n"), 1);
    EXPECT_DOUBLE_EQ(requireKey<double>(object, "n"), 1.0);
    EXPECT_THROW(requireKey<int>(object, "f"), JsonDecodeError);
    EXPECT_THROW(requireKey<double>(object, "b"), JsonDecodeError);
    EXPECT_THROW(requireKey<bool>(object, "n"), JsonDecodeError);
    EXPECT_THROW(requireKey<std::uint32_t>(object, "neg"), JsonDecodeError);
    EXPECT_THROW(requireKey<std::int32_t>(object, "big"), JsonDecodeError);
}

TEST(JsonCoding, MissingAndNullKeys) {
    const Json object = parseJson(R"({"present":2,"nothing":null})");
    EXPECT_THROW(requireKey<int>(object, "absent"), JsonDecodeError);
    EXPECT_THROW(requireKey<int>(object, "nothing"), JsonDecodeError);
    EXPECT_EQ(keyOr<int>(object, "absent", 7), 7);
    EXPECT_EQ(keyOr<int>(object, "nothing", 7), 7);
    EXPECT_EQ(keyOr<int>(object, "present", 7), 2);
    EXPECT_FALSE(optionalKey<int>(object, "nothing").has_value());
    EXPECT_THROW(keyOr<std::string>(object, "present", "x"), JsonDecodeError);
}

// Maps are written entry after entry without a look-up; the result must be
// what a keyed insertion gives: byte order of the keys ("10" before "9",
// upper before lower case, UTF-8 last), each value under its own key, and a
// document that reads back to the same map.
TEST(JsonCoding, StringMapsEncodeInKeyOrderInBothObjectFlavours) {
    const std::map<std::string, std::vector<std::string>> map = {
        {"9", {"nine"}}, {"10", {"ten"}}, {"b", {}}, {"B", {"upper"}}, {"화면", {"screen"}}};
    const std::string expected =
        R"({"10":["ten"],"9":["nine"],"B":["upper"],"b":[],"화면":["screen"]})";

    const OrderedJson ordered = encodeValue<OrderedJson>(map);
    EXPECT_EQ(dumpJson(ordered), expected);
    EXPECT_EQ(ordered.at("B").at(0), "upper");
    EXPECT_EQ(dumpJson(encodeValue<Json>(map)), expected);
    EXPECT_EQ((decodeValue<std::map<std::string, std::vector<std::string>>>(parseJson(expected))),
              map);
    EXPECT_EQ(dumpJson(encodeValue<OrderedJson>(std::map<std::string, int>{})), "{}");
}

TEST(JsonCoding, DepthIsBoundedBeforeParsing) {
    const std::string deep(1 << 20, '[');
    EXPECT_THROW(parseJson(deep), JsonDecodeError);
    EXPECT_NO_THROW(parseJson(R"({"a":"[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[["})", 2));
    EXPECT_THROW(parseJson("{} trailing"), JsonDecodeError);
}

TEST(DateCoding, RoundTripsWholeSecondsInUtc) {
    const auto date = parseIso8601("2026-12-06T20:41:31Z");
    ASSERT_TRUE(date);
    EXPECT_EQ(formatIso8601(*date), "2026-12-06T20:41:31Z");
    EXPECT_EQ(formatIso8601(*date + std::chrono::milliseconds(999)), "2026-12-06T20:41:31Z");
    EXPECT_FALSE(parseIso8601("2026-02-30T00:00:00Z"));
    EXPECT_FALSE(parseIso8601("2026-12-06 20:41:31Z"));
}

TEST(DateCoding, ReadsOffsetsAndFractionsAsTheInstantTheyName) {
    using std::chrono::milliseconds;
    using std::chrono::nanoseconds;
    const Date utc = *parseIso8601("2026-12-07T05:15:00Z");
    EXPECT_EQ(parseIso8601("2026-12-07T14:15:00+09:00"), utc);
    EXPECT_EQ(parseIso8601("2026-12-06T23:45:00-05:30"), utc);
    EXPECT_EQ(parseIso8601("2026-12-07T05:15:00+00:00"), utc);
    EXPECT_EQ(parseIso8601("2026-12-07T05:15:00-00:00"), utc);
    // Across a day, a month and a year.
    EXPECT_EQ(parseIso8601("2027-01-01T08:59:59+09:00"), parseIso8601("2026-12-31T23:59:59Z"));

    EXPECT_EQ(parseIso8601("2026-12-07T05:15:00.5Z"), utc + milliseconds(500));
    EXPECT_EQ(parseIso8601("2026-12-07T14:15:00.250+09:00"), utc + milliseconds(250));
    EXPECT_EQ(parseIso8601("2026-12-07T05:15:00.000000001Z"), utc + nanoseconds(1));
    // Past the clock's nanoseconds the fraction is cut, as when writing.
    EXPECT_EQ(parseIso8601("2026-12-07T05:15:00.1234567899999Z"), utc + nanoseconds(123456789));
    // What is written stays the whole-second UTC form.
    EXPECT_EQ(formatIso8601(*parseIso8601("2026-12-07T14:15:00.75+09:00")), "2026-12-07T05:15:00Z");
}

TEST(DateCoding, RefusesMalformedDateTimes) {
    for (const char* text : {
             "2026-12-06T20:41:31",         // no zone
             "2026-12-06T20:41:31z",        // lower-case zone letter
             "2026-12-06t20:41:31Z",        // lower-case separator
             "2026-12-06T20:41:31.Z",       // dot without digits
             "2026-12-06T20:41:31,5Z",      // comma fraction
             "2026-12-06T20:41:31.5",       // fraction, no zone
             "2026-12-06T20:41:31+0900",    // offset without colon
             "2026-12-06T20:41:31+09",      // hours only
             "2026-12-06T20:41:31+24:00",   // no such offset
             "2026-12-06T20:41:31+09:60",   // no such minute
             "2026-12-06T20:41:31+09:00Z",  // two zones
             "2026-12-06T20:41:31Z ",       // trailing space
             "2026-12-06T20:41:31+9:00",    // one-digit hour
             "2026-12-06T20:41:31+-9:00",   // sign and digit swapped
             "2026-12-06T20:41",            // no seconds
             "2026-12-06T24:00:00+01:00",   // no such hour
             "2026-12-06T20:41:31.5x+09:00",
             "",
         }) {
        EXPECT_FALSE(parseIso8601(text)) << text;
    }
}

TEST(NumberFormat, FixedIgnoresTheLocaleAndKeepsNegativeZero) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may be absent; the check holds either way
    EXPECT_EQ(formatFixed(1.0, 4), "1.0000");
    EXPECT_EQ(formatFixed(-0.0, 4), "-0.0000");
    EXPECT_EQ(formatFixed(0.12345, 4), "0.1235");
    EXPECT_EQ(formatFixed(-2.5, 1), "-2.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(UuidText, UpperCaseVersion4) {
    const auto a = newUuidText();
    ASSERT_EQ(a.size(), 36u);
    EXPECT_EQ(a[14], '4');
    EXPECT_NE(a, newUuidText());
    EXPECT_EQ(a.find_first_not_of("-0123456789ABCDEF"), std::string::npos);
}

}  // namespace
}  // namespace quorvane
