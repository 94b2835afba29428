#pragma once
// A program that a test starts as a user would (CreateProcess), and whose main dialog it
// then finds among the desktop's windows. Whatever still runs when the object goes is
// ended.

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumaro::apptest {

// How a program is started besides its path: variables that replace or join those of the
// environment it inherits (under Wine, WINEDEBUG too: the program's traces then join the
// test's standard error).
struct LaunchOptions {
    std::vector<std::pair<std::wstring, std::wstring>> environment;
    std::wstring arguments = {};  // the command line after the program's path
};

class LaunchedProgram {
public:
    // Starts `path` (with the options' arguments); throws when it cannot be started.
    explicit LaunchedProgram(const std::wstring& path, const LaunchOptions& options = {});
    ~LaunchedProgram();
    LaunchedProgram(const LaunchedProgram&) = delete;
    LaunchedProgram& operator=(const LaunchedProgram&) = delete;

    HANDLE Process() const { return process_; }
    DWORD ProcessId() const { return processId_; }

    // The program's visible top-level dialog, once it has one; nothing when the program
    // ended or the time ran out first.
    std::optional<HWND> WaitForDialog(std::chrono::milliseconds patience) const;
    // true when the program ended within `patience`.
    bool WaitForExit(std::chrono::milliseconds patience) const;
    // Why no dialog came, for a failure's message: "it ended with status 0xC0000005" or
    // "it was still running".
    std::string WhyNoDialog() const;

private:
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD processId_ = 0;
};

// A visible top-level dialog of the process; nullptr when it has none.
HWND FindProcessDialog(DWORD processId);
// Every visible top-level dialog of the process (its main dialog, message boxes).
std::vector<HWND> ProcessDialogs(DWORD processId);

// A Unix path as Wine's Z: drive shows it.
std::wstring WindowsPathOf(const std::string& unixPath);

// How long a test lets the program take to start, search and show its dialog. Generous:
// Wine's first start in a fresh prefix is slow, and the search itself waits on sockets.
constexpr std::chrono::seconds kStartPatience{120};
// How long ending the dialog may take.
constexpr std::chrono::seconds kExitPatience{30};

}  // namespace lumaro::apptest
