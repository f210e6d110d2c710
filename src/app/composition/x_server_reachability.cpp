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
        return "quorvane: DISPLAY가 설정되지 않았습니다. 창 애플리케이션에는 X 서버가 필요합니다\n";
    return std::string("quorvane: DISPLAY=") + displayVariable +
           "의 X 서버에 연결할 수 없습니다. 창 애플리케이션에는 실행 중인 X 서버가 필요합니다\n";
}

std::string lostXServerMessage(const char* displayVariable) {
    const std::string message = "quorvane: X 서버와의 연결이 끊어져 종료합니다";
    if (!displayVariable || !*displayVariable)
        return message + ".\n";
    return message + ": DISPLAY=" + displayVariable + "\n";
}

}  // namespace quorvane
