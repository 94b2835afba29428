// The simulated controllers inside the test process, on the segments of the lab that runs it.

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/lan_fixture.h"

namespace lumaro::testing {
namespace {

class InProcessLan final : public TestLan {
public:
    explicit InProcessLan(std::unique_ptr<sim::Simulator> simulator)
        : simulator_(std::move(simulator)) {}

    std::vector<sim::ReceivedFrame> Log() const override {
        simulator_->WaitUntilIdle();
        return simulator_->Log();
    }
    std::vector<sim::ReceivedFrame> LogOf(std::uint32_t serial) const override {
        simulator_->WaitUntilIdle();
        return simulator_->LogOf(serial);
    }
    void ClearLog() override { simulator_->ClearLog(); }
    sim::ParameterImage Image(std::uint32_t serial) const override { return simulator_->Image(serial); }
    sim::ControllerSpec Current(std::uint32_t serial) const override {
        return simulator_->Current(serial);
    }
    std::optional<std::array<std::uint8_t, 8>> LastClockPayload(std::uint32_t serial) const override {
        return simulator_->LastClockPayload(serial);
    }
    std::size_t AnswersSent() const override { return simulator_->AnswersSent(); }
    void WaitUntilIdle() const override { simulator_->WaitUntilIdle(); }
    std::size_t RestartCount(std::uint32_t serial) const override {
        return simulator_->RestartCount(serial);
    }
    void SetBehaviour(std::uint32_t serial, const sim::Behaviour& behaviour) override {
        simulator_->SetBehaviour(serial, behaviour);
    }
    void SendFrom(std::uint32_t serial, Ipv4Address destination, std::uint16_t port,
                  const std::vector<std::uint8_t>& bytes) override {
        simulator_->SendFrom(serial, destination, port, bytes);
    }

private:
    std::unique_ptr<sim::Simulator> simulator_;
};

}  // namespace

// The PC's neighbour table is emptied first: an earlier test may have left the MAC of
// another controller at the same address.
std::unique_ptr<sim::Simulator> StartSimulator(std::vector<sim::ControllerSpec> specs,
                                               std::optional<sim::SprayOptions> spray) {
    if (std::system("ip neigh flush all >/dev/null 2>&1") != 0) {
        ADD_FAILURE() << "cannot empty the neighbour table of the PC's namespace";
    }
    auto options = sim::Simulator::OptionsFromLab();
    if (!options) {
        ADD_FAILURE() << "not inside a test LAN: run through scripts/lab.sh";
        return nullptr;
    }
    options->spray = spray;
    std::string error;
    auto simulator = sim::Simulator::Start(*options, std::move(specs), &error);
    if (!simulator) {
        ADD_FAILURE() << "simulator did not start: " << error;
        return nullptr;
    }
    // Its loop is running and through its start before the test sends anything: a search
    // waits only so long for answers, and a busy machine may be slow to run a new thread.
    simulator->WaitUntilIdle();
    return simulator;
}

std::unique_ptr<TestLan> StartControllers(std::vector<sim::ControllerSpec> specs) {
    auto simulator = StartSimulator(std::move(specs));
    if (!simulator) return nullptr;
    return std::make_unique<InProcessLan>(std::move(simulator));
}

bool RunningUnderWine() { return false; }

std::string ReadPcFile(const std::string& unixPath) {
    std::ifstream file(unixPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace lumaro::testing
