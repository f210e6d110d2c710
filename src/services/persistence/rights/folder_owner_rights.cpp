#include "services/persistence/rights/folder_owner_rights.hpp"

#include <sys/fsuid.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

namespace quorvane {

namespace {

constexpr uid_t kRoot = 0;
// Asks for no change: setfsuid() and setfsgid() then tell the id in force.
constexpr auto kUnchanged = static_cast<uid_t>(-1);

uid_t threadFsuid() {
    return static_cast<uid_t>(::setfsuid(kUnchanged));
}

gid_t threadFsgid() {
    return static_cast<gid_t>(::setfsgid(static_cast<gid_t>(kUnchanged)));
}

std::vector<gid_t> threadGroups() {
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (count > 0 && ::getgroups(count, groups.data()) != count)
        groups.clear();
    return groups;
}

// The system call itself, for this thread alone: the C library's
// setgroups() changes every thread of the process.
bool setThreadGroups(const std::vector<gid_t>& groups) {
#ifdef SYS_setgroups32
    constexpr long kCall = SYS_setgroups32;
#else
    constexpr long kCall = SYS_setgroups;
#endif
    return ::syscall(kCall, groups.size(), groups.data()) == 0;
}

std::string ownerDetail(uid_t owner, const std::string& why) {
    return "UID " + std::to_string(owner) + ": " + why;
}

}  // namespace

FolderOwnerRights::FolderOwnerRights(std::shared_ptr<const FolderRightsDecision> decision)
    : decision_(std::move(decision)) {
    if (decision_->refusal()) {
        refusal_ = decision_->refusal();
        return;
    }
    // Folders root was to make itself and could not: nothing goes through
    // whatever may stand at their names by now.
    if (!decision_->toMake().empty()) {
        refusal_ = DefaultsStoreError{
            DefaultsStoreError::Kind::notWritable, decision_->toMake().front().string(), {}};
        return;
    }
    // Nested, or a thread that already holds only one user's rights.
    if (!decision_->user() || threadFsuid() != kRoot)
        return;
    const auto owner = *decision_->user();
    const auto& account = decision_->account();
    const auto refuse = [&](const std::string& why) {
        refusal_ = DefaultsStoreError{DefaultsStoreError::Kind::ownersRightsUnavailable,
                                      decision_->folder().string(), ownerDetail(owner, why)};
    };
    previousGroups_ = threadGroups();
    previousGroup_ = threadFsgid();
    if (!setThreadGroups(account.groups)) {
        refuse(std::strerror(errno));
        return;
    }
    previousUser_ = kRoot;
    // The group first: once the user id leaves root, the rights over files
    // go with it.
    ::setfsgid(account.group);
    ::setfsuid(owner);
    if (threadFsuid() != owner || threadFsgid() != account.group) {
        restore();
        refuse("이 프로세스가 그 사용자의 ID를 얻도록 커널이 허락하지 않습니다");
    }
}

FolderOwnerRights::~FolderOwnerRights() {
    // What the calls made with the owner's rights left in errno stays told.
    const int told = errno;
    restore();
    errno = told;
}

void FolderOwnerRights::restore() {
    if (!previousUser_)
        return;
    // Back at root, the rights over files come back with the id.
    ::setfsuid(*std::exchange(previousUser_, std::nullopt));
    ::setfsgid(previousGroup_);
    setThreadGroups(previousGroups_);
}

DefaultsStoreError FolderOwnerRights::told(DefaultsStoreError error) const {
    if (!previousUser_)
        return error;
    const bool refused =
        error.detail == std::strerror(EACCES) || error.detail == std::strerror(EPERM);
    if (!refused)
        return error;
    if (error.kind == DefaultsStoreError::Kind::notWritable ||
        error.kind == DefaultsStoreError::Kind::writeFailed ||
        error.kind == DefaultsStoreError::Kind::lockUnusable)
        error.kind = DefaultsStoreError::Kind::beyondOwnersRights;
    // An unreadable record stays one (it is held, never replaced), and says
    // whose rights it was read with.
    error.detail = ownerDetail(*decision_->user(), error.detail);
    return error;
}

}  // namespace quorvane
