#include "sim/control_commands.h"

#include <sstream>

#include "sim/sim_config.h"

namespace lumaro::sim {

const char* const kControlCommands =
    "load FILE, clear-log, behaviour SERIAL BEHAVIOUR, images FILE, now, "
    "send-from SERIAL IP PORT HEX, state SERIAL, sent, idle";

namespace {

std::string NoController(std::uint32_t serial) {
    return "error no controller " + std::to_string(serial);
}

// The rest of the line, without its leading blanks (a file name may hold spaces).
std::string RestOfLine(std::istringstream& words) {
    std::string rest;
    std::getline(words >> std::ws, rest);
    return rest;
}

std::string Load(std::istringstream& words, ControlTarget& target) {
    if (auto problem = target.Load(RestOfLine(words))) return "error " + *problem;
    return "ok";
}

std::string Images(std::istringstream& words, ControlTarget& target) {
    const std::string path = RestOfLine(words);
    if (path.empty() || !target.Running()) return "error usage: images FILE";
    return target.WriteImages(path) ? "ok" : "error cannot write \"" + path + "\"";
}

std::string ClearLog(std::istringstream&, ControlTarget& target) {
    target.ClearLog();
    return "ok";
}

std::string SetBehaviour(std::istringstream& words, ControlTarget& target) {
    std::uint32_t serial = 0;
    std::string word, extra;
    if (!(words >> serial >> word) || (words >> extra)) {
        return "error usage: behaviour SERIAL BEHAVIOUR";
    }
    auto behaviour = ParseBehaviour(word);
    if (!behaviour.value) return "error " + behaviour.error;
    if (!target.Knows(serial)) return NoController(serial);
    target.SetBehaviour(serial, *behaviour.value);
    return "ok";
}

std::string Now(std::istringstream&, ControlTarget& target) {
    return "ok " + std::to_string(target.MillisecondsSinceStart());
}

std::string Sent(std::istringstream&, ControlTarget& target) {
    if (!target.Running()) return "error no controllers";
    return "ok " + std::to_string(target.AnswersSent());
}

std::string Idle(std::istringstream&, ControlTarget& target) {
    if (!target.Running()) return "error no controllers";
    target.WaitUntilIdle();
    return "ok";
}

std::string SendFrom(std::istringstream& words, ControlTarget& target) {
    std::uint32_t serial = 0;
    std::string address, hex;
    unsigned port = 0;
    if (!(words >> serial >> address >> port >> hex) || port > 65535) {
        return "error usage: send-from SERIAL IP PORT HEXBYTES";
    }
    auto destination = ParseIpv4(address);
    auto bytes = ParseHexText(hex);
    if (!destination.value) return "error " + destination.error;
    if (!bytes.value) return "error " + bytes.error;
    if (!target.Knows(serial)) return NoController(serial);
    target.SendFrom(serial, *destination.value, static_cast<std::uint16_t>(port), *bytes.value);
    return "ok " + std::to_string(target.MillisecondsSinceStart());
}

std::string State(std::istringstream& words, ControlTarget& target) {
    std::uint32_t serial = 0;
    if (!(words >> serial)) return "error usage: state SERIAL";
    if (!target.Knows(serial)) return NoController(serial);
    return "ok " + target.State(serial);
}

struct ControlCommand {
    const char* verb;
    std::string (*run)(std::istringstream& words, ControlTarget& target);
};

constexpr ControlCommand kCommands[] = {
    {"load", Load},
    {"images", Images},
    {"clear-log", ClearLog},
    {"behaviour", SetBehaviour},
    {"behavior", SetBehaviour},
    {"now", Now},
    {"sent", Sent},
    {"idle", Idle},
    {"send-from", SendFrom},
    {"state", State},
};

}  // namespace

std::string RunControlCommand(const std::string& line, ControlTarget& target) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    for (const ControlCommand& command : kCommands) {
        if (verb == command.verb) return command.run(words, target);
    }
    return "error unknown command \"" + line + "\" (" + kControlCommands + ")";
}

}  // namespace lumaro::sim
