#include "tests/app/screen_picture.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tools/window-reader/launched_program.h"
#include "tests/app/wait_until.h"

namespace lumaro::apptest {

namespace {

// Wine hands a window's drawing to the X server a moment after it was painted.
constexpr std::chrono::milliseconds kSettle{300};

}  // namespace

std::string PictureDirectory() {
    const char* directory = std::getenv("LUMARO_WINE_SHOTS");
    return directory == nullptr ? std::string() : std::string(directory);
}

bool SaveScreenPicture(HWND window, const std::string& name) {
    const std::string directory = PictureDirectory();
    if (directory.empty()) return false;
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::this_thread::sleep_for(kSettle);
    RECT rect{};
    GetWindowRect(window, &rect);

    // The request goes to this run's own folder, the picture to the shared one.
    const char* requests = std::getenv("LUMARO_WINE_SHOT_REQUESTS");
    const std::filesystem::path folder(WindowsPathOf(requests != nullptr ? requests : directory));
    const std::filesystem::path done = folder / L"shot.done";
    std::error_code ignored;
    std::filesystem::remove(done, ignored);
    {
        std::ofstream request(folder / L"shot.request.tmp", std::ios::trunc);
        request << name << ' ' << rect.left << ' ' << rect.top << ' ' << rect.right - rect.left
                << ' ' << rect.bottom - rect.top << '\n';
        if (!request) return false;
    }
    std::filesystem::rename(folder / L"shot.request.tmp", folder / L"shot.request", ignored);
    if (ignored) return false;
    return WaitUntil([&] { return std::filesystem::exists(done); });
}

}  // namespace lumaro::apptest
