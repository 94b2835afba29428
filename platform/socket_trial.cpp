// The trial's steps in order, each recorded with the system's reason when it fails; the
// steps themselves are per system (trial_socket.h).

#include "platform/socket_trial.h"

#include <utility>

#include "platform/trial_socket.h"
#include "platform/udp_socket.h"

namespace lumaro::platform {

namespace {

// Records the outcome of one step; true when it succeeded.
bool Record(SocketStep& step, bool succeeded) {
    step.tried = true;
    step.succeeded = succeeded;
    if (!succeeded) {
        SocketError error = LastSocketError();
        step.errorCode = error.code;
        step.error = std::move(error.text);
    }
    return succeeded;
}

}  // namespace

BroadcastSocketTrial TryBroadcastSocket(Ipv4Address local) {
    BroadcastSocketTrial trial;
    TrialSocket socket;
    if (!Record(trial.create, socket.Created())) return trial;
    if (!Record(trial.bind, socket.Bind(local))) return trial;
    trial.localPort = socket.LocalPort();
    if (!Record(trial.broadcast, socket.EnableBroadcast())) return trial;
    Record(trial.receiveBuffer, socket.AskReceiveBuffer(kBroadcastReceiveBufferBytes));
    trial.receiveBufferBytes = socket.ReceiveBufferBytes();
    return trial;
}

}  // namespace lumaro::platform
