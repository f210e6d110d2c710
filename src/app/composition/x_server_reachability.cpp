#include "app/composition/x_server_reachability.hpp"

#include "platform/linux/x_connection.hpp"

namespace quorvane {

bool xServerReachable() {
    // Through our own connection type, so a server that goes away during the
    // check is an unreachable one rather than the end of the process.
    return XConnection::open("").has_value();
}

std::string noXServerMessage(const char* displayVariable) {
    if (!displayVariable || !*displayVariable)
        return "quorvane: DISPLAY is not set; the windowed application needs an X server\n";
    return std::string("quorvane: cannot connect to the X server at DISPLAY=") + displayVariable +
           "; the windowed application needs a running X server\n";
}

std::string lostXServerMessage(const char* displayVariable) {
    const std::string message = "quorvane: X 서버와의 연결이 끊어져 종료합니다";
    if (!displayVariable || !*displayVariable)
        return message + ".\n";
    return message + ": DISPLAY=" + displayVariable + "\n";
}

}  // namespace quorvane
