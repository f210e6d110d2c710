#include "models/ddc/ddc_write_queue_error.hpp"

#include "models/coding/number_format.hpp"

namespace quorvane {

DDCWriteQueueError DDCWriteQueueError::transport(std::string text) {
    DDCWriteQueueError error;
    error.kind = Kind::transport;
    error.transportText = std::move(text);
    return error;
}

DDCWriteQueueError DDCWriteQueueError::readBackMismatch(DDCVCPCode code, std::uint16_t requested,
                                                        std::uint16_t observed) {
    DDCWriteQueueError error;
    error.kind = Kind::readBackMismatch;
    error.code = code;
    error.requested = requested;
    error.observed = observed;
    return error;
}

DDCWriteQueueError DDCWriteQueueError::timeout() {
    DDCWriteQueueError error;
    error.kind = Kind::timeout;
    return error;
}

DDCWriteQueueError DDCWriteQueueError::cancelled() {
    DDCWriteQueueError error;
    error.kind = Kind::cancelled;
    return error;
}

DDCWriteQueueError DDCWriteQueueError::settling() {
    DDCWriteQueueError error;
    error.kind = Kind::settling;
    return error;
}

std::string DDCWriteQueueError::description() const {
    switch (kind) {
        case Kind::transport:
            return transportText;
        case Kind::readBackMismatch:
            // The label and the sentence join without a space.
            return std::string(label(code)) + "이 요청한 값으로 확인되지 않았습니다. 요청 " +
                   formatDecimal(static_cast<unsigned>(requested)) + ", 확인 " +
                   formatDecimal(static_cast<unsigned>(observed));
        case Kind::timeout:
            return "모니터 응답 시간이 초과되었습니다.";
        case Kind::cancelled:
            return "모니터 설정 요청이 취소되었습니다.";
        case Kind::settling:
            return "이전 모니터 설정 요청을 정리 중입니다. 잠시 후 다시 시도하세요.";
    }
    return {};
}

}  // namespace quorvane
