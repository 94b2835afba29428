// The data-safety comparison of controller images.

#include <gtest/gtest.h>

#include "tests/controller_images.h"

namespace lumaro::testing {
namespace {

ControllerImages TwoControllers() {
    ImageBytes image{};
    image[0] = 10;  // frame byte 20
    return {{100, image}, {200, image}};
}

TEST(ControllerImages, ReportEveryByteChangedOutsideWhatTheOperationWrites) {
    struct Case {
        const char* what;
        std::function<void(ControllerImages&)> change;
        AllowedChanges allowed;
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        {"nothing changed", [](ControllerImages&) {}, {}, {}},
        {"a written byte of the addressed controller",
         [](ControllerImages& i) { i[100][116 - 20] = 0x50; }, {{100, {116}}}, {}},
        {"a byte the operation does not write",
         [](ControllerImages& i) { i[100][119 - 20] = 0x77; }, {{100, {116}}},
         {"controller 100: frame byte 119 changed from 00 to 77 (not written by this operation)"}},
        {"the written byte in a controller that was not addressed",
         [](ControllerImages& i) { i[200][116 - 20] = 0x50; }, {{100, {116}}},
         {"controller 200: frame byte 116 changed from 00 to 50 (not written by this operation)"}},
        {"the last image byte",
         [](ControllerImages& i) { i[200][1023] = 1; }, {},
         {"controller 200: frame byte 1043 changed from 00 to 01 (not written by this operation)"}},
        {"a controller went away and another appeared",
         [](ControllerImages& i) {
             i[300] = i[200];
             i.erase(200);
         },
         {}, {"controller 200 went away", "controller 300 appeared"}},
    };
    for (const Case& c : cases) {
        const ControllerImages before = TwoControllers();
        ControllerImages after = before;
        c.change(after);
        EXPECT_EQ(UnexpectedChanges(before, after, c.allowed), c.problems) << c.what;
    }
}

TEST(ControllerImages, GroupsCoverTheDocumentedFrameBytes) {
    EXPECT_EQ(written_by::NetworkGroup().size(), 14u);
    EXPECT_EQ(*written_by::NetworkGroup().begin(), 20u);
    EXPECT_EQ(*written_by::NetworkGroup().rbegin(), 33u);
    EXPECT_EQ(written_by::SettingsGroup().count(119), 0u);
    EXPECT_EQ(written_by::WebOffSettingsGroup().count(118), 0u);
    EXPECT_EQ(Union({written_by::SettingsGroup(), written_by::DhcpGroup()}).size(), 8u);
}

}  // namespace
}  // namespace lumaro::testing
