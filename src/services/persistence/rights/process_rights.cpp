#include "services/persistence/rights/process_rights.hpp"

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
#include <limits>

namespace quorvane {

namespace {

// The capabilities that pass the kernel's checks of a file's owner and
// mode bits, or give a file away.
bool holdsCapabilityOverFiles() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return true;
    const auto holds = [&](int capability) {
        return (data[capability / 32].effective & (1u << (capability % 32))) != 0;
    };
    return holds(CAP_DAC_OVERRIDE) || holds(CAP_DAC_READ_SEARCH) || holds(CAP_FOWNER) ||
           holds(CAP_CHOWN);
}

// "<inside> <outside> <count>" per line; the whole range where the file
// cannot be read (no /proc: the system's own namespace).
std::vector<ProcessRights::IdRange> mappedIds(const char* file) {
    std::ifstream map(file);
    if (!map)
        return {{0, std::numeric_limits<std::uint32_t>::max()}};
    std::vector<ProcessRights::IdRange> ranges;
    std::uint64_t inside = 0;
    std::uint64_t outside = 0;
    std::uint64_t count = 0;
    while (map >> inside >> outside >> count)
        ranges.push_back({static_cast<std::uint32_t>(inside), static_cast<std::uint32_t>(count)});
    return ranges;
}

}  // namespace

ProcessRights ProcessRights::ofThisProcess() {
    ProcessRights rights;
    // Neither root nor holding a capability over files: its own user's
    // rights, whatever the namespace maps.
    if (::geteuid() != 0 && !holdsCapabilityOverFiles()) {
        rights.users = rights.groups = {{0, std::numeric_limits<std::uint32_t>::max()}};
        return rights;
    }
    rights.users = mappedIds("/proc/self/uid_map");
    rights.groups = mappedIds("/proc/self/gid_map");
    std::uint64_t usersMapped = 0;
    for (const auto& range : rights.users)
        usersMapped += range.count;
    if (usersMapped > 1) {
        rights.beyondOneUser = true;
        return rights;
    }
    // One user mapped: the kernel checks everything as that user's, and
    // what that user owns is within reach. Where it owns the root folder
    // (the system's root, seen from a namespace root made for itself), so
    // are the system's files, which another user's link could lead to; a
    // namespace that does not map the system's root shows that folder as
    // the overflow id.
    struct stat top {};
    rights.beyondOneUser =
        usersMapped == 1 && ::stat("/", &top) == 0 && rights.mapsUser(top.st_uid);
    return rights;
}

bool ProcessRights::maps(const std::vector<IdRange>& ranges, std::uint32_t id) {
    for (const auto& range : ranges) {
        if (id >= range.first && id - range.first < range.count)
            return true;
    }
    return false;
}

}  // namespace quorvane
