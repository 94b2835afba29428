#include "sim/simulator_impl.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>

#include "link/controller_text.h"
#include "sim/address_announcement.h"
#include "sim/controller_interfaces.h"
#include "sim/controller_sockets.h"
#include "sim/ip_batch.h"
#include "sim/network_namespace.h"
#include "sim/service_priority.h"

namespace lumaro::sim {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds kWebConnectionLifetime{10};
// The sockets looked at in one go, whose answers then leave together: enough for a crowd to
// answer a broadcast in a few bursts, few enough that the first answers leave within
// milliseconds, as a LAN's would.
constexpr int kEpollBatch = 64;
constexpr std::size_t kNetworkRepliesKept = 100000;

// Epoll tags: the kind in the top byte, an index or descriptor below.
enum class Source : std::uint64_t { Wake = 1, Datagram = 2, WebListener = 3, WebConnection = 4 };
std::uint64_t Tag(Source source, std::uint64_t value) {
    return (static_cast<std::uint64_t>(source) << 56) | value;
}
Source SourceOf(std::uint64_t tag) { return static_cast<Source>(tag >> 56); }
std::uint64_t ValueOf(std::uint64_t tag) { return tag & ((std::uint64_t{1} << 56) - 1); }

// Tells apart the simulators that may share a namespace: with the process id, a count of
// the simulators this process has started, kept to 8 bits so that an interface name fits
// its 15 characters. It repeats after 256 starts, which is harmless: a process runs only a
// few simulators at once, and each removes its interfaces when it stops.
std::uint32_t NextInstance() {
    static std::atomic<std::uint32_t> count{0};
    return count++ & 0xFF;
}

std::string InterfaceName(std::uint32_t instance, std::size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "s%xi%xc%zx", static_cast<unsigned>(::getpid()), instance,
                  index);
    return name;
}

// Every controller holds two sockets (and more while web connections are open): hundreds
// of controllers outgrow the usual soft limit of 1024 descriptors.
void RaiseOpenFileLimit(std::size_t needed) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= needed) return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? needed : std::min<rlim_t>(needed, limit.rlim_max);
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

bool IsBroadcastFor(Ipv4Address destination, const Addressing& addressing) {
    if (destination == kLimitedBroadcast) return true;
    return addressing.mask != 0 && addressing.mask != kLimitedBroadcast &&
           destination == (addressing.ip | ~addressing.mask);
}

bool SameInterfaceAddress(const Addressing& a, const Addressing& b) {
    return a.ip == b.ip && PrefixLength(a.mask) == PrefixLength(b.mask);
}

void Complain(const std::string& text) { std::fprintf(stderr, "simulator: %s\n", text.c_str()); }

}  // namespace

Simulator::Impl::Impl(Options options, std::vector<ControllerSpec> controllers)
    : options_(std::move(options)) {
    const std::uint32_t instance = NextInstance();
    interfaceGroup_ = (static_cast<std::uint32_t>(::getpid()) << 8) | instance;
    for (std::size_t i = 0; i < controllers.size(); ++i) {
        Controller controller;
        controller.state.spec = std::move(controllers[i]);
        controller.state.image = InitialImage(controller.state.spec);
        controller.state.runningWebPort = ImageWebPort(controller.state.image);
        controller.interfaceName = InterfaceName(instance, i);
        indexOfSerial_[controller.state.spec.serial] = i;
        controllers_.push_back(std::move(controller));
    }
}

Simulator::Impl::~Impl() {
    if (thread_.joinable()) {
        thread_.request_stop();
        Wake();
        thread_.join();
    }
}

std::optional<std::string> Simulator::Impl::CheckControllers() const {
    std::set<std::uint32_t> serials;
    std::set<std::array<std::uint8_t, 6>> macs;
    for (const Controller& controller : controllers_) {
        const ControllerSpec& spec = controller.state.spec;
        const std::string who = "controller " + std::to_string(spec.serial);
        if (!serials.insert(spec.serial).second) return who + " appears twice";
        if (!macs.insert(spec.mac).second) return who + ": MAC " + MacText(spec.mac) + " is taken";
        if (spec.mac[0] & 1) return who + ": MAC " + MacText(spec.mac) + " is not unicast";
        if (spec.segment >= options_.segmentInterfaces.size()) {
            return who + ": no segment interface " + std::to_string(spec.segment) + " (have " +
                   std::to_string(options_.segmentInterfaces.size()) + ")";
        }
    }
    return std::nullopt;
}

std::optional<std::string> Simulator::Impl::Launch() {
    if (auto problem = CheckControllers()) return problem;
    for (Controller& controller : controllers_) {
        controller.segmentInterface = options_.segmentInterfaces[controller.state.spec.segment];
    }
    wake_ = platform::Descriptor(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!wake_.Valid()) return std::string("eventfd: ") + std::strerror(errno);
    auto started = started_.get_future();
    thread_ = std::jthread([this](std::stop_token stop) { Serve(stop); });
    auto problem = started.get();
    if (problem) thread_.join();
    return problem;
}

void Simulator::Impl::Wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto ignored = ::write(wake_.Get(), &one, sizeof one);
}

void Simulator::Impl::Serve(std::stop_token stop) {
    if (auto problem = EnterNetworkNamespace(options_.networkNamespace)) {
        started_.set_value(problem);
        return;
    }
    if (auto problem = BringUp()) {
        TearDown();
        started_.set_value(problem);
        return;
    }
    if (options_.spray) {
        std::vector<std::uint32_t> serials;
        for (const Controller& controller : controllers_) serials.push_back(controller.state.spec.serial);
        sprayer_.emplace(*options_.spray, std::move(serials), controllers_.size(), Clock::now());
    }
    if (auto refused = RaiseServicePriority()) Complain(*refused);
    started_.set_value(std::nullopt);
    RunLoop(stop);
    {
        // Nobody waits for a quiet or a send that can no longer come.
        std::lock_guard lock(mutex_);
        serviceEnded_ = true;
    }
    quiet_.notify_all();
    callersDatagramsLeft_.notify_all();
    TearDown();
}

std::optional<std::string> Simulator::Impl::BringUp() {
    RaiseOpenFileLimit(2 * controllers_.size() + 1024);
    std::string commands;
    for (Controller& controller : controllers_) {
        controller.onInterface = AddressingInUse(controller.state.image);
        commands += CreateInterfaceCommands(controller.interfaceName, controller.segmentInterface,
                                            controller.state.spec.mac, interfaceGroup_,
                                            controller.onInterface);
        for (const PcHost& pc : options_.pcHosts) {
            if (pc.segment == controller.state.spec.segment) {
                commands += FixedNeighbourCommand(controller.interfaceName, pc.address, pc.mac);
            }
        }
    }
    if (!commands.empty()) {
        if (auto problem = RunIpBatch(commands)) return problem;
    }

    epoll_ = platform::Descriptor(::epoll_create1(EPOLL_CLOEXEC));
    if (!epoll_.Valid()) return std::string("epoll_create1: ") + std::strerror(errno);
    if (!Watch(wake_.Get(), Tag(Source::Wake, 0))) return std::string("epoll: ") + std::strerror(errno);
    for (std::size_t i = 0; i < controllers_.size(); ++i) {
        if (auto problem = OpenUdp(i)) return problem;
        if (auto problem = OpenWeb(i, WantedWebListening(controllers_[i].state))) return problem;
    }
    FollowPortStates();
    for (const Controller& controller : controllers_) Announce(controller);
    return std::nullopt;
}

Simulator::Impl::WebListening Simulator::Impl::WantedWebListening(const ControllerState& state) {
    if (state.runningWebPort != 0) return WebListening::Serving;
    return state.spec.behaviour.webRefuses ? WebListening::Refusing : WebListening::Silent;
}

// The controller's port 60000, watched by the service loop.
std::optional<std::string> Simulator::Impl::OpenUdp(std::size_t index) {
    Controller& controller = controllers_[index];
    OpenedSocket udp = OpenControllerSocket(controller.interfaceName);
    if (!udp.socket.Valid()) return udp.error;
    controller.udp = std::move(udp.socket);
    if (!Watch(controller.udp.Get(), Tag(Source::Datagram, index))) {
        return std::string("epoll: ") + std::strerror(errno);
    }
    return std::nullopt;
}

// A refusing port 80 has no listener at all, so the kernel answers with a reset.
std::optional<std::string> Simulator::Impl::OpenWeb(std::size_t index, WebListening listening) {
    Controller& controller = controllers_[index];
    controller.web80 = listening;
    if (listening == WebListening::Refusing) {
        controller.web.Close();
        return std::nullopt;
    }
    OpenedSocket web = OpenWebListener(controller.interfaceName, listening == WebListening::Silent);
    if (!web.socket.Valid()) return web.error;
    controller.web = std::move(web.socket);
    if (!Watch(controller.web.Get(), Tag(Source::WebListener, index))) {
        return std::string("epoll: ") + std::strerror(errno);
    }
    return std::nullopt;
}

// Neighbours that knew another controller at this address learn the new MAC at once.
void Simulator::Impl::Announce(const Controller& controller) {
    if (controller.onInterface.ip == 0) return;
    if (auto problem = AnnounceAddress(controller.interfaceName, controller.state.spec.mac,
                                       controller.onInterface.ip)) {
        Complain(*problem);
    }
}

// Port 60000 closes and opens again with the behaviour: closed, the controller's host
// itself answers every datagram with ICMP "port unreachable".
void Simulator::Impl::FollowPortStates() {
    for (std::size_t i = 0; i < controllers_.size(); ++i) {
        Controller& controller = controllers_[i];
        bool closed;
        {
            std::lock_guard lock(mutex_);
            closed = controller.state.spec.behaviour.portClosed;
        }
        if (closed && controller.udp.Valid()) {
            controller.udp.Close();  // which also leaves the epoll set
        } else if (!closed && !controller.udp.Valid()) {
            if (auto problem = OpenUdp(i)) Complain(*problem);
        }
    }
}

bool Simulator::Impl::Watch(int socket, std::uint64_t tag) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = tag;
    return ::epoll_ctl(epoll_.Get(), EPOLL_CTL_ADD, socket, &event) == 0;
}

void Simulator::Impl::TearDown() {
    connections_.clear();
    for (Controller& controller : controllers_) {
        controller.udp.Close();
        controller.web.Close();
    }
    epoll_.Close();
    if (!controllers_.empty()) RunIpBatch(DeleteGroupCommand(interfaceGroup_), true);
}

int Simulator::Impl::EpollTimeoutMs() const {
    std::optional<Clock::time_point> next = delayedSends_.NextDue();
    if (sprayer_) {
        const auto spray = sprayer_->NextDue();
        if (spray && (!next || *spray < *next)) next = spray;
    }
    for (const auto& [socket, connection] : connections_) {
        if (!next || connection.Deadline() < *next) next = connection.Deadline();
    }
    if (!next) return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
}

void Simulator::Impl::RunLoop(const std::stop_token& stop) {
    epoll_event events[kEpollBatch];
    while (!stop.stop_requested()) {
        // While someone waits for quiet, nothing may be left unread: look without waiting,
        // and call it quiet when nothing is ready and no delayed answer is due.
        const std::uint64_t quietAsked = QuietAsked();
        const bool lookingForQuiet = quietAsked > 0 && !delayedSends_.NextDue();
        const int count =
            ::epoll_wait(epoll_.Get(), events, kEpollBatch, lookingForQuiet ? 0 : EpollTimeoutMs());
        if (count == 0 && lookingForQuiet) AnswerQuiet(quietAsked);
        if (count < 0 && errno != EINTR) {
            Complain(std::string("epoll_wait: ") + std::strerror(errno));
            return;
        }
        for (int i = 0; i < count; ++i) {
            const std::uint64_t tag = events[i].data.u64;
            switch (SourceOf(tag)) {
                case Source::Wake: {
                    std::uint64_t value;
                    [[maybe_unused]] auto ignored = ::read(wake_.Get(), &value, sizeof value);
                    // A behaviour may have changed: port 80 follows it.
                    for (std::size_t c = 0; c < controllers_.size(); ++c) FollowImage(c);
                    break;
                }
                case Source::Datagram: OnDatagrams(ValueOf(tag)); break;
                case Source::WebListener: OnWebListener(ValueOf(tag)); break;
                case Source::WebConnection: OnWebConnection(static_cast<int>(ValueOf(tag))); break;
            }
        }
        SendAnswers();
        SendDue();
        Spray();
        DropExpiredConnections();
        if (portStatesChanged_.exchange(false)) FollowPortStates();
        SendCallersDatagrams();
    }
}

void Simulator::Impl::OnDatagrams(std::size_t index) {
    while (auto datagram = ReceiveDatagram(controllers_[index].udp.Get())) {
        HandleDatagram(index, std::move(*datagram));
        ++framesAnswering_;
    }
}

// The answers to every frame that one look at the sockets found, composed by then, leave
// one after another with nothing else between them: the controllers that heard one
// broadcast answer it together, as on a LAN.
void Simulator::Impl::SendAnswers() {
    for (const Answer& answer : answers_) {
        SendAnswer(answer.controller, answer.destination, answer.port, answer.bytes);
    }
    answers_.clear();
    // Counted once nothing of them is held any more (a test measuring the heap waits).
    std::lock_guard lock(mutex_);
    framesHandled_ += std::exchange(framesAnswering_, 0);
}

void Simulator::Impl::HandleDatagram(std::size_t index, IncomingDatagram datagram) {
    Controller& controller = controllers_[index];
    ReceivedFrame entry;
    entry.controllerSerial = controller.state.spec.serial;
    entry.source = datagram.source;
    entry.sourcePort = datagram.sourcePort;
    entry.destination = datagram.destination;
    entry.broadcast = IsBroadcastFor(datagram.destination, controller.onInterface);
    entry.checksumValid = ChecksumValid(datagram.bytes);
    entry.at = Clock::now();

    std::vector<Datagram> answers;
    std::chrono::milliseconds delay{0};
    {
        std::lock_guard lock(mutex_);
        if (auto answer = AnswerFrame(controller.state, datagram.bytes)) {
            answers = ShapeAnswer(controller.state.spec.behaviour, std::move(*answer));
            delay = controller.state.spec.behaviour.replyDelay;
        }
        entry.bytes = std::move(datagram.bytes);
        log_.push_back(entry);
    }
    if (options_.onFrame) options_.onFrame(entry);
    if (sprayer_) sprayer_->Learn(entry.source, entry.sourcePort);

    // A write takes effect before its acknowledge leaves: whoever has the answer
    // finds the controller at its new address and its web port switched.
    FollowImage(index);
    for (Datagram& answer : answers) {
        if (delay.count() > 0) {
            delayedSends_.Add({entry.at + delay, 0, index, entry.source, entry.sourcePort,
                               std::move(answer)});
        } else {
            answers_.push_back({index, entry.source, entry.sourcePort, std::move(answer)});
        }
    }
}

// The interface takes the address now in use, and port 80 turns serving, silent or
// refusing with the web port in effect.
void Simulator::Impl::FollowImage(std::size_t index) {
    Controller& controller = controllers_[index];
    Addressing inUse;
    WebListening listening;
    {
        std::lock_guard lock(mutex_);
        inUse = AddressingInUse(controller.state.image);
        listening = WantedWebListening(controller.state);
    }
    if (!SameInterfaceAddress(inUse, controller.onInterface)) {
        if (auto problem = RunIpBatch(ReaddressCommands(controller.interfaceName, inUse))) {
            Complain("controller " + std::to_string(controller.state.spec.serial) +
                     " cannot take address " + FormatAddress(inUse.ip) + ": " + *problem);
        }
    }
    const bool moved = inUse.ip != controller.onInterface.ip;
    controller.onInterface = inUse;
    if (moved) Announce(controller);
    if (listening == controller.web80) return;
    if (listening != WebListening::Refusing && controller.web80 != WebListening::Refusing) {
        if (!SetWebListenerSilent(controller.web.Get(), listening == WebListening::Silent)) {
            Complain(std::string("web listener filter: ") + std::strerror(errno));
        }
        controller.web80 = listening;
        return;
    }
    if (auto problem = OpenWeb(index, listening)) Complain("port 80: " + *problem);
}

void Simulator::Impl::SendDue() {
    for (DelayedSend& send : delayedSends_.TakeDue(Clock::now())) {
        SendAnswer(send.controller, send.destination, send.port, send.bytes);
    }
}

void Simulator::Impl::SendAnswer(std::size_t index, Ipv4Address destination, std::uint16_t port,
                                 const Datagram& bytes) {
    if (!Send(index, destination, port, bytes)) return;
    std::lock_guard lock(mutex_);
    ++answersSent_;
}

void Simulator::Impl::Spray() {
    if (!sprayer_) return;
    for (const SprayShot& shot : sprayer_->TakeDue(Clock::now())) {
        if (!Send(shot.sender, shot.destination, shot.port, shot.bytes)) continue;
        std::lock_guard lock(mutex_);
        ++sprayedCount_;
    }
}

// The datagrams that callers handed over (SendFrom), each from its controller's port as the
// port is now: a behaviour set before the hand-over is in force, as taking them first makes
// sure that its change of the port is seen here.
void Simulator::Impl::SendCallersDatagrams() {
    std::vector<CallersDatagram> datagrams;
    {
        std::lock_guard lock(mutex_);
        datagrams.swap(callersDatagrams_);
    }
    if (datagrams.empty()) return;
    if (portStatesChanged_.exchange(false)) FollowPortStates();
    for (const CallersDatagram& datagram : datagrams) {
        Send(datagram.controller, datagram.destination, datagram.port, datagram.bytes);
    }
    {
        std::lock_guard lock(mutex_);
        callersDatagramsHandled_ += datagrams.size();
    }
    callersDatagramsLeft_.notify_all();
}

// Every datagram of the simulator leaves here, on the service thread. A network reply is
// noted under the lock taken before it leaves, so whoever has received it and then asks
// finds it noted.
bool Simulator::Impl::Send(std::size_t index, Ipv4Address destination, std::uint16_t port,
                           const Datagram& bytes) {
    const bool networkReply = bytes.size() >= 4 && bytes[kGroupOffset] == kNetworkReplyGroup &&
                              bytes[kCodeOffset] == kNetworkReplyCode;
    if (!networkReply) return SendDatagram(controllers_[index].udp.Get(), destination, port, bytes);
    std::lock_guard lock(mutex_);
    if (!SendDatagram(controllers_[index].udp.Get(), destination, port, bytes)) return false;
    networkRepliesSent_.push_back(bytes);
    if (networkRepliesSent_.size() > kNetworkRepliesKept) networkRepliesSent_.pop_front();
    return true;
}

void Simulator::Impl::OnWebListener(std::size_t index) {
    Controller& controller = controllers_[index];
    for (;;) {
        platform::Descriptor socket(
            ::accept4(controller.web.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!socket.Valid()) return;
        const int fd = socket.Get();
        if (!Watch(fd, Tag(Source::WebConnection, static_cast<std::uint64_t>(fd)))) continue;
        connections_.emplace(fd, WebConnection(std::move(socket), controller.state.spec.serial,
                                               Clock::now() + kWebConnectionLifetime));
    }
}

void Simulator::Impl::OnWebConnection(int socket) {
    auto found = connections_.find(socket);
    if (found == connections_.end()) return;
    if (!found->second.OnReadable()) connections_.erase(found);  // closing also unwatches
}

void Simulator::Impl::DropExpiredConnections() {
    const auto now = Clock::now();
    std::erase_if(connections_, [now](const auto& entry) { return entry.second.Deadline() <= now; });
}

std::vector<ReceivedFrame> Simulator::Impl::Log(std::optional<std::uint32_t> serial) const {
    std::lock_guard lock(mutex_);
    if (!serial) return log_;
    std::vector<ReceivedFrame> frames;
    for (const ReceivedFrame& frame : log_) {
        if (frame.controllerSerial == *serial) frames.push_back(frame);
    }
    return frames;
}

void Simulator::Impl::ClearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
    networkRepliesSent_.clear();
}

std::optional<ControllerState> Simulator::Impl::StateOf(std::uint32_t serial) const {
    auto found = indexOfSerial_.find(serial);
    if (found == indexOfSerial_.end()) return std::nullopt;
    std::lock_guard lock(mutex_);
    return controllers_[found->second].state;
}

std::map<std::uint32_t, ParameterImage> Simulator::Impl::Images() const {
    std::map<std::uint32_t, ParameterImage> images;
    std::lock_guard lock(mutex_);
    for (const Controller& controller : controllers_) {
        images[controller.state.spec.serial] = controller.state.image;
    }
    return images;
}

void Simulator::Impl::SetBehaviour(std::uint32_t serial, const Behaviour& behaviour) {
    auto found = indexOfSerial_.find(serial);
    if (found == indexOfSerial_.end()) return;
    {
        std::lock_guard lock(mutex_);
        controllers_[found->second].state.spec.behaviour = behaviour;
    }
    portStatesChanged_ = true;
    Wake();
}

void Simulator::Impl::WaitUntilIdle() {
    std::unique_lock lock(mutex_);
    const std::uint64_t asked = ++quietAsked_;
    lock.unlock();
    Wake();
    lock.lock();
    quiet_.wait(lock, [&] { return quietAnswered_ >= asked || serviceEnded_; });
}

// The newest question not answered yet, or 0.
std::uint64_t Simulator::Impl::QuietAsked() const {
    std::lock_guard lock(mutex_);
    return quietAsked_ > quietAnswered_ ? quietAsked_ : 0;
}

void Simulator::Impl::AnswerQuiet(std::uint64_t asked) {
    {
        std::lock_guard lock(mutex_);
        quietAnswered_ = asked;
    }
    quiet_.notify_all();
}

std::size_t Simulator::Impl::FramesHandled() const {
    std::lock_guard lock(mutex_);
    return framesHandled_;
}

std::size_t Simulator::Impl::AnswersSent() const {
    std::lock_guard lock(mutex_);
    return answersSent_;
}

std::size_t Simulator::Impl::SprayedCount() const {
    std::lock_guard lock(mutex_);
    return sprayedCount_;
}

std::vector<Datagram> Simulator::Impl::NetworkRepliesSent() const {
    std::lock_guard lock(mutex_);
    return {networkRepliesSent_.begin(), networkRepliesSent_.end()};
}

void Simulator::Impl::SendFrom(std::uint32_t serial, Ipv4Address destination, std::uint16_t port,
                               const std::vector<std::uint8_t>& bytes) {
    auto found = indexOfSerial_.find(serial);
    if (found == indexOfSerial_.end()) return;
    std::unique_lock lock(mutex_);
    if (serviceEnded_) return;
    callersDatagrams_.push_back({found->second, destination, port, bytes});
    const std::uint64_t asked = ++callersDatagramsAsked_;
    lock.unlock();
    Wake();
    lock.lock();
    // Returns once it has left (or could not: the port is closed), as a send of its own would.
    callersDatagramsLeft_.wait(lock, [&] { return callersDatagramsHandled_ >= asked || serviceEnded_; });
}

}  // namespace lumaro::sim
