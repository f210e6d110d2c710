#include <gtest/gtest.h>

#include <QKeySequence>

#include "views/design/chip_button.hpp"
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

}  // namespace
}  // namespace quorvane
