#pragma once

#include <optional>
#include <string>

#include "ddc_transport/ddc_output_describing.hpp"

namespace quorvane {

// Tells the DDC bus discovery which output a display ID is and which
// monitor (EDID) sits on it, read from RandR. Each call opens its own X
// connection: the DDC controller asks from its background thread, and an
// Xlib connection must not be shared across threads.
class RandrDDCOutputDescriber final : public DDCOutputDescribing {
  public:
    explicit RandrDDCOutputDescriber(std::string displayName = {});

    std::optional<DDCOutputDescription> describe(std::uint32_t displayID) const override;

  private:
    std::string displayName_;
};

}  // namespace quorvane
