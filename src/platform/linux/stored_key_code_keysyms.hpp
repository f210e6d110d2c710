#pragma once

#include <X11/X.h>

#include <cstdint>
#include <optional>

namespace quorvane {

// Hot keys keep the key code they were recorded with (the other desktop
// platform's virtual key codes for a US keyboard: 37 is L, 18 is 1), so
// settings files stay exchangeable. This maps such a code to the X keysym of
// the same key; none for codes that name no key.
std::optional<KeySym> keysymForStoredKeyCode(std::uint32_t keyCode);

}  // namespace quorvane
