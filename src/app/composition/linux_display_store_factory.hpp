#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/interfaces/scheduler.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

// The display store as the application runs it: every collaborator is the
// Linux conformer of its service, and the three records live in the user's
// defaults folder.
struct LinuxDisplayStoreFactory {
    struct Environment {
        // The application's main loop (the Qt event loop in the windowed
        // application, a ThreadScheduler in tests); the store and every press,
        // timer and background result run on the thread that runs it.
        std::shared_ptr<Scheduler> scheduler;
        // The X server; "" means $DISPLAY.
        std::string displayName;
        std::filesystem::path defaultsFolder;
        // Where ICC display profiles are looked for.
        std::vector<std::filesystem::path> profileDirectories;
    };

    // The write queue, snapshot builder and refresh collector are left for
    // the store to build over the others.
    static DisplayStoreCollaborators collaborators(const Environment& environment);
    // Must be called on the thread that runs the scheduler.
    static std::unique_ptr<DisplayStore> make(const Environment& environment);
};

}  // namespace quorvane
