#include "platform/linux/randr_screen.hpp"

#include <X11/Xatom.h>

namespace quorvane {
namespace {

struct OutputInfoFree {
    void operator()(XRROutputInfo* info) const { XRRFreeOutputInfo(info); }
};
struct CrtcInfoFree {
    void operator()(XRRCrtcInfo* info) const { XRRFreeCrtcInfo(info); }
};

RandrMode makeMode(const XRRModeInfo& info) {
    double vTotal = info.vTotal;
    if (info.modeFlags & RR_DoubleScan) {
        vTotal *= 2;
    }
    if (info.modeFlags & RR_Interlace) {
        vTotal /= 2;
    }
    double refresh = 0;
    if (info.hTotal != 0 && vTotal != 0) {
        refresh = static_cast<double>(info.dotClock) / (info.hTotal * vTotal);
    }
    return RandrMode{info.id, info.width, info.height, refresh};
}

}  // namespace

bool RandrOutput::isBuiltinConnectorName(std::string_view outputName) {
    // Drivers spell connectors "eDP-1", "eDP1", "LVDS-1", "DSI-1" and so on.
    for (std::string_view prefix : {"edp", "lvds", "dsi"}) {
        if (outputName.size() < prefix.size()) {
            continue;
        }
        bool matches = true;
        for (std::size_t index = 0; index < prefix.size(); ++index) {
            char letter = outputName[index];
            if (letter >= 'A' && letter <= 'Z') {
                letter = static_cast<char>(letter - 'A' + 'a');
            }
            matches = matches && letter == prefix[index];
        }
        if (matches) {
            return true;
        }
    }
    return false;
}

RandrScreen::RandrScreen(XConnection& connection, XRRScreenResources* resources, int errorBase)
    : connection_(&connection), resources_(resources), errorBase_(errorBase) {}

std::optional<RandrScreen> RandrScreen::read(XConnection& connection, Probe probe) {
    Display* display = connection.display();
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor) || major < 1 || (major == 1 && minor < 3)) {
        return std::nullopt;
    }
    XRRScreenResources* resources = probe == Probe::probe
                                        ? XRRGetScreenResources(display, connection.root())
                                        : XRRGetScreenResourcesCurrent(display, connection.root());
    if (resources == nullptr) {
        return std::nullopt;
    }
    return RandrScreen(connection, resources, errorBase);
}

std::optional<RandrMode> RandrScreen::mode(RRMode id) const {
    for (int index = 0; index < resources_->nmode; ++index) {
        if (resources_->modes[index].id == id) {
            return makeMode(resources_->modes[index]);
        }
    }
    return std::nullopt;
}

std::vector<RandrOutput> RandrScreen::activeOutputs(bool includeModes) const {
    RROutput primary = XRRGetOutputPrimary(connection_->display(), connection_->root());
    std::vector<RandrOutput> outputs;
    for (int index = 0; index < resources_->noutput; ++index) {
        if (auto output = readOutput(resources_->outputs[index], primary, includeModes)) {
            outputs.push_back(std::move(*output));
        }
    }
    return outputs;
}

std::optional<RandrOutput> RandrScreen::activeOutput(RROutput id, bool includeModes) const {
    for (int index = 0; index < resources_->noutput; ++index) {
        if (resources_->outputs[index] == id) {
            RROutput primary = XRRGetOutputPrimary(connection_->display(), connection_->root());
            return readOutput(id, primary, includeModes);
        }
    }
    return std::nullopt;
}

std::optional<RandrOutput> RandrScreen::readOutput(RROutput id, RROutput primary,
                                                   bool includeModes) const {
    Display* display = connection_->display();
    std::unique_ptr<XRROutputInfo, OutputInfoFree> info(
        XRRGetOutputInfo(display, resources_.get(), id));
    if (!info || info->connection != RR_Connected || info->crtc == None) {
        return std::nullopt;
    }
    std::unique_ptr<XRRCrtcInfo, CrtcInfoFree> crtc(
        XRRGetCrtcInfo(display, resources_.get(), info->crtc));
    if (!crtc || crtc->mode == None) {
        return std::nullopt;
    }
    RandrOutput output;
    output.id = id;
    output.name.assign(info->name, static_cast<std::size_t>(info->nameLen));
    output.crtc = info->crtc;
    output.x = crtc->x;
    output.y = crtc->y;
    output.width = crtc->width;
    output.height = crtc->height;
    output.rotation = crtc->rotation;
    output.isPrimary = id == primary;
    output.edid = readEdid(id);
    if (includeModes) {
        output.currentMode = mode(crtc->mode);
        for (int index = 0; index < info->nmode; ++index) {
            if (auto listed = mode(info->modes[index])) {
                output.modes.push_back(*listed);
            }
        }
    }
    return output;
}

std::vector<std::uint8_t> RandrScreen::readEdid(RROutput id) const {
    Display* display = connection_->display();
    // "EDID" since RandR 1.2's property registry; older drivers used "EDID_DATA".
    for (const char* name : {"EDID", "EDID_DATA"}) {
        Atom property = connection_->serverAtom(name);
        if (property == None) {
            continue;
        }
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        // 256 long words: the base block and seven extension blocks.
        int status =
            XRRGetOutputProperty(display, id, property, 0, 256, False, False, AnyPropertyType,
                                 &type, &format, &count, &remaining, &data);
        std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
        if (status == Success && format == 8 && count > 0 && data != nullptr) {
            return std::vector<std::uint8_t>(data, data + count);
        }
    }
    return {};
}

}  // namespace quorvane
