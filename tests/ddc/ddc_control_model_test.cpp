#include <gtest/gtest.h>

#include "models/coding/json_coding.hpp"
#include "models/ddc_control_value.hpp"
#include "models/ddc_input_source.hpp"
#include "models/ddc_snapshot.hpp"
#include "models/ddc_write_queue_error.hpp"
#include "models/ddc_write_request.hpp"

namespace quorvane {
namespace {

TEST(DDCControlValue, ScaledValueClampsAndRoundsHalfAway) {
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 100}).scaledValue(0.5), 50);
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 255}).scaledValue(0.5), 128);
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 255}).scaledValue(1.7), 255);
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 255}).scaledValue(-0.2), 0);
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 0}).scaledValue(0.8), 0);
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 65535}).scaledValue(1.0), 65535);
    EXPECT_EQ((DDCControlValue{DDCVCPCode::brightness, 0, 100}).scaledValue(std::nan("")), 0);
}

TEST(DDCControlValue, PercentLabel) {
    EXPECT_EQ((DDCControlValue{DDCVCPCode::contrast, 30, 0}).percentLabel(), "30");
    EXPECT_EQ((DDCControlValue{DDCVCPCode::contrast, 128, 255}).percentLabel(), "50%");
    EXPECT_EQ((DDCControlValue{DDCVCPCode::contrast, 300, 255}).percentLabel(), "100%");
    EXPECT_EQ((DDCControlValue{DDCVCPCode::contrast, 1, 200}).percentLabel(),
              "1%");  // 0.5 rounds up
}

TEST(DDCSnapshot, SupportedSummaryListsLabelsByCode) {
    DDCSnapshot snapshot;
    snapshot.values[DDCVCPCode::audioVolume] = {DDCVCPCode::audioVolume, 1, 2};
    snapshot.values[DDCVCPCode::brightness] = {DDCVCPCode::brightness, 1, 2};
    snapshot.lastError = "ignored";
    EXPECT_EQ(snapshot.supportedSummary(), "모니터 밝기, 모니터 볼륨");

    DDCSnapshot empty;
    EXPECT_EQ(empty.supportedSummary(), "응답한 모니터 설정 항목 없음");
    empty.lastError = "연결 없음";
    EXPECT_EQ(empty.supportedSummary(), "연결 없음");
}

TEST(DDCVCPCode, RawValuesLabelsAndCaseNames) {
    EXPECT_FALSE(ddcVCPCodeFromRaw(0x14));
    EXPECT_EQ(ddcVCPCodeFromRaw(0x1A), DDCVCPCode::blueGain);
    EXPECT_EQ(label(DDCVCPCode::greenGain), "모니터 자체 RGB · 초록");
    for (DDCVCPCode code : kAllDDCVCPCodes) {
        EXPECT_EQ(decodeValue<DDCVCPCode>(encodeValue<Json>(code)), code);
    }
    EXPECT_EQ(decodeValue<DDCWriteRequestKind>(Json("emergencyRecovery")),
              DDCWriteRequestKind::emergencyRecovery);
}

TEST(DDCInputSource, LabelsKnownAndUnknownValues) {
    EXPECT_EQ(ddcInputSourceLabel(15), "DisplayPort-1");
    EXPECT_EQ(ddcInputSourceLabel(27), "USB-C");
    EXPECT_EQ(ddcInputSourceLabel(0), "값 0");
    EXPECT_EQ(ddcInputSourceLabel(4), "값 4");
    EXPECT_FALSE(ddcInputSourceFromRaw(2));
}

TEST(DDCWriteQueueError, Descriptions) {
    EXPECT_EQ(DDCWriteQueueError::readBackMismatch(DDCVCPCode::brightness, 50, 48).description(),
              "모니터 밝기이 요청한 값으로 확인되지 않았습니다. 요청 50, 확인 48");
    EXPECT_EQ(DDCWriteQueueError::transport("그대로").description(), "그대로");
    EXPECT_EQ(DDCWriteQueueError::settling(), DDCWriteQueueError::settling());
    EXPECT_NE(DDCWriteQueueError::transport("a"), DDCWriteQueueError::transport("b"));
}

}  // namespace
}  // namespace quorvane
