// The form's ways out of a colour change, as the main window shows them:
// keeping it from the recent-change banner, and undoing a preset from the
// banner or from the recovery page. "On the screen" is the display's gamma
// tables; "in the record" is the saved preferences.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QPushButton>

#include "views/design/chip_button.hpp"

#include "views/detail_form/detail_form_fixture.hpp"

namespace quorvane::testing {
namespace {

class ChangeRecoveryTest : public DetailFormTest {
  protected:
    // The colour the display shows before the change under test.
    void startWithColour() {
        start();
        store().updateColorAdjustment(1, [](ColorAdjustment& value) {
            value.warmth = -0.3;
            value.redGain = 1.15;
        });
        before = store().colorAdjustment(1);
        turn();
    }

    // What display 1 shows and what its record holds, against `expected`.
    void expectShownAndSaved(const ColorAdjustment& expected) {
        EXPECT_EQ(store().colorAdjustment(1), expected);
        EXPECT_EQ(world.gamma->tables(1), world.gamma->makeTransferTables(expected));
        const auto saved = world.savedPreferences().displayAdjustments;
        ASSERT_TRUE(saved.contains(rawIdentity(studio)));
        EXPECT_EQ(saved.at(rawIdentity(studio)), expected);
    }

    // "마지막 색감 되돌리기" on the recovery page, which must offer it.
    void undoFromTheRecoveryPage() {
        show(MainWindowSection::recovery);
        auto* undo = buttonTitled(QStringLiteral("마지막 색감 되돌리기"));
        ASSERT_NE(undo, nullptr);
        ASSERT_TRUE(undo->isEnabled());
        undo->click();
        turn();
    }

    QAbstractButton* applyButtonOf(const std::string& presetName) const {
        for (auto* widget : form->findChildren<QWidget*>()) {
            if (widget->accessibleName() != QString::fromStdString(presetName))
                continue;
            if (auto* apply = widget->findChild<QPushButton*>())
                return apply;
        }
        return nullptr;
    }

    static const DisplayPreset& night() { return DisplayPreset::builtIns().at(2); }

    DisplaySnapshot studio = externalDisplay(1, "Studio", 1001);
    ColorAdjustment before;
};

TEST_F(ChangeRecoveryTest, KeepingTheChangeClosesTheBannerAndLeavesTheNewValueShownAndSaved) {
    startWithColour();
    store().updateColorAdjustment(1, &ColorAdjustment::warmth, 0.6);
    const auto changed = store().colorAdjustment(1);
    show(MainWindowSection::color);
    auto* keep = buttonTitled(QStringLiteral("이 설정 유지"));
    ASSERT_NE(keep, nullptr);
    const auto journalSize = world.savedJournal().entries.size();

    keep->click();
    turn();
    EXPECT_FALSE(store().recentChangeRecoveryPrompt());
    EXPECT_EQ(buttonTitled(QStringLiteral("이 설정 유지")), nullptr);
    EXPECT_EQ(buttonTitled(QStringLiteral("되돌리기")), nullptr);
    expectShownAndSaved(changed);
    EXPECT_EQ(world.savedJournal().entries.size(), journalSize);

    // The dismissed banner's timer runs out later without touching anything.
    world.scheduler->advance(seconds(10));
    turn();
    expectShownAndSaved(changed);

    // Keeping closes the offer only: the recovery page still undoes it.
    ASSERT_NO_FATAL_FAILURE(undoFromTheRecoveryPage());
    expectShownAndSaved(before);
}

TEST_F(ChangeRecoveryTest, UndoingAPresetFromTheBannerBringsBackTheColourBeforeIt) {
    startWithColour();
    show(MainWindowSection::presets);
    auto* apply = applyButtonOf(night().name);
    ASSERT_NE(apply, nullptr);
    apply->click();
    turn();
    expectShownAndSaved(night().adjustment);

    auto* undo = buttonTitled(QStringLiteral("되돌리기"));
    ASSERT_NE(undo, nullptr);
    undo->click();
    turn();
    EXPECT_EQ(store().statusMessage(), "방금 변경을 되돌렸습니다: Studio");
    EXPECT_FALSE(store().recentChangeRecoveryPrompt());
    expectShownAndSaved(before);
    // The other display was never part of it.
    EXPECT_EQ(store().colorAdjustment(2), ColorAdjustment::neutral());
}

TEST_F(ChangeRecoveryTest, AnAutomationPresetIsUndoneFromTheRecoveryPage) {
    QuorvanePreferences allowed;
    allowed.urlPresetAutomationEnabled = true;
    preferences = allowed;
    startWithColour();
    // What the application shell does with a URL another program opened.
    ASSERT_TRUE(store().handleAutomationURL("quorvane://apply-safe-preset?preset=night&display=1"));
    turn();
    expectShownAndSaved(night().adjustment);

    ASSERT_NO_FATAL_FAILURE(undoFromTheRecoveryPage());
    EXPECT_EQ(store().statusMessage(), "마지막 Quorvane 색상 변경을 되돌렸습니다");
    expectShownAndSaved(before);
}

// A screen reader meets each card of the recovery page as one button: the
// card holds its button alone, with the title as its name and the
// explanation as its description, and pressing it does what the card does.
TEST_F(ChangeRecoveryTest, EachRecoveryCardReadsAsOneButtonThatActs) {
    startWithColour();
    show(MainWindowSection::recovery);
    QAbstractButton* undo = buttonTitled(QStringLiteral("마지막 색감 되돌리기"));
    ASSERT_NE(undo, nullptr);
    QAccessibleInterface* card = QAccessible::queryAccessibleInterface(undo->parentWidget());
    ASSERT_NE(card, nullptr);
    ASSERT_EQ(card->childCount(), 1);
    EXPECT_TRUE(card->text(QAccessible::Name).isEmpty());
    QAccessibleInterface* read = card->child(0);
    EXPECT_EQ(read->role(), QAccessible::Button);
    EXPECT_EQ(read->text(QAccessible::Name), QStringLiteral("마지막 색감 되돌리기"));
    EXPECT_EQ(read->text(QAccessible::Description),
              QStringLiteral("이 디스플레이에서 방금 바꾼 마지막 화면 색감만 되돌립니다."));
    EXPECT_FALSE(read->state().disabled);
    read->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    turn();
    EXPECT_EQ(store().colorAdjustment(1), ColorAdjustment::neutral());

    // With nothing left to undo the button reads as disabled.
    undo = buttonTitled(QStringLiteral("마지막 색감 되돌리기"));
    read = QAccessible::queryAccessibleInterface(undo->parentWidget())->child(0);
    EXPECT_TRUE(read->state().disabled);
    EXPECT_EQ(read->text(QAccessible::Description),
              QStringLiteral("아직 되돌릴 Quorvane 색상 변경이 없습니다."));
}

// Deleting saved colours is the one destructive card; the cards show their
// symbol on its tile, so they are taller than their one-line label.
TEST_F(ChangeRecoveryTest, DeletingSavedColoursIsTheDestructiveCard) {
    startWithColour();
    show(MainWindowSection::recovery);
    int destructive = 0;
    for (auto* chip : visible<ChipButton>()) {
        if (chip->role() == ButtonRole::destructive) {
            ++destructive;
            EXPECT_EQ(chip->text(), QStringLiteral("저장 색상값 삭제"));
            EXPECT_EQ(chip->look().text, ColorRole::destructive);
        }
        EXPECT_GE(chip->height(), 28 + 2 * 5) << chip->text().toStdString();
    }
    EXPECT_EQ(destructive, 1);
}

}  // namespace
}  // namespace quorvane::testing
