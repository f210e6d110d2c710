#pragma once

#include <exception>
#include <string>

namespace quorvane {

// Why an import's choice of target displays (or a preset edit) is refused.
class QuorvaneSettingsTransitionError : public std::exception {
  public:
    enum class Kind {
        duplicateImportTarget,
        ambiguousImportTarget,
        builtInPresetImmutable,
        emptyPresetName,
        customPresetNotFound,
    };

    // `label` is the offending target's display label (the first two kinds).
    explicit QuorvaneSettingsTransitionError(Kind kind, std::string label = {});

    Kind kind() const { return kind_; }
    const std::string& label() const { return label_; }
    const std::string& description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

    bool operator==(const QuorvaneSettingsTransitionError& other) const {
        return kind_ == other.kind_ && label_ == other.label_;
    }

  private:
    Kind kind_;
    std::string label_;
    std::string description_;
};

}  // namespace quorvane
