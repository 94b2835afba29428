// The doctor's judgement of what it found (the console's doctor and the window's "why is a
// controller missing?"): the interfaces as the search uses them, the socket trials, and the
// firewall with its advice, in English and in Chinese. No LAN: the findings are built here.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "workflow/doctor_report.h"
#include "link/controller_text.h"

namespace lumaro {
namespace {

using platform::BroadcastSocketReport;
using platform::BroadcastSocketStep;
using platform::FirewallProfile;
using platform::LocalAddress;

const Ipv4Address kMask = MakeIpv4(255, 255, 255, 0);

BroadcastSocketReport Working(int granted = 8 << 20) {
    BroadcastSocketReport trial;
    trial.localPort = 40000;
    trial.receiveBufferBytes = granted;
    return trial;
}

BroadcastSocketReport BindFails() {
    BroadcastSocketReport trial;
    trial.failure = {BroadcastSocketStep::Bind, {99, "Cannot assign requested address"}};
    return trial;
}

std::string Report(const DoctorFindings& findings, Language language = Language::English) {
    std::string text;
    for (const DoctorLine& line : DoctorReport(findings, language)) {
        text += FormatDoctorLine(line, language) + "\n";
    }
    return text;
}

TEST(DoctorInterfaces, RowsAreJudgedAsTheSearchOpensItsSockets) {
    std::vector<LocalAddress> table{
        {MakeIpv4(0, 0, 0, 0), 0},
        {kLoopbackHost, MakeIpv4(255, 0, 0, 0)},
        {MakeIpv4(127, 0, 0, 2), MakeIpv4(255, 0, 0, 0)},  // only 127.0.0.1 itself is skipped
        {MakeIpv4(10, 0, 1, 1), kMask},
        {MakeIpv4(10, 0, 1, 1), kMask},
        {MakeIpv4(10, 0, 9, 9), kMask},  // its socket fails: it takes no place among the 16
    };
    for (std::uint8_t n = 1; n <= 14; ++n) table.push_back({MakeIpv4(10, 1, n, 1), kMask});
    const auto findings = ExamineInterfaces(table, [](Ipv4Address address) {
        return address == MakeIpv4(10, 0, 9, 9) ? BindFails() : Working();
    });
    std::vector<InterfaceUse> uses;
    for (const InterfaceFinding& finding : findings) uses.push_back(finding.use);
    std::vector<InterfaceUse> expected{InterfaceUse::NoAddress, InterfaceUse::Loopback,
                                       InterfaceUse::Used,      InterfaceUse::Used,
                                       InterfaceUse::Duplicate, InterfaceUse::NoSocket};
    // 127.0.0.2 and the two 10.0.1.1 take 3 of the 16 places, 13 more rows get one.
    for (int n = 0; n < 13; ++n) expected.push_back(InterfaceUse::Used);
    expected.push_back(InterfaceUse::BeyondLimit);
    EXPECT_EQ(uses, expected);
    EXPECT_FALSE(findings[1].trial) << "loopback is not tried";
    EXPECT_FALSE(findings.back().trial) << "beyond the limit is not tried";
}

TEST(DoctorReport, EachInterfaceAndSocketHasALineWithItsVerdict) {
    DoctorFindings findings;
    findings.socketLayerStarted = true;
    findings.addressTableRead = true;
    findings.interfaces = {
        {{kLoopbackHost, MakeIpv4(255, 0, 0, 0)}, InterfaceUse::Loopback, std::nullopt},
        {{MakeIpv4(10, 0, 1, 1), kMask}, InterfaceUse::Used, Working()},
        {{MakeIpv4(10, 0, 2, 1), kMask}, InterfaceUse::Used, Working(212992)},
        {{MakeIpv4(10, 0, 9, 9), kMask}, InterfaceUse::NoSocket, BindFails()},
    };
    findings.replies = {{MakeIpv4(10, 0, 1, 1), {100, 200}}, {MakeIpv4(10, 0, 2, 1), {200}}};
    const std::string report = Report(findings);
    for (const char* line : {
             "skipped  interface 127.0.0.1/255.0.0.0: loopback, this PC itself\n",
             "ok       interface 10.0.1.1/255.255.255.0: used\n",
             "problem  interface 10.0.9.9/255.255.255.0: no socket (see below)\n",
             "ok       socket 10.0.1.1: bound (port 40000), broadcast on, receive buffer 8388608 "
             "bytes granted (4194304 asked)\n",
             "note     socket 10.0.2.1: bound (port 40000), broadcast on, receive buffer 212992 "
             "bytes granted (4194304 asked): on a crowded segment some replies may be lost\n",
             "problem  socket 10.0.9.9: bind failed: Cannot assign requested address (99)\n",
             "ok       search through 10.0.1.1: 2 controllers answered\n",
             "ok       search through 10.0.2.1: 1 controller answered\n",
             "note     firewall: not checked on this system",
             "ok       found 2 controllers\n",
         }) {
        EXPECT_NE(report.find(line), std::string::npos) << "missing: " << line << "\n" << report;
    }
    EXPECT_EQ(ControllersFound(findings), 2u) << "a controller heard twice counts once";

    // The same findings in Chinese, for the window in Chinese and a Chinese console: every
    // line translated, the figures and addresses as they are.
    const std::string chinese = Report(findings, Language::Chinese);
    for (const char* line : {
             "跳过     接口 127.0.0.1/255.0.0.0:环回地址,即本电脑自身\n",
             "正常     接口 10.0.1.1/255.255.255.0:用于搜索\n",
             "问题     套接字 10.0.9.9:绑定失败:Cannot assign requested address (99)\n",
             "注意     套接字 10.0.2.1:已绑定(端口 40000),广播已开启,接收缓冲区获得 212992 "
             "字节(申请 4194304):控制器很多的网段上可能丢失部分回应\n",
             "正常     通过 10.0.1.1 搜索:2 台控制器回应\n",
             "正常     找到 2 台控制器\n",
         }) {
        EXPECT_NE(chinese.find(line), std::string::npos) << "missing: " << line << "\n" << chinese;
    }
}

TEST(DoctorReport, AStepAfterTheBindThatFailsIsNamedWithThePortBound) {
    BroadcastSocketReport trial;
    trial.localPort = 40001;
    trial.failure = {BroadcastSocketStep::Broadcast, {13, "Permission denied"}};
    DoctorFindings findings;
    findings.socketLayerStarted = findings.addressTableRead = true;
    findings.interfaces = {{{MakeIpv4(10, 0, 1, 1), kMask}, InterfaceUse::NoSocket, trial}};
    EXPECT_NE(Report(findings).find("problem  socket 10.0.1.1: bound (port 40001), broadcast "
                                    "failed: Permission denied (13)\n"),
              std::string::npos)
        << Report(findings);
}

TEST(DoctorReport, FirewallProfilesGetAdviceOnlyWhereTheyDropTheReplies) {
    using platform::FirewallRule;
    const std::optional<bool> unknown;
    const std::string program = "C:\\lumaro\\lumaro-cli.exe";
    const std::string allowCommand =
        "advice   netsh advfirewall firewall add rule name=\"Lumaro: controllers' replies (UDP, "
        "local subnet)\" dir=in program=\"" + program + "\" action=allow protocol=UDP "
        "remoteip=LocalSubnet profile=public\n";
    const std::vector<FirewallRule> cancelled{{"lumaro-cli.exe", true, true, 4, 6},
                                              {"lumaro-cli.exe", true, true, 4, 17}};
    const struct {
        const char* name;
        FirewallProfile profile;
        std::vector<FirewallRule> rules;
        const char* verdict;  // the start of the profile's line
        std::vector<std::string> advice;  // every advice line, in order
    } cases[] = {
        {"off", {"private", 2, false, true, true}, {}, "ok       firewall, private profile: off",
         {}},
        {"blocks inbound, no rule: the replies are let in",
         {"public", 4, true, true, true}, {},
         "ok       firewall, public profile: firewall on, inbound blocked unless allowed, "
         "replies to broadcasts let in for 3 s, no rule blocks or allows this program\n",
         {}},
        {"the reply allowance switched off, no rule", {"public", 4, true, true, false}, {},
         "problem  firewall, public profile: firewall on, inbound blocked unless allowed, "
         "replies to broadcasts not let in, and no rule allows this program\n",
         {"advice   Windows Firewall drops the controllers' replies (UDP from port 60000) in "
          "the public profile; to let them in, run as administrator:\n",
          allowCommand,
          "advice   or make the network \"Site LAN\" private if it is the controllers' one\n"}},
        {"Cancel pressed at the first-run prompt", {"public", 4, true, true, true}, cancelled,
         "problem  firewall, public profile: firewall on, inbound blocked unless allowed, "
         "replies to broadcasts let in for 3 s, the rule \"lumaro-cli.exe\" blocks this program "
         "(a block rule wins over any allow rule)\n",
         {"advice   Windows Firewall drops the controllers' replies (UDP from port 60000) in "
          "the public profile; to let them in, run as administrator:\n",
          "advice   netsh advfirewall firewall delete rule name=\"lumaro-cli.exe\" dir=in "
          "program=\"" + program + "\"\n",
          allowCommand,
          "advice   or make the network \"Site LAN\" private if it is the controllers' one\n"}},
        {"an allow rule with the allowance off", {"public", 4, true, true, false},
         {{"allow it", true, false, 7, 256}},
         "ok       firewall, public profile: firewall on, inbound blocked unless allowed, "
         "replies to broadcasts not let in, a rule allows this program\n",
         {}},
        {"lets inbound in", {"domain", 1, true, false, false}, {}, "ok       firewall, domain",
         {}},
        {"Wine", {"private", 2, unknown, unknown, unknown}, {},
         "unknown  firewall, private profile: firewall unknown, inbound unknown, replies to "
         "broadcasts unknown, no rule blocks or allows this program\n",
         {}},
    };
    for (const auto& c : cases) {
        DoctorFindings findings;
        findings.socketLayerStarted = findings.addressTableRead = true;
        findings.firewall.asked = true;
        findings.firewall.program = program;
        findings.firewall.activeProfiles = std::vector<FirewallProfile>{c.profile};
        findings.firewall.programRules = c.rules;
        findings.firewall.networks = std::vector<platform::ConnectedNetwork>{{"Site LAN", true}};
        const std::string report = Report(findings);
        EXPECT_NE(report.find(c.verdict), std::string::npos) << c.name << "\n" << report;
        EXPECT_NE(report.find("note     network \"Site LAN\": public"), std::string::npos);
        std::vector<std::string> advice;
        std::istringstream lines(report);
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("advice   ")) advice.push_back(line + "\n");
        }
        EXPECT_EQ(advice, c.advice) << c.name << "\n" << report;
    }
}

TEST(DoctorReport, UnreadRulesLeaveTheProfileUnknown) {
    DoctorFindings findings;
    findings.socketLayerStarted = findings.addressTableRead = true;
    findings.firewall.asked = true;
    findings.firewall.activeProfiles =
        std::vector<FirewallProfile>{{"public", 4, true, true, true}};
    const std::string report = Report(findings);
    EXPECT_NE(report.find("unknown  firewall, public profile: firewall on, inbound blocked unless "
                          "allowed, replies to broadcasts let in for 3 s, this program's rules "
                          "unknown\n"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("advice"), std::string::npos) << report;
}

TEST(DoctorReport, ASystemThatDoesNotAnswerIsReportedUnknown) {
    DoctorFindings findings;
    findings.socketLayerStarted = findings.addressTableRead = true;
    findings.firewall.asked = true;
    const std::string report = Report(findings);
    EXPECT_NE(report.find("unknown  firewall: the system did not say which profiles are active"),
              std::string::npos) << report;
    EXPECT_NE(report.find("unknown  networks: the system did not list the connected networks"),
              std::string::npos) << report;
    EXPECT_NE(report.find("problem  interfaces: none to search through"), std::string::npos);
    EXPECT_NE(report.find("problem  no controller answered"), std::string::npos);
}

}  // namespace
}  // namespace lumaro
