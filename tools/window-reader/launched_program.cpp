#include "tools/window-reader/launched_program.h"

#include <stdexcept>
#include <thread>
#include <vector>

namespace lumaro::apptest {

namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<DialogSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) != L"#32770") return TRUE;  // the standard dialog class
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindProcessDialog(DWORD processId) {
    DialogSearch search{processId, nullptr};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowsPathOf(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) path.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
    return path;
}

LaunchedProgram::LaunchedProgram(const std::wstring& path) {
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        throw std::runtime_error("cannot start the program, error " +
                                 std::to_string(GetLastError()));
    }
    process_ = info.hProcess;
    thread_ = info.hThread;
    processId_ = info.dwProcessId;
}

LaunchedProgram::~LaunchedProgram() {
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, INFINITE);
    }
    CloseHandle(thread_);
    CloseHandle(process_);
}

std::optional<HWND> LaunchedProgram::WaitForDialog(std::chrono::milliseconds patience) const {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (HWND dialog = FindProcessDialog(processId_)) return dialog;
        if (WaitForSingleObject(process_, 0) != WAIT_TIMEOUT) return std::nullopt;
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(kPollInterval);
    }
}

bool LaunchedProgram::WaitForExit(std::chrono::milliseconds patience) const {
    return WaitForSingleObject(process_, static_cast<DWORD>(patience.count())) == WAIT_OBJECT_0;
}

}  // namespace lumaro::apptest
