#include "services/persistence/quorvane_file_write_error.hpp"

#include <cerrno>
#include <utility>

#include "models/coding/number_format.hpp"

namespace quorvane {

namespace {

std::string describe(QuorvaneFileWriteError::Kind kind, const std::string& fileName,
                     int errorNumber) {
    using Kind = QuorvaneFileWriteError::Kind;
    const std::string quoted = "\u2018" + fileName + "\u2019";
    switch (kind) {
        case Kind::permissionDenied:
            return quoted + " 파일을 저장할 권한이 없습니다.";
        case Kind::readOnlyLocation:
            return quoted + " 위치는 읽기 전용이라 저장할 수 없습니다.";
        case Kind::noSpace:
            return "저장 공간이 부족해 " + quoted + " 파일을 저장하지 못했습니다.";
        case Kind::folderMissing:
            return quoted + " 파일을 저장할 폴더가 없습니다.";
        case Kind::isDirectory:
            return quoted + "은(는) 파일이 아니라 폴더입니다.";
        case Kind::failed:
            return quoted + " 파일을 저장하지 못했습니다. (오류 코드 " +
                   formatDecimal(errorNumber) + ")";
    }
    return {};
}

}  // namespace

QuorvaneFileWriteError::QuorvaneFileWriteError(Kind kind, std::string fileName, int errorNumber)
    : kind_(kind),
      fileName_(std::move(fileName)),
      errorNumber_(errorNumber),
      description_(describe(kind_, fileName_, errorNumber_)) {}

QuorvaneFileWriteError QuorvaneFileWriteError::fromErrno(int errorNumber, std::string fileName) {
    switch (errorNumber) {
        case EACCES:
        case EPERM:
            return {Kind::permissionDenied, std::move(fileName), errorNumber};
        case EROFS:
            return {Kind::readOnlyLocation, std::move(fileName), errorNumber};
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return {Kind::noSpace, std::move(fileName), errorNumber};
        case ENOENT:
        case ENOTDIR:
            return {Kind::folderMissing, std::move(fileName), errorNumber};
        case EISDIR:
            return {Kind::isDirectory, std::move(fileName), errorNumber};
        default:
            return {Kind::failed, std::move(fileName), errorNumber};
    }
}

}  // namespace quorvane
