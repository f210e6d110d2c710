#include "services/persistence/quorvane_settings_file_read_error.hpp"

#include <cerrno>
#include <utility>

#include "models/coding/number_format.hpp"

namespace quorvane {

namespace {

std::string describe(QuorvaneSettingsFileReadError::Kind kind, const std::string& fileName,
                     int errorNumber) {
    using Kind = QuorvaneSettingsFileReadError::Kind;
    const std::string quoted = "\u2018" + fileName + "\u2019";
    switch (kind) {
        case Kind::notFound:
            return quoted + " 파일이 없습니다.";
        case Kind::permissionDenied:
            return quoted + " 파일을 읽을 권한이 없습니다.";
        case Kind::isDirectory:
            return quoted + "은(는) 파일이 아니라 폴더입니다.";
        case Kind::timedOut:
            return quoted + "에서 데이터가 오지 않아 읽기를 멈췄습니다.";
        case Kind::failed:
            return quoted + " 파일을 읽지 못했습니다. (오류 코드 " + formatDecimal(errorNumber) +
                   ")";
    }
    return {};
}

}  // namespace

QuorvaneSettingsFileReadError::QuorvaneSettingsFileReadError(Kind kind, std::string fileName,
                                                             int errorNumber)
    : kind_(kind),
      fileName_(std::move(fileName)),
      errorNumber_(errorNumber),
      description_(describe(kind_, fileName_, errorNumber_)) {}

QuorvaneSettingsFileReadError QuorvaneSettingsFileReadError::fromErrno(int errorNumber,
                                                                       std::string fileName) {
    switch (errorNumber) {
        case ENOENT:
        case ENOTDIR:
            return {Kind::notFound, std::move(fileName), errorNumber};
        case EACCES:
        case EPERM:
            return {Kind::permissionDenied, std::move(fileName), errorNumber};
        case EISDIR:
            return {Kind::isDirectory, std::move(fileName), errorNumber};
        default:
            return {Kind::failed, std::move(fileName), errorNumber};
    }
}

}  // namespace quorvane
