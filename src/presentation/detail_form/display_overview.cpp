#include "presentation/detail_form/display_overview.hpp"

#include "models/coding/unicode_text.hpp"

namespace quorvane {

IdentityBadge IdentityBadge::forConfidence(DisplayIdentityConfidence confidence) {
    switch (confidence) {
        case DisplayIdentityConfidence::reliable:
            return {"확실히 구분됨", "checkmark.circle.fill", IdentityBadgeTone::green};
        case DisplayIdentityConfidence::serialMissing:
            return {"고유 번호 없음", "info.circle", IdentityBadgeTone::secondary};
        case DisplayIdentityConfidence::ambiguous:
            return {"구분 불확실", "exclamationmark.triangle.fill", IdentityBadgeTone::orange};
    }
    return {};
}

DisplayOverview DisplayOverview::make(const DisplayStore& store, const DisplaySnapshot& display) {
    DisplayOverview overview;
    overview.title = store.displayLabel(display);
    overview.modeLine =
        display.currentMode ? display.currentMode->label() : "현재 해상도 정보를 읽지 못했습니다.";
    if (const auto descriptor = store.identityDescriptor(display.id)) {
        overview.badge = IdentityBadge::forConfidence(descriptor->confidence);
        overview.reason = descriptor->reason;
    }
    return overview;
}

namespace {

std::string savedAlias(const std::optional<DisplayIdentityDescriptor>& descriptor) {
    if (descriptor && descriptor->alias)
        return *descriptor->alias;
    return {};
}

}  // namespace

std::string AliasEditor::fieldValue(const DetailFormDrafts& drafts, DisplayID displayID,
                                    const std::optional<DisplayIdentityDescriptor>& descriptor) {
    if (const auto draft = drafts.aliases.find(displayID); draft != drafts.aliases.end())
        return draft->second;
    return savedAlias(descriptor);
}

void AliasEditor::edit(DetailFormDrafts& drafts, DisplayID displayID, std::string text) {
    drafts.aliases[displayID] = std::move(text);
}

bool AliasEditor::clearDisabled(const DetailFormDrafts& drafts, DisplayID displayID,
                                const std::optional<DisplayIdentityDescriptor>& descriptor) {
    return savedAlias(descriptor).empty() && fieldValue(drafts, displayID, descriptor).empty();
}

void AliasEditor::save(DisplayStore& store, DetailFormDrafts& drafts, DisplayID displayID) {
    const std::string trimmed = trimWhitespaceAndNewlines(
        fieldValue(drafts, displayID, store.identityDescriptor(displayID)));
    drafts.aliases[displayID] = trimmed;
    store.setDisplayAlias(trimmed, displayID);
}

void AliasEditor::clear(DisplayStore& store, DetailFormDrafts& drafts, DisplayID displayID) {
    drafts.aliases[displayID] = "";
    store.setDisplayAlias("", displayID);
}

}  // namespace quorvane
