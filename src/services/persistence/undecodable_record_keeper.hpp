#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "platform/interfaces/defaults_storing.hpp"

namespace quorvane {

// Keeps a record that a load found stored but not decodable from being lost:
// before the first save replaces it, its bytes are kept aside once under a
// dated name of their own, and the save's outcome names the copy. Shared by
// every record store that loads a blob and later writes over it.
class UndecodableRecordKeeper {
  public:
    using Decodes = std::function<bool(const std::string& bytes)>;

    explicit UndecodableRecordKeeper(Decodes decodes) : decodes_(std::move(decodes)) {}

    // Called by a load that could not decode the stored bytes.
    void noteUndecodable() const { seen_ = true; }

    // Before a save over `key`: keeps the stored bytes aside when a load found
    // them undecodable and they still are, unless the store's save does that
    // itself. A failed outcome means the save must not go on; a kept copy is
    // named in the outcome.
    SaveOutcome keepAsideBeforeSave(DefaultsStoring& defaults, const std::string& key);

  private:
    Decodes decodes_;
    // Set by a load that found an undecodable record, cleared once it is
    // kept aside: only then does a save look at the stored bytes again.
    mutable std::atomic<bool> seen_ = false;
};

}  // namespace quorvane
