#pragma once

#include <cstdint>
#include <memory>
#include <string>

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
    static std::string message(std::int32_t resultCode, bool accessDenied = false);

    // Blocking forms of the operations, run inside the jobs.
    static DDCAvailability runAvailability(const DDCTransportEnvironment& transport,
                                           std::uint32_t displayID);
    static DDCSnapshot runProbe(const DDCTransportEnvironment& transport, std::uint32_t displayID);
    static DDCControlResult runRead(const DDCTransportEnvironment& transport,
                                    std::uint32_t displayID, DDCVCPCode code);
    static DDCControlResult runWrite(const DDCTransportEnvironment& transport,
                                     std::uint32_t displayID, DDCVCPCode code, std::uint16_t value);

    struct Serial;

  private:
    // runRead() that also hands out the transport's result code.
    static DDCControlResult readCode(const DDCTransportEnvironment& transport,
                                     std::uint32_t displayID, DDCVCPCode code,
                                     std::int32_t& resultCode);

    std::shared_ptr<Serial> serial_;
};

// The transport's pauses on a sleeper (virtual in tests), which must outlive
// every transport call.
DDCSleepFunction ddcSleepFunction(Sleeper& sleeper);

}  // namespace quorvane
