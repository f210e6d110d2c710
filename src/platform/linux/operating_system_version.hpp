#pragma once

#include <string>

namespace quorvane {

// The operating system's version text for diagnostic reports: the
// distribution's name from /etc/os-release (when readable) and the kernel's
// name and release, e.g. "Debian GNU/Linux 12 (bookworm) · Linux 6.1.0-18-amd64".
// Never includes the host name.
std::string operatingSystemVersionText();

}  // namespace quorvane
