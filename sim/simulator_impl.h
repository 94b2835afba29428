#pragma once
// The simulator's state and its service thread. The thread enters the network namespace,
// creates the controllers' interfaces and sockets, and runs the event loop (every socket
// plus a wake-up eventfd under epoll, delayed answers in a timer queue). The sockets are the
// service thread's alone: it opens, closes and sends from them. The public API reads and
// changes controller state under one mutex, and hands what it sends to the service thread.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/net/descriptor_posix.h"
#include "sim/controller_image.h"
#include "sim/controller_protocol.h"
#include "sim/controller_sockets.h"
#include "sim/delayed_sends.h"
#include "sim/simulator.h"
#include "sim/web_connection.h"

namespace lumaro::sim {

class Simulator::Impl {
public:
    Impl(Options options, std::vector<ControllerSpec> controllers);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // Checks the controllers, starts the service thread and waits until every controller
    // is up; the reason when something failed (the thread has then ended).
    std::optional<std::string> Launch();

    std::vector<ReceivedFrame> Log(std::optional<std::uint32_t> serial) const;
    void ClearLog();
    std::optional<ControllerState> StateOf(std::uint32_t serial) const;
    std::map<std::uint32_t, ParameterImage> Images() const;
    void SetBehaviour(std::uint32_t serial, const Behaviour& behaviour);
    void SendFrom(std::uint32_t serial, Ipv4Address destination, std::uint16_t port,
                  const std::vector<std::uint8_t>& bytes);
    std::size_t SprayedCount() const;
    std::size_t AnswersSent() const;
    std::size_t FramesHandled() const;
    void WaitUntilIdle();
    std::vector<Datagram> NetworkRepliesSent() const;

private:
    // What a connection attempt to port 80 meets.
    enum class WebListening { Serving, Silent, Refusing };
    static WebListening WantedWebListening(const ControllerState& state);

    struct Controller {
        ControllerState state;      // guarded by mutex_
        std::string interfaceName;
        std::string segmentInterface;
        Addressing onInterface;     // what the interface carries (service thread only)
        WebListening web80 = WebListening::Serving;  // how port 80 is now (service thread only)
        platform::Descriptor udp;  // open while the service thread runs
        platform::Descriptor web;
    };

    std::optional<std::string> CheckControllers() const;
    void Serve(std::stop_token stop);
    std::optional<std::string> BringUp();
    void RunLoop(const std::stop_token& stop);
    void TearDown();
    void Wake();

    // The service loop's side of WaitUntilIdle.
    std::uint64_t QuietAsked() const;
    void AnswerQuiet(std::uint64_t asked);

    void OnDatagrams(std::size_t index);
    // Acts on the frame and adds its answers to answers_ (or to the delayed ones).
    void HandleDatagram(std::size_t index, IncomingDatagram datagram);
    void SendAnswers();
    void OnWebListener(std::size_t index);
    void OnWebConnection(int socket);
    void SendDue();
    void Spray();
    void SendCallersDatagrams();
    bool Send(std::size_t index, Ipv4Address destination, std::uint16_t port, const Datagram& bytes);
    // An answer to a frame, counted once it has left.
    void SendAnswer(std::size_t index, Ipv4Address destination, std::uint16_t port,
                    const Datagram& bytes);
    void DropExpiredConnections();
    void FollowImage(std::size_t index);
    std::optional<std::string> OpenUdp(std::size_t index);
    std::optional<std::string> OpenWeb(std::size_t index, WebListening listening);
    void FollowPortStates();
    void Announce(const Controller& controller);
    int EpollTimeoutMs() const;
    bool Watch(int socket, std::uint64_t tag);

    Options options_;
    std::uint32_t interfaceGroup_ = 0;
    std::vector<Controller> controllers_;
    std::map<std::uint32_t, std::size_t> indexOfSerial_;

    mutable std::mutex mutex_;
    std::vector<ReceivedFrame> log_;  // guarded by mutex_
    std::size_t sprayedCount_ = 0;             // guarded by mutex_
    std::size_t answersSent_ = 0;              // guarded by mutex_
    std::size_t framesHandled_ = 0;            // guarded by mutex_
    // Waits for quiet: each waiter asks with a number, the loop answers every number asked
    // before the quiet it saw.
    std::uint64_t quietAsked_ = 0;     // guarded by mutex_
    std::uint64_t quietAnswered_ = 0;  // guarded by mutex_
    bool serviceEnded_ = false;        // guarded by mutex_
    std::condition_variable quiet_;    // quietAnswered_ or serviceEnded_ changed
    std::deque<Datagram> networkRepliesSent_;  // guarded by mutex_
    // What callers asked to send from a controller's port (SendFrom): the service thread
    // sends it, as it alone opens and closes the controllers' sockets.
    struct CallersDatagram {
        std::size_t controller = 0;
        Ipv4Address destination = 0;
        std::uint16_t port = 0;
        Datagram bytes;
    };
    std::vector<CallersDatagram> callersDatagrams_;  // guarded by mutex_
    std::uint64_t callersDatagramsAsked_ = 0;        // guarded by mutex_
    std::uint64_t callersDatagramsHandled_ = 0;      // guarded by mutex_
    std::condition_variable callersDatagramsLeft_;   // handled or serviceEnded_ changed

    // Service thread only.
    platform::Descriptor epoll_;
    std::map<int, WebConnection> connections_;
    DelayedSends delayedSends_;
    // Answers composed for the frames of one look at the sockets, and how many frames those
    // were, until SendAnswers sends them.
    struct Answer {
        std::size_t controller = 0;
        Ipv4Address destination = 0;
        std::uint16_t port = 0;
        Datagram bytes;
    };
    std::vector<Answer> answers_;
    std::size_t framesAnswering_ = 0;
    std::optional<Sprayer> sprayer_;

    std::atomic<bool> portStatesChanged_{false};  // a behaviour opened or closed port 60000
    platform::Descriptor wake_;
    std::promise<std::optional<std::string>> started_;
    std::jthread thread_;  // last: it stops and joins before the rest goes away
};

}  // namespace lumaro::sim
