#include "platform/linux/randr_ddc_output_describer.hpp"
#include "platform/linux/shared_x_connection.hpp"

namespace quorvane {

RandrDDCOutputDescriber::RandrDDCOutputDescriber(std::string displayName)
    : RandrDDCOutputDescriber(std::make_shared<SharedXConnection>(std::move(displayName))) {}

RandrDDCOutputDescriber::RandrDDCOutputDescriber(std::shared_ptr<SharedXConnection> connection)
    : connection_(std::move(connection)) {}

std::optional<DDCOutputDescription> RandrDDCOutputDescriber::describe(
    std::uint32_t displayID) const {
    auto lease = connection_->lease();
    if (!lease) {
        return std::nullopt;
    }
    const RandrOutput* output = lease->activeOutput(displayID);
    if (output == nullptr) {
        return std::nullopt;
    }
    return DDCOutputDescription{output->name, output->edid, output->isBuiltin()};
}

}  // namespace quorvane
