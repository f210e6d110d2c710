#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QWidget>

#include "views/controls/confirmation_presenter.hpp"
#include "views/design/theme.hpp"
#include "views/design/window_theme_follower.hpp"

namespace quorvane {
namespace {

using Kind = QuorvaneDestructiveActionKind;
using Style = QuorvaneDestructiveConfirmationStyle;

struct PresenterTest : ::testing::Test {
    QWidget window;
    ConfirmationPresenter* presenter = new ConfirmationPresenter(&window);
    int runs = 0;

    PresenterTest() { window.show(); }
    void post(Style style = Style::destructive) {
        presenter->request(Kind::deletePreset, std::string("따뜻한 저녁"), style,
                           [this] { ++runs; });
    }
    void turn() { QCoreApplication::processEvents(); }
};

TEST_F(PresenterTest, ConfirmRunsTheActionOnceAfterTheCoordinatorIsIdle) {
    bool idleWhenRun = false;
    presenter->request(Kind::resetAllSettings, std::nullopt, Style::destructive, [&] {
        ++runs;
        idleWhenRun = !presenter->coordinator().pending() &&
                      !presenter->coordinator().confirmationPresented();
    });
    QMessageBox* box = presenter->dialog();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->buttonRole(presenter->confirmButton()), QMessageBox::DestructiveRole);
    presenter->confirmButton()->click();
    turn();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(idleWhenRun);
    EXPECT_EQ(presenter->dialog(), nullptr);
    presenter->coordinator().confirmPending();  // a second confirm finds nothing
    EXPECT_EQ(runs, 1);
}

TEST_F(PresenterTest, CancelEscapeAndClosingNeverRunTheAction) {
    post();
    presenter->cancelButton()->click();
    EXPECT_FALSE(presenter->coordinator().pending());  // at once, not a turn later

    post();
    QTest::keyClick(presenter->dialog(), Qt::Key_Escape);
    turn();
    EXPECT_FALSE(presenter->coordinator().pending());

    post();
    presenter->dialog()->reject();  // dismissed without a button
    EXPECT_FALSE(presenter->coordinator().confirmationPresented());
    turn();
    turn();
    EXPECT_FALSE(presenter->coordinator().pending());
    EXPECT_EQ(runs, 0);
}

TEST_F(PresenterTest, EscapeIsADismissalWithoutAButton) {
    post();
    QTest::keyClick(presenter->dialog(), Qt::Key_Escape);
    // Hidden at once; the request stays until one turn of the event loop.
    EXPECT_EQ(presenter->dialog(), nullptr);
    EXPECT_FALSE(presenter->coordinator().confirmationPresented());
    ASSERT_TRUE(presenter->coordinator().pending());
    const std::string first = presenter->coordinator().pending()->id;

    // A request posted in that turn is dropped like any other while one is
    // pending: no dialog comes up for it.
    int second = 0;
    presenter->request(Kind::deleteScene, std::string("회의"), Style::destructive,
                       [&] { ++second; });
    EXPECT_EQ(presenter->coordinator().pending()->id, first);
    EXPECT_EQ(presenter->dialog(), nullptr);

    turn();
    EXPECT_FALSE(presenter->coordinator().pending());
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(second, 0);

    // Idle again: the next request is asked.
    post();
    ASSERT_NE(presenter->dialog(), nullptr);
    EXPECT_TRUE(presenter->dialog()->isVisible());
}

TEST_F(PresenterTest, SecondRequestWhileAskingIsDroppedAndTheDialogKeepsItsTexts) {
    post(Style::standard);
    const QString text = presenter->dialog()->text();
    int second = 0;
    presenter->request(Kind::deleteScene, std::string("회의"), Style::destructive,
                       [&] { ++second; });
    EXPECT_EQ(presenter->dialog()->text(), text);
    EXPECT_EQ(presenter->dialog()->buttonRole(presenter->confirmButton()), QMessageBox::AcceptRole);
    presenter->confirmButton()->click();
    turn();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(second, 0);
}

TEST_F(PresenterTest, AnActionMayAskAgainAndGetsAFreshDialog) {
    presenter->request(Kind::deletePreset, std::string("A"), Style::destructive,
                       [this] { post(); });
    presenter->confirmButton()->click();
    turn();
    ASSERT_NE(presenter->dialog(), nullptr);
    EXPECT_TRUE(presenter->dialog()->isVisible());
    presenter->confirmButton()->click();
    turn();
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

TEST(PresenterLifetimeTest, AWindowClosedWithItsDialogOpenNeverRunsTheAction) {
    int runs = 0;
    {
        QWidget window;
        window.show();
        auto* presenter = new ConfirmationPresenter(&window);
        presenter->request(QuorvaneDestructiveActionKind::resetAllSettings, std::nullopt,
                           QuorvaneDestructiveConfirmationStyle::destructive, [&] { ++runs; });
        ASSERT_NE(presenter->dialog(), nullptr);
    }
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0);
}

TEST(PresenterLifetimeTest, ReturnNeverConfirmsADestructiveRequest) {
    QWidget window;
    window.show();
    auto* presenter = new ConfirmationPresenter(&window);
    int runs = 0;
    presenter->request(QuorvaneDestructiveActionKind::deletePreset, std::string("A"),
                       QuorvaneDestructiveConfirmationStyle::destructive, [&] { ++runs; });
    QTest::keyClick(presenter->dialog(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(presenter->coordinator().pending());
}

// A theme change while the question is open restyles it in place: the
// keyboard focus stays on the safe button, so Return still answers with it,
// not with the destructive one.
TEST(PresenterLifetimeTest, ReturnNeverConfirmsADestructiveRequestAfterAThemeChange) {
    Theme theme(false);
    WindowThemeFollower follower(theme);
    QWidget window;
    window.show();
    auto* presenter = new ConfirmationPresenter(&window);
    int runs = 0;
    presenter->request(QuorvaneDestructiveActionKind::deletePreset, std::string("A"),
                       QuorvaneDestructiveConfirmationStyle::destructive, [&] { ++runs; });
    QCoreApplication::processEvents();
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    theme.setAppearance(QuorvaneAppearance::dark);
    QCoreApplication::processEvents();
    EXPECT_EQ(presenter->dialog()->focusWidget(), presenter->cancelButton());
    QTest::keyClick(presenter->dialog(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(presenter->coordinator().pending());
}

}  // namespace
}  // namespace quorvane
