// The recent-change prompt appearing over a page of the detail form, or
// going again, never moves what is under the pointer: the page scrolls by
// the height it added or took away.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCursor>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>

#include "views/controls/recent_change_prompt_view.hpp"
#include "views/detail_form/detail_form_fixture.hpp"
#include "views/detail_form/recent_change_prompt_slot.hpp"

namespace quorvane::testing {
namespace {

int windowY(QWidget* widget) {
    return widget->mapTo(widget->window(), QPoint(0, 0)).y();
}

// The form in a window short enough for every page to scroll.
struct PromptScrollTest : DetailFormTest {
    void startShort() {
        start();
        window.resize(640, 420);
        form->resize(640, 420);
        turn();
    }
};

// Puts the pointer over the middle of `widget`.
void pointAt(QWidget* widget) {
    QCursor::setPos(widget->mapToGlobal(widget->rect().center()));
}

TEST_F(PromptScrollTest, ThePromptInsideTheColourPageLeavesTheRowUnderThePointerInPlace) {
    startShort();
    show(MainWindowSection::color);
    QSlider* midtones = sliderNamed(QStringLiteral("중간톤"));
    ASSERT_NE(midtones, nullptr);
    QScrollArea* area = form->page()->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    area->ensureWidgetVisible(midtones, 0, 150);
    turn();
    pointAt(midtones);
    const int shownAt = windowY(midtones);

    store().updateColorAdjustment(1, [](ColorAdjustment& a) { a.gamma = 1.3; });
    turn();
    const auto shownSlots = visible<RecentChangePromptSlot>();
    ASSERT_EQ(shownSlots.size(), 1);
    EXPECT_GT(shownSlots[0]->height(), 40);
    EXPECT_EQ(windowY(midtones), shownAt);

    // The store's 8-second dismissal takes the prompt away again.
    world.scheduler->advance(seconds(9));
    turn();
    EXPECT_TRUE(visible<RecentChangePromptSlot>().isEmpty());
    EXPECT_EQ(windowY(midtones), shownAt);
}

TEST_F(PromptScrollTest, ThePromptAboveASectionFormLeavesItsContentInPlace) {
    startShort();
    show(MainWindowSection::presets);
    QScrollArea* area = form->page()->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum() / 2);
    turn();
    // A button of the section in the middle of the view.
    QWidget* under = nullptr;
    const QRect view = area->viewport()->rect();
    for (auto* button : area->widget()->findChildren<QAbstractButton*>()) {
        const QPoint at = button->mapTo(area->viewport(), button->rect().center());
        if (button->isVisible() && view.contains(at) && at.y() > view.height() / 3) {
            under = button;
            break;
        }
    }
    ASSERT_NE(under, nullptr);
    pointAt(under);
    const int shownAt = windowY(under);

    store().updateColorAdjustment(1, [](ColorAdjustment& a) { a.contrast = 1.2; });
    turn();
    ASSERT_EQ(visible<RecentChangePromptSlot>().size(), 1);
    EXPECT_EQ(windowY(under), shownAt);

    // "이 설정 유지" closes it at once.
    visible<RecentChangePromptView>()[0]->keepButton()->click();
    turn();
    EXPECT_TRUE(visible<RecentChangePromptSlot>().isEmpty());
    EXPECT_EQ(windowY(under), shownAt);
}

}  // namespace
}  // namespace quorvane::testing
