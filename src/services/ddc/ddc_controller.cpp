#include "services/ddc/ddc_controller.hpp"

#include <deque>

#include "ddc_transport/ddc_result_code.hpp"

namespace quorvane {

// The controller's serial queue. Its fields belong to the owner's thread;
// only a job's `run` step executes in the background, and it touches nothing
// here.
struct DDCController::Serial {
    // Runs the transaction (blocking) and returns what to do with its result
    // back on the owner's thread.
    using Job = std::function<std::function<void()>(const DDCTransportEnvironment&)>;

    Serial(Scheduler& scheduler, DDCTransportEnvironment transport)
        : scheduler(scheduler), transport(std::move(transport)) {}

    static void enqueue(const std::shared_ptr<Serial>& self, Job job) {
        self->waiting.push_back(std::move(job));
        if (!self->running)
            startNext(self);
    }

    static void startNext(const std::shared_ptr<Serial>& self) {
        if (self->waiting.empty()) {
            self->running = false;
            return;
        }
        self->running = true;
        Job job = std::move(self->waiting.front());
        self->waiting.pop_front();

        Scheduler& scheduler = self->scheduler;
        std::weak_ptr<Serial> weak = self;
        scheduler.runInBackground(
            [&scheduler, weak, transport = self->transport, job = std::move(job)] {
                std::function<void()> deliver = job(transport);
                scheduler.post([weak, deliver = std::move(deliver)] {
                    auto serial = weak.lock();
                    if (!serial)
                        return;
                    // The bus is free again: the next transaction starts before
                    // this one's result is handed over.
                    startNext(serial);
                    deliver();
                });
            });
    }

    Scheduler& scheduler;
    DDCTransportEnvironment transport;
    std::deque<Job> waiting;
    bool running = false;
};

DDCController::DDCController(Scheduler& scheduler, DDCTransportEnvironment transport)
    : serial_(std::make_shared<Serial>(scheduler, std::move(transport))) {}

DDCController::~DDCController() = default;

void DDCController::availability(std::uint32_t displayID,
                                 std::function<void(DDCAvailability)> completion) {
    Serial::enqueue(serial_, [displayID, completion = std::move(completion)](
                                 const DDCTransportEnvironment& transport) {
        DDCAvailability result = runAvailability(transport, displayID);
        return std::function<void()>([completion, result] { completion(result); });
    });
}

void DDCController::probe(std::uint32_t displayID, std::function<void(DDCSnapshot)> completion) {
    Serial::enqueue(serial_, [displayID, completion = std::move(completion)](
                                 const DDCTransportEnvironment& transport) {
        DDCSnapshot result = runProbe(transport, displayID);
        return std::function<void()>([completion, result] { completion(result); });
    });
}

void DDCController::read(std::uint32_t displayID, DDCVCPCode code, ResultHandler completion) {
    Serial::enqueue(serial_, [displayID, code, completion = std::move(completion)](
                                 const DDCTransportEnvironment& transport) {
        DDCControlResult result = runRead(transport, displayID, code);
        return std::function<void()>([completion, result] { completion(result); });
    });
}

void DDCController::write(std::uint32_t displayID, DDCVCPCode code, std::uint16_t value,
                          ResultHandler completion) {
    Serial::enqueue(serial_, [displayID, code, value, completion = std::move(completion)](
                                 const DDCTransportEnvironment& transport) {
        DDCControlResult result = runWrite(transport, displayID, code, value);
        return std::function<void()>([completion, result] { completion(result); });
    });
}

std::string DDCController::message(std::int32_t resultCode,
                                   const DDCTransportFailureDetail& detail) {
    switch (resultCode) {
        case kDDCSuccess:
            return "모니터가 응답했습니다.";
        case kDDCBuiltInDisplay:
            return "내장 디스플레이는 외장 모니터 기능 확인 대상이 아닙니다.";
        case kDDCNoConnector:
            return "시스템이 이 화면의 모니터 설정 경로를 찾지 못했습니다.";
        case kDDCNoBus:
            if (detail.deviceNodeMissing)
                return std::string(kMissingDeviceNodeMessage);
            return "이 연결에서는 모니터 설정 신호가 보이지 않습니다. 케이블·허브 또는 모니터 "
                   "메뉴를 "
                   "확인하세요.";
        case kDDCOpenFailed:
            if (detail.accessDenied)
                return std::string(kAccessDeniedMessage);
            return "모니터 설정 경로를 열지 못했습니다. 다른 케이블이나 포트를 시도해 보세요.";
        case kDDCSendFailed:
            return "모니터로 확인 요청을 보내지 못했습니다. 케이블·허브 연결을 확인하세요.";
        case kDDCTransactionFailed:
            return "모니터가 확인 요청을 끝까지 처리하지 못했습니다.";
        case kDDCInvalidReply:
            return "모니터 응답을 해석하지 못했습니다. 케이블·허브에 따라 생길 수 있습니다.";
        case kDDCUnsupportedCode:
            return "이 모니터는 해당 설정 항목에 응답하지 않습니다.";
        case kDDCMissingOutValue:
            return "요청한 모니터 설정값이 허용 범위를 벗어났습니다.";
        default:
            return "모니터 기능 확인 중 알 수 없는 문제가 발생했습니다.";
    }
}

DDCAvailability DDCController::runAvailability(const DDCTransportEnvironment& transport,
                                               std::uint32_t displayID) {
    std::uint32_t busCount = 0;
    const std::int32_t result = QuorvaneDDCAvailability(transport, displayID, &busCount);
    DDCAvailability availability{displayID, result == kDDCSuccess, busCount, std::nullopt};
    if (result != kDDCSuccess)
        availability.failureReason = message(result);
    return availability;
}

std::optional<std::string> DDCController::pathFailureOfEveryRead(const DDCSnapshot& snapshot) {
    // A bus that cannot be opened at all fails every item alike; the reason
    // is then the path, not the monitor, and the user must hear it.
    std::optional<std::string> shared;
    for (const auto& [code, reason] : snapshot.unsupported) {
        if (shared && *shared != reason)
            return std::nullopt;
        shared = reason;
    }
    if (shared != kMissingDeviceNodeMessage && shared != kAccessDeniedMessage)
        return std::nullopt;
    return shared;
}

DDCSnapshot DDCController::runProbe(const DDCTransportEnvironment& transport,
                                    std::uint32_t displayID) {
    std::uint32_t busCount = 0;
    const std::int32_t result = QuorvaneDDCAvailability(transport, displayID, &busCount);
    DDCSnapshot snapshot;
    snapshot.displayID = displayID;
    snapshot.busCount = busCount;
    if (result != kDDCSuccess) {
        snapshot.lastError = message(result);
        return snapshot;
    }
    // Every code is tried whatever the earlier ones gave, each with its own
    // result. Only when nothing at all takes the first code's request (no
    // device answers at the monitor address) would every later code end the
    // same way after the same retries, so they get that text unasked. A
    // monitor that takes requests but leaves one unanswered is asked on.
    std::optional<std::string> nobodyThere;
    for (DDCVCPCode code : kDDCVCPProbeOrder) {
        if (nobodyThere) {
            snapshot.unsupported[code] = *nobodyThere;
            continue;
        }
        DDCTransportFailureDetail detail;
        DDCControlResult read = readCode(transport, displayID, code, detail);
        if (read.value) {
            snapshot.values[code] = *read.value;
            continue;
        }
        snapshot.unsupported[code] = read.error->description();
        if (code == kDDCVCPProbeOrder.front() && detail.requestNeverAcknowledged)
            nobodyThere = snapshot.unsupported[code];
    }
    if (snapshot.values.empty()) {
        snapshot.lastError = pathFailureOfEveryRead(snapshot).value_or(
            "모니터 설정 경로는 있지만 응답한 항목이 없습니다.");
    }
    return snapshot;
}

DDCControlResult DDCController::runRead(const DDCTransportEnvironment& transport,
                                        std::uint32_t displayID, DDCVCPCode code) {
    DDCTransportFailureDetail detail;
    return readCode(transport, displayID, code, detail);
}

DDCControlResult DDCController::readCode(const DDCTransportEnvironment& transport,
                                         std::uint32_t displayID, DDCVCPCode code,
                                         DDCTransportFailureDetail& detail) {
    std::uint16_t current = 0;
    std::uint16_t maximum = 0;
    const std::int32_t resultCode =
        QuorvaneDDCReadVCP(transport, displayID, rawValue(code), &current, &maximum, &detail);
    if (resultCode != kDDCSuccess) {
        return DDCControlResult::failure(
            DDCControllerError::transport(message(resultCode, detail)));
    }
    return DDCControlResult::success({code, current, maximum});
}

DDCControlResult DDCController::runWrite(const DDCTransportEnvironment& transport,
                                         std::uint32_t displayID, DDCVCPCode code,
                                         std::uint16_t value) {
    DDCTransportFailureDetail detail;
    const std::int32_t result =
        QuorvaneDDCWriteVCP(transport, displayID, rawValue(code), value, &detail);
    if (result != kDDCSuccess) {
        return DDCControlResult::failure(DDCControllerError::transport(message(result, detail)));
    }
    // The transport has already paused after the write.
    return runRead(transport, displayID, code);
}

DDCSleepFunction ddcSleepFunction(Sleeper& sleeper) {
    return [&sleeper](std::chrono::microseconds pause) { sleeper.sleepFor(pause); };
}

}  // namespace quorvane
