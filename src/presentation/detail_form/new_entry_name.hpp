#pragma once

#include <functional>
#include <string>

namespace quorvane {

// The name field under a collection page (scenes, groups, presets). The
// button stays disabled while the name is blank; the name goes to the store
// as typed (the store trims it) and the field is emptied afterwards,
// whatever the store made of it.
struct NewEntryName {
    static bool saveDisabled(const std::string& name);
    static void save(std::string& name, const std::function<void(const std::string&)>& store);
};

}  // namespace quorvane
