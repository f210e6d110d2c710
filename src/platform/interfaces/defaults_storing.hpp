#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// The reverse-domain identifier that every stored key starts with
// ("org.quorvane.Quorvane.preferences.v1").
inline constexpr std::string_view kDefaultsDomain = "org.quorvane.Quorvane";

// The user's defaults: opaque bytes under a key. Reads never fail (anything
// that cannot be read is absent); writes and removals report whether they
// took effect, and callers are free to ignore that.
class DefaultsStoring {
  public:
    virtual ~DefaultsStoring() = default;
    virtual std::optional<std::string> dataForKey(std::string_view key) const = 0;
    virtual bool setData(std::string_view key, std::string_view bytes) = 0;
    // Removing a key that holds nothing succeeds.
    virtual bool removeKey(std::string_view key) = 0;
};

// A key must name one file in the defaults folder: not empty, at most 200
// bytes, no "/", no "..", no NUL, no control characters and no leading ".".
// Invalid keys read as absent and refuse writes.
bool isValidDefaultsKey(std::string_view key);

}  // namespace quorvane
