#pragma once

#include <QScrollArea>
#include <functional>
#include <map>
#include <span>
#include <string_view>
#include <vector>

#include "models/display/display_snapshot.hpp"
#include "presentation/main_window/main_window_state.hpp"

class QAbstractButton;
class QLabel;
class QVBoxLayout;

namespace quorvane {

class AdvancedDisclosure;
class DisplayStore;
class SidebarRowButton;
class Theme;

// The main window's left column: the store's displays, then the ten sections
// in their three lists, the advanced list inside the "고급 옵션" disclosure.
// Rows are updated in place on every redraw; a display row is created only
// for a display that was not listed before and removed only when its display
// is gone. Clicking a display row asks `selectDisplay`; clicking a section row
// or the disclosure changes the window state and nothing else.
class MainWindowSidebar : public QScrollArea {
    Q_OBJECT

  public:
    MainWindowSidebar(Theme& theme, MainWindowState& state,
                      std::function<void(DisplayID)> selectDisplay, QWidget* parent = nullptr);

    void redrawDisplays(const DisplayStore& store);
    void redrawSections();
    // Scrolls the marked section row into view once the group's new layout
    // is in place (the form may open an advanced page the user cannot see).
    void revealSelectedSection();

    std::vector<SidebarRowButton*> displayRows() const;
    SidebarRowButton* sectionRow(MainWindowSection section) const;
    QAbstractButton* advancedDisclosure() const;

  private:
    void addHeader(std::string_view text);
    // A gap, the list's header, then a row per section.
    void addSectionList(std::string_view header, std::span<const MainWindowSection> sections);
    void addSectionRow(MainWindowSection section, QVBoxLayout* into);
    void restyle();

    Theme& theme_;
    MainWindowState& state_;
    std::function<void(DisplayID)> selectDisplay_;
    QVBoxLayout* displayColumn_ = nullptr;
    QVBoxLayout* column_ = nullptr;
    std::vector<std::pair<DisplayID, SidebarRowButton*>> displayRows_;
    std::map<MainWindowSection, SidebarRowButton*> sectionRows_;
    std::vector<QLabel*> headers_;
    AdvancedDisclosure* disclosure_ = nullptr;
    QWidget* advanced_ = nullptr;
};

}  // namespace quorvane
