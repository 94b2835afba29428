#include "tests/scripted_controllers.h"

#include <chrono>
#include <stdexcept>

#include "link/byte_io.h"
#include "link/controller_link.h"
#include "sim/controller_image.h"

namespace lumaro::testing {

namespace {

constexpr VirtualTime kAnswerDelay = std::chrono::milliseconds(1);

}  // namespace

struct ScriptedControllers::State {
    Ipv4Address pcAddress = 0;
    std::vector<sim::ControllerState> controllers;
    std::vector<sim::ReceivedFrame> log;

    sim::ControllerState& Of(std::uint32_t serial) {
        for (sim::ControllerState& controller : controllers) {
            if (controller.spec.serial == serial) return controller;
        }
        throw std::out_of_range("no scripted controller " + std::to_string(serial));
    }

    std::vector<Datagram> Answer(const SentDatagram& sent) {
        std::vector<Datagram> answers;
        if (sent.port != kControllerPort) return answers;
        const bool broadcast = sent.destination == kLimitedBroadcast;
        for (sim::ControllerState& controller : controllers) {
            if (!broadcast && sim::AddressingInUse(controller.image).ip != sent.destination) {
                continue;
            }
            sim::ReceivedFrame frame;
            frame.controllerSerial = controller.spec.serial;
            frame.source = pcAddress;
            frame.broadcast = broadcast;
            frame.destination = sent.destination;
            frame.checksumValid = sim::ChecksumValid(sent.bytes);
            frame.bytes = sent.bytes;
            frame.at = std::chrono::steady_clock::time_point(sent.at);
            log.push_back(frame);
            if (controller.spec.behaviour.portClosed) continue;
            if (auto answer = sim::AnswerFrame(controller, sent.bytes)) {
                for (Datagram& shaped : sim::ShapeAnswer(controller.spec.behaviour, *answer)) {
                    answers.push_back(std::move(shaped));
                }
            }
        }
        return answers;
    }
};

ScriptedControllers::ScriptedControllers(ScriptedNetwork& network, Ipv4Address pcAddress,
                                         Ipv4Address pcMask,
                                         const std::vector<sim::ControllerSpec>& specs)
    : state_(std::make_shared<State>()) {
    state_->pcAddress = pcAddress;
    for (const sim::ControllerSpec& spec : specs) {
        sim::ControllerState controller;
        controller.spec = spec;
        controller.image = sim::InitialImage(spec);
        controller.runningWebPort = sim::ImageWebPort(controller.image);
        state_->controllers.push_back(controller);
    }
    network.AddInterface(pcAddress, pcMask);
    // Once these controllers are gone, the network's answerer answers nothing: another set
    // may take their place on the same network.
    network.AnswerEverySendWith(pcAddress, kAnswerDelay,
                                [weak = std::weak_ptr<State>(state_)](const SentDatagram& sent) {
                                    const std::shared_ptr<State> state = weak.lock();
                                    return state ? state->Answer(sent) : std::vector<Datagram>{};
                                });
}

std::vector<sim::ReceivedFrame> ScriptedControllers::Log() const { return state_->log; }

std::vector<sim::ReceivedFrame> ScriptedControllers::LogOf(std::uint32_t serial) const {
    std::vector<sim::ReceivedFrame> frames;
    for (const sim::ReceivedFrame& frame : state_->log) {
        if (frame.controllerSerial == serial) frames.push_back(frame);
    }
    return frames;
}

void ScriptedControllers::ClearLog() { state_->log.clear(); }

sim::ControllerSpec ScriptedControllers::Current(std::uint32_t serial) const {
    const sim::ControllerState& controller = state_->Of(serial);
    return sim::CurrentOf(controller.spec, controller.image);
}

void ScriptedControllers::SetBehaviour(std::uint32_t serial, const sim::Behaviour& behaviour) {
    state_->Of(serial).spec.behaviour = behaviour;
}

}  // namespace lumaro::testing
