#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "presentation/detail_form/recovery_section.hpp"
#include "views/detail_form/detail_form_fixture.hpp"
#include "views/detail_form/many_presets.hpp"
#include "views/detail_form/new_name_row.hpp"
#include "views/detail_form/presets_section_view.hpp"
#include "views/support/themed_window.hpp"

namespace quorvane::testing {
namespace {

// The row widget whose accessible name is `name`.
QWidget* rowNamed(QWidget* root, const std::string& name) {
    for (auto* widget : root->findChildren<QWidget*>())
        if (widget->accessibleName() == QString::fromStdString(name) &&
            widget->contextMenuPolicy() != Qt::DefaultContextMenu)
            return widget;
    return nullptr;
}

TEST_F(DetailFormTest, NewNameSurvivesAPageChangeAndEmptiesAfterTheSave) {
    start();
    show(MainWindowSection::presets);
    auto* row = visible<NewNameRow>().value(0);
    ASSERT_NE(row, nullptr);
    EXPECT_FALSE(row->saveButton()->isEnabled());
    row->field()->setText(QStringLiteral("  저녁 작업  "));
    emit row->field()->textEdited(row->field()->text());
    EXPECT_TRUE(row->saveButton()->isEnabled());

    show(MainWindowSection::color);
    show(MainWindowSection::presets);
    row = visible<NewNameRow>().value(0);
    EXPECT_EQ(row->field()->text(), QStringLiteral("  저녁 작업  "));
    row->saveButton()->click();
    turn();
    EXPECT_EQ(state.newPresetName, "");
    EXPECT_EQ(row->field()->text(), QString());
    ASSERT_EQ(store().customPresets().size(), 1u);
    EXPECT_EQ(store().customPresets()[0].name, "저녁 작업");
}

TEST_F(DetailFormTest, DeletingAPresetActsOnTheRowOfTheClickAndBuiltInsHaveNoMenu) {
    start();
    store().saveCustomPreset("첫째", 1);
    store().saveCustomPreset("둘째", 1);
    show(MainWindowSection::presets);

    auto* builtin = rowNamed(form, DisplayPreset::builtIns().at(0).name);
    ASSERT_NE(builtin, nullptr);
    EXPECT_EQ(builtin->contextMenuPolicy(), Qt::PreventContextMenu);

    auto* first = rowNamed(form, "첫째");
    ASSERT_NE(first, nullptr);
    emit first->customContextMenuRequested(QPoint(4, 4));
    auto* menu = first->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("삭제…"));
    menu->actions()[0]->trigger();
    ASSERT_NE(confirmations->dialog(), nullptr);

    // The list changes under the open dialog; the clicked preset is deleted.
    store().saveCustomPreset("셋째", 1);
    turn();
    confirmations->confirmButton()->click();
    turn();
    std::vector<std::string> names;
    for (const auto& preset : store().customPresets())
        names.push_back(preset.name);
    EXPECT_EQ(names, (std::vector<std::string>{"둘째", "셋째"}));
}

TEST_F(DetailFormTest, ThePagesMenusAndConfirmationsTakeTheThemeAndFollowItWhileOpen) {
    theme.setAppearance(QuorvaneAppearance::dark);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    start();
    store().saveDisplayGroup("책상");
    store().saveCustomPreset("저녁", 1);
    show(MainWindowSection::scenes);
    auto* toGroup = buttonTitled(QStringLiteral("묶음에 적용"));
    ASSERT_NE(toGroup, nullptr);
    ASSERT_TRUE(toGroup->isEnabled());
    QMenu* groups = static_cast<QPushButton*>(toGroup)->menu();
    ASSERT_NE(groups, nullptr);
    groups->popup(toGroup->mapToGlobal(QPoint(0, toGroup->height())));
    turn();
    expectThemed(groups, theme);
    theme.setAppearance(QuorvaneAppearance::light);
    expectThemed(groups, theme);
    groups->hide();

    show(MainWindowSection::presets);
    auto* row = rowNamed(form, "저녁");
    ASSERT_NE(row, nullptr);
    emit row->customContextMenuRequested(QPoint(4, 4));
    auto* menu = row->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    turn();
    expectThemed(menu, theme);
    menu->actions()[0]->trigger();
    turn();
    expectThemed(confirmations->dialog(), theme);
    theme.setAppearance(QuorvaneAppearance::dark);
    theme.setTextSize(QuorvaneTextSize::extraLarge);
    expectThemed(confirmations->dialog(), theme);
    confirmations->cancelButton()->click();
}

TEST_F(DetailFormTest, AGroupNamedWithAnAmpersandShowsVerbatimInTheApplyMenu) {
    start();
    store().saveDisplayGroup("R&D 책상");
    show(MainWindowSection::scenes);
    auto* toGroup = static_cast<QPushButton*>(buttonTitled(QStringLiteral("묶음에 적용")));
    ASSERT_NE(toGroup, nullptr);
    const auto actions = toGroup->menu()->actions();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("R&&D 책상"));
    EXPECT_EQ(actions[0]->iconText(), QStringLiteral("R&D 책상"));
    EXPECT_TRUE(QKeySequence::mnemonic(actions[0]->text()).isEmpty());
    const auto journal = store().recoveryJournal().entries.size();
    actions[0]->trigger();  // still applies the scene to that group
    turn();
    EXPECT_EQ(store().recoveryJournal().entries.size(), journal + 1);
}

TEST_F(DetailFormTest, RecoveryCardsSwapWithTheEffectMode) {
    start();
    store().updateColorAdjustment(1, [](ColorAdjustment& a) { a.redGain = 1.2; });
    show(MainWindowSection::recovery);
    ASSERT_NE(buttonTitled(QStringLiteral("이 화면 효과 잠시 끄기")), nullptr);
    ASSERT_TRUE(buttonTitled(QStringLiteral("마지막 색감 되돌리기"))->isEnabled());
    buttonTitled(QStringLiteral("이 화면 효과 잠시 끄기"))->click();
    turn();
    EXPECT_EQ(buttonTitled(QStringLiteral("이 화면 효과 잠시 끄기")), nullptr);
    ASSERT_NE(buttonTitled(QStringLiteral("저장된 효과 다시 켜기")), nullptr);
    EXPECT_FALSE(buttonTitled(QStringLiteral("시스템 기본 색상과 비교"))->isEnabled());

    // Emergency recovery waits for the confirmation.
    buttonTitled(QStringLiteral("안전 복구 실행"))->click();
    ASSERT_NE(confirmations->dialog(), nullptr);
    EXPECT_DOUBLE_EQ(store().colorAdjustment(1).redGain, 1.2);
    confirmations->confirmButton()->click();
    turn();
    EXPECT_EQ(store().colorAdjustment(1), ColorAdjustment::neutral());
}

TEST_F(DetailFormTest, TwoHundredOddlyNamedPresetsLayOutAndARedrawRebuildsNothing) {
    preferences = manyAwkwardPresets();
    start();
    show(MainWindowSection::presets);
    auto* page = qobject_cast<PresetsSectionView*>(
        form->findChild<PresetsSectionView*>(QString(), Qt::FindChildrenRecursively));
    ASSERT_NE(page, nullptr);
    const auto rows = form->findChildren<QPushButton*>().size();
    EXPECT_GE(rows, 205);
    // The page never grows wider than its column.
    EXPECT_LE(page->width(), form->width());

    QPointer<QAbstractButton> anApplyButton = buttonTitled(QStringLiteral("적용"));
    store().setStatusMessage("다른 변경");
    turn();
    EXPECT_TRUE(anApplyButton);  // not rebuilt for an unrelated change
}

}  // namespace
}  // namespace quorvane::testing
