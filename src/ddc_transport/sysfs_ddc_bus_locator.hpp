#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ddc_transport/ddc_bus_locating.hpp"
#include "ddc_transport/ddc_output_describing.hpp"

namespace quorvane {

// Finds a display's buses through its DRM connector in <sys>/class/drm:
// the connector whose `edid` file holds the same monitor as the output (by
// the EDID base block; among several, the one whose name fits the output),
// else the one connector whose name fits the output name. Its buses are the
// adapter behind its `ddc` link, then every `i2c-N` child (the DisplayPort
// AUX adapters), each as <dev>/i2c-N.
//
// A display's route is remembered with the output it was found for: while
// the output keeps its name and monitor the sysfs tree is not read again.
// A failed transaction (forget()) or a changed output looks again. Safe to
// call from several threads.
class SysfsDDCBusLocator final : public DDCBusLocating {
  public:
    explicit SysfsDDCBusLocator(std::shared_ptr<const DDCOutputDescribing> outputs,
                                std::filesystem::path sysRoot = "/sys",
                                std::filesystem::path devRoot = "/dev");

    DDCBusRoute locate(std::uint32_t displayID) const override;
    void forget(std::uint32_t displayID) const override;

    // "card0-HDMI-A-1" → "HDMI-A-1"; none for entries that are not connectors.
    static std::optional<std::string> connectorName(std::string_view entryName);
    // eDP, LVDS and DSI connectors drive built-in panels.
    static bool isBuiltinConnectorName(std::string_view name);
    // Whether an output name ("HDMI-1", "HDMI1", "DP-2") names a connector
    // ("HDMI-A-1", "DP-2"): compared without case and dashes, with the
    // kernel's "HDMI-A" written "HDMI" as X drivers do.
    static bool outputNameMatchesConnector(std::string_view outputName, std::string_view connector);

  private:
    struct Connector {
        std::filesystem::path directory;
        std::string name;
    };

    struct RememberedRoute {
        DDCOutputDescription output;
        DDCBusRoute route;
    };

    DDCBusRoute find(const DDCOutputDescription& output) const;
    std::vector<Connector> connectors() const;
    std::optional<Connector> match(const DDCOutputDescription& output) const;
    std::vector<std::string> busPaths(const Connector& connector) const;

    std::shared_ptr<const DDCOutputDescribing> outputs_;
    std::filesystem::path sysRoot_;
    std::filesystem::path devRoot_;
    mutable std::mutex mutex_;
    mutable std::map<std::uint32_t, RememberedRoute> routes_;
};

}  // namespace quorvane
