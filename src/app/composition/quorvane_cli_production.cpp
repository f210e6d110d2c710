#include <unistd.h>

#include <cerrno>
#include <memory>

#include "cli/quorvane_cli.hpp"
#include "platform/linux/display_manager.hpp"
#include "platform/linux/gamma_controller.hpp"
#include "platform/linux/shared_x_connection.hpp"
#include "platform/linux/sysfs_backlight_controller.hpp"
#include "services/display/cli_display_snapshot_provider.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"

namespace quorvane {

namespace {

// Writes every byte (retrying short and interrupted writes); a closed stream
// loses the output but never ends the command early.
void writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace

QuorvaneCLI::Environment QuorvaneCLI::Environment::production() {
    auto defaults = std::make_shared<FileDefaultsStore>(FileDefaultsStore::standardLocation());
    // One X connection serves the whole command.
    auto connection = std::make_shared<SharedXConnection>();
    return {
        std::make_shared<UserDefaultsPreferencesStore>(std::move(defaults)),
        std::make_shared<CLIDisplaySnapshotProvider>(std::make_shared<DisplayManager>(connection)),
        std::shared_ptr<BrightnessControlling>(SysfsBacklightController::forSystem(connection)),
        std::make_shared<GammaController>(GammaController::kStandardTableSize, connection),
        [](std::string_view text) { writeAll(STDOUT_FILENO, text); },
        [](std::string_view text) { writeAll(STDERR_FILENO, text); },
    };
}

QuorvaneCLI QuorvaneCLI::production() {
    return QuorvaneCLI(Environment::production());
}

}  // namespace quorvane
