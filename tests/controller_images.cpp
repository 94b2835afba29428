#include "tests/controller_images.h"

#include <cstdio>

namespace lumaro::testing {

namespace written_by {

namespace {
FrameBytes Range(std::size_t first, std::size_t last) {
    FrameBytes bytes;
    for (std::size_t b = first; b <= last; ++b) bytes.insert(b);
    return bytes;
}
}  // namespace

FrameBytes NetworkGroup() { return Range(20, 33); }
FrameBytes SettingsGroup() { return {116, 117, 118, 120, 121, 122, 123}; }
FrameBytes WebOffSettingsGroup() { return {116, 117, 120, 121, 122, 123}; }
FrameBytes DhcpGroup() { return {150}; }
FrameBytes Nothing() { return {}; }

}  // namespace written_by

FrameBytes Union(std::initializer_list<FrameBytes> groups) {
    FrameBytes all;
    for (const FrameBytes& group : groups) all.insert(group.begin(), group.end());
    return all;
}

namespace {

std::string Hex(std::uint8_t byte) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

}  // namespace

std::vector<std::string> UnexpectedChanges(const ControllerImages& before,
                                           const ControllerImages& after,
                                           const AllowedChanges& allowed) {
    std::vector<std::string> problems;
    for (const auto& [serial, old] : before) {
        const std::string who = "controller " + std::to_string(serial);
        const auto now = after.find(serial);
        if (now == after.end()) {
            problems.push_back(who + " went away");
            continue;
        }
        const auto permitted = allowed.find(serial);
        for (std::size_t i = 0; i < kImageByteCount; ++i) {
            if (old[i] == now->second[i]) continue;
            const std::size_t frameByte = kImageFirstFrameByte + i;
            if (permitted != allowed.end() && permitted->second.count(frameByte)) continue;
            problems.push_back(who + ": frame byte " + std::to_string(frameByte) + " changed from " +
                               Hex(old[i]) + " to " + Hex(now->second[i]) +
                               " (not written by this operation)");
        }
    }
    for (const auto& [serial, image] : after) {
        if (!before.count(serial)) problems.push_back("controller " + std::to_string(serial) + " appeared");
    }
    return problems;
}

}  // namespace lumaro::testing
