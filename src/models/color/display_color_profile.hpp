#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// One colour profile the system offers for a display.
struct DisplayColorProfile {
    std::string id;
    // The name resolved when the entry was read.
    std::string name;
    std::optional<std::string> modeDescription;
    // The profile file; needed to apply it.
    std::optional<std::filesystem::path> url;
    bool isCurrent = false;
    bool isDefault = false;
    bool isFactory = false;

    // The trimmed name; else the mode description as stored when its trimmed
    // form is not empty; else "색상 프로파일 " and the id.
    std::string displayName() const;

    // "현재 사용 중", "기본값", "공장 제공" for the flags that are set, in that order.
    std::vector<std::string> statusBadges() const;

    bool operator==(const DisplayColorProfile&) const = default;
};

}  // namespace quorvane
