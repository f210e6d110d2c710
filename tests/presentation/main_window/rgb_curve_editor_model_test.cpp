#include "presentation/main_window/rgb_curve_editor_model.hpp"

#include <gtest/gtest.h>

#include "presentation/main_window/rgb_curve_graph_geometry.hpp"

namespace quorvane {
namespace {

constexpr RGBGammas kNeutral{};

TEST(RGBCurveEditorModel, NeutralStartReadsOneFiftyFifty) {
    RGBCurveEditorModel editor;
    EXPECT_EQ(editor.gammaPillLabel(), "RGB 곡선");
    EXPECT_EQ(editor.gammaText(kNeutral), "1.00");
    EXPECT_EQ(editor.xPercent(), 50);
    EXPECT_EQ(editor.yPercent(kNeutral), 50);
}

TEST(RGBCurveEditorModel, AllChannelsShowTheirMeanAndCommitOneGammaForAll) {
    RGBCurveEditorModel editor;
    const RGBGammas unequal{0.9, 1.1, 1.0};
    EXPECT_DOUBLE_EQ(editor.displayedGamma(unequal), 1.0);
    // The mean is neutral but the channels are not: reset stays enabled.
    EXPECT_FALSE(editor.isSelectedChannelNeutral(unequal));

    const auto edit = editor.commit(0.5, 0.9);
    EXPECT_EQ(edit.channel, RGBCurveChannel::rgb);
    ColorAdjustment adjustment;
    adjustment.redGamma = 0.9;
    adjustment.greenGamma = 1.1;
    adjustment.softwareBrightness = 0.7;
    edit.applyTo(adjustment);
    EXPECT_EQ(RGBGammas::of(adjustment), (RGBGammas{edit.gamma, edit.gamma, edit.gamma}));
    EXPECT_DOUBLE_EQ(adjustment.softwareBrightness, 0.7);
    EXPECT_FALSE(editor.previewGamma());
}

TEST(RGBCurveEditorModel, SingleChannelEditTouchesOnlyThatChannel) {
    RGBCurveEditorModel editor;
    editor.selectChannel(RGBCurveChannel::green);
    const auto edit = editor.commit(0.5, 0.2);
    ColorAdjustment adjustment;
    edit.applyTo(adjustment);
    EXPECT_EQ(adjustment.redGamma, 1.0);
    EXPECT_LT(adjustment.greenGamma, 1.0);
    EXPECT_EQ(adjustment.blueGamma, 1.0);
}

TEST(RGBCurveEditorModel, NeutralToleranceIsOneMillionth) {
    RGBCurveEditorModel editor;
    editor.selectChannel(RGBCurveChannel::red);
    EXPECT_TRUE(editor.isSelectedChannelNeutral({1.0000005, 2.0, 2.0}));
    EXPECT_FALSE(editor.isSelectedChannelNeutral({1.00001, 1.0, 1.0}));
}

TEST(RGBCurveEditorModel, DraggingToTheEdgesHitsTheClampedBounds) {
    RGBCurveEditorModel editor;
    editor.preview(0.0, 0.5);
    EXPECT_EQ(editor.xPercent(), 8);
    editor.preview(1.0, 0.5);
    EXPECT_EQ(editor.xPercent(), 92);

    editor.preview(0.5, 0.92);  // the top of the plot
    EXPECT_EQ(editor.gammaText(kNeutral), "2.50");
    EXPECT_EQ(editor.yPercent(kNeutral), 76);
    editor.preview(0.5, 0.08);  // the bottom
    EXPECT_EQ(editor.gammaText(kNeutral), "0.40");
    EXPECT_EQ(editor.yPercent(kNeutral), 18);
}

TEST(RGBCurveEditorModel, PreviewShowsOnlyOnItsOwnChannel) {
    RGBCurveEditorModel editor;
    const RGBGammas bound{1.2, 0.8, 1.0};
    editor.selectChannel(RGBCurveChannel::red);
    editor.preview(0.5, 0.92);
    EXPECT_DOUBLE_EQ(editor.displayedGamma(bound), 2.5);

    editor.selectChannel(RGBCurveChannel::green);
    EXPECT_DOUBLE_EQ(editor.displayedGamma(bound), 0.8);
    EXPECT_DOUBLE_EQ(editor.controlInput(), 0.5);

    editor.selectChannel(RGBCurveChannel::red);
    EXPECT_DOUBLE_EQ(editor.displayedGamma(bound), 2.5);
}

TEST(RGBCurveEditorModel, ResetTargetsTheSelectedChannelAndKeepsThePoint) {
    RGBCurveEditorModel editor;
    editor.preview(0.3, 0.6);
    const auto edit = editor.reset();
    EXPECT_EQ(edit, (RGBCurveEdit{RGBCurveChannel::rgb, 1.0}));
    EXPECT_DOUBLE_EQ(editor.controlInput(), 0.3);
    EXPECT_TRUE(editor.previewGamma());

    ColorAdjustment adjustment;
    adjustment.blueGamma = 1.4;
    edit.applyTo(adjustment);
    EXPECT_EQ(RGBGammas::of(adjustment), kNeutral);
}

TEST(RGBCurveEditorModel, ChannelTextsFollowTheSelection) {
    RGBCurveEditorModel editor;
    editor.selectChannel(RGBCurveChannel::blue);
    EXPECT_EQ(editor.resetHelp(), "파랑 곡선을 기본 대각선으로 되돌립니다.");
    EXPECT_EQ(editor.graphAccessibleName(), "파랑 곡선 그래프");
}

TEST(RGBCurveGraphGeometry, NeutralCurveStartsAndEndsAThousandthInsideThePlot) {
    const auto points = RGBCurveGraphGeometry::curvePoints(1.0, 200, 100);
    ASSERT_EQ(points.size(), 49u);
    EXPECT_NEAR(points.front().y, 99.9, 1e-9);
    EXPECT_NEAR(points.back().y, 0.1, 1e-9);
    EXPECT_NEAR(points[24].x, 100, 1e-9);
    EXPECT_NEAR(points[24].y, 50, 1e-9);
}

TEST(RGBCurveGraphGeometry, GammaBeyondTheBandDrawsTheBoundCurve) {
    const auto top = RGBCurveGraphGeometry::controlPoint(2.5, 0.5, 100, 100);
    EXPECT_NEAR(top.y, 24.2, 0.05);
    EXPECT_EQ(RGBCurveGraphGeometry::controlPoint(9.0, 0.5, 100, 100), top);
    EXPECT_EQ(RGBCurveGraphGeometry::curvePoints(0.1, 100, 100),
              RGBCurveGraphGeometry::curvePoints(0.4, 100, 100));
}

TEST(RGBCurveGraphGeometry, PointerEdgesAndTinyPlots) {
    EXPECT_EQ(RGBCurveGraphGeometry::pointerPair(5, 2, 300, 166), (GraphPoint{0.08, 0.92}));
    EXPECT_EQ(RGBCurveGraphGeometry::pointerPair(299, 160, 300, 166), (GraphPoint{0.92, 0.08}));
    // A plot of at most one point divides by one.
    const auto tiny = RGBCurveGraphGeometry::pointerPair(0.5, 0.5, 0.5, 0.0);
    EXPECT_DOUBLE_EQ(tiny.x, 0.5);
    EXPECT_DOUBLE_EQ(tiny.y, 0.5);
}

TEST(RGBCurveGraphGeometry, HistogramBarsStandOnTheBottomWithGaps) {
    const std::vector<double> values(RGBCurveGraphGeometry::kHistogramBars.begin(),
                                     RGBCurveGraphGeometry::kHistogramBars.end());
    const auto bars = RGBCurveGraphGeometry::histogramBars(values, 300, 166);
    ASSERT_EQ(bars.size(), 16u);
    EXPECT_DOUBLE_EQ(bars[0].width, 16.625);
    EXPECT_DOUBLE_EQ(bars[0].x, 2);
    EXPECT_DOUBLE_EQ(bars[1].x, 2 + 16.625 + 2);
    EXPECT_NEAR(bars[0].height, 16.6, 1e-9);
    EXPECT_DOUBLE_EQ(bars[0].y + bars[0].height, 166);

    const auto low = RGBCurveGraphGeometry::histogramBars(std::vector{0.01}, 10, 100);
    EXPECT_DOUBLE_EQ(low[0].height, 8);
    EXPECT_DOUBLE_EQ(low[0].width, 6);
    EXPECT_DOUBLE_EQ(RGBCurveGraphGeometry::histogramBars(std::vector{0.5, 0.5}, 4, 10)[0].width,
                     3);
    EXPECT_TRUE(RGBCurveGraphGeometry::histogramBars({}, 300, 166).empty());
}

}  // namespace
}  // namespace quorvane
