// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "models/hot_keys/hot_key_combination.hpp"
#include "platform/linux/shared_x_connection.hpp"
#include "platform/linux/stored_key_code_keysyms.hpp"
#include "platform/linux/thread_scheduler.hpp"
#include "platform/linux/x11_global_hot_key_registrar.hpp"
#include "platform/linux/x11_hot_key_grabber.hpp"
#include "platform/linux/x_connection.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "x11/private_x_server.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

using M = HotKeyModifier;

const char* testDisplay() {
    static const auto name = testing::testDisplayName();
    return name ? name->c_str() : nullptr;
}

GlobalHotKeyBinding binding(std::string id, std::uint32_t keyCode, std::string label,
                            std::vector<HotKeyModifier> modifiers, bool enabled = true) {
    return {std::move(id), GlobalHotKeyCommand::scene("work"), enabled,
            HotKeyCombination(keyCode, std::move(label), std::move(modifiers))};
}

// A second client: sends chords through XTest and grabs keys of its own.
class OtherClient {
  public:
    explicit OtherClient(const char* name) : connection_(XConnection::open(name)) {}
    bool connected() const { return connection_.has_value(); }
    Display* display() const { return connection_->display(); }

    // `hold` keeps the key down long enough for the server's auto-repeat.
    void press(const std::vector<KeySym>& modifiers, KeySym key,
               std::chrono::milliseconds hold = std::chrono::milliseconds(0)) {
        for (KeySym modifier : modifiers)
            fake(modifier, true);
        fake(key, true);
        if (hold.count() > 0) {
            connection_->sync();
            std::this_thread::sleep_for(hold);
        }
        fake(key, false);
        for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
            fake(*it, false);
        connection_->sync();
    }

    void tap(KeySym key) { press({}, key); }

    // Has the server close the connection of the client that owns `resource`.
    void killClientOwning(XID resource) {
        XKillClient(display(), resource);
        connection_->sync();
    }

    // Whether this client may grab the chord (false: someone else holds it).
    bool tryGrab(KeySym key, unsigned modifiers) {
        connection_->sync();
        XGrabKey(display(), XKeysymToKeycode(display(), key), modifiers, connection_->root(), False,
                 GrabModeAsync, GrabModeAsync);
        return !connection_->sync();
    }

  private:
    void fake(KeySym key, bool down) {
        XTestFakeKeyEvent(display(), XKeysymToKeycode(display(), key), down ? True : False,
                          CurrentTime);
    }

    std::optional<XConnection> connection_;
};

class GlobalHotKeyRegistrarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (testDisplay() == nullptr)
            GTEST_SKIP() << "QUORVANE_TEST_DISPLAY is not set";
        registrar = std::make_unique<X11GlobalHotKeyRegistrar>(owner, testDisplay());
        registrar->setActivationHandler([this](const std::string& id) {
            pressed.push_back(id);
            handlerThreads.push_back(std::this_thread::get_id());
        });
        other = std::make_unique<OtherClient>(testDisplay());
        ASSERT_TRUE(other->connected());
    }

    void TearDown() override {
        registrar.reset();
        other.reset();
    }

    // Runs the owner's thread until `count` presses arrived (or 5 s passed).
    bool waitForPresses(std::size_t count) {
        return owner.runUntil([&] { return pressed.size() >= count; }, seconds(5));
    }
    // Gives a press that should not arrive a fair chance to do so.
    void settle() {
        owner.runUntil([] { return false; }, seconds(0.3));
    }

    ThreadScheduler owner;
    std::unique_ptr<X11GlobalHotKeyRegistrar> registrar;
    std::unique_ptr<OtherClient> other;
    std::vector<std::string> pressed;
    std::vector<std::thread::id> handlerThreads;
};

TEST_F(GlobalHotKeyRegistrarTest, RegistersEnabledBindingsAndDeliversPressesOnTheOwnerThread) {
    const auto summary = registrar->reconcile({
        binding("scene-work", 18, "1", {M::control, M::option, M::command}),
        binding("scene-night", 19, "2", {M::control, M::option, M::command}, false),
        binding("emergency-recovery", 37, "L", {M::command, M::shift}),
    });

    EXPECT_EQ(summary, (GlobalHotKeyRegistrationSummary{2, 2, {}, true}));
    EXPECT_EQ(registrar->registeredBindingIDs(),
              (std::set<std::string>{"scene-work", "emergency-recovery"}));

    other->press({XK_Control_L, XK_Alt_L, XK_Super_L}, XK_1);
    other->press({XK_Super_L, XK_Shift_L}, XK_l);
    ASSERT_TRUE(waitForPresses(2));
    EXPECT_EQ(pressed, (std::vector<std::string>{"scene-work", "emergency-recovery"}));
    for (auto id : handlerThreads)
        EXPECT_EQ(id, std::this_thread::get_id());

    // The disabled binding's chord is not grabbed, and a chord with an extra
    // modifier is a different chord.
    other->press({XK_Control_L, XK_Alt_L, XK_Super_L}, XK_2);
    other->press({XK_Control_L, XK_Super_L, XK_Shift_L}, XK_l);
    settle();
    EXPECT_EQ(pressed.size(), 2u);
}

TEST_F(GlobalHotKeyRegistrarTest, CapsLockAndNumLockDoNotSwallowTheChordAndAHeldKeyFiresOnce) {
    registrar->reconcile({binding("scene-design", 20, "3", {M::control, M::option, M::command})});

    other->tap(XK_Caps_Lock);
    other->tap(XK_Num_Lock);
    other->press({XK_Control_L, XK_Alt_L, XK_Super_L}, XK_3);
    other->tap(XK_Caps_Lock);
    other->tap(XK_Num_Lock);
    ASSERT_TRUE(waitForPresses(1));

    // The server repeats a held key; make it repeat fast so a short hold
    // sends several presses.
    unsigned delay = 0;
    unsigned interval = 0;
    XkbGetAutoRepeatRate(other->display(), XkbUseCoreKbd, &delay, &interval);
    XkbSetAutoRepeatRate(other->display(), XkbUseCoreKbd, 20, 10);
    other->press({XK_Control_L, XK_Alt_L, XK_Super_L}, XK_3, std::chrono::milliseconds(150));
    XkbSetAutoRepeatRate(other->display(), XkbUseCoreKbd, delay, interval);
    XSync(other->display(), False);
    ASSERT_TRUE(waitForPresses(2));
    settle();
    EXPECT_EQ(pressed, (std::vector<std::string>{"scene-design", "scene-design"}));
}

TEST_F(GlobalHotKeyRegistrarTest, ChordHeldByAnotherClientIsAFailureWithTheServersStatus) {
    ASSERT_TRUE(other->tryGrab(XK_4, ControlMask | Mod1Mask | Mod4Mask));

    const auto summary = registrar->reconcile({
        binding("scene-meeting", 21, "4", {M::control, M::option, M::command}),
        binding("scene-movie", 23, "5", {M::control, M::option, M::command}),
    });

    ASSERT_EQ(summary.failures.size(), 1u);
    EXPECT_EQ(summary.requestedCount, 2);
    EXPECT_EQ(summary.registeredCount, 1);
    EXPECT_EQ(summary.failures[0].bindingID, "scene-meeting");
    EXPECT_EQ(summary.failures[0].statusCode, BadAccess);
    EXPECT_EQ(summary.failures[0].message(), "Ctrl+Alt+Super+4 등록 실패(10)");
    EXPECT_EQ(registrar->registeredBindingIDs(), (std::set<std::string>{"scene-movie"}));

    // The failed chord left no partial grab behind: with the other client's
    // grab gone the Caps Lock variant is free.
    other->press({XK_Control_L, XK_Alt_L, XK_Super_L}, XK_5);
    ASSERT_TRUE(waitForPresses(1));
    EXPECT_TRUE(other->tryGrab(XK_4, ControlMask | Mod1Mask | Mod4Mask | LockMask));
}

TEST_F(GlobalHotKeyRegistrarTest, UnregisterAndReconcileReleaseWhatIsNoLongerWanted) {
    registrar->reconcile({
        binding("a", 22, "6", {M::control, M::option, M::command}),
        binding("b", 26, "7", {M::control, M::option, M::command}),
    });
    const auto summary = registrar->reconcile({
        binding("a", 22, "6", {M::control, M::option, M::command}, false),
        binding("b", 26, "7", {M::control, M::option, M::command}),
    });
    EXPECT_EQ(summary, (GlobalHotKeyRegistrationSummary{1, 1, {}, true}));
    EXPECT_EQ(registrar->registeredBindingIDs(), (std::set<std::string>{"b"}));
    other->press({XK_Control_L, XK_Alt_L, XK_Super_L}, XK_6);
    other->press({XK_Control_L, XK_Alt_L, XK_Super_L}, XK_7);
    ASSERT_TRUE(waitForPresses(1));
    settle();
    EXPECT_EQ(pressed, (std::vector<std::string>{"b"}));

    registrar->unregisterAll();
    EXPECT_TRUE(registrar->registeredBindingIDs().empty());
    EXPECT_TRUE(other->tryGrab(XK_7, ControlMask | Mod1Mask | Mod4Mask));
    EXPECT_TRUE(other->tryGrab(XK_7, ControlMask | Mod1Mask | Mod4Mask | LockMask));

    const auto none = registrar->reconcile({binding("b", 26, "7", {M::control}, false)});
    EXPECT_EQ(none, (GlobalHotKeyRegistrationSummary{0, 0, {}, true}));
}

TEST_F(GlobalHotKeyRegistrarTest, KeysWithoutAKeyAndRepeatedChordsFailWithoutStoppingTheOthers) {
    const auto summary = registrar->reconcile({
        binding("unknown", 250, "?", {M::control, M::option}),
        binding("first", 28, "8", {M::control, M::option}),
        binding("second", 28, "8", {M::option, M::control}),
    });
    ASSERT_EQ(summary.failures.size(), 2u);
    EXPECT_EQ(summary.failures[0].statusCode, X11GlobalHotKeyRegistrar::kStatusNoSuchKey);
    EXPECT_EQ(summary.failures[1].bindingID, "second");
    EXPECT_EQ(summary.failures[1].statusCode, X11GlobalHotKeyRegistrar::kStatusChordTaken);
    EXPECT_EQ(registrar->registeredBindingIDs(), (std::set<std::string>{"first"}));
}

TEST(GlobalHotKeyRegistrarLifetime, APressPostedBeforeTheRegistrarWentAwayIsDropped) {
    if (testDisplay() == nullptr)
        GTEST_SKIP() << "QUORVANE_TEST_DISPLAY is not set";
    ManualScheduler owner;
    int calls = 0;
    auto registrar = std::make_unique<X11GlobalHotKeyRegistrar>(owner, testDisplay());
    registrar->setActivationHandler([&](const std::string&) { ++calls; });
    registrar->reconcile({binding("late", 25, "9", {M::control, M::option, M::command})});
    OtherClient other(testDisplay());
    other.press({XK_Control_L, XK_Alt_L, XK_Super_L}, XK_9);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (owner.pendingCount() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(owner.pendingCount(), 1u);
    EXPECT_EQ(calls, 0);  // nothing runs inside the X event handling

    registrar.reset();
    owner.runUntilIdle();
    EXPECT_EQ(calls, 0);
}

TEST(GlobalHotKeyRegistrarWithoutServer, EveryEnabledBindingFailsAndTheNextReconcileTriesAgain) {
    ManualScheduler owner;
    X11GlobalHotKeyRegistrar registrar(owner, "unix:/nonexistent-quorvane-display");
    const auto summary = registrar.reconcile({
        binding("a", 18, "1", {M::control}),
        binding("b", 19, "2", {M::control}, false),
    });
    ASSERT_EQ(summary.failures.size(), 1u);
    EXPECT_EQ(summary.requestedCount, 1);
    EXPECT_EQ(summary.registeredCount, 0);
    EXPECT_EQ(summary.failures[0].statusCode, X11GlobalHotKeyRegistrar::kStatusNoServer);
    EXPECT_EQ(registrar.reconcile({}), (GlobalHotKeyRegistrationSummary{0, 0, {}, true}));
}

TEST(StoredKeyCodeKeysyms, DigitRowFollowsTheRecordedPositionsNotTheDigitOrder) {
    EXPECT_EQ(keysymForStoredKeyCode(37), XK_l);
    EXPECT_EQ(keysymForStoredKeyCode(18), XK_1);
    EXPECT_EQ(keysymForStoredKeyCode(23), XK_5);
    EXPECT_EQ(keysymForStoredKeyCode(22), XK_6);
    EXPECT_EQ(keysymForStoredKeyCode(29), XK_0);
    EXPECT_EQ(keysymForStoredKeyCode(52), std::nullopt);
    EXPECT_EQ(keysymForStoredKeyCode(4000), std::nullopt);
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

// The hot keys share the process's connection with the display work: a press
// that another caller's round trip pulls off the socket is still delivered.
TEST(GlobalHotKeyRegistrarSharedConnection, APressReadByAnotherCallersRoundTripIsDelivered) {
    if (testDisplay() == nullptr)
        GTEST_SKIP() << "QUORVANE_TEST_DISPLAY is not set";
    ThreadScheduler owner;
    auto shared = std::make_shared<SharedXConnection>(testDisplay());
    X11GlobalHotKeyRegistrar registrar(owner, shared);
    std::vector<std::string> pressed;
    registrar.setActivationHandler([&](const std::string& id) { pressed.push_back(id); });
    registrar.reconcile({binding("scene-work", 18, "1", {M::control, M::option, M::command})});
    OtherClient other(testDisplay());
    ASSERT_TRUE(other.connected());

    {
        // Held while the press arrives, so the watching thread cannot read
        // it first; this caller's round trip takes it off the socket.
        auto lease = shared->lease();
        ASSERT_TRUE(lease);
        other.press({XK_Control_L, XK_Alt_L, XK_Super_L}, XK_1);
        lease->connection().sync();
    }

    ASSERT_TRUE(owner.runUntil([&] { return !pressed.empty(); }, seconds(5)));
    EXPECT_EQ(pressed, (std::vector<std::string>{"scene-work"}));
}

// Once the server is gone, the watch for presses ends instead of trying the
// server again and again (a connection it opened while the process ends
// would outlive the libraries it needs), and the registrar no longer counts
// grabs that went with the lost connection.
TEST(GlobalHotKeyRegistrarServerLoss, TheWatchEndsAndTheNextReconcileReportsNoServer) {
    testing::PrivateXServer server;
    if (server.display().empty())
        GTEST_SKIP() << "no private X server could be started";
    ThreadScheduler owner;
    auto shared = std::make_shared<SharedXConnection>(server.display());
    const auto grabber = X11HotKeyGrabber::open(shared, [](const std::string&) {});
    ASSERT_TRUE(grabber);
    X11GlobalHotKeyRegistrar registrar(owner, shared);
    const std::vector<GlobalHotKeyBinding> bindings = {
        binding("scene-work", 18, "1", {M::control, M::option, M::command})};
    ASSERT_EQ(registrar.reconcile(bindings).registeredCount, 1);
    EXPECT_TRUE(grabber->watching());
    const auto generation = shared->lease()->generation();

    server.stop();
    EXPECT_TRUE(owner.runUntil([&] { return !grabber->watching(); }, seconds(10)));
    EXPECT_FALSE(shared->readEvents(generation));
    const auto summary = registrar.reconcile(bindings);
    EXPECT_EQ(summary.registeredCount, 0);
    ASSERT_EQ(summary.failures.size(), 1u);
    EXPECT_EQ(summary.failures[0].statusCode, X11GlobalHotKeyRegistrar::kStatusNoServer);
    EXPECT_TRUE(registrar.registeredBindingIDs().empty());
}

// Keys are grabbed only on the connection the watch reads. The process's
// connection is lost, and the grab that comes next opens a new one while the
// watch still waits for the lease to notice: the new connection carries a
// new generation, so the grabber sees that it is not the one it watches and
// grabs nothing there (presses of such grabs would reach no watch), and the
// lost generation is told apart from the open one. Which of the grab and the
// watch takes the lease first is up to the scheduler; a few rounds make sure
// the grab comes first in some.
TEST(GlobalHotKeyRegistrarServerLoss, AGrabberNeverGrabsOnAConnectionOpenedAfterTheOneItWatches) {
    if (testDisplay() == nullptr)
        GTEST_SKIP() << "QUORVANE_TEST_DISPLAY is not set";
    OtherClient other(testDisplay());
    ASSERT_TRUE(other.connected());
    const std::vector<X11HotKeyGrabber::Request> requests = {
        {"scene-work", HotKeyCombination(18, "1", {M::control, M::option, M::command})}};
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        auto shared = std::make_shared<SharedXConnection>(testDisplay());
        const auto grabber = X11HotKeyGrabber::open(shared, [](const std::string&) {});
        ASSERT_TRUE(grabber);
        std::uint64_t lostGeneration = 0;
        {
            auto lease = shared->lease();
            ASSERT_TRUE(lease);
            lostGeneration = lease->generation();
            Display* display = lease->connection().display();
            const Pixmap ours = XCreatePixmap(display, lease->connection().root(), 1, 1,
                                              static_cast<unsigned>(DefaultDepth(display, 0)));
            lease->connection().sync();
            other.killClientOwning(ours);
            // Reading (never writing: the socket is closed) meets the loss
            // under this lease, before the watch can look.
            lease->takeScreenChanges();
            ASSERT_TRUE(lease->connection().lost());
        }

        EXPECT_FALSE(grabber->grab(requests, 1, 2).has_value());
        EXPECT_TRUE(other.tryGrab(XK_1, ControlMask | Mod1Mask | Mod4Mask));
        XUngrabKey(other.display(), XKeysymToKeycode(other.display(), XK_1),
                   ControlMask | Mod1Mask | Mod4Mask, DefaultRootWindow(other.display()));

        const auto generation = shared->lease()->generation();
        EXPECT_NE(generation, lostGeneration);
        EXPECT_FALSE(shared->readEvents(lostGeneration));
        EXPECT_TRUE(shared->readEvents(generation));
    }
}

// Waits (up to a deadline) until the thread is asleep, e.g. waiting for a
// lock; true when it is.
bool waitUntilAsleep(const std::atomic<pid_t>& thread) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        if (thread != 0) {
            std::ifstream stat("/proc/self/task/" + std::to_string(thread) + "/stat");
            std::string line;
            std::getline(stat, line);
            // "<tid> (<name>) <state> ...": the name may hold spaces.
            const auto nameEnd = line.rfind(')');
            if (nameEnd != std::string::npos && line.size() > nameEnd + 2 &&
                line[nameEnd + 2] == 'S')
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// The connection is lost and the reconcile's lease opens a new one to the
// live server before the watch has noticed the loss. The grabs must then go
// through a grabber that watches the new connection: the old one's watch
// ends with the old connection, and presses would only arrive when some
// other caller happened to read.
TEST(GlobalHotKeyRegistrarServerLoss, AReconnectBeforeTheWatchNoticedStillDeliversPresses) {
    if (testDisplay() == nullptr)
        GTEST_SKIP() << "QUORVANE_TEST_DISPLAY is not set";
    ThreadScheduler owner;
    auto shared = std::make_shared<SharedXConnection>(testDisplay());
    X11GlobalHotKeyRegistrar registrar(owner, shared);
    std::vector<std::string> pressed;
    registrar.setActivationHandler([&](const std::string& id) { pressed.push_back(id); });
    const std::vector<GlobalHotKeyBinding> bindings = {
        binding("scene-work", 18, "1", {M::control, M::option, M::command})};
    ASSERT_EQ(registrar.reconcile(bindings).registeredCount, 1);
    OtherClient other(testDisplay());
    ASSERT_TRUE(other.connected());

    // While this lease is held the watch cannot read, so it cannot notice
    // that the server closed the connection.
    auto lease = shared->lease();
    ASSERT_TRUE(lease);
    Display* display = lease->connection().display();
    const Pixmap ours = XCreatePixmap(display, lease->connection().root(), 1, 1,
                                      static_cast<unsigned>(DefaultDepth(display, 0)));
    lease->connection().sync();
    other.killClientOwning(ours);

    // The reconcile runs until it waits for the lease; only then may the
    // watch (also waiting for it) get its turn, so whichever of the two
    // reads the loss first, the reconcile began with the watch still on.
    std::atomic<pid_t> reconcilingThread = 0;
    GlobalHotKeyRegistrationSummary summary;
    std::thread reconciling([&] {
        reconcilingThread = static_cast<pid_t>(::gettid());
        summary = registrar.reconcile(bindings);
    });
    EXPECT_TRUE(waitUntilAsleep(reconcilingThread));
    lease.reset();
    reconciling.join();

    EXPECT_EQ(summary, (GlobalHotKeyRegistrationSummary{1, 1, {}, true}));
    other.press({XK_Control_L, XK_Alt_L, XK_Super_L}, XK_1);
    ASSERT_TRUE(owner.runUntil([&] { return !pressed.empty(); }, seconds(5)));
    EXPECT_EQ(pressed, (std::vector<std::string>{"scene-work"}));
}

}  // namespace
}  // namespace quorvane
