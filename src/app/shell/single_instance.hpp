#pragma once

#include <sys/types.h>

#include <QLocalServer>
#include <QObject>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>

#include "app/shell/instance_message.hpp"
#include "platform/interfaces/scheduler.hpp"
#include "services/persistence/defaults_store.hpp"

class QLocalSocket;

namespace quorvane {

// The longest the running instance takes to answer a later launch: a
// handed-over URL is answered once its save has been tried, and a save waits
// for another process's settings lock at most the shared lock wait. Past
// this the launch is answered all the same: its request was carried out.
inline constexpr std::chrono::milliseconds kInstanceAnswerLimit =
    std::chrono::duration_cast<std::chrono::milliseconds>(FileDefaultsStore::kSharedLockWait) +
    std::chrono::seconds(2);
// How long a later launch waits for that answer: longer than the running
// instance may take, with room for a loaded machine to connect and send.
inline constexpr std::chrono::milliseconds kLaunchAnswerWait =
    kInstanceAnswerLimit + std::chrono::seconds(5);

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
// oversized message, or a client that has not finished sending it within
// two seconds, is dropped; at most eight clients are served at once. A
// message is answered when its handler says so, which may be later than the
// handler's return, with "ok" or why a URL was not carried out; the answers
// still owed when the instance ends are given then, as "ok" (the requests
// were taken).
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    enum class Role {
        primary,      // this process serves the socket
        secondary,    // another process does
        unavailable,  // no lock could be taken: run alone
    };
    // Answers the launch that sent the message, once; nothing when that
    // launch has gone. GUI thread only.
    using Answer = std::function<void(const InstanceAnswer&)>;
    using Handler = std::function<void(const InstanceMessage&, Answer)>;

    explicit SingleInstance(std::filesystem::path socketPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    Role role() const { return role_; }

    // Primary only: removes a stale socket and listens; `handler` runs on the
    // GUI thread for every well-formed message and calls its answer when the
    // message has been taken. False when listening failed.
    bool listen(Handler handler);

    // Why a later launch has no answer.
    enum class NoAnswer {
        notReached,   // no connection within the wait
        endedFirst,   // the running instance closed the connection unanswered
        notAnswered,  // it ran for the whole wait and did not answer
        unreadable,   // its answer was of no known form
    };
    using Delivery = std::variant<InstanceAnswer, NoAnswer>;

    // Secondary only: delivers the message and waits (at most `timeout`) for
    // the running instance's answer; at once notReached for a URL longer
    // than kInstanceURLCap. Only time in which the running instance ran
    // counts: stopped (job control, a debugger), it has not failed to
    // answer, nor has it while this launch was stopped itself.
    Delivery send(const InstanceMessage& message,
                  std::chrono::milliseconds timeout = kLaunchAnswerWait);
    Delivery send(const InstanceMessage& message, std::chrono::milliseconds timeout,
                  const Clock& clock);

  private:
    void acceptConnections();
    void answer(QLocalSocket* socket, const InstanceAnswer& reply);

    std::filesystem::path socketPath_;
    int lockFd_ = -1;
    Role role_ = Role::unavailable;
    // Before the server: its clients, ended with it, still report here.
    int activeClients_ = 0;
    // Clients whose message was taken and is not answered yet.
    std::set<QLocalSocket*> owedAnswers_;
    QLocalServer server_;
    Handler handler_;
};

// What a later launch says on standard error, in a line of its own, when
// the running instance gave it no answer.
std::string noAnswerLine(SingleInstance::NoAnswer why);

}  // namespace quorvane
