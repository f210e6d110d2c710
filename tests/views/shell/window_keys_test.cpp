// The closing keys of the program's windows: Ctrl+W and Escape close a
// window where asked, Ctrl+Q quits from any; Escape goes first to a sheet
// or menu open over the window, and to a control that answers it, while
// Ctrl+Q and Ctrl+W reach the window from a menu, list or sheet over it.

#include "app/shell/window_keys.hpp"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <functional>

namespace quorvane {
namespace {

// A control that takes Escape for its own use, as an open edit would.
class EscapeTaker : public QPushButton {
  public:
    using QPushButton::QPushButton;
    int escapes = 0;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Escape)
            return QPushButton::keyPressEvent(event);
        ++escapes;
        event->accept();
    }
};

class WindowKeysTest : public ::testing::Test {
  protected:
    void open(WindowKeys keys) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(button = new QPushButton(QStringLiteral("적용"), &window));
        layout->addWidget(taker = new EscapeTaker(QStringLiteral("편집"), &window));
        layout->addWidget(picker = new QComboBox(&window));
        picker->addItems({QStringLiteral("기본"), QStringLiteral("크게")});
        addWindowKeys(&window, keys, [this] { ++quits; });
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        button->setFocus();
    }

    QWidget window;
    QPushButton* button = nullptr;
    EscapeTaker* taker = nullptr;
    QComboBox* picker = nullptr;
    int quits = 0;
};

// What opens over a window and takes the keyboard while open: the widget
// that then receives the keys.
struct OpenOver {
    const char* what;
    std::function<QWidget*(QWidget& window, QComboBox& picker)> open;
};

const OpenOver kOpenOver[] = {
    {"menu",
     [](QWidget& window, QComboBox&) -> QWidget* {
         auto* menu = new QMenu(&window);
         menu->addAction(QStringLiteral("기본"));
         menu->popup(window.mapToGlobal(QPoint(0, 0)));
         return menu;
     }},
    {"picker list",
     [](QWidget&, QComboBox& picker) -> QWidget* {
         picker.showPopup();
         return picker.view();
     }},
    {"sheet",
     [](QWidget& window, QComboBox&) -> QWidget* {
         auto* sheet = new QDialog(&window);
         sheet->setWindowModality(Qt::WindowModal);
         auto* layout = new QVBoxLayout(sheet);
         auto* close = new QPushButton(QStringLiteral("닫기"), sheet);
         layout->addWidget(close);
         sheet->show();
         close->setFocus();
         return close;
     }},
};

TEST_F(WindowKeysTest, EscapeClosesWhatIsOpenOverTheWindowFirstAndOnlyWhereAsked) {
    open({.closeOnCtrlW = true, .closeOnEscape = true});
    // A control that answers Escape keeps it.
    taker->setFocus();
    QTest::keyClick(taker, Qt::Key_Escape);
    EXPECT_EQ(taker->escapes, 1);
    EXPECT_TRUE(window.isVisible());

    // A sheet over the window.
    auto* sheet = new QDialog(&window);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet));
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(window.isVisible());

    // A menu open in it.
    QMenu menu(&window);
    menu.addAction(QStringLiteral("기본"));
    menu.popup(button->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(menu.isVisible());
    QTest::keyClick(&menu, Qt::Key_Escape);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowKeysTest, TheMainWindowTakesCtrlQAndCtrlWButLeavesEscape) {
    open({.closeOnCtrlW = true});
    QTest::keyClick(button, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits, 1);
    QTest::keyClick(button, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(button, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowKeysTest, CtrlQAndCtrlWWorkWhileAMenuAPickerListOrASheetHasTheKeyboard) {
    open({.closeOnCtrlW = true});
    for (const OpenOver& over : kOpenOver) {
        SCOPED_TRACE(over.what);
        quits = 0;
        window.show();
        QWidget* keys = over.open(window, *picker);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(keys->window()));
        QTest::keyClick(keys, Qt::Key_Q, Qt::ControlModifier);
        EXPECT_EQ(quits, 1);

        // The window closes with what is open over it.
        QTest::keyClick(keys, Qt::Key_W, Qt::ControlModifier);
        EXPECT_FALSE(keys->isVisible());
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
}

TEST_F(WindowKeysTest, CtrlWClosesOnlyTheWindowInFrontAndCtrlQQuitsOnce) {
    open({.closeOnCtrlW = true});
    // Another window of the program, whose keys were added later.
    QWidget behind;
    addWindowKeys(&behind, {.closeOnCtrlW = true}, [this] { ++quits; });
    behind.show();
    QWidget* keys = kOpenOver[1].open(window, *picker);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(keys->window()));

    QTest::keyClick(keys, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits, 1);
    QTest::keyClick(keys, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(behind.isVisible());
}

}  // namespace
}  // namespace quorvane
