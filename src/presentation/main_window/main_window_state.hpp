#pragma once

#include <functional>
#include <string>

#include "presentation/detail_form/detail_form_drafts.hpp"
#include "presentation/main_window/main_window_section.hpp"

namespace quorvane {

// The main window's own view state: which page the detail column shows,
// whether the sidebar's advanced group is open, and what is being typed in
// the detail form. It lives as long as the window and is never saved; a new
// window starts on "시작하기" with the group closed and the names empty.
//
// The detail form changes the page and the group through the two setters, so
// the window hears of it (`sectionsChanged`) and moves the sidebar's mark.
// Everything else here is the form's to read and write directly.
struct MainWindowState {
    MainWindowSection selectedSection = MainWindowSection::start;
    bool showsAdvancedSections = false;
    std::string newPresetName;
    std::string newSceneName;
    std::string newGroupName;
    // The detail form's unsaved alias and profile choices, per display ID.
    // Kept here so that rebuilding a page never drops them.
    DetailFormDrafts detailFormDrafts;

    // Set by the window; run after the section or the group changed.
    std::function<void()> sectionsChanged;

    void selectSection(MainWindowSection section);
    void setShowsAdvancedSections(bool shown);
    // Opens the advanced group first, then shows `section`: how the start
    // guide and the support actions reach an advanced page.
    void openAdvancedSection(MainWindowSection section);

  private:
    void announce() const;
};

}  // namespace quorvane
