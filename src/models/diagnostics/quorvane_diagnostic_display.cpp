#include "models/diagnostics/quorvane_diagnostic_display.hpp"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace quorvane {

namespace {

std::int64_t truncatedCoordinate(double value) {
    if (!std::isfinite(value))
        return 0;
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (value >= kLimit)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -kLimit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

}  // namespace

Json QuorvaneDiagnosticSerial::toJson() const {
    Json object = Json::object();
    object["status"] = status;
    object["isReliable"] = isReliable;
    return object;
}

QuorvaneDiagnosticSerial QuorvaneDiagnosticSerial::fromJson(const Json& object) {
    QuorvaneDiagnosticSerial serial;
    serial.status = requireKey<std::string>(object, "status");
    serial.isReliable = requireKey<bool>(object, "isReliable");
    return serial;
}

QuorvaneDiagnosticBounds QuorvaneDiagnosticBounds::make(const DisplayRect& bounds) {
    const DisplayRect frame = bounds.standardized();
    QuorvaneDiagnosticBounds result;
    result.x = truncatedCoordinate(frame.x);
    result.y = truncatedCoordinate(frame.y);
    result.width = truncatedCoordinate(frame.width);
    result.height = truncatedCoordinate(frame.height);
    return result;
}

Json QuorvaneDiagnosticBounds::toJson() const {
    Json object = Json::object();
    object["x"] = x;
    object["y"] = y;
    object["width"] = width;
    object["height"] = height;
    return object;
}

QuorvaneDiagnosticBounds QuorvaneDiagnosticBounds::fromJson(const Json& object) {
    QuorvaneDiagnosticBounds bounds;
    bounds.x = requireKey<std::int64_t>(object, "x");
    bounds.y = requireKey<std::int64_t>(object, "y");
    bounds.width = requireKey<std::int64_t>(object, "width");
    bounds.height = requireKey<std::int64_t>(object, "height");
    return bounds;
}

Json QuorvaneDiagnosticDisplayMode::toJson() const {
    if (!std::isfinite(refreshRate))
        throw std::domain_error("refreshRate is not a finite number");
    Json object = Json::object();
    object["label"] = label;
    object["width"] = width;
    object["height"] = height;
    object["pixelWidth"] = pixelWidth;
    object["pixelHeight"] = pixelHeight;
    object["refreshRate"] = refreshRate;
    return object;
}

QuorvaneDiagnosticDisplayMode QuorvaneDiagnosticDisplayMode::fromJson(const Json& object) {
    QuorvaneDiagnosticDisplayMode mode;
    mode.label = requireKey<std::string>(object, "label");
    mode.width = requireKey<std::int64_t>(object, "width");
    mode.height = requireKey<std::int64_t>(object, "height");
    mode.pixelWidth = requireKey<std::int64_t>(object, "pixelWidth");
    mode.pixelHeight = requireKey<std::int64_t>(object, "pixelHeight");
    mode.refreshRate = requireKey<double>(object, "refreshRate");
    return mode;
}

Json QuorvaneDiagnosticDisplay::toJson() const {
    Json object = Json::object();
    object["reportID"] = reportID;
    object["displayName"] = displayName;
    object["displayKind"] = displayKind;
    object["isMain"] = isMain;
    object["isBuiltin"] = isBuiltin;
    putOptional(object, "vendorNumber", vendorNumber);
    putOptional(object, "modelNumber", modelNumber);
    object["serial"] = serial.toJson();
    putOptional(object, "bounds", bounds);
    putOptional(object, "currentMode", currentMode);
    object["hardwareBrightnessAvailable"] = hardwareBrightnessAvailable;
    putOptional(object, "colorProfile", colorProfile);
    object["ddc"] = ddc.toJson();
    return object;
}

QuorvaneDiagnosticDisplay QuorvaneDiagnosticDisplay::fromJson(const Json& object) {
    QuorvaneDiagnosticDisplay display;
    display.reportID = requireKey<std::string>(object, "reportID");
    display.displayName = requireKey<std::string>(object, "displayName");
    display.displayKind = requireKey<std::string>(object, "displayKind");
    display.isMain = requireKey<bool>(object, "isMain");
    display.isBuiltin = requireKey<bool>(object, "isBuiltin");
    display.vendorNumber = optionalKey<std::uint32_t>(object, "vendorNumber");
    display.modelNumber = optionalKey<std::uint32_t>(object, "modelNumber");
    display.serial = requireKey<QuorvaneDiagnosticSerial>(object, "serial");
    display.bounds = optionalKey<QuorvaneDiagnosticBounds>(object, "bounds");
    display.currentMode = optionalKey<QuorvaneDiagnosticDisplayMode>(object, "currentMode");
    display.hardwareBrightnessAvailable = requireKey<bool>(object, "hardwareBrightnessAvailable");
    display.colorProfile = optionalKey<QuorvaneDiagnosticColorProfileState>(object, "colorProfile");
    display.ddc = requireKey<QuorvaneDiagnosticDDCState>(object, "ddc");
    return display;
}

}  // namespace quorvane
