// The text forms of lumaro-sim: controller lines, behaviour words, --generate, the frame
// log line and hexadecimal bytes, each read and written.

#include <gtest/gtest.h>

#include "sim/controller_image.h"
#include "sim/frame_log_file.h"
#include "sim/sim_config.h"
#include "tests/sim_test_support.h"

namespace lumaro::sim::testing {
namespace {

TEST(SimConfig, ControllerLineSetsEveryField) {
    const auto parsed = ParseControllerLine(
        "serial=100 ip=10.0.1.100 mask=255.255.0.0 gateway=10.0.1.254 mac=00-1A-2B-00-00-64 variant=5 "
        "web=8080 segment=1 dhcp=10.0.1.77/255.255.255.0/10.0.1.1 behaviour=lengths:3,20  # comment");
    ASSERT_TRUE(parsed.value) << parsed.error;
    const ControllerSpec& spec = *parsed.value;
    EXPECT_EQ(spec.serial, 100u);
    EXPECT_EQ(spec.ip, MakeIpv4(10, 0, 1, 100));
    EXPECT_EQ(spec.mask, MakeIpv4(255, 255, 0, 0));
    EXPECT_EQ(spec.gateway, MakeIpv4(10, 0, 1, 254));
    EXPECT_EQ(spec.mac, (std::array<std::uint8_t, 6>{0x00, 0x1A, 0x2B, 0x00, 0x00, 0x64}));
    EXPECT_EQ(spec.variantCode, 5);
    EXPECT_EQ(spec.webPort, 8080);
    EXPECT_EQ(spec.segment, 1u);
    EXPECT_TRUE(spec.dhcp);
    EXPECT_EQ(spec.dhcpIp, MakeIpv4(10, 0, 1, 77));
    EXPECT_EQ(spec.dhcpMask, MakeIpv4(255, 255, 255, 0));
    EXPECT_EQ(spec.dhcpGateway, MakeIpv4(10, 0, 1, 1));
    EXPECT_EQ(spec.behaviour.replyLengths, (std::vector<std::size_t>{3, 20}));
}

TEST(SimConfig, ControllerLineDefaultsToAWorkingController) {
    const auto parsed = ParseControllerLine("serial=300 ip=10.0.1.30");
    ASSERT_TRUE(parsed.value) << parsed.error;
    EXPECT_EQ(parsed.value->mac, Simulator::DefaultMac(300));
    EXPECT_EQ(parsed.value->mask, MakeIpv4(255, 255, 255, 0));
    EXPECT_EQ(parsed.value->variantCode, 1);
    EXPECT_EQ(parsed.value->webPort, 80);
    EXPECT_FALSE(parsed.value->dhcp);
    EXPECT_FALSE(parsed.value->behaviour.neverAnswers);
}

TEST(SimConfig, DefaultMacsAreDistinctLocallyAdministeredUnicast) {
    EXPECT_EQ(Simulator::DefaultMac(0x01020304), (std::array<std::uint8_t, 6>{0x02, 0x4C, 1, 2, 3, 4}));
    EXPECT_NE(Simulator::DefaultMac(1), Simulator::DefaultMac(2));
}

TEST(SimConfig, BadControllerLinesAreRefusedWithTheBadText) {
    const struct {
        const char* line;
        const char* quoted;
    } cases[] = {
        {"ip=10.0.1.1", "no serial="},
        {"serial=1 ip=10.0.1", "\"10.0.1\""},
        {"serial=1 ip=10.0.1.256", "\"10.0.1.256\""},
        {"serial=x", "\"x\""},
        {"serial=1 mac=00-1A-2B-00-00", "\"00-1A-2B-00-00\""},
        {"serial=1 colour=red", "\"colour\""},
        {"serial=1 dhcp=10.0.0.1", "\"10.0.0.1\""},
        {"serial=1 behaviour=grumpy", "\"grumpy\""},
        {"serial=1 web", "\"web\""},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseControllerLine(c.line);
        EXPECT_FALSE(parsed.value) << c.line;
        EXPECT_NE(parsed.error.find(c.quoted), std::string::npos) << c.line << " gave: " << parsed.error;
    }
}

TEST(SimConfig, ControllerFileSkipsCommentsAndNamesTheBadLine) {
    const auto good = ParseControllerFile("# LAN\n\nserial=1 ip=10.0.1.1\n  # off\nserial=2 ip=10.0.1.2\n");
    ASSERT_TRUE(good.value) << good.error;
    EXPECT_EQ(good.value->size(), 2u);
    const auto bad = ParseControllerFile("serial=1 ip=10.0.1.1\nserial=2 ip=nowhere\n");
    EXPECT_FALSE(bad.value);
    EXPECT_EQ(bad.error.rfind("line 2: ", 0), 0u) << bad.error;
}

TEST(SimConfig, BehaviourWordsCombine) {
    const struct {
        const char* text;
        Behaviour expected;
    } cases[] = {
        {"normal", Behaviour{}},
        {"silent", NeverAnswers()},
        {"wrong-sequence", WrongSequence()},
        {"lengths:3,4,19,20", ReplyLengths({3, 4, 19, 20})},
        {"delay:2000", ReplyDelay(std::chrono::milliseconds(2000))},
        {"delay:300+wrong-sequence", WrongSequence(std::chrono::milliseconds(300))},
        {"search-only", AnswersOnlySearch()},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseBehaviour(c.text);
        ASSERT_TRUE(parsed.value) << c.text << ": " << parsed.error;
        EXPECT_EQ(parsed.value->neverAnswers, c.expected.neverAnswers) << c.text;
        EXPECT_EQ(parsed.value->wrongSequence, c.expected.wrongSequence) << c.text;
        EXPECT_EQ(parsed.value->answersOnlySearch, c.expected.answersOnlySearch) << c.text;
        EXPECT_EQ(parsed.value->replyLengths, c.expected.replyLengths) << c.text;
        EXPECT_EQ(parsed.value->replyDelay, c.expected.replyDelay) << c.text;
    }
}

TEST(SimConfig, GenerateMakesConsecutiveControllers) {
    const auto parsed = ParseGenerate("3:1000:10.1.1.254/16:1");
    ASSERT_TRUE(parsed.value) << parsed.error;
    ASSERT_EQ(parsed.value->size(), 3u);
    const auto& last = parsed.value->back();
    EXPECT_EQ(last.serial, 1002u);
    EXPECT_EQ(last.ip, MakeIpv4(10, 1, 2, 0)) << "addresses count across octets";
    EXPECT_EQ(last.mask, MakeIpv4(255, 255, 0, 0));
    EXPECT_EQ(last.segment, 1u);
    EXPECT_EQ(last.mac, Simulator::DefaultMac(1002));
    for (const char* bad : {"3:1000", "3:1000:10.1.1.1", "3:1000:10.1.1.1/33", "x:1:10.1.1.1/16"}) {
        EXPECT_FALSE(ParseGenerate(bad).value) << bad;
    }
}

TEST(SimConfig, SprayTakesASeedAndARate) {
    const auto seedOnly = ParseSpray("7");
    ASSERT_TRUE(seedOnly.value) << seedOnly.error;
    EXPECT_EQ(seedOnly.value->seed, 7u);
    EXPECT_EQ(seedOnly.value->perSecond, 200u);
    const auto both = ParseSpray("7:500");
    ASSERT_TRUE(both.value) << both.error;
    EXPECT_EQ(both.value->perSecond, 500u);
    for (const char* bad : {"", "x", "7:", "7:0", "7:5:1", "-1"}) {
        EXPECT_FALSE(ParseSpray(bad).value) << bad;
    }
}

TEST(SimConfig, FrameLogLineShowsTimeSerialSourceKindChecksumAndBytes) {
    const auto start = std::chrono::steady_clock::now();
    ReceivedFrame frame;
    frame.controllerSerial = 100;
    frame.source = MakeIpv4(10, 0, 1, 1);
    frame.sourcePort = 51012;
    frame.broadcast = true;
    frame.checksumValid = true;
    frame.bytes = {0x24, 0x10, 0xB0, 0x0F};
    frame.at = start + std::chrono::milliseconds(1532);
    EXPECT_EQ(FrameLogLine(frame, start), "1532 100 10.0.1.1:51012 B ok 2410b00f");
    frame.broadcast = false;
    frame.checksumValid = false;
    EXPECT_EQ(FrameLogLine(frame, start), "1532 100 10.0.1.1:51012 U bad 2410b00f");
}

TEST(SimConfig, FrameLogLineReadsBackAsTheFrame) {
    const auto start = std::chrono::steady_clock::now();
    const auto frame = ParseFrameLogLine("1532 100 10.0.1.1:51012 U bad 2410b00f", start);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->controllerSerial, 100u);
    EXPECT_EQ(frame->source, MakeIpv4(10, 0, 1, 1));
    EXPECT_EQ(frame->sourcePort, 51012);
    EXPECT_FALSE(frame->broadcast);
    EXPECT_FALSE(frame->checksumValid);
    EXPECT_EQ(frame->bytes, (std::vector<std::uint8_t>{0x24, 0x10, 0xB0, 0x0F}));
    EXPECT_EQ(frame->at, start + std::chrono::milliseconds(1532));
    for (const char* bad : {"", "1532 100 10.0.1.1:51012 U bad 2410b00", "1532 100 10.0.1.1 U ok 24",
                            "1532 100 10.0.1.1:51012 X ok 24", "1532 100 10.0.1.1:51012 U ok 2g"}) {
        EXPECT_FALSE(ParseFrameLogLine(bad, start)) << "\"" << bad << "\"";
    }
}

TEST(SimConfig, ControllerLineAndBehaviourTextGiveTheSpecBack) {
    ControllerSpec spec;
    spec.serial = 4294967295u;
    spec.mac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    spec.variantCode = 5;
    spec.ip = MakeIpv4(192, 168, 0, 9);
    spec.mask = MakeIpv4(255, 255, 0, 0);
    spec.gateway = MakeIpv4(192, 168, 0, 254);
    spec.webPort = 65535;
    spec.dhcp = true;
    spec.dhcpIp = MakeIpv4(10, 0, 1, 77);
    spec.dhcpMask = MakeIpv4(255, 255, 255, 0);
    spec.dhcpGateway = MakeIpv4(10, 0, 1, 1);
    spec.segment = 3;
    spec.behaviour.portClosed = true;
    spec.behaviour.wrongSequence = true;
    spec.behaviour.replyLengths = {2049, 20};
    spec.behaviour.replyDelay = std::chrono::milliseconds(300);
    const auto parsed = ParseControllerLine(ControllerLine(spec));
    ASSERT_TRUE(parsed.value) << parsed.error;
    EXPECT_EQ(ControllerLine(*parsed.value), ControllerLine(spec));
    EXPECT_EQ(parsed.value->mac, spec.mac);
    EXPECT_EQ(parsed.value->dhcpIp, spec.dhcpIp);
    EXPECT_TRUE(parsed.value->behaviour.portClosed);
    EXPECT_EQ(parsed.value->behaviour.replyLengths, spec.behaviour.replyLengths);
    EXPECT_EQ(BehaviourText(Behaviour{}), "normal");
    EXPECT_EQ(BehaviourText(spec.behaviour), "closed+wrong-sequence+lengths:2049,20+delay:300");
}

// The Windows-side tests hand behaviours to lumaro-sim as text: a word left out of the text
// would be lost on the way.
TEST(SimConfig, EveryBehaviourWordIsWrittenBackAsItWasRead) {
    for (const char* text : {"normal", "silent", "closed", "wrong-sequence", "search-only",
                             "web-refuses", "web-after-restart", "keeps-address", "loses-writes",
                             "search-only+web-refuses+web-after-restart+keeps-address",
                             "silent+lengths:3,20+delay:300"}) {
        const auto parsed = ParseBehaviour(text);
        ASSERT_TRUE(parsed.value) << text << ": " << parsed.error;
        EXPECT_EQ(BehaviourText(*parsed.value), text);
    }
}

TEST(SimConfig, PcHostsAreReadAsLabShGivesThem) {
    const auto hosts = ParsePcHosts("0:10.0.1.1=02:aa:bb:cc:dd:01,1:10.0.2.1=02:AA:BB:CC:DD:02");
    ASSERT_TRUE(hosts.value) << hosts.error;
    ASSERT_EQ(hosts.value->size(), 2u);
    EXPECT_EQ((*hosts.value)[0].segment, 0u);
    EXPECT_EQ((*hosts.value)[0].address, MakeIpv4(10, 0, 1, 1));
    EXPECT_EQ((*hosts.value)[1].segment, 1u);
    EXPECT_EQ((*hosts.value)[1].mac, (std::array<std::uint8_t, 6>{0x02, 0xAA, 0xBB, 0xCC, 0xDD, 0x02}));
    EXPECT_TRUE(ParsePcHosts("").value->empty());
    for (const char* bad : {"10.0.1.1=02:aa:bb:cc:dd:01", "x:10.0.1.1=02:aa:bb:cc:dd:01",
                            "0:10.0.1=02:aa:bb:cc:dd:01", "0:10.0.1.1=02:aa:bb", "0:10.0.1.1"}) {
        const auto parsed = ParsePcHosts(bad);
        EXPECT_FALSE(parsed.value) << bad;
        EXPECT_NE(parsed.error.find(bad), std::string::npos) << parsed.error;
    }
}

TEST(SimConfig, HexTextReadsBackAsItsBytes) {
    const std::vector<std::uint8_t> bytes = {0x00, 0x24, 0xAB, 0xFF};
    EXPECT_EQ(HexText(bytes), "0024abff");
    EXPECT_EQ(ParseHexText("0024abff").value, bytes);
    EXPECT_EQ(ParseHexText("0024ABFF").value, bytes);
    for (const char* bad : {"0", "0g", "-1"}) EXPECT_FALSE(ParseHexText(bad).value) << bad;
}

TEST(SimConfig, ImagesTextReadsBackAsTheImages) {
    const std::string image(2048, '0');
    std::string changed = image;
    changed.replace(0, 8, "0a000164");  // 10.0.1.100 at frame bytes 20-23
    const auto parsed = ParseImagesText("100 " + changed + "\n200 " + image + "\n");
    ASSERT_TRUE(parsed.value) << parsed.error;
    ASSERT_EQ(parsed.value->size(), 2u);
    EXPECT_EQ(parsed.value->at(100)[0], 0x0A);
    EXPECT_EQ(parsed.value->at(100)[3], 0x64);
    EXPECT_EQ(parsed.value->at(200)[3], 0x00);
    EXPECT_EQ(ImagesText(*parsed.value), "100 " + changed + "\n200 " + image + "\n");

    const char* broken[] = {"100", "100 " , "x 00", "100 0a", "100  00"};
    for (const char* text : broken) {
        EXPECT_FALSE(ParseImagesText(text).value) << text;
    }
    EXPECT_FALSE(ParseImagesText("100 " + std::string(2047, '0') + "g\n").value);
}

}  // namespace
}  // namespace lumaro::sim::testing
