#include <gtest/gtest.h>

#include <algorithm>

#include "presentation/design/text_fit.hpp"

namespace quorvane {
namespace {

// A text that takes three lines above `threshold` points and two at or
// below it; records the smallest size it was asked about.
struct Measured {
    double threshold;
    double smallestAsked = 1000;

    int operator()(double size) {
        smallestAsked = std::min(smallestAsked, size);
        return size <= threshold + 1e-9 ? 2 : 3;
    }
};

TEST(TextFitTest, ATextThatFitsKeepsItsFullSize) {
    Measured text{100};
    EXPECT_EQ(fitTextToLines(12, 0.86, 2, std::ref(text)), (TextFit{12, false}));
    EXPECT_DOUBLE_EQ(text.smallestAsked, 12);
}

TEST(TextFitTest, ALongTextShrinksOnlyAsFarAsItNeeds) {
    // Fits from 11 pt down: the largest fitting size wins, not the smallest.
    EXPECT_EQ(fitTextToLines(12, 0.86, 2, Measured{11}), (TextFit{11, false}));
    // Fits only at the very least size, 0.86 × 12, between two quarter steps.
    EXPECT_EQ(fitTextToLines(12, 0.86, 2, Measured{12 * 0.86}), (TextFit{12 * 0.86, false}));
}

TEST(TextFitTest, ATextTooLongEvenWhenShrunkIsCutAtTheLeastSize) {
    Measured text{5};
    const auto fit = fitTextToLines(12, 0.86, 2, std::ref(text));
    EXPECT_DOUBLE_EQ(fit.pointSize, 12 * 0.86);
    EXPECT_TRUE(fit.cut);
    EXPECT_GE(text.smallestAsked, 12 * 0.86 - 1e-9);
    // A single-line limit on the same text: three lines never fit in one.
    EXPECT_TRUE(fitTextToLines(12, 0.86, 1, Measured{100}).cut);
}

TEST(TextFitTest, NoLimitOrNoShrinkingLeavesTheSizeAlone) {
    EXPECT_EQ(fitTextToLines(12, 0.86, 0, Measured{5}), (TextFit{12, false}));
    EXPECT_EQ(fitTextToLines(12, 1.0, 2, Measured{5}), (TextFit{12, true}));
    // Factors outside 0.1–1 are clamped: 2.0 may not grow the text.
    EXPECT_EQ(fitTextToLines(12, 2.0, 2, Measured{100}), (TextFit{12, false}));
}

}  // namespace
}  // namespace quorvane
