// The tray for real: trayer (an XEmbed tray) on the private X server hosts the
// icon, and clicks on it open and close the panel next to it. Without a tray
// the main window opens at start instead and offers the panel; a tray started
// later gets the icon. Clicks and keys go through xdotool, what the user sees
// is read from the server's pixels.

#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "models/color/gamma_ramp.hpp"
#include "models/settings/quorvane_preferences.hpp"
#include "x11/application_process.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

using testing::eventually;
using testing::LaunchedProcess;

using Shown = testing::ShownWindow;

bool haveProgram(const char* path) {
    return ::access(path, X_OK) == 0;
}

// A frame lies wholly on the output.
::testing::AssertionResult inside(const Shown& frame, const Shown& output) {
    if (frame.x >= output.x && frame.y >= output.y &&
        frame.x + frame.width <= output.x + output.width &&
        frame.y + frame.height <= output.y + output.height)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "frame " << frame.width << "x" << frame.height << "+"
                                         << frame.x << "+" << frame.y << " leaves the output";
}

class EdgeDock;

class TrayTest : public testing::XServerTest {
  protected:
    void TearDown() override {
        application.reset();
        if (connection)
            resetRampsToIdentity();
        if (windowManager) {
            windowManager->signal(SIGTERM);
            EXPECT_TRUE(windowManager->waitFor());
            windowManager.reset();
            forgetWindowManager();
        }
        if (!tray)
            return;
        tray.reset();
        // The server gives the tray's selection up only once it has noticed
        // that the tray is gone: the next test must find no tray.
        EXPECT_TRUE(eventually(
            [&] { return XGetSelectionOwner(connection->display(), traySelection()) == None; }));
    }

    Atom traySelection() { return connection->atom("_NET_SYSTEM_TRAY_S0"); }

    // Starts trayer and waits until it has told the clients that it is the
    // tray (MANAGER on the root window). A tray takes the selection first and
    // tells only after; a program that starts in between docks at once and
    // then again on the news, and Qt builds a new icon window for that: a
    // click on the first one is lost. On the output numbered `monitor`;
    // `extra` arguments make it a dock.
    bool startTray(const std::string& monitor = "primary",
                   const std::vector<std::string>& extra = {}) {
        Display* display = connection->display();
        const Window root = connection->root();
        const Atom manager = connection->atom("MANAGER");
        const Atom selection = traySelection();
        XSelectInput(display, root, StructureNotifyMask);
        XSync(display, False);
        std::vector<std::string> arguments{"--edge",      "top",   "--align",   "right",
                                           "--widthtype", "pixel", "--width",   "120",
                                           "--height",    "28",    "--monitor", monitor};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        tray = std::make_unique<LaunchedProcess>("/usr/bin/trayer", arguments,
                                                 home.environment(displayName), home.log());
        const bool told = eventually([&] {
            XEvent news{};
            while (XCheckTypedWindowEvent(display, root, ClientMessage, &news)) {
                if (news.xclient.message_type == manager &&
                    static_cast<Atom>(news.xclient.data.l[1]) == selection)
                    return true;
            }
            return false;
        });
        XSelectInput(display, root, NoEventMask);
        return told;
    }

    // Starts openbox and waits until it manages the screen (holds the
    // window manager's selection).
    bool startWindowManager() {
        windowManager = std::make_unique<LaunchedProcess>(
            "/usr/bin/openbox", std::vector<std::string>{"--sm-disable"},
            home.environment(displayName), home.log());
        return eventually([&] {
            return XGetSelectionOwner(connection->display(), connection->atom("WM_S0")) != None;
        });
    }

    // A window manager that ended leaves its news on the root window (that
    // it manages the screen, its work area): taken off, so the next test
    // finds no manager.
    void forgetWindowManager() {
        Display* display = connection->display();
        int count = 0;
        Atom* atoms = XListProperties(display, connection->root(), &count);
        for (int index = 0; index < count; ++index) {
            char* name = XGetAtomName(display, atoms[index]);
            const std::string_view named = name ? name : "";
            if (named.starts_with("_NET_") || named.starts_with("_OB_"))
                XDeleteProperty(display, connection->root(), atoms[index]);
            XFree(name);
        }
        XFree(atoms);
        XSync(display, False);
    }

    // The whole window the user sees, its frame included: the window
    // manager's frame around `window`, or the window itself.
    Shown frameOf(const Shown& window) {
        Display* display = connection->display();
        Window current = window.id;
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        while (XQueryTree(display, current, &root, &parent, &children, &count)) {
            XFree(children);
            if (parent == root)
                break;
            current = parent;
        }
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, current, &attributes);
        return {current, attributes.x, attributes.y, attributes.width + 2 * attributes.border_width,
                attributes.height + 2 * attributes.border_width};
    }

    // The frame of the application's one viewable window whose width lies in
    // the range, once the window manager framed it and it lies on `output`
    // (the program may correct its place once it knows its frame), else
    // where it stands.
    std::optional<Shown> frameOn(int minWidth, int maxWidth, const Shown& output) {
        std::optional<Shown> frame;
        eventually([&] {
            const auto window = viewableSized(minWidth, maxWidth);
            frame = window ? std::optional(frameOf(*window)) : std::nullopt;
            return frame && frame->id != window->id && inside(*frame, output);
        });
        return frame;
    }

    // The leftmost column right of `fromX` in the window's top `rows` rows
    // that differs from the background at `fromX`: the first control there.
    std::optional<int> firstMarkFrom(const Shown& window, int fromX, int rows) {
        const auto strip = settledStrip(window, rows);
        if (strip.empty())
            return std::nullopt;
        for (int x = fromX; x < window.width; ++x)
            for (int y = 0; y < rows; ++y)
                if (strip[y * window.width + x] != strip[y * window.width + fromX])
                    return x;
        return std::nullopt;
    }

    // The application's viewable windows (by _NET_WM_PID), in root
    // coordinates.
    std::vector<Shown> viewable() {
        if (!application)
            return {};
        return viewableWindowsOf(application->pid());
    }

    // Whether every window of the application stands inside the area, its
    // frame included.
    ::testing::AssertionResult everyWindowInside(const Shown& area) {
        for (const auto& window : viewable())
            if (auto result = inside(frameOf(window), area); !result)
                return result;
        return ::testing::AssertionSuccess();
    }

    // The application's one viewable window whose width lies in the range:
    // the tray icon, the panel or the main window.
    std::optional<Shown> viewableSized(int minWidth, int maxWidth) {
        for (const auto& window : viewable())
            if (window.width >= minWidth && window.width <= maxWidth)
                return window;
        return std::nullopt;
    }

    // The tray icon once the tray has stopped moving it: embedding maps the
    // icon first and places it after, so a click aimed at its first place can
    // land beside it on a busy machine.
    std::optional<Shown> settledIcon() {
        std::optional<Shown> last;
        int unchanged = 0;
        const bool settled = eventually([&] {
            const auto now = viewableSized(1, 64);
            const bool same = now && last && now->x == last->x && now->y == last->y &&
                              now->width == last->width && now->height == last->height;
            unchanged = same ? unchanged + 1 : 0;
            last = now;
            return unchanged >= 10;
        });
        return settled ? last : std::nullopt;
    }

    void xdotool(const std::string& arguments) {
        const std::string command = "DISPLAY=" + displayName + " xdotool " + arguments;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    // Waits until the application has read every event the server sent it
    // so far, the pointer's moves among them.
    bool caughtUp(Window window) {
        return XServerTest::caughtUp(window, [](const auto& done) { return eventually(done); });
    }

    // Moves the application's `window` to `x`, `y` as its user drags it, and
    // waits until the application has heard of it: a window manager tells
    // a window it moved by a ConfigureNotify it sends (which the test hears
    // too, and which may come after the frame stands there), the server
    // tells a window nobody manages itself; an answer to a ping after that
    // says the application read it.
    ::testing::AssertionResult movedAndHeard(Window window, int x, int y) {
        // A user drags a window they have seen: once the application has
        // taken up its showing and what that left it to do. Moved before,
        // a window is still to be fitted to the output it then stands on.
        if (!caughtUp(window) || !caughtUp(window))
            return ::testing::AssertionFailure() << "the application did not answer";
        Display* display = connection->display();
        const bool managed = XGetSelectionOwner(display, connection->atom("WM_S0")) != None;
        XSelectInput(display, window, StructureNotifyMask);
        XSync(display, False);
        const std::string command = "DISPLAY=" + displayName + " xdotool windowmove " +
                                    std::to_string(window) + " " + std::to_string(x) + " " +
                                    std::to_string(y);
        const bool moved = std::system(command.c_str()) == 0;
        const bool told =
            moved && eventually([&] {
                XEvent event{};
                while (XCheckTypedWindowEvent(display, window, ConfigureNotify, &event)) {
                    const auto& told = event.xconfigure;
                    if ((told.send_event || !managed) && told.x == x && told.y == y)
                        return true;
                }
                return false;
            });
        XSelectInput(display, window, NoEventMask);
        if (!told)
            return ::testing::AssertionFailure()
                   << command << ": the window heard of no move there";
        if (!caughtUp(window))
            return ::testing::AssertionFailure() << "the application did not answer";
        return ::testing::AssertionSuccess();
    }

    // Whether the window manager has read every request and event sent to
    // it so far: it answers a question about the frame it would give a
    // window (an unmapped one of the test's) once it reads it.
    bool windowManagerCaughtUp() {
        Display* display = connection->display();
        const Window asked = XCreateSimpleWindow(display, connection->root(), 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(display, asked, PropertyChangeMask);
        XEvent question{};
        question.xclient.type = ClientMessage;
        question.xclient.window = asked;
        question.xclient.message_type = connection->atom("_NET_REQUEST_FRAME_EXTENTS");
        question.xclient.format = 32;
        XSendEvent(display, connection->root(), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &question);
        XFlush(display);
        const Atom extents = connection->atom("_NET_FRAME_EXTENTS");
        const bool answered = eventually([&] {
            XEvent answer{};
            while (XCheckTypedWindowEvent(display, asked, PropertyNotify, &answer))
                if (answer.xproperty.atom == extents)
                    return true;
            return false;
        });
        XDestroyWindow(display, asked);
        XSync(display, False);
        return answered;
    }

    // Moves the application's `window` with the window manager's keys, as
    // the Move of its window menu (Alt+Space) does: `keys`, then Return.
    // Waits until the application has heard where the move ended.
    ::testing::AssertionResult keyMovedAndHeard(Window window, const std::string& keys) {
        if (!caughtUp(window) || !caughtUp(window))
            return ::testing::AssertionFailure() << "the application did not answer";
        XEvent start{};
        start.xclient.type = ClientMessage;
        start.xclient.window = window;
        start.xclient.message_type = connection->atom("_NET_WM_MOVERESIZE");
        start.xclient.format = 32;
        start.xclient.data.l[2] = 10;  // a move by the keyboard
        start.xclient.data.l[4] = 1;   // asked by a program
        XSendEvent(connection->display(), connection->root(), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &start);
        // It holds the keyboard once it has read that; it tells the window
        // where the move ended before it reads what comes after the keys.
        if (!windowManagerCaughtUp())
            return ::testing::AssertionFailure() << "the window manager did not answer";
        xdotool("key " + keys + " Return");
        if (!windowManagerCaughtUp() || !caughtUp(window))
            return ::testing::AssertionFailure() << "the move was not heard";
        return ::testing::AssertionSuccess();
    }

    void clickAt(const Shown& window) {
        xdotool("mousemove " + std::to_string(window.x + window.width / 2) + " " +
                std::to_string(window.y + window.height / 2) + " click 1");
    }

    // The pixels of the window's top strip, row by row.
    std::vector<unsigned long> topStrip(const Shown& window, int height) {
        XImage* image =
            XGetImage(connection->display(), window.id, 0, 0, static_cast<unsigned>(window.width),
                      static_cast<unsigned>(height), AllPlanes, ZPixmap);
        std::vector<unsigned long> pixels;
        if (!image)
            return pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < window.width; ++x)
                pixels.push_back(XGetPixel(image, x, y));
        XDestroyImage(image);
        return pixels;
    }

    // The strip once it has stopped changing, the window drawn: once its
    // program has read every event so far (the map's expose among them,
    // which it draws at once) and taken up what those left to do.
    std::vector<unsigned long> settledStrip(const Shown& window, int height) {
        if (!caughtUp(window.id) || !caughtUp(window.id))
            return {};
        std::vector<unsigned long> last;
        int unchanged = 0;
        eventually([&] {
            auto now = topStrip(window, height);
            unchanged = !now.empty() && now == last ? unchanged + 1 : 0;
            last = std::move(now);
            return unchanged >= 10;
        });
        return last;
    }

    // Clicks the main window's header control that opens the panel (the
    // first mark right of its header's middle, at `scale`), the pointer
    // first moved off the header.
    bool clickPanelControl(const Shown& window, int scale = 1) {
        xdotool("mousemove " + std::to_string(window.x + 40 * scale) + " " +
                std::to_string(window.y + window.height - 40 * scale));
        const auto control = firstMarkFrom(window, window.width / 2, 60 * scale);
        if (!control)
            return false;
        xdotool("mousemove " + std::to_string(window.x + *control + 6 * scale) + " " +
                std::to_string(window.y + 30 * scale) + " click 1");
        return true;
    }

    // Opens the panel from the main window (between 800 and 1000 pixels
    // wide at `scale`) and returns the small window's frame once it lies on
    // `output`.
    std::optional<Shown> openedPanelOn(const Shown& output, int scale = 1) {
        const auto window = viewableSized(800 * scale, 1000 * scale);
        if (!window || !clickPanelControl(*window, scale))
            return std::nullopt;
        return frameOn(300 * scale, 600 * scale, output);
    }

    // What a window manager sends when the window's close button is pressed.
    void closeAsWindowManager(Window window) {
        XEvent close{};
        close.xclient.type = ClientMessage;
        close.xclient.window = window;
        close.xclient.message_type = connection->atom("WM_PROTOCOLS");
        close.xclient.format = 32;
        close.xclient.data.l[0] = static_cast<long>(connection->atom("WM_DELETE_WINDOW"));
        close.xclient.data.l[1] = CurrentTime;
        XSendEvent(connection->display(), window, False, NoEventMask, &close);
        XFlush(connection->display());
    }

    void startApplication(const std::vector<std::string>& environment = {}) {
        application = std::make_unique<LaunchedProcess>(
            QUORVANE_EXECUTABLE, std::vector<std::string>{},
            home.environment(displayName, environment), home.log());
    }

    // Starts openbox, then the application; its main window once framed on
    // `output`, where the window manager opens it.
    std::optional<Shown> mainWindowUnderWindowManager(const Shown& output) {
        if (!startWindowManager())
            return std::nullopt;
        startApplication();
        if (!frameOn(800, 1000, output))
            return std::nullopt;
        return viewableSized(800, 1000);
    }

    // Starts a tray, then the application; its icon once settled there.
    std::optional<Shown> startedInTray() {
        if (!startTray())
            return std::nullopt;
        startApplication();
        return settledIcon();
    }

    // Started in a tray, its main window shown by a later launch and its
    // popup opened from the icon: the main window and the popup, once both
    // are viewable.
    std::optional<std::pair<Shown, Shown>> mainWindowAndPopupInTray() {
        const auto icon = startedInTray();
        if (!icon)
            return std::nullopt;
        LaunchedProcess(QUORVANE_EXECUTABLE, {}, home.environment(displayName), home.log())
            .waitFor();
        std::optional<Shown> window;
        std::optional<Shown> popup;
        if (!eventually([&] { return (window = viewableSized(600, 4000)).has_value(); }))
            return std::nullopt;
        clickAt(*icon);
        if (!eventually([&] { return (popup = viewableSized(300, 600)).has_value(); }))
            return std::nullopt;
        return std::pair{*window, *popup};
    }

    // Starts the application and waits for its main window (its width in
    // the range) to be viewable.
    std::optional<Shown> startedMainWindow(int minWidth, int maxWidth) {
        startApplication();
        std::optional<Shown> window;
        eventually([&] { return (window = viewableSized(minWidth, maxWidth)).has_value(); });
        return window;
    }

    // Opens the settings window with the main window's header gear, last
    // at its trailing edge.
    std::optional<Shown> openedSettings(const Shown& window) {
        xdotool("mousemove " + std::to_string(window.x + window.width - 32) + " " +
                std::to_string(window.y + 25) + " click 1");
        std::optional<Shown> settings;
        eventually([&] { return (settings = viewableSized(600, 720)).has_value(); });
        return settings;
    }

    // Opens the settings window with the main window's header gear at
    // `scale` and returns it once shown, whatever its width.
    std::optional<Shown> openedSettingsBeside(const Shown& window, double scale = 1) {
        xdotool("mousemove " + std::to_string(window.x + window.width - std::lround(32 * scale)) +
                " " + std::to_string(window.y + std::lround(25 * scale)) + " click 1");
        std::optional<Shown> settings;
        eventually([&] {
            for (const auto& shown : viewable())
                if (shown.id != window.id && shown.width >= std::lround(600 * scale))
                    settings = shown;
            return settings.has_value();
        });
        return settings;
    }

    // Opens the report sheet from the settings window (its preview is five
    // controls before the text size picker the window opens on: back past
    // the way to the main window and the recovery card's) and returns it
    // once shown: the one window that is neither of `others`.
    std::optional<Shown> openedReportSheet(const Shown& settings, std::vector<Window> others) {
        xdotool("windowfocus --sync " + std::to_string(settings.id) +
                " key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space");
        others.push_back(settings.id);
        std::optional<Shown> sheet;
        eventually([&] {
            for (const auto& shown : viewable())
                if (std::find(others.begin(), others.end(), shown.id) == others.end())
                    sheet = shown;
            return sheet.has_value();
        });
        return sheet;
    }

    // Whether the window's inside is at least the smallest size it tells
    // the window manager, in device pixels, once the window manager sized it.
    ::testing::AssertionResult keepsItsMinimum(const Shown& window) {
        XSizeHints hints{};
        long supplied = 0;
        XWindowAttributes attributes{};
        const bool read = eventually([&] {
            return XGetWMNormalHints(connection->display(), window.id, &hints, &supplied) &&
                   (hints.flags & PMinSize) != 0 &&
                   XGetWindowAttributes(connection->display(), window.id, &attributes) &&
                   attributes.width >= hints.min_width && attributes.height >= hints.min_height;
        });
        if (read)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << attributes.width << "x" << attributes.height << " for a smallest size of "
               << hints.min_width << "x" << hints.min_height;
    }

    // The frame of a window once it stands inside `area` (the program may
    // correct its place once it knows its frame), else where it stands.
    Shown frameInside(const Shown& window, const Shown& area) {
        Shown frame;
        eventually([&] { return inside(frame = frameOf(window), area); });
        return frame;
    }

    // Saves a record holding only the text size `size`, as the panel's menu
    // or an earlier run leaves it.
    // With `presetURLs`, URLs may apply presets too.
    void writeTextSize(QuorvaneTextSize size, bool presetURLs = false) {
        QuorvanePreferences preferences;
        preferences.textSize = size;
        preferences.urlPresetAutomationEnabled = presetURLs;
        home.writePreferences(*preferences.encoded());
    }

    // Lets URLs apply presets, so that a quit has something to hand back.
    void allowPresetURLs() {
        QuorvanePreferences preferences;
        preferences.urlPresetAutomationEnabled = true;
        home.writePreferences(*preferences.encoded());
    }

    // Puts the night preset on every output through the running program.
    void applyNightPreset() {
        LaunchedProcess preset(QUORVANE_EXECUTABLE,
                               {"quorvane://apply-safe-preset?preset=night&scope=all-visible"},
                               home.environment(displayName), home.log());
        ASSERT_EQ(preset.waitFor(), 0) << home.logText();
        ASSERT_TRUE(eventually([&] { return !showsIdentity("DUMMY0"); }));
    }

    bool showsIdentity(const char* name) {
        const auto ramp = currentRamp(name);
        return ramp && *ramp == GammaRamp::identity(ramp->size());
    }

    // Starts the application and opens the settings window over its main
    // window; listed as managed now if `listNow` (the application then hears
    // of it), the dock's strip then grows over the settings window: whether
    // every window ends inside the new work area.
    ::testing::AssertionResult windowsFollowTheDocksGrowth(EdgeDock& dock, bool listNow = false);

    testing::ApplicationHome home;
    std::unique_ptr<LaunchedProcess> tray;
    std::unique_ptr<LaunchedProcess> windowManager;
    std::unique_ptr<LaunchedProcess> application;
};

TEST_F(TrayTest, AClickOnTheTrayIconOpensThePanelBesideItAndASecondClickOrEscapeClosesIt) {
    if (!haveProgram("/usr/bin/trayer") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "trayer and xdotool are needed";
    const auto icon = startedInTray();
    ASSERT_TRUE(icon.has_value()) << home.logText();
    // With a tray the program starts quietly in it.
    EXPECT_FALSE(viewableSized(600, 4000));

    clickAt(*icon);
    std::optional<Shown> panel;
    ASSERT_TRUE(eventually([&] { return (panel = viewableSized(300, 600)).has_value(); }))
        << home.logText();
    // Right under the tray at the top edge, inside the primary screen.
    EXPECT_GE(panel->y, icon->y + icon->height);
    EXPECT_LE(panel->y, icon->y + icon->height + 16);
    EXPECT_LE(panel->x + panel->width, 1920);
    EXPECT_LE(panel->x, icon->x);

    // Off the icon and back: the closing click then starts a new click
    // sequence for the program, so the click right after it usually counts
    // as a double click, which must open the panel again all the same. The
    // program must have seen the pointer away first: a move it reads only
    // with the move back is dropped, and the closing click then lands where
    // the opening one did.
    xdotool("mousemove " + std::to_string(icon->x - 200) + " " + std::to_string(icon->y + 300));
    ASSERT_TRUE(caughtUp(icon->id));
    clickAt(*icon);
    EXPECT_TRUE(eventually([&] { return !viewableSized(300, 600); })) << home.logText();

    clickAt(*icon);
    ASSERT_TRUE(eventually([&] { return viewableSized(300, 600).has_value(); })) << home.logText();
    xdotool("key Escape");
    EXPECT_TRUE(eventually([&] { return !viewableSized(300, 600); }));
}

TEST_F(TrayTest, WithoutATrayTheMainWindowOpensAtStart) {
    ASSERT_FALSE(XGetSelectionOwner(connection->display(), traySelection()));
    const auto window = startedMainWindow(600, 4000);
    ASSERT_TRUE(window) << home.logText();
    EXPECT_EQ(window->width, 840);
    EXPECT_EQ(window->height, 620);
}

TEST_F(TrayTest, ATrayStartedLaterGetsTheIconAndTheMainWindowOffersThePanelWhileThereIsNone) {
    if (!haveProgram("/usr/bin/trayer") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "trayer and xdotool are needed";
    ASSERT_FALSE(XGetSelectionOwner(connection->display(), traySelection()));
    const auto window = startedMainWindow(600, 4000);
    ASSERT_TRUE(window) << home.logText();
    // The pointer away from every control, so no hover is drawn.
    xdotool("mousemove 1900 1070");
    constexpr int kHeader = 48;
    const auto offered = settledStrip(*window, kHeader);
    ASSERT_FALSE(offered.empty());

    ASSERT_TRUE(startTray()) << home.logText();
    const auto icon = settledIcon();
    ASSERT_TRUE(icon.has_value()) << home.logText();
    // Once the application looks for a tray again (every second), the
    // header drops its panel control: the pixels that change are where it
    // was.
    std::vector<unsigned long> withTray;
    ASSERT_TRUE(eventually([&] {
        withTray = topStrip(*window, kHeader);
        return withTray.size() == offered.size() && withTray != offered;
    }));
    int left = window->width;
    int right = -1;
    int top = kHeader;
    int bottom = -1;
    for (std::size_t index = 0; index < offered.size(); ++index) {
        if (offered[index] == withTray[index])
            continue;
        const int x = static_cast<int>(index) % window->width;
        const int y = static_cast<int>(index) / window->width;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    EXPECT_LE(right - left, 28);
    EXPECT_GT(left, window->width / 2);

    // The tray gone, the control is back; pressed, it opens the panel as a
    // small window under it, on the screen.
    tray.reset();
    ASSERT_TRUE(eventually(
        [&] { return XGetSelectionOwner(connection->display(), traySelection()) == None; }));
    EXPECT_TRUE(eventually([&] { return topStrip(*window, kHeader) == offered; }));
    const int controlX = window->x + (left + right) / 2;
    const int controlY = window->y + (top + bottom) / 2;
    xdotool("mousemove " + std::to_string(controlX) + " " + std::to_string(controlY) + " click 1");
    std::optional<Shown> panel;
    ASSERT_TRUE(eventually([&] { return (panel = viewableSized(300, 600)).has_value(); }))
        << home.logText();
    EXPECT_GE(panel->y, window->y + bottom);
    EXPECT_LE(panel->x, controlX);
    EXPECT_GE(panel->x + panel->width, controlX);
    EXPECT_LE(panel->x + panel->width, 1920);
}

// Without a tray the panel's small window counts as a window: the main
// window closed beside it leaves the program running with every output's
// correction; the small window closed last ends it.
TEST_F(TrayTest, WithoutATrayTheProgramEndsOnlyOnceThePanelsSmallWindowClosesLast) {
    if (!haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "xdotool is needed";
    ASSERT_FALSE(XGetSelectionOwner(connection->display(), traySelection()));
    testing::runQuorvane({"cli", "apply-safe-preset", "night", "--all-visible"}, home, displayName);
    const auto corrected = rampOf("DUMMY0");
    ASSERT_NE(corrected, GammaRamp::identity(corrected.size()));
    const auto window = startedMainWindow(600, 4000);
    ASSERT_TRUE(window) << home.logText();
    ASSERT_TRUE(clickPanelControl(*window));
    std::optional<Shown> panel;
    ASSERT_TRUE(eventually([&] { return (panel = viewableSized(300, 600)).has_value(); }));

    closeAsWindowManager(window->id);
    ASSERT_TRUE(eventually([&] { return !viewableSized(600, 4000); }));
    ASSERT_TRUE(caughtUp(panel->id) && caughtUp(panel->id)) << home.logText();
    EXPECT_TRUE(viewableSized(300, 600));
    EXPECT_EQ(rampOf("DUMMY0"), corrected);
    xdotool("windowfocus --sync " + std::to_string(panel->id) + " key Escape");
    EXPECT_EQ(application->waitFor(), 0);
}

// Without a tray the settings window counts as a window too: the main window
// closed beside it leaves the program running; the settings window closed
// last ends it.
TEST_F(TrayTest, WithoutATrayTheProgramEndsOnceTheSettingsWindowClosesLast) {
    if (!haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "xdotool is needed";
    ASSERT_FALSE(XGetSelectionOwner(connection->display(), traySelection()));
    const auto window = startedMainWindow(800, 900);
    ASSERT_TRUE(window) << home.logText();
    const auto settings = openedSettings(*window);
    ASSERT_TRUE(settings) << home.logText();

    closeAsWindowManager(window->id);
    ASSERT_TRUE(eventually([&] { return !viewableSized(800, 900); }));
    ASSERT_TRUE(caughtUp(settings->id) && caughtUp(settings->id)) << home.logText();
    EXPECT_TRUE(viewableSized(600, 720));
    xdotool("windowfocus --sync " + std::to_string(settings->id) + " key Escape");
    EXPECT_EQ(application->waitFor(), 0) << home.logText();
}

// The tray went while its popup was open: once the popup, the last surface
// shown, closes, the main window opens, so the program never runs with no
// window and no icon. The main window shows meanwhile only to tell when the
// program has seen the tray go: its header offers the panel then.
TEST_F(TrayTest, ATrayGoneWhileThePopupIsOpenLeavesTheMainWindowOnceThePopupClosesLast) {
    if (!haveProgram("/usr/bin/trayer") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "trayer and xdotool are needed";
    const auto shown = mainWindowAndPopupInTray();
    ASSERT_TRUE(shown) << home.logText();
    const auto& [window, popup] = *shown;
    const auto withTray = settledStrip(window, 32);

    tray.reset();
    ASSERT_TRUE(eventually([&] { return topStrip(window, 32) != withTray; }));
    closeAsWindowManager(window.id);
    ASSERT_TRUE(eventually([&] { return !viewableSized(600, 4000); }));
    ASSERT_TRUE(caughtUp(popup.id));
    xdotool("key Escape");
    ASSERT_TRUE(eventually([&] { return !viewableSized(300, 600); }));
    EXPECT_TRUE(eventually([&] { return viewableSized(600, 4000).has_value(); }));
}

// A popup opened and closed before its tray went is no surface of the
// moment: the main window, closed last after the tray went, ends the program.
TEST_F(TrayTest, ATrayGoneAfterThePopupClosedLeavesTheMainWindowClosedLastEndingTheProgram) {
    if (!haveProgram("/usr/bin/trayer") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "trayer and xdotool are needed";
    const auto shown = mainWindowAndPopupInTray();
    ASSERT_TRUE(shown) << home.logText();
    const auto& window = shown->first;
    xdotool("key Escape");
    ASSERT_TRUE(eventually([&] { return !viewableSized(300, 600); }));
    const auto withTray = settledStrip(window, 32);

    tray.reset();
    ASSERT_TRUE(eventually([&] { return topStrip(window, 32) != withTray; }));
    closeAsWindowManager(window.id);
    EXPECT_EQ(application->waitFor(), 0) << home.logText();
}

TEST_F(TrayTest, ThePanelAtTheRightEdgeGrowsLeftWhenTheTextSizeGrowsWhileItIsOpen) {
    if (!haveProgram("/usr/bin/trayer") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "trayer and xdotool are needed";
    writeTextSize(QuorvaneTextSize::standard);
    ASSERT_TRUE(startTray()) << home.logText();
    startApplication();
    const auto icon = settledIcon();
    ASSERT_TRUE(icon.has_value()) << home.logText();
    clickAt(*icon);
    std::optional<Shown> panel;
    ASSERT_TRUE(eventually([&] { return (panel = viewableSized(300, 600)).has_value(); }))
        << home.logText();
    ASSERT_EQ(panel->x + panel->width, 1920);

    // The store takes the largest text size (as the panel's own menu gives
    // it) while the panel is open.
    writeTextSize(QuorvaneTextSize::veryLarge);
    ASSERT_TRUE(eventually([&] {
        panel = viewableSized(300, 600);
        return panel && panel->width == 500;
    })) << home.logText();
    EXPECT_TRUE(eventually([&] {
        panel = viewableSized(300, 600);
        return panel && panel->x == 1420;
    }));
    EXPECT_GE(panel->y, icon->y + icon->height);
}

TEST_F(TrayTest, EscapeAndCtrlWCloseTheSettingsWindowAndCtrlWTheMainWindow) {
    if (!haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "xdotool is needed";
    ASSERT_FALSE(XGetSelectionOwner(connection->display(), traySelection()));
    const auto window = startedMainWindow(800, 900);
    ASSERT_TRUE(window) << home.logText();
    for (const char* keys : {"Escape", "ctrl+w"}) {
        const auto settings = openedSettings(*window);
        ASSERT_TRUE(settings) << keys << home.logText();
        // Without a window manager the keyboard focus is given by hand.
        xdotool("windowfocus --sync " + std::to_string(settings->id) + " key " + keys);
        EXPECT_TRUE(eventually([&] { return viewable().size() == 1; })) << keys;
    }
    ASSERT_EQ(viewable().front().id, window->id);

    // The last window closed: without a tray the program ends.
    xdotool("windowfocus --sync " + std::to_string(window->id) + " key ctrl+w");
    EXPECT_EQ(application->waitFor(), 0) << home.logText();
}

constexpr Shown kPrimaryOutput{0, 0, 0, 1920, 1080};
constexpr Shown kLowOutput{0, 1920, 0, 1280, 720};
constexpr Shown kWideOutput{0, 3200, 0, 1600, 900};

// The window manager's work area (_NET_WORKAREA) on the output.
Shown workAreaOn(XConnection& connection, const Shown& output) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    Shown area = output;
    if (XGetWindowProperty(connection.display(), connection.root(),
                           connection.atom("_NET_WORKAREA"), 0, 4, False, XA_CARDINAL, &type,
                           &format, &count, &remaining, &data) == Success &&
        data && count == 4) {
        const auto* values = reinterpret_cast<const long*>(data);
        const int right = std::min<int>(output.x + output.width, values[0] + values[2]);
        const int bottom = std::min<int>(output.y + output.height, values[1] + values[3]);
        area.x = std::max<int>(output.x, values[0]);
        area.y = std::max<int>(output.y, values[1]);
        area.width = right - area.x;
        area.height = bottom - area.y;
    }
    if (data)
        XFree(data);
    return area;
}

// A plain window that keeps a strip at the top or the bottom of the primary
// output for itself, as a dock does; the strip can grow while the dock is
// shown, as a panel's does when it is made taller. It states its strip as
// docks do now (_NET_WM_STRUT_PARTIAL) or as older ones do, by its depth
// alone (_NET_WM_STRUT).
class EdgeDock {
  public:
    enum class Edge { top, bottom };
    enum class Strut { partial, older };

    EdgeDock(XConnection& connection, Edge edge, int depth, Strut strut = Strut::partial)
        : connection_(connection), edge_(edge), strut_(strut) {
        Display* display = connection.display();
        window_ = XCreateSimpleWindow(display, connection.root(), 0, 0, 1920, 1, 0, 0, 0);
        const Atom dock = connection.atom("_NET_WM_WINDOW_TYPE_DOCK");
        XChangeProperty(display, window_, connection.atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&dock), 1);
        keep(depth);
        XMapWindow(display, window_);
        XSync(display, False);
    }
    ~EdgeDock() {
        if (listed_)
            XDeleteProperty(connection_.display(), connection_.root(),
                            connection_.atom("_NET_CLIENT_LIST"));
        XDestroyWindow(connection_.display(), window_);
        XSync(connection_.display(), False);
    }
    EdgeDock(const EdgeDock&) = delete;
    EdgeDock& operator=(const EdgeDock&) = delete;

    // Keeps a strip `depth` pixels deep across the primary output's width.
    void keep(int depth) {
        depth_ = depth;
        Display* display = connection_.display();
        const bool top = edge_ == Edge::top;
        XMoveResizeWindow(display, window_, 0, top ? 0 : 1080 - depth, 1920,
                          static_cast<unsigned>(depth));
        // Its depth from the edge, over the whole width.
        long strut[12] = {};
        strut[top ? 2 : 3] = depth;
        strut[top ? 9 : 11] = 1919;
        const bool partial = strut_ == Strut::partial;
        XChangeProperty(display, window_,
                        connection_.atom(partial ? "_NET_WM_STRUT_PARTIAL" : "_NET_WM_STRUT"),
                        XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(strut), partial ? 12 : 4);
        XSync(display, False);
    }

    int depth() const { return depth_; }

    // Lists the dock as the one window managed, as a window manager that
    // tells no work area of its own would (taken off with the dock).
    void listAsManaged() {
        XChangeProperty(connection_.display(), connection_.root(),
                        connection_.atom("_NET_CLIENT_LIST"), XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&window_), 1);
        XSync(connection_.display(), False);
        listed_ = true;
    }

  private:
    XConnection& connection_;
    Edge edge_;
    Strut strut_;
    int depth_ = 0;
    Window window_ = 0;
    bool listed_ = false;
};

::testing::AssertionResult TrayTest::windowsFollowTheDocksGrowth(EdgeDock& dock, bool listNow) {
    const auto window = startedMainWindow(800, 900);
    if (!window)
        return ::testing::AssertionFailure() << "no main window";
    const auto settings = openedSettingsBeside(*window);
    if (!settings)
        return ::testing::AssertionFailure() << "no settings window";
    // Heard once listed: the windows leave its first strip.
    if (listNow) {
        dock.listAsManaged();
        const Shown first{0, 0, 0, 1920, 1080 - dock.depth()};
        if (!eventually([&] { return everyWindowInside(first); }))
            return ::testing::AssertionFailure() << "the listed dock was not heard";
    }
    if (!caughtUp(settings->id) || !caughtUp(settings->id))
        return ::testing::AssertionFailure() << "the application did not answer";
    const Shown frame = frameOf(*settings);
    const int depth = 1080 - (frame.y + frame.height) + 20;
    dock.keep(depth);
    const Shown area{0, 0, 0, 1920, 1080 - depth};
    eventually([&] { return everyWindowInside(area); });
    return everyWindowInside(area);
}

TEST_F(TrayTest, UnderAWindowManagerThePanelsSmallWindowStaysOnTheScreenOfItsMainWindow) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    writeTextSize(QuorvaneTextSize::veryLarge);
    ASSERT_TRUE(startWindowManager()) << home.logText();
    startApplication();
    const auto mainFrame = frameOn(800, 1000, kPrimaryOutput);
    ASSERT_TRUE(mainFrame) << home.logText();
    EXPECT_TRUE(inside(*mainFrame, kPrimaryOutput));

    const auto panel = openedPanelOn(kPrimaryOutput);
    ASSERT_TRUE(panel) << home.logText();
    EXPECT_TRUE(inside(*panel, kPrimaryOutput));

    // The main window on the 720-high output: the small window opens there
    // and fits it.
    xdotool("key Escape");
    ASSERT_TRUE(eventually([&] { return !viewableSized(300, 600); }));
    ASSERT_TRUE(movedAndHeard(viewableSized(800, 1000)->id, 1950, 40));
    const auto moved = frameOn(800, 1000, kLowOutput);
    ASSERT_TRUE(moved && inside(*moved, kLowOutput));
    const auto low = openedPanelOn(kLowOutput);
    ASSERT_TRUE(low) << home.logText();
    EXPECT_TRUE(inside(*low, kLowOutput));
}

TEST_F(TrayTest, AtTwiceTheScaleTheMainAndSettingsWindowsFitTheirScreenWithTheirFrames) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    ASSERT_TRUE(startWindowManager()) << home.logText();
    startApplication({"QT_SCALE_FACTOR=2"});
    // Twice the default width.
    const auto mainFrame = frameOn(1600, 1800, kPrimaryOutput);
    ASSERT_TRUE(mainFrame) << home.logText();
    EXPECT_TRUE(inside(*mainFrame, kPrimaryOutput));

    // The header's gear, last at its trailing edge.
    const auto window = viewableSized(1600, 1800);
    ASSERT_TRUE(window);
    xdotool("mousemove " + std::to_string(window->x + window->width - 64) + " " +
            std::to_string(window->y + 50) + " click 1");
    // Twice the standard text size's width.
    const auto settings = frameOn(1200, 1400, kPrimaryOutput);
    ASSERT_TRUE(settings) << home.logText();
    EXPECT_TRUE(inside(*settings, kPrimaryOutput));

    // Moved to the 720-high output, then given the largest text size: it
    // takes that output's height and no more than its width.
    const auto client = viewableSized(1200, 1400);
    ASSERT_TRUE(client);
    // The text size comes from another process: only once the application
    // has heard of the move is it where the application fits the window.
    ASSERT_TRUE(movedAndHeard(client->id, 1921, 0));
    ASSERT_TRUE(eventually([&] { return frameOf(*settings).x >= kLowOutput.x; }));
    writeTextSize(QuorvaneTextSize::veryLarge);
    Shown grown;
    eventually([&] {
        grown = frameOf(*settings);
        return grown.height < settings->height && inside(grown, kLowOutput);
    });
    EXPECT_LT(grown.height, settings->height);
    EXPECT_TRUE(inside(grown, kLowOutput));
}

// While hidden, Qt may forget the frame the window manager gave the small
// window: each opening, on either output, still stands inside its output.
TEST_F(TrayTest, AtTwiceTheScaleThePanelsSmallWindowOpensInsideItsOutputEveryTime) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    ASSERT_TRUE(startWindowManager()) << home.logText();
    startApplication({"QT_SCALE_FACTOR=2"});
    ASSERT_TRUE(frameOn(1600, 1800, kPrimaryOutput)) << home.logText();
    for (int opening = 0; opening < 8; ++opening) {
        SCOPED_TRACE(opening);
        const Shown& output = opening % 2 == 1 ? kLowOutput : kPrimaryOutput;
        ASSERT_TRUE(movedAndHeard(viewableSized(1600, 2000)->id, output.x + 30, 40));
        ASSERT_TRUE(eventually([&] {
            const auto window = viewableSized(1600, 2000);
            return window && window->x >= output.x && window->x < output.x + 100;
        }));
        const auto panel = openedPanelOn(output, 2);
        ASSERT_TRUE(panel) << home.logText();
        EXPECT_TRUE(inside(*panel, output));
        xdotool("key Escape");
        ASSERT_TRUE(eventually([&] { return !viewableSized(600, 1200); }));
    }
}

// A 40 px dock at the primary output's bottom, the largest text size: at
// every scale the main window, the panel's small window and the settings
// window stand inside the work area, frame included.
TEST_F(TrayTest, UnderADockEveryWindowStandsInsideTheWorkAreaAtEveryScale) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    writeTextSize(QuorvaneTextSize::veryLarge);
    // Mapped before the window manager starts, which takes it on with the
    // screen's other windows.
    const EdgeDock dock(*connection, EdgeDock::Edge::bottom, 40);
    ASSERT_TRUE(startWindowManager()) << home.logText();
    Shown area;
    ASSERT_TRUE(eventually(
        [&] { return (area = workAreaOn(*connection, kPrimaryOutput)).height == 1040; }));
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        startApplication({"QT_SCALE_FACTOR=" + std::to_string(scale)});
        const auto mainFrame = frameOn(800 * scale, 1000 * scale, area);
        ASSERT_TRUE(mainFrame) << home.logText();
        EXPECT_TRUE(inside(*mainFrame, area));
        const auto panel = openedPanelOn(area, scale);
        ASSERT_TRUE(panel) << home.logText();
        EXPECT_TRUE(inside(*panel, area));
        xdotool("key Escape");
        ASSERT_TRUE(eventually([&] { return viewable().size() == 1; }));

        const auto settings = openedSettingsBeside(viewable().front(), scale);
        ASSERT_TRUE(settings) << home.logText();
        Shown frame;
        eventually([&] { return inside(frame = frameOf(*settings), area); });
        EXPECT_TRUE(inside(frame, area));
        application->signal(SIGTERM);
        ASSERT_EQ(application->waitFor(), 0);
    }
}

// Windows open, then a dock comes at the top of their output: at every
// scale the main window and the settings window move out from under it,
// inside the new work area, frames included.
TEST_F(TrayTest, ADockThatComesWhileWindowsAreOpenMovesThemInsideTheNewWorkArea) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    writeTextSize(QuorvaneTextSize::veryLarge);
    ASSERT_TRUE(startWindowManager()) << home.logText();
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        startApplication({"QT_SCALE_FACTOR=" + std::to_string(scale)});
        ASSERT_TRUE(frameOn(800 * scale, 1000 * scale, kPrimaryOutput)) << home.logText();
        const auto settings =
            openedSettingsBeside(*viewableSized(800 * scale, 1000 * scale), scale);
        ASSERT_TRUE(settings) << home.logText();
        ASSERT_TRUE(eventually([&] { return everyWindowInside(kPrimaryOutput); }));
        ASSERT_TRUE(caughtUp(settings->id) && caughtUp(settings->id));
        // The dock's strip reaches over both windows.
        const int depth =
            std::max(frameOf(*settings).y, frameOf(*viewableSized(800 * scale, 1000 * scale)).y) +
            20;

        const EdgeDock dock(*connection, EdgeDock::Edge::top, depth);
        Shown area;
        ASSERT_TRUE(eventually(
            [&] { return (area = workAreaOn(*connection, kPrimaryOutput)).y == depth; }));
        eventually([&] { return everyWindowInside(area); });
        EXPECT_TRUE(everyWindowInside(area)) << home.logText();
        EXPECT_EQ(viewable().size(), 2U);
        application->signal(SIGTERM);
        ASSERT_EQ(application->waitFor(), 0);
    }
}

// A dock's strip grows under open windows (a panel made taller): the
// settings window and the main window its user moved down there both end
// inside the new work area.
TEST_F(TrayTest, ADocksStripThatGrowsUnderOpenWindowsMovesThemInsideTheNewWorkArea) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    writeTextSize(QuorvaneTextSize::veryLarge);
    EdgeDock dock(*connection, EdgeDock::Edge::bottom, 20);
    ASSERT_TRUE(startWindowManager()) << home.logText();
    Shown area;
    ASSERT_TRUE(eventually(
        [&] { return (area = workAreaOn(*connection, kPrimaryOutput)).height == 1060; }));
    startApplication();
    const auto mainFrame = frameOn(800, 1000, area);
    ASSERT_TRUE(mainFrame) << home.logText();
    const Shown window = *viewableSized(800, 1000);
    const auto settings = openedSettingsBeside(window);
    ASSERT_TRUE(settings) << home.logText();
    ASSERT_TRUE(eventually([&] { return everyWindowInside(area); }));
    ASSERT_TRUE(caughtUp(settings->id) && caughtUp(settings->id));
    ASSERT_TRUE(movedAndHeard(window.id, 200, 1060 - mainFrame->height + 20));
    ASSERT_TRUE(eventually([&] {
        const auto moved = frameOf(window);
        return moved.y + moved.height > 1040 && inside(moved, area);
    }));
    // The strip grows over both windows.
    const Shown settingsFrame = frameOf(*settings);
    const int depth = 1080 - (settingsFrame.y + settingsFrame.height) + 20;
    dock.keep(depth);
    ASSERT_TRUE(eventually(
        [&] { return (area = workAreaOn(*connection, kPrimaryOutput)).height == 1080 - depth; }));
    eventually([&] { return everyWindowInside(area); });
    EXPECT_TRUE(everyWindowInside(area)) << home.logText();
}

// The main window on the third output opens the settings window there;
// the output switched off, both move onto its nearest neighbour, the 720-high
// one, the settings window cut to it.
TEST_F(TrayTest, WindowsWhoseOutputGoesMoveInsideTheNearestOutputStillOn) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    writeTextSize(QuorvaneTextSize::veryLarge);
    const auto started = mainWindowUnderWindowManager(kPrimaryOutput);
    ASSERT_TRUE(started) << home.logText();
    const Shown window = *started;
    ASSERT_TRUE(movedAndHeard(window.id, 3250, 40));
    const auto moved = frameOn(800, 1000, kWideOutput);
    ASSERT_TRUE(moved && inside(*moved, kWideOutput));
    const auto opened = openedSettingsBeside(*viewableSized(800, 1000));
    ASSERT_TRUE(opened) << home.logText();
    EXPECT_TRUE(inside(frameOf(*opened), kWideOutput));

    const SwitchedOff off{*this, *output("DUMMY2", true)};
    switchOutput(off.output, false);
    EXPECT_TRUE(eventually([&] {
        return inside(frameOf(window), kLowOutput) && inside(frameOf(*opened), kLowOutput);
    })) << home.logText();
    EXPECT_TRUE(inside(frameOf(window), kLowOutput));
    EXPECT_TRUE(inside(frameOf(*opened), kLowOutput));
}

// A window manager that lists the windows it manages but tells no work area
// of its own: a dock's strip that grows is heard from the dock itself.
TEST_F(TrayTest, ADocksStripThatGrowsIsHeardFromTheDockItself) {
    if (!haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "xdotool is needed";
    writeTextSize(QuorvaneTextSize::veryLarge);
    EdgeDock dock(*connection, EdgeDock::Edge::bottom, 20);
    dock.listAsManaged();
    EXPECT_TRUE(windowsFollowTheDocksGrowth(dock)) << home.logText();
}

// The same of a dock that states its strip the older way, by depth alone.
TEST_F(TrayTest, ADocksOlderStrutThatGrowsIsHeardFromTheDockItself) {
    if (!haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "xdotool is needed";
    writeTextSize(QuorvaneTextSize::veryLarge);
    EdgeDock dock(*connection, EdgeDock::Edge::bottom, 20, EdgeDock::Strut::older);
    dock.listAsManaged();
    EXPECT_TRUE(windowsFollowTheDocksGrowth(dock)) << home.logText();
}

// A dock the window manager lists only once the application runs is heard
// from then on: its strip growing later moves the windows too.
TEST_F(TrayTest, ADockListedAfterTheApplicationStartedIsHeardWhenItsStripGrows) {
    if (!haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "xdotool is needed";
    writeTextSize(QuorvaneTextSize::veryLarge);
    EdgeDock dock(*connection, EdgeDock::Edge::bottom, 20);
    EXPECT_TRUE(windowsFollowTheDocksGrowth(dock, true)) << home.logText();
}

// Without a window manager at twice the scale, the settings window opened
// from a main window on the 720-high output is cut to that output as it
// shows, though its contents ask for more.
TEST_F(TrayTest, WithoutAWindowManagerAtTwiceTheScaleTheSettingsWindowOpensCutToTheLowOutput) {
    if (!haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "xdotool is needed";
    ASSERT_FALSE(XGetSelectionOwner(connection->display(), traySelection()));
    writeTextSize(QuorvaneTextSize::veryLarge);
    startApplication({"QT_SCALE_FACTOR=2"});
    std::optional<Shown> window;
    ASSERT_TRUE(eventually([&] { return (window = viewableSized(1600, 1800)).has_value(); }))
        << home.logText();
    ASSERT_TRUE(movedAndHeard(window->id, 1920, 0));
    ASSERT_TRUE(eventually([&] {
        window = viewableSized(1600, 1800);
        return window && window->x == 1920;
    }));
    // The application fits the moved window to its new output: the click
    // goes where the window stands once the application has caught up.
    ASSERT_TRUE(caughtUp(window->id) && caughtUp(window->id));
    for (const auto& shown : viewable())
        if (shown.id == window->id)
            window = shown;
    const auto settings = openedSettingsBeside(*window, 2);
    ASSERT_TRUE(settings) << home.logText();
    Shown frame;
    eventually([&] { return inside(frame = frameOf(*settings), kLowOutput); });
    EXPECT_TRUE(inside(frame, kLowOutput)) << home.logText();
}

// Started in a tray at twice the scale, no window manager: the main window
// shown later by a second launch asks for more than the output's height,
// and is cut to it as it shows, with nothing after to do it.
TEST_F(TrayTest, WithoutAWindowManagerTheMainWindowShownFromTheTrayLaterFitsItsOutput) {
    if (!haveProgram("/usr/bin/trayer") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "trayer and xdotool are needed";
    ASSERT_TRUE(startTray()) << home.logText();
    startApplication({"QT_SCALE_FACTOR=2"});
    ASSERT_TRUE(settledIcon()) << home.logText();
    LaunchedProcess(QUORVANE_EXECUTABLE, {}, home.environment(displayName), home.log()).waitFor();
    std::optional<Shown> window;
    ASSERT_TRUE(eventually([&] { return (window = viewableSized(1600, 1800)).has_value(); }))
        << home.logText();
    ASSERT_TRUE(caughtUp(window->id) && caughtUp(window->id));
    EXPECT_TRUE(inside(*viewableSized(1600, 1800), kPrimaryOutput));
}

// The settings window opens on the output of the main window that opens
// it; moved by its user to another output, closed and opened again, it
// comes back there, sized for that output.
TEST_F(TrayTest, TheSettingsWindowOpensOnItsOpenersOutputAndKeepsTheOneItsUserMovedItTo) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    writeTextSize(QuorvaneTextSize::veryLarge);
    const auto started = mainWindowUnderWindowManager(kPrimaryOutput);
    ASSERT_TRUE(started) << home.logText();
    ASSERT_TRUE(movedAndHeard(started->id, 1950, 40));
    ASSERT_TRUE(frameOn(800, 1000, kLowOutput));
    const Shown window = *viewableSized(800, 1000);
    const auto settings = openedSettingsBeside(window);
    ASSERT_TRUE(settings) << home.logText();
    EXPECT_TRUE(inside(frameOf(*settings), kLowOutput));

    // Moved once the program has placed it with its frame known: a move
    // before would race the program's own.
    ASSERT_TRUE(caughtUp(settings->id) && caughtUp(settings->id));
    ASSERT_TRUE(movedAndHeard(settings->id, 3250, 20));
    ASSERT_TRUE(eventually([&] { return inside(frameOf(*settings), kWideOutput); }));
    xdotool("windowfocus --sync " + std::to_string(settings->id) + " key Escape");
    ASSERT_TRUE(eventually([&] { return viewable().size() == 1; }));
    const auto again = openedSettingsBeside(window);
    ASSERT_TRUE(again) << home.logText();
    Shown frame;
    eventually([&] { return inside(frame = frameOf(*again), kWideOutput); });
    EXPECT_TRUE(inside(frame, kWideOutput));
    // Taller than the 720-high output it was first cut for.
    EXPECT_GT(frame.height, kLowOutput.height);
}

// A move of the main window's user: dragged onto `output`, else by the
// window manager's `keys` (none: not moved), ending on `output`.
struct MainWindowMove {
    Shown output;
    std::string keys;
};

struct MainWindowMoves {
    const char* name;
    const char* scale;
    QuorvaneTextSize textSize;
    std::vector<MainWindowMove> moves;
};

void PrintTo(const MainWindowMoves& row, std::ostream* out) {
    *out << row.name;
}

class TrayMoveTest : public TrayTest, public ::testing::WithParamInterface<MainWindowMoves> {};

// Started in a tray, the main window shown by a second launch and moved by
// its user, the first move too: dragged by its title bar or moved with the
// window manager's keys, onto another output or within one, at each scale.
// Closed and shown again, it comes back there, whole; at a whole scale, and
// shown again with no move at all, where it stood.
TEST_P(TrayMoveTest, TheMainWindowShownAgainFromTheTrayComesBackOnTheOutputItsUserMovedItTo) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/trayer") ||
        !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox, trayer and xdotool are needed";
    const MainWindowMoves& row = GetParam();
    const double scale = std::stod(row.scale);
    const auto width = [&](int pixels) { return static_cast<int>(pixels * scale); };
    writeTextSize(row.textSize);
    ASSERT_TRUE(startWindowManager()) << home.logText();
    ASSERT_TRUE(startTray()) << home.logText();
    startApplication({std::string("QT_SCALE_FACTOR=") + row.scale});
    ASSERT_TRUE(settledIcon()) << home.logText();
    const auto showAgain = [&] {
        LaunchedProcess(QUORVANE_EXECUTABLE, {}, home.environment(displayName), home.log())
            .waitFor();
        std::optional<Shown> window;
        eventually([&] { return (window = viewableSized(width(800), width(1000))).has_value(); });
        return window;
    };
    auto window = showAgain();
    ASSERT_TRUE(window) << home.logText();
    for (const MainWindowMove& move : row.moves) {
        SCOPED_TRACE(move.output.x);
        if (move.keys.empty()) {
            ASSERT_TRUE(movedAndHeard(window->id, move.output.x + 30, 40));
        } else if (move.keys != "none") {
            ASSERT_TRUE(keyMovedAndHeard(window->id, move.keys));
        }
        ASSERT_TRUE(frameOn(width(800), width(1000), move.output)) << home.logText();
        ASSERT_TRUE(caughtUp(window->id) && caughtUp(window->id));
        const Shown left = frameOf(*window);
        closeAsWindowManager(window->id);
        ASSERT_TRUE(eventually([&] { return !viewableSized(width(800), width(1000)); }));
        window = showAgain();
        ASSERT_TRUE(window) << home.logText();
        const Shown back = frameInside(*window, move.output);
        EXPECT_TRUE(inside(back, move.output)) << home.logText();
        // Left whole on its output, it comes back to the device pixel (a
        // place is told in logical pixels, each of one and a half or two
        // device pixels); left reaching past it, it is fitted there.
        if (inside(left, move.output)) {
            EXPECT_TRUE(std::abs(back.x - left.x) < scale && std::abs(back.y - left.y) < scale)
                << back.x << "," << back.y << " left at " << left.x << "," << left.y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachMove, TrayMoveTest,
    ::testing::Values(
        MainWindowMoves{"DraggedOntoEachOutputAtOneAndAHalf",
                        "1.5",
                        QuorvaneTextSize::veryLarge,
                        {{kLowOutput, ""}, {kWideOutput, ""}, {kPrimaryOutput, ""}}},
        MainWindowMoves{"DraggedOnceAtOne", "1", QuorvaneTextSize::standard, {{kLowOutput, ""}}},
        MainWindowMoves{"MovedByKeysOntoAnotherOutputAtOne",
                        "1",
                        QuorvaneTextSize::standard,
                        {{kLowOutput, "shift+Right shift+Right shift+Up"}}},
        MainWindowMoves{"MovedByKeysWithinItsOutputAtOne",
                        "1",
                        QuorvaneTextSize::veryLarge,
                        {{kPrimaryOutput, "Right Right Right"}}},
        MainWindowMoves{"MovedByKeysWithinItsOutputAtOneAndAHalf",
                        "1.5",
                        QuorvaneTextSize::standard,
                        {{kPrimaryOutput, "Right Right Right"}}},
        MainWindowMoves{"MovedByKeysWithinItsOutputAtTwice",
                        "2",
                        QuorvaneTextSize::standard,
                        {{kPrimaryOutput, "Right Right Right"}}},
        MainWindowMoves{
            "NotMovedAtTwice", "2", QuorvaneTextSize::standard, {{kPrimaryOutput, "none"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Qt told a place the X server does not have the settings window at (a
// ConfigureNotify sent in passing, as Qt reads one while a window maps):
// no move of its user's, so it opens again over its opener.
TEST_F(TrayTest, APlaceQtIsToldInPassingIsNoMoveOfTheUsers) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    const auto started = mainWindowUnderWindowManager(kPrimaryOutput);
    ASSERT_TRUE(started) << home.logText();
    const auto settings = openedSettingsBeside(*started);
    ASSERT_TRUE(settings) << home.logText();
    ASSERT_TRUE(caughtUp(settings->id) && caughtUp(settings->id));
    XEvent told{};
    told.xconfigure.type = ConfigureNotify;
    told.xconfigure.event = settings->id;
    told.xconfigure.window = settings->id;
    told.xconfigure.x = kWideOutput.x + 40;
    told.xconfigure.y = 40;
    told.xconfigure.width = settings->width;
    told.xconfigure.height = settings->height;
    XSendEvent(connection->display(), settings->id, False, StructureNotifyMask, &told);
    XFlush(connection->display());
    ASSERT_TRUE(caughtUp(settings->id) && caughtUp(settings->id));
    xdotool("windowfocus --sync " + std::to_string(settings->id) + " key Escape");
    ASSERT_TRUE(eventually([&] { return viewable().size() == 1; }));
    const auto again = openedSettingsBeside(*started);
    ASSERT_TRUE(again) << home.logText();
    EXPECT_TRUE(inside(frameInside(*again, kPrimaryOutput), kPrimaryOutput)) << home.logText();
}

// Nudged a few device pixels right as it opens, as a window manager may
// adjust a window it frames, at 1 and 1.5: that is no place its user chose,
// so the settings window opened again follows the main window to another
// output.
TEST_F(TrayTest, ASettingsWindowNudgedAsItOpensOpensAgainOverItsOpener) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    ASSERT_TRUE(startWindowManager()) << home.logText();
    for (const char* scale : {"1", "1.5"}) {
        SCOPED_TRACE(scale);
        const double factor = std::stod(scale);
        const auto scaled = [&](int pixels) { return static_cast<int>(pixels * factor); };
        startApplication({std::string("QT_SCALE_FACTOR=") + scale});
        ASSERT_TRUE(frameOn(scaled(800), scaled(1000), kPrimaryOutput)) << home.logText();
        const Shown window = *viewableSized(scaled(800), scaled(1000));
        const auto settings = openedSettingsBeside(window, factor);
        ASSERT_TRUE(settings) << home.logText();
        const Shown opened = frameOf(*settings);
        ASSERT_TRUE(movedAndHeard(settings->id, settings->x + 2, settings->y));
        ASSERT_TRUE(eventually([&] { return frameOf(*settings).x == opened.x + 2; }));
        ASSERT_TRUE(caughtUp(settings->id) && caughtUp(settings->id));
        xdotool("windowfocus --sync " + std::to_string(settings->id) + " key Escape");
        ASSERT_TRUE(eventually([&] { return viewable().size() == 1; }));

        // Mostly on the 720-high output (at 1.5 taller than it).
        ASSERT_TRUE(movedAndHeard(window.id, 1930, 40));
        std::optional<Shown> moved;
        ASSERT_TRUE(eventually([&] {
            moved = viewableSized(scaled(800), scaled(1000));
            return moved && moved->x >= kLowOutput.x;
        }));
        ASSERT_TRUE(caughtUp(moved->id) && caughtUp(moved->id));
        const auto again = openedSettingsBeside(*viewableSized(scaled(800), scaled(1000)), factor);
        ASSERT_TRUE(again) << home.logText();
        EXPECT_TRUE(inside(frameInside(*again, kLowOutput), kLowOutput)) << home.logText();
        application->signal(SIGTERM);
        ASSERT_EQ(application->waitFor(), 0);
    }
}

// The small window's frame is shorter than the main window's: after it was
// shown, the settings window opened from the main window is still placed
// by the program, never taken for one its user moved, so it follows the
// main window to another output.
TEST_F(TrayTest, TheSettingsWindowOpenedAfterTheSmallWindowWasShownFollowsItsOpener) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    writeTextSize(QuorvaneTextSize::veryLarge);
    const auto started = mainWindowUnderWindowManager(kPrimaryOutput);
    ASSERT_TRUE(started) << home.logText();
    const Shown window = *started;
    const auto panel = openedPanelOn(kPrimaryOutput);
    ASSERT_TRUE(panel) << home.logText();
    xdotool("key Escape");
    ASSERT_TRUE(eventually([&] { return viewable().size() == 1; }));

    for (const Shown& output : {kPrimaryOutput, kLowOutput, kWideOutput}) {
        SCOPED_TRACE(output.x);
        ASSERT_TRUE(movedAndHeard(window.id, output.x + 30, 40));
        ASSERT_TRUE(frameOn(800, 1000, output));
        const auto settings = openedSettingsBeside(*viewableSized(800, 1000));
        ASSERT_TRUE(settings) << home.logText();
        EXPECT_TRUE(inside(frameInside(*settings, output), output));
        ASSERT_TRUE(caughtUp(settings->id) && caughtUp(settings->id));
        xdotool("windowfocus --sync " + std::to_string(settings->id) + " key Escape");
        ASSERT_TRUE(eventually([&] { return viewable().size() == 1; }));
    }
}

// Moved by its user right after its first opening, within its output, the
// small window stays where they put it, its frame told late; its 설정
// opens the settings window centred over it.
TEST_F(TrayTest, TheSmallWindowMovedRightAfterItsFirstOpeningStaysAndOpensTheSettingsOverIt) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    const auto started = mainWindowUnderWindowManager(kPrimaryOutput);
    ASSERT_TRUE(started) << home.logText();
    const Shown window = *started;
    ASSERT_TRUE(clickPanelControl(window));
    std::optional<Shown> panel;
    ASSERT_TRUE(eventually([&] { return (panel = viewableSized(300, 600)).has_value(); }));
    ASSERT_TRUE(movedAndHeard(panel->id, 1300, 60));
    ASSERT_TRUE(eventually([&] { return frameOf(*panel).x >= 1290; })) << home.logText();
    ASSERT_TRUE(caughtUp(panel->id) && caughtUp(panel->id));
    const Shown moved = frameOf(*panel);
    EXPECT_TRUE(inside(moved, kPrimaryOutput));
    EXPECT_GE(moved.x, 1290);

    // 설정, the footer's last control. The settings window is narrower than
    // the main window at the standard text size.
    xdotool("windowfocus --sync " + std::to_string(panel->id) + " key shift+Tab space");
    std::optional<Shown> settings;
    ASSERT_TRUE(eventually([&] { return (settings = viewableSized(600, 720)).has_value(); }))
        << home.logText();
    const Shown frame = frameInside(*settings, kPrimaryOutput);
    EXPECT_TRUE(inside(frame, kPrimaryOutput));
    EXPECT_LE(std::abs(frame.x + frame.width / 2 - (moved.x + moved.width / 2)), 2);
}

// At twice the scale and one and a half, the largest text size: the main
// window moved to the 720-high output takes a smallest size for it; the
// settings window opened from it there, and the report sheet opened from
// that, are made for that output and stand on it, frames included, in whole
// device pixels, each at least its smallest size.
TEST_F(TrayTest, TheSettingsWindowAndItsSheetFitTheLowOutputTheyOpenOnAtEveryScale) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox and xdotool are needed";
    writeTextSize(QuorvaneTextSize::veryLarge, true);
    ASSERT_TRUE(startWindowManager()) << home.logText();
    for (const char* scale : {"2", "1.5"}) {
        SCOPED_TRACE(scale);
        const double factor = std::stod(scale);
        startApplication({std::string("QT_SCALE_FACTOR=") + scale});
        const auto scaled = [&](int pixels) { return static_cast<int>(pixels * factor); };
        ASSERT_TRUE(frameOn(scaled(800), scaled(1000), kPrimaryOutput)) << home.logText();
        applyNightPreset();
        // Mostly on the 720-high output: at twice the scale the main window
        // keeps the size its user gave it, wider than that output.
        const Shown before = *viewableSized(scaled(800), scaled(1000));
        const int height = before.height;
        ASSERT_TRUE(movedAndHeard(before.id, 1950, 40));
        std::optional<Shown> window;
        ASSERT_TRUE(eventually([&] {
            window = viewableSized(scaled(800), scaled(1000));
            return window && window->x >= 1920;
        }));
        // Its smallest size now fits that output, so the user can make it fit.
        EXPECT_TRUE(eventually([&] {
            XSizeHints hints{};
            long supplied = 0;
            return XGetWMNormalHints(connection->display(), window->id, &hints, &supplied) &&
                   hints.min_width <= kLowOutput.width && hints.min_height < kLowOutput.height;
        })) << home.logText();
        // Moved again there, its size stays whole: the window manager's size
        // steps from the new smallest size take no device pixel off it.
        ASSERT_TRUE(caughtUp(window->id) && caughtUp(window->id));
        ASSERT_TRUE(movedAndHeard(window->id, 1990, 40));
        ASSERT_TRUE(eventually([&] {
            window = viewableSized(scaled(800), scaled(1000));
            return window && window->x >= 1980;
        }));
        ASSERT_TRUE(caughtUp(window->id) && caughtUp(window->id));
        EXPECT_EQ(window->height, height);
        const auto settings = openedSettingsBeside(*window, factor);
        ASSERT_TRUE(settings) << home.logText();
        EXPECT_TRUE(inside(frameInside(*settings, kLowOutput), kLowOutput));
        ASSERT_TRUE(caughtUp(settings->id) && caughtUp(settings->id));

        const auto sheet = openedReportSheet(*settings, {window->id});
        ASSERT_TRUE(sheet) << home.logText();
        EXPECT_TRUE(inside(frameInside(*sheet, kLowOutput), kLowOutput)) << home.logText();
        // Cut to that output, each no smaller than its smallest size.
        EXPECT_TRUE(keepsItsMinimum(*settings));
        EXPECT_TRUE(keepsItsMinimum(*sheet));
        application->signal(SIGTERM);
        ASSERT_EQ(application->waitFor(), 0);
    }
}

// At twice the scale, a tray on the 720-high output that keeps a strip at
// its top: the popup opens under it, inside that output's work area.
TEST_F(TrayTest, AtTwiceTheScaleThePopupAtADockedTrayStandsInsideItsOutputsWorkArea) {
    if (!haveProgram("/usr/bin/openbox") || !haveProgram("/usr/bin/trayer") ||
        !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "openbox, trayer and xdotool are needed";
    // The window manager takes the tray on with the screen's other windows.
    ASSERT_TRUE(startTray("1", {"--SetDockType", "true", "--SetPartialStrut", "true"}))
        << home.logText();
    ASSERT_TRUE(startWindowManager()) << home.logText();
    Shown area;
    ASSERT_TRUE(eventually([&] { return (area = workAreaOn(*connection, kLowOutput)).y == 28; }));
    startApplication({"QT_SCALE_FACTOR=2"});
    const auto icon = settledIcon();
    ASSERT_TRUE(icon.has_value()) << home.logText();
    clickAt(*icon);
    std::optional<Shown> popup;
    ASSERT_TRUE(eventually([&] { return (popup = viewableSized(600, 1200)).has_value(); }))
        << home.logText();
    EXPECT_TRUE(inside(*popup, area)) << home.logText();
}

// The popup at a tray on the 720-high output: that output taking a smaller
// mode, the popup stays beside its icon, which the tray moved with it,
// on that output.
TEST_F(TrayTest, ThePopupStaysBesideItsTrayIconWhenItsOutputTakesASmallerMode) {
    if (!haveProgram("/usr/bin/trayer") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "trayer and xdotool are needed";
    ASSERT_TRUE(startTray("1")) << home.logText();
    startApplication();
    const auto icon = settledIcon();
    ASSERT_TRUE(icon.has_value()) << home.logText();
    clickAt(*icon);
    ASSERT_TRUE(eventually([&] { return viewableSized(300, 600).has_value(); })) << home.logText();

    const SwitchedOff restored{*this, *output("DUMMY1", true)};
    auto smaller = restored.output;
    const auto mode = std::find_if(smaller.modes.begin(), smaller.modes.end(),
                                   [](const auto& each) { return each.width == 800; });
    ASSERT_NE(mode, smaller.modes.end());
    smaller.currentMode = *mode;
    switchOutput(smaller, true);
    const Shown shrunk{0, 1920, 0, static_cast<int>(mode->width), static_cast<int>(mode->height)};
    std::optional<Shown> popup;
    std::optional<Shown> moved;
    EXPECT_TRUE(eventually([&] {
        popup = viewableSized(300, 600);
        moved = viewableSized(1, 64);
        return popup && moved && inside(*popup, shrunk) && inside(*moved, shrunk) &&
               popup->x <= moved->x && popup->x + popup->width >= moved->x + moved->width;
    })) << home.logText();
}

// The report sheet is a window of its own over the settings window: Ctrl+W
// there closes the settings window with it, and Ctrl+Q ends the program,
// handing every output back.
TEST_F(TrayTest, CtrlWAndCtrlQWorkWhileTheReportSheetIsOpen) {
    if (!haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "xdotool is needed";
    ASSERT_FALSE(XGetSelectionOwner(connection->display(), traySelection()));
    allowPresetURLs();
    for (const std::string keys : {"ctrl+w", "ctrl+q"}) {
        SCOPED_TRACE(keys);
        const auto window = startedMainWindow(800, 900);
        ASSERT_TRUE(window) << home.logText();
        applyNightPreset();
        const auto settings = openedSettings(*window);
        ASSERT_TRUE(settings) << home.logText();
        const auto sheet = openedReportSheet(*settings, {window->id});
        ASSERT_TRUE(sheet) << home.logText();
        xdotool("windowfocus --sync " + std::to_string(sheet->id) + " key " + keys);
        if (keys == "ctrl+w") {
            EXPECT_TRUE(eventually([&] { return viewable().size() == 1; })) << home.logText();
            xdotool("windowfocus --sync " + std::to_string(window->id) + " key ctrl+w");
        }
        EXPECT_EQ(application->waitFor(), 0) << home.logText();
        for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"})
            EXPECT_TRUE(showsIdentity(name)) << name;
    }
}

// The panel's display picker and its menu hold the keyboard while open,
// yet Ctrl+W closes the panel with them, and Ctrl+Q ends the program,
// handing every output back.
TEST_F(TrayTest, CtrlWAndCtrlQWorkWhileThePanelsPickerOrMenuIsOpen) {
    if (!haveProgram("/usr/bin/trayer") || !haveProgram("/usr/bin/xdotool"))
        GTEST_SKIP() << "trayer and xdotool are needed";
    allowPresetURLs();
    ASSERT_TRUE(startTray()) << home.logText();
    startApplication();
    const auto icon = settledIcon();
    ASSERT_TRUE(icon.has_value()) << home.logText();
    applyNightPreset();

    // The panel opens on its first control, the display picker; the next
    // one opens the menu.
    const auto openPanelAndPress = [&](const std::string& keys) {
        clickAt(*icon);
        if (!eventually([&] { return viewableSized(300, 600).has_value(); }))
            return false;
        const auto shown = viewable().size();
        xdotool("key " + keys);
        return eventually([&] { return viewable().size() > shown; });
    };
    ASSERT_TRUE(openPanelAndPress("space")) << home.logText();
    xdotool("key ctrl+w");
    EXPECT_TRUE(eventually([&] { return viewable().size() == 1; })) << home.logText();

    ASSERT_TRUE(openPanelAndPress("Tab space")) << home.logText();
    xdotool("key ctrl+q");
    EXPECT_EQ(application->waitFor(), 0) << home.logText();
    for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"})
        EXPECT_TRUE(showsIdentity(name)) << name;
}

}  // namespace
}  // namespace quorvane
