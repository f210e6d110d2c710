#include "services/ddc/ddc_capability_badge_resolver.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "models/ddc/ddc_capability_cache.hpp"

namespace quorvane {
namespace {

using Kind = DDCCapabilityBadgeKind;
using std::chrono::seconds;

const Date kChecked = Date(seconds(1'800'000'000));

DisplaySnapshot monitor(std::uint32_t serial = 0) {
    DisplaySnapshot display;
    display.id = 2;
    display.name = "Studio";
    display.vendorNumber = 4;
    display.modelNumber = 5;
    display.serialNumber = serial;
    display.bounds = {0, 0, 2560, 1440};
    return display;
}

DDCCapabilityEntry entryFor(const DisplaySnapshot& display, std::vector<DDCVCPCode> answered,
                            std::vector<DDCVCPCode> failed = {}, Date when = kChecked) {
    DDCSnapshot snapshot;
    for (DDCVCPCode code : answered)
        snapshot.values[code] = {code, 10, 100};
    for (DDCVCPCode code : failed)
        snapshot.unsupported[code] = "실패";
    DDCCapabilityCache cache;
    return cache.merge(snapshot, display, when);
}

DDCCapabilityBadge resolve(const DisplaySnapshot& display,
                           const std::optional<DDCCapabilityEntry>& entry, bool probedNow = true,
                           Date now = kChecked + seconds(60), bool checking = false) {
    return DDCCapabilityBadgeResolver::badge(display, entry, checking, probedNow, now);
}

TEST(DDCCapabilityBadge, CheckingWinsAndNoEntryIsUnchecked) {
    const DisplaySnapshot display = monitor(1);
    const auto entry = entryFor(display, {DDCVCPCode::brightness});
    EXPECT_EQ(resolve(display, entry, true, kChecked, true).kind, Kind::checking);
    EXPECT_EQ(resolve(display, std::nullopt, false, kChecked, true).kind, Kind::checking);
    EXPECT_EQ(resolve(display, std::nullopt).kind, Kind::unchecked);
}

TEST(DDCCapabilityBadge, ConfirmedUnstableAndUnsupported) {
    const DisplaySnapshot display = monitor(1);
    const std::string checked = DDCCapabilityBadgeResolver::lastCheckedText(kChecked);

    EXPECT_EQ(
        resolve(display, entryFor(display, {DDCVCPCode::audioVolume, DDCVCPCode::brightness})),
        (DDCCapabilityBadge{Kind::confirmed, "확인됨", "모니터 밝기, 모니터 볼륨 · " + checked,
                            "checkmark.circle", DDCCapabilityBadgeTone::green}));

    auto unstable = entryFor(display, {DDCVCPCode::brightness, DDCVCPCode::audioVolume});
    DDCCapabilityCache cache;
    cache.entriesByDisplayIdentity[unstable.key.displayIdentityRawValue] = unstable;
    DDCSnapshot later;
    later.values[DDCVCPCode::brightness] = {DDCVCPCode::brightness, 1, 100};
    later.unsupported[DDCVCPCode::audioVolume] = "실패";
    unstable = cache.merge(later, display, kChecked);
    EXPECT_EQ(resolve(display, unstable).kind, Kind::unstable);
    EXPECT_EQ(resolve(display, entryFor(display, {})).kind, Kind::unsupported);
    auto failing = entryFor(display, {}, {DDCVCPCode::brightness});
    failing.displayFailureReason = "경로 없음";
    EXPECT_EQ(resolve(display, failing).detail, "경로 없음 · " + checked);
}

TEST(DDCCapabilityBadge, ChangedConnectionOrOldCheckNeedsARecheck) {
    DisplaySnapshot display = monitor(1);
    const auto entry = entryFor(display, {DDCVCPCode::brightness});
    const std::string checked = DDCCapabilityBadgeResolver::lastCheckedText(kChecked);

    display.bounds = {500, 500, 2560, 1440};  // moved only
    EXPECT_EQ(resolve(display, entry).kind, Kind::confirmed);
    display.bounds = {0, 0, 1920, 1080};
    EXPECT_EQ(resolve(display, entry).detail,
              "연결 상태가 달라졌습니다. 다시 확인하세요. " + checked);

    display = monitor(1);
    const Date week = kChecked + seconds(604800);
    EXPECT_EQ(resolve(display, entry, true, week).kind, Kind::confirmed);
    EXPECT_EQ(resolve(display, entry, true, week + seconds(1)).detail,
              "마지막 확인이 오래되었습니다. 다시 확인하세요. " + checked);
    EXPECT_EQ(resolve(display, entry, true, kChecked - seconds(86400)).kind, Kind::confirmed);
}

TEST(DDCCapabilityBadge, RememberedResultOfAMonitorWithoutSerial) {
    const DisplaySnapshot anonymous = monitor(0);
    const auto entry = entryFor(anonymous, {DDCVCPCode::contrast});
    const std::string checked = DDCCapabilityBadgeResolver::lastCheckedText(kChecked);
    EXPECT_EQ(resolve(anonymous, entry, false).detail,
              "모니터 대비 · " + checked + " · 저장된 확인 결과");
    EXPECT_EQ(resolve(anonymous, entry, true).detail, "모니터 대비 · " + checked);
}

TEST(DDCCapabilityBadge, LastCheckedTextIsKoreanWhateverTheLocaleSays) {
    const char* previousZone = std::getenv("TZ");
    const std::string savedZone = previousZone ? previousZone : "";
    const char* previousLang = std::getenv("LANG");
    const std::string savedLang = previousLang ? previousLang : "";
    setenv("TZ", "UTC", 1);
    setenv("LANG", "en_GB.UTF-8", 1);
    tzset();
    // 2027-01-15 08:00:00 UTC, and 20:05 the same day.
    EXPECT_EQ(DDCCapabilityBadgeResolver::lastCheckedText(kChecked),
              "마지막 확인: 2027년 1월 15일 오전 8:00");
    EXPECT_EQ(DDCCapabilityBadgeResolver::lastCheckedText(kChecked + seconds(43500)),
              "마지막 확인: 2027년 1월 15일 오후 8:05");
    previousLang ? setenv("LANG", savedLang.c_str(), 1) : unsetenv("LANG");
    previousZone ? setenv("TZ", savedZone.c_str(), 1) : unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace quorvane
