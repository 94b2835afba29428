#include "sim/sim_config.h"

#include <fstream>
#include <sstream>
#include <type_traits>
#include <utility>

#include "link/controller_text.h"

namespace lumaro::sim {
namespace {

template <class T>
Parsed<T> Fail(std::string error) {
    return {std::nullopt, std::move(error)};
}

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}


// value "IP/MASK/GATEWAY" of the dhcp key.
bool ApplyDhcp(ControllerSpec& spec, std::string_view text, std::string& error) {
    const auto parts = Split(text, '/');
    if (parts.size() != 3) {
        error = "dhcp needs IP/MASK/GATEWAY, not " + Quoted(text);
        return false;
    }
    Ipv4Address* fields[] = {&spec.dhcpIp, &spec.dhcpMask, &spec.dhcpGateway};
    for (std::size_t i = 0; i < 3; ++i) {
        auto address = ParseIpv4(parts[i]);
        if (!address.value) {
            error = address.error;
            return false;
        }
        *fields[i] = *address.value;
    }
    spec.dhcp = true;
    return true;
}

bool ApplyKey(ControllerSpec& spec, std::string_view key, std::string_view value, bool& macGiven,
              std::string& error) {
    auto address = [&](Ipv4Address& field) {
        auto parsed = ParseIpv4(value);
        if (!parsed.value) error = parsed.error;
        else field = *parsed.value;
        return parsed.value.has_value();
    };
    auto number = [&](auto& field) {
        auto parsed = ParseNumber<std::remove_reference_t<decltype(field)>>(value);
        if (!parsed) error = std::string(key) + " needs a number, not " + Quoted(value);
        else field = *parsed;
        return parsed.has_value();
    };
    if (key == "serial") return number(spec.serial);
    if (key == "ip") return address(spec.ip);
    if (key == "mask") return address(spec.mask);
    if (key == "gateway") return address(spec.gateway);
    if (key == "variant") return number(spec.variantCode);
    if (key == "web") return number(spec.webPort);
    if (key == "segment") return number(spec.segment);
    if (key == "dhcp") return ApplyDhcp(spec, value, error);
    if (key == "mac") {
        auto mac = ParseMac(value);
        if (!mac.value) error = mac.error;
        else spec.mac = *mac.value;
        macGiven = mac.value.has_value();
        return macGiven;
    }
    if (key == "behaviour" || key == "behavior") {
        auto behaviour = ParseBehaviour(value);
        if (!behaviour.value) error = behaviour.error;
        else spec.behaviour = *behaviour.value;
        return behaviour.value.has_value();
    }
    error = "unknown key " + Quoted(key);
    return false;
}

// The behaviour words that switch one flag on, in the order in which they are written.
constexpr std::pair<std::string_view, bool Behaviour::*> kFlagWords[] = {
    {"silent", &Behaviour::neverAnswers},
    {"closed", &Behaviour::portClosed},
    {"wrong-sequence", &Behaviour::wrongSequence},
    {"search-only", &Behaviour::answersOnlySearch},
    {"web-refuses", &Behaviour::webRefuses},
    {"web-after-restart", &Behaviour::webAfterRestart},
    {"keeps-address", &Behaviour::keepsAddress},
    {"loses-writes", &Behaviour::losesWrites},
};

bool Behaviour::*FlagOfWord(std::string_view word) {
    for (const auto& [name, flag] : kFlagWords) {
        if (name == word) return flag;
    }
    return nullptr;
}

}  // namespace

Parsed<std::array<std::uint8_t, 6>> ParseMac(std::string_view text) {
    const auto parts = Split(text, text.find('-') != std::string_view::npos ? '-' : ':');
    std::array<std::uint8_t, 6> mac{};
    if (parts.size() != mac.size()) return Fail<std::array<std::uint8_t, 6>>("bad MAC " + Quoted(text));
    for (std::size_t i = 0; i < mac.size(); ++i) {
        auto byte = parts[i].size() == 2 ? ParseNumber<std::uint8_t>(parts[i], 16) : std::nullopt;
        if (!byte) return Fail<std::array<std::uint8_t, 6>>("bad MAC " + Quoted(text));
        mac[i] = *byte;
    }
    return {mac, {}};
}

Parsed<std::vector<PcHost>> ParsePcHosts(std::string_view text) {
    std::vector<PcHost> hosts;
    if (text.empty()) return {hosts, {}};
    for (std::string_view entry : Split(text, ',')) {
        const std::size_t colon = entry.find(':'), equals = entry.find('=');
        if (colon == std::string_view::npos || equals == std::string_view::npos || equals < colon) {
            return Fail<std::vector<PcHost>>("bad PC host " + Quoted(entry));
        }
        const auto segment = ParseNumber<std::size_t>(entry.substr(0, colon));
        const auto address = ParseIpv4(entry.substr(colon + 1, equals - colon - 1));
        const auto mac = ParseMac(entry.substr(equals + 1));
        if (!segment || !address.value || !mac.value) {
            return Fail<std::vector<PcHost>>("bad PC host " + Quoted(entry));
        }
        hosts.push_back(PcHost{*segment, *address.value, *mac.value});
    }
    return {hosts, {}};
}

Parsed<Ipv4Address> ParseIpv4(std::string_view text) {
    const auto address = ParseAddress(text);
    if (!address) return Fail<Ipv4Address>("bad IPv4 address " + Quoted(text));
    return {address, {}};
}

Parsed<Behaviour> ParseBehaviour(std::string_view text) {
    Behaviour behaviour;
    for (std::string_view word : Split(text, '+')) {
        if (word == "normal") {
            behaviour = Behaviour{};
        } else if (bool Behaviour::*flag = FlagOfWord(word)) {
            behaviour.*flag = true;
        } else if (word.starts_with("lengths:")) {
            behaviour.replyLengths.clear();
            for (std::string_view length : Split(word.substr(8), ',')) {
                auto value = ParseNumber<std::size_t>(length);
                if (!value) return Fail<Behaviour>("bad reply length " + Quoted(length) + " in " + Quoted(text));
                behaviour.replyLengths.push_back(*value);
            }
        } else if (word.starts_with("delay:")) {
            auto ms = ParseNumber<unsigned>(word.substr(6));
            if (!ms) return Fail<Behaviour>("bad delay " + Quoted(word) + " (milliseconds)");
            behaviour.replyDelay = std::chrono::milliseconds(*ms);
        } else {
            return Fail<Behaviour>("unknown behaviour " + Quoted(word) +
                                   " (normal, silent, closed, wrong-sequence, search-only, "
                                   "web-refuses, web-after-restart, keeps-address, loses-writes, "
                                   "lengths:N,..., delay:MS)");
        }
    }
    return {behaviour, {}};
}

std::string HexText(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * bytes.size());
    for (std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

Parsed<std::vector<std::uint8_t>> ParseHexText(std::string_view text) {
    if (text.size() % 2 != 0) return Fail<std::vector<std::uint8_t>>("odd number of hex digits in " + Quoted(text));
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        auto byte = ParseNumber<std::uint8_t>(text.substr(i, 2), 16);
        if (!byte) return Fail<std::vector<std::uint8_t>>("bad hex digits " + Quoted(text.substr(i, 2)));
        bytes.push_back(*byte);
    }
    return {bytes, {}};
}

std::string BehaviourText(const Behaviour& behaviour) {
    std::vector<std::string> words;
    for (const auto& [word, flag] : kFlagWords) {
        if (behaviour.*flag) words.emplace_back(word);
    }
    if (!behaviour.replyLengths.empty()) {
        std::string lengths = "lengths:";
        for (std::size_t i = 0; i < behaviour.replyLengths.size(); ++i) {
            if (i > 0) lengths += ',';
            lengths += std::to_string(behaviour.replyLengths[i]);
        }
        words.push_back(lengths);
    }
    if (behaviour.replyDelay.count() > 0) {
        words.push_back("delay:" + std::to_string(behaviour.replyDelay.count()));
    }
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty()) text += '+';
        text += word;
    }
    return text.empty() ? "normal" : text;
}

std::string ControllerLine(const ControllerSpec& spec) {
    std::string line = "serial=" + std::to_string(spec.serial) + " ip=" + FormatAddress(spec.ip) +
                       " mask=" + FormatAddress(spec.mask) + " gateway=" + FormatAddress(spec.gateway) +
                       " mac=" + FormatMac(spec.mac) + " variant=" + std::to_string(spec.variantCode) +
                       " web=" + std::to_string(spec.webPort) + " segment=" + std::to_string(spec.segment);
    if (spec.dhcp) {
        line += " dhcp=" + FormatAddress(spec.dhcpIp) + "/" + FormatAddress(spec.dhcpMask) + "/" +
                FormatAddress(spec.dhcpGateway);
    }
    return line + " behaviour=" + BehaviourText(spec.behaviour);
}

Parsed<ControllerSpec> ParseControllerLine(std::string_view line) {
    line = line.substr(0, line.find('#'));
    ControllerSpec spec;
    spec.mask = MakeIpv4(255, 255, 255, 0);
    bool serialGiven = false, macGiven = false, anyWord = false;
    std::istringstream words{std::string(line)};
    for (std::string word; words >> word;) {
        anyWord = true;
        const std::size_t equals = word.find('=');
        if (equals == std::string::npos) return Fail<ControllerSpec>("expected key=value, not " + Quoted(word));
        const std::string_view key = std::string_view(word).substr(0, equals);
        std::string error;
        if (!ApplyKey(spec, key, std::string_view(word).substr(equals + 1), macGiven, error)) {
            return Fail<ControllerSpec>(error);
        }
        serialGiven = serialGiven || key == "serial";
    }
    if (!anyWord) return {};
    if (!serialGiven) return Fail<ControllerSpec>("no serial= in " + Quoted(line));
    if (!macGiven) spec.mac = Simulator::DefaultMac(spec.serial);
    return {spec, {}};
}

Parsed<std::vector<ControllerSpec>> ParseControllerFile(std::string_view text) {
    std::vector<ControllerSpec> specs;
    const auto lines = Split(text, '\n');
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto spec = ParseControllerLine(lines[i]);
        if (!spec.error.empty()) {
            return Fail<std::vector<ControllerSpec>>("line " + std::to_string(i + 1) + ": " + spec.error);
        }
        if (spec.value) specs.push_back(*spec.value);
    }
    return {specs, {}};
}

Parsed<std::vector<ControllerSpec>> ReadControllerFile(const std::string& path) {
    std::ifstream file(path);
    if (!file) return Fail<std::vector<ControllerSpec>>("cannot read " + Quoted(path));
    std::ostringstream text;
    text << file.rdbuf();
    auto specs = ParseControllerFile(text.str());
    if (!specs.value) specs.error = path + ": " + specs.error;
    return specs;
}

Parsed<std::vector<ControllerSpec>> ParseGenerate(std::string_view text) {
    const auto parts = Split(text, ':');
    auto bad = [&] {
        return Fail<std::vector<ControllerSpec>>("--generate needs COUNT:FIRSTSERIAL:FIRSTIP/PREFIX[:SEGMENT], not " +
                                                 Quoted(text));
    };
    if (parts.size() != 3 && parts.size() != 4) return bad();
    const auto count = ParseNumber<std::size_t>(parts[0]);
    const auto serial = ParseNumber<std::uint32_t>(parts[1]);
    const auto slash = parts[2].find('/');
    if (!count || !serial || slash == std::string_view::npos) return bad();
    const auto address = ParseIpv4(parts[2].substr(0, slash));
    const auto prefix = ParseNumber<unsigned>(parts[2].substr(slash + 1));
    const auto segment = parts.size() == 4 ? ParseNumber<std::size_t>(parts[3]) : std::optional<std::size_t>(0);
    if (!address.value || !prefix || *prefix < 1 || *prefix > 32 || !segment) return bad();
    const std::uint32_t bits = *prefix == 32 ? 0xFFFFFFFFu : ~(0xFFFFFFFFu >> *prefix);
    const Ipv4Address mask = MakeIpv4(static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
                                      static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits));
    return {Simulator::Sequential(*count, *serial, *address.value, mask, *segment), {}};
}

Parsed<SprayOptions> ParseSpray(std::string_view text) {
    const auto parts = Split(text, ':');
    const auto seed = ParseNumber<std::uint32_t>(parts[0]);
    const auto perSecond = parts.size() == 2 ? ParseNumber<unsigned>(parts[1]) : SprayOptions{}.perSecond;
    if (parts.size() > 2 || !seed || !perSecond || *perSecond == 0) {
        return Fail<SprayOptions>("spray needs SEED[:PER_SECOND], not " + Quoted(text));
    }
    return {SprayOptions{*seed, *perSecond}, {}};
}

}  // namespace lumaro::sim
