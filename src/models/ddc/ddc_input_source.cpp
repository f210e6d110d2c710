#include "models/ddc/ddc_input_source.hpp"

#include "models/coding/number_format.hpp"

namespace quorvane {

std::optional<DDCInputSource> ddcInputSourceFromRaw(std::uint16_t raw) {
    for (DDCInputSource source : kAllDDCInputSources) {
        if (rawValue(source) == raw)
            return source;
    }
    return std::nullopt;
}

std::string_view label(DDCInputSource source) {
    switch (source) {
        case DDCInputSource::vga1:
            return "VGA-1";
        case DDCInputSource::dvi1:
            return "DVI-1";
        case DDCInputSource::displayPort1:
            return "DisplayPort-1";
        case DDCInputSource::displayPort2:
            return "DisplayPort-2";
        case DDCInputSource::hdmi1:
            return "HDMI-1";
        case DDCInputSource::hdmi2:
            return "HDMI-2";
        case DDCInputSource::usbC:
            return "USB-C";
    }
    return {};
}

std::string ddcInputSourceLabel(std::uint16_t raw) {
    if (auto source = ddcInputSourceFromRaw(raw))
        return std::string(label(*source));
    return "값 " + formatDecimal(static_cast<unsigned>(raw));
}

std::string_view caseName(DDCInputSource source) {
    switch (source) {
        case DDCInputSource::vga1:
            return "vga1";
        case DDCInputSource::dvi1:
            return "dvi1";
        case DDCInputSource::displayPort1:
            return "displayPort1";
        case DDCInputSource::displayPort2:
            return "displayPort2";
        case DDCInputSource::hdmi1:
            return "hdmi1";
        case DDCInputSource::hdmi2:
            return "hdmi2";
        case DDCInputSource::usbC:
            return "usbC";
    }
    return {};
}

std::optional<DDCInputSource> parseCaseName(std::string_view text, DDCInputSource*) {
    for (DDCInputSource source : kAllDDCInputSources) {
        if (caseName(source) == text)
            return source;
    }
    return std::nullopt;
}

}  // namespace quorvane
