#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorvane {

// The one decision the process makes at start: the command-line mode or the
// application. Pure, so the choice can be checked without starting either.
class QuorvaneBootstrap {
  public:
    QuorvaneBootstrap() = delete;

    using CLIRunner = std::function<std::int32_t(const std::vector<std::string>&)>;
    using AppRunner = std::function<std::int32_t()>;

    // `arguments` as the system delivers them, program path first. Drops the
    // path and one leading "--"; when the next word is exactly "cli" the
    // command-line runner gets what follows it, otherwise the application
    // runner runs. Returns the status of whichever ran.
    static std::int32_t dispatch(std::vector<std::string> arguments, const CLIRunner& cliRunner,
                                 const AppRunner& appRunner);
};

}  // namespace quorvane
