#include "models/coding/korean_date_time_text.hpp"

#include "models/coding/number_format.hpp"

namespace quorvane {

std::string koreanDateTimeText(const std::tm& local) {
    const int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    std::string minutes = formatDecimal(local.tm_min);
    if (minutes.size() < 2)
        minutes.insert(minutes.begin(), '0');
    return formatDecimal(local.tm_year + 1900) + "년 " + formatDecimal(local.tm_mon + 1) + "월 " +
           formatDecimal(local.tm_mday) + "일 " + (local.tm_hour < 12 ? "오전 " : "오후 ") +
           formatDecimal(hour12) + ":" + minutes;
}

std::string koreanLocalDateTimeText(Date date) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(date);
    std::tm local{};
    localtime_r(&seconds, &local);
    return koreanDateTimeText(local);
}

}  // namespace quorvane
