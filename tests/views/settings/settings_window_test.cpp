#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <optional>
#include <set>

#include "display_store/store_world.hpp"
#include "presentation/settings/settings_file_actions.hpp"
#include "support/temporary_folder.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/controls/recovery_journal_view.hpp"
#include "views/controls/settings_segmented_picker.hpp"
#include "views/design/appearance_switcher.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/design/window_theme_follower.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/import_sheet/settings_import_preview_sheet.hpp"
#include "views/settings/diagnostic_report_sheet.hpp"
#include "views/settings/settings_action_card.hpp"
#include "views/settings/settings_appearance_card.hpp"
#include "views/settings/settings_behavior_card.hpp"
#include "views/settings/settings_card_columns.hpp"
#include "views/settings/settings_disclosure_section.hpp"
#include "views/settings/settings_files_card.hpp"
#include "views/settings/settings_recovery_card.hpp"
#include "views/settings/settings_shortcuts_card.hpp"
#include "views/settings/settings_status_strip_view.hpp"
#include "views/settings/settings_support_card.hpp"
#include "views/settings/settings_toggle_row_view.hpp"
#include "views/settings/settings_window.hpp"
#include "views/store_bridge.hpp"
#include "views/support/accessible_tree.hpp"
#include "views/support/check_box_contrast.hpp"
#include "views/support/heard_focus.hpp"
#include "views/support/ink_contrast.hpp"
#include "views/support/layout_points_of.hpp"
#include "views/support/same_pixels.hpp"
#include "views/support/spoken_notices.hpp"
#include "views/support/themed_window.hpp"
#include "views/support/wheel_input.hpp"

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

class SettingsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto preferences = QuorvanePreferences::defaults();
        preferences.textSize = QuorvaneTextSize::standard;
        preferences.displayAdjustments[rawIdentity(externalDisplay(1, "Studio", 1001))].warmth =
            0.4;
        world.storePreferences(preferences);
        world.start();
        theme.setTextSize(store().textSize());
        theme.setAppearance(QuorvaneAppearance::light);
        shell.openMainWindow = [this] { ++mainWindowOpened; };
        bridge = std::make_unique<StoreBridge>(store());
        context = std::make_unique<ViewContext>(ViewContext{store(), *bridge, shell, theme});
        window = std::make_unique<SettingsWindow>(*context);
        window->resize(700, 800);
        window->show();
        settle();
    }
    void TearDown() override {
        window.reset();
        settle();
    }

    DisplayStore& store() { return *world.store; }
    void settle() {
        for (int turn = 0; turn < 5; ++turn) {
            QCoreApplication::processEvents();
            world.scheduler->runUntilIdle();
        }
    }
    // The file dialog a click opened over `over`, answered with `file`.
    void choose(QWidget* over, const fs::path& file) {
        settle();
        auto* dialog = over->findChild<QFileDialog*>();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->isVisible());
        // Typed into the name field, as a user would.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QString::fromStdString(file.string()));
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own checks run
        settle();
    }
    void cancelDialog(QWidget* over) {
        settle();
        auto* dialog = over->findChild<QFileDialog*>();
        ASSERT_NE(dialog, nullptr);
        dialog->reject();
        settle();
    }
    void click(QAbstractButton* button) {
        button->click();
        settle();
    }
    // What reads as focused in `dialog` besides `focused` and its own items,
    // in the controls that show: a screen reader asking where the focus is
    // would find those too.
    static std::vector<std::string> alsoReadAsFocused(QFileDialog* dialog, QWidget* focused) {
        std::vector<std::string> found;
        walkAccessibleTree(
            QAccessible::queryAccessibleInterface(dialog), [&](QAccessibleInterface* read) {
                if (!read->state().focused)
                    return;
                QAccessibleInterface* owner = read;
                while (owner && !(owner->object() && owner->object()->isWidgetType()))
                    owner = owner->parent();
                auto* widget = owner ? static_cast<QWidget*>(owner->object()) : nullptr;
                if (widget && widget != focused && widget->window() == dialog &&
                    widget->isVisible())
                    found.push_back(describe(read));
            });
        return found;
    }
    // One round of Tab, or of Shift+Tab, from the file name of the file
    // dialog open over `over`, in both views of the folder: every control
    // the dialog shows is reached once, each read by a screen reader with a
    // role and a name and as the one focus, before the file name comes back,
    // in the order of the rows the user reads: after the file name its
    // button, the other and the type of file, then from the top the folder,
    // its moves, the two views, the places and the files. Shift+Tab meets
    // them the other way round.
    void expectTabRoundsReachEveryControl(QWidget* over) {
        settle();
        auto* dialog = over->findChild<QFileDialog*>();
        ASSERT_NE(dialog, nullptr);
        // The folder is the sidebar's one place, picked there as a user
        // would, so the sidebar holds it as its current item.
        const QString place = QString::fromStdString(folder.path().string());
        auto* sidebar = dialog->findChild<QAbstractItemView*>(QStringLiteral("sidebar"));
        ASSERT_NE(sidebar, nullptr);
        const QList<QUrl> places = dialog->sidebarUrls();
        dialog->setSidebarUrls({QUrl::fromLocalFile(place)});
        sidebar->setCurrentIndex(sidebar->model()->index(0, 0));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        QWidget* accept = buttons->button(QDialogButtonBox::Open)
                              ? buttons->button(QDialogButtonBox::Open)
                              : buttons->button(QDialogButtonBox::Save);
        const auto child = [dialog](const char* objectName) {
            return dialog->findChild<QWidget*>(QString::fromLatin1(objectName));
        };
        for (const auto view : {QFileDialog::List, QFileDialog::Detail}) {
            dialog->setViewMode(view);
            settle();
            for (const bool backwards : {false, true}) {
                // As the round starts: passing the folder's list picks a
                // file, which enables the dialog's own button.
                std::set<QWidget*> shown;
                for (QWidget* widget : dialog->findChildren<QWidget*>())
                    if (widget->window() == dialog && widget->isVisible() && widget->isEnabled() &&
                        (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
                        shown.insert(widget);
                name->setFocus(Qt::OtherFocusReason);
                std::vector<QWidget*> reached;
                std::vector<std::string> met;
                std::string heard;
                while (reached.size() <= shown.size()) {
                    QTest::keyClick(QApplication::focusWidget(),
                                    backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                                    backwards ? Qt::ShiftModifier : Qt::NoModifier);
                    QWidget* focused = QApplication::focusWidget();
                    reached.push_back(focused);
                    heard += heardName(focused) + "; ";
                    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(focused);
                    if (focused != name)
                        met.push_back(read ? read->text(QAccessible::Name).toStdString() : "");
                    EXPECT_TRUE(read && read->role() != QAccessible::NoRole &&
                                read->role() != QAccessible::Client &&
                                !read->text(QAccessible::Name).isEmpty())
                        << heardName(focused);
                    const auto others = alsoReadAsFocused(dialog, focused);
                    EXPECT_TRUE(others.empty()) << heardName(focused) << " and " << others.front();
                    if (focused == name)
                        break;
                }
                EXPECT_EQ(reached.back(), name) << heard;
                // The rows as read: the folder, its moves and the two views,
                // the places and the files, the file name with its button,
                // the type of file with the other.
                std::vector<std::string> rows;
                for (QWidget* control :
                     {child("lookInCombo"), child("backButton"), child("forwardButton"),
                      child("toParentButton"), child("newFolderButton"), child("listModeButton"),
                      child("detailModeButton"), child("sidebar"),
                      child(view == QFileDialog::List ? "listView" : "treeView"),
                      static_cast<QWidget*>(name), accept,
                      static_cast<QWidget*>(buttons->button(QDialogButtonBox::Cancel)),
                      child("fileTypeCombo")})
                    if (shown.count(control))
                        rows.push_back(heardText(control));
                // Qt's chain from the dialog itself, where Tab starts while
                // no control has the focus, is in that order.
                std::vector<std::string> chained;
                for (QWidget* link = dialog->nextInFocusChain(); link != dialog;
                     link = link->nextInFocusChain())
                    if (shown.count(link))
                        chained.push_back(heardText(link));
                EXPECT_EQ(chained, rows);
                // From the file name round to it again.
                const auto at = std::find(rows.begin(), rows.end(), heardText(name));
                std::vector<std::string> expected(at + 1, rows.end());
                expected.insert(expected.end(), rows.begin(), at);
                if (backwards)
                    std::reverse(expected.begin(), expected.end());
                EXPECT_EQ(met, expected) << heard;
                EXPECT_EQ(reached.size(), shown.size()) << heard;
                EXPECT_EQ(std::set<QWidget*>(reached.begin(), reached.end()), shown) << heard;
                // Passing the sidebar goes to none of its places.
                EXPECT_EQ(dialog->directory().absolutePath().toStdString(), folder.path().string());
            }
        }
        // Qt keeps the places for every later dialog of the user.
        dialog->setSidebarUrls(places);
    }

    StoreWorld world;
    Theme theme{false};
    WindowThemeFollower follower{theme};
    ShellActions shell;
    int mainWindowOpened = 0;
    std::unique_ptr<StoreBridge> bridge;
    std::unique_ptr<ViewContext> context;
    std::unique_ptr<SettingsWindow> window;
    TemporaryFolder folder;
};

TEST_F(SettingsWindowTest, ExportThenImportThroughTheDialogsRestoresThePreferences) {
    const auto exported = store().preferences();
    click(window->filesCard()->exportAction()->button());
    auto* saveDialog = window->findChild<QFileDialog*>();
    ASSERT_NE(saveDialog, nullptr);
    EXPECT_EQ(saveDialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(saveDialog->defaultSuffix(), QStringLiteral("json"));
    choose(window.get(), folder / "backup");  // the suffix is added
    EXPECT_TRUE(fs::exists(folder / "backup.json"));
    EXPECT_EQ(store().statusMessage(), "설정 내보내기 완료");

    store().setTextSize(QuorvaneTextSize::veryLarge);
    store().setAppearance(QuorvaneAppearance::dark);
    click(window->filesCard()->importAction()->button());
    choose(window.get(), folder / "backup.json");
    auto* sheet = window->importSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(store().statusMessage(), "설정 파일을 확인했습니다 — 적용 전 미리보기를 확인하세요");
    EXPECT_EQ(store().textSize(), QuorvaneTextSize::veryLarge);

    click(sheet->importButton());
    EXPECT_FALSE(window->state().settingsImportDraft.has_value());
    EXPECT_EQ(window->importSheet(), nullptr);
    EXPECT_EQ(store().textSize(), QuorvaneTextSize::standard);
    EXPECT_EQ(store().appearance(), QuorvaneAppearance::system);
    EXPECT_EQ(store().preferences().displayAdjustments, exported.displayAdjustments);
}

TEST_F(SettingsWindowTest, AWheelOverItsPickersAndTogglesOnlyScrollsTheWindow) {
    window->resize(700, 420);
    settle();
    QList<QWidget*> controls;
    auto* sizes = window->appearanceCard()->textSizePicker();
    for (int index = 0; index < 4; ++index)
        controls.push_back(sizes->segment(index));
    controls.push_back(window->appearanceCard()->appearanceSwitcher());
    for (auto* row : window->findChildren<SettingsToggleRowView*>())
        controls.push_back(row->toggle());
    const QuorvanePreferences before = store().preferences();
    for (QWidget* control : controls) {
        EXPECT_TRUE(wheelScrollsPast(control, [this] { settle(); }))
            << control->metaObject()->className();
    }
    EXPECT_EQ(store().preferences(), before);
}

TEST_F(SettingsWindowTest, CancelledDialogsLeaveTheStatusAlone) {
    store().setStatusMessage("이전 상태");
    click(window->filesCard()->exportAction()->button());
    cancelDialog(window.get());
    click(window->filesCard()->importAction()->button());
    cancelDialog(window.get());
    EXPECT_EQ(store().statusMessage(), "이전 상태");
    EXPECT_TRUE(folder.entries().empty());
    EXPECT_EQ(window->importSheet(), nullptr);
}

// Qt's own file list opens a file whose name does not tell its type to read
// its first bytes, on the thread that runs the windows: in /proc, kmsg never
// answers and the program hung for good. Over a folder of such files each
// dialog lists every file with its type and opens none: what the folder's
// watch sees opened is the folder itself, listed.
TEST_F(SettingsWindowTest, TheFileDialogsTellEachFilesTypeByItsNameAndOpenNoFile) {
    for (auto* action :
         {window->filesCard()->exportAction(), window->filesCard()->importAction()}) {
        // A folder no dialog has listed yet.
        const fs::path files = folder / action->button()->text().toStdString();
        fs::create_directory(files);
        for (const char* name : {"kmsg", "report", "backup.json"})
            std::ofstream(files / name) << "%PDF-1.4\n";
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, files.c_str(), IN_OPEN | IN_ACCESS), 0);
        click(action->button());
        auto* dialog = window->findChild<QFileDialog*>();
        ASSERT_NE(dialog, nullptr);
        auto* model = dialog->findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr);
        // Listed by Qt's own thread, every file typed as it comes, shown or
        // not: waited for, bounded.
        const QString listed = QString::fromStdString(files.string());
        bool loaded = false;
        const auto connection = QObject::connect(
            model, &QFileSystemModel::directoryLoaded,
            [&loaded, listed](const QString& path) { loaded = loaded || path == listed; });
        dialog->setDirectory(listed);
        for (int turn = 0; turn < 1000 && !loaded; ++turn) {
            settle();
            QTest::qWait(10);
        }
        QObject::disconnect(connection);
        ASSERT_TRUE(loaded);
        settle();
        const QModelIndex backup =
            model->index(QString::fromStdString((files / "backup.json").string()));
        EXPECT_FALSE(model->type(backup).isEmpty());
        std::vector<std::string> opened;
        alignas(inotify_event) char events[4096];
        for (ssize_t length; (length = ::read(watch, events, sizeof events)) > 0;) {
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                if (!(event->mask & IN_ISDIR))
                    opened.emplace_back(event->len > 0 ? event->name : "?");
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        ::close(watch);
        EXPECT_TRUE(opened.empty()) << opened.front();
        cancelDialog(window.get());
    }
}

TEST_F(SettingsWindowTest, TabAndShiftTabGoRoundEveryControlOfEachFileDialog) {
    exportSettings(store(), folder / "s.json", world.scheduler->wallNow());
    click(window->filesCard()->exportAction()->button());
    expectTabRoundsReachEveryControl(window.get());
    cancelDialog(window.get());

    // Before a file is chosen and after, when the dialog's own button takes
    // the focus again.
    click(window->filesCard()->importAction()->button());
    expectTabRoundsReachEveryControl(window.get());
    auto* dialog = window->findChild<QFileDialog*>();
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
        ->setText(QStringLiteral("s.json"));
    expectTabRoundsReachEveryControl(window.get());
    cancelDialog(window.get());

    click(window->supportCard()->basicReport()->button());
    auto* sheet = window->diagnosticSheet();
    ASSERT_NE(sheet, nullptr);
    click(sheet->saveButton());
    expectTabRoundsReachEveryControl(sheet);
    cancelDialog(sheet);
}

TEST_F(SettingsWindowTest, TheImportSheetsCancelReportsWhileEscapeOnlyCloses) {
    exportSettings(store(), folder / "s.json", world.scheduler->wallNow());
    click(window->filesCard()->importAction()->button());
    choose(window.get(), folder / "s.json");
    ASSERT_NE(window->importSheet(), nullptr);
    QTest::keyClick(window->importSheet(), Qt::Key_Escape);
    settle();
    EXPECT_EQ(window->importSheet(), nullptr);
    EXPECT_FALSE(window->state().settingsImportDraft.has_value());
    EXPECT_EQ(store().statusMessage(), "설정 파일을 확인했습니다 — 적용 전 미리보기를 확인하세요");

    click(window->filesCard()->importAction()->button());
    choose(window.get(), folder / "s.json");
    ASSERT_NE(window->importSheet(), nullptr);
    click(window->importSheet()->cancelButton());
    EXPECT_EQ(window->importSheet(), nullptr);
    EXPECT_FALSE(window->state().settingsImportDraft.has_value());
    EXPECT_EQ(store().statusMessage(), "설정 가져오기를 취소했습니다");
    EXPECT_EQ(store().textSize(), QuorvaneTextSize::standard);
}

TEST_F(SettingsWindowTest, ARefusedFileOpensNoSheet) {
    writeContents(folder / "other.json", "{\"appName\": \"Other\"}");
    click(window->filesCard()->importAction()->button());
    choose(window.get(), folder / "other.json");
    EXPECT_EQ(window->importSheet(), nullptr);
    EXPECT_EQ(store().statusMessage(), "설정 파일을 읽을 수 없습니다.");
}

// Each file action's result, success or failure, is heard once, and only
// once the dialog has closed and its window has the focus again (said
// while the dialog goes, a screen reader drops it with the dialog); a file
// that reads is answered by its sheet instead, whose buttons' results are
// heard back in the window.
TEST_F(SettingsWindowTest, EveryFileActionsResultIsHeardOnceBackInItsWindow) {
    const auto heardBackIn = [&](QWidget* back, const std::function<void()>& act) {
        SpokenNotices notices;
        act();
        // The dialog's close hands the keyboard back to `back` (held while
        // another window is active: see AHeldResultIsSaidOnceItsWindowIsBack).
        EXPECT_TRUE(back->isActiveWindow());
        for (int activation = 0; activation < 2; ++activation) {
            QApplication::setActiveWindow(nullptr);
            settle();
            QApplication::setActiveWindow(back);
            settle();
        }
        return notices.said();
    };
    const auto status = [&] { return std::vector<std::string>{store().statusMessage()}; };
    const auto exportTo = [&](const fs::path& file) {
        return heardBackIn(window.get(), [&] {
            click(window->filesCard()->exportAction()->button());
            choose(window.get(), file);
        });
    };
    EXPECT_EQ(exportTo(folder / "s.json"), std::vector<std::string>{"설정 내보내기 완료"});
    const auto refused = exportTo(folder / "gone" / "s.json");
    EXPECT_EQ(refused, status());
    EXPECT_NE(store().statusMessage().find("폴더가 없습니다"), std::string::npos);

    writeContents(folder / "other.json", "{\"appName\": \"Other\"}");
    EXPECT_EQ(heardBackIn(window.get(),
                          [&] {
                              click(window->filesCard()->importAction()->button());
                              choose(window.get(), folder / "other.json");
                          }),
              std::vector<std::string>{"설정 파일을 읽을 수 없습니다."});
    for (const bool confirmed : {true, false}) {
        SpokenNotices opening;
        click(window->filesCard()->importAction()->button());
        choose(window.get(), folder / "s.json");
        auto* sheet = window->importSheet();
        ASSERT_NE(sheet, nullptr);
        QApplication::setActiveWindow(sheet);
        settle();
        EXPECT_EQ(opening.said(), std::vector<std::string>{});
        const auto said = heardBackIn(window.get(), [&] {
            click(confirmed ? sheet->importButton() : sheet->cancelButton());
        });
        EXPECT_EQ(said, status());
        EXPECT_EQ(store().statusMessage().rfind(
                      confirmed ? "설정 가져오기 완료" : "설정 가져오기를 취소", 0),
                  0u);
    }

    click(window->supportCard()->basicReport()->button());
    auto* sheet = window->diagnosticSheet();
    ASSERT_NE(sheet, nullptr);
    for (const fs::path& file : {folder / "r.json", folder / "gone" / "r.json"}) {
        const auto said = heardBackIn(sheet, [&] {
            click(sheet->saveButton());
            choose(sheet, file);
        });
        EXPECT_EQ(said, status());
    }
    EXPECT_TRUE(fs::exists(folder / "r.json"));
    EXPECT_NE(store().statusMessage().find("폴더가 없습니다"), std::string::npos);
}

// A dialog that closes with the keyboard in it leaves the window it was
// opened over the active window again, as a screen reader reads it,
// whatever the window manager does with the keyboard afterwards: the
// keyboard reaches it and its held result is said. One that closes while
// the keyboard is elsewhere (another program: closed from a taskbar or by a
// screen reader's action; another of the program's windows) takes it from
// no one.
TEST_F(SettingsWindowTest,
       AClosedDialogsOpenerIsTheActiveWindowAgainOnlyWhereTheDialogHadTheKeyboard) {
    exportSettings(store(), folder / "s.json", world.scheduler->wallNow());
    const auto activeAfter = [&](QWidget* opener, const std::function<void()>& open,
                                 const std::function<void()>& close,
                                 std::optional<QWidget*> goneTo = std::nullopt) {
        open();
        if (goneTo)
            QApplication::setActiveWindow(*goneTo);
        settle();
        close();
        settle();
        return QAccessible::queryAccessibleInterface(opener)->state().active;
    };
    const auto exportDialog = [&] { click(window->filesCard()->exportAction()->button()); };
    const auto importSheet = [&] {
        click(window->filesCard()->importAction()->button());
        choose(window.get(), folder / "s.json");
        ASSERT_NE(window->importSheet(), nullptr);
    };
    const auto resetPrompt = [&] { click(window->recoveryCard()->resetAction()->button()); };
    const auto cancelPrompt = [&] {
        auto* prompt = window->findChild<QMessageBox*>();
        ASSERT_TRUE(prompt && prompt->isVisible());
        prompt->reject();
    };
    EXPECT_TRUE(activeAfter(window.get(), exportDialog,
                            [&] { choose(window.get(), folder / "out.json"); }));
    EXPECT_TRUE(activeAfter(window.get(), exportDialog, [&] { cancelDialog(window.get()); }));
    EXPECT_TRUE(activeAfter(window.get(), importSheet,
                            [&] { click(window->importSheet()->cancelButton()); }));
    EXPECT_TRUE(activeAfter(window.get(), resetPrompt, cancelPrompt));

    click(window->supportCard()->basicReport()->button());
    auto* sheet = window->diagnosticSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(activeAfter(
        sheet, [&] { click(sheet->saveButton()); }, [&] { choose(sheet, folder / "r.json"); }));
    EXPECT_TRUE(activeAfter(
        window.get(), [] {}, [&] { QTest::keyClick(sheet, Qt::Key_Escape); }));

    // Another program has the keyboard.
    EXPECT_FALSE(activeAfter(
        window.get(), exportDialog, [&] { cancelDialog(window.get()); }, nullptr));
    EXPECT_FALSE(activeAfter(
        window.get(), importSheet, [&] { click(window->importSheet()->cancelButton()); }, nullptr));
    EXPECT_FALSE(activeAfter(window.get(), resetPrompt, cancelPrompt, nullptr));

    QWidget elsewhere;
    elsewhere.show();
    EXPECT_FALSE(activeAfter(
        window.get(), exportDialog, [&] { cancelDialog(window.get()); }, &elsewhere));
    EXPECT_TRUE(elsewhere.isActiveWindow());
}

// A result comes while another window is active: it is held, and said
// once the settings window is active again; a newer result replaces one
// not yet said. It is read with the control the focus lands on (a screen
// reader flooded by a closing dialog's events keeps the focus landing and
// drops a notification), said once, and that control reads as before once
// the focus leaves it.
TEST_F(SettingsWindowTest, AHeldResultIsReadOnceWithTheFocusBackInItsWindow) {
    QWidget elsewhere;
    elsewhere.show();
    SpokenNotices notices;
    QAbstractButton* exportButton = window->filesCard()->exportAction()->button();
    const QString ownDescription = exportButton->accessibleDescription();
    // Pressed on the keyboard: the focus stays on it.
    exportButton->setFocus(Qt::TabFocusReason);
    for (const fs::path& file : {folder / "s.json", folder / "gone" / "s.json"}) {
        click(exportButton);
        QApplication::setActiveWindow(&elsewhere);
        settle();
        choose(window.get(), file);
        EXPECT_FALSE(window->isActiveWindow());
    }
    EXPECT_EQ(notices.said(), std::vector<std::string>{});
    const std::vector<std::string> refused{store().statusMessage()};
    EXPECT_NE(refused.front().find("폴더가 없습니다"), std::string::npos);
    const auto described = [&] {
        return QAccessible::queryAccessibleInterface(exportButton)
            ->text(QAccessible::Description)
            .toStdString();
    };
    const auto labelled = [&] { return heardFirstLabel(exportButton); };
    for (int activation = 0; activation < 2; ++activation) {
        QApplication::setActiveWindow(&elsewhere);
        settle();
        QApplication::setActiveWindow(window.get());
        settle();
        EXPECT_EQ(notices.said(), refused);
        if (activation == 0) {
            EXPECT_EQ(labelled().rfind(refused.front(), 0), 0u) << labelled();
        }
    }
    EXPECT_EQ(labelled(), "");
    EXPECT_EQ(described(), ownDescription.toStdString());

    notices.clear();
    click(exportButton);
    choose(window.get(), folder / "t.json");
    EXPECT_EQ(notices.said(), std::vector<std::string>{"설정 내보내기 완료"});
    QTest::keyClick(window.get(), Qt::Key_Tab);
    settle();
    EXPECT_NE(QApplication::focusWidget(), exportButton);
    EXPECT_EQ(labelled(), "");
    EXPECT_EQ(described(), ownDescription.toStdString());
}

// A dialog that closed stays until the next of its kind opens: the control
// a screen reader last had the focus on in it (the file name, the sheet's
// 가져오기) still answers from its place, named, as the focus lands in the
// window, rather than being a dead object the reader asks about.
TEST_F(SettingsWindowTest, AClosedDialogStaysReadableUntilTheNextOfItsKindOpens) {
    exportSettings(store(), folder / "s.json", world.scheduler->wallNow());
    // Deletions the event loop would carry out by now, which a test's
    // processEvents() leaves waiting.
    const auto carryOutDeletions = [] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    const auto readable = [](QWidget* control) {
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(control);
        return read && read->parent() && read->parent()->indexOfChild(read) >= 0;
    };
    const auto chooseThroughTheDialog = [&] {
        click(window->filesCard()->importAction()->button());
        auto* dialog = window->findChild<QFileDialog*>();
        QPointer<QLineEdit> name =
            dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        choose(window.get(), folder / "s.json");
        return name;
    };
    QPointer<QLineEdit> name = chooseThroughTheDialog();
    ASSERT_NE(window->importSheet(), nullptr);
    QPointer<QAbstractButton> import = window->importSheet()->importButton();
    click(import);
    carryOutDeletions();
    ASSERT_EQ(window->importSheet(), nullptr);
    for (QWidget* control : {static_cast<QWidget*>(name), static_cast<QWidget*>(import)}) {
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(readable(control));
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(import)->text(QAccessible::Name),
              QStringLiteral("가져오기"));

    chooseThroughTheDialog();
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(import, nullptr);
    ASSERT_NE(window->importSheet(), nullptr);
    QTest::keyClick(window->importSheet(), Qt::Key_Escape);
    settle();

    // The report sheet, closed by its 닫기, stays too until the next report.
    click(window->supportCard()->basicReport()->button());
    ASSERT_NE(window->diagnosticSheet(), nullptr);
    QPointer<QAbstractButton> close = window->diagnosticSheet()->closeButton();
    click(close);
    carryOutDeletions();
    ASSERT_EQ(window->diagnosticSheet(), nullptr);
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(readable(close));
    click(window->supportCard()->basicReport()->button());
    EXPECT_EQ(close, nullptr);
    EXPECT_NE(window->diagnosticSheet(), nullptr);
}

// Tab into the folder's list gives it a current item, the file the name
// field names or else the first, and Return opens it at once: no arrow key
// first, in a folder Return opened too. The item goes aside again as the
// focus leaves.
TEST_F(SettingsWindowTest, ReturnInTheFileListOpensTheNamedOrFirstFile) {
    fs::create_directories(folder / "sub");
    exportSettings(store(), folder / "sub" / "a.json", world.scheduler->wallNow());
    writeContents(folder / "b.json", "not json");
    // In the list view with the name field empty, in the detail view with
    // a name typed.
    for (const QString& named : {QString(), QStringLiteral("b.json")}) {
        click(window->filesCard()->importAction()->button());
        auto* dialog = window->findChild<QFileDialog*>();
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(QString::fromStdString(folder.path().string()));
        dialog->setViewMode(named.isEmpty() ? QFileDialog::List : QFileDialog::Detail);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* list = dialog->findChild<QAbstractItemView*>(
            named.isEmpty() ? QStringLiteral("listView") : QStringLiteral("treeView"));
        ASSERT_TRUE(name && list);
        const auto current = [&] { return list->currentIndex().data().toString(); };
        // Listed and sorted, the folder first.
        ASSERT_TRUE(QTest::qWaitFor([&] {
            const QModelIndex first = list->model()->index(0, 0, list->rootIndex());
            return list->model()->rowCount(list->rootIndex()) == 2 &&
                   first.data().toString() == QStringLiteral("sub");
        }));
        name->setFocus(Qt::OtherFocusReason);
        name->setText(named);
        for (int stop = 0; stop < 20 && QApplication::focusWidget() != list; ++stop)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_EQ(QApplication::focusWidget(), list);
        const QString expected = named.isEmpty() ? QStringLiteral("sub") : named;
        EXPECT_EQ(current(), expected);
        QTest::keyClick(list, Qt::Key_Tab);
        EXPECT_FALSE(list->currentIndex().isValid());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_EQ(QApplication::focusWidget(), list);
        EXPECT_EQ(current(), expected);
        // Into the folder, listed as it opens, back up and in again,
        // listed before.
        for (int visit = 0; named.isEmpty() && visit < 2; ++visit) {
            if (visit == 1) {
                QTest::keyClick(list, Qt::Key_Backspace);
                EXPECT_TRUE(QTest::qWaitFor([&] { return current() == QStringLiteral("sub"); }))
                    << current().toStdString();
            }
            QTest::keyClick(list, Qt::Key_Return);
            EXPECT_TRUE(QTest::qWaitFor([&] { return current() == QStringLiteral("a.json"); }))
                << visit << " " << current().toStdString();
        }

        // The file is looked up off the window thread before the dialog
        // takes it.
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }));
        settle();
        if (named.isEmpty()) {
            ASSERT_NE(window->importSheet(), nullptr);
            QTest::keyClick(window->importSheet(), Qt::Key_Escape);
            settle();
        } else {
            EXPECT_EQ(window->importSheet(), nullptr);
            EXPECT_EQ(store().statusMessage(), "설정 파일을 읽을 수 없습니다.");
        }
    }
}

TEST_F(SettingsWindowTest, TheReportSheetCopiesAndSavesThePreparedBytesWhateverIsTyped) {
    click(window->supportCard()->basicReport()->button());
    auto* sheet = window->diagnosticSheet();
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(window->state().diagnosticPreview.has_value());
    const auto prepared = window->state().diagnosticPreview->data;
    EXPECT_EQ(sheet->reportText()->toPlainText().toStdString(), prepared);
    EXPECT_EQ(store().statusMessage(), "기본 리포트 미리보기 완료");

    sheet->reportText()->setFocus();
    QTest::keyClicks(sheet->reportText(), "typed over");
    EXPECT_EQ(sheet->reportText()->toPlainText().toStdString(), prepared);
    click(sheet->copyButton());
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), prepared);
    EXPECT_EQ(store().statusMessage(), "진단 리포트 복사 완료");

    click(sheet->saveButton());
    choose(sheet, folder / "Quorvane-Diagnostic-Report.json");
    EXPECT_EQ(fileContents(folder / "Quorvane-Diagnostic-Report.json"), prepared);
    EXPECT_EQ(store().statusMessage(), "진단 리포트 저장 완료");
    EXPECT_EQ(window->diagnosticSheet(), sheet);

    QTest::keyClick(sheet, Qt::Key_Escape);
    settle();
    EXPECT_EQ(window->diagnosticSheet(), nullptr);
    EXPECT_FALSE(window->state().diagnosticPreview.has_value());
    EXPECT_EQ(store().statusMessage(), "진단 리포트 저장 완료");
}

TEST_F(SettingsWindowTest, TheMasonryAndTheBackupGridFollowWidthAndTextSize) {
    window->resize(1100, 800);
    settle();
    EXPECT_EQ(window->frequentCards()->arrangement(),
              (SettingsCardColumns::Arrangement{{0, 2}, {1}}));
    EXPECT_EQ(window->backupCards()->arrangement().size(), 2u);
    EXPECT_TRUE(window->statusStrip()->isSideBySide());

    store().setTextSize(QuorvaneTextSize::veryLarge);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    settle();
    EXPECT_EQ(window->minimumWidth(), 840);
    EXPECT_EQ(window->frequentCards()->arrangement(),
              (SettingsCardColumns::Arrangement{{0, 1, 2}}));
    EXPECT_EQ(window->backupCards()->arrangement().size(), 1u);

    store().setTextSize(QuorvaneTextSize::standard);
    theme.setTextSize(QuorvaneTextSize::standard);
    window->resize(640, 800);
    settle();
    EXPECT_EQ(window->frequentCards()->arrangement().size(), 1u);
}

TEST_F(SettingsWindowTest, SwitchesAndPickersWriteThroughTheStoreAndFollowIt) {
    click(window->appearanceCard()->textSizePicker()->segment(3));
    EXPECT_EQ(store().textSize(), QuorvaneTextSize::veryLarge);
    EXPECT_EQ(window->appearanceCard()->textSizeDetail(),
              QStringLiteral("버튼과 창도 함께 키우고 긴 문구는 줄바꿈해 가장 크게 보여줍니다."));
    click(window->appearanceCard()->appearanceSwitcher()->optionButton(QuorvaneAppearance::dark));
    EXPECT_EQ(store().appearance(), QuorvaneAppearance::dark);
    EXPECT_EQ(window->statusStrip()->tileValue(0), QStringLiteral("다크"));

    auto* shortcuts = window->shortcutsCard();
    EXPECT_EQ(shortcuts->bindingList(), nullptr);
    click(shortcuts->sceneRow()->toggle());
    EXPECT_TRUE(store().sceneHotKeysEnabled());
    ASSERT_NE(shortcuts->bindingList(), nullptr);
    EXPECT_FALSE(shortcuts->bindingList()->isExpanded());
    const auto switches = shortcuts->bindingSwitches();
    ASSERT_EQ(switches.size(), 5u);
    click(switches[0]);
    EXPECT_FALSE(store().sceneHotKeyBindings()[0].enabled);
    EXPECT_EQ(shortcuts->sceneRow()->statusPill()->text(), QStringLiteral("4개 등록됨"));

    // Someone else switching it off removes the list.
    store().setSceneHotKeysEnabled(false);
    settle();
    EXPECT_EQ(shortcuts->bindingList(), nullptr);
}

TEST_F(SettingsWindowTest, AScreenReaderCanPressEveryButtonAndPickASegment) {
    EXPECT_EQ(unpressableButtons(window.get()), std::vector<std::string>{});
    // A segment answers Toggle as a click: the store takes the text size,
    // not only the segment's check mark.
    auto* accessible = QAccessible::queryAccessibleInterface(
        window->appearanceCard()->textSizePicker()->segment(3));
    ASSERT_TRUE(accessible && accessible->actionInterface());
    accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    settle();
    EXPECT_EQ(store().textSize(), QuorvaneTextSize::veryLarge);
    EXPECT_TRUE(accessible->state().checked);
    // A switch answers Toggle as a click too: the store takes the setting,
    // not only the box its check mark.
    ASSERT_FALSE(store().sceneHotKeysEnabled());
    auto* sceneSwitch =
        QAccessible::queryAccessibleInterface(window->shortcutsCard()->sceneRow()->toggle());
    ASSERT_TRUE(sceneSwitch && sceneSwitch->actionInterface());
    sceneSwitch->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    settle();
    EXPECT_TRUE(store().sceneHotKeysEnabled());
    EXPECT_TRUE(sceneSwitch->state().checked);
}

TEST_F(SettingsWindowTest, TheFullResetWaitsForItsConfirmationAndRunsOnce) {
    store().setURLPresetAutomationEnabled(true);
    click(window->recoveryCard()->resetAction()->button());
    click(window->recoveryCard()->resetAction()->button());
    auto* presenter = window->confirmations();
    ASSERT_NE(presenter->dialog(), nullptr);
    EXPECT_TRUE(store().urlPresetAutomationEnabled());
    click(presenter->confirmButton());
    settle();
    EXPECT_FALSE(store().urlPresetAutomationEnabled());
    EXPECT_EQ(store().statusMessage(), "모든 Quorvane 설정을 초기화했습니다");
    EXPECT_FALSE(presenter->coordinator().pending().has_value());
}

TEST_F(SettingsWindowTest, EveryDialogOfTheWindowTakesTheThemeAndFollowsItWhileOpen) {
    theme.setAppearance(QuorvaneAppearance::dark);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    settle();
    expectThemed(window.get(), theme);
    // The switches draw their boxes on the dark surface, not the light one.
    auto* toggle = window->behaviorCard()->row(0)->toggle();
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->palette().color(QPalette::Base), theme.color(ColorRole::surface));

    click(window->recoveryCard()->resetAction()->button());
    expectThemed(window->confirmations()->dialog(), theme);
    click(window->confirmations()->cancelButton());

    click(window->filesCard()->exportAction()->button());
    expectThemed(window->findChild<QFileDialog*>(), theme);
    cancelDialog(window.get());

    click(window->supportCard()->basicReport()->button());
    auto* report = window->diagnosticSheet();
    expectThemed(report, theme);
    // Its buttons take the dark sheet's colours and the base font.
    EXPECT_EQ(report->copyButton()->palette().color(QPalette::Button),
              theme.color(ColorRole::surface));
    EXPECT_EQ(report->copyButton()->palette().color(QPalette::ButtonText),
              theme.color(ColorRole::primary));
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(report->copyButton()->font()), 20.16);

    // A change while the sheet is open restyles it at once.
    theme.setAppearance(QuorvaneAppearance::light);
    theme.setTextSize(QuorvaneTextSize::large);
    expectThemed(report, theme);
    expectThemed(window.get(), theme);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(report->copyButton()->font()), 15.68);
    QTest::keyClick(report, Qt::Key_Escape);
    settle();

    exportSettings(store(), folder / "s.json", world.scheduler->wallNow());
    click(window->filesCard()->importAction()->button());
    choose(window.get(), folder / "s.json");
    expectThemed(window->importSheet(), theme);
    theme.setAppearance(QuorvaneAppearance::dark);
    expectThemed(window->importSheet(), theme);
}

TEST_F(SettingsWindowTest, RestyledInPlaceTheWindowReadsAsOneBuiltInTheNewTheme) {
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    theme.setAppearance(QuorvaneAppearance::dark);
    settle();
    SettingsWindow fresh(*context);
    fresh.resize(window->size());
    fresh.show();
    settle();
    testing::expectSamePixels(*window, fresh, "settings-window");
}

// An unchecked switch's edge stands out from its card at 3 : 1 or more, as
// a control's edge must, in either scheme.
TEST_F(SettingsWindowTest, AnUncheckedSwitchShowsItsEdgeInBothSchemes) {
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        theme.setAppearance(appearance);
        settle();
        const auto weakest = weakestUncheckedBoxContrast(*window);
        ASSERT_TRUE(weakest.has_value());
        EXPECT_GE(*weakest, 3.0);
    }
}

// The report sheet restyled while open, text size and scheme, looks like one
// opened in the new theme: its colours and its size.
TEST_F(SettingsWindowTest, TheReportSheetRestyledWhileOpenLooksLikeOneOpenedFresh) {
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    theme.setAppearance(QuorvaneAppearance::dark);
    settle();
    click(window->supportCard()->basicReport()->button());
    DiagnosticReportSheet* open = window->diagnosticSheet();
    ASSERT_NE(open, nullptr);
    theme.setTextSize(QuorvaneTextSize::standard);
    theme.setAppearance(QuorvaneAppearance::light);
    settle();
    DiagnosticReportSheet fresh(theme, open->preview(), window.get());
    fresh.show();
    settle();
    // Only one of them is the active window; neither shows a blinking caret.
    for (QWidget* sheet : {static_cast<QWidget*>(open), static_cast<QWidget*>(&fresh)})
        if (QWidget* focused = sheet->focusWidget())
            focused->clearFocus();
    expectSamePixels(*open, fresh, "report-sheet");
}

// The test screen is lower than the largest text size's report needs: at
// the sheet's smallest size its buttons still stand below the text.
TEST_F(SettingsWindowTest, AtItsSmallestOnALowScreenTheReportSheetsButtonsStayBelowItsText) {
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    settle();
    click(window->supportCard()->basicReport()->button());
    auto* sheet = window->diagnosticSheet();
    ASSERT_NE(sheet, nullptr);
    sheet->resize(sheet->minimumSize());
    settle();
    const int textBottom = sheet->reportText()->geometry().bottom();
    for (QWidget* button : {sheet->copyButton(), sheet->closeButton()})
        EXPECT_GT(button->mapTo(sheet, QPoint(0, 0)).y(), textBottom);
}

// Fitted to an output smaller than the one its sizes were made for, the
// sheet is cut below its own smallest size: the text gives way, and the
// text and the buttons stay inside the sheet, the buttons below the text.
TEST_F(SettingsWindowTest, TheReportSheetCutBelowItsSmallestSizeKeepsTextAndButtonsInside) {
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    settle();
    click(window->supportCard()->basicReport()->button());
    auto* sheet = window->diagnosticSheet();
    ASSERT_NE(sheet, nullptr);
    const int lower = sheet->minimumHeight() - 120;
    // Narrower than the text's own width with the margins around it.
    const int narrower = sheet->reportText()->minimumWidth() + 20;
    sheet->setMinimumSize(narrower, lower);
    sheet->resize(narrower, lower);
    settle();
    ASSERT_EQ(sheet->size(), QSize(narrower, lower));
    EXPECT_LE(sheet->reportText()->geometry().right(), sheet->layout()->contentsRect().right());
    const int textBottom = sheet->reportText()->geometry().bottom();
    for (QWidget* button : {sheet->copyButton(), sheet->closeButton()}) {
        EXPECT_GT(button->mapTo(sheet, QPoint(0, 0)).y(), textBottom);
        EXPECT_LE(button->mapTo(sheet, QPoint(0, button->height())).y(), sheet->height());
    }
}

TEST_F(SettingsWindowTest, TheJournalSectionShowsTheNewestFiveAndFollowsTheStore) {
    auto* support = window->supportCard();
    EXPECT_FALSE(support->journalSection()->isExpanded());
    for (int round = 0; round < 7; ++round)
        store().recoverDisplaysToSafeState();
    settle();
    // Drawn once the section is opened (out of sight it would announce
    // every new row to a screen reader).
    support->journalSection()->setExpanded(true);
    settle();
    EXPECT_EQ(support->journalView()->shownRows(), 5);
}

TEST_F(SettingsWindowTest, NarrowTheHerosGearStaysLevelWithTheTitle) {
    window->resize(640, 800);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    settle();
    QWidget* gear = window->heroIcon();
    QWidget* title = window->heroTitle();
    // The open button went below: the hero is in its narrow form.
    ASSERT_GT(window->openMainWindowButton()->mapTo(window.get(), QPoint()).y(),
              gear->mapTo(window.get(), QPoint(0, gear->height())).y());
    EXPECT_EQ(gear->mapTo(window.get(), QPoint()).y(), title->mapTo(window.get(), QPoint()).y());
}

TEST_F(SettingsWindowTest, StatusTileValuesKeepToOneLineAndDetailsToTwo) {
    SettingsStatusStripView* strip = window->statusStrip();
    WrappingLabel* value = strip->valueLabel(0);
    WrappingLabel* detail = strip->detailLabel(0);
    const int valueLine = value->heightForWidth(1000);
    const int detailLine = detail->heightForWidth(1000);
    const QString longText =
        QStringLiteral("시스템 설정을 따르는 화면 모드가 아주 길게 이어지는 설명");
    value->setText(longText + longText);
    detail->setText(longText + longText + longText);
    EXPECT_EQ(value->heightForWidth(80), valueLine);
    EXPECT_LE(detail->heightForWidth(80), 2 * detailLine + 1);
    EXPECT_GT(detail->heightForWidth(80), detailLine);
}

TEST_F(SettingsWindowTest, ActionCardsCarryTheSymbolTileAndATitleOfAtMostTwoLines) {
    for (SettingsActionCard* card :
         {window->filesCard()->exportAction(), window->filesCard()->importAction(),
          window->supportCard()->basicReport(), window->supportCard()->detailedReport(),
          window->recoveryCard()->resetAction()}) {
        ChipButton* button = card->button();
        EXPECT_TRUE(button->hasHeightForWidth()) << button->text().toStdString();
        // The 28-point tile inside the chip's insets sets its least height.
        EXPECT_GE(button->sizeHint().height(), 38) << button->text().toStdString();
        // Squeezed, the title wraps instead of pushing the chip out of its card.
        EXPECT_LT(button->minimumSizeHint().width(), button->sizeHint().width());
        // Read as one button: the card holds its button alone, its title,
        // then its explanation.
        QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(card);
        ASSERT_NE(pane, nullptr);
        ASSERT_EQ(pane->childCount(), 1);
        QAccessibleInterface* read = pane->child(0);
        EXPECT_EQ(read->role(), QAccessible::Button);
        EXPECT_EQ(read->text(QAccessible::Name), button->text());
        EXPECT_EQ(read->text(QAccessible::Description), button->toolTip());
        EXPECT_EQ(button->role() == ButtonRole::destructive,
                  card == window->recoveryCard()->resetAction());
    }
    // Pressed by assistive technology, the reset card asks first.
    QAccessible::queryAccessibleInterface(window->recoveryCard()->resetAction())
        ->child(0)
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(window->confirmations()->coordinator().pending().has_value());
}

TEST_F(SettingsWindowTest, TheReportSheetsScrollBarFollowsTheDarkScheme) {
    theme.setAppearance(QuorvaneAppearance::dark);
    click(window->supportCard()->basicReport()->button());
    auto* sheet = window->diagnosticSheet();
    ASSERT_NE(sheet, nullptr);
    sheet->resize(800, 600);
    settle();
    QScrollBar* bar = sheet->reportText()->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    ASSERT_GT(bar->maximum(), 0);
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.pageStep = bar->pageStep();
    option.sliderPosition = bar->sliderPosition();
    // No arrow boxes: the whole bar is track.
    for (const auto part : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine})
        EXPECT_TRUE(
            bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).isEmpty());
    EXPECT_EQ(bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                           QStyle::SC_ScrollBarGroove, bar),
              bar->rect());
    // Drawn in the window's dark colours: the track's far end (where the
    // down arrow's light box was) is the dark window colour.
    const QImage shown = bar->grab().toImage();
    const QColor track = shown.pixelColor(bar->width() / 2, bar->height() - 3);
    EXPECT_EQ(track.rgb(), theme.color(ColorRole::windowBackground).rgb());
}

// Every status text of the window in a tint (the status tiles' values, the
// switches' status pills, the warning and destructive action chips) reads at
// 4.5:1 on what it is drawn on, in either scheme, as drawn.
TEST_F(SettingsWindowTest, StatusTextsInTheirTintsReadAtFourAndAHalfToOneInBothSchemes) {
    // Tall enough that the whole page is on screen over the window's ground.
    window->resize(760, 3200);
    for (const bool on : {true, false}) {
        store().setAutoApplyEnabled(on);
        store().setURLPresetAutomationEnabled(on);
        for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
            SCOPED_TRACE(std::string(appearance == QuorvaneAppearance::light ? "light" : "dark") +
                         (on ? " on" : " off"));
            theme.setAppearance(appearance);
            settle();
            const QImage picture = window->grab().toImage();
            for (int index = 0; index < 3; ++index) {
                auto* value = window->statusStrip()->valueLabel(index);
                EXPECT_GE(inkContrast(picture, boxIn(window.get(), value)), 4.5)
                    << value->text().toStdString();
            }
            int pills = 0;
            for (auto* row : window->findChildren<SettingsToggleRowView*>()) {
                auto* pill = row->statusPill();
                if (!pill || !pill->isVisible())
                    continue;
                ++pills;
                const int cap = pill->height() / 2;
                const QRect inside = boxIn(window.get(), pill).adjusted(cap, 2, -cap, -2);
                EXPECT_GE(inkContrast(picture, inside), 4.5) << pill->text().toStdString();
            }
            EXPECT_GE(pills, 3);
            int chips = 0;
            for (auto* chip : window->findChildren<ChipButton*>()) {
                if (!chip->isVisible() || !chip->isEnabled())
                    continue;
                ++chips;
                const int cap = chip->height() / 2;
                const QRect inside = boxIn(window.get(), chip).adjusted(cap, 3, -cap, -3);
                EXPECT_GE(inkContrast(picture, inside), 4.5) << chip->text().toStdString();
            }
            EXPECT_GT(chips, 3);
            // The text sizes: the chosen one on its accent fill, the others
            // on the card.
            auto* sizes = window->appearanceCard()->textSizePicker();
            for (int index = 0; index < 4; ++index) {
                auto* segment = sizes->segment(index);
                const QRect inside = boxIn(window.get(), segment).adjusted(2, 2, -2, -2);
                EXPECT_GE(inkContrast(picture, inside), 4.5) << segment->text().toStdString();
            }
        }
    }
}

TEST_F(SettingsWindowTest, TheHeroOpensTheMainWindowAndTheStatusCardShowsTheTextVerbatim) {
    click(window->openMainWindowButton());
    EXPECT_EQ(mainWindowOpened, 1);
    store().setStatusMessage("");
    settle();
    EXPECT_EQ(window->statusText()->text(), QString());
}

}  // namespace
}  // namespace quorvane::testing
