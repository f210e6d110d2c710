// Slider rows write once per complete edit: at the end of a drag, per nudge
// and per keyboard step, never while the thumb moves.

#include "views/controls/native_slider_row.hpp"
#include "presentation/main_window/slider_row_columns.hpp"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include "display_store/store_world.hpp"
#include "models/coding/number_format.hpp"
#include "presentation/controls/adjustment_nudge.hpp"
#include "views/design/theme.hpp"
#include "views/support/ink.hpp"
#include "views/support/value_announcements.hpp"

namespace quorvane {
namespace {

constexpr DisplayID kDisplay = 1;

QPoint handleCentre(QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.subControls = QStyle::SC_All;
    return slider->style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
        .center();
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A contrast row bound to the store the way the colour page binds it.
class NativeSliderRowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store = &world.start();
        row = std::make_unique<NativeSliderRow>(
            theme, NativeSliderRowSpec{"대비", std::nullopt, 0.2, 2.0, 0.05},
            store->colorAdjustment(kDisplay).contrast, "1.00", [this](double value) {
                ++writes;
                if (!refuse)
                    store->updateColorAdjustment(kDisplay, [value](ColorAdjustment& adjustment) {
                        adjustment.contrast = value;
                    });
                republish();
            });
        row->resize(520, 40);
        row->show();
        slider = row->slider();
    }

    // What the page does on every store change.
    void republish() {
        const double contrast = store->colorAdjustment(kDisplay).contrast;
        row->setValue(contrast, formatFixed(contrast, 2));
    }

    double contrast() const { return store->colorAdjustment(kDisplay).contrast; }

    Theme theme{false};
    testing::StoreWorld world;
    DisplayStore* store = nullptr;
    std::unique_ptr<NativeSliderRow> row;
    QSlider* slider = nullptr;
    int writes = 0;
    // The owner refuses every write: it publishes its unchanged value.
    bool refuse = false;
};

TEST_F(NativeSliderRowTest, HundredMovesOfADragWriteOnceAtTheRelease) {
    const QPoint start = handleCentre(slider);
    sendMouse(slider, QEvent::MouseButtonPress, start, Qt::LeftButton);
    for (int i = 1; i <= 100; ++i)
        sendMouse(slider, QEvent::MouseMove, start + QPoint(i, 0), Qt::LeftButton);
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(contrast(), 1.0);
    const double dragged = row->model().thumbValue();
    EXPECT_GT(dragged, 1.0);
    EXPECT_EQ(row->readout()->text(), QString::fromStdString(formatFixed(dragged, 2)));

    // Assistive technology hears the readout, not the slider's position.
    auto* accessible = QAccessible::queryAccessibleInterface(slider);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->text(QAccessible::Value), row->readout()->text());

    sendMouse(slider, QEvent::MouseButtonRelease, start + QPoint(100, 0), Qt::NoButton);
    EXPECT_EQ(writes, 1);
    EXPECT_DOUBLE_EQ(contrast(), dragged);
}

// A click on the thumb changes nothing: no write, so no undo prompt and no
// journal entry.
TEST_F(NativeSliderRowTest, AClickOnTheThumbWritesNothing) {
    const QPoint start = handleCentre(slider);
    const auto journal = world.savedJournal();
    sendMouse(slider, QEvent::MouseButtonPress, start, Qt::LeftButton);
    sendMouse(slider, QEvent::MouseButtonRelease, start, Qt::NoButton);
    world.scheduler->runUntilIdle();
    EXPECT_EQ(writes, 0);
    EXPECT_FALSE(store->recentChangeRecoveryPrompt().has_value());
    EXPECT_EQ(world.savedJournal(), journal);
    EXPECT_EQ(row->readout()->text(), QStringLiteral("1.00"));
}

// After a write its owner refused, the thumb is taken at the value shown,
// not at the refused drag's end: dragging there again writes again.
TEST_F(NativeSliderRowTest, ADragToARefusedValueWritesAgain) {
    refuse = true;
    const auto drag = [this] {
        const QPoint start = handleCentre(slider);
        sendMouse(slider, QEvent::MouseButtonPress, start, Qt::LeftButton);
        sendMouse(slider, QEvent::MouseMove, start + QPoint(60, 0), Qt::LeftButton);
        sendMouse(slider, QEvent::MouseButtonRelease, start + QPoint(60, 0), Qt::NoButton);
    };
    drag();
    ASSERT_EQ(writes, 1);
    EXPECT_EQ(row->readout()->text(), QStringLiteral("1.00"));
    EXPECT_EQ(slider->value(), SliderScale(0.2, 2.0, 0.05).position(1.0));
    drag();
    EXPECT_EQ(writes, 2);
}

TEST_F(NativeSliderRowTest, AStoreUpdateDuringADragLeavesTheThumbUnderTheMouse) {
    const QPoint start = handleCentre(slider);
    sendMouse(slider, QEvent::MouseButtonPress, start, Qt::LeftButton);
    sendMouse(slider, QEvent::MouseMove, start + QPoint(60, 0), Qt::LeftButton);
    const int held = slider->sliderPosition();
    const double dragged = row->model().thumbValue();

    // An undo elsewhere publishes another contrast while the thumb is held.
    store->updateColorAdjustment(kDisplay, [](ColorAdjustment& value) { value.contrast = 0.4; });
    republish();
    EXPECT_EQ(slider->sliderPosition(), held);

    sendMouse(slider, QEvent::MouseButtonRelease, start + QPoint(60, 0), Qt::NoButton);
    EXPECT_DOUBLE_EQ(contrast(), dragged);
}

TEST_F(NativeSliderRowTest, ANudgeWritesOnceAndMovesTheThumbWithTheStore) {
    row->incrementButton()->click();
    EXPECT_EQ(writes, 1);
    EXPECT_DOUBLE_EQ(contrast(), 1.05);
    EXPECT_EQ(slider->value(), SliderScale(0.2, 2.0, 0.05).position(1.05));
    EXPECT_EQ(row->readout()->text(), QStringLiteral("1.05"));
}

TEST_F(NativeSliderRowTest, AKeyboardStepIsOneCompleteEdit) {
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(writes, 1);
    EXPECT_DOUBLE_EQ(contrast(), 1.05);
    // A page is whole steps (four of 0.05 on this range, never 3.6), so
    // the value stays on the grid the arrows and nudges keep.
    QTest::keyClick(slider, Qt::Key_PageDown);
    EXPECT_EQ(writes, 2);
    EXPECT_DOUBLE_EQ(contrast(), 0.85);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(slider)->text(QAccessible::Value),
              QStringLiteral("0.85"));
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_DOUBLE_EQ(contrast(), 1.05);
}

TEST_F(NativeSliderRowTest, AWheelNotchWritesOnlyOnceTheSliderIsPicked) {
    const QPoint at = handleCentre(slider);
    auto notch = [&] {
        QWheelEvent wheel(QPointF(at), QPointF(slider->mapToGlobal(at)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider, &wheel);
        return wheel.isAccepted();
    };
    // Passing over on the way down the page: not taken, nothing written.
    EXPECT_FALSE(notch());
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(contrast(), 1.0);
    EXPECT_FALSE(slider->hasFocus());  // a wheel alone never picks it

    QApplication::setActiveWindow(row.get());
    slider->setFocus();
    ASSERT_TRUE(slider->hasFocus());
    EXPECT_TRUE(notch());
    EXPECT_EQ(writes, 1);
    EXPECT_NE(contrast(), 1.0);
}

// The readout and what a screen reader hears take the committed value at
// once, and keys step from it.
TEST(NativeDDCSliderRowTest, CommitStaysInTheReadoutAndTheThumbUntilTheMonitorAnswers) {
    Theme theme(false);
    std::vector<double> commits;
    NativeDDCSliderRow row(theme, "밝기", std::nullopt, 0.5, "50%", 0.05, 1.0,
                           [&](double value) { commits.push_back(value); });
    row.incrementButton()->click();
    ASSERT_EQ(commits, std::vector<double>{0.51});
    EXPECT_EQ(row.readout()->text(), QStringLiteral("51%"));
    EXPECT_EQ(row.slider()->value(), SliderScale(0.05, 1.0, 0.01).position(0.51));

    row.setValue(0.51, "51% (모니터)");
    EXPECT_EQ(row.readout()->text(), QStringLiteral("51% (모니터)"));
    EXPECT_EQ(row.slider()->value(), SliderScale(0.05, 1.0, 0.01).position(0.51));
}

TEST(NativeDDCSliderRowTest, TheFloorOfTheRangeDisablesTheMinusButton) {
    Theme theme(false);
    int commits = 0;
    NativeDDCSliderRow row(theme, "밝기", std::nullopt, 0.06, "6%", 0.05, 1.0,
                           [&](double) { ++commits; });
    row.decrementButton()->click();
    EXPECT_EQ(commits, 1);
    EXPECT_FALSE(row.decrementButton()->isEnabled());
    EXPECT_EQ(row.readout()->text(), QStringLiteral("5%"));
}

// A monitor row at the largest text size with a long title, as the detail
// column shows it.
class NarrowDDCSliderRowTest : public ::testing::Test {
  protected:
    NarrowDDCSliderRowTest() { theme.setTextSize(QuorvaneTextSize::veryLarge); }

    // Lays the row out at `width` (its own height for that width) and shows it.
    void layOut(int width) {
        row.resize(width, row.heightForWidth(width));
        row.show();
        QApplication::processEvents();
    }

    QRect inRow(QWidget* widget) const {
        return QRect(widget->mapTo(&row, QPoint(0, 0)), widget->size());
    }

    Theme theme{false};
    int commits = 0;
    NativeDDCSliderRow row{
        theme, "모니터 자체 RGB · 빨강",     "모니터 자체 설정", 0.5, "50%", 0.05,
        1.0,   [this](double) { ++commits; }};
};

const QLabel* titleOf(NativeSliderRow& row, const QString& title) {
    for (const QLabel* label : row.label()->findChildren<QLabel*>()) {
        if (label->text() == title)
            return label;
    }
    return nullptr;
}

TEST_F(NarrowDDCSliderRowTest, ANarrowColumnWrapsTheTitleBesideTheSlider) {
    layOut(480);
    const QRect label = inRow(row.label());
    const QRect slider = inRow(row.slider());
    EXPECT_LT(label.right(), slider.left());
    // The title wraps inside the label column rather than leaving the row.
    const QFontMetrics metrics(theme.baseFont());
    const QLabel* title = titleOf(row, QStringLiteral("모니터 자체 RGB · 빨강"));
    ASSERT_NE(title, nullptr);
    EXPECT_GE(title->height(), 2 * metrics.lineSpacing() - 2);
    EXPECT_LE(label.width(), *SliderRowColumns::labelWidth(480, QuorvaneTextSize::veryLarge));
    EXPECT_GE(slider.width(), SliderRowColumns::kSliderMinimumWidth);
    EXPECT_LE(inRow(row.readout()).right(), row.width());
}

TEST_F(NarrowDDCSliderRowTest, AColumnTooNarrowForTheLabelBesideItPutsTheTitleAbove) {
    layOut(360);
    const QRect label = inRow(row.label());
    const QRect slider = inRow(row.slider());
    EXPECT_LE(label.bottom(), slider.top());
    EXPECT_GE(slider.width(), 150);
    EXPECT_LE(inRow(row.readout()).right(), row.width());
}

TEST_F(NarrowDDCSliderRowTest, StackedRowStillCommitsOncePerNudge) {
    layOut(360);
    row.incrementButton()->click();
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(row.readout()->text(), QStringLiteral("51%"));
}

// Rows of one card share a width: their sliders start at one x whatever
// their titles and readouts, and they stack or stay side by side together.
TEST(SliderRowColumnsTest, RowsOfOneWidthLineUpTheirSlidersAndStackTogether) {
    Theme theme(false);
    theme.setTextSize(QuorvaneTextSize::standard);
    NativeSliderRow temperature(theme,
                                {"색온도", "낮은 K는 따뜻하게, 높은 K는 차갑게", 2700, 9300, 100},
                                6500, "6500K", [](double) {});
    NativeSliderRow shadows(theme, {"어두운 영역과 그림자 깊이", std::nullopt, 0.2, 2.0, 0.05}, 1.0,
                            "1.00", [](double) {});
    for (const int width : {520, 300, 230}) {
        for (auto* row : {&temperature, &shadows}) {
            row->resize(width, row->heightForWidth(width));
            row->show();
        }
        QApplication::processEvents();
        const int left = temperature.slider()->mapTo(&temperature, QPoint(0, 0)).x();
        EXPECT_EQ(shadows.slider()->mapTo(&shadows, QPoint(0, 0)).x(), left) << width;
        const bool stacked = !SliderRowColumns::labelWidth(width, QuorvaneTextSize::standard);
        for (auto* row : {&temperature, &shadows}) {
            const int labelBottom = row->label()->geometry().bottom();
            EXPECT_EQ(labelBottom < row->content()->geometry().top(), stacked) << width;
            EXPECT_LE(row->readout()->mapTo(row, QPoint(row->readout()->width(), 0)).x(), width);
        }
    }
}

// A labelled row, title beside its controls: the controls start 12 after
// the label column (where the minus button's extent begins, as the
// accessibility bridge reports it: the button draws no edge of its own) and
// reach the row's trailing edge (where the readout's text is drawn to), at
// each text size and width that keeps the title beside them; a row whose
// title stands above reaches the trailing edge too.
TEST(SliderRowColumnsTest, ControlsStartTwelveAfterTheLabelColumnAndReachTheTrailingEdge) {
    Theme theme(false);
    int checked = 0;
    for (const auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
        theme.setTextSize(size);
        NativeSliderRow row(theme,
                            {"색온도", "낮은 K는 따뜻하게, 높은 K는 차갑게", 2700, 9300, 100}, 6500,
                            "6500K", [](double) {});
        for (const int width : {640, 480, 400, 300}) {
            row.resize(width, row.heightForWidth(width));
            row.show();
            QApplication::processEvents();
            const QImage drawn = row.grab().toImage();
            const QRect readout = testing::boxIn(&row, row.readout());
            const QRect ink = testing::inkBounds(
                drawn,
                QRect(readout.left(), readout.top(), width - readout.left(), readout.height()));
            ASSERT_FALSE(ink.isEmpty()) << width;
            EXPECT_GE(ink.right(), width - 3) << width;
            const QRect label = testing::boxIn(&row, row.label());
            if (label.right() >= testing::boxIn(&row, row.content()).left())
                continue;  // the title stands above its controls here
            ++checked;
            QAccessibleInterface* minus =
                QAccessible::queryAccessibleInterface(row.decrementButton());
            ASSERT_NE(minus, nullptr);
            const int controlsStart = row.mapFromGlobal(minus->rect().topLeft()).x();
            EXPECT_EQ(controlsStart - (label.right() + 1), 12) << width;
        }
    }
    EXPECT_GE(checked, 4);
}

// A monitor row nudged up shows the committed percent at once but draws its
// thumb on the monitor's value until the monitor publishes the new one; the
// change is told once, and the thumb catching up is not told again.
TEST(NativeDDCSliderRowTest, TheThumbIsDrawnOnTheMonitorsValueUntilItPublishesTheCommit) {
    Theme theme(false);
    const auto make = [&](double value, const std::string& text) {
        auto row = std::make_unique<NativeDDCSliderRow>(theme, "밝기", std::nullopt, value, text,
                                                        0.05, 1.0, [](double) {});
        row->resize(420, row->sizeHint().height());
        row->show();
        QApplication::processEvents();
        return row;
    };
    const auto thumbOf = [](NativeDDCSliderRow& row) { return row.slider()->grab().toImage(); };
    auto atHalf = make(0.5, "50%");
    auto atNext = make(0.51, "51%");
    auto nudged = make(0.5, "50%");
    ASSERT_NE(thumbOf(*atHalf), thumbOf(*atNext));
    testing::ValueAnnouncements told;
    nudged->incrementButton()->click();
    EXPECT_EQ(nudged->readout()->text(), QStringLiteral("51%"));
    EXPECT_EQ(thumbOf(*nudged), thumbOf(*atHalf));
    EXPECT_EQ(told.of(nudged->slider()), 1);

    // The monitor takes it; the caller's text reads as the pending one did.
    nudged->setValue(0.51, "51%");
    QApplication::processEvents();
    EXPECT_EQ(thumbOf(*nudged), thumbOf(*atNext));
    EXPECT_EQ(told.of(nudged->slider()), 1);
}

// While a commit waits the thumb is drawn on the monitor's value, and that
// is where the pointer takes it: a press on the drawn thumb starts a drag
// from there, a click on it commits nothing the user did not set, and a
// press on the groove takes the thumb to the pointer, never a page step
// from a value no one sees. Real pointer events on the real row.
TEST(NativeDDCSliderRowTest, ThePointerTakesTheThumbWhereItIsDrawnWhileACommitWaits) {
    Theme theme(false);
    std::vector<double> commits;
    QWidget window;
    window.resize(460, 80);
    auto* row = new NativeDDCSliderRow(
        theme, "밝기", std::nullopt, 0.2, "20%", 0.05, 1.0,
        [&](double value) { commits.push_back(value); }, &window);
    row->resize(440, row->sizeHint().height());
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ReadoutSlider* slider = row->slider();
    const SliderScale scale(0.05, 1.0, 0.01);
    // The thumb's rectangle for a value, as the style lays it out.
    const auto thumbAt = [&](double value) {
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = Qt::Horizontal;
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = scale.position(value);
        option.sliderValue = option.sliderPosition;
        option.subControls = QStyle::SC_All;
        return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                               slider);
    };
    NativeDDCSliderRow atOutside(theme, "밝기", std::nullopt, 0.2, "20%", 0.05, 1.0, [](double) {});
    atOutside.resize(row->size());
    const auto drawn = [](NativeDDCSliderRow* shown) { return shown->slider()->grab().toImage(); };

    // Dragged from 20 % to about 80 %; the monitor has not answered yet.
    QTest::mousePress(slider, Qt::LeftButton, {}, thumbAt(0.2).center());
    QTest::mouseMove(slider, thumbAt(0.8).center());
    QTest::mouseRelease(slider, Qt::LeftButton, {}, thumbAt(0.8).center());
    ASSERT_EQ(commits.size(), 1u);
    const double dragged = commits.back();
    ASSERT_NEAR(dragged, 0.8, 0.02);
    ASSERT_EQ(row->readout()->text(),
              QString::fromStdString(QuorvaneAdjustmentNudge::percentText(dragged)));
    ASSERT_EQ(drawn(row), drawn(&atOutside)) << "the thumb waits on the monitor's value";

    // A click on the drawn thumb takes it and lets go: nothing new is set.
    QTest::mousePress(slider, Qt::LeftButton, {}, thumbAt(0.2).center());
    EXPECT_TRUE(slider->isSliderDown());
    EXPECT_EQ(drawn(row), drawn(&atOutside)) << "held, the thumb stays where it was taken";
    QTest::mouseRelease(slider, Qt::LeftButton, {}, thumbAt(0.2).center());
    EXPECT_EQ(commits, std::vector<double>{dragged});

    // Taken and moved, it drags from where it was drawn.
    QTest::mousePress(slider, Qt::LeftButton, {}, thumbAt(0.2).center());
    QTest::mouseMove(slider, thumbAt(0.3).center());
    EXPECT_EQ(
        row->readout()->text(),
        QString::fromStdString(QuorvaneAdjustmentNudge::percentText(row->model().thumbValue())));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, thumbAt(0.3).center());
    ASSERT_EQ(commits.size(), 2u);
    EXPECT_NEAR(commits.back(), 0.3, 0.02);

    // A press on the groove beside the drawn thumb takes the thumb there.
    QTest::mousePress(slider, Qt::LeftButton, {}, thumbAt(0.6).center());
    QTest::mouseRelease(slider, Qt::LeftButton, {}, thumbAt(0.6).center());
    ASSERT_EQ(commits.size(), 3u);
    EXPECT_NEAR(commits.back(), 0.6, 0.02);
    EXPECT_EQ(drawn(row), drawn(&atOutside));
}

}  // namespace
}  // namespace quorvane
