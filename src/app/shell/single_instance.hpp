#pragma once

#include <sys/types.h>

#include <QLocalServer>
#include <QObject>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/shell/instance_message.hpp"

namespace quorvane {

// Where the instance socket of this user and X display lives: in
// $XDG_RUNTIME_DIR when it is set, else in a folder of the user's own under
// /tmp (created 0700, refused when it belongs to someone else or lets others
// in). None when no safe folder exists.
std::optional<std::filesystem::path> instanceSocketPath(const char* runtimeDirectory,
                                                        std::string_view displayName, uid_t user);

// One running application per user and X display.
//
// The first launch holds an exclusive lock next to the socket for its whole
// life and listens on the socket; a later launch finds the lock taken and
// becomes a client that hands its request over and exits. The kernel drops
// the lock with the process, so a socket left by a crashed instance is
// removed and taken over by the next launch.
//
// The server never blocks the GUI thread: each connection carries one framed
// message (instance_message.hpp), read as it arrives; a malformed or
// oversized message, or a client that has not finished within two seconds,
// is dropped; at most eight clients are served at once.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    enum class Role {
        primary,      // this process serves the socket
        secondary,    // another process does
        unavailable,  // no lock could be taken: run alone
    };
    using Handler = std::function<void(const InstanceMessage&)>;

    explicit SingleInstance(std::filesystem::path socketPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    Role role() const { return role_; }

    // Primary only: removes a stale socket and listens; `handler` runs on the
    // GUI thread for every well-formed message. False when listening failed.
    bool listen(Handler handler);

    // Secondary only: delivers the message and waits (at most `timeoutMs`)
    // for the running instance to acknowledge it. False at once for a URL
    // longer than kInstanceURLCap.
    bool send(const InstanceMessage& message, int timeoutMs = 3000);

  private:
    void acceptConnections();

    std::filesystem::path socketPath_;
    int lockFd_ = -1;
    Role role_ = Role::unavailable;
    QLocalServer server_;
    Handler handler_;
    int activeClients_ = 0;
};

}  // namespace quorvane
