#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ddc_transport/ddc_transport.hpp"
#include "platform/interfaces/ddc_controlling.hpp"
#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// The program's one gateway to monitor controls. Every transaction of every
// display runs through it one at a time: each operation becomes one job
// (a whole probe, a write with its read-back) that runs off the owner's
// thread on the blocking transport, and the next job starts only when the
// previous one has returned. Callers wait on the owner's thread and may stop
// waiting at any time (their timers keep running); a job always runs to its
// end. Transport result codes become Korean messages here.
//
// All calls on the owner's thread. Destroying the controller drops the
// handlers of jobs not yet answered; a job already running finishes on its
// background thread, so the scheduler must outlive it.
class DDCController final : public DDCControlling {
  public:
    DDCController(Scheduler& scheduler, DDCTransportEnvironment transport);
    ~DDCController() override;
    DDCController(const DDCController&) = delete;
    DDCController& operator=(const DDCController&) = delete;

    void availability(std::uint32_t displayID,
                      std::function<void(DDCAvailability)> completion) override;
    void probe(std::uint32_t displayID, std::function<void(DDCSnapshot)> completion) override;
    void read(std::uint32_t displayID, DDCVCPCode code, ResultHandler completion) override;
    void write(std::uint32_t displayID, DDCVCPCode code, std::uint16_t value,
               ResultHandler completion) override;

    // The text for a transport result code; `accessDenied` picks the
    // permission text for an open failure.
    // The bus's device node is missing although the connector has the bus:
    // the i2c-dev module is not loaded.
    static constexpr std::string_view kMissingDeviceNodeMessage =
        "모니터 설정 경로(/dev/i2c-*)가 없습니다. i2c-dev 커널 모듈을 불러온 뒤 다시 시도하세요"
        "(sudo modprobe i2c-dev). 재시동 후에도 유지하려면 /etc/modules-load.d/ 폴더의 파일에 "
        "i2c-dev 한 줄을 적어 두세요.";
    static constexpr std::string_view kAccessDeniedMessage =
        "모니터 설정 경로(/dev/i2c-*)를 열 권한이 없습니다. 이 사용자를 i2c 그룹에 추가하거나 "
        "udev 규칙으로 접근을 허용한 뒤 다시 로그인하세요.";

    static std::string message(std::int32_t resultCode,
                               const DDCTransportFailureDetail& detail = {});

    // Blocking forms of the operations, run inside the jobs.
    static DDCAvailability runAvailability(const DDCTransportEnvironment& transport,
                                           std::uint32_t displayID);
    static DDCSnapshot runProbe(const DDCTransportEnvironment& transport, std::uint32_t displayID);
    // The one path failure (missing node, no permission) that every probed
    // item of a snapshot failed with, if that is what happened.
    static std::optional<std::string> pathFailureOfEveryRead(const DDCSnapshot& snapshot);
    static DDCControlResult runRead(const DDCTransportEnvironment& transport,
                                    std::uint32_t displayID, DDCVCPCode code);
    static DDCControlResult runWrite(const DDCTransportEnvironment& transport,
                                     std::uint32_t displayID, DDCVCPCode code, std::uint16_t value);

    struct Serial;

  private:
    // runRead() that also hands out why the transport failed.
    static DDCControlResult readCode(const DDCTransportEnvironment& transport,
                                     std::uint32_t displayID, DDCVCPCode code,
                                     DDCTransportFailureDetail& detail);

    std::shared_ptr<Serial> serial_;
};

// The transport's pauses on a sleeper (virtual in tests), which must outlive
// every transport call.
DDCSleepFunction ddcSleepFunction(Sleeper& sleeper);

}  // namespace quorvane
