#include "presentation/shell/unsaved_changes_text.hpp"

#include <algorithm>
#include <map>
#include <string_view>

#include "models/coding/text_joining.hpp"
#include "models/display/display_identity.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/record_merge.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"

namespace quorvane {

namespace {

namespace Part = RecordMerge::PreferencesPart;

constexpr std::string_view kQuitPrefix = "quorvane: 저장하지 못한 채 종료합니다: ";

// Settings kept as one value, by the titles the settings window gives them.
const std::map<std::string_view, std::string_view>& settingTitles() {
    static const std::map<std::string_view, std::string_view> titles = {
        {Part::autoApplyEnabled, "저장 색상값 자동 적용"},
        {Part::urlPresetAutomationEnabled, "URL 프리셋 자동화"},
        {Part::softwareColorCorrectionEnabled, "화면 색감 보정"},
        {Part::textSize, "글자 크기"},
        {Part::appearance, "화면 모드"},
        {Part::lastSelectedDisplayIdentity, "선택한 디스플레이"},
        {Part::brightnessSyncEnabled, "모니터 밝기 동기화"},
        {Part::brightnessSyncGroupID, "모니터 밝기 동기화"},
        {Part::sceneHotKeysEnabled, "전역 작업 모드 단축키"},
        {Part::sceneHotKeyBindings, "전역 작업 모드 단축키"},
        {Part::emergencyRecoveryHotKeyEnabled, "비상 복구 단축키"},
        {Part::emergencyRecoveryHotKeyCombination, "비상 복구 단축키"},
        {Part::customPresets, "프리셋"},
        {Part::customScenes, "작업 모드"},
        {Part::customDisplayGroups, "모니터 묶음"},
        {Part::displayAdjustments, "화면별 색상값"},
        {Part::displayAliasesByKey, "모니터 별칭"},
    };
    return titles;
}

// The connected display an identity or alias key belongs to, by the label
// the windows show; the key itself for one not connected.
std::string displayNamed(std::string_view key, const DisplayStore& store) {
    for (const auto& display : store.displays()) {
        const auto descriptor = store.identityDescriptor(display.id);
        if (DisplayIdentity::of(display).rawValue == key ||
            (descriptor && descriptor->aliasKey == key))
            return store.displayLabel(display);
    }
    return std::string(key);
}

template <class Item>
std::string itemNamed(std::string_view title, std::string_view id, const std::vector<Item>& items) {
    const auto found =
        std::find_if(items.begin(), items.end(), [&](const Item& item) { return item.id == id; });
    if (found == items.end())
        return std::string(title);
    return std::string(title) + " " + found->name;
}

std::string partNamed(const std::string& field, const std::string& entry,
                      const DisplayStore& store) {
    if (!entry.empty()) {
        if (field == Part::displayAdjustments)
            return displayNamed(entry, store) + "의 색상값";
        if (field == Part::displayAliasesByKey)
            return displayNamed(entry, store) + "의 별칭";
        if (field == Part::customPresets)
            return itemNamed("프리셋", entry, store.customPresets());
        if (field == Part::customScenes)
            return itemNamed("작업 모드", entry, store.customScenes());
        if (field == Part::customDisplayGroups)
            return itemNamed("모니터 묶음", entry, store.customDisplayGroups());
    }
    const auto& titles = settingTitles();
    const auto title = titles.find(field);
    return title == titles.end() ? field : std::string(title->second);
}

std::string recordNamed(const std::string& key) {
    if (key == UserDefaultsRecoveryJournalStore::standardStorageKey())
        return "복구 기록";
    if (key == UserDefaultsDDCCapabilityCacheStore::standardStorageKey())
        return "모니터 기능 확인 결과";
    return "설정";
}

void addOnce(std::vector<std::string>& names, std::string name) {
    if (std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(std::move(name));
}

}  // namespace

std::vector<std::string> unsavedChangeNames(const UnwrittenSave& save, const DisplayStore& store) {
    const bool preferences = save.key == UserDefaultsPreferencesStore::standardStorageKey();
    if (!preferences || save.touched.empty())
        return {recordNamed(save.key)};
    if (save.touched.isAll())
        return {"모든 설정"};
    std::vector<std::string> names;
    for (const auto& [field, entry] : save.touched.parts())
        addOnce(names, partNamed(field, entry, store));
    return names;
}

std::string unsavedChangesAtQuit(const std::vector<UnwrittenSave>& unwritten,
                                 const DisplayStore& store) {
    // The reasons in the order they first come, each with what it lost.
    std::vector<std::pair<std::string, std::vector<std::string>>> byReason;
    for (const auto& save : unwritten) {
        const auto reason = save.outcome.error ? save.outcome.error->description() : std::string();
        auto group = std::find_if(byReason.begin(), byReason.end(),
                                  [&](const auto& entry) { return entry.first == reason; });
        if (group == byReason.end())
            group = byReason.insert(byReason.end(), {reason, {}});
        for (auto& name : unsavedChangeNames(save, store))
            addOnce(group->second, std::move(name));
    }
    std::string text;
    for (const auto& [reason, names] : byReason) {
        text += std::string(kQuitPrefix) + joined(names, ", ");
        if (!reason.empty())
            text += " — " + reason;
        text += "\n";
    }
    return text;
}

}  // namespace quorvane
