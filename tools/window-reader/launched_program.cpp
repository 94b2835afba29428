#include "tools/window-reader/launched_program.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <cwchar>
#include <stdexcept>
#include <thread>
#include <vector>

namespace lumaro::apptest {

namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

struct DialogSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<DialogSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) != L"#32770") return TRUE;  // the standard dialog class
    search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> ProcessDialogs(DWORD processId) {
    DialogSearch search{processId, {}};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindProcessDialog(DWORD processId) {
    const std::vector<HWND> dialogs = ProcessDialogs(processId);
    return dialogs.empty() ? nullptr : dialogs.front();
}

std::wstring WindowsPathOf(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) path.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
    return path;
}

namespace {

// Our environment with the given variables replaced or added, as CreateProcessW takes it:
// "NAME=value" strings, each ended by a null, and one more null at the end.
std::wstring EnvironmentBlock(const std::vector<std::pair<std::wstring, std::wstring>>& changes) {
    std::wstring block;
    wchar_t* inherited = GetEnvironmentStringsW();
    for (const wchar_t* entry = inherited; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring text(entry);
        const auto changed = [&](const auto& change) {
            return CompareStringOrdinal(text.c_str(), static_cast<int>(change.first.size()),
                                        change.first.c_str(), static_cast<int>(change.first.size()),
                                        TRUE) == CSTR_EQUAL &&
                   text.size() > change.first.size() && text[change.first.size()] == L'=';
        };
        if (std::none_of(changes.begin(), changes.end(), changed)) block += text + L'\0';
    }
    FreeEnvironmentStringsW(inherited);
    for (const auto& [name, value] : changes) block += name + L'=' + value + L'\0';
    block += L'\0';
    return block;
}

// What a start that failed leaves to go on: every process running now with its threads, and
// the process of the desktop's window. (Under Wine, error 1359 is a new process that ended
// before it reported its start: a previous program still ending, or a desktop without its
// process, shows here.)
// A Toolhelp snapshot, closed when it goes.
class Snapshot {
public:
    explicit Snapshot(DWORD what) : handle_(CreateToolhelp32Snapshot(what, 0)) {}
    ~Snapshot() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    bool Taken() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

std::string ProcessesNow() {
    std::map<DWORD, int> threads;
    const Snapshot threadList(TH32CS_SNAPTHREAD);
    if (threadList.Taken()) {
        THREADENTRY32 thread{};
        thread.dwSize = sizeof thread;
        for (BOOL more = Thread32First(threadList.Get(), &thread); more;
             more = Thread32Next(threadList.Get(), &thread)) {
            ++threads[thread.th32OwnerProcessID];
        }
    }
    std::string text = "processes now:";
    const Snapshot processList(TH32CS_SNAPPROCESS);
    if (processList.Taken()) {
        PROCESSENTRY32W process{};
        process.dwSize = sizeof process;
        for (BOOL more = Process32FirstW(processList.Get(), &process); more;
             more = Process32NextW(processList.Get(), &process)) {
            std::string name;
            for (const wchar_t* c = process.szExeFile; *c != L'\0'; ++c) {
                name.push_back(*c < 128 ? static_cast<char>(*c) : '?');
            }
            text += " " + name + " (" + std::to_string(process.th32ProcessID) + ", " +
                    std::to_string(threads[process.th32ProcessID]) + " threads)";
        }
    }
    DWORD desktopOwner = 0;
    GetWindowThreadProcessId(GetDesktopWindow(), &desktopOwner);
    return text + "; the desktop's window belongs to process " + std::to_string(desktopOwner);
}

}  // namespace

LaunchedProgram::LaunchedProgram(const std::wstring& path, const LaunchOptions& options) {
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!options.arguments.empty()) commandLine += L" " + options.arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring environment;
    if (!options.environment.empty()) environment = EnvironmentBlock(options.environment);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT,
                        environment.empty() ? nullptr : environment.data(), nullptr, &startup,
                        &info)) {
        const DWORD error = GetLastError();
        throw std::runtime_error("cannot start the program, error " + std::to_string(error) +
                                 "; " + ProcessesNow());
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

std::string LaunchedProgram::WhyNoDialog() const {
    DWORD status = 0;
    if (!GetExitCodeProcess(process_, &status)) return "its state is unknown";
    if (status == STILL_ACTIVE) return "it was still running";
    char text[64];
    std::snprintf(text, sizeof text, "it ended with status 0x%08lX",
                  static_cast<unsigned long>(status));
    return text;
}

bool LaunchedProgram::WaitForExit(std::chrono::milliseconds patience) const {
    return WaitForSingleObject(process_, static_cast<DWORD>(patience.count())) == WAIT_OBJECT_0;
}

}  // namespace lumaro::apptest
