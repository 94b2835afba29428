#include "sim/controller_protocol.h"

#include <algorithm>

#include "link/byte_io.h"
#include "link/frame.h"
#include "link/masked_write.h"
#include "link/network_reply.h"
#include "sim/controller_image.h"

namespace lumaro::sim {
namespace {

constexpr std::size_t kAcknowledgeResultOffset = 20;  // 1 = done
constexpr std::size_t kClockPayloadBytes = 8;

void Seal(Datagram& datagram) {
    PutLe16(datagram, kChecksumOffset, 0);
    PutLe16(datagram, kChecksumOffset, ComputeChecksum(datagram));
}

// Header of an answer: the request's group/code unless given, its sequence, our serial,
// the request's source serial as target, our variant code.
Datagram AnswerHeader(const ControllerState& controller, std::span<const std::uint8_t> request,
                      std::size_t length, std::uint8_t group, std::uint8_t code) {
    const ByteReader in(request);
    Datagram answer(length, 0);
    answer[kGroupOffset] = group;
    answer[kCodeOffset] = code;
    PutLe32(answer, kSequenceOffset, in.Le32(kSequenceOffset));
    PutLe32(answer, kSourceSerialOffset, controller.spec.serial);
    PutLe32(answer, kTargetSerialOffset, in.Le32(kSourceSerialOffset));
    answer[kVariantCodeOffset] = controller.spec.variantCode;
    return answer;
}

Datagram NetworkReply(const ControllerState& controller, std::span<const std::uint8_t> request) {
    namespace reply = network_reply;
    Datagram answer = AnswerHeader(controller, request, kNetworkReplyBytes, kNetworkReplyGroup,
                                   kNetworkReplyCode);
    const auto& image = controller.image;
    auto copyImage = [&](std::size_t to, std::size_t fromFrameByte, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) answer[to + i] = ImageByte(image, fromFrameByte + i);
    };
    std::copy(controller.spec.mac.begin(), controller.spec.mac.end(), answer.begin() + reply::kMac);
    copyImage(reply::kAddress, image_field::kAddress, 12);  // address, mask, gateway
    if (const auto reported = controller.spec.behaviour.reportsAddress) {
        PutLe32(answer, reply::kAddress, *reported);
    }
    copyImage(reply::kAddressingMode, image_field::kAddressingMode, 1);
    copyImage(reply::kDhcpAddress, image_field::kDhcpAddress, 12);
    copyImage(reply::kWebPort, image_field::kWebPort, 2);
    Seal(answer);
    return answer;
}

Datagram Acknowledge(const ControllerState& controller, std::span<const std::uint8_t> request) {
    Datagram answer = AnswerHeader(controller, request, kAcknowledgeBytes, request[kGroupOffset],
                                   request[kCodeOffset]);
    answer[kAcknowledgeResultOffset] = 1;
    Seal(answer);
    return answer;
}

bool IsKind(std::span<const std::uint8_t> frame, const FrameKind& kind) {
    return frame[kGroupOffset] == kind.group && frame[kCodeOffset] == kind.code &&
           frame.size() >= kind.length;
}

}  // namespace

bool ChecksumValid(std::span<const std::uint8_t> frame) {
    return frame.size() >= kFrameHeaderBytes &&
           ByteReader(frame).Le16(kChecksumOffset) == ComputeChecksum(frame);
}

std::optional<Datagram> AnswerFrame(ControllerState& controller,
                                    std::span<const std::uint8_t> frame) {
    if (!ChecksumValid(frame)) return std::nullopt;
    const std::uint32_t target = ByteReader(frame).Le32(kTargetSerialOffset);
    if (target != controller.spec.serial && target != kEveryController) return std::nullopt;
    if (controller.spec.behaviour.answersOnlySearch && target != kEveryController) {
        return std::nullopt;
    }

    if (controller.spec.behaviour.losesWrites &&
        (IsKind(frame, kWriteSettingsFrame) || IsKind(frame, kRestartControllerFrame))) {
        return std::nullopt;
    }

    if (IsKind(frame, kReadNetworkParametersFrame)) return NetworkReply(controller, frame);
    if (IsKind(frame, kWriteSettingsFrame)) {
        const ParameterImage before = controller.image;
        ApplyMaskedWrite(controller.image, frame);
        if (controller.spec.behaviour.keepsAddress) {
            const std::size_t first = image_field::kAddress - kImageFrameOffset;
            const std::size_t end = image_field::kProtocolPort + 2 - kImageFrameOffset;
            std::copy(before.begin() + first, before.begin() + end, controller.image.begin() + first);
        }
        if (!controller.spec.behaviour.webAfterRestart) {
            controller.runningWebPort = ImageWebPort(controller.image);
        }
        return Acknowledge(controller, frame);
    }
    if (IsKind(frame, kProbeControllerFrame)) return Acknowledge(controller, frame);
    if (IsKind(frame, kSetControllerClockFrame)) {
        std::array<std::uint8_t, kClockPayloadBytes> payload{};
        std::copy_n(frame.begin() + kPayloadOffset, kClockPayloadBytes, payload.begin());
        controller.clockPayload = payload;
        return Acknowledge(controller, frame);
    }
    if (IsKind(frame, kRestartControllerFrame)) {
        ++controller.restarts;
        controller.runningWebPort = ImageWebPort(controller.image);
        return Acknowledge(controller, frame);
    }
    return std::nullopt;
}

std::vector<Datagram> ShapeAnswer(const Behaviour& behaviour, Datagram answer) {
    if (behaviour.neverAnswers || behaviour.portClosed) return {};
    if (behaviour.wrongSequence) {
        const std::uint32_t sequence = ByteReader(answer).Le32(kSequenceOffset);
        PutLe32(answer, kSequenceOffset, sequence + 1);
        Seal(answer);
    }
    if (behaviour.replyLengths.empty()) return {std::move(answer)};
    std::vector<Datagram> datagrams;
    for (std::size_t length : behaviour.replyLengths) {
        Datagram shaped = answer;
        if (length != 0) shaped.resize(length, 0);
        datagrams.push_back(std::move(shaped));
    }
    return datagrams;
}

}  // namespace lumaro::sim
