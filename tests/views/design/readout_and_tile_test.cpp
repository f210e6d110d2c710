#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QKeySequence>

#include "views/design/chip_button.hpp"
#include "views/design/monospaced_font.hpp"
#include "views/design/readout_label.hpp"
#include "views/design/theme.hpp"

namespace quorvane {
namespace {

TEST(ReadoutLabelTest, EveryDigitTakesTheSameWidthSoAChangingNumberNeverShiftsItsRow) {
    ReadoutLabel readout;
    QFont font = readout.font();
    font.setPointSizeF(20.16);
    readout.setFont(font);
    const double ones = readout.textWidth(QStringLiteral("1.11"));
    for (const char* value : {"0.00", "9.99", "4.78", "2.05"})
        EXPECT_DOUBLE_EQ(readout.textWidth(QString::fromLatin1(value)), ones) << value;
    EXPECT_DOUBLE_EQ(readout.textWidth(QStringLiteral("11%")),
                     readout.textWidth(QStringLiteral("80%")));
    EXPECT_DOUBLE_EQ(readout.textWidth(QStringLiteral("6500K")),
                     readout.textWidth(QStringLiteral("2711K")));
    // Its size follows the text and the font.
    readout.setText(QStringLiteral("100%"));
    const int wide = readout.sizeHint().width();
    readout.setText(QStringLiteral("5%"));
    EXPECT_LT(readout.sizeHint().width(), wide);
    EXPECT_EQ(readout.accessibleName(), QStringLiteral("5%"));
}

TEST(FramedTileTest, GrowsWithTheTextSizeWrapsLongNamesAndShowsAmpersandsVerbatim) {
    Theme theme(false);
    theme.setTextSize(QuorvaneTextSize::standard);
    TileButton tile(theme, QStringLiteral("R&&D 야간 작업용 따뜻한 화면"),
                    QuorvaneChipProminence::neutral);
    tile.setDetailText(QStringLiteral("사용자"));
    tile.setAccessibleFrame(8);
    EXPECT_TRUE(tile.hasHeightForWidth());
    EXPECT_GE(tile.heightForWidth(600), 48);
    // A name too long for one line wraps: the tile grows instead of eliding.
    EXPECT_GT(tile.heightForWidth(120), tile.heightForWidth(600));
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_GE(tile.heightForWidth(2000), 64);  // 46 + 2 × 9, above the tile's own 56
    // The "&" a user typed is drawn once and makes no shortcut.
    EXPECT_TRUE(tile.shortcut().isEmpty());
    EXPECT_TRUE(QKeySequence::mnemonic(tile.text()).isEmpty());
}

TEST(FramedTileTest, ANameOfOneLongWordBreaksInsideTheWordInsteadOfRunningOut) {
    Theme theme(false);
    theme.setTextSize(QuorvaneTextSize::standard);
    TileButton tile(theme, QStringLiteral("Neutralisation"), QuorvaneChipProminence::neutral);
    tile.setFont(theme.font(QuorvaneFontStyle::body, QFont::DemiBold));
    tile.setAccessibleFrame(8);
    const int wide = tile.heightForWidth(1000);
    // Narrower than the word: it takes more lines, so the tile grows.
    EXPECT_GT(tile.heightForWidth(tile.sizeHint().width() / 2), wide);
}

// An action card's chip: the symbol on its own 28-point tile and a title of
// at most two lines, so a long title makes the chip taller, never wider
// than its card and never longer than two lines.
TEST(ActionChipTest, ALongTitleWrapsToTwoLinesAndNoFurther) {
    Theme theme(false);
    theme.setTextSize(QuorvaneTextSize::standard);
    ChipButton chip(theme, QStringLiteral("저장 색상값 삭제 후 기본 색으로 되돌리고 다시 시작하기"),
                    QuorvaneChipProminence::destructive);
    chip.setSymbol("trash");
    chip.setActionLabel();
    EXPECT_TRUE(chip.hasHeightForWidth());
    const int line = QFontMetrics(chip.font()).lineSpacing();
    const int oneLine = chip.heightForWidth(chip.sizeHint().width());
    // One line beside the tile: the tile (28) inside the chip's insets rules.
    EXPECT_GE(oneLine, 38);
    EXPECT_LT(oneLine, 38 + line);
    // Half as wide: two lines.
    const int half = chip.sizeHint().width() / 2;
    EXPECT_GE(chip.heightForWidth(half), 2 * line);
    // Narrower still: the title would need many lines but keeps two.
    EXPECT_EQ(chip.heightForWidth(half / 3), chip.heightForWidth(half));
    // It may be laid out narrower than its one-line width.
    EXPECT_LT(chip.minimumSizeHint().width(), chip.sizeHint().width());
    EXPECT_EQ(chip.sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);

    // A short title sits on one line with the tile at every width it gets.
    ChipButton shortOne(theme, QStringLiteral("내보내기"), QuorvaneChipProminence::neutral);
    shortOne.setSymbol("square.and.arrow.up");
    shortOne.setActionLabel();
    EXPECT_EQ(shortOne.heightForWidth(shortOne.sizeHint().width()), shortOne.heightForWidth(1000));
    EXPECT_EQ(shortOne.sizeHint().height(), 38);
}

// Monospaced is what is drawn: a proportional family whose digits happen to
// share one width still draws "iiii" narrower than "MMMM", and a family
// asked for through monospaced() draws both alike, whatever it declares.
TEST(MonospacedFontTest, OnlyAFontDrawingEveryLetterAlikeCountsAsMonospaced) {
    QFont proportional(QStringLiteral("DejaVu Sans"));
    proportional.setPixelSize(15);
    ASSERT_FALSE(QFontMetricsF(proportional).horizontalAdvance(QStringLiteral("iiii")) ==
                 QFontMetricsF(proportional).horizontalAdvance(QStringLiteral("MMMM")));
    EXPECT_FALSE(drawsMonospaced(proportional));
    const QFont identity = monospaced(proportional);
    EXPECT_TRUE(drawsMonospaced(identity)) << QFontInfo(identity).family().toStdString();
    EXPECT_EQ(identity.pixelSize(), 15);
}

}  // namespace
}  // namespace quorvane
