// The settings window's file dialogs shown on the private X server and
// driven by keys typed through it, as a user meets them: what the server
// maps, which window holds its focus and whether anything holds its
// keyboard, and what a screen reader is told.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <future>

#include "display_store/store_world.hpp"
#include "support/fuse_ext4_image.hpp"
#include "support/mount_rights.hpp"
#include "support/temporary_folder.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/settings/settings_action_card.hpp"
#include "views/settings/settings_files_card.hpp"
#include "views/settings/settings_window.hpp"
#include "views/store_bridge.hpp"
#include "views/support/heard_focus.hpp"
#include "x11/x_test_server.hpp"

// Xlib's names (Bool, Status, None) clash with Qt's and the test
// framework's: after them.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

class FileDialogXcbTest : public XServerTest {
  protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        world.start();
        bridge = std::make_unique<StoreBridge>(*world.store);
        context = std::make_unique<ViewContext>(ViewContext{*world.store, *bridge, shell, theme});
        window = std::make_unique<SettingsWindow>(*context);
        window->resize(700, 800);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(until([&] { return QApplication::activeWindow() == window.get(); }));
    }
    void TearDown() override {
        window.reset();
        QCoreApplication::processEvents();
    }

    Display* display() { return connection->display(); }

    // Runs the event loops until `done` holds: the server answers in its
    // own time, and the bound only ends a faulty run.
    bool until(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            world.scheduler->runUntilIdle();
        }
        return true;
    }
    // Waits until the windows have read and acted on everything sent so
    // far (the keys typed among them), their own requests sent on: a round
    // trip through the server from the test and from the windows, which
    // read the events in order.
    void settle() {
        ASSERT_TRUE(caughtUp(static_cast<Window>(window->winId()),
                             [&](const auto& done) { return until(done); }));
        QCoreApplication::processEvents();
        world.scheduler->runUntilIdle();
    }

    // A key pressed and let go on the server's keyboard, with Shift where
    // the symbol needs it.
    void press(KeySym symbol) {
        const KeyCode code = XKeysymToKeycode(display(), symbol);
        ASSERT_NE(code, 0) << symbol;
        const bool shifted = XkbKeycodeToKeysym(display(), code, 0, 0) != symbol;
        const KeyCode shift = XKeysymToKeycode(display(), XK_Shift_L);
        if (shifted)
            XTestFakeKeyEvent(display(), shift, True, CurrentTime);
        XTestFakeKeyEvent(display(), code, True, CurrentTime);
        XTestFakeKeyEvent(display(), code, False, CurrentTime);
        if (shifted)
            XTestFakeKeyEvent(display(), shift, False, CurrentTime);
        settle();
    }
    void type(const std::string& text) {
        for (const char letter : text)
            press(static_cast<KeySym>(static_cast<unsigned char>(letter)));
    }

    // Whether the server shows `widget`'s window.
    bool mapped(QWidget* widget) {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display(), static_cast<Window>(widget->winId()), &attributes) &&
               attributes.map_state == IsViewable;
    }
    // Whether another client may take the keyboard and the pointer: no
    // window of ours holds them.
    bool inputFree() {
        const Window root = DefaultRootWindow(display());
        const int keyboard =
            XGrabKeyboard(display(), root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        const int pointer = XGrabPointer(display(), root, False, ButtonPressMask, GrabModeAsync,
                                         GrabModeAsync, None, None, CurrentTime);
        XUngrabKeyboard(display(), CurrentTime);
        XUngrabPointer(display(), CurrentTime);
        XSync(display(), False);
        return keyboard == GrabSuccess && pointer == GrabSuccess;
    }
    Window focusedWindow() {
        Window focused = None;
        int revert = 0;
        XGetInputFocus(display(), &focused, &revert);
        return focused;
    }

    // The file dialog 가져오기 opens, its folder `folder`, on the keyboard.
    QFileDialog* openImportDialog() { return openDialog(window->filesCard()->importAction()); }
    // The file dialog `action` opens, its folder `folder`, on the keyboard.
    QFileDialog* openDialog(SettingsActionCard* action) {
        QAbstractButton* import = action->button();
        import->setFocus(Qt::TabFocusReason);
        press(XK_space);
        QFileDialog* dialog = nullptr;
        until([&] {
            dialog = nullptr;
            for (auto* each : window->findChildren<QFileDialog*>())
                dialog = each->isVisible() ? each : dialog;
            return dialog && QApplication::activeWindow() == dialog;
        });
        if (dialog)
            dialog->setDirectory(QString::fromStdString(folder.path().string()));
        settle();
        return dialog;
    }

    StoreWorld world;
    Theme theme{false};
    ShellActions shell;
    std::unique_ptr<StoreBridge> bridge;
    std::unique_ptr<ViewContext> context;
    std::unique_ptr<SettingsWindow> window;
    TemporaryFolder folder;
};

// A name typed until the completion list shows it, then Return: the
// dialog closes and so does its list, on the server too; nothing holds the
// keyboard or the pointer, the focus is back on 가져오기 in the window the
// server focuses, and a screen reader hears the failure there as it reads
// 가져오기; then Tab moves on from 가져오기, which reads as before.
TEST_F(FileDialogXcbTest, ANameReturnedFromTheCompletionListLeavesNothingHoldingTheKeyboard) {
    writeContents(folder / "bad.json", "not json");
    writeContents(folder / "old.json", "{\"appName\": \"Other\"}");
    QAbstractButton* import = window->filesCard()->importAction()->button();
    for (const std::string name : {"bad.json", "old.json"}) {
        QFileDialog* dialog = openImportDialog();
        ASSERT_NE(dialog, nullptr);
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(field, nullptr);
        ASSERT_NE(field->completer(), nullptr);
        QWidget* list = field->completer()->popup();
        type(name);
        ASSERT_TRUE(until([&] { return list->isVisible() && mapped(list); })) << name;

        press(XK_Return);
        ASSERT_TRUE(until([&] { return !dialog->isVisible(); })) << name;
        settle();
        EXPECT_FALSE(mapped(list)) << name;
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << name;
        EXPECT_TRUE(inputFree()) << name;
        EXPECT_EQ(window->focusWidget(), import) << heardName(window->focusWidget());
        // The window below gets the server's focus back, as a window
        // manager hands it over when a dialog goes.
        XSetInputFocus(display(), static_cast<Window>(window->winId()), RevertToParent,
                       CurrentTime);
        until([&] { return QApplication::activeWindow() == window.get(); });
        settle();
        EXPECT_EQ(focusedWindow(), static_cast<Window>(window->winId())) << name;
        EXPECT_EQ(QApplication::focusWidget(), import)
            << heardName(QApplication::focusWidget()) << ", list shown " << list->isVisible();
        // Read over AT-SPI: 가져오기 is the focus, and nothing of the closed
        // dialog is; the failure is read with 가져오기.
        QAccessibleInterface* importRead = QAccessible::queryAccessibleInterface(import);
        EXPECT_TRUE(importRead->state().focused) << name;
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(field)->state().focused) << name;
        EXPECT_EQ(importRead->text(QAccessible::Description).toStdString(),
                  "설정 파일을 읽을 수 없습니다.")
            << name;

        press(XK_Tab);
        QWidget* next = QApplication::focusWidget();
        EXPECT_TRUE(next && next != import && next->window() == window.get()) << heardName(next);
        EXPECT_NE(importRead->text(QAccessible::Description).toStdString(),
                  "설정 파일을 읽을 수 없습니다.")
            << name;
    }
}

// The process of the FUSE server that serves `image`; -1 when none does.
pid_t fuseServerOf(const fs::path& image) {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream file(entry.path() / "cmdline");
        std::string command((std::istreambuf_iterator<char>(file)), {});
        if (command.starts_with("fuse2fs") && command.find(image.string()) != std::string::npos)
            return static_cast<pid_t>(std::stoi(entry.path().filename().string()));
    }
    return -1;
}

// A folder on a FUSE mount whose server stopped answering (a dead sshfs, a
// stalled network share), typed into each file dialog and returned: the
// windows go on (the keys typed after it reach the field, a posted event
// runs), and the accept button is off and says the dialog waits. Once the
// mount answers, 내보내기's dialog opens the folder; 가져오기's is closed and
// deleted while the mount still does not answer, its file list's model
// reading there. A window thread that waited on the mount is let go by the
// mount's server going on, after a while, and the case fails.
TEST_F(FileDialogXcbTest, AFolderOnAMountThatStoppedAnsweringLeavesEachDialogRunning) {
    const fs::path mount = folder / "mount";
    fs::create_directory(mount);
    const FuseExt4Image image(folder.path());
    if (const auto refused = image.mount(mount))
        GTEST_SKIP() << *refused;
    fs::create_directory(mount / "folder");
    const pid_t server = fuseServerOf(folder / "fuse.img");
    ASSERT_GT(server, 0);
    for (auto* action :
         {window->filesCard()->exportAction(), window->filesCard()->importAction()}) {
        const bool closedWhileWaiting = action == window->filesCard()->importAction();
        QPointer<QFileDialog> dialog = openDialog(action);
        ASSERT_NE(dialog, nullptr);
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(field, nullptr);
        // Qt reads a relative name against the process's own folder.
        field->setText(QString::fromStdString(folder.path().string() + "/"));
        field->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(until([&] { return field->hasFocus(); }));
        settle();
        ASSERT_EQ(::kill(server, SIGSTOP), 0);
        std::promise<void> wentOn;
        auto rescue = std::async(std::launch::async, [&wentOn, server, went = wentOn.get_future()] {
            const bool waited =
                went.wait_for(std::chrono::seconds(30)) != std::future_status::ready;
            ::kill(server, SIGCONT);
            return waited;
        });
        type("mount/folder/");
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_NE(buttons, nullptr);
        QPushButton* accept = buttons->button(dialog->acceptMode() == QFileDialog::AcceptSave
                                                  ? QDialogButtonBox::Save
                                                  : QDialogButtonBox::Open);
        ASSERT_NE(accept, nullptr);
        EXPECT_TRUE(until([&] {
            return !accept->isEnabled() && accept->text() == QStringLiteral("확인하는 중…");
        })) << accept->text().toStdString();
        press(XK_Return);
        bool ran = false;
        QTimer::singleShot(0, [&ran] { ran = true; });
        until([&] { return ran; });
        EXPECT_EQ(field->text().toStdString(), (mount / "folder").string() + "/");
        if (closedWhileWaiting) {
            dialog->reject();
            delete dialog.data();
            settle();
        }
        wentOn.set_value();
        EXPECT_FALSE(rescue.get()) << "the window thread waited on the mount";
        EXPECT_TRUE(ran);
        if (closedWhileWaiting)
            continue;
        // The mount answers again (let go above): the folder opens.
        EXPECT_TRUE(until([&] {
            return dialog->directory().absolutePath().toStdString() == (mount / "folder").string();
        })) << dialog->directory().absolutePath().toStdString();
        dialog->reject();
        settle();
    }
    settle();
    MountRights::unmount(mount);
}

// The folder of that mount opened from the file list (Return on it, as a
// double click does): the windows go on and the accept button says the
// dialog waits; once the mount answers, the dialog shows the folder.
TEST_F(FileDialogXcbTest,
       AFolderOnAMountThatStoppedAnsweringOpenedFromTheListLeavesTheDialogRunning) {
    const fs::path mount = folder / "mount";
    fs::create_directory(mount);
    const FuseExt4Image image(folder.path());
    if (const auto refused = image.mount(mount))
        GTEST_SKIP() << *refused;
    const pid_t server = fuseServerOf(folder / "fuse.img");
    ASSERT_GT(server, 0);
    QFileDialog* dialog = openDialog(window->filesCard()->exportAction());
    ASSERT_NE(dialog, nullptr);
    QAbstractItemView* list = nullptr;
    for (auto* view : dialog->findChildren<QAbstractItemView*>())
        list =
            view->isVisible() && view->objectName().endsWith(QLatin1String("View")) ? view : list;
    ASSERT_NE(list, nullptr);
    const QString mountPath = QString::fromStdString(mount.string());
    QModelIndex listed;
    ASSERT_TRUE(until([&] {
        const auto* model = list->model();
        for (int row = 0; model && row < model->rowCount(list->rootIndex()); ++row) {
            const auto item = model->index(row, 0, list->rootIndex());
            if (item.data(QFileSystemModel::FilePathRole).toString() == mountPath)
                listed = item;
        }
        return listed.isValid();
    }));
    list->setFocus(Qt::OtherFocusReason);
    list->setCurrentIndex(listed);
    ASSERT_TRUE(until([&] { return list->hasFocus(); }))
        << list->objectName().toStdString() << " "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                        : "none");
    ASSERT_EQ(::kill(server, SIGSTOP), 0);
    std::promise<void> wentOn;
    auto rescue = std::async(std::launch::async, [server, went = wentOn.get_future()] {
        const bool waited = went.wait_for(std::chrono::seconds(30)) != std::future_status::ready;
        ::kill(server, SIGCONT);
        return waited;
    });
    press(XK_Return);
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    QPushButton* accept = buttons->button(QDialogButtonBox::Save);
    ASSERT_NE(accept, nullptr);
    EXPECT_TRUE(until([&] { return accept->text() == QStringLiteral("확인하는 중…"); }))
        << accept->text().toStdString();
    wentOn.set_value();
    EXPECT_FALSE(rescue.get()) << "the window thread waited on the mount";
    EXPECT_TRUE(until([&] { return dialog->directory().absolutePath() == mountPath; }))
        << dialog->directory().absolutePath().toStdString();
    dialog->reject();
    settle();
    MountRights::unmount(mount);
}

}  // namespace
}  // namespace quorvane::testing
