#include "sim/simulator.h"

#include <cstdlib>
#include <sstream>

#include "sim/controller_image.h"
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
    if (!state) return {};
    ControllerSpec current = state->spec;
    const Addressing inUse = AddressingInUse(state->image);
    current.ip = inUse.ip;
    current.mask = inUse.mask;
    current.gateway = inUse.gateway;
    current.webPort = ImageWebPort(state->image);
    current.dhcp = ImageByte(state->image, image_field::kAddressingMode) == kDhcpMarker;
    current.dhcpIp = ImageAddress(state->image, image_field::kDhcpAddress);
    current.dhcpMask = ImageAddress(state->image, image_field::kDhcpMask);
    current.dhcpGateway = ImageAddress(state->image, image_field::kDhcpGateway);
    return current;
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

std::vector<std::vector<std::uint8_t>> Simulator::NetworkRepliesSent() const {
    return impl_->NetworkRepliesSent();
}

void Simulator::SendFrom(std::uint32_t serial, Ipv4Address destination, std::uint16_t port,
                         const std::vector<std::uint8_t>& bytes) {
    impl_->SendFrom(serial, destination, port, bytes);
}

std::array<std::uint8_t, 6> Simulator::DefaultMac(std::uint32_t serial) {
    return {0x02, 0x4C, static_cast<std::uint8_t>(serial >> 24), static_cast<std::uint8_t>(serial >> 16),
            static_cast<std::uint8_t>(serial >> 8), static_cast<std::uint8_t>(serial)};
}

std::vector<ControllerSpec> Simulator::Sequential(std::size_t count, std::uint32_t firstSerial,
                                                  Ipv4Address firstAddress, Ipv4Address mask,
                                                  std::size_t segment) {
    // Counting happens on the address as a number whose first octet is the most significant.
    auto numeric = [](Ipv4Address a) {
        return (std::uint32_t{Octet(a, 0)} << 24) | (std::uint32_t{Octet(a, 1)} << 16) |
               (std::uint32_t{Octet(a, 2)} << 8) | Octet(a, 3);
    };
    auto address = [](std::uint32_t n) {
        return MakeIpv4(static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                        static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n));
    };
    std::vector<ControllerSpec> specs;
    for (std::size_t i = 0; i < count; ++i) {
        ControllerSpec spec;
        spec.serial = firstSerial + static_cast<std::uint32_t>(i);
        spec.mac = DefaultMac(spec.serial);
        spec.ip = address(numeric(firstAddress) + static_cast<std::uint32_t>(i));
        spec.mask = mask;
        spec.segment = segment;
        specs.push_back(spec);
    }
    return specs;
}

}  // namespace lumaro::sim
