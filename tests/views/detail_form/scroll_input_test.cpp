// Scrolling the detail form never writes: a wheel over a slider or picker the
// user has not picked moves the page and leaves the store alone, while a
// picked control still takes its keyboard step (one write).

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>

#include "views/detail_form/detail_form_fixture.hpp"
#include "views/detail_form/slider_row_views.hpp"
#include "views/support/wheel_input.hpp"

namespace quorvane::testing {
namespace {

QScrollArea* scrollAreaOf(QWidget* widget) {
    for (QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(parent))
            return area;
    return nullptr;
}

// The form in a window short enough for every page to scroll.
struct ScrollInputTest : DetailFormTest {
    void startShort(std::vector<DisplaySnapshot> displays = {
                        externalDisplay(1, "Studio", 1001),
                        externalDisplay(2, "Side", 1002, 1920)}) {
        start(std::move(displays));
        window.resize(640, 420);
        form->resize(640, 420);
        turn();
    }

    bool wheelScrollsPast(QWidget* control) {
        return testing::wheelScrollsPast(control, [this] { turn(); });
    }

    QList<QSlider*> slidersOf(const QList<QWidget*>& rows) {
        QList<QSlider*> sliders;
        for (QWidget* row : rows)
            sliders += row->findChildren<QSlider*>();
        return sliders;
    }

    // Everything a stray write would leave behind.
    struct Trace {
        ColorAdjustment colour;
        std::size_t journal = 0;
        bool prompt = false;
        int gammaWrites = 0;
        std::size_t brightnessWrites = 0;
        std::size_t monitorWrites = 0;
        std::optional<std::string> syncGroup;
        bool operator==(const Trace&) const = default;
    };
    Trace trace(DisplayID display) {
        return {store().colorAdjustment(display),
                store().recoveryJournal().entries.size(),
                store().recentChangeRecoveryPrompt().has_value(),
                world.gamma->writeCount(),
                world.brightness->writes().size(),
                world.writeQueue->held.size(),
                store().brightnessSyncGroupID()};
    }
};

TEST_F(ScrollInputTest, AWheelOverColourRowsScrollsThePageAndWritesNothing) {
    startShort();
    show(MainWindowSection::color);
    const auto rows = visible<SoftwareSliderRowView>();
    ASSERT_GE(rows.size(), 4);
    const Trace before = trace(1);
    for (QSlider* slider : slidersOf({rows.begin(), rows.end()})) {
        EXPECT_TRUE(wheelScrollsPast(slider)) << slider->accessibleName().toStdString();
        EXPECT_FALSE(slider->hasFocus());
    }
    EXPECT_EQ(trace(1), before);
}

TEST_F(ScrollInputTest, AWheelOverMonitorAndBacklightRowsReachesNoHardware) {
    auto panel = builtinDisplay(3);
    panel.hardwareBrightness = 0.4;
    startShort({externalDisplay(1, "Studio", 1001), panel});
    show(MainWindowSection::hardware);
    buttonTitled(QStringLiteral("가능 여부 확인"))->click();
    turn();
    monitorLink->answerProbe(
        1, {{DDCVCPCode::brightness, {50, 100}}, {DDCVCPCode::contrast, {40, 100}}});
    turn();
    const auto monitorRows = visible<MonitorSliderRowView>();
    ASSERT_EQ(monitorRows.size(), 2);
    const Trace monitorBefore = trace(1);
    for (QSlider* slider : slidersOf({monitorRows.begin(), monitorRows.end()}))
        EXPECT_TRUE(wheelScrollsPast(slider));
    EXPECT_EQ(trace(1), monitorBefore);
    EXPECT_TRUE(monitorLink->writes.empty());

    world.brightness->setValue(3, 0.4);
    store().setSelectedDisplayID(3);
    store().refresh(DisplayStore::RefreshIntent::explicitUserRefresh);
    turn();
    const auto backlight = visible<SoftwareSliderRowView>();
    ASSERT_EQ(backlight.size(), 1);
    const Trace backlightBefore = trace(3);
    EXPECT_TRUE(wheelScrollsPast(backlight[0]->findChild<QSlider*>()));
    EXPECT_EQ(trace(3), backlightBefore);
}

TEST_F(ScrollInputTest, AWheelOverThePickersChangesNoChoice) {
    startShort();
    store().saveDisplayGroup("책상");
    turn();
    show(MainWindowSection::groups);
    auto* scope = visible<QComboBox>().value(0);
    ASSERT_NE(scope, nullptr);
    const Trace before = trace(1);
    const QString shownScope = scope->currentText();
    EXPECT_TRUE(wheelScrollsPast(scope));
    EXPECT_EQ(scope->currentText(), shownScope);
    EXPECT_EQ(trace(1), before);

    show(MainWindowSection::profile);
    auto* picker = visible<QComboBox>().value(0);
    ASSERT_NE(picker, nullptr);
    const int shownProfile = picker->currentIndex();
    EXPECT_TRUE(wheelScrollsPast(picker));
    EXPECT_EQ(picker->currentIndex(), shownProfile);
    EXPECT_FALSE(picker->hasFocus());
    EXPECT_FALSE(state.detailFormDrafts.profileIDs.contains(1));
    EXPECT_EQ(trace(1), before);
}

TEST_F(ScrollInputTest, APickedSliderTakesItsKeyboardStepAsOneWrite) {
    startShort();
    show(MainWindowSection::color);
    QSlider* contrast = sliderNamed(QStringLiteral("어두운 영역"));
    ASSERT_NE(contrast, nullptr);
    const std::size_t journal = store().recoveryJournal().entries.size();
    QApplication::setActiveWindow(&window);
    contrast->setFocus();
    QTest::keyClick(contrast, Qt::Key_Right);
    turn();
    EXPECT_EQ(store().recoveryJournal().entries.size(), journal + 1);
    EXPECT_GT(store().colorAdjustment(1).contrast, 1.0);
    ASSERT_TRUE(contrast->hasFocus());

    // Picked, it takes the wheel too: one notch, one write, no scrolling.
    scrollAreaOf(contrast)->ensureWidgetVisible(contrast);
    turn();
    const int scrolled = scrollAreaOf(contrast)->verticalScrollBar()->value();
    const double stepped = store().colorAdjustment(1).contrast;
    const int gammaWrites = world.gamma->writeCount();
    turnWheel(contrast, 1);
    turn();
    EXPECT_GT(store().colorAdjustment(1).contrast, stepped);
    EXPECT_EQ(world.gamma->writeCount(), gammaWrites + 1);
    EXPECT_EQ(scrollAreaOf(contrast)->verticalScrollBar()->value(), scrolled);
}

}  // namespace
}  // namespace quorvane::testing
