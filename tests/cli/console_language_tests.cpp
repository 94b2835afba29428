// The console's language: --ui-language, then the locale's variables in their order, then
// the system's own choice; and the catalogue that both front ends take their texts from.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "cli/console_language.h"
#include "cli/console_texts.h"
#include "texts/catalogue.h"
#include "workflow/outcome.h"

namespace lumaro {
namespace {

TEST(ConsoleLanguage, TheOptionThenTheFirstLocaleVariableSetThenTheSystemDecide) {
    using Env = std::map<std::string, std::string>;
    constexpr auto zh = Language::Chinese;
    constexpr auto en = Language::English;
    const struct {
        const char* name;
        Env environment;
        std::optional<Language> option;
        Language system;
        Language expected;
    } cases[] = {
        {"nothing set: the system's choice", {}, std::nullopt, en, en},
        {"nothing set, a Chinese Windows", {}, std::nullopt, zh, zh},
        {"LANG Chinese", {{"LANG", "zh_CN.UTF-8"}}, std::nullopt, en, zh},
        {"LANG Taiwanese Chinese", {{"LANG", "zh_TW.UTF-8"}}, std::nullopt, en, zh},
        {"LANG English on a Chinese Windows", {{"LANG", "en_US.UTF-8"}}, std::nullopt, zh, en},
        {"LANG C", {{"LANG", "C.UTF-8"}}, std::nullopt, zh, en},
        {"LC_MESSAGES before LANG", {{"LC_MESSAGES", "zh_CN"}, {"LANG", "en_GB"}}, std::nullopt,
         en, zh},
        {"LC_ALL before LC_MESSAGES", {{"LC_ALL", "en_GB"}, {"LC_MESSAGES", "zh_CN"}},
         std::nullopt, en, en},
        {"LANGUAGE before LC_ALL", {{"LANGUAGE", "zh_CN:en"}, {"LC_ALL", "en_GB"}}, std::nullopt,
         en, zh},
        {"LANGUAGE's first entry", {{"LANGUAGE", "en:zh_CN"}, {"LANG", "zh_CN"}}, std::nullopt,
         zh, en},
        {"an empty variable is not set", {{"LANGUAGE", ""}, {"LC_ALL", ""}, {"LANG", "zh_CN"}},
         std::nullopt, en, zh},
        {"--ui-language en beats the locale", {{"LANG", "zh_CN.UTF-8"}}, en, zh, en},
        {"--ui-language zh beats the locale", {{"LC_ALL", "en_US.UTF-8"}}, zh, en, zh},
    };
    for (const auto& c : cases) {
        const EnvironmentReader environment = [&](const char* name) -> std::optional<std::string> {
            const auto found = c.environment.find(name);
            if (found == c.environment.end()) return std::nullopt;
            return found->second;
        };
        EXPECT_EQ(ConsoleLanguage(environment, c.option, c.system), c.expected) << c.name;
    }
}

TEST(ConsoleLanguage, CodesAreEnAndZhInAnyCase) {
    EXPECT_EQ(LanguageFromCode("en"), Language::English);
    EXPECT_EQ(LanguageFromCode("ZH"), Language::Chinese);
    EXPECT_EQ(LanguageFromCode("zh_CN"), std::nullopt);
    EXPECT_EQ(LanguageFromCode(""), std::nullopt);
    EXPECT_EQ(LanguageCode(Language::English), "en");
    EXPECT_EQ(LanguageCode(Language::Chinese), "zh");
}

TEST(Catalogue, TheConsolesMessagesAreTheWindowsInEitherLanguage) {
    const struct {
        Outcome outcome;
        const char* chinese;  // the window's string table
        const char* english;
    } cases[] = {
        {Outcome::NoControllerSelected, "请先选择控制器!", "Select a controller first!"},
        {Outcome::WebAccessFailed, "WEB访问控制器失败!", "Web access to the controller failed!"},
        {Outcome::ControllerUnreachable, "控制器通信失败!", "No answer from the controller!"},
        {Outcome::ClockSet, "校准时间成功!", "Controller clock set!"},
        {Outcome::ClockNotSet, "校准时间失败!", "Setting the clock failed!"},
        {Outcome::AddressRefused, "IP地址或子网掩码无效,未写入控制器!",
         "Invalid IP address or subnet mask: nothing was written to the controller!"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConsoleText(c.outcome, Language::Chinese), c.chinese);
        EXPECT_EQ(ConsoleText(c.outcome, Language::English), c.english);
    }
}

TEST(Catalogue, EveryTextIsThereInBothLanguagesAndPlaceholdersAreFilledInOrder) {
    for (int i = 0; i < static_cast<int>(TextId::Count); ++i) {
        const auto id = static_cast<TextId>(i);
        EXPECT_FALSE(Text(id, Language::Chinese).empty()) << i;
        EXPECT_FALSE(Text(id, Language::English).empty()) << i;
    }
    EXPECT_EQ(FormatText(TextId::DoctorSearchMany, Language::English, {"10.0.1.1", "5"}),
              "search through 10.0.1.1: 5 controllers answered");
    EXPECT_EQ(FormatText(TextId::DoctorSearchMany, Language::Chinese, {"10.0.1.1", "5"}),
              "通过 10.0.1.1 搜索:5 台控制器回应");
    EXPECT_EQ(FormatText(TextId::DoctorSearchMany, Language::English, {"10.0.1.1"}),
              "search through 10.0.1.1: {2} controllers answered")
        << "a placeholder without a value stays";
}

}  // namespace
}  // namespace lumaro
