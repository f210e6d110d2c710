#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/quorvane_bootstrap.hpp"
#include "cli/quorvane_cli.hpp"

namespace {

std::int32_t runCommandLine(const std::vector<std::string>& arguments) {
    auto cli = quorvane::QuorvaneCLI::production();
    return cli.run(arguments);
}

std::int32_t runApplication() {
    std::fputs("quorvane: the windowed application is not part of this build\n", stderr);
    return 1;
}

}  // namespace

// The mode is chosen before anything else of the program runs; the
// command-line mode ends the process with its command's status.
int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv, argv + argc);
    const auto status =
        quorvane::QuorvaneBootstrap::dispatch(std::move(arguments), runCommandLine, runApplication);
    std::exit(status);
}
