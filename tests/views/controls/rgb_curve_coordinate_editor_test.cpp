// The curve editor on a store of the simulated platform: a drag previews, the
// release writes once, and on "RGB" one undo takes all three gammas back.

#include "views/controls/rgb_curve_coordinate_editor.hpp"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "display_store/store_world.hpp"
#include "views/controls/rgb_curve_graph_view.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/segmented_picker.hpp"
#include "views/design/theme.hpp"
#include "views/support/ink.hpp"
#include "views/support/text_ink_baseline.hpp"

namespace quorvane {
namespace {

constexpr DisplayID kDisplay = 1;

void sendMouse(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

class RGBCurveEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store = &world.start();
        store->updateColorAdjustment(kDisplay, [](ColorAdjustment& value) {
            value.redGamma = 1.3;
            value.greenGamma = 0.8;
            value.blueGamma = 1.1;
        });
        editor = std::make_unique<RGBCurveCoordinateEditor>(
            theme, [this] { return RGBGammas::of(store->colorAdjustment(kDisplay)); },
            [this](const RGBCurveEdit& edit) {
                ++writes;
                store->updateColorAdjustment(kDisplay,
                                             [&](ColorAdjustment& value) { edit.applyTo(value); });
            });
        editor->resize(420, 320);
        editor->show();
        graph = editor->graph();
    }

    RGBGammas stored() const { return RGBGammas::of(store->colorAdjustment(kDisplay)); }

    // Presses at the left third, moves across the plot, releases near the top.
    void dragAcrossTheGraph(int moves) {
        const double w = graph->width();
        const double h = graph->height();
        sendMouse(graph, QEvent::MouseButtonPress, {w / 3, h / 2}, Qt::LeftButton);
        for (int i = 0; i < moves; ++i)
            sendMouse(graph, QEvent::MouseMove, {w / 3 + i * w / (3.0 * moves), h * 0.3},
                      Qt::LeftButton);
        sendMouse(graph, QEvent::MouseButtonRelease, {w / 2, h * 0.2}, Qt::NoButton);
    }

    Theme theme{false};
    testing::StoreWorld world;
    DisplayStore* store = nullptr;
    std::unique_ptr<RGBCurveCoordinateEditor> editor;
    RGBCurveGraphView* graph = nullptr;
    int writes = 0;
};

TEST_F(RGBCurveEditorTest, DragPreviewsWithoutWritingAndTheReleaseWritesOnce) {
    const double w = graph->width();
    const double h = graph->height();
    sendMouse(graph, QEvent::MouseButtonPress, {w / 2, h / 2}, Qt::LeftButton);
    for (int i = 0; i < 100; ++i)
        sendMouse(graph, QEvent::MouseMove, {w / 2, h * (0.5 - i * 0.004)}, Qt::LeftButton);
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(stored(), (RGBGammas{1.3, 0.8, 1.1}));
    EXPECT_GT(editor->model().displayedGamma(stored()), 1.3);  // the preview shows

    sendMouse(graph, QEvent::MouseButtonRelease, {w / 2, h * 0.1}, Qt::NoButton);
    EXPECT_EQ(writes, 1);
    const auto after = stored();
    EXPECT_EQ(after.red, after.green);
    EXPECT_EQ(after.green, after.blue);
}

TEST_F(RGBCurveEditorTest, OneUndoRestoresAllThreeChannelsOfAnRGBCommit) {
    dragAcrossTheGraph(100);
    ASSERT_EQ(writes, 1);
    ASSERT_NE(stored(), (RGBGammas{1.3, 0.8, 1.1}));

    const auto prompt = store->recentChangeRecoveryPrompt();
    ASSERT_TRUE(prompt);
    EXPECT_TRUE(store->undoRecentChangeRecoveryPrompt(prompt->id));
    EXPECT_EQ(stored(), (RGBGammas{1.3, 0.8, 1.1}));
}

TEST_F(RGBCurveEditorTest, SingleChannelCommitLeavesTheOtherTwo) {
    auto* green = editor->findChildren<QAbstractButton*>()[2];
    ASSERT_EQ(green->text(), QStringLiteral("초록"));
    green->click();
    dragAcrossTheGraph(5);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(stored().red, 1.3);
    EXPECT_NE(stored().green, 0.8);
    EXPECT_EQ(stored().blue, 1.1);
}

TEST_F(RGBCurveEditorTest, StoreChangeDuringADragKeepsThePreviewOnShow) {
    const double w = graph->width();
    sendMouse(graph, QEvent::MouseButtonPress, {w / 2, 0}, Qt::LeftButton);
    const double preview = *editor->model().previewGamma();
    // Another control changes the display while the point is held.
    store->updateColorAdjustment(kDisplay, [](ColorAdjustment& value) { value.redGamma = 0.5; });
    editor->refresh();
    EXPECT_DOUBLE_EQ(editor->model().displayedGamma(stored()), preview);
    sendMouse(graph, QEvent::MouseButtonRelease, {w / 2, 0}, Qt::NoButton);
    EXPECT_DOUBLE_EQ(stored().red, preview);
}

TEST_F(RGBCurveEditorTest, ResetIsOfferedUntilAllThreeAreNeutral) {
    QAbstractButton* reset = nullptr;
    for (auto* button : editor->findChildren<QAbstractButton*>()) {
        if (button->text() == QStringLiteral("기본"))
            reset = button;
    }
    ASSERT_TRUE(reset);
    EXPECT_TRUE(reset->isEnabled());
    reset->click();
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(stored(), RGBGammas{});
    EXPECT_FALSE(reset->isEnabled());
}

// Side by side, the title over its hint and the channel segments stand on
// one baseline as drawn.
TEST_F(RGBCurveEditorTest, TheTitleAndTheChannelsStandOnOneBaseline) {
    editor->resize(900, 320);
    QApplication::processEvents();
    QLabel* title = nullptr;
    for (auto* label : editor->findChildren<QLabel*>()) {
        if (label->text() == QStringLiteral("곡선 그래프로 조정"))
            title = label;
    }
    auto* picker = editor->findChild<SegmentedPicker*>();
    ASSERT_TRUE(title && picker);
    // An unchosen segment: its label alone on the track.
    QAbstractButton* segment = picker->segment(1);
    ASSERT_LT(title->mapTo(editor.get(), QPoint(0, 0)).x() + title->width(),
              segment->mapTo(editor.get(), QPoint(0, 0)).x());
    const QImage picture = editor->grab().toImage();
    using testing::inkBaseline;
    EXPECT_NEAR(inkBaseline(editor.get(), picture, segment, segment->font(), segment->text()),
                inkBaseline(editor.get(), picture, title, title->font(), title->text()), 1.0);
}

// The three pills of the readout are drawn on one line, 8 apart, each
// whole; the reset button joins them while the row fits the editor and,
// in an editor too narrow for that (a half-width card), stands under them.
TEST_F(RGBCurveEditorTest, TheReadoutsPillsAreDrawnOnOneLine) {
    FitToWidth* readout = editor->coordinateReadout();
    const auto pills =
        readout->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly).toVector();
    auto* reset = readout->findChild<QAbstractButton*>();
    ASSERT_EQ(pills.size(), 3);
    ASSERT_NE(reset, nullptr);
    for (const int width : {230, 600}) {
        SCOPED_TRACE(width);
        editor->resize(width, 320);
        QApplication::processEvents();
        const QImage picture = editor->grab().toImage();
        std::vector<QRect> ink;
        for (QLabel* pill : pills) {
            const QRect box = testing::boxIn(editor.get(), pill);
            EXPECT_GE(box.width(), pill->sizeHint().width()) << pill->text().toStdString();
            ink.push_back(testing::inkBounds(picture, box));
            ASSERT_FALSE(ink.back().isEmpty());
        }
        const auto sameLine = [](const QRect& a, const QRect& b) {
            return a.top() <= b.bottom() && b.top() <= a.bottom();
        };
        for (std::size_t i = 1; i < ink.size(); ++i) {
            EXPECT_TRUE(sameLine(ink[i], ink[0])) << i;
            EXPECT_EQ(testing::boxIn(editor.get(), pills[i]).left(),
                      testing::boxIn(editor.get(), pills[i - 1]).right() + 1 + 8);
        }
        const QRect button = testing::inkBounds(picture, testing::boxIn(editor.get(), reset));
        ASSERT_FALSE(button.isEmpty());
        if (width == 600)
            EXPECT_TRUE(sameLine(button, ink[0]));
        else
            EXPECT_GT(button.top(), ink[0].bottom());
    }
}

// "기본" is a borderless button as wide as its title, which ends at the
// graph's trailing edge; it is drawn in the accent only while it can reset,
// and in the dimmed ink once the channel is neutral.
TEST_F(RGBCurveEditorTest, TheResetIsTitleWideAtTheGraphsEdgeAndGreysWhenNeutral) {
    editor->resize(600, 320);
    QApplication::processEvents();
    auto* reset = editor->coordinateReadout()->findChild<QAbstractButton*>();
    ASSERT_NE(reset, nullptr);
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(reset);
    EXPECT_EQ(heard->role(), QAccessible::Button);
    EXPECT_EQ(heard->text(QAccessible::Name), QStringLiteral("기본"));
    const QColor accent = theme.color(ColorRole::accent);
    const auto accentPixels = [&](const QImage& picture, const QRect& box) {
        int count = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const QColor pixel = picture.pixelColor(x, y);
                if (std::abs(pixel.red() - accent.red()) < 30 &&
                    std::abs(pixel.green() - accent.green()) < 30 &&
                    std::abs(pixel.blue() - accent.blue()) < 30)
                    ++count;
            }
        return count;
    };
    const QRect box = testing::boxIn(editor.get(), reset);
    QImage picture = editor->grab().toImage();
    const QRect title = testing::inkBounds(picture, box);
    ASSERT_FALSE(title.isEmpty());
    EXPECT_LE(testing::boxIn(editor.get(), graph).right() - title.right(), 4);
    EXPECT_LE(box.width() - title.width(), 8);
    EXPECT_GT(accentPixels(picture, box), 5);

    reset->click();
    ASSERT_FALSE(reset->isEnabled());
    picture = editor->grab().toImage();
    EXPECT_FALSE(testing::inkBounds(picture, box, 30).isEmpty());
    EXPECT_EQ(accentPixels(picture, box), 0);
}

}  // namespace
}  // namespace quorvane
