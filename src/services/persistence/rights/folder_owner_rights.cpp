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

// The calling thread's own capabilities: capget and capset read and set
// them for one thread.
bool threadCapabilities(std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3>& held) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, held.data()) == 0;
}

bool setThreadCapabilities(const std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3>& to) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    auto data = to;
    return ::syscall(SYS_capset, &header, data.data()) == 0;
}

// Whether `held` lets the thread pass the kernel's checks of files' owners
// and modes, or change them: the capabilities the kernel takes from a
// thread whose file-system user leaves root.
bool holdsCapabilityOverFiles(
    const std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3>& held) {
    for (const int capability : {CAP_CHOWN, CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER,
                                 CAP_FSETID, CAP_LINUX_IMMUTABLE, CAP_MKNOD, CAP_MAC_OVERRIDE}) {
        if ((held[capability / 32].effective & (1u << (capability % 32))) != 0)
            return true;
    }
    return false;
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
    if (!decision_->user())
        return;
    const auto owner = *decision_->user();
    if (!becomeOwner(owner))
        return;
    // A capability over files reaches past the owner's rights whatever the
    // thread's ids (a backup agent's CAP_DAC_OVERRIDE): while one is held,
    // none is. Where the file-system user left root, the kernel took them
    // already (unless the thread keeps them by its secure bits); the
    // others it leaves open no file.
    Capabilities held{};
    if (!threadCapabilities(held)) {
        refuse(owner, std::strerror(errno));
        restore();
        return;
    }
    if (!holdsCapabilityOverFiles(held))
        return;
    auto none = held;
    for (auto& set : none)
        set.effective = 0;
    if (!setThreadCapabilities(none)) {
        refuse(owner, std::strerror(errno));
        restore();
        return;
    }
    previousCapabilities_ = held;
}

bool FolderOwnerRights::becomeOwner(uid_t owner) {
    const auto user = threadFsuid();
    if (user == owner)
        return true;
    const auto& account = decision_->account();
    previousGroups_ = threadGroups();
    previousGroup_ = threadFsgid();
    if (!setThreadGroups(account.groups)) {
        refuse(owner, std::strerror(errno));
        return false;
    }
    previousUser_ = user;
    // The group first: once the user id leaves root, the rights over files
    // go with it.
    ::setfsgid(account.group);
    ::setfsuid(owner);
    if (threadFsuid() != owner || threadFsgid() != account.group) {
        restore();
        refuse(owner, "이 프로세스가 그 사용자의 ID를 얻도록 커널이 허락하지 않습니다");
        return false;
    }
    return true;
}

void FolderOwnerRights::refuse(uid_t owner, const std::string& why) {
    refusal_ = DefaultsStoreError{DefaultsStoreError::Kind::ownersRightsUnavailable,
                                  decision_->folder().string(), ownerDetail(owner, why)};
}

FolderOwnerRights::~FolderOwnerRights() {
    // What the calls made with the owner's rights left in errno stays told.
    const int told = errno;
    restore();
    errno = told;
}

void FolderOwnerRights::restore() {
    // The capabilities first: they let the ids change back. Back at root,
    // the kernel gives back what it took as the ids left it.
    if (const auto capabilities = std::exchange(previousCapabilities_, std::nullopt))
        setThreadCapabilities(*capabilities);
    if (!previousUser_)
        return;
    ::setfsuid(*std::exchange(previousUser_, std::nullopt));
    ::setfsgid(previousGroup_);
    setThreadGroups(previousGroups_);
}

DefaultsStoreError FolderOwnerRights::told(DefaultsStoreError error) const {
    if (!previousUser_ && !previousCapabilities_)
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
