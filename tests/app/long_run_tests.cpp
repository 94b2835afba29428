// lumaro.exe searching again and again, read from outside its process: its handles,
// threads and memory stay flat. LUMARO_LONG_RUN_SEARCHES sets the number of clicks on the
// search button (default 20; the figures in README.md come from 200). Prints the figures
// at each tenth.

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/lumaro_session.h"

namespace lumaro::apptest {
namespace {

int SearchCount() {
    const char* text = std::getenv("LUMARO_LONG_RUN_SEARCHES");
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : 20;
}

struct ProcessFigures {
    DWORD handles = 0;
    std::size_t threads = 0;
    std::size_t privateBytes = 0;
    std::size_t workingSetBytes = 0;
};

std::size_t ThreadsOf(DWORD processId) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    std::size_t threads = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == processId) ++threads;
    }
    CloseHandle(snapshot);
    return threads;
}

// The handle table's entries of every process (NtQuerySystemInformation, class 16).
struct SystemHandleEntry {
    ULONG ownerProcessId;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};
struct SystemHandleTable {
    ULONG count;
    SystemHandleEntry entries[1];
};
constexpr ULONG kSystemHandleInformation = 16;

// GetProcessHandleCount, where it counts: Wine 8's answers 0 for every process, so there
// the entries of the system's handle table that the process owns are counted instead.
DWORD HandlesOf(HANDLE process, DWORD processId) {
    DWORD count = 0;
    if (GetProcessHandleCount(process, &count) && count > 0) return count;
    using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) return 0;
    std::vector<std::uint8_t> buffer(1 << 20);
    ULONG needed = 0;
    while (query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) {
        if (buffer.size() >= (64u << 20)) return 0;
        buffer.resize(buffer.size() * 2);
    }
    const auto* table = reinterpret_cast<const SystemHandleTable*>(buffer.data());
    for (ULONG i = 0; i < table->count; ++i) {
        if (table->entries[i].ownerProcessId == processId) ++count;
    }
    return count;
}

ProcessFigures Measure(const LaunchedProgram& program) {
    ProcessFigures figures;
    figures.handles = HandlesOf(program.Process(), program.ProcessId());
    figures.threads = ThreadsOf(program.ProcessId());
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(program.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        // The private commit; Wine fills PagefileUsage, not its copy PrivateUsage.
        figures.privateBytes = memory.PagefileUsage;
        figures.workingSetBytes = memory.WorkingSetSize;
    }
    return figures;
}

void Print(int searches, const ProcessFigures& f) {
    std::printf("searches %4d: handles %lu  threads %zu  private %.1f MiB  working set %.1f MiB\n",
                searches, f.handles, f.threads, f.privateBytes / 1048576.0,
                f.workingSetBytes / 1048576.0);
    std::fflush(stdout);
}

TEST(LumaroLongRun, SearchesLeaveHandlesThreadsAndMemoryFlat) {
    UseLan("three-unsorted.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const auto search = [&] {
        lumaro.Dialog().ClickButton(IDC_SEARCH_BUTTON);  // returns once the search has ended
        ASSERT_EQ(lumaro.List().RowCount(), 3);
    };
    search();  // the start-up search and one click: every lasting allocation is made
    const ProcessFigures start = Measure(lumaro.Program());
    Print(0, start);
    const int count = SearchCount();
    ProcessFigures end = start;
    for (int done = 1; done <= count; ++done) {
        search();
        if (done % std::max(count / 10, 1) == 0 || done == count) {
            end = Measure(lumaro.Program());
            Print(done, end);
        }
    }
    ASSERT_GT(start.handles, 0u) << "the handle count cannot be read";
    EXPECT_EQ(end.handles, start.handles);
    EXPECT_EQ(end.threads, start.threads);
    // The heap may round its pages; a leak of a socket's worth per search would show as
    // far more than this over the run.
    EXPECT_LE(end.privateBytes, start.privateBytes + 256 * 1024);
}

}  // namespace
}  // namespace lumaro::apptest
