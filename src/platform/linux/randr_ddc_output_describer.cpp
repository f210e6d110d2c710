#include "platform/linux/randr_ddc_output_describer.hpp"

#include "platform/linux/randr_screen.hpp"
#include "platform/linux/x_connection.hpp"

namespace quorvane {

RandrDDCOutputDescriber::RandrDDCOutputDescriber(std::string displayName)
    : displayName_(std::move(displayName)) {}

std::optional<DDCOutputDescription> RandrDDCOutputDescriber::describe(
    std::uint32_t displayID) const {
    auto connection = XConnection::open(displayName_);
    if (!connection)
        return std::nullopt;
    auto screen = RandrScreen::read(*connection, RandrScreen::Probe::cached);
    if (!screen)
        return std::nullopt;
    auto output = screen->activeOutput(displayID, false);
    if (!output)
        return std::nullopt;
    return DDCOutputDescription{output->name, output->edid, output->isBuiltin()};
}

}  // namespace quorvane
