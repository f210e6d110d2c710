#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace quorvane {

// Why a settings file cannot be imported. The description is the status
// text shown to the user.
class QuorvaneSettingsDocumentError : public std::exception {
  public:
    enum class Kind { unsupportedAppName, unsupportedDocumentVersion, fileTooLarge, invalidData };

    static QuorvaneSettingsDocumentError unsupportedAppName(std::string appName);
    static QuorvaneSettingsDocumentError unsupportedDocumentVersion(std::int64_t version);
    static QuorvaneSettingsDocumentError fileTooLarge(std::int64_t maximumBytes);
    static QuorvaneSettingsDocumentError invalidData();

    Kind kind() const { return kind_; }
    // The file's app name for unsupportedAppName.
    const std::string& appName() const { return appName_; }
    // The file's version for unsupportedDocumentVersion, the limit for fileTooLarge.
    std::int64_t number() const { return number_; }

    const std::string& description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

    bool operator==(const QuorvaneSettingsDocumentError& other) const {
        return kind_ == other.kind_ && appName_ == other.appName_ && number_ == other.number_;
    }

  private:
    QuorvaneSettingsDocumentError(Kind kind, std::string appName, std::int64_t number);

    Kind kind_;
    std::string appName_;
    std::int64_t number_ = 0;
    std::string description_;
};

}  // namespace quorvane
