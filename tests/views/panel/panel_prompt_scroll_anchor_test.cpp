// The recent-change prompt appearing over the panel's quick controls, or
// going again, never moves the row under the pointer; what lies above the
// prompt stays where it is.

#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include "views/controls/recent_change_prompt_view.hpp"
#include "views/panel/panel_header_view.hpp"
#include "views/panel/short_panel_fixture.hpp"

namespace quorvane::testing {
namespace {

using PanelPromptScrollTest = ShortPanelTest;

TEST_F(PanelPromptScrollTest, ThePromptComingAndGoingLeavesTheRowUnderThePointerInPlace) {
    QSlider* contrast = card().contrastRow()->slider();
    area->ensureWidgetVisible(contrast);
    settle();
    QCursor::setPos(contrast->mapToGlobal(contrast->rect().center()));
    const int shownAt = windowY(contrast);

    store().updateColorAdjustment(PanelWorld::kMonitorID,
                                  [](ColorAdjustment& a) { a.contrast = 1.2; });
    settle();
    auto* prompt = panel->findChild<RecentChangePromptView*>();
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(prompt->isVisible());
    EXPECT_GT(prompt->height(), 30);
    EXPECT_EQ(windowY(contrast), shownAt);

    prompt->keepButton()->click();
    settle();
    EXPECT_FALSE(prompt->isVisible());
    EXPECT_EQ(windowY(contrast), shownAt);
}

TEST_F(PanelPromptScrollTest, WhatLiesAboveThePromptStaysPutAndTheRowsMakeRoom) {
    area->verticalScrollBar()->setValue(0);
    settle();
    QWidget* header = panel->header();
    QCursor::setPos(header->mapToGlobal(header->rect().center()));
    const int headerAt = windowY(header);
    const int cardAt = windowY(&card());

    store().updateColorAdjustment(PanelWorld::kMonitorID,
                                  [](ColorAdjustment& a) { a.contrast = 1.2; });
    settle();
    EXPECT_EQ(windowY(header), headerAt);
    EXPECT_GT(windowY(&card()), cardAt);
}

// Keyboard use: with the pointer away from the panel, what stands at the top
// of the view is what the user reads; the prompt coming above it or going
// again leaves it where it is, to the pixel.
TEST_F(PanelPromptScrollTest, WithThePointerAwayTheTopOfTheViewStaysPut) {
    QScrollBar* bar = area->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    settle();
    QCursor::setPos(panel->mapToGlobal(QPoint(-400, -400)));
    QWidget* viewport = area->viewport();
    // The content at the top of the view, where the prompt will not show.
    const QRect top(0, 0, viewport->width(), 24);
    const auto drawnTop = [&] { return viewport->grab(top).toImage(); };
    QWidget* topPiece = viewport->childAt(viewport->width() / 2, 2);
    ASSERT_NE(topPiece, nullptr);
    const int topAt = windowY(topPiece);
    const QImage before = drawnTop();

    store().updateColorAdjustment(PanelWorld::kMonitorID,
                                  [](ColorAdjustment& a) { a.warmth = 0.2; });
    settle();
    auto* prompt = panel->findChild<RecentChangePromptView*>();
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(prompt->isVisible());
    EXPECT_EQ(windowY(topPiece), topAt);
    EXPECT_TRUE(drawnTop() == before) << "the top of the view moved";

    prompt->keepButton()->click();
    settle();
    EXPECT_FALSE(prompt->isVisible());
    EXPECT_EQ(windowY(topPiece), topAt);
    EXPECT_TRUE(drawnTop() == before) << "the top of the view moved";
}

}  // namespace
}  // namespace quorvane::testing
