#include "models/color/transfer_tables.hpp"

#include <gtest/gtest.h>

#include "models/color/gamma_ramp.hpp"
#include "models/color/resampled_ramp_cache.hpp"

namespace quorvane {
namespace {

constexpr double kTolerance = 1e-6;

// Entries 0, 64, 128, 191 and 255 of a 256-entry table.
void expectSamples(const std::vector<float>& table, std::array<double, 5> expected) {
    ASSERT_EQ(table.size(), 256u);
    const std::size_t indices[] = {0, 64, 128, 191, 255};
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_NEAR(table[indices[k]], expected[k], kTolerance) << "entry " << indices[k];
    }
}

TransferTables tablesFor(void (*edit)(ColorAdjustment&)) {
    ColorAdjustment adjustment;
    edit(adjustment);
    return buildTransferTables(adjustment, 256);
}

TEST(TransferTablesTest, NeutralIsTheIdentityRampInFloats) {
    auto tables = buildTransferTables(ColorAdjustment::neutral(), 256);
    for (std::size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(tables.red[i], static_cast<float>(i / 255.0));
    }
    EXPECT_EQ(tables.red, tables.green);
    EXPECT_EQ(tables.red, tables.blue);
}

TEST(TransferTablesTest, WorkedValues) {
    auto warm = tablesFor([](ColorAdjustment& a) { a.warmth = 1; });
    expectSamples(warm.red, {0, 0.281098, 0.562196, 0.838902, 1});
    expectSamples(warm.green, {0, 0.240941, 0.481882, 0.719059, 0.96});
    expectSamples(warm.blue, {0, 0.170667, 0.341333, 0.509333, 0.68});

    auto cool = tablesFor([](ColorAdjustment& a) { a.warmth = -1; });
    EXPECT_NEAR(cool.red[255], 0.8, kTolerance);
    expectSamples(cool.green, {0, 0.25098, 0.501961, 0.74902, 1});
    expectSamples(cool.blue, {0, 0.281098, 0.562196, 0.838902, 1});

    expectSamples(tablesFor([](ColorAdjustment& a) { a.contrast = 2; }).red,
                  {0, 0.001961, 0.503922, 0.998039, 1});
    expectSamples(tablesFor([](ColorAdjustment& a) { a.gamma = 2; }).green,
                  {0, 0.500979, 0.708492, 0.865459, 1});

    auto dimInverted = tablesFor([](ColorAdjustment& a) {
        a.softwareBrightness = 0.5;
        a.outputFilter = QuorvaneOutputFilter::invert;
    });
    expectSamples(dimInverted.blue, {1, 0.87451, 0.74902, 0.62549, 0.5});

    auto redCurve = tablesFor([](ColorAdjustment& a) {
        a.redGamma = 2.5;
        a.redGain = 1.2;
    });
    expectSamples(redCurve.red, {0, 0.690299, 0.910855, 1, 1});
    expectSamples(redCurve.green, {0, 0.25098, 0.501961, 0.74902, 1});
}

TEST(TransferTablesTest, TinyTableSizesStillGiveBothEnds) {
    for (int size : {0, 1, -5}) {
        auto tables = buildTransferTables(ColorAdjustment::neutral(), size);
        ASSERT_EQ(tables.red.size(), 2u);
        EXPECT_EQ(tables.red[0], 0.0f);
        EXPECT_EQ(tables.red[1], 1.0f);
    }
}

TEST(TransferTablesTest, OutOfRangeFieldsAreClampedNotRefused) {
    auto same = [](void (*edit)(ColorAdjustment&), void (*clamped)(ColorAdjustment&)) {
        return tablesFor(edit) == tablesFor(clamped);
    };
    EXPECT_TRUE(same([](auto& a) { a.contrast = 0.1; }, [](auto& a) { a.contrast = 0.2; }));
    EXPECT_TRUE(same([](auto& a) { a.gamma = 5; }, [](auto& a) { a.gamma = 3; }));
    EXPECT_TRUE(same([](auto& a) { a.redGamma = 0.1; }, [](auto& a) { a.redGamma = 0.4; }));
    EXPECT_TRUE(same([](auto& a) { a.warmth = 3; }, [](auto& a) { a.warmth = 1; }));

    auto black = tablesFor([](ColorAdjustment& a) { a.softwareBrightness = -1; });
    EXPECT_EQ(black.green, std::vector<float>(256, 0.0f));
    auto white = tablesFor([](ColorAdjustment& a) {
        a.softwareBrightness = -1;
        a.outputFilter = QuorvaneOutputFilter::invert;
    });
    EXPECT_EQ(white.green, std::vector<float>(256, 1.0f));

    auto negativeGain = tablesFor([](ColorAdjustment& a) { a.blueGain = -2; });
    EXPECT_EQ(negativeGain.blue, std::vector<float>(256, 0.0f));
}

TEST(TransferTablesTest, BrightnessAboveOneSaturatesTheTop) {
    auto bright = tablesFor([](ColorAdjustment& a) { a.softwareBrightness = 1.5; });
    for (std::size_t i = 0; i < 256; ++i) {
        if (i / 255.0 > 2.0 / 3.0 + 1e-9) {
            EXPECT_EQ(bright.red[i], 1.0f) << i;
        } else {
            EXPECT_LT(bright.red[i], 1.0f + 1e-6f) << i;
        }
    }
}

TEST(GammaRampTest, ResamplingKeepsBothEndsAndInterpolates) {
    auto tables = buildTransferTables(ColorAdjustment::neutral(), 256);
    for (std::size_t size : {1024u, 256u, 17u, 2u}) {
        auto ramp = GammaRamp::fromTables(tables, size);
        ASSERT_EQ(ramp.size(), size);
        EXPECT_EQ(ramp.red.front(), 0);
        EXPECT_EQ(ramp.red.back(), 65535);
        EXPECT_EQ(ramp, GammaRamp::identity(size)) << size;
    }
    // Halfway between two entries of a two-entry table.
    std::vector<float> steep = {0.0f, 1.0f};
    auto levels = resampleTable(steep, 3);
    EXPECT_EQ(levels, (std::vector<std::uint16_t>{0, 32768, 65535}));
    // A saturated curve stays saturated; NaN and overshoot are clamped.
    std::vector<float> odd = {-0.5f, std::numeric_limits<float>::quiet_NaN(), 2.0f};
    EXPECT_EQ(resampleTable(odd, 3), (std::vector<std::uint16_t>{0, 0, 65535}));
    EXPECT_TRUE(resampleTable(steep, 0).empty());
}

// One preset put on many outputs is resampled once per ramp size; other
// tables or another size always get a ramp of their own.
TEST(GammaRampTest, TheRampCacheGivesEachTablesAndSizeTheirOwnRamp) {
    ColorAdjustment warmAdjustment;
    warmAdjustment.warmth = 0.8;
    const auto warm = buildTransferTables(warmAdjustment, 256);
    const auto neutral = buildTransferTables(ColorAdjustment::neutral(), 256);
    ResampledRampCache cache;
    EXPECT_EQ(cache.rampFor(warm, 1024), GammaRamp::fromTables(warm, 1024));
    EXPECT_EQ(cache.rampFor(warm, 1024), GammaRamp::fromTables(warm, 1024));
    EXPECT_EQ(cache.rampFor(warm, 256), GammaRamp::fromTables(warm, 256));
    EXPECT_EQ(cache.rampFor(neutral, 256), GammaRamp::identity(256));
    EXPECT_EQ(cache.rampFor(warm, 256), GammaRamp::fromTables(warm, 256));
}

}  // namespace
}  // namespace quorvane
