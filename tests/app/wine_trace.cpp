#include "tests/app/wine_trace.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>

#include "tools/window-reader/launched_program.h"

namespace lumaro::apptest {

namespace {

constexpr wchar_t kDebugKey[] = L"Software\\Wine\\Debug";
constexpr wchar_t kRelayInclude[] = L"RelayInclude";

// "00d4:00d8:Call winmm.timeBeginPeriod(00000001) ret=140045e6f" and
// "00d4:00d8:Ret  winmm.timeBeginPeriod() retval=00000000 ret=140045e6f".
struct TraceLine {
    DWORD process = 0;
    DWORD thread = 0;
    bool call = false;
    std::string function;
    std::string arguments;
    std::string result;
    std::uint64_t returnAddress = 0;
};

std::optional<TraceLine> ParseLine(const std::string& line) {
    if (line.size() < 15 || line[4] != ':' || line[9] != ':') return std::nullopt;
    TraceLine parsed;
    parsed.process = std::strtoul(line.substr(0, 4).c_str(), nullptr, 16);
    parsed.thread = std::strtoul(line.substr(5, 4).c_str(), nullptr, 16);
    const std::string rest = line.substr(10);
    if (rest.starts_with("Call ")) {
        parsed.call = true;
    } else if (!rest.starts_with("Ret  ")) {
        return std::nullopt;
    }
    const std::size_t name = 5;
    const std::size_t open = rest.find('(', name);
    const std::size_t close = rest.find(')', open);
    const std::size_t dot = rest.rfind('.', open);
    if (open == std::string::npos || close == std::string::npos || dot == std::string::npos ||
        dot < name || rest.find(' ', name) < open) {
        return std::nullopt;  // a window procedure or DLL entry, not a function of a module
    }
    parsed.function = rest.substr(dot + 1, open - dot - 1);
    parsed.arguments = rest.substr(open + 1, close - open - 1);
    if (const std::size_t value = rest.find("retval=", close); value != std::string::npos) {
        parsed.result = rest.substr(value + 7, rest.find(' ', value) - value - 7);
    }
    if (const std::size_t from = rest.find(" ret=", close); from != std::string::npos) {
        parsed.returnAddress = std::strtoull(rest.c_str() + from + 5, nullptr, 16);
    }
    return parsed;
}

}  // namespace

std::string WineErrors() {
    const char* path = std::getenv("LUMARO_WINE_ERRORS");
    if (path == nullptr) {
        throw std::runtime_error("no LUMARO_WINE_ERRORS: run through scripts/app-test.sh");
    }
    std::ifstream in(std::filesystem::path(WindowsPathOf(path)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

CodeRange ProgramImage(const std::string& unixPath) {
    std::ifstream in(std::filesystem::path(WindowsPathOf(unixPath)), std::ios::binary);
    IMAGE_DOS_HEADER dos{};
    in.read(reinterpret_cast<char*>(&dos), sizeof dos);
    IMAGE_NT_HEADERS64 headers{};
    in.seekg(dos.e_lfanew);
    in.read(reinterpret_cast<char*>(&headers), sizeof headers);
    if (!in || dos.e_magic != IMAGE_DOS_SIGNATURE || headers.Signature != IMAGE_NT_SIGNATURE ||
        headers.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        throw std::runtime_error(unixPath + " is no 64-bit program");
    }
    const std::uint64_t base = headers.OptionalHeader.ImageBase;
    return {base, base + headers.OptionalHeader.SizeOfImage};
}

std::vector<RelayCall> RelayCalls(const std::string& trace, DWORD process, CodeRange image) {
    std::vector<RelayCall> calls;
    std::map<DWORD, std::vector<std::optional<std::size_t>>> open;  // per thread: kept or not
    std::istringstream lines(trace);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto parsed = ParseLine(line);
        if (!parsed || parsed->process != process) continue;
        auto& stack = open[parsed->thread];
        if (parsed->call) {
            std::optional<std::size_t> kept;
            const bool fromProgram = parsed->returnAddress >= image.begin &&
                                     parsed->returnAddress < image.end;
            if (stack.empty() && fromProgram) {
                kept = calls.size();
                calls.push_back({parsed->process, parsed->thread, parsed->function,
                                 parsed->arguments, std::nullopt, line, ""});
            }
            stack.push_back(kept);
        } else if (!stack.empty()) {
            if (const auto kept = stack.back()) {
                calls[*kept].result = parsed->result;
                calls[*kept].returnLine = line;
            }
            stack.pop_back();
        }
    }
    return calls;
}

std::vector<std::string> FunctionNames(const std::vector<RelayCall>& calls) {
    std::vector<std::string> names;
    for (const RelayCall& call : calls) names.push_back(call.function);
    return names;
}

RelayInclude::RelayInclude(const std::wstring& functions) {
    const auto bytes = static_cast<DWORD>((functions.size() + 1) * sizeof(wchar_t));
    if (RegSetKeyValueW(HKEY_CURRENT_USER, kDebugKey, kRelayInclude, REG_SZ, functions.c_str(),
                        bytes) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot limit Wine's relay trace");
    }
}

RelayInclude::~RelayInclude() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kDebugKey, kRelayInclude); }

}  // namespace lumaro::apptest
