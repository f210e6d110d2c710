#pragma once

#include <X11/extensions/Xrandr.h>

#include <optional>

#include "models/color/gamma_ramp.hpp"
#include "platform/linux/x_connection.hpp"

namespace quorvane {

// BadLength: what the server answers when a ramp does not fit the CRTC.
inline constexpr int kXBadLength = 16;

// Entries in the CRTC's gamma ramp; 0 when the CRTC has none.
std::size_t crtcGammaSize(XConnection& connection, RRCrtc crtc);

// Sends the ramp to the CRTC without waiting for the server's answer: the
// sequence number the request carries, or none when it could not be made
// (the connection is lost, or no ramp of that size can be made).
std::optional<unsigned long> sendCrtcGamma(XConnection& connection, RRCrtc crtc,
                                           const GammaRamp& ramp);

// Writes the ramp into the CRTC and waits for the server's answer: the error
// it reported, or none on success.
std::optional<XProtocolError> writeCrtcGamma(XConnection& connection, RRCrtc crtc,
                                             const GammaRamp& ramp);

// The CRTC's current ramp; none when it cannot be read.
std::optional<GammaRamp> readCrtcGamma(XConnection& connection, RRCrtc crtc);

}  // namespace quorvane
