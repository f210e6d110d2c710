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
    // Xlib cannot even make a request once XCB has met the loss of the
    // server (it would write through a null request): a lost connection
    // answers nothing.
    if (connection.lost()) {
        return 0;
    }
    // A reply request: an unknown CRTC answers 0 and its error is dropped by
    // the next caller's sync.
    int size = XRRGetCrtcGammaSize(connection.display(), crtc);
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

std::optional<unsigned long> sendCrtcGamma(XConnection& connection, RRCrtc crtc,
                                           const GammaRamp& ramp) {
    GammaPointer gamma(XRRAllocGamma(static_cast<int>(ramp.size())));
    if (!gamma || connection.lost()) {
        return std::nullopt;
    }
    std::copy(ramp.red.begin(), ramp.red.end(), gamma->red);
    std::copy(ramp.green.begin(), ramp.green.end(), gamma->green);
    std::copy(ramp.blue.begin(), ramp.blue.end(), gamma->blue);
    const auto request = connection.nextRequest();
    XRRSetCrtcGamma(connection.display(), crtc, gamma.get());
    return request;
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
    if (connection.lost()) {
        return std::nullopt;
    }
    auto first = connection.nextRequest();
    GammaPointer gamma(XRRGetCrtcGamma(connection.display(), crtc));
    if (connection.syncSince(first) || !gamma || gamma->size <= 0) {
        return std::nullopt;
    }
    auto size = static_cast<std::size_t>(gamma->size);
    return GammaRamp{{gamma->red, gamma->red + size},
                     {gamma->green, gamma->green + size},
                     {gamma->blue, gamma->blue + size}};
}

}  // namespace quorvane
