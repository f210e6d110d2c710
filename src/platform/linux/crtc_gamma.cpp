#include "platform/linux/crtc_gamma.hpp"

#include <algorithm>
#include <memory>

namespace quorvane {
namespace {

struct GammaFree {
    void operator()(XRRCrtcGamma* gamma) const { XRRFreeGamma(gamma); }
};
using GammaPointer = std::unique_ptr<XRRCrtcGamma, GammaFree>;

}  // namespace

std::size_t crtcGammaSize(XConnection& connection, RRCrtc crtc) {
    // A reply request: an unknown CRTC answers 0 and its error is dropped by
    // the next caller's sync. A lost connection answers nothing.
    const int size =
        connection.ask(0, [crtc](Display* display) { return XRRGetCrtcGammaSize(display, crtc); });
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

std::optional<unsigned long> sendCrtcGamma(XConnection& connection, RRCrtc crtc,
                                           const GammaRamp& ramp) {
    GammaPointer gamma(XRRAllocGamma(static_cast<int>(ramp.size())));
    if (!gamma) {
        return std::nullopt;
    }
    std::copy(ramp.red.begin(), ramp.red.end(), gamma->red);
    std::copy(ramp.green.begin(), ramp.green.end(), gamma->green);
    std::copy(ramp.blue.begin(), ramp.blue.end(), gamma->blue);
    return connection.ask(std::optional<unsigned long>(), [&](Display* display) {
        const auto request = connection.nextRequest();
        XRRSetCrtcGamma(display, crtc, gamma.get());
        return std::optional<unsigned long>(request);
    });
}

std::optional<XProtocolError> writeCrtcGamma(XConnection& connection, RRCrtc crtc,
                                             const GammaRamp& ramp) {
    // One round trip: errors of earlier requests are not this write's.
    const auto request = sendCrtcGamma(connection, crtc, ramp);
    if (!request) {
        return XProtocolError{connection.lost() ? kXServerUnreachableCode : kXBadLength, 0, 0};
    }
    return connection.syncSince(*request);
}

std::optional<GammaRamp> readCrtcGamma(XConnection& connection, RRCrtc crtc) {
    const auto first = connection.nextRequest();
    GammaPointer gamma(
        connection.ask(static_cast<XRRCrtcGamma*>(nullptr),
                       [crtc](Display* display) { return XRRGetCrtcGamma(display, crtc); }));
    if (connection.syncSince(first) || !gamma || gamma->size <= 0) {
        return std::nullopt;
    }
    auto size = static_cast<std::size_t>(gamma->size);
    return GammaRamp{{gamma->red, gamma->red + size},
                     {gamma->green, gamma->green + size},
                     {gamma->blue, gamma->blue + size}};
}

}  // namespace quorvane
