// What a screen reader hears of the form's sliders and what it sets: the
// number each row's readout shows, within the row's range in that unit, and
// a set value taken as one keyboard step.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>

#include "views/detail_form/detail_form_fixture.hpp"
#include "views/detail_form/slider_row_views.hpp"
#include "views/support/accessible_tree.hpp"
#include "views/support/value_announcements.hpp"

namespace quorvane::testing {
namespace {

struct Reading {
    QString text;
    double current = 0;
    double minimum = 0;
    double maximum = 0;
    double step = 0;
    bool operator==(const Reading&) const = default;
};

void PrintTo(const Reading& reading, std::ostream* out) {
    *out << '"' << reading.text.toStdString() << "\" " << reading.current << " in "
         << reading.minimum << "…" << reading.maximum << " by " << reading.step;
}

// The slider as the Linux bridge reads it.
Reading readingOf(QWidget* slider) {
    auto* accessible = QAccessible::queryAccessibleInterface(slider);
    auto* value = accessible ? accessible->valueInterface() : nullptr;
    if (!value)
        return {QStringLiteral("no value interface")};
    return {accessible->text(QAccessible::Value), value->currentValue().toDouble(),
            value->minimumValue().toDouble(), value->maximumValue().toDouble(),
            value->minimumStepSize().toDouble()};
}

void setByScreenReader(QWidget* slider, double value) {
    QAccessible::queryAccessibleInterface(slider)->valueInterface()->setCurrentValue(value);
}

TEST_F(DetailFormTest, ColourSlidersReadTheirReadoutWithinTheirOwnRange) {
    start();
    show(MainWindowSection::color);
    EXPECT_EQ(readingOf(sliderNamed(QStringLiteral("색온도"))),
              (Reading{QStringLiteral("6500K"), 6500, 2700, 9300, 100}));
    EXPECT_EQ(readingOf(sliderNamed(QStringLiteral("밝은 영역"))),
              (Reading{QStringLiteral("1.00"), 1.0, 0.1, 1.5, 0.05}));
    EXPECT_EQ(readingOf(sliderNamed(QStringLiteral("빨강"))),
              (Reading{QStringLiteral("1.00"), 1.0, 0.0, 2.0, 0.05}));
    int sliders = 0;
    EXPECT_EQ(slidersNotReadInTheirUnit(form, &sliders), std::vector<std::string>{});
    EXPECT_GE(sliders, 10);
}

TEST_F(DetailFormTest, AColourValueSetByAScreenReaderIsWrittenOnceInTheRowsUnit) {
    start();
    show(MainWindowSection::color);
    QSlider* contrast = sliderNamed(QStringLiteral("어두운 영역"));
    ASSERT_NE(contrast, nullptr);
    setByScreenReader(contrast, 1.37);
    turn();
    EXPECT_DOUBLE_EQ(store().colorAdjustment(1).contrast, 1.37);
    EXPECT_EQ(readingOf(contrast), (Reading{QStringLiteral("1.37"), 1.37, 0.2, 2.0, 0.05}));
    // The thumb follows, as after a key press.
    EXPECT_EQ(contrast->value(), contrast->sliderPosition());

    QSlider* temperature = sliderNamed(QStringLiteral("색온도"));
    setByScreenReader(temperature, 5000);
    turn();
    EXPECT_EQ(readingOf(temperature).text, QStringLiteral("5000K"));
    EXPECT_DOUBLE_EQ(readingOf(temperature).current, 5000);
    // Beyond an end the row stops at it.
    setByScreenReader(temperature, 20000);
    turn();
    EXPECT_EQ(readingOf(temperature).text, QStringLiteral("9300K"));
}

// Page Up/Down moves a slider by the whole number of its steps nearest a
// tenth of its range, in every window; each arrow step is told once.
TEST_F(DetailFormTest, APageIsATenthOfTheRangeAndEachStepIsToldOnce) {
    start();
    show(MainWindowSection::color);
    QSlider* temperature = sliderNamed(QStringLiteral("색온도"));
    QSlider* highlights = sliderNamed(QStringLiteral("밝은 영역"));
    ASSERT_NE(temperature, nullptr);
    ASSERT_NE(highlights, nullptr);
    ValueAnnouncements told;
    temperature->setFocus();
    QTest::keyClick(temperature, Qt::Key_Right);
    turn();
    EXPECT_EQ(readingOf(temperature).current, 6600);
    EXPECT_EQ(told.of(temperature), 1);

    QTest::keyClick(temperature, Qt::Key_PageUp);
    turn();
    EXPECT_EQ(readingOf(temperature).current, 7300);
    EXPECT_EQ(readingOf(temperature).text, QStringLiteral("7300K"));
    EXPECT_EQ(told.of(temperature), 2);
    // The thumb rests on the value heard.
    EXPECT_EQ(temperature->value(), temperature->sliderPosition());

    highlights->setFocus();
    QTest::keyClick(highlights, Qt::Key_PageDown);
    turn();
    EXPECT_DOUBLE_EQ(readingOf(highlights).current, 0.85);
    EXPECT_DOUBLE_EQ(store().colorAdjustment(1).softwareBrightness, 0.85);
    EXPECT_EQ(told.of(highlights), 1);
}

TEST_F(DetailFormTest, MonitorSlidersReadWholePercentsAndCommitOnceWhenSet) {
    auto panel = builtinDisplay(3);
    panel.hardwareBrightness = 0.6;
    start({externalDisplay(1, "Studio", 1001), panel});
    world.brightness->setValue(3, 0.6);
    show(MainWindowSection::hardware);
    buttonTitled(QStringLiteral("가능 여부 확인"))->click();
    turn();
    monitorLink->answerProbe(1, {{DDCVCPCode::contrast, {40, 100}}});
    turn();
    auto rows = visible<MonitorSliderRowView>();
    ASSERT_EQ(rows.size(), 1);
    QSlider* monitor = rows[0]->findChild<QSlider*>();
    const Reading before = readingOf(monitor);
    EXPECT_EQ(before.text, QStringLiteral("40%"));
    EXPECT_DOUBLE_EQ(before.current, 40);
    EXPECT_DOUBLE_EQ(before.maximum, 100);
    EXPECT_DOUBLE_EQ(before.step, 1);

    setByScreenReader(monitor, 55);
    turn();
    ASSERT_EQ(world.writeQueue->held.size(), 1u);
    EXPECT_EQ(world.writeQueue->held[0].first.rawValue, 55);
    // The committed value reads at once, while the monitor has not answered.
    EXPECT_EQ(readingOf(monitor).text, QStringLiteral("55%"));
    EXPECT_DOUBLE_EQ(readingOf(monitor).current, 55);

    // The built-in panel's backlight: 60 within 5…100.
    store().setSelectedDisplayID(3);
    store().refresh(DisplayStore::RefreshIntent::explicitUserRefresh);
    turn();
    auto software = visible<SoftwareSliderRowView>();
    ASSERT_EQ(software.size(), 1);
    QSlider* backlight = software[0]->findChild<QSlider*>();
    EXPECT_EQ(readingOf(backlight), (Reading{QStringLiteral("60%"), 60, 5, 100, 1}));
    setByScreenReader(backlight, 73);
    turn();
    ASSERT_TRUE(world.brightness->value(3).has_value());
    EXPECT_DOUBLE_EQ(*world.brightness->value(3), 0.73);
    EXPECT_EQ(slidersNotReadInTheirUnit(form), std::vector<std::string>{});
}

TEST_F(DetailFormTest, AScreenReaderTogglingAFilterSegmentChoosesItAsAClickWould) {
    start();
    show(MainWindowSection::color);
    QAbstractButton* invert = buttonTitled(QStringLiteral("색 반전"));
    ASSERT_NE(invert, nullptr);
    auto* accessible = QAccessible::queryAccessibleInterface(invert);
    ASSERT_TRUE(accessible && accessible->actionInterface());
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("색 반전"));
    EXPECT_TRUE(accessible->state().checkable);
    EXPECT_FALSE(accessible->state().checked);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    turn();
    // Not only the check mark: the store applied the filter.
    EXPECT_EQ(store().colorAdjustment(1).outputFilter, QuorvaneOutputFilter::invert);
    EXPECT_TRUE(accessible->state().checked);

    QAbstractButton* off = buttonTitled(QStringLiteral("끄기"));
    QAccessible::queryAccessibleInterface(off)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    turn();
    EXPECT_EQ(store().colorAdjustment(1).outputFilter, QuorvaneOutputFilter::none);
}

}  // namespace
}  // namespace quorvane::testing
