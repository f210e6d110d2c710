#include "models/coding/date_coding.hpp"

#include <cstdint>
#include <cstdio>

namespace quorvane {

std::string formatIso8601(Date date) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(date);
    const auto days = floor<std::chrono::days>(seconds);
    const year_month_day ymd{days};
    const hh_mm_ss hms{seconds - days};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()), static_cast<int>(hms.hours().count()),
                  static_cast<int>(hms.minutes().count()), static_cast<int>(hms.seconds().count()));
    return buffer;
}

namespace {

bool readDigits(std::string_view text, size_t at, size_t count, int& out) {
    if (at + count > text.size())
        return false;
    out = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// ".d…" after the seconds, as nanoseconds (digits past the ninth are cut
// off: towards the past, as when writing); `at` moves past it. No dot is
// no fraction; a dot without a digit is malformed.
std::optional<std::chrono::nanoseconds> readFraction(std::string_view text, size_t& at) {
    if (at >= text.size() || text[at] != '.')
        return std::chrono::nanoseconds{0};
    ++at;
    const size_t first = at;
    std::int64_t nanos = 0;
    std::int64_t scale = 100'000'000;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        nanos += (text[at] - '0') * scale;
        scale /= 10;
    }
    if (at == first)
        return std::nullopt;
    return std::chrono::nanoseconds{nanos};
}

// "Z", or "+HH:MM" / "-HH:MM" ending the text: how far the local time stands
// ahead of UTC.
std::optional<std::chrono::minutes> readOffset(std::string_view text, size_t at) {
    if (text.substr(at) == "Z")
        return std::chrono::minutes{0};
    if (text.size() != at + 6 || (text[at] != '+' && text[at] != '-') || text[at + 3] != ':')
        return std::nullopt;
    int h = 0, m = 0;
    if (!readDigits(text, at + 1, 2, h) || !readDigits(text, at + 4, 2, m) || h > 23 || m > 59)
        return std::nullopt;
    const std::chrono::minutes offset{h * 60 + m};
    return text[at] == '-' ? -offset : offset;
}

}  // namespace

std::optional<Date> parseIso8601(std::string_view text) {
    using namespace std::chrono;
    // YYYY-MM-DDTHH:MM:SS[.fraction](Z|+HH:MM|-HH:MM)
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!readDigits(text, 0, 4, y) || !readDigits(text, 5, 2, mo) || !readDigits(text, 8, 2, d) ||
        !readDigits(text, 11, 2, h) || !readDigits(text, 14, 2, mi) ||
        !readDigits(text, 17, 2, s)) {
        return std::nullopt;
    }
    size_t at = 19;
    const auto fraction = readFraction(text, at);
    if (!fraction)
        return std::nullopt;
    const auto offset = readOffset(text, at);
    if (!offset)
        return std::nullopt;
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(mo)},
                             day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || h > 23 || mi > 59 || s > 60)
        return std::nullopt;
    const auto point = sys_days{ymd} + hours{h} + minutes{mi} + seconds{s} - *offset;
    // The clock's ticks cover only a few centuries around 1970; a date beyond
    // them would overflow the conversion, so it does not parse.
    constexpr auto reach = duration_cast<seconds>(system_clock::duration::max()) - seconds{1};
    if (point.time_since_epoch() > reach || point.time_since_epoch() < -reach)
        return std::nullopt;
    return time_point_cast<system_clock::duration>(point) +
           duration_cast<system_clock::duration>(*fraction);
}

}  // namespace quorvane
