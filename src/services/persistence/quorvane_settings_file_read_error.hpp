#pragma once

#include <exception>
#include <string>

namespace quorvane {

// A settings file that could not be read at all (as opposed to one that was
// read and refused). The description names the file and is shown to the user.
class QuorvaneSettingsFileReadError : public std::exception {
  public:
    enum class Kind { notFound, permissionDenied, isDirectory, timedOut, failed };

    // `fileName` is the last component of the path; `errorNumber` is the
    // system's error code (0 when there is none).
    QuorvaneSettingsFileReadError(Kind kind, std::string fileName, int errorNumber = 0);
    static QuorvaneSettingsFileReadError fromErrno(int errorNumber, std::string fileName);

    Kind kind() const { return kind_; }
    int errorNumber() const { return errorNumber_; }
    const std::string& description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

    bool operator==(const QuorvaneSettingsFileReadError& other) const {
        return kind_ == other.kind_ && fileName_ == other.fileName_ &&
               errorNumber_ == other.errorNumber_;
    }

  private:
    Kind kind_;
    std::string fileName_;
    int errorNumber_ = 0;
    std::string description_;
};

}  // namespace quorvane
