// What each control of every window says it is, read from the tree the
// screen reader's bridge reads while it is live (Qt makes a widget's
// interface as soon as anything about it is announced, even before the
// widget is placed): only windows are windows, a picker is named by its
// title, a decorative drawing is not there at all, no invisible formatting
// character is spoken, no button repeats its name as its description and
// each takes the focus from a screen reader, a name is announced only
// when it changes, and the undo prompt and the result of the user's own
// action are heard once.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/shell/panel_host.hpp"
#include "display_store/store_world.hpp"
#include "presentation/import_sheet/settings_import_sheet_texts.hpp"
#include "presentation/settings/shortcuts_card_model.hpp"
#include "views/access/accessible_card.hpp"
#include "views/access/focus_carried_result.hpp"
#include "views/access/menu_item_help.hpp"
#include "views/access/spoken_notice.hpp"
#include "views/access/spoken_text.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/controls/spoken_result.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/detail_form/display_overview_card.hpp"
#include "views/import_sheet/settings_import_preview_sheet.hpp"
#include "views/main_window/main_window.hpp"
#include "views/main_window/main_window_sidebar.hpp"
#include "views/main_window/sidebar_row_button.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/panel/panel_header_view.hpp"
#include "views/panel/panel_quick_tune_card.hpp"
#include "views/panel/panel_recovery_card.hpp"
#include "views/panel/panel_slider_row.hpp"
#include "views/panel/panel_tile_section_view.hpp"
#include "views/settings/diagnostic_report_sheet.hpp"
#include "views/settings/settings_action_card.hpp"
#include "views/settings/settings_appearance_card.hpp"
#include "views/settings/settings_disclosure_section.hpp"
#include "views/settings/settings_shortcuts_card.hpp"
#include "views/settings/settings_support_card.hpp"
#include "views/settings/settings_window.hpp"
#include "views/store_bridge.hpp"
#include "views/support/accessible_event_hook.hpp"
#include "views/support/accessible_tree.hpp"
#include "views/support/heard_focus.hpp"
#include "views/support/live_accessibility.hpp"
#include "views/support/spoken_notices.hpp"
#include "views/support/value_announcements.hpp"

namespace quorvane::testing {
namespace {

// Every interface below the window's own announced as a window or a
// border: both are a "frame" to AT-SPI, which a screen reader reads as a
// window of its own.
std::vector<std::string> framesBelowTheWindow(QWidget* window) {
    std::vector<std::string> found;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    walkAccessibleTree(root, [&](QAccessibleInterface* a) {
        if (a == root)
            return;
        if (a->role() == QAccessible::Window || a->role() == QAccessible::Border)
            found.push_back(describe(a) + " role " + std::to_string(a->role()));
    });
    return found;
}

bool hasFormattingCharacter(const QString& text) {
    for (const QChar character : text)
        if (character.category() == QChar::Other_Format)
            return true;
    return false;
}

// Every name, description or value under the window with an invisible
// formatting character in it.
std::vector<std::string> textsWithFormattingCharacters(QWidget* window) {
    std::vector<std::string> found;
    walkAccessibleTree(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* a) {
        for (const auto kind : {QAccessible::Name, QAccessible::Description, QAccessible::Value})
            if (hasFormattingCharacter(a->text(kind)))
                found.push_back(describe(a));
    });
    return found;
}

// Every interface under the window that says something but reads as a
// plain pane (a "filler" to AT-SPI), which a screen reader passes over.
std::vector<std::string> namedPanes(QWidget* window) {
    std::vector<std::string> found;
    walkAccessibleTree(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* a) {
        if (a->role() == QAccessible::Client && !a->text(QAccessible::Name).isEmpty())
            found.push_back(describe(a));
    });
    return found;
}

// Every decorative drawing a screen reader still finds under the window.
std::vector<std::string> decorationsInTheTree(QWidget* window) {
    static const std::vector<std::string> decorative{
        "quorvane::GlyphIcon", "quorvane::SymbolTileIcon", "quorvane::SymbolImage",
        "quorvane::(anonymous namespace)::ScreenIcon", "quorvane::(anonymous namespace)::GearTile"};
    std::vector<std::string> found;
    walkAccessibleTree(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* a) {
        const std::string type = a->object() ? a->object()->metaObject()->className() : "";
        if (std::find(decorative.begin(), decorative.end(), type) != decorative.end())
            found.push_back(describe(a) + " in " + describe(a->parent()));
    });
    return found;
}

// Every button under the window a screen reader meets wrongly: its
// description only repeats its name (a tooltip naming an icon button, read
// twice), or it takes the keyboard focus but not the screen reader's (no
// "SetFocus", which AT-SPI's grab focus runs).
std::vector<std::string> buttonsHeardWrongly(QWidget* window) {
    std::vector<std::string> found;
    walkAccessibleTree(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* a) {
        const auto role = a->role();
        if (role != QAccessible::Button && role != QAccessible::ButtonMenu &&
            role != QAccessible::CheckBox && role != QAccessible::RadioButton)
            return;
        const QString name = a->text(QAccessible::Name);
        if (!name.isEmpty() && a->text(QAccessible::Description) == name)
            found.push_back(describe(a) + " repeats its name");
        const QStringList actions =
            a->actionInterface() ? a->actionInterface()->actionNames() : QStringList();
        if (!a->state().disabled && a->state().focusable &&
            !actions.contains(QAccessibleActionInterface::setFocusAction()))
            found.push_back(describe(a) + " cannot be focused by a screen reader");
    });
    return found;
}

// Every interface under the window that says it has the keyboard focus.
std::vector<std::string> focusedIn(QWidget* window) {
    std::vector<std::string> found;
    walkAccessibleTree(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* a) {
        if (a->state().focused)
            found.push_back(describe(a));
    });
    return found;
}

bool isTabStop(QWidget* widget, QWidget* window) {
    return widget->window() == window && (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
           !widget->focusProxy() && widget->isVisible() && widget->isEnabled();
}

// Every element under the window a screen reader would not find in its
// place: a child that names another parent than the one listing it, or that
// its parent places at another index (the bridge answers "index in parent"
// by asking the parent), and every control Tab reaches on whose way up to
// the window an element is not listed by its parent (a screen reader takes
// it for a destroyed one and says nothing when the focus lands on it).
std::vector<std::string> outOfPlace(QWidget* window) {
    std::vector<std::string> found;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    walkAccessibleTree(root, [&](QAccessibleInterface* parent) {
        for (int index = 0; index < parent->childCount(); ++index) {
            QAccessibleInterface* child = parent->child(index);
            const std::string place = describe(parent) + " #" + std::to_string(index);
            if (!child || !child->isValid()) {
                found.push_back(place + " is missing");
                continue;
            }
            if (child->parent() != parent)
                found.push_back(describe(child) + " at " + place + " names another parent");
            if (const int told = parent->indexOfChild(child); told != index)
                found.push_back(describe(child) + " at " + place + " is told at #" +
                                std::to_string(told));
        }
    });
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!isTabStop(widget, window))
            continue;
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
        for (QAccessibleInterface* a = control; a && a != root; a = a->parent()) {
            QAccessibleInterface* parent = a->parent();
            const int index = parent ? parent->indexOfChild(a) : -1;
            if (index < 0 || parent->child(index) != a) {
                found.push_back(describe(control) + ": " + describe(a) + " has no place in " +
                                (parent ? describe(parent) : std::string("nothing")));
                break;
            }
        }
    }
    return found;
}

// Every button, switch or option a screen reader meets without a name, in
// the tree or holding the focus; and every container it announces on the
// way into what it holds with nothing to say: a stack of pages (a "layered
// pane") or a pane that takes the focus itself.
std::vector<std::string> namelessButtonsAndPanes(QWidget* window) {
    std::set<QAccessibleInterface*> met;
    walkAccessibleTree(QAccessible::queryAccessibleInterface(window),
                       [&](QAccessibleInterface* a) { met.insert(a); });
    for (QWidget* widget : window->findChildren<QWidget*>())
        if (isTabStop(widget, window))
            met.insert(QAccessible::queryAccessibleInterface(widget));
    std::vector<std::string> found;
    for (QAccessibleInterface* a : met) {
        if (!a || a->state().invisible || !a->text(QAccessible::Name).trimmed().isEmpty())
            continue;
        const auto role = a->role();
        const bool button = role == QAccessible::Button || role == QAccessible::ButtonMenu ||
                            role == QAccessible::ButtonDropDown || role == QAccessible::CheckBox ||
                            role == QAccessible::RadioButton;
        const bool pane = role == QAccessible::Client || role == QAccessible::Grouping ||
                          role == QAccessible::Pane;
        if (button || role == QAccessible::LayeredPane || (pane && a->state().focusable))
            found.push_back(describe(a) + " role " + std::to_string(role));
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The interfaces under `window` of `role` whose name `named` accepts.
std::vector<QAccessibleInterface*> heard(QWidget* window, QAccessible::Role role,
                                         const std::function<bool(const QString&)>& named) {
    std::vector<QAccessibleInterface*> found;
    walkAccessibleTree(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* a) {
        if (a->role() == role && a->state().invisible == false && named(a->text(QAccessible::Name)))
            found.push_back(a);
    });
    return found;
}

std::vector<QAccessibleInterface*> heard(QWidget* window, QAccessible::Role role,
                                         const QString& name) {
    return heard(window, role, [&](const QString& text) { return text == name; });
}

std::set<QString> descriptions(const std::vector<QAccessibleInterface*>& found) {
    std::set<QString> texts;
    for (QAccessibleInterface* a : found)
        texts.insert(a->text(QAccessible::Description));
    return texts;
}

// Every name a screen reader is told has changed while the name it then
// reads is the one it already had (it would repeat it). A bridge reads the
// name when the event reaches it, after the turn that sent it: so a name
// set twice in one turn, or set away and back, is heard twice or for
// nothing; and a control out of sight is not heard at all.
class NameAnnouncements {
  public:
    explicit NameAnnouncements(std::vector<QWidget*> windows) {
        for (QWidget* window : windows)
            walkAccessibleTree(QAccessible::queryAccessibleInterface(window),
                               [&](QAccessibleInterface* a) {
                                   if (a->object())
                                       remember(a->object(), a->text(QAccessible::Name));
                               });
        before_ = names_;
        current_ = this;
        previous_ = QAccessible::installUpdateHandler(&NameAnnouncements::heard);
    }
    ~NameAnnouncements() {
        QAccessible::installUpdateHandler(previous_);
        current_ = nullptr;
    }
    NameAnnouncements(const NameAnnouncements&) = delete;
    NameAnnouncements& operator=(const NameAnnouncements&) = delete;

    const std::vector<std::string>& repeated() const { return repeated_; }
    int count() const { return count_; }

    // Read once the turns have settled, as the bridge reads them: every
    // control announced more than once, announced with the name it had
    // before, or announced while it does not show; or only those that were
    // there before (a page made for another display is new throughout).
    std::vector<std::string> heardWrongly(bool onlyControlsBefore = false) const {
        std::vector<std::string> found;
        for (const auto& [object, times] : announced_) {
            if (onlyControlsBefore && !before_.count(object))
                continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(object);
            if (!a)
                continue;
            const std::string heard = describe(a);
            if (times > 1)
                found.push_back(heard + " announced " + std::to_string(times) + " times");
            const auto known = before_.find(object);
            if (known != before_.end() && known->second == a->text(QAccessible::Name))
                found.push_back(heard + " announced unchanged");
            // A window's notification is named before it shows to speak,
            // and hides once it has: it is no control to find.
            const auto* widget = qobject_cast<const QWidget*>(object);
            if (widget && !widget->isVisible() && a->role() != QAccessible::Notification)
                found.push_back(heard + " announced out of sight");
        }
        return found;
    }

  private:
    static void heard(QAccessibleEvent* event) {
        if (!current_ || event->type() != QAccessible::NameChanged)
            return;
        QAccessibleInterface* a = event->accessibleInterface();
        if (!a)
            return;
        ++current_->count_;
        ++current_->announced_[event->object()];
        const QString name = a->text(QAccessible::Name);
        auto known = current_->names_.find(event->object());
        if (known != current_->names_.end() && known->second == name)
            current_->repeated_.push_back(describe(a));
        current_->remember(event->object(), name);
    }
    // A widget deleted and another made at its address is another widget.
    void remember(QObject* object, const QString& name) {
        if (!names_.count(object))
            QObject::connect(object, &QObject::destroyed, &watcher_, [this, object] {
                names_.erase(object);
                before_.erase(object);
                announced_.erase(object);
            });
        names_[object] = name;
    }

    static inline NameAnnouncements* current_ = nullptr;
    QAccessible::UpdateHandler previous_ = nullptr;
    QObject watcher_;
    std::map<QObject*, QString> names_;
    std::map<QObject*, QString> before_;
    std::map<QObject*, int> announced_;
    std::vector<std::string> repeated_;
    int count_ = 0;
};

class WhatControlsSayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 2002)});
        world.start();
        bridge = std::make_unique<StoreBridge>(*world.store);
        context = std::make_unique<ViewContext>(ViewContext{*world.store, *bridge, shell, theme});
    }
    void open(QWidget* window) {
        window->show();
        settle();
    }
    void settle() {
        for (int turn = 0; turn < 4; ++turn) {
            QApplication::processEvents();
            world.scheduler->runUntilIdle();
        }
        // A page replaced goes as it would in the event loop, not at the
        // end of the test.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The panel in `host`, open, tall enough not to scroll.
    MenuPanel* openPanel(PanelHost& host) {
        auto* panel = new MenuPanel(*context, &host);
        host.layout()->addWidget(panel);
        host.resize(390, 650);
        open(&host);
        return panel;
    }
    std::unique_ptr<SettingsImportPreviewSheet> importSheet() {
        auto preferences = QuorvanePreferences::defaults();
        preferences.displayAdjustments[rawIdentity(externalDisplay(1, "Studio", 1001))].warmth =
            0.5;
        preferences.displayAdjustments["DUMMY1"].contrast = 1.2;
        return std::make_unique<SettingsImportPreviewSheet>(
            *context, QuorvaneSettingsImportDraft::of(preferences), nullptr);
    }

    LiveAccessibility live;
    StoreWorld world;
    Theme theme{false};
    ShellActions shell;
    std::unique_ptr<StoreBridge> bridge;
    std::unique_ptr<ViewContext> context;
};

// Only windows are windows on every page and sheet; every element is its
// parent's child at the index it tells, so a screen reader speaks whatever
// takes the focus; every button has a name, and no container is announced
// without one.
TEST_F(WhatControlsSayTest, OnlyWindowsAreWindowsOnEveryPageAndSheet) {
    world.store->setSceneHotKeysEnabled(true);
    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    for (const MainWindowSection section : kAllMainWindowSections) {
        main.state().selectSection(section);
        settle();
        SCOPED_TRACE(static_cast<int>(section));
        EXPECT_EQ(framesBelowTheWindow(&main), std::vector<std::string>{});
        EXPECT_EQ(decorationsInTheTree(&main), std::vector<std::string>{});
        EXPECT_EQ(namedPanes(&main), std::vector<std::string>{});
        EXPECT_EQ(buttonsHeardWrongly(&main), std::vector<std::string>{});
        EXPECT_EQ(outOfPlace(&main), std::vector<std::string>{});
        EXPECT_EQ(namelessButtonsAndPanes(&main), std::vector<std::string>{});
    }
    // A control that reads the way its own interface says (built while the
    // bridge is live) is still that control.
    main.state().selectSection(MainWindowSection::color);
    settle();
    std::vector<QAccessible::Role> compare;
    walkAccessibleTree(QAccessible::queryAccessibleInterface(&main), [&](QAccessibleInterface* a) {
        if (a->object() && a->object()->inherits("quorvane::HoldToCompareButton"))
            compare.push_back(a->role());
    });
    ASSERT_FALSE(compare.empty());
    EXPECT_EQ(compare, std::vector<QAccessible::Role>(compare.size(), QAccessible::Button));

    PanelHost panel;
    panel.layout()->addWidget(new MenuPanel(*context, &panel));
    panel.resize(390, 650);
    SettingsWindow settings(*context);
    settings.resize(700, 800);
    open(&settings);
    ASSERT_NE(settings.shortcutsCard()->bindingList(), nullptr);
    settings.shortcutsCard()->bindingList()->setExpanded(true);
    settings.supportCard()->basicReport()->button()->click();
    settle();
    ASSERT_NE(settings.diagnosticSheet(), nullptr);
    auto sheet = importSheet();
    open(sheet.get());
    open(&panel);
    for (QWidget* window : std::initializer_list<QWidget*>{
             &panel, &settings, settings.diagnosticSheet(), sheet.get()}) {
        SCOPED_TRACE(window->metaObject()->className());
        const QAccessible::Role role = QAccessible::queryAccessibleInterface(window)->role();
        EXPECT_TRUE(role == QAccessible::Window || role == QAccessible::Dialog) << role;
        EXPECT_EQ(framesBelowTheWindow(window), std::vector<std::string>{});
        EXPECT_EQ(decorationsInTheTree(window), std::vector<std::string>{});
        EXPECT_EQ(textsWithFormattingCharacters(window), std::vector<std::string>{});
        EXPECT_EQ(namedPanes(window), std::vector<std::string>{});
        EXPECT_EQ(buttonsHeardWrongly(window), std::vector<std::string>{});
        EXPECT_EQ(outOfPlace(window), std::vector<std::string>{});
        EXPECT_EQ(namelessButtonsAndPanes(window), std::vector<std::string>{});
    }
}

TEST_F(WhatControlsSayTest, EveryPickerIsNamedByItsTitle) {
    auto sheet = importSheet();
    open(sheet.get());
    for (const std::string& identity :
         {rawIdentity(externalDisplay(1, "Studio", 1001)), std::string("DUMMY1")}) {
        SCOPED_TRACE(identity);
        QComboBox* picker = sheet->targetPicker(identity);
        ASSERT_NE(picker, nullptr);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(picker);
        EXPECT_EQ(a->role(), QAccessible::ComboBox);
        EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("적용 대상"));
        // The display it maps, as the row's identity line shows it.
        EXPECT_EQ(a->text(QAccessible::Description),
                  QString::fromStdString(importTargetPickerDescription(identity)));
        EXPECT_TRUE(a->text(QAccessible::Description).contains(QString::fromStdString(identity)));
        EXPECT_EQ(a->text(QAccessible::Value), picker->currentText());
        EXPECT_TRUE(a->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
    }

    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    main.state().selectSection(MainWindowSection::groups);
    settle();
    const auto scope = heard(&main, QAccessible::ComboBox, QStringLiteral("밝기 동기화 범위"));
    ASSERT_EQ(scope.size(), 1u);
    EXPECT_EQ(scope.front()->text(QAccessible::Value), QStringLiteral("모든 디스플레이"));
    main.state().selectSection(MainWindowSection::color);
    settle();
    EXPECT_EQ(heard(&main, QAccessible::Grouping, QStringLiteral("출력 필터")).size(), 1u);

    SettingsWindow settings(*context);
    open(&settings);
    EXPECT_EQ(heard(&settings, QAccessible::Grouping, QStringLiteral("글자 크기")).size(), 1u);
    EXPECT_EQ(heard(&settings, QAccessible::Grouping, QStringLiteral("화면 모드")).size(), 1u);

    PanelHost host;
    auto* panel = new MenuPanel(*context, &host);
    host.layout()->addWidget(panel);
    open(&host);
    QAccessibleInterface* displays =
        QAccessible::queryAccessibleInterface(panel->header()->displayMenu());
    EXPECT_EQ(displays->role(), QAccessible::PopupMenu);
    EXPECT_EQ(displays->text(QAccessible::Name), QStringLiteral("다른 디스플레이 선택"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(panel->header()->optionsMenu())
                  ->text(QAccessible::Name),
              QStringLiteral("메뉴 옵션"));
}

// The words of a heading that names a picker are heard once: the picker is
// labelled by the heading (which says it labels the picker), and nothing
// else in the window says them on its own.
std::vector<std::string> wordsNotReadOnce(QWidget* window, const QString& words) {
    const auto pickers = heard(window, QAccessible::Grouping, words);
    if (pickers.size() != 1)
        return {"pickers named \"" + words.toStdString() + "\": " + std::to_string(pickers.size())};
    QAccessibleInterface* picker = pickers.front();
    std::vector<std::string> found;
    const auto labels = picker->relations(QAccessible::Label);
    if (labels.size() != 1 || labels.front().first->text(QAccessible::Name) != words)
        found.push_back(describe(picker) + " is not labelled by its heading");
    walkAccessibleTree(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* a) {
        if (a == picker || a->state().invisible || a->text(QAccessible::Name) != words)
            return;
        bool labelsPicker = false;
        for (const auto& [other, relation] : a->relations(QAccessible::Labelled))
            labelsPicker = labelsPicker || other == picker;
        if (!labelsPicker)
            found.push_back(describe(a) + " says it again");
    });
    return found;
}

TEST_F(WhatControlsSayTest, AHeadingThatNamesAPickerIsReadOnce) {
    auto sheet = importSheet();
    open(sheet.get());
    EXPECT_EQ(wordsNotReadOnce(sheet.get(), QStringLiteral("가져오기 방식")),
              std::vector<std::string>{});
    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    main.state().selectSection(MainWindowSection::color);
    settle();
    EXPECT_EQ(wordsNotReadOnce(&main, QStringLiteral("출력 필터")), std::vector<std::string>{});
    // The toolbar's "◐ 화면 모드": its symbol and words read as one label.
    EXPECT_EQ(wordsNotReadOnce(&main, QStringLiteral("화면 모드")), std::vector<std::string>{});
    // In settings, a block's title over the switcher's own "◐ 화면 모드", and
    // over the text size picker.
    SettingsWindow settings(*context);
    open(&settings);
    for (const QString& words : {QStringLiteral("화면 모드"), QStringLiteral("글자 크기")})
        EXPECT_EQ(wordsNotReadOnce(settings.appearanceCard(), words), std::vector<std::string>{});
}

TEST_F(WhatControlsSayTest, LikeButtonsAreToldApartAndAMenuButtonCanBePressed) {
    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    main.state().selectSection(MainWindowSection::presets);
    settle();
    // Each preset's row is a group named by its preset.
    EXPECT_EQ(heard(&main, QAccessible::Grouping, QStringLiteral("Neutral")).size(), 1u);
    const auto apply = heard(&main, QAccessible::Button, QStringLiteral("적용"));
    EXPECT_GE(apply.size(), 5u);
    const auto told = descriptions(apply);
    EXPECT_EQ(told.size(), apply.size());
    EXPECT_EQ(told.count(QString()), 0u);

    PanelHost host;
    openPanel(host);
    const auto showAll = heard(&host, QAccessible::Button, [](const QString& name) {
        return name.startsWith(QStringLiteral("전체 ")) && name.endsWith(QStringLiteral("개 보기"));
    });
    ASSERT_EQ(showAll.size(), 2u);
    EXPECT_EQ(descriptions(showAll).size(), 2u);
    EXPECT_EQ(descriptions(showAll).count(QString()), 0u);
    // The three preset tiles read as the three work-mode tiles do: the
    // name, then "기본" or "사용자" as the tile shows it.
    const auto tiles = heard(&host, QAccessible::Button, [](const QString& name) {
        return name.endsWith(QStringLiteral(", 기본")) || name.endsWith(QStringLiteral(", 사용자"));
    });
    EXPECT_EQ(tiles.size(), 6u);
    EXPECT_EQ(heard(&host, QAccessible::Button, QStringLiteral("Neutral, 기본")).size(), 1u);
    host.hide();

    main.state().selectSection(MainWindowSection::resolution);
    settle();
    const auto change = heard(&main, QAccessible::ButtonMenu, QStringLiteral("모드 변경…"));
    ASSERT_EQ(change.size(), 1u);
    QAccessibleActionInterface* actions = change.front()->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    // Pressed, its menu opens (and the user closes it again).
    auto* button = qobject_cast<QPushButton*>(change.front()->object());
    ASSERT_NE(button, nullptr);
    ASSERT_NE(button->menu(), nullptr);
    // The menu it opens is named as the button is.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(button->menu())->text(QAccessible::Name),
              QStringLiteral("모드 변경…"));
    bool opened = false;
    QObject::connect(button->menu(), &QMenu::aboutToShow, button->menu(), [&opened, button] {
        opened = true;
        QTimer::singleShot(0, button->menu(), &QMenu::close);
    });
    actions->doAction(QAccessibleActionInterface::pressAction());
    settle();
    EXPECT_TRUE(opened);
}

// A card read as one button (the recovery page's, the settings file,
// support and reset cards) holds that button alone, its title as its name
// and its explanation as its description; the button takes the focus from a
// screen reader as every other button does.
TEST_F(WhatControlsSayTest, EveryCardIsHeardAsItsButtonAlone) {
    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    SettingsWindow settings(*context);
    settings.resize(700, 800);
    open(&settings);
    main.state().selectSection(MainWindowSection::recovery);
    settle();
    int cards = 0;
    for (QWidget* window : std::initializer_list<QWidget*>{&main, &settings}) {
        window->activateWindow();
        settle();
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            QWidget* card = cardReadAsOneButton(button);
            if (!card || !button->isEnabled() || !card->isVisible())
                continue;
            ++cards;
            QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(card);
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(button);
            SCOPED_TRACE(describe(a));
            ASSERT_EQ(pane->childCount(), 1);
            EXPECT_EQ(pane->child(0), a);
            EXPECT_TRUE(pane->text(QAccessible::Name).isEmpty());
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty());
            EXPECT_FALSE(a->text(QAccessible::Description).isEmpty());
            ASSERT_TRUE(a->actionInterface()->actionNames().contains(
                QAccessibleActionInterface::setFocusAction()));
            a->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
            EXPECT_TRUE(button->hasFocus());
            EXPECT_EQ(focusedIn(window), std::vector<std::string>{describe(a)});
        }
    }
    EXPECT_GE(cards, 8);
}

// Each work mode's switch says which mode it binds (named by the mode shown
// in its row, which labels it) and its keys.
TEST_F(WhatControlsSayTest, EveryBindingSwitchSaysItsMode) {
    world.store->setSceneHotKeysEnabled(true);
    SettingsWindow settings(*context);
    settings.resize(700, 800);
    open(&settings);
    SettingsShortcutsCard* card = settings.shortcutsCard();
    ASSERT_NE(card->bindingList(), nullptr);
    card->bindingList()->setExpanded(true);
    settle();
    const auto model = ShortcutsCardModel::of(*world.store);
    const auto switches = card->bindingSwitches();
    ASSERT_EQ(switches.size(), model.bindings.size());
    ASSERT_GE(switches.size(), 2u);
    std::set<QString> names;
    for (std::size_t index = 0; index < switches.size(); ++index) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(switches[index]);
        const auto& row = model.bindings[index];
        SCOPED_TRACE(row.sceneName);
        EXPECT_EQ(a->role(), QAccessible::CheckBox);
        EXPECT_EQ(a->text(QAccessible::Name), spokenText(QString::fromStdString(row.sceneName)));
        EXPECT_EQ(a->text(QAccessible::Description),
                  spokenText(QString::fromStdString(row.combinationLabel)));
        const auto labels = a->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1u);
        EXPECT_EQ(spokenText(labels.front().first->text(QAccessible::Name)),
                  a->text(QAccessible::Name));
        names.insert(a->text(QAccessible::Name));
    }
    EXPECT_EQ(names.size(), switches.size());
}

// Parts Qt adds to a window are left out, named, or quiet about the focus
// they pass on to the control that holds it.
TEST_F(WhatControlsSayTest, QtsOwnPartsAreLeftOutNamedOrQuiet) {
    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    // The splitter's drag handle is for the mouse.
    std::vector<std::string> handles;
    walkAccessibleTree(QAccessible::queryAccessibleInterface(&main), [&](QAccessibleInterface* a) {
        if (a->object() && a->object()->inherits("QSplitterHandle"))
            handles.push_back(describe(a));
    });
    EXPECT_EQ(handles, std::vector<std::string>{});

    // A picker's open list, and the window it opens in, are named by it.
    main.state().selectSection(MainWindowSection::groups);
    settle();
    const auto scope = heard(&main, QAccessible::ComboBox, QStringLiteral("밝기 동기화 범위"));
    ASSERT_EQ(scope.size(), 1u);
    auto* picker = qobject_cast<QComboBox*>(scope.front()->object());
    picker->showPopup();
    settle();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(picker->view())->text(QAccessible::Name),
              QStringLiteral("밝기 동기화 범위"));
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(picker->view()->window())->text(QAccessible::Name),
        QStringLiteral("밝기 동기화 범위"));
    picker->hidePopup();
    settle();

    // The confirmation: an alert without its icon, one focused button.
    PanelHost host;
    auto* panel = openPanel(host);
    panel->recoveryCard()->recoverButton()->click();
    settle();
    QMessageBox* box = panel->confirmations()->dialog();
    ASSERT_NE(box, nullptr);
    box->activateWindow();
    panel->confirmations()->confirmButton()->setFocus();
    settle();
    QAccessibleInterface* alert = QAccessible::queryAccessibleInterface(box);
    EXPECT_EQ(alert->role(), QAccessible::AlertMessage);
    EXPECT_EQ(alert->text(QAccessible::Name), box->text());
    EXPECT_EQ(heard(box, QAccessible::Graphic, [](const QString&) { return true; }).size(), 0u);
    EXPECT_EQ(focusedIn(box),
              std::vector<std::string>{describe(
                  QAccessible::queryAccessibleInterface(panel->confirmations()->confirmButton()))});
    panel->confirmations()->cancelButton()->click();
    settle();

    // The report's text, not the viewport inside it.
    SettingsWindow settings(*context);
    open(&settings);
    settings.supportCard()->basicReport()->button()->click();
    settle();
    DiagnosticReportSheet* sheet = settings.diagnosticSheet();
    ASSERT_NE(sheet, nullptr);
    sheet->activateWindow();
    sheet->reportText()->setFocus();
    settle();
    EXPECT_EQ(focusedIn(sheet), std::vector<std::string>{describe(
                                    QAccessible::queryAccessibleInterface(sheet->reportText()))});
}

TEST_F(WhatControlsSayTest, AKeyPressAnnouncesOnlyNamesThatChanged) {
    MainWindow main(*context);
    main.resize(1000, 700);
    SettingsWindow settings(*context);
    settings.resize(700, 800);
    open(&main);
    open(&settings);
    PanelHost host;
    auto* panel = openPanel(host);
    QSlider* slider = panel->quickTuneCard()->contrastRow()->slider();
    slider->setFocus();
    settle();

    // The second step restarts the recovery prompt's countdown, whose words
    // stay as they were.
    for (int step = 0; step < 2; ++step) {
        NameAnnouncements announced({&main, &settings, &host});
        QTest::keyClick(slider, Qt::Key_Right);
        settle();
        EXPECT_EQ(announced.repeated(), std::vector<std::string>{}) << step;
        EXPECT_EQ(announced.heardWrongly(), std::vector<std::string>{}) << step;
        // Something did change: the slider's value at least.
        EXPECT_GT(announced.count(), 0);
    }
}

// Names holding invisible formatting characters (a zero-width joiner in an
// emoji, direction marks) are spoken without them: a view comparing the name
// it would set with the one spoken would always find them differing, and
// announce them again on every change of the store that redraws them.
TEST_F(WhatControlsSayTest, ANameWithFormattingCharactersIsNotAnnouncedAgain) {
    const std::string coder = "\U0001F9D1\u200D\U0001F4BB 코딩";
    const std::string marked = "\u200F저녁 \u2066메모\u2069";
    world.store->setDisplayAlias(coder + " \u200E모니터", 1);
    world.store->saveCustomPreset(marked, 1);
    world.store->saveCustomScene(coder);
    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    main.state().selectSection(MainWindowSection::presets);
    settle();
    PanelHost host;
    auto* panel = openPanel(host);
    const auto holdsOne = [&](const QString& name) {
        return name.contains(spokenText(QString::fromStdString(coder))) ||
               name.contains(spokenText(QString::fromStdString(marked)));
    };
    // Each is on screen and heard.
    for (QWidget* window : std::initializer_list<QWidget*>{&main, &host}) {
        int named = 0;
        walkAccessibleTree(
            QAccessible::queryAccessibleInterface(window),
            [&](QAccessibleInterface* a) { named += holdsOne(a->text(QAccessible::Name)); });
        EXPECT_GT(named, 0) << window->metaObject()->className();
    }

    // A step on a slider, a name given to the other display, and the other
    // display chosen (its row and this one's change, their names do not).
    QSlider* slider = panel->quickTuneCard()->contrastRow()->slider();
    const std::vector<std::function<void()>> changes{
        [slider] {
            slider->setFocus();
            QTest::keyClick(slider, Qt::Key_Right);
        },
        [this] { world.store->setDisplayAlias("옆 모니터", 2); },
        [this] { world.store->setSelectedDisplayID(2); }};
    for (const auto& change : changes) {
        NameAnnouncements heard({&main, &host});
        change();
        settle();
        EXPECT_GT(heard.count(), 0);
        EXPECT_EQ(heard.heardWrongly(true), std::vector<std::string>{});
    }
}

// The undo prompt is heard as it appears in the window the user works in,
// and again as a second change replaces it (it now undoes that one), in
// the panel and in the main window; not on the countdown's ticks, not from
// a window behind.
TEST_F(WhatControlsSayTest, TheUndoPromptIsHeardAsItAppearsAndForEachNewerChange) {
    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    PanelHost host;
    auto* panel = openPanel(host);
    const auto twoNudges = [&](QWidget* window, QSlider* slider) {
        window->activateWindow();
        settle();
        SpokenNotices notices;
        slider->setFocus();
        for (int step = 0; step < 2; ++step) {
            QTest::keyClick(slider, Qt::Key_Right);
            settle();
            world.scheduler->advance(std::chrono::seconds(2));
            settle();
        }
        return notices.said();
    };
    const std::vector<std::string> twice(2, "방금 변경을 되돌릴 수 있어요");
    EXPECT_EQ(twoNudges(&host, panel->quickTuneCard()->contrastRow()->slider()), twice);
    EXPECT_EQ(spokenNoticeOf(&main), nullptr);
    main.state().selectSection(MainWindowSection::color);
    settle();
    QSlider* mainSlider = nullptr;
    for (auto* slider : main.findChildren<QSlider*>())
        if (slider->isVisible() && !mainSlider)
            mainSlider = slider;
    ASSERT_NE(mainSlider, nullptr);
    EXPECT_EQ(twoNudges(&main, mainSlider), twice);
}

// The user's own action is answered with the status it gives, heard once
// from the window it was pressed in: a preset applied (with the undo prompt
// it brings, in one sentence), the effect paused, the report copied, a
// monitor's alias saved.
TEST_F(WhatControlsSayTest, TheResultOfTheUsersOwnActionIsHeardOnce) {
    world.store->saveCustomPreset("아침", 1);
    MainWindow main(*context);
    main.resize(1000, 700);
    main.state().setShowsAdvancedSections(true);
    open(&main);
    main.activateWindow();
    const auto pressOnPage = [&](MainWindowSection section, const QString& name,
                                 const QString& description = {}) {
        main.state().selectSection(section);
        settle();
        for (auto* button : main.findChildren<QAbstractButton*>())
            if (button->isVisible() && button->text() == name &&
                (description.isEmpty() || button->accessibleDescription() == description)) {
                button->setFocus(Qt::TabFocusReason);
                button->click();
                settle();
                return true;
            }
        return false;
    };
    const auto heardFrom = [](QWidget* window, const std::function<bool()>& action) {
        SpokenNotices notices;
        EXPECT_TRUE(action());
        EXPECT_NE(spokenNoticeOf(window), nullptr);
        return notices.said();
    };
    EXPECT_EQ(heardFrom(&main,
                        [&] {
                            return pressOnPage(MainWindowSection::presets, QStringLiteral("적용"),
                                               QStringLiteral("아침"));
                        }),
              std::vector<std::string>{"프리셋 적용됨: 아침. 방금 변경을 되돌릴 수 있어요"});
    EXPECT_EQ(heardFrom(&main,
                        [&] {
                            return pressOnPage(MainWindowSection::recovery,
                                               QStringLiteral("이 화면 효과 잠시 끄기"));
                        }),
              std::vector<std::string>{
                  "이 디스플레이의 Quorvane 효과를 잠시 껐습니다 — 저장값은 유지됩니다"});
    EXPECT_EQ(heardFrom(&main,
                        [&] {
                            main.state().selectSection(MainWindowSection::hardware);
                            settle();
                            auto* card = main.findChild<DisplayOverviewCard*>();
                            auto* field = card ? card->findChild<QLineEdit*>() : nullptr;
                            if (!field)
                                return false;
                            field->setFocus();
                            QTest::keyClicks(field, QStringLiteral("Desk"));
                            settle();
                            return pressOnPage(MainWindowSection::hardware, QStringLiteral("저장"));
                        }),
              std::vector<std::string>{"모니터 별칭 저장됨: Desk"});
    // A work mode's buttons, with the undo prompt each brings.
    for (const QString& button : {QStringLiteral("이 화면"), QStringLiteral("모든 화면")}) {
        const auto said =
            heardFrom(&main, [&] { return pressOnPage(MainWindowSection::scenes, button); });
        const std::string status = world.store->statusMessage();
        EXPECT_EQ(status.rfind("씬 적용됨: ", 0), 0u) << status;
        EXPECT_EQ(said, std::vector<std::string>{status + ". " +
                                                 world.store->recentChangeRecoveryPrompt()->title});
    }

    SettingsWindow settings(*context);
    open(&settings);
    settings.activateWindow();
    settings.supportCard()->basicReport()->button()->click();
    settle();
    DiagnosticReportSheet* sheet = settings.diagnosticSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(heardFrom(sheet,
                        [&] {
                            for (auto* button : sheet->findChildren<QPushButton*>())
                                if (button->text() == QStringLiteral("복사")) {
                                    button->click();
                                    settle();
                                    return true;
                                }
                            return false;
                        }),
              std::vector<std::string>{"진단 리포트 복사 완료"});
}

// The words a screen reader reads as a control's text: all of it.
QString textOf(QAccessibleInterface* a) {
    QAccessibleTextInterface* text = a->textInterface();
    return text ? text->text(0, text->characterCount()) : QStringLiteral("(no text)");
}

// A drop-down picker is heard with its choice: its text, which a screen
// reader reads with its title when the focus lands there, is the chosen
// name, selected as a whole; the new name is told once when an arrow key
// changes the choice of the closed picker; and a screen reader can move the
// focus to it.
TEST_F(WhatControlsSayTest, ADropDownPickerIsHeardWithItsChoice) {
    world.store->saveDisplayGroup("책상");
    auto sheet = importSheet();
    open(sheet.get());
    QComboBox* target = sheet->targetPicker("DUMMY1");
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(textOf(QAccessible::queryAccessibleInterface(target)), target->currentText());
    EXPECT_FALSE(target->currentText().isEmpty());

    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    int pickers = 0;
    for (const MainWindowSection section : kAllMainWindowSections) {
        main.state().selectSection(section);
        settle();
        for (QAccessibleInterface* each :
             heard(&main, QAccessible::ComboBox, [](const QString&) { return true; })) {
            ++pickers;
            EXPECT_EQ(textOf(each), qobject_cast<QComboBox*>(each->object())->currentText())
                << describe(each);
        }
    }
    EXPECT_GE(pickers, 1);

    main.state().selectSection(MainWindowSection::groups);
    settle();
    const auto scope = heard(&main, QAccessible::ComboBox, QStringLiteral("밝기 동기화 범위"));
    ASSERT_EQ(scope.size(), 1u);
    QAccessibleInterface* a = scope.front();
    auto* picker = qobject_cast<QComboBox*>(a->object());
    EXPECT_EQ(textOf(a), QStringLiteral("모든 디스플레이"));
    int start = -1;
    int end = -1;
    ASSERT_EQ(a->textInterface()->selectionCount(), 1);
    a->textInterface()->selection(0, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, a->textInterface()->characterCount());
    ASSERT_TRUE(
        a->actionInterface()->actionNames().contains(QAccessibleActionInterface::setFocusAction()));
    main.activateWindow();
    a->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    settle();
    ASSERT_TRUE(picker->hasFocus());

    ValueAnnouncements told;
    QTest::keyClick(picker, Qt::Key_Down);
    ASSERT_EQ(picker->currentText(), QStringLiteral("책상"));
    EXPECT_EQ(told.inserted(picker), std::vector<QString>{QStringLiteral("책상")});
    settle();
    EXPECT_EQ(told.inserted(picker), std::vector<QString>{QStringLiteral("책상")});
    EXPECT_EQ(textOf(a), picker->currentText());
    EXPECT_TRUE(picker->hasFocus());
    // A choice the page shows (set with the picker's signals blocked) is
    // told as well, once it is drawn.
    told.clear();
    world.store->setBrightnessSyncGroupID(std::nullopt);
    settle();
    ASSERT_EQ(picker->currentText(), QStringLiteral("모든 디스플레이"));
    EXPECT_EQ(told.inserted(picker), std::vector<QString>{QStringLiteral("모든 디스플레이")});
    EXPECT_EQ(textOf(a), picker->currentText());
}

// The choices of a segmented picker inside its group, the way a screen
// reader meets them.
std::vector<QAccessibleInterface*> choicesIn(QAccessibleInterface* group) {
    std::vector<QAccessibleInterface*> found;
    walkAccessibleTree(group, [&](QAccessibleInterface* a) {
        if (a->role() == QAccessible::RadioButton || a->role() == QAccessible::CheckBox)
            found.push_back(a);
    });
    return found;
}

// Every segmented picker is heard as one choice of several: radio buttons
// in a group named by the picker's title, the chosen one checked, the
// others not.
TEST_F(WhatControlsSayTest, ASegmentedPickerIsOneChoiceOfSeveral) {
    auto sheet = importSheet();
    open(sheet.get());
    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    main.state().selectSection(MainWindowSection::color);
    settle();
    SettingsWindow settings(*context);
    open(&settings);
    const std::vector<std::pair<QWidget*, QString>> pickers{
        {sheet.get(), QStringLiteral("가져오기 방식")},
        {&main, QStringLiteral("출력 필터")},
        {&main, QStringLiteral("화면 모드")},
        {&settings, QStringLiteral("글자 크기")},
        {&settings, QStringLiteral("화면 모드")}};
    for (const auto& [window, title] : pickers) {
        SCOPED_TRACE(title.toStdString());
        const auto groups = heard(window, QAccessible::Grouping, title);
        ASSERT_EQ(groups.size(), 1u);
        const auto choices = choicesIn(groups.front());
        ASSERT_GE(choices.size(), 2u);
        int checked = 0;
        for (QAccessibleInterface* choice : choices) {
            EXPECT_EQ(choice->role(), QAccessible::RadioButton) << describe(choice);
            EXPECT_FALSE(choice->text(QAccessible::Name).isEmpty());
            checked += choice->state().checked ? 1 : 0;
        }
        EXPECT_EQ(checked, 1);
    }
}

// Every selection-state change told to assistive technology, per object
// (AT-SPI's "selected" state-changed event), while it lives; made after any
// ValueAnnouncements and gone before it.
class SelectionAnnouncements {
  public:
    int of(const QObject* object) const {
        const auto found = counts_.find(object);
        return found == counts_.end() ? 0 : found->second;
    }

  private:
    std::map<const QObject*, int> counts_;
    // Passes each event on to the hook it replaced (one counting other
    // events).
    AccessibleEventHook hook_{
        [this](QAccessibleEvent* event) {
            const auto type = event->type();
            if (type == QAccessible::SelectionAdd || type == QAccessible::SelectionRemove)
                ++counts_[event->object()];
        },
        true};
};

// A sidebar row chosen with the keyboard says so once, in Korean: its
// selected state and its text "선택됨" (a screen reader reads no value of a
// button) change, and only the text is told, so that a screen reader on the
// row hears "선택됨" (told of the state after Space, Orca adds its own
// "selected"); the row it leaves is told of its state, without a word to
// say, as is a row chosen while the focus is elsewhere.
TEST_F(WhatControlsSayTest, ASidebarRowChosenIsHeardSelected) {
    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    main.activateWindow();
    SidebarRowButton* start = main.sidebar()->sectionRow(MainWindowSection::start);
    SidebarRowButton* color = main.sidebar()->sectionRow(MainWindowSection::color);
    ASSERT_TRUE(start->row().isSelected);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(color);
    EXPECT_EQ(textOf(a), QString());
    EXPECT_FALSE(a->state().selected);
    color->setFocus();
    settle();

    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        SCOPED_TRACE(key);
        SidebarRowButton* from = key == Qt::Key_Space ? start : color;
        SidebarRowButton* to = key == Qt::Key_Space ? color : start;
        to->setFocus();
        settle();
        ValueAnnouncements told;
        SelectionAnnouncements selected;
        QTest::keyClick(to, key);
        settle();
        ASSERT_TRUE(to->row().isSelected);
        ASSERT_FALSE(from->row().isSelected);
        QAccessibleInterface* row = QAccessible::queryAccessibleInterface(to);
        EXPECT_TRUE(row->state().selected);
        EXPECT_EQ(row->text(QAccessible::Value), QStringLiteral("선택됨"));
        EXPECT_EQ(textOf(row), QStringLiteral("선택됨"));
        EXPECT_EQ(told.inserted(to), std::vector<QString>{QStringLiteral("선택됨")});
        // Heard once, by its words: no selected-state change besides.
        EXPECT_EQ(selected.of(to), 0);
        EXPECT_EQ(told.inserted(from), std::vector<QString>{});
        EXPECT_EQ(selected.of(from), 1);
        EXPECT_EQ(textOf(QAccessible::queryAccessibleInterface(from)), QString());
        EXPECT_TRUE(to->hasFocus());
    }
    // Chosen from elsewhere (a step card), a row without the focus still
    // tells its selected state.
    ValueAnnouncements told;
    SelectionAnnouncements selected;
    main.state().selectSection(MainWindowSection::color);
    settle();
    ASSERT_TRUE(color->row().isSelected);
    EXPECT_EQ(selected.of(color), 1);
    EXPECT_EQ(selected.of(start), 1);
}

// Each text size in the panel's options menu is heard with its help text as
// its description. Described or not, a menu item reads as Qt reads one, in
// its place in its menu, also when a screen reader asked for it before it
// was given its help.
TEST_F(WhatControlsSayTest, AMenuItemCarriesItsHelp) {
    PanelHost host;
    auto* panel = openPanel(host);
    QAccessibleInterface* menu =
        QAccessible::queryAccessibleInterface(panel->header()->optionsMenu());
    std::map<QString, QString> help;
    for (int index = 0; index < menu->childCount(); ++index) {
        QAccessibleInterface* item = menu->child(index);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->parent(), menu);
        EXPECT_EQ(menu->indexOfChild(item), index);
        if (item->role() == QAccessible::MenuItem && item->state().checkable)
            help[item->text(QAccessible::Name)] = item->text(QAccessible::Description);
    }
    EXPECT_EQ(
        help,
        (std::map<QString, QString>{
            {QStringLiteral("기본"), QStringLiteral("시스템 기본 크기에 가깝게 표시합니다.")},
            {QStringLiteral("크게"), QStringLiteral("초보자에게 추천하는 조금 큰 글자입니다.")},
            {QStringLiteral("더 크게"),
             QStringLiteral("메뉴바와 설정 화면을 더 읽기 쉽게 키웁니다.")},
            {QStringLiteral("아주 크게"),
             QStringLiteral("버튼과 창도 함께 키우고 긴 문구는 줄바꿈해 가장 크게 "
                            "보여줍니다.")}}));

    QMenu plain;
    QAction* bare = plain.addAction(QStringLiteral("&기본"));
    QAction* described = plain.addAction(QStringLiteral("&기본"));
    for (QAction* item : {bare, described}) {
        item->setCheckable(true);
        item->setChecked(true);
    }
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&plain);
    ASSERT_NE(list->child(1), nullptr);
    setMenuItemHelp(described, QStringLiteral("도움말"));
    plain.popup(QPoint(0, 0));
    plain.setActiveAction(described);
    settle();
    QAccessibleInterface* qt = list->child(0);
    QAccessibleInterface* ours = list->child(1);
    EXPECT_EQ(ours->text(QAccessible::Description), QStringLiteral("도움말"));
    EXPECT_EQ(qt->text(QAccessible::Description), QString());
    EXPECT_EQ(ours->role(), qt->role());
    EXPECT_EQ(ours->text(QAccessible::Name), qt->text(QAccessible::Name));
    EXPECT_EQ(ours->parent(), list);
    EXPECT_EQ(list->indexOfChild(ours), 1);
    EXPECT_EQ(ours->rect().size(), qt->rect().size());
    EXPECT_EQ(ours->rect().topLeft(), plain.mapToGlobal(plain.actionGeometry(described).topLeft()));
    const QAccessible::State mine = ours->state();
    const QAccessible::State theirs = qt->state();
    EXPECT_EQ(mine.checkable, theirs.checkable);
    EXPECT_EQ(mine.checked, theirs.checked);
    EXPECT_EQ(mine.disabled, theirs.disabled);
    EXPECT_EQ(mine.invisible, theirs.invisible);
    EXPECT_EQ(mine.hotTracked, theirs.hotTracked);
    EXPECT_TRUE(mine.focused);
    EXPECT_EQ(ours->actionInterface()->actionNames(), qt->actionInterface()->actionNames());
    int triggered = 0;
    QObject::connect(described, &QAction::triggered, &plain, [&triggered] { ++triggered; });
    ours->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(triggered, 1);
    plain.close();
}

// A card stays one button to a screen reader when the bridge asked for it
// (and for its button) before it was marked, as for a card a page fills in
// after building it: the pane Qt made then is not the one read.
TEST_F(WhatControlsSayTest, ACardAskedForBeforeItIsMarkedIsStillOneButton) {
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    auto* card = new QWidget;
    column->addWidget(card);
    auto* inside = new QVBoxLayout(card);
    auto* button = new QPushButton(QStringLiteral("확인"));
    inside->addWidget(button);
    inside->addWidget(new QLabel(QStringLiteral("자세한 설명")));
    open(&window);
    ASSERT_EQ(QAccessible::queryAccessibleInterface(card)->childCount(), 2);
    ASSERT_NE(QAccessible::queryAccessibleInterface(button), nullptr);

    readAsOneButton(card, button, QStringLiteral("제목"), QStringLiteral("자세한 설명"));
    settle();
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(card);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(button);
    ASSERT_EQ(pane->childCount(), 1);
    EXPECT_EQ(pane->child(0), a);
    EXPECT_EQ(a->parent(), pane);
    EXPECT_TRUE(pane->text(QAccessible::Name).isEmpty());
    EXPECT_EQ(a->role(), QAccessible::Button);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("제목"));
    EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("자세한 설명"));
    EXPECT_EQ(outOfPlace(&window), std::vector<std::string>{});
}

// A preset or scene tile of the panel says its result, as the main window's
// 적용 does: the status the panel shows, with the undo prompt it brings, in
// one sentence from the panel.
TEST_F(WhatControlsSayTest, APanelTileSaysItsResult) {
    world.store->saveCustomPreset("아침", 1);
    world.store->saveCustomScene("Work");
    PanelHost host;
    auto* panel = openPanel(host);
    host.activateWindow();
    settle();
    const std::tuple<PanelTileSectionView*, std::string, std::string> sections[] = {
        {panel->presetGrid(), "프리셋 적용됨: ", "방금 변경을 되돌릴 수 있어요"},
        {panel->sceneStrip(), "씬 적용됨: ", "여러 화면 변경을 되돌릴 수 있어요"}};
    for (const auto& [section, result, prompt] : sections) {
        SCOPED_TRACE(result);
        ASSERT_FALSE(section->tiles().empty());
        QAbstractButton* tile = section->tiles().front();
        tile->setFocus(Qt::TabFocusReason);
        SpokenNotices notices;
        QTest::keyClick(tile, Qt::Key_Space);
        settle();
        const std::string status = world.store->statusMessage();
        EXPECT_EQ(status.rfind(result, 0), 0u) << status;
        EXPECT_EQ(notices.said(), std::vector<std::string>{status + ". " + prompt});
        // The prompt goes before the next tile.
        world.scheduler->advance(std::chrono::seconds(9));
        settle();
    }
}

// The objects assistive technology is told took the focus while it lives,
// and those of them gone since: the bridge tells each new focus with the
// loss of the one before, and a screen reader that finds that one gone
// hears the new focus with its whole window named before it.
class ToldFocusObjects {
  public:
    std::vector<std::string> gone() const {
        std::vector<std::string> names;
        for (const auto& [id, name] : told_)
            if (!QAccessible::accessibleInterface(id))
                names.push_back(name);
        return names;
    }

  private:
    std::vector<std::pair<QAccessible::Id, std::string>> told_;
    AccessibleEventHook hook_{[this](QAccessibleEvent* event) {
                                  QAccessibleInterface* told = event->accessibleInterface();
                                  if (event->type() == QAccessible::Focus && told)
                                      told_.emplace_back(
                                          QAccessible::uniqueId(told),
                                          told->text(QAccessible::Name).toStdString());
                              },
                              true};
};

// A text size chosen from the panel's menu says its result as a tile does:
// the status the panel shows, once, whether or not the size changed. The
// item chosen, which held the focus, is still there as the menu closes.
TEST_F(WhatControlsSayTest, ATextSizeChosenFromThePanelsMenuSaysItsResult) {
    // The theme takes the store's text size before the views redraw, as
    // the application's does.
    QObject::connect(bridge.get(), &StoreBridge::storeChanged, bridge.get(),
                     [this] { theme.setTextSize(world.store->textSize()); });
    PanelHost host;
    auto* panel = openPanel(host);
    host.activateWindow();
    settle();
    QMenu* menu = panel->header()->optionsMenu();
    for (int twice = 0; twice < 2; ++twice) {
        menu->popup(host.mapToGlobal(QPoint(0, 0)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        SpokenNotices notices;
        ToldFocusObjects focus;
        menu->setActiveAction(menu->actions().last());
        QTest::keyClick(menu, Qt::Key_Return);
        settle();
        EXPECT_EQ(world.store->textSize(), QuorvaneTextSize::veryLarge);
        EXPECT_EQ(notices.said(), std::vector<std::string>{"글자 크기: 아주 크게"});
        EXPECT_EQ(focus.gone(), std::vector<std::string>{});
    }
}

// A notice is there only while it is said: the screen reader answering its
// show reads its words, but a review of the window afterwards finds none of
// them, neither while the prompt it announced stands nor once it is gone.
TEST_F(WhatControlsSayTest, ANoticeShowsOnlyWhileItIsSaid) {
    PanelHost host;
    auto* panel = openPanel(host);
    host.activateWindow();
    settle();
    SpokenNotices notices;
    QSlider* slider = panel->quickTuneCard()->contrastRow()->slider();
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    settle();
    ASSERT_EQ(notices.said(), std::vector<std::string>{"방금 변경을 되돌릴 수 있어요"});
    const auto reviewed = [&] {
        std::vector<std::string> notifications;
        walkAccessibleTree(
            QAccessible::queryAccessibleInterface(&host), [&](QAccessibleInterface* a) {
                if (a->role() == QAccessible::Notification && !a->state().invisible)
                    notifications.push_back(a->text(QAccessible::Name).toStdString());
            });
        return notifications;
    };
    QWidget* notice = spokenNoticeOf(&host);
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(notice)->state().invisible);
    EXPECT_EQ(reviewed(), std::vector<std::string>{});
    world.scheduler->advance(std::chrono::seconds(9));
    settle();
    EXPECT_EQ(reviewed(), std::vector<std::string>{});
}

// The emergency key, pressed from anywhere, says its result in the window
// the user is in; with none of the program's windows active, nothing. A
// notice is said only if its window is still the active one when it
// speaks: one whose window stopped being active in the same turn says
// nothing, there or anywhere.
TEST_F(WhatControlsSayTest, TheEmergencyKeySaysItsResultWhereTheUserIs) {
    SpokenHotKeyResults voice(*world.store);
    MainWindow main(*context);
    main.resize(1000, 700);
    open(&main);
    PanelHost host;
    openPanel(host);
    const auto press = [&](QWidget* active, QWidget* activeByTheTurnsEnd) {
        QApplication::setActiveWindow(active);
        settle();
        SpokenNotices notices;
        world.registrar->deliver(std::string(GlobalHotKeyBinding::kEmergencyRecoveryID));
        world.scheduler->runUntilIdle();
        QApplication::setActiveWindow(activeByTheTurnsEnd);
        settle();
        return notices.said();
    };
    const std::string result = "비상 복구 완료: 화면 색감 2개, 밝기 조절 경로 없음";
    EXPECT_EQ(press(&main, &main), std::vector<std::string>{result});
    EXPECT_EQ(world.store->statusMessage(), result);
    EXPECT_EQ(press(&host, &host), std::vector<std::string>{result});
    EXPECT_EQ(press(nullptr, nullptr), std::vector<std::string>{});
    EXPECT_EQ(press(&main, &host), std::vector<std::string>{});
}

// A result goes with the control the focus lands on as the first label a
// screen reader finds for it, before the control's own name and whatever
// reads descriptions; it follows the focus until a screen reader has asked
// for it, stays while the window has lost the focus, and only then, with
// the focus moving on, is over. Only the newest in a window; gone as its
// control hides. A held result whose window's focus lands on no control of
// its own is said in a notice.
TEST_F(WhatControlsSayTest, AResultGoesWithTheFocusUntilAScreenReaderHasReadIt) {
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    auto* first = new QPushButton(QStringLiteral("내보내기"), &host);
    auto* second = new QPushButton(QStringLiteral("가져오기"), &host);
    layout->addWidget(first);
    layout->addWidget(second);
    first->setAccessibleDescription(QStringLiteral("파일로 저장합니다"));
    open(&host);
    QApplication::setActiveWindow(&host);
    first->setFocus();
    settle();
    const auto moveTo = [&](QWidget* control) {
        control->setFocus(Qt::TabFocusReason);
        settle();
    };
    carryWithFocus(first, QStringLiteral("하나"));
    const auto labels = QAccessible::queryAccessibleInterface(first)->relations(QAccessible::Label);
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.front().first->role(), QAccessible::StaticText);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(first)->text(QAccessible::Description),
              QStringLiteral("파일로 저장합니다"));
    // Not read yet: Tab takes it along.
    moveTo(second);
    EXPECT_EQ(heardFirstLabel(first), "");
    EXPECT_EQ(carriedResult(second), QStringLiteral("하나"));
    // The window loses the focus: it stays for the focus coming back.
    QWidget elsewhere;
    open(&elsewhere);
    QApplication::setActiveWindow(&elsewhere);
    settle();
    QApplication::setActiveWindow(&host);
    settle();
    EXPECT_EQ(carriedResult(second), QStringLiteral("하나"));
    // Read, then Tab: over, and the control reads as before.
    EXPECT_EQ(heardFirstLabel(second), "하나. 가져오기");
    moveTo(first);
    EXPECT_TRUE(carriedResult(first).isEmpty());
    EXPECT_TRUE(carriedResult(second).isEmpty());
    EXPECT_EQ(heardFirstLabel(second), "");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(second)->text(QAccessible::Name),
              QStringLiteral("가져오기"));

    carryWithFocus(first, QStringLiteral("하나"));
    first->hide();
    EXPECT_EQ(heardFirstLabel(first), "");
    first->show();
    carryWithFocus(first, QStringLiteral("하나"));
    carryWithFocus(second, QStringLiteral("둘."));
    EXPECT_EQ(heardFirstLabel(first), "");
    EXPECT_EQ(heardFirstLabel(second), "둘. 가져오기");

    QWidget bare;
    open(&bare);
    QApplication::setActiveWindow(&host);
    SpokenNotices notices;
    speakWhenBackIn(&bare, QStringLiteral("설정 파일을 읽을 수 없습니다."));
    QApplication::setActiveWindow(&bare);
    settle();
    EXPECT_EQ(notices.said(), std::vector<std::string>{"설정 파일을 읽을 수 없습니다."});
    ASSERT_NE(spokenNoticeOf(&bare), nullptr);
}

// A result in a dialog (the report sheet's 복사) is said by a notification
// outside the dialog, so a screen reader reads it alone, not after the
// dialog's title and description as context.
TEST_F(WhatControlsSayTest, AResultInADialogIsSaidOutsideTheDialog) {
    SettingsWindow settings(*context);
    open(&settings);
    settings.activateWindow();
    settings.supportCard()->basicReport()->button()->click();
    settle();
    DiagnosticReportSheet* sheet = settings.diagnosticSheet();
    ASSERT_NE(sheet, nullptr);
    sheet->activateWindow();
    settle();
    ASSERT_TRUE(sheet->isActiveWindow());
    SpokenNotices notices;
    for (auto* button : sheet->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("복사"))
            button->click();
    settle();
    EXPECT_EQ(notices.said(), std::vector<std::string>{"진단 리포트 복사 완료"});
    QWidget* notice = spokenNoticeOf(sheet);
    ASSERT_NE(notice, nullptr);
    std::vector<QAccessible::Role> around;
    for (QAccessibleInterface* up = QAccessible::queryAccessibleInterface(notice)->parent(); up;
         up = up->parent())
        around.push_back(up->role());
    ASSERT_FALSE(around.empty());
    EXPECT_EQ(std::count(around.begin(), around.end(), QAccessible::Dialog), 0);
}

}  // namespace
}  // namespace quorvane::testing
