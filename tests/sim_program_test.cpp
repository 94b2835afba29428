// The lumaro-sim program on a test LAN with two segments: its controller file, frame log,
// control directory and clean exit.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "link/discovery_frames.h"
#include "sim/controller_image.h"
#include "tests/sim_test_support.h"

extern char** environ;

namespace lumaro::sim::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLan =
    "# two controllers on segment 0, one on segment 1\n"
    "serial=100 ip=10.0.1.100 mask=255.255.255.0 gateway=10.0.1.254 mac=00-1A-2B-00-00-64 variant=1\n"
    "serial=200 ip=10.0.1.50 dhcp=10.0.1.77/255.255.255.0/10.0.1.1 variant=3 web=0\n"
    "serial=300 ip=10.0.2.30 segment=1   # behind the second PC interface\n";
constexpr const char* kOtherLan = "serial=400 ip=10.0.1.40\nserial=401 ip=10.0.1.41\n";

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

// One run of lumaro-sim in the lab's simulator namespace, ended with SIGTERM.
class SimProgram {
public:
    explicit SimProgram(std::vector<std::string> arguments) {
        const auto lab = Simulator::OptionsFromLab();
        if (!lab) return;
        std::vector<std::string> all{LUMARO_SIM_PROGRAM, "--netns", lab->networkNamespace};
        for (const std::string& segment : lab->segmentInterfaces) {
            all.push_back("--segment");
            all.push_back(segment);
        }
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : all) argv.push_back(argument.data());
        argv.push_back(nullptr);

        int output[2];
        if (::pipe2(output, O_CLOEXEC) != 0) return;
        output_ = platform::Descriptor(output[0]);
        platform::Descriptor writeEnd(output[1]);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, writeEnd.Get(), STDOUT_FILENO);
        if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~SimProgram() {
        if (pid_ > 0) Stop();
    }

    // The first line the program prints, or "" when none came within 10 s.
    std::string FirstLine() {
        std::string line;
        pollfd ready{output_.Get(), POLLIN, 0};
        char c;
        while (::poll(&ready, 1, 10000) > 0 && ::read(output_.Get(), &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

    // Sends SIGTERM; the exit status, or -1.
    int Stop() {
        ::kill(pid_, SIGTERM);
        int status = 0;
        const pid_t ended = ::waitpid(std::exchange(pid_, -1), &status, 0);
        return ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    platform::Descriptor output_;
};

class SimProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(std::system("ip neigh flush all >/dev/null 2>&1"), 0);
        char pattern[] = "/tmp/lumaro-sim-test-XXXXXX";
        ASSERT_TRUE(::mkdtemp(pattern));
        directory_ = pattern;
        fs::create_directory(directory_ / "control");
        WriteFile(directory_ / "lan.conf", kLan);
        WriteFile(directory_ / "other.conf", kOtherLan);
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::vector<std::string> StandardArguments() const {
        return {"--config", (directory_ / "lan.conf").string(), "--log", (directory_ / "frames.log").string(),
                "--control", (directory_ / "control").string()};
    }

    // Puts a command into the control directory the way other programs should (write,
    // then rename) and waits up to 10 s for the reply.
    std::string Command(const std::string& line) {
        const fs::path control = directory_ / "control";
        WriteFile(control / "command.tmp", line + "\n");
        fs::rename(control / "command.tmp", control / "command");
        for (int i = 0; i < 1000; ++i) {
            if (fs::exists(control / "reply")) {
                std::string reply = ReadFile(control / "reply");
                fs::remove(control / "reply");
                if (!reply.empty() && reply.back() == '\n') reply.pop_back();
                return reply;
            }
            std::this_thread::sleep_for(10ms);
        }
        return "no reply";
    }

    std::set<std::uint32_t> Discovered(Ipv4Address pcAddress = kPcAddress) const {
        PcSocket pc(pcAddress);
        pc.Send(Bytes(kDiscoveryFrames[0].begin(), kDiscoveryFrames[0].end()));
        std::set<std::uint32_t> serials;
        for (const Datagram& reply : pc.ReceiveUntilQuiet()) serials.insert(SerialOf(reply));
        return serials;
    }

    fs::path directory_;
};

TEST_F(SimProgramTest, ServesTheControllersOfItsFileAndLogsEveryFrame) {
    SimProgram program(StandardArguments());
    ASSERT_EQ(program.FirstLine(), "ready 3 controllers");
    EXPECT_EQ(Discovered(), (std::set<std::uint32_t>{100, 200}));
    EXPECT_EQ(Discovered(MakeIpv4(10, 0, 2, 1)), (std::set<std::uint32_t>{300}));

    PcSocket pc;
    pc.Send(Bytes(kDiscoveryFrames[1].begin(), kDiscoveryFrames[1].end()));
    const auto replies = pc.ReceiveUntilQuiet();
    ASSERT_EQ(replies.size(), 2u);
    for (const Datagram& reply : replies) {
        const ByteReader in(reply.bytes);
        if (SerialOf(reply) == 100) {
            EXPECT_EQ(in.U8(130), 0x00);
            EXPECT_EQ(in.U8(135), 0x64) << "the MAC of the file";
            EXPECT_EQ(in.Le32(144), MakeIpv4(10, 0, 1, 254));
            EXPECT_EQ(in.Le16(484), 80);
        } else {
            EXPECT_EQ(in.U8(18), 3);
            EXPECT_EQ(in.U8(150), 0xA5);
            EXPECT_EQ(in.Le32(404), MakeIpv4(10, 0, 1, 77));
            EXPECT_EQ(in.Le16(484), 0);
            EXPECT_EQ(reply.source, MakeIpv4(10, 0, 1, 77));
        }
    }

    // Four frames reached each of controllers 100 and 200, one reached 300.
    const std::string log = ReadFile(directory_ / "frames.log");
    const std::regex line(R"((\d+) (\d+) 10\.0\.(1|2)\.1:(\d+) B ok (2410[0-9a-f]{36}))");
    std::map<std::string, int> framesOf;
    std::istringstream lines(log);
    for (std::string text; std::getline(lines, text);) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(text, match, line)) << text;
        ++framesOf[match[2]];
    }
    EXPECT_EQ(framesOf, (std::map<std::string, int>{{"100", 2}, {"200", 2}, {"300", 1}})) << log;
    EXPECT_EQ(program.Stop(), 0);
}

TEST_F(SimProgramTest, FollowsTheCommandsOfItsControlDirectory) {
    SimProgram program(StandardArguments());
    ASSERT_EQ(program.FirstLine(), "ready 3 controllers");

    EXPECT_EQ(Command("behaviour 100 silent"), "ok");
    EXPECT_EQ(Discovered(), (std::set<std::uint32_t>{200}));
    EXPECT_EQ(Command("behaviour 100 normal"), "ok");
    EXPECT_EQ(Discovered(), (std::set<std::uint32_t>{100, 200}));

    EXPECT_FALSE(ReadFile(directory_ / "frames.log").empty());
    EXPECT_EQ(Command("clear-log"), "ok");
    EXPECT_TRUE(ReadFile(directory_ / "frames.log").empty());

    EXPECT_EQ(Command("load " + (directory_ / "other.conf").string()), "ok");
    EXPECT_EQ(Discovered(), (std::set<std::uint32_t>{400, 401}));
    EXPECT_EQ(ReadFile(directory_ / "frames.log").size(), 2 * ReadFile(directory_ / "frames.log").find('\n') + 2)
        << "only the frames since the load";

    const struct {
        const char* command;
        const char* reply;
    } refused[] = {
        {"behaviour 999 silent", "error no controller 999"},
        {"behaviour 400 grumpy", "error unknown behaviour \"grumpy\""},
        {"load /nonexistent.conf", "error cannot read \"/nonexistent.conf\""},
        {"dance", "error unknown command \"dance\""},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(Command(c.command).rfind(c.reply, 0), 0u) << c.command;
    }
    EXPECT_EQ(Discovered(), (std::set<std::uint32_t>{400, 401})) << "a refused command changes nothing";
    EXPECT_EQ(program.Stop(), 0);
}

TEST_F(SimProgramTest, DumpsEveryControllersParameterImageOnRequest) {
    SimProgram program(StandardArguments());
    ASSERT_EQ(program.FirstLine(), "ready 3 controllers");
    const fs::path dump = directory_ / "images.txt";
    EXPECT_EQ(Command("images " + dump.string()), "ok");

    const auto parsed = sim::ParseImagesText(ReadFile(dump));
    const auto& images = parsed.value;
    ASSERT_TRUE(images) << ReadFile(dump);
    ASSERT_EQ(images->size(), 3u);
    const auto& image100 = images->at(100);  // image byte i is frame byte 20 + i
    EXPECT_EQ(ByteReader(image100).Le32(0), MakeIpv4(10, 0, 1, 100));
    EXPECT_EQ(ByteReader(image100).Le16(116 - 20), 80);
    EXPECT_EQ(images->at(200)[150 - 20], 0xA5);
    EXPECT_EQ(ByteReader(images->at(300)).Le32(0), MakeIpv4(10, 0, 2, 30));
    EXPECT_EQ(Command("images"), "error usage: images FILE");
    EXPECT_EQ(program.Stop(), 0);
}

TEST_F(SimProgramTest, SpraysThePortThePcSendsFromWhenAsked) {
    SimProgram program({"--generate", "2:1000:10.0.1.200/24", "--spray", "5:500"});
    ASSERT_EQ(program.FirstLine(), "ready 2 controllers");
    PcSocket pc;
    pc.Send(Bytes(kDiscoveryFrames[0].begin(), kDiscoveryFrames[0].end()));
    // Two answers, then the spray, which does not stop: read a few hundred datagrams.
    std::size_t strangers = 0;
    for (int i = 0; i < 300; ++i) {
        const auto datagram = pc.Receive(2s);
        if (!datagram) break;
        const bool answer = datagram->bytes.size() == 512 &&
                            (SerialOf(*datagram) == 1000 || SerialOf(*datagram) == 1001);
        strangers += !answer;
    }
    EXPECT_GT(strangers, 250u) << "the spray did not reach the PC's port";
    EXPECT_EQ(program.Stop(), 0);
}

TEST_F(SimProgramTest, RefusesASprayWithoutASeed) {
    SimProgram program({"--generate", "1:1000:10.0.1.200/24", "--spray", "fast"});
    EXPECT_EQ(program.FirstLine(), "");
    EXPECT_NE(program.Stop(), 0);
}

TEST_F(SimProgramTest, GeneratedControllersComeUpAndLeaveNoInterfaceBehind) {
    SimProgram program({"--generate", "20:1000:10.0.1.200/24"});
    ASSERT_EQ(program.FirstLine(), "ready 20 controllers");
    std::set<std::uint32_t> expected;
    for (std::uint32_t serial = 1000; serial < 1020; ++serial) expected.insert(serial);
    EXPECT_EQ(Discovered(), expected);
    EXPECT_EQ(program.Stop(), 0);

    const auto lab = Simulator::OptionsFromLab();
    ASSERT_TRUE(lab);
    const std::string command = "ip -n " + lab->networkNamespace + " -o link show type macvlan";
    std::FILE* listing = ::popen(command.c_str(), "r");
    ASSERT_TRUE(listing);
    char text[256];
    std::string interfaces;
    while (std::fgets(text, sizeof text, listing)) interfaces += text;
    EXPECT_EQ(::pclose(listing), 0);
    EXPECT_EQ(interfaces, "") << "macvlan interfaces left in the simulator's namespace";
}

}  // namespace
}  // namespace lumaro::sim::testing
