// Every program the application starts execs with the quit signals
// unblocked.
//
// They are blocked in every thread of the application (QuitSignalIntake),
// and a blocked mask outlives exec. A child made by fork() unblocks them at
// once, but a library may put back the mask its thread had before it forked:
// libdbus does, as it starts the session bus where none is given
// (dbus-launch, and the bus daemon that outlives the application), which
// would then ignore SIGTERM for good. So the exec calls the libraries make
// unblock them last: these stand in for the C library's (the program's own
// definitions come first for every library it loads) and go on to its own,
// found before main() runs, as nothing but async-signal-safe calls may run
// in a child of a program with threads.

#include <dlfcn.h>
#include <unistd.h>

#include "app/shell/quit_signals.hpp"

namespace {

template <typename Call>
Call cLibrarys(const char* name) {
    return reinterpret_cast<Call>(::dlsym(RTLD_NEXT, name));
}

using Execve = int (*)(const char*, char* const[], char* const[]);
using Execv = int (*)(const char*, char* const[]);

const Execve cExecve = cLibrarys<Execve>("execve");
const Execv cExecv = cLibrarys<Execv>("execv");
const Execv cExecvp = cLibrarys<Execv>("execvp");
const Execve cExecvpe = cLibrarys<Execve>("execvpe");

}  // namespace

extern "C" {

int execve(const char* path, char* const argv[], char* const envp[]) noexcept {
    quorvane::unblockQuitSignals();
    return cExecve(path, argv, envp);
}

int execv(const char* path, char* const argv[]) noexcept {
    quorvane::unblockQuitSignals();
    return cExecv(path, argv);
}

int execvp(const char* file, char* const argv[]) noexcept {
    quorvane::unblockQuitSignals();
    return cExecvp(file, argv);
}

int execvpe(const char* file, char* const argv[], char* const envp[]) noexcept {
    quorvane::unblockQuitSignals();
    return cExecvpe(file, argv, envp);
}

}  // extern "C"
