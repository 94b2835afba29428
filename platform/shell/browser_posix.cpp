#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/shell/browser.h"

namespace lumaro::platform {

namespace {

// A shell that starts xdg-open in the background and ends at once: xdg-open may wait for
// the browser it starts, and as the shell's orphan it is nobody's child to wait for here
// (no zombie is left behind). The shell's status says whether xdg-open could be found.
constexpr char kStartInBackground[] =
    "command -v xdg-open >/dev/null 2>&1 || exit 127\n"
    "xdg-open \"$1\" </dev/null >/dev/null 2>&1 &\n";

}  // namespace

bool OpenInBrowser(const std::string& pageAddress) {
    // posix_spawn, not fork: this may be a process with several threads, where a forked
    // child may call nothing but async-signal-safe functions.
    char shell[] = "/bin/sh", dashC[] = "-c", name[] = "lumaro-open";
    char* const arguments[] = {shell, dashC, const_cast<char*>(kStartInBackground), name,
                               const_cast<char*>(pageAddress.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, shell, nullptr, nullptr, arguments, environ) != 0) return false;
    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    // Where SIGCHLD is ignored the system reaps the shell itself (ECHILD): it was started.
    if (waited < 0) return errno == ECHILD;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace lumaro::platform
