#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "models/coding/date_coding.hpp"

namespace quorvane {

// The parts of a stored record that this process's user actions set since
// the record was last read or saved: a field ("textSize"), or one entry of a
// field kept by key or id ("displayAdjustments" and the display's key), or
// the whole record (a reset, an import); each with when the latest action
// that set it was asked for.
//
// A three-way merge takes a part named here from this process's copy even
// when it equals the value last read. Equal is no sign of untouched: the
// user may set a display back to the value this process last read after
// another process changed it, and that later action must win. Where the
// other process changed the part too, the later request wins: the time
// here against when the other process wrote its record.
class TouchedRecordParts {
  public:
    // A touch without a time is taken as later than anything another
    // process wrote.
    static constexpr Date kAskedLast = Date::max();

    // Every part, as a reset or an import sets them.
    static TouchedRecordParts all(Date askedAt = kAskedLast);

    void touch(std::string_view field, std::string_view entry = {}, Date askedAt = kAskedLast);
    // Whether the field itself, or this one entry of it, was touched.
    bool contains(std::string_view field, std::string_view entry = {}) const;
    // When the latest action that set the field, or this entry of it, was
    // asked for; none when none did.
    std::optional<Date> askedAt(std::string_view field, std::string_view entry = {}) const;
    // Takes `other`'s parts too, each at the later of both times: a save
    // that replaces an unwritten one carries what that one touched.
    void add(const TouchedRecordParts& other);
    bool empty() const { return !all_ && parts_.empty(); }
    // Whether every part is touched (a reset, an import).
    bool isAll() const { return all_.has_value(); }
    // When every part was last touched at once (a reset, an import).
    std::optional<Date> allAskedAt() const { return all_; }
    // The parts touched one by one, as (field, entry); an empty entry
    // stands for the field as a whole.
    std::set<std::pair<std::string, std::string>> parts() const;

    bool operator==(const TouchedRecordParts&) const = default;

  private:
    std::optional<Date> all_;
    // (field, entry) -> when asked; an empty entry stands for the field as
    // a whole.
    std::map<std::pair<std::string, std::string>, Date> parts_;
};

}  // namespace quorvane
