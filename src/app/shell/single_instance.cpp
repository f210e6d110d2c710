#include "app/shell/single_instance.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <fstream>
#include <memory>

#include "app/shell/running_time.hpp"
#include "platform/linux/system_clock.hpp"

namespace quorvane {

namespace {

constexpr int kClientDeadlineMs = 2000;
// How often a launch waiting for the running instance looks at the time.
constexpr int kLookMs = 50;
// A look held up longer than this: the launch was stopped meanwhile.
constexpr Duration kLongestLook = std::chrono::seconds(1);
constexpr int kMaxClients = 8;
// A frame, its header and one byte more: enough to see any frame overrun.
constexpr qint64 kReadChunk = static_cast<qint64>(kInstanceMessageCap) + 5;

// ":0.0" and ":0" are one display; other characters become "_".
std::string socketDisplayPart(std::string_view displayName) {
    const auto colon = displayName.rfind(':');
    if (colon != std::string_view::npos) {
        const auto dot = displayName.find('.', colon);
        if (dot != std::string_view::npos)
            displayName = displayName.substr(0, dot);
    }
    std::string part;
    for (char c : displayName) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        part.push_back(plain ? c : '_');
    }
    return part;
}

bool isPrivateFolderOf(const std::filesystem::path& folder, uid_t user) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == user && (info.st_mode & 077) == 0;
}

std::optional<std::filesystem::path> privateTemporaryFolder(uid_t user) {
    const std::filesystem::path folder = "/tmp/quorvane-" + std::to_string(user);
    ::mkdir(folder.c_str(), 0700);
    if (!isPrivateFolderOf(folder, user))
        return std::nullopt;
    return folder;
}

// The process at the other end of a connected socket; -1 when unknown.
pid_t peerProcess(const QLocalSocket& socket) {
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                     &length) != 0)
        return -1;
    return peer.pid;
}

// Whether `process` is stopped (by job control, or in a debugger), from the
// state its /proc stat gives after its name; false when it cannot be read.
bool processStopped(pid_t process) {
    if (process <= 0)
        return false;
    std::ifstream file("/proc/" + std::to_string(process) + "/stat");
    std::string stat;
    std::getline(file, stat);
    const auto nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos || nameEnd + 2 >= stat.size())
        return false;
    const char state = stat[nameEnd + 2];
    return state == 'T' || state == 't';
}

}  // namespace

std::optional<std::filesystem::path> instanceSocketPath(const char* runtimeDirectory,
                                                        std::string_view displayName, uid_t user) {
    std::optional<std::filesystem::path> folder;
    if (runtimeDirectory && *runtimeDirectory == '/' && isPrivateFolderOf(runtimeDirectory, user))
        folder = std::filesystem::path(runtimeDirectory);
    else
        folder = privateTemporaryFolder(user);
    if (!folder)
        return std::nullopt;
    return *folder / ("quorvane-" + socketDisplayPart(displayName) + ".socket");
}

SingleInstance::SingleInstance(std::filesystem::path socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {
    const auto lockPath = socketPath_.string() + ".lock";
    lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0)
        return;
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
        role_ = Role::primary;
    } else if (errno == EWOULDBLOCK) {
        role_ = Role::secondary;
    }
}

SingleInstance::~SingleInstance() {
    // Their requests were taken: the launches waiting on them end well.
    for (QLocalSocket* socket : std::set(owedAnswers_))
        answer(socket, {});
    if (role_ == Role::primary) {
        server_.close();
        QLocalServer::removeServer(QString::fromStdString(socketPath_.string()));
    }
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

bool SingleInstance::listen(Handler handler) {
    if (role_ != Role::primary)
        return false;
    handler_ = std::move(handler);
    const QString name = QString::fromStdString(socketPath_.string());
    // Holding the lock, we know no live instance serves this socket.
    QLocalServer::removeServer(name);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] { acceptConnections(); });
    return server_.listen(name);
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        if (activeClients_ >= kMaxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++activeClients_;
        auto reader = std::make_shared<InstanceFrameReader>();
        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, [socket] { socket->abort(); });
        deadline->start(kClientDeadlineMs);
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            --activeClients_;
            owedAnswers_.erase(socket);
            socket->deleteLater();
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader, deadline] {
            while (socket->bytesAvailable() > 0 &&
                   reader->state() == InstanceFrameReader::State::incomplete) {
                const QByteArray bytes = socket->read(kReadChunk);
                reader->feed(std::string_view(bytes.constData(), bytes.size()));
            }
            if (reader->state() == InstanceFrameReader::State::incomplete)
                return;
            const auto message = reader->state() == InstanceFrameReader::State::complete
                                     ? decodeInstanceMessage(reader->text())
                                     : std::nullopt;
            if (!message) {
                socket->abort();
                return;
            }
            // The client has said all it will; its answer may take longer
            // than the time it had to say it.
            deadline->stop();
            owedAnswers_.insert(socket);
            // Handled before it is acknowledged: a later launch that heard
            // "ok" may rely on the change being made, and on what its
            // handler waits for before answering.
            if (!handler_) {
                answer(socket, {});
                return;
            }
            handler_(*message,
                     [instance = QPointer<SingleInstance>(this),
                      client = QPointer<QLocalSocket>(socket)](const InstanceAnswer& reply) {
                         if (instance && client)
                             instance->answer(client, reply);
                     });
        });
    }
}

void SingleInstance::answer(QLocalSocket* socket, const InstanceAnswer& reply) {
    if (owedAnswers_.erase(socket) == 0)
        return;
    const auto bytes = encodeInstanceAnswer(reply);
    socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
    // Handed to the system at once: the answer must not wait for an event
    // loop that may be ending.
    socket->flush();
    socket->disconnectFromServer();
}

SingleInstance::Delivery SingleInstance::send(const InstanceMessage& message,
                                              std::chrono::milliseconds timeout) {
    return send(message, timeout, SystemClock());
}

SingleInstance::Delivery SingleInstance::send(const InstanceMessage& message,
                                              std::chrono::milliseconds timeout,
                                              const Clock& clock) {
    // The running instance would drop a longer frame unread.
    if (role_ != Role::secondary || message.url.size() > kInstanceURLCap)
        return NoAnswer::notReached;
    RunningTime waited(clock, kLongestLook);
    const auto overdue = [&waited, timeout] { return waited.counted() >= timeout; };
    const QString name = QString::fromStdString(socketPath_.string());
    QLocalSocket socket;
    // The running instance may hold the lock a moment before it listens.
    while (true) {
        socket.connectToServer(name);
        if (socket.waitForConnected(kLookMs))
            break;
        waited.step(true);
        if (overdue())
            return NoAnswer::notReached;
        QThread::msleep(kLookMs);
    }
    const pid_t peer = peerProcess(socket);
    const auto lookAgain = [&] {
        if (socket.state() != QLocalSocket::ConnectedState)
            return false;
        waited.step(!processStopped(peer));
        return !overdue();
    };
    const auto bytes = encodeInstanceMessage(message);
    socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kLookMs) && !lookAgain())
            return socket.state() == QLocalSocket::ConnectedState ? NoAnswer::notAnswered
                                                                  : NoAnswer::endedFirst;
    }
    InstanceFrameReader reader;
    while (reader.state() == InstanceFrameReader::State::incomplete) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(kLookMs)) {
            if (socket.bytesAvailable() > 0 || lookAgain())
                continue;
            return socket.state() == QLocalSocket::ConnectedState ? NoAnswer::notAnswered
                                                                  : NoAnswer::endedFirst;
        }
        const QByteArray answer = socket.read(kReadChunk);
        reader.feed(std::string_view(answer.constData(), answer.size()));
    }
    if (reader.state() != InstanceFrameReader::State::complete)
        return NoAnswer::unreadable;
    if (auto answer = decodeInstanceAnswer(reader.text()))
        return *answer;
    return NoAnswer::unreadable;
}

std::string noAnswerLine(SingleInstance::NoAnswer why) {
    switch (why) {
        case SingleInstance::NoAnswer::notReached:
            return "quorvane: 이 디스플레이에서 실행 중인 Quorvane에 연결하지 못했습니다\n";
        case SingleInstance::NoAnswer::endedFirst:
            return "quorvane: 이 디스플레이에서 실행 중이던 Quorvane이 응답하기 전에 "
                   "종료되었습니다\n";
        case SingleInstance::NoAnswer::notAnswered:
            return "quorvane: 이 디스플레이에서 실행 중인 Quorvane이 응답하지 않습니다\n";
        case SingleInstance::NoAnswer::unreadable:
            break;
    }
    return "quorvane: 이 디스플레이에서 실행 중인 Quorvane의 응답을 알아볼 수 없습니다\n";
}

}  // namespace quorvane
