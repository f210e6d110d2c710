#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include <QComboBox>
#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextLayout>

#include "display_store/store_world.hpp"
#include "presentation/settings/settings_import_entry.hpp"
#include "views/controls/settings_segmented_picker.hpp"
#include "views/design/adaptive_grid.hpp"
#include "views/design/eliding_picker.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/settings_tinted_tile.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/window_theme_follower.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/import_sheet/import_mapping_notice_view.hpp"
#include "views/import_sheet/settings_import_preview_sheet.hpp"
#include "views/store_bridge.hpp"
#include "views/support/accessible_tree.hpp"
#include "views/support/check_box_contrast.hpp"
#include "views/support/ink.hpp"
#include "views/support/ink_contrast.hpp"
#include "views/support/same_pixels.hpp"
#include "views/support/text_ink_baseline.hpp"
#include "views/support/wheel_input.hpp"

namespace quorvane::testing {
namespace {

const QWidget* planCard(const QWidget* sheet, const QString& id);

class SettingsImportPreviewSheetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({studio, side});
        world.start();
        bridge = std::make_unique<StoreBridge>(store());
        context = std::make_unique<ViewContext>(ViewContext{store(), *bridge, shell, theme});
        auto preferences = QuorvanePreferences::defaults();
        preferences.displayAdjustments[rawIdentity(studio)].warmth = 0.5;
        preferences.displayAdjustments[rawIdentity(side)].contrast = 1.2;
        preferences.textSize = QuorvaneTextSize::veryLarge;
        sheet = std::make_unique<SettingsImportPreviewSheet>(
            *context, QuorvaneSettingsImportDraft::of(preferences), nullptr);
        sheet->show();
        settle();
    }
    void TearDown() override {
        sheet.reset();
        settle();
    }
    DisplayStore& store() { return *world.store; }
    void settle() {
        for (int turn = 0; turn < 4; ++turn) {
            QCoreApplication::processEvents();
            world.scheduler->runUntilIdle();
        }
    }
    // Import hands the sheet's choices to the store, as the settings window does.
    void confirmThroughTheStore() {
        QObject::connect(sheet.get(), &SettingsImportPreviewSheet::importConfirmed,
                         [this, draft = sheet->draft()](
                             QuorvaneSettingsImportMode mode,
                             const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
                             bool switchSelection) {
                             store().confirmSettingsImport(draft, mode, mappings, switchSelection);
                         });
    }
    // Picks `target` (an identity or the skip value) for an imported display.
    void pick(const DisplaySnapshot& imported, const std::string& target) {
        auto* picker = sheet->targetPicker(rawIdentity(imported));
        ASSERT_NE(picker, nullptr);
        const int index = picker->findData(QString::fromStdString(target));
        ASSERT_GE(index, 0);
        picker->setCurrentIndex(index);
        emit picker->activated(index);
        settle();
    }

    StoreWorld world;
    DisplaySnapshot studio = externalDisplay(1, "Studio", 1001);
    DisplaySnapshot side = externalDisplay(2, "Side", 2002, 1920);
    Theme theme{false};
    ShellActions shell;
    std::unique_ptr<StoreBridge> bridge;
    std::unique_ptr<ViewContext> context;
    std::unique_ptr<SettingsImportPreviewSheet> sheet;
};

TEST_F(SettingsImportPreviewSheetTest, OneDisplayPickedTwiceBlocksAFullImportOnly) {
    EXPECT_TRUE(sheet->importButton()->isEnabled());
    EXPECT_TRUE(sheet->importButton()->isDefault());
    pick(side, rawIdentity(studio));
    EXPECT_FALSE(sheet->importButton()->isEnabled());
    int confirmations = 0;
    QObject::connect(sheet.get(), &SettingsImportPreviewSheet::importConfirmed,
                     [&] { ++confirmations; });
    QTest::keyClick(sheet.get(), Qt::Key_Return);
    EXPECT_EQ(confirmations, 0);

    sheet->modePicker()->segment(1)->click();
    settle();
    EXPECT_TRUE(sheet->importButton()->isEnabled());
    EXPECT_FALSE(sheet->targetPicker(rawIdentity(side))->isEnabled());
    EXPECT_EQ(sheet->planCardTitles().size(), 3u);
}

// The section headers and a plan card's title line stand on one baseline:
// the Hangul titles, the Latin "Before → After" tag, the step count and the
// badges, as the rendered sheet shows them.
TEST_F(SettingsImportPreviewSheetTest, HeadersAndCardTitlesStandOnTheirTextsBaseline) {
    sheet->resize(1000, 900);
    settle();
    const auto labelled = [this](const QString& text) -> QWidget* {
        for (auto* label : sheet->findChildren<WrappingLabel*>())
            if (label->text() == text && label->isVisibleTo(sheet.get()))
                return label;
        for (auto* pill : sheet->findChildren<StatusPill*>())
            if (pill->text() == text && pill->isVisibleTo(sheet.get()))
                return pill;
        return nullptr;
    };
    const auto expectOneLine = [this](QWidget* first, const QString& firstText, QWidget* second,
                                      const QString& secondText, TextPart secondPart) {
        ASSERT_TRUE(first && second) << firstText.toStdString();
        // Grab the section that holds both, scrolled into view.
        auto* scroll = sheet->findChild<QScrollArea*>();
        scroll->ensureWidgetVisible(first);
        settle();
        QWidget* page = scroll->widget();
        const QImage picture = page->grab().toImage();
        const double firstLine =
            inkBaseline(page, picture, first, first->font(), firstText, TextPart::whole);
        const double secondLine =
            inkBaseline(page, picture, second, second->font(), secondText, secondPart);
        EXPECT_NEAR(secondLine, firstLine, 1.0) << firstText.toStdString();
    };
    expectOneLine(labelled(QStringLiteral("적용 전 미리보기")), QStringLiteral("적용 전 미리보기"),
                  labelled(QStringLiteral("Before → After")), QStringLiteral("Before → After"),
                  TextPart::capsule);
    const QString steps = QString::number(sheet->planCardTitles().size()) + QStringLiteral("단계");
    expectOneLine(labelled(QStringLiteral("전체 변경 계획")), QStringLiteral("전체 변경 계획"),
                  labelled(steps), steps, TextPart::whole);
    QWidget* title = sheet->findChild<QWidget*>(QStringLiteral("planCardTitle"));
    ASSERT_NE(title, nullptr);
    const QString titleText = static_cast<WrappingLabel*>(title)->text();
    StatusPill* badge = title->parentWidget()->findChild<StatusPill*>();
    ASSERT_NE(badge, nullptr);
    expectOneLine(title, titleText, badge, badge->text(), TextPart::capsuleAfterSymbol);
}

// The import-mode picker's title stands on the line of its segments' texts
// at every text size, as the rendered sheet shows it.
TEST_F(SettingsImportPreviewSheetTest, TheModeTitleStandsOnTheLineOfItsSegments) {
    for (const auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
        SCOPED_TRACE(static_cast<int>(size));
        theme.setTextSize(size);
        sheet->resize(1000, 900);
        settle();
        SettingsSegmentedPicker* picker = sheet->modePicker();
        const WrappingLabel* title = nullptr;
        // The title beside the segments (the heading above names the picker).
        for (auto* label : picker->parentWidget()->findChildren<WrappingLabel*>())
            if (label->text() == QStringLiteral("가져오기 방식"))
                title = label;
        ASSERT_NE(title, nullptr);
        auto* scroll = sheet->findChild<QScrollArea*>();
        scroll->ensureWidgetVisible(picker);
        settle();
        QWidget* page = scroll->widget();
        const QImage picture = page->grab().toImage();
        QAbstractButton* segment = picker->segment(1);
        const double titleLine =
            inkBaseline(page, picture, title, title->font(), title->text(), TextPart::whole);
        const double segmentLine = inkBaseline(page, picture, segment, segment->font(),
                                               segment->text(), TextPart::capsule);
        EXPECT_NEAR(titleLine, segmentLine, 1.0);
    }
}

TEST_F(SettingsImportPreviewSheetTest, AScreenReaderCanPressEveryButton) {
    EXPECT_EQ(unpressableButtons(sheet.get()), std::vector<std::string>{});
}

TEST_F(SettingsImportPreviewSheetTest, AWheelOverTheTargetPickersOnlyScrollsTheSheet) {
    sheet->resize(620, 380);
    settle();
    const auto titles = sheet->planCardTitles();
    for (const auto& imported : {studio, side}) {
        QComboBox* picker = sheet->targetPicker(rawIdentity(imported));
        ASSERT_NE(picker, nullptr);
        const int chosen = picker->currentIndex();
        EXPECT_TRUE(wheelScrollsPast(picker, [this] { settle(); }));
        EXPECT_EQ(picker->currentIndex(), chosen);
        EXPECT_FALSE(picker->hasFocus());
    }
    EXPECT_EQ(sheet->planCardTitles(), titles);
    EXPECT_TRUE(sheet->importButton()->isEnabled());
}

// A display from another computer whose label is far wider than a narrow
// sheet: its plan card must stack the before and after values there and
// keep them side by side when the sheet is wide enough.
TEST_F(SettingsImportPreviewSheetTest, ALongValueStacksOnlyInANarrowSheet) {
    const std::string foreign =
        "vendor-WorkshopCalibratedReferenceMonitors-model-UltraWidePanelRevisionThree";
    auto preferences = QuorvanePreferences::defaults();
    preferences.displayAdjustments[foreign].warmth = 0.3;
    sheet = std::make_unique<SettingsImportPreviewSheet>(
        *context, QuorvaneSettingsImportDraft::of(preferences), nullptr);
    sheet->show();
    const auto valuesAt = [&](int width) {
        sheet->resize(width, 700);
        settle();
        auto* card = sheet->findChild<QWidget*>(QString::fromStdString("display-" + foreign));
        EXPECT_NE(card, nullptr);
        auto* values = card ? card->findChild<FitToWidth*>(QStringLiteral("planValues")) : nullptr;
        EXPECT_NE(values, nullptr);
        return values ? values->arrangement() : FitArrangement::horizontal;
    };
    EXPECT_EQ(valuesAt(sheet->minimumWidth()), FitArrangement::vertical);
    EXPECT_EQ(valuesAt(2000), FitArrangement::horizontal);
    EXPECT_EQ(valuesAt(sheet->minimumWidth()), FitArrangement::vertical);
}

// At its least width, in the largest text, the sheet keeps everything inside
// the window; a comparison row that stacks turns its arrow down (lowered to
// the values), a plan card's arrow keeps pointing right, and every
// comparison value stays within two lines.
TEST_F(SettingsImportPreviewSheetTest, StackedComparisonRowsPointDownAndNothingSpillsOut) {
    const auto checkAt = [&](int width) -> int {
        sheet->resize(width, 700);
        settle();
        int stacked = 0;
        for (auto* arrow : sheet->findChildren<SymbolImage*>(QStringLiteral("comparisonArrow"))) {
            auto* row = qobject_cast<FitToWidth*>(arrow->parentWidget());
            EXPECT_NE(row, nullptr);
            if (!row)
                continue;
            const bool down = row->arrangement() == FitArrangement::vertical;
            stacked += down ? 1 : 0;
            EXPECT_EQ(arrow->systemName(), down ? "arrow.down" : "arrow.right");
            EXPECT_EQ(arrow->contentsMargins().top(), down ? 11 : 0);
        }
        for (auto* card : {"settings-common", "display-mapping-summary"}) {
            auto* values = sheet->findChild<QWidget*>(QString::fromLatin1(card))
                               ->findChild<FitToWidth*>(QStringLiteral("planValues"));
            EXPECT_NE(values, nullptr);
            if (values) {
                EXPECT_EQ(values->findChild<SymbolImage*>()->systemName(), "arrow.right");
            }
        }
        for (auto* value : sheet->findChildren<WrappingLabel*>(QStringLiteral("comparisonValue"))) {
            // Two Korean lines in the font the value is drawn in.
            WrappingLabel twoLines(QStringLiteral("가\n가"));
            twoLines.setFont(value->fittedFont(value->width()));
            EXPECT_LE(value->height(), twoLines.heightForWidth(value->width()))
                << value->text().toStdString();
        }
        return stacked;
    };
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    const int stackedAtLeastWidth = checkAt(sheet->minimumWidth());
    auto* scroll = sheet->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_LE(scroll->widget()->width(), scroll->viewport()->width());
    EXPECT_EQ(checkAt(2000), 0);
    EXPECT_EQ(checkAt(sheet->minimumWidth()), stackedAtLeastWidth);

    // A row that stacks (a longer value, a larger desktop font) turns its
    // arrow down, lowered to the values, and back when it widens again.
    auto* row = sheet->findChild<FitToWidth*>(QStringLiteral("comparison"));
    ASSERT_NE(row, nullptr);
    auto* arrow = row->findChild<SymbolImage*>(QStringLiteral("comparisonArrow"));
    ASSERT_NE(arrow, nullptr);
    emit row->arrangementChanged(FitArrangement::vertical);
    EXPECT_EQ(arrow->systemName(), "arrow.down");
    EXPECT_EQ(arrow->contentsMargins().top(), 11);
    emit row->arrangementChanged(FitArrangement::horizontal);
    EXPECT_EQ(arrow->systemName(), "arrow.right");
    EXPECT_EQ(arrow->contentsMargins().top(), 0);

    std::vector<std::string> symbols;
    for (auto* badge :
         sheet->findChild<QWidget*>(QStringLiteral("settings-common"))->findChildren<StatusPill*>())
        symbols.push_back(badge->symbol());
    EXPECT_EQ(symbols,
              (std::vector<std::string>{"slider.horizontal.3", "checkmark.shield", "hand.tap"}));
}

// At the largest text size: each imported identity reads character by
// character, each target picker asks for its ideal 280 and ends a long
// alias in "…", the summary tiles line up in rows and the safety notes
// carry their shield.
TEST_F(SettingsImportPreviewSheetTest, IdentitiesAreMonospacedAndLongTargetsEndInAnEllipsis) {
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    const std::string alias = "회의실 B 벽걸이 모니터 (발표용, 왼쪽에서 두 번째 자리)";
    store().setDisplayAlias(alias, studio.id);
    settle();
    // The sheet reads the aliases when it opens.
    sheet = std::make_unique<SettingsImportPreviewSheet>(*context, sheet->draft(), nullptr);
    sheet->show();
    sheet->resize(1400, 900);
    settle();

    for (const auto& imported : {studio, side}) {
        const QString raw = QString::fromStdString(rawIdentity(imported));
        const WrappingLabel* identity = nullptr;
        for (const auto* label : sheet->findChildren<WrappingLabel*>())
            if (label->text() == raw)
                identity = label;
        ASSERT_NE(identity, nullptr);
        // What a reader sees: a narrow letter as wide as a broad one and
        // every digit of one width, whether or not the font declares itself
        // fixed-pitch.
        const QFontMetricsF drawn(identity->font());
        const qreal cell = drawn.horizontalAdvance(QStringLiteral("iiii"));
        EXPECT_GT(cell, 0);
        EXPECT_NEAR(drawn.horizontalAdvance(QStringLiteral("MMMM")), cell, 0.01)
            << QFontInfo(identity->font()).family().toStdString();
        for (const QChar digit : QStringLiteral("0123456789"))
            EXPECT_NEAR(drawn.horizontalAdvance(QString(4, digit)), cell, 0.01);
        EXPECT_DOUBLE_EQ(identity->font().pointSizeF(),
                         theme.font(QuorvaneFontStyle::caption2).pointSizeF());
    }

    auto* picker = qobject_cast<ElidingPicker*>(sheet->targetPicker(rawIdentity(studio)));
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->width(), 280);
    EXPECT_EQ(picker->currentData().toString().toStdString(), rawIdentity(studio));
    EXPECT_TRUE(picker->currentText().startsWith(QString::fromStdString(alias)));
    EXPECT_TRUE(picker->shownText().endsWith(QChar(0x2026)));

    auto* grid = sheet->findChild<AdaptiveGrid*>();
    ASSERT_NE(grid, nullptr);
    const auto tiles = grid->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(tiles.size(), 10);
    const int columns = grid->columnsShown();
    ASSERT_GT(columns, 1);
    for (int index = 1; index < columns; ++index)
        EXPECT_EQ(tiles[index]->geometry().top(), tiles[0]->geometry().top());
    for (int index = 1; index < columns; ++index)
        EXPECT_EQ(tiles[index]->height(), tiles[0]->height());

    bool shield = false;
    for (const auto* symbol : sheet->findChildren<SymbolImage*>())
        shield = shield || symbol->systemName() == "checkmark.shield";
    EXPECT_TRUE(shield);
}

// Restyled while open, text size and scheme, the sheet looks like one opened
// in the new theme: its colours and its size.
TEST_F(SettingsImportPreviewSheetTest, RestyledWhileOpenTheSheetLooksLikeOneOpenedFresh) {
    WindowThemeFollower follower(theme);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    theme.setAppearance(QuorvaneAppearance::dark);
    SettingsImportPreviewSheet open(*context, sheet->draft(), nullptr);
    open.show();
    settle();
    theme.setTextSize(QuorvaneTextSize::standard);
    theme.setAppearance(QuorvaneAppearance::light);
    settle();
    SettingsImportPreviewSheet fresh(*context, sheet->draft(), nullptr);
    fresh.show();
    settle();
    // Only one of them is the active window; neither shows a blinking caret.
    // Each opened scrolled to its focus at its own text size: both are seen
    // from the top.
    for (QWidget* shown : {static_cast<QWidget*>(&open), static_cast<QWidget*>(&fresh)}) {
        if (QWidget* focused = shown->focusWidget())
            focused->clearFocus();
        shown->findChild<QScrollArea*>()->verticalScrollBar()->setValue(0);
    }
    settle();
    expectSamePixels(open, fresh, "import-sheet");
}

// The unchecked selection switch's edge stands out from the sheet at 3 : 1
// or more in either scheme.
TEST_F(SettingsImportPreviewSheetTest, TheUncheckedSwitchShowsItsEdgeInBothSchemes) {
    auto preferences = QuorvanePreferences::defaults();
    preferences.lastSelectedDisplayIdentity = rawIdentity(studio);
    SettingsImportPreviewSheet withSelection(*context, QuorvaneSettingsImportDraft::of(preferences),
                                             nullptr);
    withSelection.resize(700, 2400);  // the switch on show, not scrolled away
    withSelection.show();
    ASSERT_TRUE(withSelection.selectionSwitch()->isEnabled());
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        theme.setAppearance(appearance);
        settle();
        const auto weakest = weakestUncheckedBoxContrast(withSelection);
        ASSERT_TRUE(weakest.has_value());
        EXPECT_GE(*weakest, 3.0);
    }
}

// The plan's and the comparison rows' badges ("저장 설정", "확인 후 실행",
// "안전", ...) and the "Before → After" tag read at 4.5:1 on their amber
// capsules, light and dark, at the standard and the largest text size. The
// capsules keep their fill: the accent fill at 78 % in light and 66 % in dark
// (the tag 72 %) over the card or row they stand on.
TEST_F(SettingsImportPreviewSheetTest, BadgesReadOnTheirAmberCapsulesInBothSchemesAndSizes) {
    theme.applyToWindow(sheet.get());  // as the application's windows join it
    sheet->resize(1000, 2400);         // every section on show, nothing scrolled away
    QWidget* page = sheet->findChild<QScrollArea*>()->widget();
    const auto inPreviewRow = [](const QWidget* widget) {
        for (const QWidget* up = widget; up; up = up->parentWidget())
            if (up->objectName() == QStringLiteral("comparison"))
                return true;
        return false;
    };
    for (const auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
        for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
            theme.setTextSize(size);
            theme.setAppearance(appearance);
            settle();
            const ColorScheme scheme = theme.scheme();
            SCOPED_TRACE(std::string(size == QuorvaneTextSize::standard ? "standard " : "large ") +
                         (scheme == ColorScheme::light ? "light" : "dark"));
            const QImage picture = page->grab().toImage();
            const auto lay = [scheme](Rgb8 under, ColorRole role, double light, double dark) {
                return laidOver({role, bySchemePair(scheme, light, dark)}, scheme, under);
            };
            const Rgb8 window = colorValue(ColorRole::windowBackground, scheme);
            const Rgb8 previewSection = lay(window, ColorRole::insetSurface, 0.9, 0.9);
            const Rgb8 previewRow = lay(previewSection, ColorRole::track, 0.44, 0.34);
            const Rgb8 planCard = lay(lay(window, ColorRole::surface, 0.92, 0.92),
                                      ColorRole::insetSurface, 0.72, 0.72);
            int badges = 0;
            for (auto* pill : page->findChildren<StatusPill*>()) {
                if (!pill->isVisibleTo(page))
                    continue;
                const bool tag = pill->text() == QStringLiteral("Before → After");
                const Rgb8 fill = tag ? lay(previewSection, ColorRole::accentFill, 0.72, 0.72)
                                      : lay(inPreviewRow(pill) ? previewRow : planCard,
                                            ColorRole::accentFill, 0.78, 0.66);
                badges += tag ? 0 : 1;
                const int cap = pill->height() / 2;
                const QRect inside = boxIn(page, pill).adjusted(cap, 2, -cap, -2);
                EXPECT_GE(inkContrast(picture, inside), 4.5) << pill->text().toStdString();
                EXPECT_LE(channelDistance(groundOf(picture, inside), toQColor(fill)), 1)
                    << pill->text().toStdString();
            }
            EXPECT_GE(badges, 10);
        }
    }
}

// A long alias already in the list when the sheet first shows: the picker
// still asks for its ideal width (the name elides), side by side and stacked.
TEST_F(SettingsImportPreviewSheetTest, ALongNameListedAtFirstShowKeepsThePickerAtItsIdealWidth) {
    store().setDisplayAlias("회의실 B 벽걸이 모니터 (발표용, 왼쪽에서 두 번째 자리)", studio.id);
    settle();
    auto preferences = QuorvanePreferences::defaults();
    preferences.displayAdjustments[rawIdentity(studio)].warmth = 0.5;
    preferences.displayAdjustments[rawIdentity(side)].contrast = 1.2;
    sheet = std::make_unique<SettingsImportPreviewSheet>(
        *context, QuorvaneSettingsImportDraft::of(preferences), nullptr);
    sheet->show();
    settle();
    auto* picker = qobject_cast<ElidingPicker*>(sheet->targetPicker(rawIdentity(studio)));
    ASSERT_NE(picker, nullptr);
    for (const int width : {1400, sheet->minimumWidth()}) {
        sheet->resize(width, 900);
        settle();
        EXPECT_EQ(picker->width(), 280) << width;
        EXPECT_TRUE(picker->shownText().endsWith(QChar(0x2026))) << width;
    }
}

// Side by side, a plan card's before and after values fill its width: the
// painted pills run from its leading to its trailing edge, with only the
// gaps and the arrow between them.
TEST_F(SettingsImportPreviewSheetTest, PlanValuesSideBySideFillTheCardsWidth) {
    sheet->resize(1400, 900);
    settle();
    const QWidget* card = planCard(sheet.get(), QStringLiteral("display-mapping-summary"));
    ASSERT_NE(card, nullptr);
    auto* values = card->findChild<FitToWidth*>(QStringLiteral("planValues"));
    ASSERT_NE(values, nullptr);
    ASSERT_EQ(values->arrangement(), FitArrangement::horizontal);
    // The card as drawn; the row's own pixels are those unlike the card's
    // fill, sampled in its padding beside the row.
    const QImage drawn = const_cast<QWidget*>(card)->grab().toImage();
    const int scale = static_cast<int>(drawn.devicePixelRatio());
    const QRect row(values->mapTo(card, QPoint(0, 0)) * scale, values->size() * scale);
    const int y = row.center().y();
    const QRgb fill = drawn.pixel(row.left() - 4 * scale, y);
    // Painted runs across the middle of the row.
    std::vector<std::pair<int, int>> runs;
    for (int x = row.left(); x <= row.right(); ++x) {
        if (drawn.pixel(x, y) == fill)
            continue;
        if (runs.empty() || runs.back().second != x - 1)
            runs.push_back({x, x});
        else
            runs.back().second = x;
    }
    ASSERT_GE(runs.size(), 2u);
    EXPECT_LE(runs.front().first, row.left() + scale);
    EXPECT_GE(runs.back().second, row.right() - scale);
    const int pills = (runs.front().second - runs.front().first + 1) +
                      (runs.back().second - runs.back().first + 1);
    const int arrow = values->findChild<SymbolImage*>()->width() * scale;
    EXPECT_GE(pills, row.width() - arrow - 2 * 10 * scale - 2 * scale);
}

// However wide the sheet, a before-or-after value too long for one line
// widens its pill as drawn to 210 and no further.
TEST_F(SettingsImportPreviewSheetTest, AComparisonPillIsDrawnNoWiderThan210) {
    auto preferences = QuorvanePreferences::defaults();
    preferences.displayAdjustments["an-imported-display-from-another-desk-with-a-long-key"].warmth =
        0.3;
    sheet = std::make_unique<SettingsImportPreviewSheet>(
        *context, QuorvaneSettingsImportDraft::of(preferences), nullptr);
    sheet->show();
    const auto widestAt = [&](int width) {
        sheet->resize(width, 900);
        settle();
        int widest = 0;
        for (auto* value : sheet->findChildren<WrappingLabel*>(QStringLiteral("comparisonValue"))) {
            QWidget* pill = value->parentWidget();
            QWidget* row = pill->parentWidget();
            while (row && !qobject_cast<SettingsTintedTile*>(row))
                row = row->parentWidget();
            EXPECT_NE(row, nullptr);
            if (!row)
                continue;
            // The painted run across the pill's middle, bounded by the row's
            // fill as sampled in the row's padding.
            const QImage drawn = row->grab().toImage();
            const int scale = static_cast<int>(drawn.devicePixelRatio());
            const QRect box(pill->mapTo(row, QPoint(0, 0)) * scale, pill->size() * scale);
            const int y = box.center().y();
            const QRgb fill = drawn.pixel(4 * scale, y);
            int left = box.center().x();
            int right = left;
            while (left > 0 && drawn.pixel(left - 1, y) != fill)
                --left;
            while (right + 1 < drawn.width() && drawn.pixel(right + 1, y) != fill)
                ++right;
            widest = std::max(widest, (right - left + 1) / scale);
        }
        return widest;
    };
    EXPECT_EQ(widestAt(2000), 210);
    EXPECT_EQ(widestAt(sheet->minimumWidth()), 210);
}

// The lines `label` draws its text in at its width, broken as it breaks them.
QStringList drawnLines(const WrappingLabel& label) {
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(label.contentsRect().width());
    layout.endLayout();
    QStringList lines;
    for (int index = 0; index < layout.lineCount(); ++index) {
        const QTextLine line = layout.lineAt(index);
        lines << label.text().mid(line.textStart(), line.textLength());
    }
    return lines;
}

// In the largest text at the sheet's least width, a key combination in a
// summary tile stays on one line: the tiles wrap between words only.
TEST_F(SettingsImportPreviewSheetTest, KeyCombinationsInTheSummaryTilesStayWhole) {
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    sheet->resize(sheet->minimumWidth(), 900);
    settle();
    auto* grid = sheet->findChild<AdaptiveGrid*>();
    ASSERT_NE(grid, nullptr);
    int chords = 0;
    for (const auto* value : grid->findChildren<WrappingLabel*>()) {
        QString plain = value->text();
        plain.remove(QChar(0x2060));
        const int whole = static_cast<int>(plain.count(QStringLiteral("Super+Shift+L")));
        if (whole == 0)
            continue;
        chords += whole;
        int onOneLine = 0;
        for (QString line : drawnLines(*value))
            onOneLine += static_cast<int>(line.remove(QChar(0x2060)).count("Super+Shift+L"));
        EXPECT_EQ(onOneLine, whole) << drawnLines(*value).join(" | ").toStdString();
    }
    EXPECT_GE(chords, 1);
}

// The sheet keeps the displays it opened with: one that goes while it is
// open is neither taken out of the pickers nor made to block Import; the
// store's check at import keeps its value under its identity, and the value
// reaches it when it is back.
TEST_F(SettingsImportPreviewSheetTest, ATargetThatGoesWhileOpenKeepsItsValueForItsReturn) {
    pick(studio, std::string(kSkipImportTarget));
    pick(side, rawIdentity(side));
    auto* picker = sheet->targetPicker(rawIdentity(side));
    const auto entries = [picker] {
        QStringList texts;
        for (int index = 0; index < picker->count(); ++index)
            texts << picker->itemText(index);
        return texts;
    };
    const QStringList offered = entries();
    world.connect({studio});
    store().refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    settle();
    EXPECT_EQ(entries(), offered);
    EXPECT_EQ(picker->currentData().toString().toStdString(), rawIdentity(side));
    EXPECT_TRUE(sheet->importButton()->isEnabled());

    confirmThroughTheStore();
    sheet->importButton()->click();
    EXPECT_EQ(store().statusMessage(),
              "설정 가져오기 완료 — 1개 디스플레이 색상값을 연결했습니다. 자동 적용은 다음 명시적 "
              "새로고침 때 실행됩니다");
    EXPECT_DOUBLE_EQ(world.savedPreferences().displayAdjustments.at(rawIdentity(side)).contrast,
                     1.2);

    world.connect({studio, side});
    store().refresh(DisplayStore::RefreshIntent::explicitUserRefresh);
    settle();
    EXPECT_DOUBLE_EQ(store().colorAdjustment(side.id).contrast, 1.2);
    auto expected = ColorAdjustment::neutral();
    expected.contrast = 1.2;
    EXPECT_EQ(world.midRed(side.id), world.midRed(expected));
}

// A target that another monitor of the same identity joins while the sheet
// is open is refused by the store at import, with its reason, and nothing
// is saved.
TEST_F(SettingsImportPreviewSheetTest, ATargetThatTurnsAmbiguousWhileOpenIsRefusedAtImport) {
    pick(studio, std::string(kSkipImportTarget));
    auto lookAlike = side;
    lookAlike.id = 9;
    lookAlike.bounds.x = 3840;
    world.connect({studio, side, lookAlike});
    store().refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    settle();
    ASSERT_TRUE(sheet->importButton()->isEnabled());
    const auto saved = world.defaults->contents();
    confirmThroughTheStore();
    sheet->importButton()->click();
    EXPECT_EQ(store().statusMessage(),
              "구분이 불확실한 디스플레이에는 자동으로 연결할 수 없습니다: " +
                  QuorvaneSettingsImportDisplayAdjustment::displayLabel(rawIdentity(side)));
    EXPECT_EQ(world.defaults->contents(), saved);
}

TEST_F(SettingsImportPreviewSheetTest, NothingChangesBeforeImportAndImportStoresWhatThePlanListed) {
    const auto gammaWrites = world.gamma->writeCount();
    const auto saved = world.defaults->contents();
    pick(side, std::string(kSkipImportTarget));
    sheet->modePicker()->segment(1)->click();
    sheet->modePicker()->segment(0)->click();
    settle();
    EXPECT_EQ(world.gamma->writeCount(), gammaWrites);
    EXPECT_EQ(world.defaults->contents(), saved);

    const auto titles = sheet->planCardTitles();
    ASSERT_EQ(titles.size(), 5u);
    EXPECT_EQ(titles[2].toStdString() + "|" + titles[3].toStdString(),
              "가져온 색상값 연결|가져온 색상값 건너뛰기");

    int confirmations = 0;
    const auto draft = sheet->draft();
    QObject::connect(sheet.get(), &SettingsImportPreviewSheet::importConfirmed,
                     [&](QuorvaneSettingsImportMode mode,
                         const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
                         bool switchSelection) {
                         ++confirmations;
                         store().confirmSettingsImport(draft, mode, mappings, switchSelection);
                     });
    sheet->importButton()->click();
    ASSERT_EQ(confirmations, 1);
    EXPECT_EQ(world.gamma->writeCount(), gammaWrites);
    EXPECT_DOUBLE_EQ(store().colorAdjustment(studio.id).warmth, 0.5);
    EXPECT_DOUBLE_EQ(store().colorAdjustment(side.id).contrast, 1.0);
    EXPECT_EQ(store().textSize(), QuorvaneTextSize::veryLarge);
}

// The texts of the labels under `root` that the user can see.
std::vector<std::string> shownTexts(const QWidget* root) {
    std::vector<std::string> texts;
    for (const auto* label : root->findChildren<QLabel*>())
        if (label->isVisibleTo(root))
            texts.push_back(label->text().toStdString());
    return texts;
}

// The plan card of the entry `id` on show.
const QWidget* planCard(const QWidget* sheet, const QString& id) {
    for (const auto* card : sheet->findChildren<QWidget*>(id))
        if (card->isVisibleTo(sheet))
            return card;
    return nullptr;
}

bool showsText(const QWidget* root, const std::string& text) {
    const auto texts = shownTexts(root);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_F(SettingsImportPreviewSheetTest, TheCountsOfLinkedAndSkippedDisplaysFollowWhatIsSkipped) {
    // A file from a desk with one more monitor than this one.
    auto preferences = QuorvanePreferences::defaults();
    preferences.displayAdjustments[rawIdentity(studio)].warmth = 0.5;
    preferences.displayAdjustments[rawIdentity(side)].contrast = 1.2;
    preferences.displayAdjustments[rawIdentity(externalDisplay(5, "Gone", 5005))].warmth = -0.2;
    sheet = std::make_unique<SettingsImportPreviewSheet>(
        *context, QuorvaneSettingsImportDraft::of(preferences), nullptr);
    sheet->show();
    settle();
    const QWidget* summaryCard = planCard(sheet.get(), QStringLiteral("display-mapping-summary"));
    ASSERT_NE(summaryCard, nullptr);
    EXPECT_TRUE(showsText(summaryCard, "2개 연결 · 1개 건너뜀"));
    EXPECT_TRUE(showsText(
        sheet.get(), "공통 설정을 가져오고 화면별 색상값 2개를 연결합니다. 1개는 건너뜁니다."));
    EXPECT_TRUE(showsText(sheet.get(), "2개 연결됨"));

    pick(side, std::string(kSkipImportTarget));
    // The cards of the first plan go at the next turn of a running loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    summaryCard = planCard(sheet.get(), QStringLiteral("display-mapping-summary"));
    ASSERT_NE(summaryCard, nullptr);
    EXPECT_TRUE(showsText(summaryCard, "1개 연결 · 2개 건너뜀"));
    EXPECT_TRUE(showsText(
        sheet.get(), "공통 설정을 가져오고 화면별 색상값 1개를 연결합니다. 2개는 건너뜁니다."));
    EXPECT_TRUE(showsText(sheet.get(), "1개 연결됨"));
    // The before-and-after row says the same as the plan.
    std::vector<std::string> comparisonValues;
    for (const auto* value : sheet->findChildren<QLabel*>(QStringLiteral("comparisonValue")))
        if (value->isVisibleTo(sheet.get()))
            comparisonValues.push_back(value->text().toStdString());
    EXPECT_NE(std::find(comparisonValues.begin(), comparisonValues.end(), "1개 연결 · 2개 건너뜀"),
              comparisonValues.end());
}

// The notices under the mapping rows as shown: the kind of each on show,
// in order.
std::vector<ImportMappingNoticeKind> shownNotices(const QWidget* sheet) {
    std::vector<ImportMappingNoticeKind> kinds;
    for (const auto* notice : sheet->findChildren<ImportMappingNoticeView*>())
        if (notice->isVisibleTo(sheet))
            kinds.push_back(notice->notice().kind);
    return kinds;
}

// Each warning shows while its condition holds, its symbol drawn in its
// colour before exactly its text; a screen reader hears the text alone.
TEST_F(SettingsImportPreviewSheetTest, MappingWarningsDrawTheirSymbolBeforeTheirTextAlone) {
    using Kind = ImportMappingNoticeKind;
    WindowThemeFollower follower(theme);
    // A desk with two identical monitors besides the studio and side ones.
    const auto twins = identicalTwins(3, 4);
    world.connect({studio, side, twins[0], twins[1]});
    store().refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    settle();
    auto preferences = QuorvanePreferences::defaults();
    preferences.displayAdjustments[rawIdentity(studio)].warmth = 0.5;
    preferences.displayAdjustments[rawIdentity(side)].contrast = 1.2;
    sheet = std::make_unique<SettingsImportPreviewSheet>(
        *context, QuorvaneSettingsImportDraft::of(preferences), nullptr);
    sheet->resize(900, 700);
    sheet->show();
    settle();
    EXPECT_EQ(shownNotices(sheet.get()), std::vector{Kind::lookAlike});
    pick(side, rawIdentity(studio));
    EXPECT_EQ(shownNotices(sheet.get()), (std::vector{Kind::duplicateTarget, Kind::lookAlike}));

    QStringList heard;
    walkAccessibleTree(
        QAccessible::queryAccessibleInterface(sheet.get()), [&](QAccessibleInterface* node) {
            heard << node->text(QAccessible::Name);
            EXPECT_FALSE(qobject_cast<SymbolImage*>(node->object())) << describe(node);
        });
    // As first shown, and again after each appearance change restyles it:
    // the duplicate warning orange, the look-alike notice secondary.
    const auto colourOf = [](Kind kind) {
        return kind == Kind::lookAlike ? ColorRole::secondary : ColorRole::systemOrange;
    };
    for (const auto appearance : std::vector<std::optional<QuorvaneAppearance>>{
             std::nullopt, QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        if (appearance) {
            theme.setAppearance(*appearance);
            settle();
        }
        for (auto* notice : sheet->findChildren<ImportMappingNoticeView*>()) {
            if (!notice->isVisibleTo(sheet.get()))
                continue;
            const std::string symbol(notice->notice().symbol);
            const QString text = QString::fromStdString(notice->notice().text);
            EXPECT_EQ(notice->text()->text(), text);
            EXPECT_TRUE(heard.contains(text)) << text.toStdString();
            EXPECT_EQ(notice->symbol()->systemName(), symbol);
            ASSERT_TRUE(notice->symbol()->isVisibleTo(notice));
            // Drawn before the text, on its first line, in the text's colour.
            const QImage image = notice->grab().toImage();
            const QRect box = boxIn(notice, notice->symbol());
            const QRect ink = inkBounds(image, box);
            ASSERT_FALSE(ink.isEmpty()) << symbol;
            EXPECT_LT(ink.right(), boxIn(notice, notice->text()).left());
            EXPECT_LE(ink.bottom(), QFontMetrics(notice->text()->font()).height());
            // The strongest stroke of the symbol and of the text is in the
            // colour of the notice's kind.
            const auto distance = [](QRgb one, QRgb other) {
                return std::abs(qRed(one) - qRed(other)) + std::abs(qGreen(one) - qGreen(other)) +
                       std::abs(qBlue(one) - qBlue(other));
            };
            const auto strongestIn = [&](const QRect& region) {
                const QRgb background = backgroundOf(image, region);
                QRgb strongest = background;
                for (int y = region.top(); y <= region.bottom(); ++y)
                    for (int x = region.left(); x <= region.right(); ++x)
                        if (distance(image.pixel(x, y), background) >
                            distance(strongest, background))
                            strongest = image.pixel(x, y);
                return strongest;
            };
            const QRgb expected = theme.color(colourOf(notice->notice().kind)).rgb();
            for (const QRect& region : {box, boxIn(notice, notice->text())}) {
                const QRgb strongest = strongestIn(region);
                EXPECT_LT(distance(strongest, expected), 30)
                    << symbol << " " << QColor(strongest).name().toStdString() << " first shown "
                    << !appearance;
            }
        }
    }
    for (const QString& name : heard) {
        EXPECT_FALSE(name.contains(QChar(0x26A0))) << name.toStdString();
        EXPECT_FALSE(name.contains(QChar(0x24D8))) << name.toStdString();
    }
}

// What an import never does is said whatever the mode.
TEST_F(SettingsImportPreviewSheetTest, TheSafetyNotesShowBothTextsInBothModes) {
    for (const int segment : {0, 1, 0}) {
        sheet->modePicker()->segment(segment)->click();
        settle();
        EXPECT_TRUE(showsText(sheet.get(), "안전 확인")) << segment;
        EXPECT_TRUE(showsText(sheet.get(),
                              "이 단계는 저장된 Quorvane 설정만 바꿉니다. 실제 화면 보정, DDC/CI "
                              "하드웨어 쓰기, 시스템 밝기/해상도 API 호출은 하지 않습니다."))
            << segment;
        EXPECT_TRUE(showsText(
            sheet.get(), "밝기 동기화 그룹은 가져온 그룹 목록에 없는 ID면 자동으로 비워집니다."))
            << segment;
    }
}

// Cards under each other share their rows alike: a before and an after value
// side by side are drawn equally wide, so every card's arrow stands at one x.
TEST_F(SettingsImportPreviewSheetTest, ThePlanCardsArrowsStandAtOneX) {
    sheet->resize(900, 900);
    settle();
    std::vector<int> arrows;
    for (auto* values : sheet->findChildren<FitToWidth*>(QStringLiteral("planValues"))) {
        const auto pills = values->findChildren<QWidget*>(QStringLiteral("planValue"));
        if (!values->isVisibleTo(sheet.get()) || pills.size() != 2 ||
            values->arrangement() != FitArrangement::horizontal)
            continue;
        EXPECT_LE(std::abs(pills[0]->width() - pills[1]->width()), 1);
        // Each row as drawn (a row below the sheet's fold is not drawn in
        // the sheet's own picture).
        const QImage drawn = values->grab().toImage();
        auto* arrow = values->findChild<SymbolImage*>();
        const QRect ink = inkBounds(drawn, boxIn(values, arrow), 30);
        ASSERT_FALSE(ink.isEmpty());
        arrows.push_back(values->mapTo(sheet.get(), QPoint(0, 0)).x() + ink.left());
    }
    ASSERT_GE(arrows.size(), 2u);
    for (const int x : arrows)
        EXPECT_EQ(x, arrows.front());
}

}  // namespace
}  // namespace quorvane::testing
