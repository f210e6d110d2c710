#pragma once

#include "ddc_transport/i2c_bus.hpp"

namespace quorvane {

// The Linux i2c-dev character devices (/dev/i2c-N).
class I2CDevBusOpener final : public I2CBusOpening {
  public:
    I2COpenResult open(const std::string& devicePath) const override;
};

}  // namespace quorvane
