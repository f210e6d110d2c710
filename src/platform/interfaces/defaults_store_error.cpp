#include "platform/interfaces/defaults_store_error.hpp"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

namespace quorvane {

namespace {

std::string withDetail(std::string text, const std::string& detail) {
    if (!detail.empty())
        text += " (" + detail + ")";
    return text;
}

// Where root may not touch another user's settings folder.
constexpr std::string_view kWhatTheUserCanDo =
    "그 폴더의 사용자로 실행하거나(sudo -u 사용자), root 자신의 설정 폴더를 쓰려면 "
    "HOME과 XDG_CONFIG_HOME을 넘기지 마세요(sudo -E 없이)";

// What was not done with the record: read, or saved.
std::string notDone(bool whileReading) {
    return whileReading ? "읽지" : "저장하지";
}

// A folder's record left alone for what stands on the way to it: "<why> 그
// 폴더의 기록을 <읽지|저장하지> <ending>: <path> (<detail>). <advice>".
std::string leftAlone(std::string_view why, bool whileReading, std::string_view ending,
                      const std::string& path, const std::string& detail, std::string_view advice) {
    return withDetail(std::string(why) + " 그 폴더의 기록을 " + notDone(whileReading) + " " +
                          std::string(ending) + ": " + path,
                      detail) +
           ". " + std::string(advice);
}

}  // namespace

DefaultsStoreError DefaultsStoreError::fromErrno(int error, std::string path) {
    Kind kind = Kind::writeFailed;
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
            kind = Kind::notWritable;
            break;
        case ENOSPC:
        case EDQUOT:
            kind = Kind::noSpace;
            break;
        case ENOTDIR:
            kind = Kind::notAFolder;
            break;
        default:
            break;
    }
    return {kind, std::move(path), std::strerror(error)};
}

std::string DefaultsStoreError::description() const {
    switch (kind) {
        case Kind::noLocation:
            return "설정 폴더를 정할 수 없어 저장하지 못했습니다. $HOME 또는 $XDG_CONFIG_HOME을 "
                   "확인하세요.";
        case Kind::notAFolder:
            return withDetail(
                "설정 폴더 자리에 폴더가 아닌 파일이 있어 저장하지 못했습니다: " + path, detail);
        case Kind::notWritable:
            return withDetail("설정 폴더에 쓸 수 없어 저장하지 못했습니다: " + path, detail);
        case Kind::noSpace:
            return withDetail("저장 공간이 부족해 설정을 저장하지 못했습니다: " + path, detail);
        case Kind::unreadable:
            return withDetail(
                "저장된 기록을 읽을 수 없습니다. 이 파일은 덮어쓰지 않습니다: " + path, detail);
        case Kind::notEncodable:
            return "저장할 수 없는 값이 있어 설정을 저장하지 못했습니다.";
        case Kind::writeFailed:
            return withDetail("설정을 저장하지 못했습니다: " + path, detail);
        case Kind::lockHeld:
            return std::string(heldByQuorvane ? "다른 Quorvane 프로세스가" : "다른 프로세스가") +
                   " 설정 잠금을 쥐고 있어 저장하지 못했습니다: " + path;
        case Kind::lockFileReplaced:
            return "저장하는 동안 설정 잠금 파일이 거듭 지워지거나 바뀌어 저장하지 못했습니다: " +
                   path;
        case Kind::lockUnusable:
            return withDetail(
                "설정 잠금 파일을 잠글 수도 새 파일로 바꿀 수도 없어 저장하지 못했습니다: " + path,
                detail);
        case Kind::lockUnverifiable:
            return "설정 폴더의 파일 시스템이 같은 파일에 매번 다른 번호(inode)를 알려 주어 설정 "
                   "잠금이 유지되는지 확인할 수 없어 저장하지 못했습니다: " +
                   path;
        case Kind::beyondOwnersRights:
            return withDetail("설정 폴더 주인의 권한이 닿지 않는 곳이어서 " +
                                  notDone(whileReading) + " 못했습니다: " + path,
                              detail);
        case Kind::ownersRightsUnavailable:
            return leftAlone("설정 폴더 주인의 권한을 얻을 수 없어", whileReading, "못했습니다",
                             path, detail, kWhatTheUserCanDo);
        case Kind::pathSharedWithOthers:
            return leftAlone(
                "root 말고도 여러 사용자가 설정 폴더나 그리로 가는 경로를 바꿀 수 있어",
                whileReading, "않았습니다", path, detail, kWhatTheUserCanDo);
        case Kind::writersUnknown:
            return leftAlone(
                "root 말고 누가 설정 폴더나 그리로 가는 경로를 바꿀 수 있는지 확실히 알 수 없어",
                whileReading, "않았습니다", path, detail, kWhatTheUserCanDo);
        case Kind::mountNotBelieved:
            return leftAlone(
                "설정 폴더나 그리로 가는 경로가 있는 마운트의 파일 주인과 권한을 믿을 수 없어",
                whileReading, "않았습니다", path, detail,
                "nosuid 없이 마운트된 곳에 설정 폴더를 두거나(XDG_CONFIG_HOME), 그 마운트가 한 "
                "사용자의 것이면 그 사용자로 실행하세요(sudo -u 사용자)");
        case Kind::wayChangedSinceDecided:
            return "설정 폴더로 가는 폴더가 권한을 정한 뒤에 바뀌어(마운트가 생기거나 사라짐) "
                   "이번에는 " +
                   notDone(whileReading) + " 않았습니다. 다시 시도하세요: " + path;
        case Kind::linkOfAnotherUser:
            return leftAlone(
                "root도 설정 폴더의 사용자도 아닌 다른 사용자가 만든 링크는 따라가지 않아",
                whileReading, "못했습니다", path, detail,
                "링크를 만든 사용자로 실행하거나(sudo -u 사용자), 그 링크를 지우세요");
    }
    return {};
}

}  // namespace quorvane
