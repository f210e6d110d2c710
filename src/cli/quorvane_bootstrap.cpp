#include "cli/quorvane_bootstrap.hpp"

namespace quorvane {

std::int32_t QuorvaneBootstrap::dispatch(std::vector<std::string> arguments,
                                         const CLIRunner& cliRunner, const AppRunner& appRunner) {
    auto first = arguments.begin();
    if (first != arguments.end())
        ++first;
    if (first != arguments.end() && *first == "--")
        ++first;
    if (first != arguments.end() && *first == "cli") {
        const std::vector<std::string> rest(first + 1, arguments.end());
        return cliRunner(rest);
    }
    return appRunner();
}

}  // namespace quorvane
