#include "views/panel/panel_quick_tune_card.hpp"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolButton>

#include "presentation/main_window/slider_scale.hpp"
#include "views/controls/nudge_button.hpp"
#include "views/design/busy_spinner.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/panel/panel_ddc_status_line.hpp"
#include "views/panel/panel_slider_row.hpp"
#include "views/panel/panel_world.hpp"
#include "views/store_bridge.hpp"
#include "views/support/ink.hpp"
#include "views/support/value_announcements.hpp"

namespace quorvane {
namespace {

using testing::PanelWorld;

// Drags the thumb through `positions` the way the slider reports a drag:
// pressed, moved, released.
void drag(PanelSliderRow& row, const std::vector<double>& positions) {
    QSlider* slider = row.slider();
    const auto ticks = [&](double value) {
        const auto& content = row.content();
        return SliderScale(content.lower, content.upper, content.nudgeStep).position(value);
    };
    slider->setSliderDown(true);
    for (double value : positions)
        slider->setSliderPosition(ticks(value));
    slider->setSliderDown(false);
}

class PanelQuickTuneCardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q")});
        world.start();
        bridge = std::make_unique<StoreBridge>(*world.store);
        context = std::make_unique<ViewContext>(ViewContext{*world.store, *bridge, shell, theme});
        card = std::make_unique<PanelQuickTuneCard>(*context);
        card->show();
        refresh();
    }
    void refresh() { card->refresh(world.store->displays().front()); }
    DisplayStore& store() { return *world.store; }
    ColorAdjustment adjustment() { return store().colorAdjustment(PanelWorld::kMonitorID); }

    PanelWorld world;
    Theme theme{false};
    ShellActions shell;
    std::unique_ptr<StoreBridge> bridge;
    std::unique_ptr<ViewContext> context;
    std::unique_ptr<PanelQuickTuneCard> card;
};

TEST_F(PanelQuickTuneCardTest, AnAppColourDragWritesTheGammaOnceAtRelease) {
    ASSERT_EQ(card->brightnessKind(), PanelBrightnessRowKind::appColor);
    const int writesBefore = world.gamma->writeCount();
    PanelSliderRow& row = *card->brightnessRow();
    QSlider* slider = row.slider();
    slider->setSliderDown(true);
    for (int move = 0; move < 200; ++move) {
        slider->setSliderPosition(move % 50);
        EXPECT_EQ(world.gamma->writeCount(), writesBefore);
    }
    slider->setSliderPosition(row.content().scale().position(0.8));
    EXPECT_EQ(row.valueLabel()->text(), "0.80");
    EXPECT_EQ(adjustment().softwareBrightness, 1.0);
    slider->setSliderDown(false);
    EXPECT_EQ(world.gamma->writeCount(), writesBefore + 1);
    EXPECT_DOUBLE_EQ(adjustment().softwareBrightness, 0.8);
}

TEST_F(PanelQuickTuneCardTest, AssistiveTechnologyReadsEachRowsValueTextNotTheThumbPosition) {
    const auto valueOf = [](PanelSliderRow& row) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(row.slider());
        EXPECT_NE(accessible, nullptr);
        return accessible ? accessible->text(QAccessible::Value) : QString();
    };
    PanelSliderRow& temperature = *card->colorTemperatureRow();
    EXPECT_EQ(valueOf(temperature), QStringLiteral("6500K"));
    EXPECT_EQ(valueOf(temperature), temperature.valueLabel()->text());
    drag(temperature, {5000, 7200});
    refresh();
    EXPECT_EQ(valueOf(temperature), QStringLiteral("7200K"));
    PanelSliderRow& contrast = *card->contrastRow();
    QTest::mouseClick(contrast.incrementButton(), Qt::LeftButton);
    EXPECT_EQ(valueOf(contrast), QStringLiteral("1.05"));  // the nudged value, at once
    // The numeric value the Linux bridge passes on is the row's number too,
    // within the row's own range: 1.05 within 0.2…2.0, not a tick count.
    auto* value = QAccessible::queryAccessibleInterface(contrast.slider())->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), 1.05);
    EXPECT_DOUBLE_EQ(value->minimumValue().toDouble(), 0.2);
    EXPECT_DOUBLE_EQ(value->maximumValue().toDouble(), 2.0);
    EXPECT_DOUBLE_EQ(value->minimumStepSize().toDouble(), 0.05);
    auto* kelvin = QAccessible::queryAccessibleInterface(temperature.slider())->valueInterface();
    EXPECT_DOUBLE_EQ(kelvin->currentValue().toDouble(), 7200);
    EXPECT_DOUBLE_EQ(kelvin->minimumValue().toDouble(), 2700);
    EXPECT_DOUBLE_EQ(kelvin->maximumValue().toDouble(), 9300);
    EXPECT_DOUBLE_EQ(kelvin->minimumStepSize().toDouble(), 100);
}

// Page Up/Down moves a slider by the whole number of its steps nearest a
// tenth of its range, as in the main window; each arrow step is told once.
TEST_F(PanelQuickTuneCardTest, APageIsATenthOfTheRangeAndEachStepIsToldOnce) {
    const auto current = [](QSlider* slider) {
        return QAccessible::queryAccessibleInterface(slider)
            ->valueInterface()
            ->currentValue()
            .toDouble();
    };
    const auto settle = [this] {
        QCoreApplication::processEvents();
        refresh();
        QCoreApplication::processEvents();
    };
    QSlider* temperature = card->colorTemperatureRow()->slider();
    testing::ValueAnnouncements told;
    temperature->setFocus();
    QTest::keyClick(temperature, Qt::Key_Right);
    settle();
    EXPECT_DOUBLE_EQ(current(temperature), 6600);
    EXPECT_EQ(told.of(temperature), 1);

    QTest::keyClick(temperature, Qt::Key_PageUp);
    settle();
    EXPECT_DOUBLE_EQ(current(temperature), 7300);
    EXPECT_EQ(card->colorTemperatureRow()->valueLabel()->text(), QStringLiteral("7300K"));
    EXPECT_EQ(told.of(temperature), 2);
    // The thumb rests on the value heard.
    EXPECT_EQ(temperature->value(), temperature->sliderPosition());

    ASSERT_EQ(card->brightnessKind(), PanelBrightnessRowKind::appColor);
    QSlider* brightness = card->brightnessRow()->slider();
    brightness->setFocus();
    QTest::keyClick(brightness, Qt::Key_PageDown);
    settle();
    EXPECT_DOUBLE_EQ(current(brightness), 0.85);
    EXPECT_DOUBLE_EQ(adjustment().softwareBrightness, 0.85);
    EXPECT_EQ(told.of(brightness), 1);
}

TEST_F(PanelQuickTuneCardTest, AValueSetByAScreenReaderIsOneWriteAsAKeyStepIs) {
    PanelSliderRow& contrast = *card->contrastRow();
    auto* value = QAccessible::queryAccessibleInterface(contrast.slider())->valueInterface();
    ASSERT_NE(value, nullptr);
    const int writesBefore = world.gamma->writeCount();
    value->setCurrentValue(1.37);
    EXPECT_EQ(world.gamma->writeCount(), writesBefore + 1);
    EXPECT_DOUBLE_EQ(adjustment().contrast, 1.37);
    refresh();
    EXPECT_EQ(contrast.valueLabel()->text(), "1.37");
    EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), 1.37);

    // Beyond the end it stops at the end; the temperature takes kelvin.
    value->setCurrentValue(9.0);
    EXPECT_DOUBLE_EQ(adjustment().contrast, 2.0);
    EXPECT_EQ(world.gamma->writeCount(), writesBefore + 2);
    PanelSliderRow& temperature = *card->colorTemperatureRow();
    QAccessible::queryAccessibleInterface(temperature.slider())
        ->valueInterface()
        ->setCurrentValue(5000);
    refresh();
    EXPECT_EQ(temperature.valueLabel()->text(), "5000K");
}

TEST_F(PanelQuickTuneCardTest, AMonitorRowReadsWholePercentsAndCommitsOnceWhenSet) {
    QTest::mouseClick(card->ddcStatusLine()->probeButton(), Qt::LeftButton);
    world.settle();
    refresh();
    ASSERT_EQ(card->brightnessKind(), PanelBrightnessRowKind::monitorBrightness);
    PanelSliderRow& row = *card->brightnessRow();
    auto* accessible = QAccessible::queryAccessibleInterface(row.slider());
    auto* value = accessible->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("40%"));
    EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), 40);
    EXPECT_DOUBLE_EQ(value->minimumValue().toDouble(), 5);
    EXPECT_DOUBLE_EQ(value->maximumValue().toDouble(), 100);
    EXPECT_DOUBLE_EQ(value->minimumStepSize().toDouble(), 1);

    const int setsBefore = world.monitorSetRequests(0x10);
    value->setCurrentValue(55);
    refresh();
    // The committed value reads at once, while the write runs.
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("55%"));
    EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), 55);
    world.settle();
    refresh();
    EXPECT_EQ(world.monitorSetRequests(0x10), setsBefore + 1);
    EXPECT_EQ(world.monitor->control(0x10)->current, 55);

    // While a write holds the row, a screen reader cannot set it either.
    value->setCurrentValue(80);
    refresh();
    ASSERT_FALSE(row.isEnabled());
    value->setCurrentValue(90);
    world.settle();
    refresh();
    EXPECT_EQ(world.monitorSetRequests(0x10), setsBefore + 2);
    EXPECT_EQ(world.monitor->control(0x10)->current, 80);
}

TEST_F(PanelQuickTuneCardTest, EachNudgeAndEachUnheldKeyStepIsOneWrite) {
    PanelSliderRow& contrast = *card->contrastRow();
    const int writesBefore = world.gamma->writeCount();
    QTest::mouseClick(contrast.incrementButton(), Qt::LeftButton);
    EXPECT_EQ(world.gamma->writeCount(), writesBefore + 1);
    EXPECT_EQ(adjustment().contrast, 1.05);
    refresh();
    EXPECT_EQ(contrast.valueLabel()->text(), "1.05");

    contrast.slider()->setFocus();
    QTest::keyClick(contrast.slider(), Qt::Key_Left);
    EXPECT_EQ(world.gamma->writeCount(), writesBefore + 2);
    EXPECT_DOUBLE_EQ(adjustment().contrast, 1.0);
}

TEST_F(PanelQuickTuneCardTest, TheTemperatureRowWritesTheWarmthOfTheReleasedKelvin) {
    PanelSliderRow& temperature = *card->colorTemperatureRow();
    drag(temperature, {5000, 9000});
    EXPECT_NEAR(adjustment().warmth, -2500.0 / 2800, 1e-9);
    refresh();
    EXPECT_EQ(temperature.valueLabel()->text(), "9000K");
    // A nudge from 9000 K by 100 K stays below the cool end.
    QTest::mouseClick(temperature.incrementButton(), Qt::LeftButton);
    EXPECT_NEAR(adjustment().warmth, -2600.0 / 2800, 1e-9);
}

TEST_F(PanelQuickTuneCardTest, AMonitorDragIsOneDDCWriteAndTheRowWaitsWhileItIsInFlight) {
    // Until the monitor has answered a probe, the row is the app's colour.
    ASSERT_EQ(card->brightnessKind(), PanelBrightnessRowKind::appColor);
    QPushButton* probe = card->ddcStatusLine()->probeButton();
    ASSERT_TRUE(probe->isVisible());
    QTest::mouseClick(probe, Qt::LeftButton);
    refresh();
    EXPECT_TRUE(store().isDDCBusy(PanelWorld::kMonitorID));
    world.settle();
    refresh();
    ASSERT_EQ(card->brightnessKind(), PanelBrightnessRowKind::monitorBrightness);
    PanelSliderRow& row = *card->brightnessRow();
    EXPECT_TRUE(row.isEnabled());
    EXPECT_EQ(row.valueLabel()->text(), "40%");

    const int setsBefore = world.monitorSetRequests(0x10);
    QSlider* slider = row.slider();
    slider->setSliderDown(true);
    for (int move = 0; move < 200; ++move)
        slider->setSliderPosition(move % 90);
    slider->setSliderPosition(row.content().scale().position(0.7));
    world.settle();
    EXPECT_EQ(world.monitorSetRequests(0x10), setsBefore);
    slider->setSliderDown(false);
    refresh();
    EXPECT_FALSE(row.isEnabled());
    EXPECT_EQ(row.valueLabel()->text(), "70%");  // shown while the write runs

    world.settle();
    refresh();
    EXPECT_EQ(world.monitorSetRequests(0x10), setsBefore + 1);
    EXPECT_EQ(world.monitor->control(0x10)->current, 70);
    EXPECT_TRUE(row.isEnabled());
    EXPECT_EQ(row.valueLabel()->text(), "70%");
}

// The panel's monitor row draws its thumb where the main window's does: on
// the monitor's value while a nudge's write waits, the readout and what a
// screen reader hears on the pending one; a click on the thumb commits
// nothing.
TEST(PanelSliderRowTest, AMonitorRowDrawsItsThumbOnTheMonitorsValueWhileAWriteWaits) {
    Theme theme(false);
    std::vector<double> commits;
    const auto make = [&](double value) {
        PanelSliderRowContent content{"밝기",
                                      "sun.max",
                                      0.05,
                                      1.0,
                                      0.01,
                                      value,
                                      panelFormattedValue(PanelValueFormat::percent, value),
                                      PanelValueFormat::percent,
                                      true,
                                      true};
        auto row = std::make_unique<PanelSliderRow>(
            theme, content, [&](double committed) { commits.push_back(committed); });
        row->resize(360, row->sizeHint().height());
        row->show();
        QApplication::processEvents();
        return row;
    };
    const auto drawn = [](PanelSliderRow& row) { return row.slider()->grab().toImage(); };
    auto atHalf = make(0.5);
    auto atNext = make(0.51);
    auto nudged = make(0.5);
    ASSERT_NE(drawn(*atHalf), drawn(*atNext));
    nudged->incrementButton()->click();
    ASSERT_EQ(commits, std::vector<double>{0.51});
    EXPECT_EQ(nudged->valueLabel()->text(), QStringLiteral("51%"));
    auto* heard = QAccessible::queryAccessibleInterface(nudged->slider());
    EXPECT_EQ(heard->text(QAccessible::Value), QStringLiteral("51%"));
    EXPECT_DOUBLE_EQ(heard->valueInterface()->currentValue().toDouble(), 51);
    EXPECT_EQ(drawn(*nudged), drawn(*atHalf));

    QSlider* slider = atHalf->slider();
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = Qt::Horizontal;
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = option.sliderValue = slider->value();
    const QPoint thumb =
        slider->style()
            ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
            .center();
    QTest::mouseClick(slider, Qt::LeftButton, {}, thumb);
    EXPECT_EQ(commits, std::vector<double>{0.51});

    PanelSliderRowContent answered = nudged->content();
    answered.value = 0.51;
    answered.valueText = "51%";
    nudged->setContent(answered);
    EXPECT_EQ(drawn(*nudged), drawn(*atNext));
}

// How much ink `widget` lays over its background, summed over every pixel.
long inkOf(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    const QRgb background = testing::backgroundOf(image, image.rect());
    long sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            sum += std::abs(qRed(pixel) - qRed(background)) +
                   std::abs(qGreen(pixel) - qGreen(background)) +
                   std::abs(qBlue(pixel) - qBlue(background));
        }
    return sum;
}

// The check is a link in the caption type at its plain weight; while a
// probe runs the line shows the badge's own symbol, drawn, not a spinner.
TEST_F(PanelQuickTuneCardTest, TheCheckIsAPlainCaptionLinkAndCheckingShowsTheBadgesSymbol) {
    PanelDDCStatusLine* line = card->ddcStatusLine();
    QPushButton* probe = line->probeButton();
    ASSERT_TRUE(probe->isVisible());
    const auto drawn = [&](QFont::Weight weight) {
        QPushButton same(probe->text());
        same.setFlat(true);
        same.setPalette(probe->palette());
        same.setFont(theme.font(QuorvaneFontStyle::caption, weight));
        same.resize(probe->size());
        return inkOf(same);
    };
    const long plain = drawn(QFont::Normal);
    ASSERT_GT(drawn(QFont::DemiBold), plain * 1.1);
    EXPECT_LT(std::abs(inkOf(*probe) - plain), plain / 20);

    QTest::mouseClick(probe, Qt::LeftButton);
    refresh();
    auto* symbol = line->findChild<SymbolImage*>();
    ASSERT_NE(symbol, nullptr);
    EXPECT_TRUE(symbol->isVisible());
    EXPECT_EQ(symbol->systemName(), "progress.indicator");
    EXPECT_FALSE(line->findChild<BusySpinner*>()->isVisible());
    const QImage image = line->grab().toImage();
    EXPECT_FALSE(testing::inkBounds(image, testing::boxIn(line, symbol)).isEmpty());
    world.settle();
    refresh();
    EXPECT_NE(symbol->systemName(), "progress.indicator");
}

}  // namespace
}  // namespace quorvane
