#include <gtest/gtest.h>

#include "presentation/design/typography.hpp"

namespace quorvane {
namespace {

TEST(TypographyTest, EachTextSizeRowHoldsItsScaleFontControlAndButtonHeight) {
    struct Row {
        QuorvaneTextSize size;
        double scale;
        double base;
        QuorvaneControlSize control;
        double button;
    };
    const Row rows[] = {
        {QuorvaneTextSize::standard, 1.0, 14, QuorvaneControlSize::regular, 30},
        {QuorvaneTextSize::large, 1.12, 15.68, QuorvaneControlSize::large, 34},
        {QuorvaneTextSize::extraLarge, 1.26, 17.64, QuorvaneControlSize::extraLarge, 40},
        {QuorvaneTextSize::veryLarge, 1.44, 20.16, QuorvaneControlSize::extraLarge, 46},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(caseName(row.size)));
        EXPECT_DOUBLE_EQ(textScale(row.size), row.scale);
        EXPECT_DOUBLE_EQ(baseFontPoints(row.size), row.base);
        EXPECT_EQ(controlSize(row.size), row.control);
        EXPECT_DOUBLE_EQ(accessibleButtonMinHeight(row.size), row.button);
    }
}

TEST(TypographyTest, ScaledSizesKeepTheirFractionAndSubheadlineIsSmallerThanBody) {
    EXPECT_DOUBLE_EQ(scaledPointSize(QuorvaneFontStyle::caption, 1.44), 17.28);
    EXPECT_DOUBLE_EQ(scaledPointSize(QuorvaneFontStyle::title3, 1.12), 22.4);
    EXPECT_DOUBLE_EQ(scaledPointSize(QuorvaneFontStyle::caption, 1.12), 13.44);
    EXPECT_DOUBLE_EQ(scaledPointSize(QuorvaneFontStyle::headline, 1.0), 15);
    EXPECT_LT(basePointSize(QuorvaneFontStyle::subheadline),
              basePointSize(QuorvaneFontStyle::body));
    EXPECT_EQ(basePointSize(QuorvaneFontStyle::callout), basePointSize(QuorvaneFontStyle::body));
}

}  // namespace
}  // namespace quorvane
