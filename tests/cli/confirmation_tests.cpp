#include "cli/confirmation.h"

#include <gtest/gtest.h>

namespace lumaro {
namespace {

// The question names the restart only where there is one: the site's apply rewrites
// addresses without restarting, and only its web-off rows restart their controllers.
TEST(ConfirmationQuestion, SaysHowManyAreRewrittenAndHowManyRestartedInEitherLanguage) {
    const struct {
        WritesToConfirm writes;
        Language language;
        const char* question;
    } cases[] = {
        {{1, 1}, Language::English,
         "This rewrites and restarts 1 controller (a restart can briefly interrupt a door). "
         "Type yes to go on: "},
        {{5, 5}, Language::English,
         "This rewrites and restarts 5 controllers (a restart can briefly interrupt a door). "
         "Type yes to go on: "},
        {{3, 0}, Language::English, "This rewrites 3 controllers. Type yes to go on: "},
        {{1, 0}, Language::English, "This rewrites 1 controller. Type yes to go on: "},
        {{4, 1}, Language::English,
         "This rewrites 4 controllers and restarts 1 of them (a restart can briefly interrupt "
         "a door). Type yes to go on: "},
        {{5, 5}, Language::Chinese, "将改写并重启 5 台控制器(重启可能使门禁短暂中断)。输入 yes 继续:"},
        {{3, 0}, Language::Chinese, "将改写 3 台控制器。输入 yes 继续:"},
        {{4, 1}, Language::Chinese,
         "将改写 4 台控制器,其中 1 台会重启(重启可能使门禁短暂中断)。输入 yes 继续:"},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(ConfirmationQuestion(each.writes, each.language), each.question)
            << each.writes.rewritten << " rewritten, " << each.writes.restarted << " restarted";
    }
}

}  // namespace
}  // namespace lumaro
