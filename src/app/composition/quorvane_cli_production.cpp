#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "app/composition/standard_stream.hpp"
#include "cli/quorvane_cli.hpp"
#include "platform/linux/display_manager.hpp"
#include "platform/linux/gamma_controller.hpp"
#include "platform/linux/shared_x_connection.hpp"
#include "platform/linux/sysfs_backlight_controller.hpp"
#include "platform/linux/system_boot_clock.hpp"
#include "platform/linux/system_clock.hpp"
#include "platform/linux/system_sleeper.hpp"
#include "services/display/cli_display_snapshot_provider.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/merging_defaults_store.hpp"
#include "services/persistence/record_merge.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"

namespace quorvane {

namespace {

std::optional<std::string> displayEnvironmentVariable() {
    const char* value = std::getenv("DISPLAY");
    return value ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

QuorvaneCLI::Environment QuorvaneCLI::Environment::production() {
    // First, before anything opens a file on a descriptor left closed.
    auto output = std::make_shared<StandardStream>(STDOUT_FILENO);
    // Errors are reported where they can be; a failing standard error has
    // nowhere else to go.
    auto error = std::make_shared<StandardStream>(STDERR_FILENO);
    auto defaults = std::make_shared<FileDefaultsStore>(FileDefaultsStore::standardLocation());
    defaults->limitLockWait(FileDefaultsStore::kSharedLockWait, std::make_shared<SystemClock>(),
                            std::make_shared<SystemSleeper>());
    // The command's request and its write are dated on the line every
    // Quorvane process shares within the boot, which no clock step moves;
    // so is what it reads, whose stamp tells which displays a request asked
    // later than its own set while it waited for the lock.
    auto requestClock = systemRequestClock();
    defaults->setRequestClock(requestClock);
    // While the command holds the lock the record stays as it read it, and
    // its save writes its own record; a lock file removed or replaced under
    // it lets another writer in, and the save then lays the command's change
    // on that writer's record instead.
    const auto preferencesKey = UserDefaultsPreferencesStore::standardStorageKey();
    auto merging = std::make_shared<MergingDefaultsStore>(
        std::move(defaults),
        MergingDefaultsStore::Merges{{preferencesKey, RecordMerge::preferencesBytes}});
    // One X connection serves the whole command, and its loss ends it.
    auto connection =
        std::make_shared<SharedXConnection>(std::string(), SharedXConnection::AfterLoss::stayLost);
    return {
        std::make_shared<UserDefaultsPreferencesStore>(std::move(merging)),
        std::make_shared<CLIDisplaySnapshotProvider>(std::make_shared<DisplayManager>(connection)),
        std::shared_ptr<BrightnessControlling>(SysfsBacklightController::forSystem(connection)),
        std::make_shared<GammaController>(GammaController::kStandardTableSize, connection),
        [output](std::string_view text) { output->write(text); },
        [error](std::string_view text) { error->write(text); },
        [output] { return output->failure(); },
        displayEnvironmentVariable(),
        [requestClock] { return requestClock->now(); },
    };
}

QuorvaneCLI QuorvaneCLI::production() {
    return QuorvaneCLI(Environment::production());
}

}  // namespace quorvane
