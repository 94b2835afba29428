// window-reader: a tool that starts lumaro.exe as a user would and reports, from outside the
// program, what its window shows. Used by scripts/demo.sh and the end-to-end test.
//
//   window-reader PROGRAM.exe [--one-click SERIAL] [--report FILE] [--geometry FILE]
//                 [--hold FILE] [--close]
//
// Waits for the program's dialog (it appears once the start-up search has ended); with
// --one-click clicks the row of that serial and then the one-click button, as a user would,
// and waits until the procedure has ended; then writes
// FILE (UTF-8): a line "caption<TAB>text", then one line "row<TAB>col0<TAB>...<TAB>col6"
// per row of the controller list. --geometry FILE: where on the screen a person looks for
// what the report says, one "NAME<TAB>X<TAB>Y<TAB>WIDTH<TAB>HEIGHT" line each: "caption" (the
// window's caption bar), "row" for each row of the list, and "empty" (one row's height of
// the list below the last row). With --hold it then waits until the file given there
// exists (a script takes its screenshot meanwhile). With --close it closes the window as
// its close box does; otherwise it waits until the user has closed it. Exit code 0 when
// the dialog appeared and the program ended.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/shell/utf8_win32.h"
#include "resources/resource.h"
#include "tools/window-reader/dialog_driver.h"
#include "tools/window-reader/launched_program.h"
#include "tools/window-reader/wine_desktop.h"

namespace lumaro::apptest {
namespace {

constexpr std::chrono::minutes kHoldPatience{5};

struct ProbeOptions {
    std::wstring program;
    std::wstring reportFile;
    std::wstring geometryFile;
    std::wstring holdFile;
    std::wstring oneClickSerial;
    bool close = false;
};

std::string Report(const DialogDriver& dialog) {
    std::string report = "caption\t";
    report += platform::Utf8FromWide(dialog.Caption());
    report += "\n";
    const ListViewDriver list = dialog.List(IDC_CONTROLLER_LIST);
    for (int row = 0; row < list.RowCount(); ++row) {
        report += "row";
        for (const std::wstring& cell : list.RowTexts(row)) {
            report += "\t";
            report += platform::Utf8FromWide(cell);
        }
        report += "\n";
    }
    return report;
}

std::string GeometryLine(const char* name, const RECT& screen) {
    return std::string(name) + "\t" + std::to_string(screen.left) + "\t" +
           std::to_string(screen.top) + "\t" + std::to_string(screen.right - screen.left) + "\t" +
           std::to_string(screen.bottom - screen.top) + "\n";
}

// A rectangle of `window`'s client area on the screen.
RECT OnScreen(HWND window, RECT rect) {
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Geometry(const DialogDriver& dialog) {
    RECT window{}, client{};
    GetWindowRect(dialog.Handle(), &window);
    GetClientRect(dialog.Handle(), &client);
    client = OnScreen(dialog.Handle(), client);
    // The caption bar: the frame above the client area, without its outer border.
    const int border = client.left - window.left;
    std::string geometry = GeometryLine(
        "caption", RECT{window.left + border, window.top + border, window.right - border,
                        client.top});
    const ListViewDriver list = dialog.List(IDC_CONTROLLER_LIST);
    const HWND listWindow = dialog.Control(IDC_CONTROLLER_LIST);
    RECT below{};
    for (int row = 0; row < list.RowCount(); ++row) {
        const RECT rect = OnScreen(listWindow, list.RowRect(row));
        geometry += GeometryLine("row", rect);
        below = rect;
    }
    if (list.RowCount() > 0) {
        const int height = below.bottom - below.top;
        below.top = below.bottom;
        below.bottom += height;
        geometry += GeometryLine("empty", below);
    }
    return geometry;
}

// Written beside its place and renamed, so that a waiting script never reads half of it.
bool WriteReport(const std::wstring& path, const std::string& report) {
    const std::filesystem::path target(path);
    std::filesystem::path pending = target;
    pending += L".tmp";
    {
        std::ofstream out(pending, std::ios::binary | std::ios::trunc);
        out << report;
        if (!out) return false;
    }
    std::error_code error;
    std::filesystem::rename(pending, target, error);
    return !error;
}

// Clicks the row of `serial` and the one-click button; false when no row shows the serial.
bool OneClick(const DialogDriver& dialog, const std::wstring& serial) {
    const ListViewDriver list = dialog.List(IDC_CONTROLLER_LIST);
    for (int row = 0; row < list.RowCount(); ++row) {
        if (list.CellText(row, 0) != serial) continue;
        list.ClickRow(row);
        dialog.ClickButton(IDC_QUICK_ENABLE_BUTTON);  // returns when the procedure has ended
        return true;
    }
    return false;
}

bool WaitForFile(const std::wstring& path) {
    const auto deadline = std::chrono::steady_clock::now() + kHoldPatience;
    while (!std::filesystem::exists(std::filesystem::path(path))) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::optional<ProbeOptions> ReadOptions(const std::vector<std::wstring>& arguments) {
    ProbeOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == L"--report" && hasValue) {
            options.reportFile = arguments[++i];
        } else if (argument == L"--geometry" && hasValue) {
            options.geometryFile = arguments[++i];
        } else if (argument == L"--hold" && hasValue) {
            options.holdFile = arguments[++i];
        } else if (argument == L"--one-click" && hasValue) {
            options.oneClickSerial = arguments[++i];
        } else if (argument == L"--close") {
            options.close = true;
        } else if (options.program.empty() && !argument.starts_with(L"--")) {
            options.program = argument;
        } else {
            return std::nullopt;
        }
    }
    if (options.program.empty()) return std::nullopt;
    return options;
}

int Probe(const ProbeOptions& options) {
    const LaunchedProgram program(options.program);
    const auto window = program.WaitForDialog(kStartPatience);
    if (!window) {
        std::fprintf(stderr, "window-reader: the program showed no dialog: %s\n",
                     program.WhyNoDialog().c_str());
        return 1;
    }
    const DialogDriver dialog(*window, program.Process());
    if (!options.oneClickSerial.empty() && !OneClick(dialog, options.oneClickSerial)) {
        std::fprintf(stderr, "window-reader: no controller %ls in the list\n",
                     options.oneClickSerial.c_str());
        return 1;
    }
    // Painted before it is reported, so that a screenshot taken then shows it whole.
    RedrawWindow(*window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::string report = Report(dialog);
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
    // The geometry first: a script that waits for the report finds both.
    if (!options.geometryFile.empty() && !WriteReport(options.geometryFile, Geometry(dialog))) {
        std::fprintf(stderr, "window-reader: cannot write the geometry\n");
        return 1;
    }
    if (!options.reportFile.empty() && !WriteReport(options.reportFile, report)) {
        std::fprintf(stderr, "window-reader: cannot write the report\n");
        return 1;
    }
    if (!options.holdFile.empty() && !WaitForFile(options.holdFile)) {
        std::fprintf(stderr, "window-reader: nobody released the hold\n");
        return 1;
    }
    if (options.close) {
        dialog.PostClose();
        if (!program.WaitForExit(kExitPatience)) {
            std::fprintf(stderr, "window-reader: the program did not end when closed\n");
            return 1;
        }
        return 0;
    }
    WaitForSingleObject(program.Process(), INFINITE);  // until the user closes it
    return 0;
}

}  // namespace
}  // namespace lumaro::apptest

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    const auto options = lumaro::apptest::ReadOptions(arguments);
    if (!options) {
        std::fputs("usage: window-reader PROGRAM.exe [--one-click SERIAL] [--report FILE] "
                   "[--geometry FILE] [--hold FILE] [--close]\n",
                   stderr);
        return 2;
    }
    try {
        lumaro::apptest::StartWineDesktop(lumaro::apptest::kStartPatience);
        return lumaro::apptest::Probe(*options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "window-reader: %s\n", error.what());
        return 1;
    }
}
