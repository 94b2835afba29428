#include "tests/app/simulator_control.h"

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "sim/frame_log_line.h"
#include "tools/window-reader/launched_program.h"

namespace lumaro::apptest {

namespace {

// lumaro-sim looks at its directory every 20 ms; restarting the controllers takes a moment.
constexpr std::chrono::seconds kReplyPatience{30};
constexpr std::chrono::milliseconds kPollInterval{20};
constexpr std::chrono::seconds kRenamePatience{2};

}  // namespace

std::optional<SimulatorControl> SimulatorControl::FromEnvironment() {
    const char* directory = std::getenv("LUMARO_SIM_CONTROL");
    if (directory == nullptr || *directory == '\0') return std::nullopt;
    return SimulatorControl(directory);
}

std::string SimulatorControl::Load(const std::string& controllerFile) const {
    return Send("load " + controllerFile);
}

std::string SimulatorControl::ClearLog() const { return Send("clear-log"); }

std::string SimulatorControl::WaitUntilIdle() const { return Send("idle"); }

std::string SimulatorControl::SetBehaviour(std::uint32_t serial,
                                           const std::string& behaviour) const {
    return Send("behaviour " + std::to_string(serial) + " " + behaviour);
}

std::optional<std::string> SimulatorControl::LogPath() {
    const char* path = std::getenv("LUMARO_SIM_LOG");
    if (path == nullptr || *path == '\0') return std::nullopt;
    return std::string(path);
}

std::vector<sim::ReceivedFrame> SimulatorControl::ReadFrameLog(
    const std::string& logPath, std::chrono::steady_clock::time_point simStart,
    std::optional<std::uint32_t> serial) {
    std::vector<sim::ReceivedFrame> frames;
    std::ifstream log(std::filesystem::path(WindowsPathOf(logPath)), std::ios::binary);
    for (std::string line; std::getline(log, line);) {
        auto frame = sim::ParseFrameLogLine(line, simStart);
        if (!frame) continue;
        if (!serial || frame->controllerSerial == *serial) frames.push_back(std::move(*frame));
    }
    return frames;
}

std::string SimulatorControl::Send(const std::string& command) const {
    const std::wstring directory = WindowsPathOf(directory_);
    const std::wstring reply = directory + L"\\reply";
    const std::wstring pending = directory + L"\\command.tmp";
    DeleteFileW(reply.c_str());
    {
        std::ofstream out(std::filesystem::path(pending), std::ios::binary | std::ios::trunc);
        out << command << '\n';
        if (!out) return "error cannot write " + directory_ + "/command.tmp";
    }
    // Renamed into place, so the simulator never reads half a command. Wine's rename on
    // the Z: drive once failed with error 8 (not enough memory) in a busy CI run, with
    // nothing holding either file, so a failure is tried again for a moment before it counts.
    // A failed try may still have moved the file (a later try then finds no command.tmp):
    // the command is in place, and the reply tells whether the simulator took it.
    const std::wstring commandPath = directory + L"\\command";
    const auto renameDeadline = std::chrono::steady_clock::now() + kRenamePatience;
    std::optional<DWORD> firstError;
    while (!MoveFileExW(pending.c_str(), commandPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        if (firstError && error == ERROR_FILE_NOT_FOUND &&
            GetFileAttributesW(pending.c_str()) == INVALID_FILE_ATTRIBUTES) {
            break;
        }
        if (!firstError) firstError = error;
        if (std::chrono::steady_clock::now() >= renameDeadline) {
            return "error cannot rename the command, error " + std::to_string(error) +
                   " (first " + std::to_string(*firstError) + ")";
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    const auto deadline = std::chrono::steady_clock::now() + kReplyPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(std::filesystem::path(reply), std::ios::binary);
        if (in) {
            std::string line;
            std::getline(in, line);
            in.close();
            DeleteFileW(reply.c_str());
            return line;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return "error no reply to \"" + command + "\"";
}

}  // namespace lumaro::apptest
