// The simulated controllers as a Windows test program under Wine sees them: lumaro-sim runs
// beside it in the lab (scripts/app-test.sh), takes commands through its control directory
// and writes every frame it receives to its frame log, both reached through Wine's Z: drive.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "link/controller_text.h"
#include "platform/net/socket_layer.h"
#include "sim/controller_image.h"
#include "sim/sim_config.h"
#include "tools/window-reader/launched_program.h"
#include "tools/window-reader/running_under_wine.h"
#include "tests/app/simulator_control.h"
#include "tests/lan_fixture.h"

namespace lumaro::testing {
namespace {

using Clock = std::chrono::steady_clock;
using apptest::SimulatorControl;

std::vector<std::uint8_t> Bytes(const std::string& hex) {
    return sim::ParseHexText(hex).value.value_or(std::vector<std::uint8_t>{});
}

// The value of "key=" among the words of a reply; empty when absent.
std::string Field(const std::string& reply, const std::string& key) {
    std::istringstream words(reply);
    for (std::string word; words >> word;) {
        if (word.starts_with(key + "=")) return word.substr(key.size() + 1);
    }
    return {};
}

// Tests that open sockets without a search (which starts the socket layer itself) need it
// started: one start for the whole program.
class SocketLayerStarted : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(platform::StartSocketLayer(2, 2).succeeded); }
    void TearDown() override { platform::StopSocketLayer(); }
};
[[maybe_unused]] const ::testing::Environment* const kSocketLayer =
    ::testing::AddGlobalTestEnvironment(new SocketLayerStarted);

class LanBesideWine final : public TestLan {
public:
    LanBesideWine(SimulatorControl control, std::string logPath, std::vector<sim::ControllerSpec> specs)
        : control_(std::move(control)), logPath_(std::move(logPath)) {
        for (sim::ControllerSpec& spec : specs) specs_[spec.serial] = std::move(spec);
    }

    // Ties lumaro-sim's clock (milliseconds since its start, as its log counts them) to
    // ours at the moment a reply "ok MS" arrived.
    bool Anchor(const std::string& reply) {
        if (!reply.starts_with("ok ")) return false;
        simStart_ = Clock::now() - std::chrono::milliseconds(std::stoll(reply.substr(3)));
        return true;
    }

    std::vector<sim::ReceivedFrame> Log() const override { return ReadLog(std::nullopt); }
    std::vector<sim::ReceivedFrame> LogOf(std::uint32_t serial) const override { return ReadLog(serial); }

    void ClearLog() override { Expect(control_.ClearLog(), "clear-log"); }

    sim::ParameterImage Image(std::uint32_t serial) const override {
        const std::vector<std::uint8_t> bytes = Bytes(Field(State(serial), "image"));
        sim::ParameterImage image{};
        if (bytes.size() == image.size()) std::copy(bytes.begin(), bytes.end(), image.begin());
        return image;
    }

    sim::ControllerSpec Current(std::uint32_t serial) const override {
        const auto spec = specs_.find(serial);
        if (spec == specs_.end()) return {};
        return sim::CurrentOf(spec->second, Image(serial));
    }

    std::optional<std::array<std::uint8_t, 8>> LastClockPayload(std::uint32_t serial) const override {
        const std::vector<std::uint8_t> bytes = Bytes(Field(State(serial), "clock"));
        if (bytes.size() != 8) return std::nullopt;
        std::array<std::uint8_t, 8> payload{};
        std::copy(bytes.begin(), bytes.end(), payload.begin());
        return payload;
    }

    std::size_t RestartCount(std::uint32_t serial) const override {
        const std::string count = Field(State(serial), "restarts");
        return count.empty() ? 0 : std::stoul(count);
    }

    void WaitUntilIdle() const override {
        const std::string reply = control_.WaitUntilIdle();
        if (reply != "ok") ADD_FAILURE() << "idle: " << reply;
    }

    std::size_t AnswersSent() const override {
        const std::string reply = control_.Send("sent");
        if (!reply.starts_with("ok ")) {
            ADD_FAILURE() << "sent: " << reply;
            return 0;
        }
        return std::stoul(reply.substr(3));
    }

    void SetBehaviour(std::uint32_t serial, const sim::Behaviour& behaviour) override {
        const std::string words = sim::BehaviourText(behaviour);
        if (Expect(control_.SetBehaviour(serial, words),
                   "behaviour " + std::to_string(serial) + " " + words)) {
            specs_[serial].behaviour = behaviour;
        }
    }

    void SendFrom(std::uint32_t serial, Ipv4Address destination, std::uint16_t port,
                  const std::vector<std::uint8_t>& bytes) override {
        const std::string command = "send-from " + std::to_string(serial) + " " +
                                    FormatAddress(destination) + " " + std::to_string(port) + " " +
                                    sim::HexText(bytes);
        const std::string reply = control_.Send(command);
        // Anchored at the send: a frame's time minus the moment this returns is exact to
        // the millisecond of the log.
        if (!Anchor(reply)) ADD_FAILURE() << command << ": " << reply;
    }

private:
    static bool Expect(const std::string& reply, const std::string& command) {
        if (reply == "ok") return true;
        ADD_FAILURE() << "lumaro-sim answered \"" << reply << "\" to " << command;
        return false;
    }

    std::string State(std::uint32_t serial) const {
        const std::string reply = control_.Send("state " + std::to_string(serial));
        if (!reply.starts_with("ok ")) ADD_FAILURE() << "state " << serial << ": " << reply;
        return reply;
    }

    std::vector<sim::ReceivedFrame> ReadLog(std::optional<std::uint32_t> serial) const {
        WaitUntilIdle();
        return SimulatorControl::ReadFrameLog(logPath_, simStart_, serial);
    }

    SimulatorControl control_;
    std::string logPath_;  // Unix path
    std::map<std::uint32_t, sim::ControllerSpec> specs_;
    Clock::time_point simStart_;
};

}  // namespace

// The controllers are written to a controller file in the control directory, which
// lumaro-sim then loads in place of the ones it had (its log is emptied with them).
std::unique_ptr<TestLan> StartControllers(std::vector<sim::ControllerSpec> specs) {
    const auto control = SimulatorControl::FromEnvironment();
    const auto log = SimulatorControl::LogPath();
    if (!control || !log) {
        ADD_FAILURE() << "no lumaro-sim beside this program: run it through scripts/app-test.sh";
        return nullptr;
    }
    const std::string file = control->Directory() + "/lan.conf";
    {
        std::ofstream out(std::filesystem::path(apptest::WindowsPathOf(file)),
                          std::ios::binary | std::ios::trunc);
        for (const sim::ControllerSpec& spec : specs) out << sim::ControllerLine(spec) << "\n";
        if (!out) {
            ADD_FAILURE() << "cannot write " << file;
            return nullptr;
        }
    }
    const std::string reply = control->Load(file);
    if (reply != "ok") {
        ADD_FAILURE() << "lumaro-sim did not start the controllers: " << reply;
        return nullptr;
    }
    auto lan = std::make_unique<LanBesideWine>(*control, *log, std::move(specs));
    const std::string now = control->Send("now");
    if (!lan->Anchor(now)) {
        ADD_FAILURE() << "now: " << now;
        return nullptr;
    }
    return lan;
}

// Wine shows the Unix file system, /proc included, as drive Z:.
std::string ReadPcFile(const std::string& unixPath) {
    std::ifstream file(std::filesystem::path(apptest::WindowsPathOf(unixPath)), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool RunningUnderWine() { return apptest::RunningUnderWine(); }

}  // namespace lumaro::testing
