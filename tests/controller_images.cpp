#include "tests/controller_images.h"

#include <charconv>
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

std::optional<ControllerImages> ParseControllerImages(std::string_view text) {
    ControllerImages images;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty()) continue;

        std::uint32_t serial = 0;
        const auto [afterSerial, error] = std::from_chars(line.data(), line.data() + line.size(), serial);
        const std::size_t hexStart = static_cast<std::size_t>(afterSerial - line.data()) + 1;
        if (error != std::errc{} || hexStart > line.size() || line[hexStart - 1] != ' ' ||
            line.size() - hexStart != 2 * kImageByteCount) {
            return std::nullopt;
        }
        ImageBytes image{};
        for (std::size_t i = 0; i < kImageByteCount; ++i) {
            const char* digits = line.data() + hexStart + 2 * i;
            const auto [next, bad] = std::from_chars(digits, digits + 2, image[i], 16);
            if (bad != std::errc{} || next != digits + 2) return std::nullopt;
        }
        images[serial] = image;
    }
    return images;
}

}  // namespace lumaro::testing
