#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "support/unprivileged_user.hpp"

namespace quorvane::testing {

// Runs `body` in a forked child and returns what it produced, or
// "<child failed>" when it did not end normally. With `asNobody`, a child of
// a root test run first becomes the unprivileged user (becomeUnprivilegedUser()),
// so permission checks bite as they would for a user.
inline std::string outputOfChild(const std::function<std::string()>& body, bool asNobody = false) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return "<child failed>";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (asNobody && !becomeUnprivilegedUser())
            ::_exit(2);
        const std::string output = body();
        const bool written = ::write(pipeEnds[1], output.data(), output.size()) ==
                             static_cast<ssize_t>(output.size());
        ::_exit(written ? 0 : 3);
    }
    ::close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t count; (count = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(count));
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return "<child failed>";
    }
    return output;
}

// Runs `body` in a child process that `body` ends with SIGKILL; false when
// it ended otherwise.
inline bool killedInChild(const std::function<void()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) &&
           WTERMSIG(status) == SIGKILL;
}

}  // namespace quorvane::testing
