#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "views/controls/hold_to_compare_button.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/support/live_accessibility.hpp"
#include "views/support/symbol_ink.hpp"

namespace quorvane {
namespace {

struct HoldToCompareButtonTest : ::testing::Test {
    Theme theme{false};
    int begins = 0;
    std::vector<std::string> ended;
    // The comparisons the store still runs; clearing it is the store ending
    // them itself.
    std::set<std::string> running;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    HoldToCompareButton* button = new HoldToCompareButton(
        theme,
        [this] {
            ++begins;
            const std::string id = std::string("T").append(std::to_string(begins));
            running.insert(id);
            return std::optional<QuorvaneTemporaryNeutralComparisonToken>(
                QuorvaneTemporaryNeutralComparisonToken{id, "key"});
        },
        [this](const QuorvaneTemporaryNeutralComparisonToken& token) {
            ended.push_back(token.id);
            running.erase(token.id);
        },
        false, window.get(),
        [this](const QuorvaneTemporaryNeutralComparisonToken& token) {
            return running.contains(token.id);
        });

    HoldToCompareButtonTest() {
        window->resize(320, 90);
        button->resize(300, 70);
        window->show();
    }
    void press() { QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 20)); }
};

TEST_F(HoldToCompareButtonTest, ReleaseEndsTheComparisonEvenWhenTheWindowDisabledItMeanwhile) {
    press();
    EXPECT_TRUE(button->comparing());
    EXPECT_EQ(button->texts().title, "원래 색 보는 중");
    // The window reports the button disabled while its own comparison runs.
    button->setComparisonEnabled(false);
    QTest::mouseMove(button, QPoint(600, 400));  // dragged far outside
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(600, 400));
    EXPECT_EQ(ended, std::vector<std::string>{"T1"});
    EXPECT_FALSE(button->comparing());
    EXPECT_EQ(begins, 1);
}

// The eye has no font of its own: it is drawn at the surrounding text's
// size, not the title's, in the form and in the panel alike.
TEST_F(HoldToCompareButtonTest, TheEyeTakesTheSurroundingTextSizeNotTheTitles) {
    for (const bool compact : {false, true}) {
        SCOPED_TRACE(compact);
        HoldToCompareButton shown(
            theme, [] { return std::optional<QuorvaneTemporaryNeutralComparisonToken>(); },
            [](const QuorvaneTemporaryNeutralComparisonToken&) {}, compact, window.get());
        auto* eye = shown.findChild<SymbolImage*>();
        ASSERT_NE(eye, nullptr);
        const QFont title = theme.font(
            compact ? QuorvaneFontStyle::caption : QuorvaneFontStyle::subheadline, QFont::DemiBold);
        const int surrounding = testing::symbolInkSize("eye", theme.baseFont());
        ASSERT_NE(surrounding, testing::symbolInkSize("eye", title));
        EXPECT_EQ(testing::inkSizeOf(eye), surrounding);
    }
}

TEST_F(HoldToCompareButtonTest, DisabledPressReachesNothing) {
    button->setComparisonEnabled(false);
    press();
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(begins, 0);
    EXPECT_TRUE(ended.empty());
}

TEST_F(HoldToCompareButtonTest, HidingLosingTheGrabOrTheApplicationEndsIt) {
    press();
    button->hide();
    EXPECT_EQ(ended.size(), 1u);
    button->show();

    press();
    QEvent ungrab(QEvent::UngrabMouse);
    QApplication::sendEvent(button, &ungrab);
    EXPECT_EQ(ended.size(), 2u);

    press();
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(button, &deactivate);
    EXPECT_EQ(ended.size(), 3u);
    // The later release has nothing left to hand back.
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(ended, (std::vector<std::string>{"T1", "T2", "T3"}));
}

TEST_F(HoldToCompareButtonTest, DestroyingTheButtonMidPressHandsTheTokenBack) {
    press();
    window.reset();
    EXPECT_EQ(ended, std::vector<std::string>{"T1"});
    // The user lets go over another window: the pointer's button is up
    // again for the tests that follow.
    QWidget elsewhere;
    QTest::mouseRelease(&elsewhere, Qt::LeftButton);
}

TEST_F(HoldToCompareButtonTest, AccessibleDefaultActionTogglesAndTheValueFollows) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(accessible, nullptr);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("현재 색감"));
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(button->comparing());
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("원래 색 비교 중"));
    button->setComparisonEnabled(false);
    // Still a button with its action while its own comparison runs.
    EXPECT_FALSE(accessible->actionInterface()->actionNames().isEmpty());
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(button->comparing());
    EXPECT_FALSE(accessible->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("사용할 수 없음"));
    EXPECT_EQ(ended, std::vector<std::string>{"T1"});
}

// A keyboard reaches the area with Tab, and a screen reader finds a button
// named by its title whose description starts with its value; Space toggles
// the comparison as the default action does, in every state, and a held
// Space toggles once.
TEST_F(HoldToCompareButtonTest, TabReachesItAndSpaceTogglesItAsTheDefaultActionDoes) {
    auto* before = new QPushButton(QStringLiteral("앞"), window.get());
    before->move(0, 72);
    before->show();
    QApplication::setActiveWindow(window.get());
    before->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(before->hasFocus());
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_TRUE(button->hasFocus());
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(button);
    EXPECT_EQ(heard->role(), QAccessible::Button);
    EXPECT_TRUE(heard->state().focusable);
    EXPECT_EQ(heard->text(QAccessible::Name), QStringLiteral("누르는 동안 원래 색 보기"));
    const auto heardValue = [&] {
        return std::pair(heard->text(QAccessible::Value),
                         heard->text(QAccessible::Description).section(QStringLiteral(". "), 0, 0));
    };
    EXPECT_EQ(heardValue(), std::pair(QStringLiteral("현재 색감"), QStringLiteral("현재 색감")));

    QTest::keyPress(button, Qt::Key_Space);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(button, &repeat);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_TRUE(button->comparing());
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(heardValue(),
              std::pair(QStringLiteral("원래 색 비교 중"), QStringLiteral("원래 색 비교 중")));
    // The window reports it disabled while its own comparison runs: Space
    // still ends it, then can start none.
    button->setComparisonEnabled(false);
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(ended, std::vector<std::string>{"T1"});
    EXPECT_EQ(heardValue(),
              std::pair(QStringLiteral("사용할 수 없음"), QStringLiteral("사용할 수 없음")));
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(begins, 1);
    EXPECT_TRUE(button->hasFocus());
    // A pointer still compares only while held, and takes no focus.
    button->setComparisonEnabled(true);
    before->setFocus();
    press();
    EXPECT_TRUE(button->comparing());
    EXPECT_TRUE(before->hasFocus());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(button->comparing());
    EXPECT_EQ(ended, (std::vector<std::string>{"T1", "T2"}));
}

// What a Space or the default action leads to is read out once, as a
// notification, with the value that stays once the window has taken the
// store's change (the window's new "may start" flag arrives a turn later).
// The window's answer and the notice each take a turn of the event loop.
void settle() {
    for (int turn = 0; turn < 3; ++turn)
        QApplication::processEvents();
}

TEST_F(HoldToCompareButtonTest, AKeyboardToggleIsReadOutWithTheValueItLeadsTo) {
    testing::LiveAccessibility live;
    static std::vector<QString> notified;
    notified.clear();
    const auto previous = QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
        QAccessibleInterface* told = event->accessibleInterface();
        if (event->type() == QAccessible::ObjectShow && told &&
            told->role() == QAccessible::Notification)
            notified.push_back(told->text(QAccessible::Name));
    });
    HoldToCompareButton* shown = nullptr;
    shown = new HoldToCompareButton(
        theme,
        [&shown] {
            // The window reports the button disabled on its next turn.
            QMetaObject::invokeMethod(
                shown, [&shown] { shown->setComparisonEnabled(false); }, Qt::QueuedConnection);
            return std::optional(QuorvaneTemporaryNeutralComparisonToken{"K", "key"});
        },
        [&shown](const QuorvaneTemporaryNeutralComparisonToken&) {
            QMetaObject::invokeMethod(
                shown, [&shown] { shown->setComparisonEnabled(true); }, Qt::QueuedConnection);
        },
        false, window.get());
    shown->show();
    // Heard in the window the user is in.
    window->show();
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(shown, Qt::Key_Space);
    settle();
    EXPECT_EQ(notified, std::vector<QString>{QStringLiteral("원래 색 비교 중")});
    QAccessible::queryAccessibleInterface(shown)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    settle();
    EXPECT_EQ(notified, (std::vector<QString>{QStringLiteral("원래 색 비교 중"),
                                              QStringLiteral("현재 색감")}));
    // A pointer user sees the change: nothing is read out.
    QTest::mousePress(shown, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseRelease(shown, Qt::LeftButton, {}, QPoint(20, 20));
    settle();
    EXPECT_EQ(notified.size(), 2u);
    QAccessible::installUpdateHandler(previous);
}

// The area between two controls of a window, reached with the keyboard.
struct HoldToCompareFocusTest : HoldToCompareButtonTest {
    QPushButton* before = new QPushButton(QStringLiteral("앞"), window.get());
    QPushButton* after = new QPushButton(QStringLiteral("뒤"), window.get());
    QAccessibleInterface* heard = nullptr;

    HoldToCompareFocusTest() {
        window->resize(320, 160);
        before->move(0, 72);
        after->move(0, 110);
        before->show();
        after->show();
        QApplication::setActiveWindow(window.get());
        button->setFocus();
        QApplication::processEvents();
        heard = QAccessible::queryAccessibleInterface(button);
    }
    // What a screen reader reads: the value, the description's first
    // sentence (the value again) and whether it is a button it can press.
    struct Heard {
        QString value;
        QString described;
        QAccessible::Role role;
        bool pressable;
        bool operator==(const Heard&) const = default;
    };
    Heard heardNow() const { return heardOf(heard); }
    static Heard heardOf(QAccessibleInterface* a) {
        return {a->text(QAccessible::Value),
                a->text(QAccessible::Description).section(QStringLiteral(". "), 0, 0), a->role(),
                a->actionInterface()->actionNames().contains(
                    QAccessibleActionInterface::pressAction())};
    }
    // What a window does on every store change: the button may start while
    // its display shows its correction and correction is on.
    void storeChanged(bool mayStart) { button->setComparisonEnabled(mayStart); }
};

// For a keyboard user leaving the area is letting go: a comparison started
// with Space ends when the focus leaves, by Tab or by a click on another
// control.
TEST_F(HoldToCompareFocusTest, AComparisonEndsWhenTheFocusLeavesTheArea) {
    ASSERT_TRUE(button->hasFocus());
    QTest::keyClick(button, Qt::Key_Space);
    ASSERT_TRUE(button->comparing());
    storeChanged(false);
    QTest::keyClick(button, Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), button);
    EXPECT_EQ(ended, std::vector<std::string>{"T1"});
    EXPECT_FALSE(button->comparing());
    storeChanged(true);

    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QTest::mouseClick(after, Qt::LeftButton);
    ASSERT_TRUE(after->hasFocus());
    EXPECT_EQ(ended, (std::vector<std::string>{"T1", "T2"}));
    EXPECT_EQ(begins, 2);
}

// A change made while comparing ended the comparison in the store: the area
// shows and says the current colour at once, and the next Space compares.
TEST_F(HoldToCompareFocusTest, AComparisonTheStoreEndedShowsTheCurrentColourAndSpaceComparesAgain) {
    const QImage idle = button->grab().toImage();
    const Heard current{QStringLiteral("현재 색감"), QStringLiteral("현재 색감"),
                        QAccessible::Button, true};
    ASSERT_EQ(heardNow(), current);
    QTest::keyClick(button, Qt::Key_Space);
    storeChanged(false);
    ASSERT_EQ(heardNow().value, QStringLiteral("원래 색 비교 중"));
    ASSERT_NE(button->grab().toImage(), idle);

    running.clear();
    storeChanged(true);
    EXPECT_FALSE(button->comparing());
    EXPECT_EQ(heardNow(), current);
    EXPECT_EQ(button->grab().toImage(), idle);

    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(begins, 2);
    EXPECT_TRUE(button->comparing());
    EXPECT_EQ(heardNow().value, QStringLiteral("원래 색 비교 중"));
    // The dead token went back to the store, which ignores it.
    EXPECT_EQ(ended, std::vector<std::string>{"T1"});
}

// Correction switched off while comparing: the store ended the comparison
// and none can start. The area keeps its value and hint but is no button
// and has no action; neither the action nor Space starts anything.
TEST_F(HoldToCompareFocusTest, WhileItCannotCompareItIsNoButtonAndHasNoAction) {
    storeChanged(false);
    const QImage unavailable = button->grab().toImage();
    storeChanged(true);
    QTest::keyClick(button, Qt::Key_Space);
    storeChanged(false);
    ASSERT_TRUE(heardNow().pressable);

    running.clear();
    storeChanged(false);
    EXPECT_EQ(heardNow(), (Heard{QStringLiteral("사용할 수 없음"), QStringLiteral("사용할 수 없음"),
                                 QAccessible::StaticText, false}));
    EXPECT_EQ(button->grab().toImage(), unavailable);
    EXPECT_EQ(heard->text(QAccessible::Help),
              QStringLiteral("화면 색감 보정이 꺼져 있어 원래 색 비교를 시작할 수 없습니다."));
    heard->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(begins, 1);
    EXPECT_FALSE(button->comparing());
    EXPECT_TRUE(button->hasFocus());
}

// A screen reader keeps what it met of an object, by the object's path (one
// per accessible object Qt gives), as AT-SPI's caches do; each object told
// focused is met then.
std::map<QAccessible::Id, HoldToCompareFocusTest::Heard> metByReader;
std::vector<HoldToCompareFocusTest::Heard> focusedByReader;
HoldToCompareFocusTest::Heard meetAsReader(QAccessibleInterface* a) {
    return metByReader.try_emplace(QAccessible::uniqueId(a), HoldToCompareFocusTest::heardOf(a))
        .first->second;
}

// Switched unavailable and back without leaving the page, the area is heard
// as what it is now by a reader that met it before, met in the window or
// holding the focus. A Space that ends a comparison, the window answering a
// turn later, changes nothing a reader hears.
TEST_F(HoldToCompareFocusTest, AReaderThatKeepsWhatItMetHearsTheAreaChangeBothWays) {
    testing::LiveAccessibility live;
    const auto previous = QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
        if (event->type() == QAccessible::Focus && event->accessibleInterface())
            focusedByReader.push_back(meetAsReader(event->accessibleInterface()));
    });
    const auto met = [this] { return meetAsReader(QAccessible::queryAccessibleInterface(button)); };
    const Heard asButton{QStringLiteral("현재 색감"), QStringLiteral("현재 색감"),
                         QAccessible::Button, true};
    const Heard asText{QStringLiteral("사용할 수 없음"), QStringLiteral("사용할 수 없음"),
                       QAccessible::StaticText, false};
    ASSERT_EQ(met(), asButton);
    storeChanged(false);
    settle();
    EXPECT_EQ(met(), asText);
    EXPECT_EQ(focusedByReader, std::vector{asText});

    after->setFocus();
    storeChanged(true);
    settle();
    EXPECT_EQ(met(), asButton);
    QTest::keyClick(after, Qt::Key_Tab);
    EXPECT_EQ(focusedByReader.back(), asButton);

    const std::size_t told = focusedByReader.size();
    QTest::keyClick(button, Qt::Key_Space);
    storeChanged(false);
    QTest::keyClick(button, Qt::Key_Space);
    storeChanged(true);
    settle();
    EXPECT_EQ(focusedByReader.size(), told);
    EXPECT_EQ(met(), asButton);
    QAccessible::installUpdateHandler(previous);
}

}  // namespace
}  // namespace quorvane
