#pragma once

#include <exception>
#include <string>

namespace quorvane {

// A file the user chose could not be written. The description names the
// file and is shown to the user as the status text.
class QuorvaneFileWriteError : public std::exception {
  public:
    enum class Kind {
        permissionDenied,
        readOnlyLocation,
        noSpace,
        folderMissing,
        isDirectory,
        failed
    };

    // `fileName` is the last component of the path; `errorNumber` is the
    // system's error code.
    QuorvaneFileWriteError(Kind kind, std::string fileName, int errorNumber);
    static QuorvaneFileWriteError fromErrno(int errorNumber, std::string fileName);

    Kind kind() const { return kind_; }
    int errorNumber() const { return errorNumber_; }
    const std::string& description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

    bool operator==(const QuorvaneFileWriteError& other) const {
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
