#include "cli/confirmation.h"

#include <gtest/gtest.h>

namespace lumaro {
namespace {

// The question names the restart only where there is one: the site's apply rewrites
// addresses without restarting, and only its web-off rows restart their controllers.
TEST(ConfirmationQuestion, SaysHowManyAreRewrittenAndHowManyRestarted) {
    const struct {
        WritesToConfirm writes;
        const char* question;
    } cases[] = {
        {{1, 1}, "This rewrites and restarts 1 controller (a restart can briefly interrupt a "
                 "door). Type yes to go on: "},
        {{5, 5}, "This rewrites and restarts 5 controllers (a restart can briefly interrupt a "
                 "door). Type yes to go on: "},
        {{3, 0}, "This rewrites 3 controllers. Type yes to go on: "},
        {{1, 0}, "This rewrites 1 controller. Type yes to go on: "},
        {{4, 1}, "This rewrites 4 controllers and restarts 1 of them (a restart can briefly "
                 "interrupt a door). Type yes to go on: "},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(ConfirmationQuestion(each.writes), each.question)
            << each.writes.rewritten << " rewritten, " << each.writes.restarted << " restarted";
    }
}

}  // namespace
}  // namespace lumaro
