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
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

#include "display_store/store_world.hpp"
#include "support/fuse_ext4_image.hpp"
#include "support/mount_rights.hpp"
#include "support/temporary_folder.hpp"
#include "views/access/spoken_notice.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/settings/settings_action_card.hpp"
#include "views/settings/settings_files_card.hpp"
#include "views/settings/settings_window.hpp"
#include "views/store_bridge.hpp"
#include "views/support/accessible_tree.hpp"
#include "views/support/heard_focus.hpp"
#include "views/support/ink.hpp"
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

// The kernel keeps nothing the mount told: every look at it asks its
// server, as after the kernel's own second has passed.
const std::string kAskedEveryTime = ",attr_timeout=0,entry_timeout=0,negative_timeout=0";

class FileDialogXcbTest : public XServerTest {
  protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        // Qt's dialogs keep the folder last used in the user's Qt settings:
        // here the test's own, which no other test program changes.
        for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, folder.path().c_str());
        world.start();
        bridge = std::make_unique<StoreBridge>(*world.store);
        context = std::make_unique<ViewContext>(ViewContext{*world.store, *bridge, shell, theme});
        ASSERT_TRUE(showNewWindow());
    }
    // A settings window of its own, as after the program started again.
    bool showNewWindow() {
        window = std::make_unique<SettingsWindow>(*context);
        window->resize(700, 800);
        window->show();
        window->activateWindow();
        return until([&] { return QApplication::activeWindow() == window.get(); });
    }
    void TearDown() override {
        window.reset();
        QCoreApplication::processEvents();
        // A case that stopped early leaves no mount nor server behind.
        if (server > 0) {
            ::kill(server, SIGCONT);
            MountRights::unmount(mount);
        }
        if (windowManager)
            stopWindowManager();
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

    // A FUSE file system mounted at `mount`, asked afresh at every look,
    // whose server (`server`) the test may stop; the test skipped where
    // the kernel refuses the mount.
    void mountStoppable() {
        fs::create_directory(mount);
        if (const auto refused = FuseExt4Image(folder.path()).mount(mount, kAskedEveryTime)) {
            ASSERT_FALSE(MountRights::refusedTooLate(*refused)) << *refused;
            GTEST_SKIP() << *refused;
        }
        server = fuseServerOf(folder / "fuse.img");
        ASSERT_GT(server, 0);
    }

    // The item `path` in the file list `list` once the list shows it; an
    // invalid one if it never does.
    QModelIndex listedItem(const QAbstractItemView& list, const fs::path& path) {
        const QString wanted = QString::fromStdString(path.string());
        QModelIndex listed;
        until([&] {
            const auto* model = list.model();
            for (int row = 0; model && row < model->rowCount(list.rootIndex()); ++row) {
                const auto item = model->index(row, 0, list.rootIndex());
                if (item.data(QFileSystemModel::FilePathRole).toString() == wanted)
                    listed = item;
            }
            return listed.isValid();
        });
        return listed;
    }

    // The file dialog 가져오기 opens, its folder `folder`, on the keyboard.
    QFileDialog* openImportDialog() { return openDialog(window->filesCard()->importAction()); }
    // The file dialog `action` opens, its folder `folder`, on the keyboard.
    QFileDialog* openDialog(SettingsActionCard* action) {
        QFileDialog* dialog = shownDialog(action);
        if (dialog)
            dialog->setDirectory(QString::fromStdString(folder.path().string()));
        settle();
        return dialog;
    }
    // 내보내기's dialog, its name field holding the test's folder and the
    // keyboard, ready for a name typed after it.
    QLineEdit* exportNameField() {
        QFileDialog* dialog = openDialog(window->filesCard()->exportAction());
        auto* field =
            dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!field)
            return nullptr;
        field->setText(QString::fromStdString(folder.path().string() + "/"));
        field->setFocus(Qt::OtherFocusReason);
        settle();
        return field;
    }
    // The file dialog `action` opens, in the folder it chose, on the
    // keyboard.
    QFileDialog* shownDialog(SettingsActionCard* action) {
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
    const fs::path mount = folder / "mount";
    pid_t server = -1;
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

// A FUSE server stopped (SIGSTOP) until goOn(): a window thread that
// waits on its mount is let go after a while by the server going on
// anyway, and goOn() tells.
class StoppedServer {
  public:
    explicit StoppedServer(pid_t server) {
        stopped_ = ::kill(server, SIGSTOP) == 0;
        rescue_ = std::async(std::launch::async, [server, went = wentOn_.get_future()] {
            const bool waited =
                went.wait_for(std::chrono::seconds(30)) != std::future_status::ready;
            ::kill(server, SIGCONT);
            return waited;
        });
    }
    ~StoppedServer() { goOn(); }
    StoppedServer(const StoppedServer&) = delete;
    StoppedServer& operator=(const StoppedServer&) = delete;

    bool stopped() const { return stopped_; }
    // Whether a thread waited on the mount until the rescue let it go.
    bool goOn() {
        if (rescue_.valid()) {
            wentOn_.set_value();
            waited_ = rescue_.get();
        }
        return waited_;
    }

  private:
    bool stopped_ = false;
    bool waited_ = false;
    std::promise<void> wentOn_;
    std::future<bool> rescue_;
};

// The file dialogs' look-ups still waiting for the file system: each runs
// on a thread of its own, named for it.
int lookUpsAwaited(const std::string& named = "path look-up") {
    int awaited = 0;
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream file(task.path() / "comm");
        std::string name;
        std::getline(file, name);
        awaited += name == named;
    }
    return awaited;
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
    mountStoppable();
    if (IsSkipped() || HasFatalFailure())
        return;
    fs::create_directory(mount / "folder");
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
        StoppedServer stopped(server);
        ASSERT_TRUE(stopped.stopped());
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
        QPointer<QFileSystemModel> model = dialog->findChild<QFileSystemModel*>();
        QThread* modelWentOn = nullptr;
        QObject::connect(
            model, &QObject::destroyed, window.get(),
            [&modelWentOn] { modelWentOn = QThread::currentThread(); }, Qt::DirectConnection);
        if (closedWhileWaiting) {
            dialog->reject();
            delete dialog.data();
            settle();
        }
        EXPECT_FALSE(stopped.goOn()) << "the window thread waited on the mount";
        EXPECT_TRUE(ran);
        if (closedWhileWaiting) {
            // Its file list goes once its reading ends, on the window thread.
            EXPECT_TRUE(until([&] { return !model; }));
            EXPECT_EQ(modelWentOn, QThread::currentThread());
            continue;
        }
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

// The folder of that mount made the file list's current item and opened
// from it (Return on it, as a double click does): the windows go on and the
// accept button says the dialog waits; once the mount answers, the dialog
// shows the folder.
TEST_F(FileDialogXcbTest,
       AFolderOnAMountThatStoppedAnsweringOpenedFromTheListLeavesTheDialogRunning) {
    mountStoppable();
    if (IsSkipped() || HasFatalFailure())
        return;
    QFileDialog* dialog = openDialog(window->filesCard()->exportAction());
    ASSERT_NE(dialog, nullptr);
    QAbstractItemView* list = nullptr;
    for (auto* view : dialog->findChildren<QAbstractItemView*>())
        list =
            view->isVisible() && view->objectName().endsWith(QLatin1String("View")) ? view : list;
    ASSERT_NE(list, nullptr);
    const QString mountPath = QString::fromStdString(mount.string());
    const QModelIndex listed = listedItem(*list, mount);
    ASSERT_TRUE(listed.isValid());
    list->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(until([&] { return list->hasFocus(); }))
        << list->objectName().toStdString() << " "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                        : "none");
    StoppedServer stopped(server);
    ASSERT_TRUE(stopped.stopped());
    // The list's current item and selection moved onto the folder, as the
    // arrow keys or a click move them.
    list->setCurrentIndex(listed);
    settle();
    press(XK_Return);
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    QPushButton* accept = buttons->button(QDialogButtonBox::Save);
    ASSERT_NE(accept, nullptr);
    EXPECT_TRUE(until([&] { return accept->text() == QStringLiteral("확인하는 중…"); }))
        << accept->text().toStdString();
    EXPECT_FALSE(stopped.goOn()) << "the window thread waited on the mount";
    EXPECT_TRUE(until([&] { return dialog->directory().absolutePath() == mountPath; }))
        << dialog->directory().absolutePath().toStdString();
    dialog->reject();
    settle();
    MountRights::unmount(mount);
}

// A name on the stopped mount typed into a file dialog and returned, then
// the dialog closed while it waits (Escape, the window manager's close, its
// window closed): once the mount answers, no file is chosen, nothing is
// written there and nothing opens.
TEST_F(FileDialogXcbTest, ADialogClosedWhileItWaitsDoesNothingOnceTheMountAnswers) {
    mountStoppable();
    if (IsSkipped() || HasFatalFailure())
        return;
    writeContents(mount / "kept.json", "{}");
    struct Row {
        const char* closedBy;
        SettingsActionCard* action;
        std::string name;
        std::function<void(QFileDialog*)> close;
    };
    const std::vector<Row> rows{
        {"Escape", window->filesCard()->exportAction(), "new.json",
         [&](QFileDialog*) { press(XK_Escape); }},
        {"the window manager's close", window->filesCard()->importAction(), "kept.json",
         [](QFileDialog* dialog) { dialog->close(); }},
        {"its window closed", window->filesCard()->exportAction(), "other.json",
         [&](QFileDialog*) { window->close(); }},
    };
    for (const Row& row : rows) {
        window->show();
        window->activateWindow();
        QPointer<QFileDialog> dialog = openDialog(row.action);
        ASSERT_NE(dialog, nullptr) << row.closedBy;
        int chosen = 0;
        QObject::connect(dialog, &QFileDialog::fileSelected, [&chosen] { ++chosen; });
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_TRUE(field && buttons);
        field->setText(QString::fromStdString(folder.path().string() + "/"));
        field->setFocus(Qt::OtherFocusReason);
        settle();
        StoppedServer stopped(server);
        ASSERT_TRUE(stopped.stopped());
        type("mount/" + row.name);
        press(XK_Return);
        EXPECT_TRUE(until([&] {
            return std::ranges::any_of(buttons->buttons(), [](auto* button) {
                return button->text() == QStringLiteral("확인하는 중…");
            });
        })) << row.closedBy;
        row.close(dialog);
        settle();
        EXPECT_FALSE(stopped.goOn()) << "the window thread waited on the mount";
        // The newest name is asked once the older look-up ends: a dialog left
        // by its window goes once that answer is in.
        EXPECT_TRUE(until([&] {
            return lookUpsAwaited() == 0 && !(dialog && dialog->isVisible());
        })) << row.closedBy;
        settle();
        EXPECT_EQ(chosen, 0) << row.closedBy;
        EXPECT_FALSE(dialog && dialog->isVisible()) << row.closedBy;
        EXPECT_FALSE(fs::exists(mount / "new.json")) << row.closedBy;
        EXPECT_FALSE(fs::exists(mount / "other.json")) << row.closedBy;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << row.closedBy;
    }
    settle();
    MountRights::unmount(mount);
}

// While a name on the stopped mount waits, a newer one typed on a working
// disk is looked up at once and chosen; the older answer, once the mount
// answers, is dropped. The dialog kept from then, whose file list read the
// mount, goes as the next opens without the window thread waiting on it.
// A name on the mount returned and the list's selection moved to a folder
// before the mount answers: the name typed is chosen, not the folder.
TEST_F(FileDialogXcbTest, TheLatestNameTypedIsTheOneChosen) {
    fs::create_directory(folder / "sub");
    mountStoppable();
    if (IsSkipped() || HasFatalFailure())
        return;
    std::vector<std::string> chosen;
    const auto open = [&] {
        QFileDialog* dialog = openDialog(window->filesCard()->exportAction());
        if (!dialog)
            return dialog;
        QObject::connect(dialog, &QFileDialog::fileSelected,
                         [&chosen](const QString& file) { chosen.push_back(file.toStdString()); });
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        field->setText(QString::fromStdString(folder.path().string() + "/"));
        field->setFocus(Qt::OtherFocusReason);
        settle();
        return dialog;
    };
    const auto waiting = [](QFileDialog* dialog) {
        return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->text() ==
               QStringLiteral("확인하는 중…");
    };
    QFileDialog* dialog = open();
    ASSERT_NE(dialog, nullptr);
    // On a working disk the dialog does not say it waits once answered,
    // nor later: its wait before saying so made longer than any answer.
    auto* timer = dialog->findChild<QTimer*>(QStringLiteral("typedPathWaiting"));
    ASSERT_NE(timer, nullptr);
    const int showWaitingAfter = timer->interval();
    timer->setInterval(std::chrono::hours(1));
    type("x");
    auto* typedField = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_TRUE(until([&] { return typedField->text().endsWith('x') && !timer->isActive(); }));
    settle();
    EXPECT_FALSE(waiting(dialog));
    timer->setInterval(showWaitingAfter);

    {
        StoppedServer stopped(server);
        ASSERT_TRUE(stopped.stopped());
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        field->setText(QString::fromStdString(folder.path().string() + "/"));
        type("mount/old.json");
        press(XK_Return);
        EXPECT_TRUE(until([&] { return waiting(dialog); }));
        field->setText(QString::fromStdString(folder.path().string() + "/"));
        type("new.json");
        press(XK_Return);
        EXPECT_TRUE(until([&] { return !chosen.empty(); }));
        EXPECT_EQ(chosen, std::vector<std::string>{(folder / "new.json").string()});
        EXPECT_TRUE(fs::exists(folder / "new.json"));
        dialog = open();
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(stopped.goOn()) << "the window thread waited on the mount";
    }
    EXPECT_TRUE(until([] { return lookUpsAwaited() == 0; }));
    settle();
    EXPECT_EQ(chosen.size(), 1u);
    EXPECT_FALSE(fs::exists(mount / "old.json"));

    QAbstractItemView* list = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    ASSERT_NE(list, nullptr);
    const QModelIndex sub = listedItem(*list, folder / "sub");
    ASSERT_TRUE(sub.isValid());
    StoppedServer stopped(server);
    ASSERT_TRUE(stopped.stopped());
    type("mount/typed.json");
    press(XK_Return);
    EXPECT_TRUE(until([&] { return waiting(dialog); }));
    // Tab, as a user goes on, then the selection moves in the list.
    press(XK_Tab);
    ASSERT_FALSE(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->hasFocus());
    list->selectionModel()->select(sub,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    settle();
    EXPECT_FALSE(stopped.goOn()) << "the window thread waited on the mount";
    EXPECT_TRUE(until([&] { return chosen.size() == 2; }));
    EXPECT_EQ(chosen.back(), (mount / "typed.json").string());
    EXPECT_TRUE(until([] { return lookUpsAwaited() == 0; }));
    settle();
    MountRights::unmount(mount);
}

// What a screen reader is told unasked: each notification shown, which it
// reads at once, by the name AT-SPI reads for it then. (Qt tells no
// accessibility events here, with no session bus.)
class ShownNotifications : public QObject {
  public:
    ShownNotifications() { QCoreApplication::instance()->installEventFilter(this); }
    std::vector<std::string> said;

  private:
    bool eventFilter(QObject* watched, QEvent* event) override {
        QAccessibleInterface* read = event->type() == QEvent::Show && watched->isWidgetType()
                                         ? QAccessible::queryAccessibleInterface(watched)
                                         : nullptr;
        if (read && read->role() == QAccessible::Notification)
            said.push_back(read->text(QAccessible::Name).toStdString());
        return false;
    }
};

// A name on the stopped mount typed, then returned: the moment passing while
// it is typed only shows the wait; once the field has been still after
// Return (told by the dialog's timers here), a screen reader hears that it
// waits, once, whatever keys follow, until the mount answers.
TEST_F(FileDialogXcbTest, AWaitIsHeardOnceUntilItEnds) {
    mountStoppable();
    if (IsSkipped() || HasFatalFailure())
        return;
    QLineEdit* field = exportNameField();
    ASSERT_NE(field, nullptr);
    auto* dialog = qobject_cast<QFileDialog*>(field->window());
    QPushButton* accept = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save);
    auto* moment = dialog->findChild<QTimer*>(QStringLiteral("typedPathWaiting"));
    auto* stillness = dialog->findChild<QTimer*>(QStringLiteral("typedPathWaitSaid"));
    ASSERT_TRUE(moment && stillness);
    moment->setInterval(std::chrono::hours(1));
    stillness->setInterval(std::chrono::hours(1));
    ShownNotifications notices;
    StoppedServer stopped(server);
    ASSERT_TRUE(stopped.stopped());
    type("mount/a");
    // The moment and the stillness pass while the name is typed: shown,
    // not said.
    ASSERT_TRUE(moment->isActive() && stillness->isActive());
    moment->start(0);
    EXPECT_TRUE(until([&] { return accept->text() == QStringLiteral("확인하는 중…"); }));
    stillness->start(0);
    settle();
    EXPECT_TRUE(notices.said.empty());
    stillness->setInterval(std::chrono::hours(1));
    press(XK_Return);
    // Said once the field has been still after Return.
    ASSERT_TRUE(stillness->isActive());
    settle();
    EXPECT_TRUE(notices.said.empty());
    stillness->start(0);
    const std::vector<std::string> heard{"확인하는 중…"};
    EXPECT_TRUE(until([&] { return notices.said == heard; }));
    type(".json");
    EXPECT_FALSE(stopped.goOn()) << "the window thread waited on the mount";
    EXPECT_TRUE(until([&] { return accept->text() != QStringLiteral("확인하는 중…"); }));
    settle();
    EXPECT_EQ(notices.said, heard);
    MountRights::unmount(mount);
}

// A path of 40 letters typed onto the stopped mount: one look-up waits on
// the mount, the newest text behind it; the others end.
TEST_F(FileDialogXcbTest, APathTypedOntoAStalledMountWaitsOnFewThreads) {
    mountStoppable();
    if (IsSkipped() || HasFatalFailure())
        return;
    ASSERT_NE(exportNameField(), nullptr);
    StoppedServer stopped(server);
    ASSERT_TRUE(stopped.stopped());
    const std::string path = "mount/a-folder-of-long-name/thefile.json";
    ASSERT_EQ(path.size(), 40u);
    int most = 0;
    for (const char letter : path) {
        press(static_cast<KeySym>(letter));
        most = std::max(most, lookUpsAwaited());
    }
    EXPECT_LE(most, 3);
    EXPECT_TRUE(until([] { return lookUpsAwaited() == 1; }));
    EXPECT_FALSE(stopped.goOn()) << "the window thread waited on the mount";
    MountRights::unmount(mount);
}

// An older name's answer taken in after a newer name on the stopped mount
// was asked about: it is dropped, and the window thread never looks at the
// newer name.
TEST_F(FileDialogXcbTest, AnOlderAnswerLeavesANewerNameOnAStalledMountAlone) {
    mountStoppable();
    if (IsSkipped() || HasFatalFailure())
        return;
    QFileDialog* dialog = openDialog(window->filesCard()->exportAction());
    ASSERT_NE(dialog, nullptr);
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_TRUE(until([] { return lookUpsAwaited() == 0; }));
    StoppedServer stopped(server);
    ASSERT_TRUE(stopped.stopped());
    field->setText(QString::fromStdString((folder / "older.json").string()));
    // Its look-up ends, the answer not yet taken in: no events are run
    // meanwhile.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (lookUpsAwaited() != 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    field->setText(QString::fromStdString((mount / "newer.json").string()));
    settle();
    EXPECT_FALSE(stopped.goOn()) << "the window thread waited on the mount";
    MountRights::unmount(mount);
}

// The folder last used, on a mount that stopped answering, in an earlier
// run (as Qt keeps it) or in this one: 내보내기 opens at once in the home
// folder, taking keys, and says why in the dialog and once to a screen
// reader; asked for again, it does the same without another look-up
// waiting on the mount.
TEST_F(FileDialogXcbTest, ADialogWhoseLastFolderStoppedAnsweringOpensAtHomeSayingWhy) {
    mountStoppable();
    if (IsSkipped() || HasFatalFailure())
        return;
    // A name the kernel keeps nothing of: every look at it asks the server.
    const fs::path last = mount / "folder";
    const std::string lastUrl =
        QUrl::fromLocalFile(QString::fromStdString(last.string())).toString().toStdString();
    const auto keptByQt = [] {
        return QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
            .value("FileDialog/lastVisited")
            .toString()
            .toStdString();
    };
    const std::string homeFolder =
        QFileInfo(QDir::homePath()).isDir() ? QDir::homePath().toStdString() : "/";
    for (const bool earlierRun : {true, false}) {
        if (earlierRun) {
            QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
                .setValue("FileDialog/lastVisited",
                          QUrl::fromLocalFile(QString::fromStdString(last.string())).toString());
        } else {
            ASSERT_TRUE(showNewWindow());
            QFileDialog* dialog = openDialog(window->filesCard()->exportAction());
            ASSERT_NE(dialog, nullptr);
            fs::create_directory(last);
            dialog->setDirectory(QString::fromStdString(last.string()));
            dialog->reject();
            settle();
            fs::remove(last);
        }
        window->dialogStart().setPatience(std::chrono::milliseconds(0));
        StoppedServer stopped(server);
        ASSERT_TRUE(stopped.stopped());
        for (int opening = 0; opening < 2; ++opening) {
            QFileDialog* dialog = shownDialog(window->filesCard()->exportAction());
            ASSERT_NE(dialog, nullptr) << earlierRun;
            EXPECT_EQ(dialog->directory().absolutePath().toStdString(), homeFolder);
            // What Qt keeps for the next run (and for every Qt program) is
            // still the folder last used, the dialog open or closed.
            EXPECT_EQ(keptByQt(), lastUrl);
            auto* note = dialog->findChild<QLabel*>(QStringLiteral("startFolderNote"));
            ASSERT_NE(note, nullptr);
            EXPECT_TRUE(note->text().endsWith(QString::fromStdString(last.string())));
            EXPECT_FALSE(inkBounds(dialog->grab().toImage(), boxIn(dialog, note)).isEmpty());
            press(XK_a);
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            EXPECT_TRUE(field->text().endsWith('a')) << field->text().toStdString();
            // Read once, with the dialog: a text of it that names no control,
            // as AT-SPI shows it; no notification says it again.
            int read = 0;
            walkAccessibleTree(
                QAccessible::queryAccessibleInterface(dialog), [&](QAccessibleInterface* each) {
                    read += each->role() == QAccessible::StaticText && !each->state().invisible &&
                            each->relations(QAccessible::Label).isEmpty() &&
                            each->text(QAccessible::Name) == note->text();
                });
            EXPECT_EQ(read, 1);
            for (QWidget* each :
                 {static_cast<QWidget*>(dialog), static_cast<QWidget*>(window.get())}) {
                QWidget* said = spokenNoticeOf(each);
                EXPECT_TRUE(!said || QAccessible::queryAccessibleInterface(said)->text(
                                         QAccessible::Name) != note->text());
            }
            dialog->reject();
            settle();
            EXPECT_EQ(keptByQt(), lastUrl);
        }
        EXPECT_TRUE(until([] { return lookUpsAwaited("folder look-up") <= 1; }));
        EXPECT_FALSE(stopped.goOn()) << "the window thread waited on the mount";
        EXPECT_TRUE(until([] { return lookUpsAwaited("folder look-up") == 0; }));
    }
    settle();
    // The program ending (its last dialog going with it) leaves it so too.
    window.reset();
    EXPECT_EQ(keptByQt(), lastUrl);
    MountRights::unmount(mount);
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
        if (!opened)
            return false;
        // What the window manager told the dialog as it gave it the keyboard
        // read first, as it is long before a user could go elsewhere: read
        // later, the dialog would take the keyboard back at that old time.
        settle();
        if (away && !goToTheOtherProgram())
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
