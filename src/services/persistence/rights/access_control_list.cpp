#include "services/persistence/rights/access_control_list.hpp"

#include <sys/xattr.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace quorvane {

namespace {

constexpr const char* kAccessAcl = "system.posix_acl_access";
// Most folders have no ACL, and a few entries fit here; the kernel keeps
// no attribute larger than the second size (XATTR_SIZE_MAX).
constexpr std::size_t kUsualSize = 4096;
constexpr std::size_t kLargestSize = 64 * 1024;
constexpr std::uint32_t kVersion = 2;
constexpr std::size_t kHeader = 4;
constexpr std::size_t kEntry = 8;
constexpr std::uint16_t kUser = 0x02;
constexpr std::uint16_t kGroupObject = 0x04;
constexpr std::uint16_t kGroup = 0x08;
constexpr std::uint16_t kMask = 0x10;
constexpr std::uint16_t kWrite = 0x02;

struct Entry {
    std::uint16_t tag = 0;
    std::uint16_t permissions = 0;
    std::uint32_t id = 0;
};

}  // namespace

std::optional<std::string> AccessControlList::bytesOf(const std::filesystem::path& folder,
                                                      int& error) {
    std::string bytes(kUsualSize, '\0');
    for (;;) {
        const auto size = ::lgetxattr(folder.c_str(), kAccessAcl, bytes.data(), bytes.size());
        if (size >= 0) {
            bytes.resize(static_cast<std::size_t>(size));
            return bytes;
        }
        // No ACL, or a file system that keeps none.
        if (errno == ENODATA || errno == EOPNOTSUPP)
            return std::string();
        // Grown once to the largest the kernel keeps: larger than that,
        // it cannot be read whole.
        if (errno != ERANGE || bytes.size() >= kLargestSize) {
            error = errno;
            return std::nullopt;
        }
        bytes.resize(kLargestSize);
    }
}

std::optional<AccessControlList> AccessControlList::from(std::string_view bytes, bool& malformed) {
    malformed = false;
    if (bytes.empty())
        return std::nullopt;
    std::uint32_t version = 0;
    if (bytes.size() >= kHeader)
        std::memcpy(&version, bytes.data(), kHeader);
    if (bytes.size() < kHeader || (bytes.size() - kHeader) % kEntry != 0 || version != kVersion) {
        malformed = true;
        return std::nullopt;
    }
    std::vector<Entry> entries;
    std::uint16_t mask = 0x07;
    for (auto at = kHeader; at < bytes.size(); at += kEntry) {
        Entry entry;
        std::memcpy(&entry.tag, bytes.data() + at, 2);
        std::memcpy(&entry.permissions, bytes.data() + at + 2, 2);
        std::memcpy(&entry.id, bytes.data() + at + 4, 4);
        if (entry.tag == kMask)
            mask = entry.permissions;
        entries.push_back(entry);
    }
    AccessControlList acl;
    for (const auto& entry : entries) {
        if ((entry.permissions & mask & kWrite) == 0)
            continue;
        if (entry.tag == kUser)
            acl.users.push_back(entry.id);
        else if (entry.tag == kGroup)
            acl.groups.push_back(entry.id);
        else if (entry.tag == kGroupObject)
            acl.owningGroupWrites = true;
    }
    return acl;
}

}  // namespace quorvane
