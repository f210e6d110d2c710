#include <gtest/gtest.h>

#include "models/coding/json_coding.hpp"
#include "models/ddc/ddc_control_value.hpp"
#include "models/ddc/ddc_write_request.hpp"

namespace quorvane {
namespace {

TEST(DDCControlValue, ScaledValueClampsAndRoundsHalfAway) {
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 100}).scaledValue(0.5), 50);
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 255}).scaledValue(0.5), 128);
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 255}).scaledValue(1.7), 255);
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 255}).scaledValue(-0.2), 0);
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 0}).scaledValue(0.8), 0);
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 100}).scaledValue(std::nan("")), 0);
}

TEST(DDCControlValue, PercentLabel) {
    EXPECT_EQ((DDCControlValue{DDCVCPCode::contrast, 30, 0}).percentLabel(), "30");
    EXPECT_EQ((DDCControlValue{DDCVCPCode::contrast, 128, 255}).percentLabel(), "50%");
    EXPECT_EQ((DDCControlValue{DDCVCPCode::contrast, 300, 255}).percentLabel(), "100%");
    EXPECT_EQ((DDCControlValue{DDCVCPCode::contrast, 1, 200}).percentLabel(),
              "1%");  // 0.5 rounds up
}

}  // namespace
}  // namespace quorvane
