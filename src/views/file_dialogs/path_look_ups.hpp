#pragma once

#include <filesystem>
#include <functional>
#include <memory>

namespace quorvane {

// Asks the file system about the paths a file dialog is given, each on a
// thread of its own (named "path look-up"), and tells the number of each
// question once the file system has answered it. A look-up on a mount that
// stopped answering waits in the kernel until the mount answers (for good
// on a dead one), holding its thread; so few run at once. A look-up walks
// its path from the root down, and a path whose way leads through the
// place a running look-up stands on would only wait there too: it is held
// as the one question pending (a newer one replaces it, as a name typed
// letter by letter asks about its newest text alone) until no running
// look-up stands on its way any more, or one ends. A path elsewhere (a
// name on a disk that answers) is asked at once. At most kMostRunning run
// at once.
class PathLookUps {
  public:
    static constexpr std::size_t kMostRunning = 3;

    // `answered` is told each question answered, on the thread that asked
    // the file system, while this lives.
    explicit PathLookUps(std::function<void(unsigned question)> answered);
    // An answer that comes later is dropped; a question pending is never
    // asked.
    ~PathLookUps();
    PathLookUps(const PathLookUps&) = delete;
    PathLookUps& operator=(const PathLookUps&) = delete;

    // Asks about `path` (absolute) as question `question`: at once, or
    // once its way is free.
    void ask(unsigned question, std::filesystem::path path);

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace quorvane
