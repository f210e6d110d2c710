#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/entry/application_handover.hpp"
#include "cli/quorvane_bootstrap.hpp"
#include "cli/quorvane_cli.hpp"

namespace {

std::int32_t runCommandLine(const std::vector<std::string>& arguments) {
    // A closed pipe (`quorvane cli ... | head -1`) or a vanished X server
    // then fails the write with EPIPE, which the command reports, instead of
    // killing the process without a word.
    std::signal(SIGPIPE, SIG_IGN);
    auto cli = quorvane::QuorvaneCLI::production();
    return cli.run(arguments);
}

}  // namespace

// The mode is chosen before anything else of the program runs; the
// command-line mode ends the process with its command's status, the
// application mode becomes the Qt application (same arguments).
int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv, argv + argc);
    const auto status = quorvane::QuorvaneBootstrap::dispatch(
        arguments, runCommandLine,
        [&arguments] { return quorvane::handOverToApplication(arguments); });
    std::exit(status);
}
