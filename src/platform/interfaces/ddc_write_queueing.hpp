#pragma once

#include <functional>

#include "models/ddc/ddc_write_request.hpp"
#include "models/ddc/ddc_write_result.hpp"

namespace quorvane {

// Carries monitor writes to the hardware. Every submitted request is
// answered exactly once, on the owner's thread and never from inside
// submit(); answers may come in any order.
class DDCWriteQueueing {
  public:
    using ResultHandler = std::function<void(DDCWriteResult)>;

    virtual ~DDCWriteQueueing() = default;
    virtual void submit(DDCWriteRequest request, ResultHandler completion) = 0;
    // The submitter stops waiting. A request still waiting is answered as
    // cancelled and never written; one being written, or already answered,
    // is not affected.
    virtual void cancel(const DDCWriteRequest& request) = 0;
};

}  // namespace quorvane
