// The tests that drive the real lumaro.exe: GoogleTest's own options first, then ours.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/app/app_test_settings.h"

int main(int argc, char** argv) {
    // Window positions and sizes in real pixels, as the DPI-aware lumaro.exe sees them,
    // whatever the display's DPI.
    SetProcessDPIAware();
    testing::InitGoogleTest(&argc, argv);
    if (!lumaro::apptest::ReadSettings(argc, argv)) return 2;
    return RUN_ALL_TESTS();
}
