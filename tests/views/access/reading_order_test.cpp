// The reading order Tab follows, on plain widgets placed by hand: lines read
// from the leading side, blocks read whole, a tall block that does not pull
// a column beside it onto its line, controls built after the window opened
// taking their place in the chain, and Tab going on from whichever choice
// of a picker holds its one stop; a button box linked once stands with its
// buttons.

#include "views/access/reading_order.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTest>

namespace quorvane {
namespace {

QPushButton* button(const char* text, QWidget* parent, QRect place) {
    auto* made = new QPushButton(QString::fromUtf8(text), parent);
    made->setGeometry(place);
    return made;
}

QStringList texts(const std::vector<QWidget*>& stops) {
    QStringList result;
    for (QWidget* stop : stops)
        result << static_cast<QPushButton*>(stop)->text();
    return result;
}

// The texts Tab reaches from the window's first control, once round.
QStringList tabbed(QWidget* window) {
    QStringList result;
    QWidget* first = firstTabStop(window);
    QWidget* stop = first;
    do {
        result << static_cast<QPushButton*>(stop)->text();
        do
            stop = stop->nextInFocusChain();
        while (!(stop->focusPolicy() & Qt::TabFocus) || !stop->isVisibleTo(window));
    } while (stop != first && result.size() < 50);
    return result;
}

TEST(ReadingOrderTest, ALineReadsFromItsLeadingSideAndEachBlockIsReadWhole) {
    QWidget window;
    // Built in no particular order: "+" first, the slider last.
    button("+", &window, {300, 10, 30, 30});
    button("−", &window, {10, 10, 30, 30});
    auto* sidebar = new QWidget(&window);
    sidebar->setGeometry(0, 50, 100, 400);
    button("row 2", sidebar, {0, 60, 100, 40});
    button("row 1", sidebar, {0, 10, 100, 40});
    auto* page = new QWidget(&window);
    page->setGeometry(110, 50, 300, 400);
    button("page", page, {10, 5, 100, 30});
    button("slider", &window, {45, 15, 250, 20});
    EXPECT_EQ(texts(tabStopsInReadingOrder(&window)),
              (QStringList{"−", "slider", "+", "row 1", "row 2", "page"}));

    window.setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(texts(tabStopsInReadingOrder(&window)),
              (QStringList{"+", "slider", "−", "page", "row 1", "row 2"}));
}

TEST(ReadingOrderTest, ATallBlockBesideAColumnLeavesTheColumnsLowerRowsToTheirOwnLines) {
    QWidget window;
    button("wide tall", &window, {0, 0, 100, 300});
    button("beside top", &window, {110, 0, 100, 100});
    button("beside lower", &window, {110, 120, 100, 100});
    button("under", &window, {0, 310, 100, 50});
    // The lower card beside the tall one starts below the line of the two
    // top ones, and the card under the tall one below that.
    EXPECT_EQ(texts(tabStopsInReadingOrder(&window)),
              (QStringList{"wide tall", "beside top", "beside lower", "under"}));
}

TEST(ReadingOrderTest, ATallBlockLeavesBothControlsOfTheColumnsTopRowBeforeItsLowerRow) {
    QWidget window;
    button("wide tall", &window, {0, 0, 100, 300});
    button("top left", &window, {150, 0, 60, 40});
    button("top right", &window, {220, 0, 60, 40});
    // The next row of the column starts left of both controls above it: on
    // the tall block's line it would be read between the block and them.
    button("lower", &window, {110, 60, 170, 40});
    EXPECT_EQ(texts(tabStopsInReadingOrder(&window)),
              (QStringList{"wide tall", "top left", "top right", "lower"}));
}

TEST(ReadingOrderTest, ControlsBuiltAfterTheWindowOpenedTakeTheirPlaceInTheChain) {
    QWidget window;
    auto* row = new QHBoxLayout(&window);
    auto* later = new QPushButton(QStringLiteral("later"), &window);
    row->addWidget(later);
    row->addWidget(new QPushButton(QStringLiteral("last"), &window));
    window.resize(400, 60);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(tabbed(&window), (QStringList{"later", "last"}));

    // Built now, put first on the row.
    row->insertWidget(0, new QPushButton(QStringLiteral("first"), &window));
    QApplication::processEvents();
    EXPECT_EQ(tabbed(&window), (QStringList{"first", "later", "last"}));
    // Moved to the end of the row, it is reached last.
    row->removeWidget(later);
    row->addWidget(later);
    QApplication::processEvents();
    EXPECT_EQ(tabbed(&window), (QStringList{"first", "last", "later"}));
    // Hidden, it is passed; shown again, it is back in its place.
    later->hide();
    QApplication::processEvents();
    EXPECT_EQ(tabbed(&window), (QStringList{"first", "last"}));
}

TEST(ReadingOrderTest, TabGoesOnFromWhicheverChoiceOfAPickerHoldsItsStop) {
    QWidget window;
    auto* row = new QHBoxLayout(&window);
    auto* before = new QPushButton(QStringLiteral("before"), &window);
    row->addWidget(before);
    auto* group = new QButtonGroup(&window);
    for (const char* text : {"one", "two", "three"}) {
        auto* choice = new QPushButton(QString::fromUtf8(text), &window);
        choice->setCheckable(true);
        group->addButton(choice);
        row->addWidget(choice);
    }
    auto* after = new QPushButton(QStringLiteral("after"), &window);
    row->addWidget(after);
    group->buttons().front()->setChecked(true);
    window.show();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();

    // The focus on the first choice takes the group's stop from the others;
    // the window is linked again meanwhile (something moved or resized).
    QAbstractButton* one = group->buttons()[0];
    QAbstractButton* two = group->buttons()[1];
    one->setFocus(Qt::TabFocusReason);
    applyReadingOrder(&window);
    QTest::keyClick(one, Qt::Key_Right);
    ASSERT_EQ(QApplication::focusWidget(), two);
    ASSERT_TRUE(two->isChecked());
    QTest::keyClick(two, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    QTest::keyClick(after, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), two);
    QTest::keyClick(two, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), before);
}

// A dialog's button box, which hands the focus to its first button, built
// before the control above its buttons and given its buttons last, as Qt's
// file dialog is: a single linking already reads the name, the box's
// buttons, then the type below, with the name left in its place.
TEST(ReadingOrderTest, ButtonsGivenToTheirBoxLastAreReadRightAfterTheControlBeforeThem) {
    QWidget window;
    button("folder", &window, {0, 0, 100, 30});
    button("name", &window, {0, 40, 100, 30});
    auto* box = new QDialogButtonBox(&window);
    box->setGeometry(110, 40, 200, 30);
    button("type", &window, {0, 80, 100, 30});
    box->setStandardButtons(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    for (QAbstractButton* each : box->buttons())
        each->setText(each == box->buttons().front() ? "first" : "second");
    applyReadingOrder(&window);
    EXPECT_EQ(tabbed(&window), (QStringList{"folder", "name", "first", "second", "type"}));
}

}  // namespace
}  // namespace quorvane
