#include "platform/linux/randr_screen.hpp"

#include <X11/Xatom.h>
#include <xcb/randr.h>

#include <algorithm>
#include <cstdlib>

namespace quorvane {
namespace {

// XCB hands out its replies (and errors) in malloc'd memory.
struct MallocFree {
    void operator()(void* data) const { std::free(data); }
};
template <typename T>
using Reply = std::unique_ptr<T, MallocFree>;

// The reply to `cookie`, none when the server answered with an error (which
// is dropped: the caller treats the output as absent, as the server does)
// or did not answer at all.
template <typename Cookie, typename T>
Reply<T> replyOf(xcb_connection_t* xcb, Cookie cookie,
                 T* (*reply)(xcb_connection_t*, Cookie, xcb_generic_error_t**)) {
    xcb_generic_error_t* error = nullptr;
    Reply<T> answer(reply(xcb, cookie, &error));
    std::free(error);
    return answer;
}

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
    // XCB learns RandR's request code for itself; asked now, its answer
    // comes with the screen resources' rather than in a round trip of its
    // own before the outputs are asked for.
    xcb_prefetch_extension_data(connection.xcb(), &xcb_randr_id);
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    // The server can go at any of these requests: each is made only while
    // the connection stands.
    const bool usable =
        connection.queryRandr(eventBase, errorBase) && connection.ask(false, [&](Display* display) {
            return XRRQueryVersion(display, &major, &minor) != 0;
        });
    if (!usable || major < 1 || (major == 1 && minor < 3)) {
        return std::nullopt;
    }
    XRRScreenResources* resources =
        connection.ask(static_cast<XRRScreenResources*>(nullptr), [&](Display* display) {
            return probe == Probe::probe ? XRRGetScreenResources(display, connection.root())
                                         : XRRGetScreenResourcesCurrent(display, connection.root());
        });
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
    return readOutputs({resources_->outputs, resources_->outputs + resources_->noutput},
                       includeModes);
}

std::optional<RandrOutput> RandrScreen::activeOutput(RROutput id, bool includeModes) const {
    const RROutput* begin = resources_->outputs;
    const RROutput* end = begin + resources_->noutput;
    if (std::find(begin, end, id) == end) {
        return std::nullopt;
    }
    auto outputs = readOutputs({id}, includeModes);
    if (outputs.empty()) {
        return std::nullopt;
    }
    return std::move(outputs.front());
}

std::vector<RandrOutput> RandrScreen::readOutputs(const std::vector<RROutput>& ids,
                                                  bool includeModes) const {
    xcb_connection_t* xcb = connection_->xcb();
    const auto timestamp = static_cast<xcb_timestamp_t>(resources_->configTimestamp);
    // First which outputs are connected, and to which CRTC.
    const auto primaryCookie =
        xcb_randr_get_output_primary(xcb, static_cast<xcb_window_t>(connection_->root()));
    std::vector<xcb_randr_get_output_info_cookie_t> infoCookies;
    infoCookies.reserve(ids.size());
    for (RROutput id : ids) {
        infoCookies.push_back(
            xcb_randr_get_output_info(xcb, static_cast<xcb_randr_output_t>(id), timestamp));
    }
    // Asked with them: "EDID" since RandR 1.2's property registry; older
    // drivers used "EDID_DATA".
    connection_->lookUpServerAtoms({"EDID", "EDID_DATA"});
    const auto primaryReply = replyOf(xcb, primaryCookie, xcb_randr_get_output_primary_reply);
    const RROutput primary = primaryReply ? primaryReply->output : None;
    const Atom edidNames[] = {connection_->serverAtom("EDID"),
                              connection_->serverAtom("EDID_DATA")};

    // Then the CRTC and the EDID of each connected one.
    struct Connected {
        RROutput id;
        Reply<xcb_randr_get_output_info_reply_t> info;
        xcb_randr_get_crtc_info_cookie_t crtc;
        std::optional<xcb_randr_get_output_property_cookie_t> edids[2];
    };
    std::vector<Connected> connected;
    for (std::size_t index = 0; index < ids.size(); ++index) {
        auto info = replyOf(xcb, infoCookies[index], xcb_randr_get_output_info_reply);
        if (!info || info->connection != XCB_RANDR_CONNECTION_CONNECTED || info->crtc == XCB_NONE) {
            continue;
        }
        Connected entry{ids[index], std::move(info), {}, {}};
        entry.crtc = xcb_randr_get_crtc_info(xcb, entry.info->crtc, timestamp);
        for (std::size_t name = 0; name < 2; ++name) {
            if (edidNames[name] != None) {
                // 256 long words: the base block and seven extension blocks.
                entry.edids[name] =
                    xcb_randr_get_output_property(xcb, static_cast<xcb_randr_output_t>(entry.id),
                                                  static_cast<xcb_atom_t>(edidNames[name]),
                                                  XCB_GET_PROPERTY_TYPE_ANY, 0, 256, 0, 0);
            }
        }
        connected.push_back(std::move(entry));
    }

    std::vector<RandrOutput> outputs;
    for (auto& entry : connected) {
        // Every reply is taken, so none is left waiting in the connection.
        auto crtc = replyOf(xcb, entry.crtc, xcb_randr_get_crtc_info_reply);
        std::vector<std::uint8_t> edid;
        for (auto& cookie : entry.edids) {
            if (!cookie) {
                continue;
            }
            auto property = replyOf(xcb, *cookie, xcb_randr_get_output_property_reply);
            if (edid.empty() && property && property->format == 8 && property->num_items > 0) {
                const auto* data = xcb_randr_get_output_property_data(property.get());
                edid.assign(data, data + property->num_items);
            }
        }
        if (!crtc || crtc->mode == XCB_NONE) {
            continue;
        }
        const auto& info = *entry.info;
        RandrOutput output;
        output.id = entry.id;
        output.name.assign(reinterpret_cast<const char*>(xcb_randr_get_output_info_name(&info)),
                           static_cast<std::size_t>(info.name_len));
        output.crtc = info.crtc;
        output.x = crtc->x;
        output.y = crtc->y;
        output.width = crtc->width;
        output.height = crtc->height;
        output.rotation = crtc->rotation;
        output.isPrimary = entry.id == primary;
        output.edid = std::move(edid);
        if (includeModes) {
            output.currentMode = mode(crtc->mode);
            const auto* modes = xcb_randr_get_output_info_modes(&info);
            for (int index = 0; index < info.num_modes; ++index) {
                if (auto listed = mode(modes[index])) {
                    output.modes.push_back(*listed);
                }
            }
        }
        outputs.push_back(std::move(output));
    }
    return outputs;
}

}  // namespace quorvane
