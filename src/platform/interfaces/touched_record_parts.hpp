#pragma once

#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace quorvane {

// The parts of a stored record that this process's user actions set since
// the record was last read or saved: a field ("textSize"), or one entry of a
// field kept by key or id ("displayAdjustments" and the display's key), or
// the whole record (a reset, an import).
//
// A three-way merge takes a part named here from this process's copy even
// when it equals the value last read. Equal is no sign of untouched: the
// user may set a display back to the value this process last read after
// another process changed it, and that later action must win.
class TouchedRecordParts {
  public:
    // Every part, as a reset or an import sets them.
    static TouchedRecordParts all();

    void touch(std::string_view field, std::string_view entry = {});
    // Whether the field itself, or this one entry of it, was touched.
    bool contains(std::string_view field, std::string_view entry = {}) const;
    // Takes `other`'s parts too: a save that replaces an unwritten one
    // carries what that one touched.
    void add(const TouchedRecordParts& other);
    bool empty() const { return !all_ && parts_.empty(); }
    // Whether every part is touched (a reset, an import).
    bool isAll() const { return all_; }
    // The parts touched one by one, as (field, entry); an empty entry
    // stands for the field as a whole.
    const std::set<std::pair<std::string, std::string>>& parts() const { return parts_; }

    bool operator==(const TouchedRecordParts&) const = default;

  private:
    bool all_ = false;
    // (field, entry); an empty entry stands for the field as a whole.
    std::set<std::pair<std::string, std::string>> parts_;
};

}  // namespace quorvane
