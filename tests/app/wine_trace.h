#pragma once
// Wine's traces of the programs that a test starts with WINEDEBUG set: what they wrote to
// standard error (scripts/app-test.sh keeps it in LUMARO_WINE_ERRORS), and the calls that
// the relay trace (WINEDEBUG=+pid,+relay) shows of the functions it was limited to.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumaro::apptest {

// What Wine's processes have written to standard error so far.
std::string WineErrors();

// Where a program's own code lies once loaded: its image at the base it asks for, where
// Wine loads it.
struct CodeRange {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
};
// The image of the program file at this Unix path; throws when it is no 64-bit program.
CodeRange ProgramImage(const std::string& unixPath);

// One call of a traced function.
struct RelayCall {
    DWORD process = 0;
    DWORD thread = 0;
    std::string function;               // without its module: "timeBeginPeriod"
    std::string arguments;              // as traced, hexadecimal: "00000001"
    std::optional<std::string> result;  // the traced return value, once it has returned
    std::string callLine;               // the trace's lines, for people to read
    std::string returnLine;
};

// The calls that the code in `image` of `process` made, in order: calls that the system's
// own libraries make (inside a traced call, or on their own) are left out.
std::vector<RelayCall> RelayCalls(const std::string& trace, DWORD process, CodeRange image);

// The function names of `calls`, in order.
std::vector<std::string> FunctionNames(const std::vector<RelayCall>& calls);

// Limits Wine's relay trace to the given functions ("module.function;...") for the programs
// started while the object lives (HKCU\Software\Wine\Debug, RelayInclude).
class RelayInclude {
public:
    explicit RelayInclude(const std::wstring& functions);
    ~RelayInclude();
    RelayInclude(const RelayInclude&) = delete;
    RelayInclude& operator=(const RelayInclude&) = delete;
};

}  // namespace lumaro::apptest
