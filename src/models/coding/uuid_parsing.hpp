#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// The canonical (upper-case) text of a UUID written as 8-4-4-4-12 hex digits
// in either case; nullopt for anything else.
std::optional<std::string> canonicalUuidText(std::string_view text);

}  // namespace quorvane
