// lumaro-sim: a LAN of simulated controllers for demos and for tests that cannot link the
// simulator (the Windows-side tests under Wine). Run it inside the lab's namespaces or
// give --netns; see kProgramUsage.

#include <signal.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>

#include "lumaro_version.h"
#include "sim/control_commands.h"
#include "sim/control_directory.h"
#include "sim/controller_image.h"
#include "sim/frame_log_file.h"
#include "sim/program_options.h"
#include "sim/simulator.h"

namespace lumaro::sim {
namespace {

constexpr long kControlPollNanoseconds = 20'000'000;

Parsed<std::vector<ControllerSpec>> ControllersOf(const ProgramOptions& options) {
    std::vector<ControllerSpec> all;
    for (const std::string& path : options.configFiles) {
        auto specs = ReadControllerFile(path);
        if (!specs.value) return specs;
        all.insert(all.end(), specs.value->begin(), specs.value->end());
    }
    for (const std::string& text : options.generated) {
        auto specs = ParseGenerate(text);
        if (!specs.value) return specs;
        all.insert(all.end(), specs.value->begin(), specs.value->end());
    }
    return {all, {}};
}

class Program final : public ControlTarget {
public:
    explicit Program(ProgramOptions options) : options_(std::move(options)) {}

    int Run() {
        auto specs = ControllersOf(options_);
        if (!specs.value) return Fail(specs.error);
        if (!options_.logPath.empty()) {
            log_ = FrameLogFile::Create(options_.logPath, start_);
            if (!log_) return Fail("cannot create the log file " + options_.logPath);
        }
        if (auto problem = StartSimulator(*specs.value)) return Fail(*problem);
        std::printf("ready %zu controllers\n", specs_.size());
        std::fflush(stdout);
        WaitForSignal();
        simulator_.reset();  // removes the interfaces
        return 0;
    }

private:
    static int Fail(const std::string& reason) {
        std::fprintf(stderr, "lumaro-sim: %s\n", reason.c_str());
        return 1;
    }

    std::optional<std::string> StartSimulator(std::vector<ControllerSpec> specs) {
        simulator_.reset();
        specs_.clear();
        Simulator::Options options;
        options.networkNamespace = options_.networkNamespace;
        options.segmentInterfaces = options_.segments;
        options.pcHosts = PcHostsFromLab();
        options.spray = options_.spray;
        if (log_) options.onFrame = [log = log_.get()](const ReceivedFrame& frame) { log->Write(frame); };
        std::string error;
        simulator_ = Simulator::Start(options, specs, &error);
        if (!simulator_) return error;
        specs_ = std::move(specs);
        return std::nullopt;
    }

    // Between signals, the control directory is looked at every 20 ms.
    void WaitForSignal() {
        sigset_t stopSignals;
        sigemptyset(&stopSignals);
        sigaddset(&stopSignals, SIGINT);
        sigaddset(&stopSignals, SIGTERM);
        const timespec poll{0, kControlPollNanoseconds};
        ControlDirectory control(options_.controlDirectory);
        for (;;) {
            if (sigtimedwait(&stopSignals, nullptr, &poll) >= 0) return;
            if (options_.controlDirectory.empty()) continue;
            if (auto command = control.TakeCommand()) control.Reply(RunControlCommand(*command, *this));
        }
    }

    // What the control commands act on.
    std::optional<std::string> Load(const std::string& controllerFile) override {
        auto specs = ReadControllerFile(controllerFile);
        if (!specs.value) return specs.error;
        ClearLog();
        return StartSimulator(*specs.value);
    }

    bool Running() const override { return simulator_ != nullptr; }

    void SetBehaviour(std::uint32_t serial, Behaviour behaviour) override {
        simulator_->SetBehaviour(serial, behaviour);
    }

    void SendFrom(std::uint32_t serial, Ipv4Address destination, std::uint16_t port,
                  const std::vector<std::uint8_t>& bytes) override {
        simulator_->SendFrom(serial, destination, port, bytes);
    }

    std::size_t AnswersSent() const override { return simulator_->AnswersSent(); }
    void WaitUntilIdle() override { simulator_->WaitUntilIdle(); }

    std::string State(std::uint32_t serial) const override {
        const auto clock = simulator_->LastClockPayload(serial);
        return "restarts=" + std::to_string(simulator_->RestartCount(serial)) +
               " clock=" + (clock ? HexText(*clock) : "none") +
               " image=" + HexText(simulator_->Image(serial));
    }

    long long MillisecondsSinceStart() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
            .count();
    }

    // Written beside the file and renamed into place, so a reader never sees half of it.
    bool WriteImages(const std::string& path) override {
        const std::string pending = path + ".tmp";
        {
            std::ofstream out(pending, std::ios::binary | std::ios::trunc);
            out << ImagesText(simulator_->Images());
            if (!out) return false;
        }
        return std::rename(pending.c_str(), path.c_str()) == 0;
    }

    bool Knows(std::uint32_t serial) const override {
        if (!simulator_) return false;
        for (const ControllerSpec& spec : specs_) {
            if (spec.serial == serial) return true;
        }
        return false;
    }

    void ClearLog() override {
        if (simulator_) simulator_->ClearLog();
        if (log_) log_->Clear();
    }

    ProgramOptions options_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::unique_ptr<FrameLogFile> log_;
    std::vector<ControllerSpec> specs_;
    std::unique_ptr<Simulator> simulator_;  // after log_: stops writing before it closes
};

}  // namespace
}  // namespace lumaro::sim

int main(int argc, char** argv) {
    using namespace lumaro::sim;
    // Blocked before any thread starts, so only the main thread's sigtimedwait takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    auto options = ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.value) {
        std::fprintf(stderr, "lumaro-sim: %s\n%s", options.error.c_str(), kProgramUsage);
        return 2;
    }
    if (options.value->help) {
        std::printf("%s", kProgramUsage);
        return 0;
    }
    if (options.value->version) {
        std::printf("lumaro-sim %s\n", LUMARO_VERSION);
        return 0;
    }
    return Program(std::move(*options.value)).Run();
}
