#pragma once

#include <optional>
#include <string>

#include "models/display/display_identity_descriptor.hpp"
#include "models/display/display_snapshot.hpp"
#include "presentation/detail_form/detail_form_drafts.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

// The colour role of the identity badge.
enum class IdentityBadgeTone { green, secondary, orange };

struct IdentityBadge {
    std::string title;
    std::string systemImage;
    IdentityBadgeTone tone = IdentityBadgeTone::secondary;

    bool operator==(const IdentityBadge&) const = default;

    static IdentityBadge forConfidence(DisplayIdentityConfidence confidence);
};

// The overview card at the top of every grouped page: which display, how
// surely it is recognised, its mode, and the alias editor.
struct DisplayOverview {
    std::string title;                   // the display's label
    std::optional<IdentityBadge> badge;  // absent without an identity descriptor
    std::string modeLine;
    std::optional<std::string> reason;  // absent without an identity descriptor

    bool operator==(const DisplayOverview&) const = default;

    static DisplayOverview make(const DisplayStore& store, const DisplaySnapshot& display);

    static constexpr const char* kHint = "처음엔 ‘시작하기’ 순서대로 조정하세요.";
    static constexpr const char* kAliasHeading = "모니터 별칭";
    static constexpr const char* kAliasPlaceholder = "예: 왼쪽 업무 모니터";
    static constexpr const char* kAliasHelp =
        "화면 이름표입니다. 자동 적용 안전 판단에는 쓰지 않습니다.";
};

// The alias field and its two buttons. The field shows the display's draft
// whenever one exists (even an empty one), else the saved alias; nothing
// reaches the store until a button is pressed.
struct AliasEditor {
    static std::string fieldValue(const DetailFormDrafts& drafts, DisplayID displayID,
                                  const std::optional<DisplayIdentityDescriptor>& descriptor);
    // Typing only records the draft.
    static void edit(DetailFormDrafts& drafts, DisplayID displayID, std::string text);
    // "지우기" is disabled while neither a saved alias nor field text exists.
    static bool clearDisabled(const DetailFormDrafts& drafts, DisplayID displayID,
                              const std::optional<DisplayIdentityDescriptor>& descriptor);
    // "저장": the field's text trimmed becomes the draft and is saved (blank
    // removes the alias, as the store decides).
    static void save(DisplayStore& store, DetailFormDrafts& drafts, DisplayID displayID);
    // "지우기": empties the draft and removes the saved alias.
    static void clear(DisplayStore& store, DetailFormDrafts& drafts, DisplayID displayID);
};

}  // namespace quorvane
