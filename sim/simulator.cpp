#include "sim/simulator.h"

#include <cstdlib>
#include <sstream>

#include "sim/controller_image.h"
#include "sim/sim_config.h"
#include "sim/simulator_impl.h"

namespace lumaro::sim {

std::unique_ptr<Simulator> Simulator::Start(const Options& options,
                                            std::vector<ControllerSpec> controllers,
                                            std::string* error) {
    auto impl = std::make_unique<Impl>(options, std::move(controllers));
    if (auto problem = impl->Launch()) {
        if (error) *error = *problem;
        return nullptr;
    }
    return std::unique_ptr<Simulator>(new Simulator(std::move(impl)));
}

std::vector<PcHost> PcHostsFromLab() {
    const char* hosts = std::getenv("LUMARO_PC_HOSTS");
    return ParsePcHosts(hosts ? hosts : "").value.value_or(std::vector<PcHost>{});
}

std::optional<Simulator::Options> Simulator::OptionsFromLab() {
    const char* netns = std::getenv("LUMARO_SIM_NETNS");
    const char* segments = std::getenv("LUMARO_SIM_SEGMENTS");
    if (!netns || !segments || !*netns || !*segments) return std::nullopt;
    Options options;
    options.networkNamespace = netns;
    std::istringstream list(segments);
    for (std::string segment; std::getline(list, segment, ',');) {
        if (!segment.empty()) options.segmentInterfaces.push_back(segment);
    }
    options.pcHosts = PcHostsFromLab();
    return options;
}

Simulator::Simulator(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Simulator::~Simulator() = default;

std::vector<ReceivedFrame> Simulator::Log() const { return impl_->Log(std::nullopt); }
std::vector<ReceivedFrame> Simulator::LogOf(std::uint32_t serial) const { return impl_->Log(serial); }
void Simulator::ClearLog() { impl_->ClearLog(); }

ParameterImage Simulator::Image(std::uint32_t serial) const {
    auto state = impl_->StateOf(serial);
    return state ? state->image : ParameterImage{};
}

std::map<std::uint32_t, ParameterImage> Simulator::Images() const { return impl_->Images(); }

ControllerSpec Simulator::Current(std::uint32_t serial) const {
    auto state = impl_->StateOf(serial);
    return state ? CurrentOf(state->spec, state->image) : ControllerSpec{};
}

std::optional<std::array<std::uint8_t, 8>> Simulator::LastClockPayload(std::uint32_t serial) const {
    auto state = impl_->StateOf(serial);
    return state ? state->clockPayload : std::nullopt;
}

std::size_t Simulator::RestartCount(std::uint32_t serial) const {
    auto state = impl_->StateOf(serial);
    return state ? state->restarts : 0;
}

void Simulator::SetBehaviour(std::uint32_t serial, const Behaviour& behaviour) {
    impl_->SetBehaviour(serial, behaviour);
}

std::size_t Simulator::SprayedCount() const { return impl_->SprayedCount(); }
std::size_t Simulator::AnswersSent() const { return impl_->AnswersSent(); }
std::size_t Simulator::FramesHandled() const { return impl_->FramesHandled(); }
void Simulator::WaitUntilIdle() const { impl_->WaitUntilIdle(); }

std::vector<std::vector<std::uint8_t>> Simulator::NetworkRepliesSent() const {
    return impl_->NetworkRepliesSent();
}

void Simulator::SendFrom(std::uint32_t serial, Ipv4Address destination, std::uint16_t port,
                         const std::vector<std::uint8_t>& bytes) {
    impl_->SendFrom(serial, destination, port, bytes);
}

}  // namespace lumaro::sim
