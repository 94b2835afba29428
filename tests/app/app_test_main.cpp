// The tests that drive the real lumaro.exe: GoogleTest's own options first, then ours.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <exception>

#include "tests/app/app_test_settings.h"
#include "tools/window-reader/launched_program.h"
#include "tools/window-reader/wine_desktop.h"

int main(int argc, char** argv) {
    try {  // before anything below needs the desktop's window
        lumaro::apptest::StartWineDesktop(lumaro::apptest::kStartPatience);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    // Window positions and sizes in real pixels, as the DPI-aware lumaro.exe sees them,
    // whatever the display's DPI.
    SetProcessDPIAware();
    testing::InitGoogleTest(&argc, argv);
    if (!lumaro::apptest::ReadSettings(argc, argv)) return 2;
    return RUN_ALL_TESTS();
}
