// The tests that drive the real lumaro.exe: GoogleTest's own options first, then ours.

#include <gtest/gtest.h>

#include "tests/app/app_test_settings.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!lumaro::apptest::ReadSettings(argc, argv)) return 2;
    return RUN_ALL_TESTS();
}
