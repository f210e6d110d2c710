#include "views/main_window/main_window_sidebar.hpp"

#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "presentation/main_window/main_window_texts.hpp"
#include "presentation/main_window/sidebar_row.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/theme.hpp"
#include "views/main_window/advanced_disclosure.hpp"
#include "views/main_window/sidebar_row_button.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr int kMargin = 10;
constexpr int kRowSpacing = 2;
constexpr int kHeaderGap = 10;

}  // namespace

MainWindowSidebar::MainWindowSidebar(Theme& theme, MainWindowState& state,
                                     std::function<void(DisplayID)> selectDisplay, QWidget* parent)
    : QScrollArea(parent), theme_(theme), state_(state), selectDisplay_(std::move(selectDisplay)) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // No stop for the keyboard: Tab goes from control to control and the
    // area follows; the window opens on its first row, never on a
    // nameless pane.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setAutoFillBackground(false);

    auto* content = new QWidget(this);
    content->setAutoFillBackground(false);
    column_ = new QVBoxLayout(content);
    column_->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column_->setSpacing(kRowSpacing);

    addHeader(main_window_texts::kDisplaysHeader);
    displayColumn_ = new QVBoxLayout;
    displayColumn_->setSpacing(kRowSpacing);
    column_->addLayout(displayColumn_);

    addSectionList(main_window_texts::kFirstHeader, kFirstSidebarSections);
    addSectionList(main_window_texts::kFrequentHeader, kFrequentSidebarSections);

    column_->addSpacing(kHeaderGap);
    disclosure_ = new AdvancedDisclosure(theme_, content);
    connect(disclosure_, &QAbstractButton::clicked, this,
            [this] { state_.setShowsAdvancedSections(!state_.showsAdvancedSections); });
    column_->addWidget(disclosure_);
    advanced_ = new QWidget(content);
    auto* advancedColumn = new QVBoxLayout(advanced_);
    advancedColumn->setContentsMargins(12, 0, 0, 0);
    advancedColumn->setSpacing(kRowSpacing);
    for (const auto section : kAdvancedSidebarSections)
        addSectionRow(section, advancedColumn);
    column_->addWidget(advanced_);
    column_->addStretch(1);

    setWidget(content);
    connect(&theme_, &Theme::changed, this, &MainWindowSidebar::restyle);
    restyle();
    redrawSections();
}

void MainWindowSidebar::addHeader(std::string_view text) {
    auto* header = new QLabel(toQString(text));
    header->setContentsMargins(6, 0, 6, 2);
    setSpokenName(header, header->text());
    column_->addWidget(header);
    headers_.push_back(header);
}

void MainWindowSidebar::addSectionList(std::string_view header,
                                       std::span<const MainWindowSection> sections) {
    column_->addSpacing(kHeaderGap);
    addHeader(header);
    for (const auto section : sections)
        addSectionRow(section, column_);
}

void MainWindowSidebar::addSectionRow(MainWindowSection section, QVBoxLayout* into) {
    auto* row = new SidebarRowButton(theme_);
    connect(row, &QAbstractButton::clicked, this,
            [this, section] { state_.selectSection(section); });
    into->addWidget(row);
    sectionRows_[section] = row;
}

void MainWindowSidebar::restyle() {
    for (auto* header : headers_) {
        header->setFont(theme_.font(QuorvaneFontStyle::caption, QFont::DemiBold));
        QPalette colours = header->palette();
        colours.setColor(QPalette::WindowText, theme_.color(ColorRole::secondary));
        header->setPalette(colours);
    }
}

void MainWindowSidebar::redrawSections() {
    for (const auto& [section, row] : sectionRows_)
        row->setRow(sectionSidebarRow(section, state_.selectedSection));
    if (disclosure_->isChecked() != state_.showsAdvancedSections)
        disclosure_->setChecked(state_.showsAdvancedSections);
    advanced_->setVisible(state_.showsAdvancedSections);
}

void MainWindowSidebar::revealSelectedSection() {
    QMetaObject::invokeMethod(
        this, [this] { ensureWidgetVisible(sectionRow(state_.selectedSection)); },
        Qt::QueuedConnection);
}

void MainWindowSidebar::redrawDisplays(const DisplayStore& store) {
    const auto rows = displaySidebarRows(store);
    std::vector<std::pair<DisplayID, SidebarRowButton*>> kept;
    kept.reserve(rows.size());
    for (const auto& wanted : rows) {
        auto found = std::find_if(displayRows_.begin(), displayRows_.end(), [&](const auto& entry) {
            return entry.first == wanted.displayID;
        });
        SidebarRowButton* button = nullptr;
        if (found != displayRows_.end()) {
            button = found->second;
            displayRows_.erase(found);
        } else {
            button = new SidebarRowButton(theme_, widget());
            const DisplayID id = wanted.displayID;
            connect(button, &QAbstractButton::clicked, this, [this, id] { selectDisplay_(id); });
        }
        button->setRow(wanted.row);
        kept.emplace_back(wanted.displayID, button);
    }
    // What is left belongs to displays that are gone.
    for (auto& [id, button] : displayRows_)
        delete button;
    displayRows_ = std::move(kept);
    for (int index = 0; index < int(displayRows_.size()); ++index) {
        if (displayColumn_->indexOf(displayRows_[std::size_t(index)].second) != index)
            displayColumn_->insertWidget(index, displayRows_[std::size_t(index)].second);
    }
}

std::vector<SidebarRowButton*> MainWindowSidebar::displayRows() const {
    std::vector<SidebarRowButton*> result;
    for (const auto& entry : displayRows_)
        result.push_back(entry.second);
    return result;
}

SidebarRowButton* MainWindowSidebar::sectionRow(MainWindowSection section) const {
    return sectionRows_.at(section);
}

QAbstractButton* MainWindowSidebar::advancedDisclosure() const {
    return disclosure_;
}

}  // namespace quorvane
