#pragma once

#include <ctime>
#include <string>

#include "models/coding/date_coding.hpp"

namespace quorvane {

// The windows are Korean whatever LANG says, so a date in them is written the
// Korean way without asking the C library: the abbreviated date with the year,
// month and day spelled out, and the short time, "2026년 12월 7일 오전 1:15".
// Midnight is "오전 12:00", noon "오후 12:00".
std::string koreanDateTimeText(const std::tm& local);

// The same for a point in time, in the local time zone.
std::string koreanLocalDateTimeText(Date date);

}  // namespace quorvane
