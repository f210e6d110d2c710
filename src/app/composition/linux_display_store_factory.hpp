#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/interfaces/scheduler.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/background_defaults_writer.hpp"
#include "services/persistence/defaults_store.hpp"

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
    // The user's defaults in `defaultsFolder` as the application keeps them:
    // written by one background writer, so a change reaches the screen
    // without waiting for the disk. The command line saves the records too
    // while the application runs: each save puts only the application's own
    // changes on the record the file holds then. A write that failed is
    // tried again after a back-off on `retryScheduler`, when one is given;
    // one refused for want of room also as soon as the folder's disk has it.
    // A write waits for the settings lock at most as long as a command does.
    // Requests are dated by `requestClock` (the system's when none is given).
    static std::shared_ptr<BackgroundDefaultsWriter> recordWriter(
        const std::filesystem::path& defaultsFolder,
        std::shared_ptr<Scheduler> retryScheduler = nullptr,
        std::shared_ptr<const RequestClock> requestClock = nullptr);
    // The same over a file store already made, with its own lock wait.
    static std::shared_ptr<BackgroundDefaultsWriter> recordWriter(
        std::shared_ptr<FileDefaultsStore> files,
        std::shared_ptr<Scheduler> retryScheduler = nullptr);
    // The file names of the store's records in the defaults folder, for
    // telling the store which of them changed.
    static std::map<std::string, DisplayStoreRecord> recordFileNames();
    // Must be called on the thread that runs the scheduler.
    static std::unique_ptr<DisplayStore> make(const Environment& environment);
};

}  // namespace quorvane
