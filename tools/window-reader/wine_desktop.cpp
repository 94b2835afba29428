#include "tools/window-reader/wine_desktop.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "tools/window-reader/running_under_wine.h"

namespace lumaro::apptest {

namespace {

std::wstring ObjectName(HANDLE object) {
    wchar_t name[256] = {};
    DWORD needed = 0;
    if (!GetUserObjectInformationW(object, UOI_NAME, name, sizeof name, &needed)) return {};
    return name;
}

// "WinSta0\Default": the window station and desktop of this thread, which the desktop's
// process is to serve (a program started inside another Wine desktop stays in it).
std::wstring ThisDesktop() {
    const std::wstring station = ObjectName(GetProcessWindowStation());
    const std::wstring desktop = ObjectName(GetThreadDesktop(GetCurrentThreadId()));
    if (station.empty() || desktop.empty()) return {};
    return station + L"\\" + desktop;
}

// How long one desktop process may take to be ready: usually well under a second, tens of
// seconds on a busy machine. One that takes longer is taken for stuck and started anew.
constexpr std::chrono::seconds kOneStartPatience{40};

enum class DesktopStart { Ready, NotReady };

DesktopStart StartDesktopProcess(std::chrono::milliseconds patience) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring program = std::wstring(system) + L"\\explorer.exe";
    std::wstring commandLine = L"\"" + program + L"\" /desktop";
    std::wstring desktop = ThisDesktop();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.empty() ? nullptr : desktop.data();
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        DETACHED_PROCESS, nullptr, system, &startup, &info)) {
        throw std::runtime_error("cannot start Wine's desktop, error " +
                                 std::to_string(GetLastError()));
    }
    // When the desktop already has its process, the new one ends at once: nothing to wait
    // for. Otherwise it is ready when it waits for its first message.
    const DWORD waited = WaitForInputIdle(info.hProcess, static_cast<DWORD>(patience.count()));
    if (waited == WAIT_TIMEOUT) {
        // Its windows, the desktop's among them, go with it: the next one starts afresh.
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 10000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return waited == WAIT_TIMEOUT ? DesktopStart::NotReady : DesktopStart::Ready;
}

}  // namespace

void StartWineDesktop(std::chrono::milliseconds patience) {
    if (!RunningUnderWine()) return;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const auto wait = std::min<std::chrono::milliseconds>(left, kOneStartPatience);
        if (wait.count() <= 0) break;
        if (StartDesktopProcess(wait) == DesktopStart::Ready) return;
        std::fprintf(stderr, "Wine's desktop was not ready within %lld s; starting it again\n",
                     static_cast<long long>(wait.count() / 1000));
    }
    throw std::runtime_error("Wine's desktop was not ready within " +
                             std::to_string(patience.count() / 1000) + " s");
}

}  // namespace lumaro::apptest
