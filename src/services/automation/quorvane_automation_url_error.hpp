#pragma once

#include <optional>
#include <stdexcept>
#include <string>

namespace quorvane {

class QuorvaneAutomationURLError : public std::exception {
  public:
    enum class Kind {
        unsupportedScheme,
        unknownCommand,
        duplicateQueryKey,
        unknownQueryKey,
        unexpectedPath,
        unknownScope,
        missingCommand,
        missingPreset,
        missingTarget,
        conflictingTargets,
    };

    QuorvaneAutomationURLError(Kind kind, std::optional<std::string> carried = std::nullopt);

    Kind kind() const { return kind_; }
    const std::optional<std::string>& carried() const { return carried_; }
    const std::string& description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

    bool operator==(const QuorvaneAutomationURLError& other) const {
        return kind_ == other.kind_ && carried_ == other.carried_;
    }

  private:
    Kind kind_;
    std::optional<std::string> carried_;
    std::string description_;
};

}  // namespace quorvane
