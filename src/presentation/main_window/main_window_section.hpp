#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quorvane {

// The ten pages of the main window's detail column, in declaration order.
// The sidebar lists them in three lists of its own order (below).
enum class MainWindowSection {
    start,
    color,
    profile,
    hardware,
    scenes,
    groups,
    presets,
    resolution,
    diagnostics,
    recovery,
};

inline constexpr std::array<MainWindowSection, 10> kAllMainWindowSections = {
    MainWindowSection::start,    MainWindowSection::color,      MainWindowSection::profile,
    MainWindowSection::hardware, MainWindowSection::scenes,     MainWindowSection::groups,
    MainWindowSection::presets,  MainWindowSection::resolution, MainWindowSection::diagnostics,
    MainWindowSection::recovery};

// What the sidebar row of a section shows. `glyph` names the section's
// vector glyph by its case name; `systemImage` is the symbol it stands for.
struct MainWindowSectionInfo {
    std::string_view title;
    std::string_view systemImage;
    std::string_view glyph;
    std::string_view sidebarSubtitle;
    std::string_view help;
};

std::string_view caseName(MainWindowSection section);
std::optional<MainWindowSection> parseCaseName(std::string_view text, MainWindowSection*);
const MainWindowSectionInfo& sectionInfo(MainWindowSection section);

// The sidebar's three fixed lists; each section appears in exactly one.
inline constexpr std::array<MainWindowSection, 1> kFirstSidebarSections = {
    MainWindowSection::start};
inline constexpr std::array<MainWindowSection, 3> kFrequentSidebarSections = {
    MainWindowSection::color, MainWindowSection::presets, MainWindowSection::recovery};
inline constexpr std::array<MainWindowSection, 6> kAdvancedSidebarSections = {
    MainWindowSection::hardware, MainWindowSection::scenes,     MainWindowSection::groups,
    MainWindowSection::profile,  MainWindowSection::resolution, MainWindowSection::diagnostics};

// Whether the section's row sits inside the "고급 옵션" disclosure group.
bool isAdvancedSection(MainWindowSection section);

}  // namespace quorvane
