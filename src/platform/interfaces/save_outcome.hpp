#pragma once

#include <optional>
#include <string>

#include "platform/interfaces/defaults_store_error.hpp"

namespace quorvane {

// What a save did: written, or why not. A save over a record that could not
// be decoded first keeps a copy of that record aside and names it here.
struct SaveOutcome {
    std::optional<DefaultsStoreError> error;
    // The file name (not the path) of the copy kept aside, when one was made.
    std::optional<std::string> keptCopy;
    // Which write left the record (see DefaultsReadResult::writeID), where
    // the store tells writes apart.
    std::optional<std::string> writeID = std::nullopt;

    bool operator==(const SaveOutcome&) const = default;

    bool succeeded() const { return !error.has_value(); }

    static SaveOutcome saved() { return {}; }
    static SaveOutcome failed(DefaultsStoreError error) { return {std::move(error), {}, {}}; }
};

}  // namespace quorvane
