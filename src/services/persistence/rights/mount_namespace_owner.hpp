#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <variant>

namespace quorvane {

// Who could have made the mounts of this process's mount namespace. A
// mount namespace belongs to the user namespace that made it, and whoever
// is root there may mount anything in it: a user's own `unshare -rm`
// namespace holds the user's mounts, flags and owners as they chose them.
// A process that entered such a namespace (root through `nsenter -m`)
// stands among mounts that user made, whatever the table says of them.
// The namespace is this process's own where its owner is this process's
// user namespace or one above it.
struct MountNamespaceOwner {
    // The namespace is this process's own.
    struct Own {};
    // Made in the user namespace of `user` (as this process's namespace
    // maps that user).
    struct User {
        uid_t user = 0;
    };
    // Could not be told, and why.
    struct Unknown {
        std::string why;
    };

    std::variant<Own, User, Unknown> owner;

    static MountNamespaceOwner ofThisProcess();
};

}  // namespace quorvane
