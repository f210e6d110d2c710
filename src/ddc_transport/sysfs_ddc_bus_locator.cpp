#include "ddc_transport/sysfs_ddc_bus_locator.hpp"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <system_error>

#include "ddc_transport/ddc_result_code.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kEdidBaseBlockSize = 128;
// An EDID larger than this is not an EDID; the cap keeps a strange file from
// being read whole.
constexpr std::size_t kEdidReadLimit = 32768;

std::string lowerAscii(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// "i2c-7" → 7.
std::optional<unsigned long> busNumber(std::string_view name) {
    constexpr std::string_view prefix = "i2c-";
    if (!startsWith(name, prefix) || !allDigits(name.substr(prefix.size())))
        return std::nullopt;
    const std::string digits(name.substr(prefix.size()));
    if (digits.size() > 9)
        return std::nullopt;
    return std::stoul(digits);
}

std::string normalisedOutputName(std::string_view name) {
    std::string lower = lowerAscii(name);
    if (startsWith(lower, "hdmi-a-"))
        lower.erase(4, 2);
    std::erase(lower, '-');
    return lower;
}

std::vector<std::uint8_t> readEdid(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    std::vector<std::uint8_t> bytes;
    char c = 0;
    while (bytes.size() < kEdidReadLimit && in.get(c))
        bytes.push_back(static_cast<std::uint8_t>(c));
    return bytes;
}

// The same monitor: equal base blocks (vendor, product, serial, name live
// there), or equal bytes when either is shorter than a block.
bool sameMonitor(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    if (a.empty() || b.empty())
        return false;
    if (a.size() < kEdidBaseBlockSize || b.size() < kEdidBaseBlockSize)
        return a == b;
    return std::equal(a.begin(), a.begin() + kEdidBaseBlockSize, b.begin());
}

}  // namespace

SysfsDDCBusLocator::SysfsDDCBusLocator(std::shared_ptr<const DDCOutputDescribing> outputs,
                                       std::filesystem::path sysRoot, std::filesystem::path devRoot)
    : outputs_(std::move(outputs)), sysRoot_(std::move(sysRoot)), devRoot_(std::move(devRoot)) {}

std::optional<std::string> SysfsDDCBusLocator::connectorName(std::string_view entryName) {
    if (!startsWith(entryName, "card"))
        return std::nullopt;
    const std::size_t dash = entryName.find('-');
    if (dash == std::string_view::npos || dash == 4)
        return std::nullopt;
    if (!allDigits(entryName.substr(4, dash - 4)))
        return std::nullopt;
    const std::string_view name = entryName.substr(dash + 1);
    if (name.empty())
        return std::nullopt;
    return std::string(name);
}

bool SysfsDDCBusLocator::isBuiltinConnectorName(std::string_view name) {
    const std::string lower = lowerAscii(name);
    for (std::string_view type : {"edp", "lvds", "dsi"}) {
        if (!startsWith(lower, type))
            continue;
        const std::string_view rest = std::string_view(lower).substr(type.size());
        if (rest.empty() || rest.front() == '-' ||
            std::isdigit(static_cast<unsigned char>(rest.front()))) {
            return true;
        }
    }
    return false;
}

bool SysfsDDCBusLocator::outputNameMatchesConnector(std::string_view outputName,
                                                    std::string_view connector) {
    const std::string output = normalisedOutputName(outputName);
    return !output.empty() && output == normalisedOutputName(connector);
}

std::vector<SysfsDDCBusLocator::Connector> SysfsDDCBusLocator::connectors() const {
    std::vector<Connector> found;
    std::error_code error;
    const fs::path drm = sysRoot_ / "class" / "drm";
    for (fs::directory_iterator it(drm, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        auto name = connectorName(entry);
        if (name)
            found.push_back({it->path(), *name});
    }
    std::sort(found.begin(), found.end(),
              [](const Connector& a, const Connector& b) { return a.directory < b.directory; });
    return found;
}

std::optional<SysfsDDCBusLocator::Connector> SysfsDDCBusLocator::match(
    const DDCOutputDescription& output) const {
    const std::vector<Connector> all = connectors();
    std::vector<Connector> sameEdid;
    for (const Connector& connector : all) {
        if (sameMonitor(readEdid(connector.directory / "edid"), output.edid)) {
            sameEdid.push_back(connector);
        }
    }
    if (sameEdid.size() == 1)
        return sameEdid.front();

    // Two identical monitors carry identical EDIDs; the name tells them
    // apart. Without an EDID match the name alone decides.
    const std::vector<Connector>& pool = sameEdid.empty() ? all : sameEdid;
    std::optional<Connector> named;
    for (const Connector& connector : pool) {
        if (!outputNameMatchesConnector(output.outputName, connector.name))
            continue;
        if (named)
            return std::nullopt;  // ambiguous: talking to the wrong monitor is worse
        named = connector;
    }
    return named;
}

std::vector<std::string> SysfsDDCBusLocator::busPaths(const Connector& connector) const {
    std::vector<unsigned long> numbers;
    std::error_code error;
    const fs::path ddcLink = fs::read_symlink(connector.directory / "ddc", error);
    if (!error) {
        if (auto number = busNumber(ddcLink.filename().string()))
            numbers.push_back(*number);
    }

    std::vector<unsigned long> children;
    error.clear();
    for (fs::directory_iterator it(connector.directory, error), end; !error && it != end;
         it.increment(error)) {
        auto number = busNumber(it->path().filename().string());
        std::error_code typeError;
        if (number && it->is_directory(typeError))
            children.push_back(*number);
    }
    std::sort(children.begin(), children.end());
    for (unsigned long number : children) {
        if (std::find(numbers.begin(), numbers.end(), number) == numbers.end()) {
            numbers.push_back(number);
        }
    }

    std::vector<std::string> paths;
    paths.reserve(numbers.size());
    for (unsigned long number : numbers) {
        paths.push_back((devRoot_ / ("i2c-" + std::to_string(number))).string());
    }
    return paths;
}

DDCBusRoute SysfsDDCBusLocator::locate(std::uint32_t displayID) const {
    std::optional<DDCOutputDescription> output = outputs_->describe(displayID);
    std::lock_guard lock(mutex_);
    if (!output) {
        routes_.erase(displayID);
        return {kDDCNoConnector, {}};
    }
    auto remembered = routes_.find(displayID);
    if (remembered != routes_.end() && remembered->second.output == *output)
        return remembered->second.route;
    DDCBusRoute route = find(*output);
    routes_[displayID] = {std::move(*output), route};
    return route;
}

void SysfsDDCBusLocator::forget(std::uint32_t displayID) const {
    std::lock_guard lock(mutex_);
    routes_.erase(displayID);
}

DDCBusRoute SysfsDDCBusLocator::find(const DDCOutputDescription& output) const {
    if (output.isBuiltin || isBuiltinConnectorName(output.outputName)) {
        return {kDDCBuiltInDisplay, {}};
    }
    const std::optional<Connector> connector = match(output);
    if (!connector)
        return {kDDCNoConnector, {}};
    if (isBuiltinConnectorName(connector->name))
        return {kDDCBuiltInDisplay, {}};
    return {0, busPaths(*connector)};
}

}  // namespace quorvane
