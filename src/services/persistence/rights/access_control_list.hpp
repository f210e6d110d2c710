#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Who a folder's access ACL lets change its entries, besides its owner and
// others: the users and groups its entries let write, through its mask,
// which bounds every entry but the owner's and others'.
struct AccessControlList {
    std::vector<uid_t> users;
    std::vector<gid_t> groups;
    // The owning group's entry lets it write: with an ACL, the folder's group
    // bits are the mask, and this entry tells.
    bool owningGroupWrites = false;

    // The ACL's bytes as the kernel keeps them (system.posix_acl_access),
    // read whole however large: empty where the folder has none; none
    // where they could not be read (`error` says why).
    static std::optional<std::string> bytesOf(const std::filesystem::path& folder, int& error);
    // The ACL those bytes hold: none where they hold none (empty); a
    // version, then a tag, permissions and id per entry. `malformed` where
    // they are not such an ACL.
    static std::optional<AccessControlList> from(std::string_view bytes, bool& malformed);
};

}  // namespace quorvane
