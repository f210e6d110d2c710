#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "views/controls/confirmation_presenter.hpp"
#include "views/controls/hold_to_compare_button.hpp"
#include "views/design/segmented_picker.hpp"
#include "views/detail_form/color_reference_page.hpp"
#include "views/detail_form/detail_form_fixture.hpp"
#include "views/detail_form/display_detail_form.hpp"
#include "views/detail_form/grouped_form_page.hpp"
#include "views/detail_form/slider_row_views.hpp"
#include "views/detail_form/step_card_button.hpp"
#include "views/store_bridge.hpp"
#include "views/support/contrast_ratio.hpp"

namespace quorvane::testing {
namespace {

TEST_F(DetailFormTest, AliasDraftSurvivesARedrawAPageSwitchAndADisplaySwitch) {
    start();
    show(MainWindowSection::hardware);
    auto* field = visible<QLineEdit>().value(0);
    ASSERT_NE(field, nullptr);
    for (const QChar character : QStringLiteral("왼쪽"))
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(character), {});
    auto* page = form->page();

    store().updateColorAdjustment(1, [](ColorAdjustment& a) { a.gamma = 1.2; });
    turn();
    EXPECT_EQ(form->page(), page);  // updated in place, not rebuilt
    EXPECT_EQ(field->text(), QStringLiteral("왼쪽"));
    EXPECT_TRUE(store().displayAliasesByKey().empty());  // nothing saved yet

    show(MainWindowSection::color);
    show(MainWindowSection::profile);
    EXPECT_EQ(visible<QLineEdit>().value(0)->text(), QStringLiteral("왼쪽"));

    store().setSelectedDisplayID(2);
    turn();
    EXPECT_EQ(visible<QLineEdit>().value(0)->text(), QString());
    store().setSelectedDisplayID(1);
    turn();
    EXPECT_EQ(visible<QLineEdit>().value(0)->text(), QStringLiteral("왼쪽"));
}

TEST_F(DetailFormTest, ColourSliderWritesOnceAtTheEndOfADrag) {
    start();
    show(MainWindowSection::color);
    QSlider* brightness = sliderNamed(QStringLiteral("밝은 영역"));
    ASSERT_NE(brightness, nullptr);
    const auto journal = store().recoveryJournal().entries.size();

    brightness->setSliderDown(true);
    for (int step = 1; step <= 100; ++step) {
        brightness->setSliderPosition(brightness->sliderPosition() - 1);
        turn();
    }
    EXPECT_EQ(store().recoveryJournal().entries.size(), journal);
    EXPECT_DOUBLE_EQ(store().colorAdjustment(1).softwareBrightness, 1.0);
    brightness->setSliderDown(false);
    turn();
    EXPECT_EQ(store().recoveryJournal().entries.size(), journal + 1);
    EXPECT_LT(store().colorAdjustment(1).softwareBrightness, 1.0);
    // Only that field moved.
    auto expected = ColorAdjustment::neutral();
    expected.softwareBrightness = store().colorAdjustment(1).softwareBrightness;
    EXPECT_EQ(store().colorAdjustment(1), expected);
}

TEST_F(DetailFormTest, ResetIsDisabledAtNeutralAndClearsOnlyItsFields) {
    start();
    show(MainWindowSection::color);
    auto* tone = buttonTitled(QStringLiteral("톤만 기본값으로"));
    ASSERT_NE(tone, nullptr);
    EXPECT_FALSE(tone->isEnabled());
    store().updateColorAdjustment(1, [](ColorAdjustment& a) {
        a.contrast = 1.3;
        a.warmth = 0.5;
    });
    turn();
    ASSERT_TRUE(tone->isEnabled());
    tone->click();
    turn();
    EXPECT_FALSE(tone->isEnabled());
    EXPECT_DOUBLE_EQ(store().colorAdjustment(1).contrast, 1.0);
    EXPECT_DOUBLE_EQ(store().colorAdjustment(1).warmth, 0.5);
    EXPECT_EQ(visible<HoldToCompareButton>().size(), 1);
}

TEST_F(DetailFormTest, MonitorPageHasNoRowsForWhatTheDisplayDoesNotOffer) {
    auto panel = builtinDisplay(3);
    panel.hardwareBrightness = 0.4;
    start({externalDisplay(1, "Studio", 1001), panel});
    show(MainWindowSection::hardware);
    EXPECT_TRUE(visible<SoftwareSliderRowView>().isEmpty());
    EXPECT_TRUE(visible<MonitorSliderRowView>().isEmpty());
    EXPECT_EQ(buttonTitled(QStringLiteral("현재: HDMI-1")), nullptr);
    ASSERT_NE(buttonTitled(QStringLiteral("가능 여부 확인")), nullptr);
    EXPECT_TRUE(buttonTitled(QStringLiteral("가능 여부 확인"))->isEnabled());

    world.brightness->setValue(3, 0.4);
    store().setSelectedDisplayID(3);
    store().refresh(DisplayStore::RefreshIntent::explicitUserRefresh);
    turn();
    EXPECT_EQ(visible<SoftwareSliderRowView>().size(), 1);
    EXPECT_FALSE(buttonTitled(QStringLiteral("가능 여부 확인"))->isEnabled());
}

TEST_F(DetailFormTest, ProfileConfirmationActsOnTheDisplayOfTheClick) {
    start();
    show(MainWindowSection::profile);
    auto* picker = visible<QComboBox>().value(0);
    ASSERT_NE(picker, nullptr);
    auto* apply = buttonTitled(QStringLiteral("선택한 프로파일 적용…"));
    ASSERT_NE(apply, nullptr);
    EXPECT_FALSE(apply->isEnabled());
    picker->setCurrentIndex(picker->findData(QStringLiteral("calibrated")));
    emit picker->activated(picker->currentIndex());
    turn();
    apply = buttonTitled(QStringLiteral("선택한 프로파일 적용…"));
    ASSERT_TRUE(apply->isEnabled());
    apply->click();
    ASSERT_NE(confirmations->dialog(), nullptr);

    // The user looks at the other display while the dialog is open.
    store().setSelectedDisplayID(2);
    turn();
    confirmations->confirmButton()->click();
    turn();
    EXPECT_EQ(store().colorProfileState(1)->currentProfileID, "calibrated");
    EXPECT_EQ(store().colorProfileState(2)->currentProfileID, "side");
    EXPECT_FALSE(state.detailFormDrafts.profileIDs.contains(1));
}

// A confirmed profile changes the page in place: the buttons the user
// pressed stay, where the focus comes back to when the dialog closes.
TEST_F(DetailFormTest, AConfirmedProfileKeepsThePagesButtons) {
    start();
    show(MainWindowSection::profile);
    auto* picker = visible<QComboBox>().value(0);
    ASSERT_NE(picker, nullptr);
    picker->setCurrentIndex(picker->findData(QStringLiteral("calibrated")));
    emit picker->activated(picker->currentIndex());
    turn();
    QPointer<QAbstractButton> apply = buttonTitled(QStringLiteral("선택한 프로파일 적용…"));
    QPointer<QAbstractButton> refresh = buttonTitled(QStringLiteral("프로파일 정보 새로고침"));
    ASSERT_TRUE(apply && refresh);
    apply->click();
    ASSERT_NE(confirmations->dialog(), nullptr);
    confirmations->confirmButton()->click();
    turn();
    ASSERT_EQ(store().colorProfileState(1)->currentProfileID, "calibrated");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(apply);
    EXPECT_EQ(buttonTitled(QStringLiteral("프로파일 정보 새로고침")), refresh.data());
}

TEST_F(DetailFormTest, StepCardAndAdvancedButtonMoveBetweenSections) {
    start();
    auto cards = visible<StepCardButton>();
    ASSERT_EQ(cards.size(), 3);
    // A press away from the action row still counts.
    QTest::mouseClick(cards[0], Qt::LeftButton, {}, QPoint(cards[0]->width() - 5, 5));
    EXPECT_EQ(state.selectedSection, MainWindowSection::color);
    turn();
    EXPECT_NE(qobject_cast<ColorReferencePage*>(form->page()), nullptr);

    show(MainWindowSection::start);
    buttonTitled(QStringLiteral("모니터 자체 설정 보기"))->click();
    turn();
    EXPECT_TRUE(state.showsAdvancedSections);
    EXPECT_NE(qobject_cast<GroupedFormPage*>(form->page()), nullptr);
}

TEST_F(DetailFormTest, HoldToCompareEndsOnReleaseThoughThePageDisabledItMeanwhile) {
    start();
    store().updateColorAdjustment(1, [](ColorAdjustment& a) { a.redGain = 1.4; });
    show(MainWindowSection::color);
    auto* hold = visible<HoldToCompareButton>().value(0);
    ASSERT_NE(hold, nullptr);
    ASSERT_TRUE(hold->comparisonEnabled());
    QTest::mousePress(hold, Qt::LeftButton, {}, QPoint(10, 10));
    turn();
    EXPECT_EQ(store().recoverySnapshot(1)->mode, QuorvaneEffectRecoveryMode::comparingStock);
    // The page redraws with the comparison running and passes "disabled".
    EXPECT_FALSE(hold->comparisonEnabled());
    QTest::mouseRelease(hold, Qt::LeftButton, {}, QPoint(10, 10));
    turn();
    EXPECT_EQ(store().recoverySnapshot(1)->mode, QuorvaneEffectRecoveryMode::active);
    EXPECT_TRUE(hold->comparisonEnabled());
}

// The chosen filter carries an accent edge that stands out from the track
// as a control's edge must (3 : 1) in either scheme; the other segment has
// none. Choosing a segment writes its filter.
TEST_F(DetailFormTest, TheOutputFilterPickerMarksTheChosenSegmentInBothSchemes) {
    start();
    show(MainWindowSection::color);
    auto* page = qobject_cast<ColorReferencePage*>(form->page());
    ASSERT_NE(page, nullptr);
    SegmentedPicker* picker = page->filterPicker();
    EXPECT_EQ(picker->selected(), 0);
    picker->segment(1)->click();
    turn();
    EXPECT_EQ(store().colorAdjustment(1).outputFilter, QuorvaneOutputFilter::invert);
    EXPECT_EQ(picker->selected(), 1);
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        theme.setAppearance(appearance);
        turn();
        const QImage image = picker->grab().toImage();
        const auto edgeContrast = [&](int index) {
            const QRect segment = picker->segment(index)->geometry();
            const QPoint edge(segment.left(), segment.center().y());
            const double ratio = image.devicePixelRatio();
            return contrastRatio(image.pixelColor(edge * ratio),
                                 image.pixelColor((edge - QPoint(1, 0)) * ratio));
        };
        EXPECT_GE(edgeContrast(1), 3.0);
        EXPECT_LT(edgeContrast(0), 1.1);
    }
}

}  // namespace
}  // namespace quorvane::testing
