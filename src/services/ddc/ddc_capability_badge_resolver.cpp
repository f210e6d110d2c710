#include "services/ddc/ddc_capability_badge_resolver.hpp"

#include "models/coding/korean_date_time_text.hpp"
#include "models/ddc/ddc_capability_cache_key.hpp"

namespace quorvane {

std::string DDCCapabilityBadgeResolver::lastCheckedText(Date date) {
    return "마지막 확인: " + koreanLocalDateTimeText(date);
}

std::string DDCCapabilityBadgeResolver::savedResultText(const DDCCapabilityEntry& entry,
                                                        bool probedInCurrentSession) {
    std::string text = lastCheckedText(entry.lastCheckedAt);
    // A monitor without a serial number may be another one of the same
    // model: say that the result is remembered, not seen now.
    if (!entry.hasReliableSerial && !probedInCurrentSession)
        text += " · 저장된 확인 결과";
    return text;
}

DDCCapabilityBadge DDCCapabilityBadgeResolver::recheckBadge(const DDCCapabilityEntry& entry,
                                                            std::string_view reason) {
    return {DDCCapabilityBadgeKind::recheckNeeded, "다시 확인 필요",
            std::string(reason) + " " + lastCheckedText(entry.lastCheckedAt),
            "arrow.triangle.2.circlepath.circle", DDCCapabilityBadgeTone::orange};
}

DDCCapabilityBadge DDCCapabilityBadgeResolver::badge(const DisplaySnapshot& display,
                                                     const std::optional<DDCCapabilityEntry>& entry,
                                                     bool isChecking, bool probedInCurrentSession,
                                                     Date now) {
    if (isChecking) {
        return {DDCCapabilityBadgeKind::checking, "확인 중…",
                "모니터/케이블에 따라 몇 초 걸릴 수 있습니다.", "progress.indicator",
                DDCCapabilityBadgeTone::secondary};
    }
    if (!entry) {
        return {DDCCapabilityBadgeKind::unchecked, "아직 확인하지 않음",
                "확인 전에는 모니터 자체 설정 항목을 숨깁니다.", "questionmark.circle",
                DDCCapabilityBadgeTone::secondary};
    }
    if (entry->key.connectionFingerprint !=
        DDCCapabilityCacheKey::connectionFingerprintFor(display)) {
        return recheckBadge(*entry, "연결 상태가 달라졌습니다. 다시 확인하세요.");
    }
    // Exactly 7 days still counts as recent, and so does a date in the future.
    if (now - entry->lastCheckedAt > kRecheckAge) {
        return recheckBadge(*entry, "마지막 확인이 오래되었습니다. 다시 확인하세요.");
    }
    const std::string saved = savedResultText(*entry, probedInCurrentSession);
    if (!entry->unstableRecords().empty()) {
        return {DDCCapabilityBadgeKind::unstable, "불안정",
                "전에 되던 모니터 설정 항목 일부가 응답하지 않습니다. " + saved,
                "exclamationmark.triangle", DDCCapabilityBadgeTone::orange};
    }
    if (!entry->supportedRecords().empty()) {
        return {DDCCapabilityBadgeKind::confirmed, "확인됨",
                entry->supportedSummary() + " · " + saved, "checkmark.circle",
                DDCCapabilityBadgeTone::green};
    }
    return {
        DDCCapabilityBadgeKind::unsupported, "미지원",
        entry->displayFailureReason.value_or("응답한 모니터 설정 항목이 없습니다.") + " · " + saved,
        "info.circle", DDCCapabilityBadgeTone::secondary};
}

}  // namespace quorvane
