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
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <functional>

#include "display_store/store_world.hpp"
#include "support/temporary_folder.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/settings/settings_action_card.hpp"
#include "views/settings/settings_files_card.hpp"
#include "views/settings/settings_window.hpp"
#include "views/store_bridge.hpp"
#include "views/support/heard_focus.hpp"
#include "x11/application_process.hpp"
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
        if (windowManager)
            stopWindowManager();
    }

    Display* display() { return connection->display(); }

    // Runs the event loops until `done` holds, at most a few seconds: the
    // server answers in its own time.
    bool until(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            world.scheduler->runUntilIdle();
        }
        return true;
    }
    // A round trip for everything sent so far, ours and the window's.
    void settle() {
        for (int turn = 0; turn < 10; ++turn) {
            XSync(display(), False);
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            world.scheduler->runUntilIdle();
        }
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

    // Whether the server shows the window.
    bool mapped(Window window) {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display(), window, &attributes) &&
               attributes.map_state == IsViewable;
    }
    bool mapped(QWidget* widget) { return mapped(static_cast<Window>(widget->winId())); }
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
    QFileDialog* openImportDialog() {
        QAbstractButton* import = window->filesCard()->importAction()->button();
        import->setFocus(Qt::TabFocusReason);
        press(XK_space);
        QFileDialog* dialog = nullptr;
        until([&] {
            dialog = window->findChild<QFileDialog*>();
            return dialog && dialog->isVisible() && QApplication::activeWindow() == dialog;
        });
        if (dialog)
            dialog->setDirectory(QString::fromStdString(folder.path().string()));
        settle();
        return dialog;
    }

    // openbox managing the screen, with a window of another program (this
    // test's own connection) beside the settings window; false where it
    // cannot run.
    bool underAWindowManagerWithAnotherProgram() {
        if (::access("/usr/bin/openbox", X_OK) != 0)
            return false;
        windowManager = std::make_unique<LaunchedProcess>(
            "/usr/bin/openbox", std::vector<std::string>{"--sm-disable"},
            home.environment(displayName), home.log());
        if (!until([&] { return !rootProperty("_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty(); }))
            return false;
        other = XCreateSimpleWindow(display(), connection->root(), 100, 100, 300, 200, 0, 0, 0);
        XMapWindow(display(), other);
        return until([&] { return mapped(other); });
    }
    // Its words and its focus taken off, so that the next test finds no
    // window manager.
    void stopWindowManager() {
        XDestroyWindow(display(), other);
        windowManager.reset();
        for (const char* name :
             {"_NET_SUPPORTING_WM_CHECK", "_NET_ACTIVE_WINDOW", "_NET_SUPPORTED"})
            XDeleteProperty(display(), connection->root(), connection->atom(name));
        XSetInputFocus(display(), PointerRoot, RevertToPointerRoot, CurrentTime);
        XSync(display(), False);
    }
    std::vector<long> windowProperty(Window window, const char* name, Atom type) {
        Atom actual = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display(), window, connection->atom(name), 0, 16, False, type, &actual,
                           &format, &count, &after, &data);
        std::vector<long> values;
        if (data)
            values.assign(reinterpret_cast<const long*>(data),
                          reinterpret_cast<const long*>(data) + count);
        XFree(data);
        return values;
    }
    std::vector<long> rootProperty(const char* name, Atom type) {
        return windowProperty(connection->root(), name, type);
    }
    // Where the keyboard is, as the server and the window manager say.
    bool keyboardIn(Window window) {
        return focusedWindow() == window &&
               rootProperty("_NET_ACTIVE_WINDOW", XA_WINDOW) == std::vector<long>{long(window)};
    }
    // What a pager or taskbar sends the window manager about `window`.
    void askTheWindowManager(const char* message, Window window, long first = 2,
                             long second = CurrentTime) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = connection->atom(message);
        event.xclient.format = 32;
        event.xclient.data.l[0] = first;
        event.xclient.data.l[1] = second;
        event.xclient.data.l[3] = 2;
        XSendEvent(display(), connection->root(), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XSync(display(), False);
    }
    // The user goes to the other program's window, while this program's
    // thread may be busy: waits on the server alone.
    bool goToTheOtherProgram() {
        askTheWindowManager("_NET_ACTIVE_WINDOW", other);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!keyboardIn(other))
            if (std::chrono::steady_clock::now() > deadline)
                return false;
        return true;
    }
    // Once the window manager has taken in everything sent before: it
    // answers a toggle of the other window's state in order.
    bool windowManagerCaughtUp() {
        const long above = static_cast<long>(connection->atom("_NET_WM_STATE_ABOVE"));
        const auto state = [&] { return windowProperty(other, "_NET_WM_STATE", XA_ATOM); };
        const auto before = state();
        askTheWindowManager("_NET_WM_STATE", other, 2, above);
        return until([&] { return state() != before; });
    }

    StoreWorld world;
    Theme theme{false};
    ShellActions shell;
    std::unique_ptr<StoreBridge> bridge;
    std::unique_ptr<ViewContext> context;
    std::unique_ptr<SettingsWindow> window;
    TemporaryFolder folder;
    ApplicationHome home;
    std::unique_ptr<LaunchedProcess> windowManager;
    Window other = None;
};

// A name typed until the completion list shows it, then Return: the
// dialog closes and so does its list, on the server too; nothing holds the
// keyboard or the pointer, the focus is back on 가져오기 in the window the
// server focuses, and a screen reader hears the failure there as it reads
// 가져오기, whether or not it reads descriptions; then Tab moves on from
// 가져오기, which reads as before, and the failure is not heard again.
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
        // dialog is; the failure is read with 가져오기, as its first label.
        QAccessibleInterface* importRead = QAccessible::queryAccessibleInterface(import);
        EXPECT_TRUE(importRead->state().focused) << name;
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(field)->state().focused) << name;
        const std::string description = importRead->text(QAccessible::Description).toStdString();
        const std::string failure = "설정 파일을 읽을 수 없습니다.";
        EXPECT_EQ(heardFirstLabel(import).rfind(failure, 0), 0u) << heardFirstLabel(import);

        press(XK_Tab);
        QWidget* next = QApplication::focusWidget();
        ASSERT_TRUE(next && next != import && next->window() == window.get()) << heardName(next);
        EXPECT_EQ(heardFirstLabel(import), "") << name;
        EXPECT_EQ(importRead->text(QAccessible::Description).toStdString(), description);
        EXPECT_EQ(heardFirstLabel(next).find(failure), std::string::npos) << heardFirstLabel(next);
    }
}

// Under a window manager, with another program's window active: a file
// dialog closed from a taskbar (_NET_CLOSE_WINDOW), by a screen reader's
// action, or by a save that ends after the user went to that program leaves
// that program the keyboard, and the result waits; closed with the keyboard
// in the program, the settings window is active again.
TEST_F(FileDialogXcbTest, AClosingDialogTakesNoKeyboardFromAnotherProgram) {
    if (!underAWindowManagerWithAnotherProgram())
        GTEST_SKIP() << "openbox is needed: " << home.logText();
    // The export dialog opened from the settings window, the user gone to
    // the other program first where `away`, then closed by `close`: once
    // the window manager has taken in the closing, where the keyboard is.
    const auto closedBy = [&](bool away, const std::function<void(QFileDialog*)>& close) {
        window->activateWindow();
        until([&] { return QApplication::activeWindow() == window.get(); });
        window->filesCard()->exportAction()->button()->click();
        QFileDialog* dialog = nullptr;
        const bool opened = until([&] {
            dialog = window->findChild<QFileDialog*>();
            return dialog && dialog->isVisible() && keyboardIn(dialog->winId());
        });
        if (!opened || (away && !goToTheOtherProgram()))
            return false;
        close(dialog);
        return until([&] { return !dialog->isVisible(); }) && windowManagerCaughtUp();
    };
    const auto fromATaskbar = [&](QFileDialog* dialog) {
        askTheWindowManager("_NET_CLOSE_WINDOW", static_cast<Window>(dialog->winId()));
    };
    ASSERT_TRUE(closedBy(true, fromATaskbar));
    EXPECT_TRUE(keyboardIn(other));
    ASSERT_TRUE(closedBy(true, [](QFileDialog* dialog) {
        // A screen reader's action.
        auto* cancel = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
        QAccessible::queryAccessibleInterface(cancel)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
    }));
    EXPECT_TRUE(keyboardIn(other));
    // A save that ends after the user went there: the thread is busy
    // saving as the window manager hands the keyboard over.
    ASSERT_TRUE(closedBy(false, [&](QFileDialog* dialog) {
        QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                         [&] { goToTheOtherProgram(); });
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(QString::fromStdString((folder / "s.json").string()));
        press(XK_Return);
    }));
    EXPECT_TRUE(keyboardIn(other));
    EXPECT_TRUE(fs::exists(folder / "s.json"));
    // With the keyboard in the program: the settings window has it again.
    ASSERT_TRUE(closedBy(false, fromATaskbar));
    EXPECT_TRUE(until([&] {
        return keyboardIn(window->winId()) && QApplication::activeWindow() == window.get();
    }));
}

}  // namespace
}  // namespace quorvane::testing
