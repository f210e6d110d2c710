#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ddc_transport/ddc_output_describing.hpp"

namespace quorvane {

class SharedXConnection;

// Tells the DDC bus discovery which output a display ID is and which
// monitor (EDID) sits on it, from the outputs the shared connection
// remembers (read afresh after a screen change). The DDC controller asks
// from its background thread; the lease keeps it from crossing the store's
// own requests.
class RandrDDCOutputDescriber final : public DDCOutputDescribing {
  public:
    // A connection of its own on `displayName` ("" means $DISPLAY).
    explicit RandrDDCOutputDescriber(std::string displayName = {});
    explicit RandrDDCOutputDescriber(std::shared_ptr<SharedXConnection> connection);

    std::optional<DDCOutputDescription> describe(std::uint32_t displayID) const override;

  private:
    std::shared_ptr<SharedXConnection> connection_;
};

}  // namespace quorvane
