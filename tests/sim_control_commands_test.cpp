// lumaro-sim's control commands on a target that records what they asked of it: each verb's
// reply, its usage errors, and that a refused command acts on nothing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/control_commands.h"

namespace lumaro::sim {
namespace {

class RecordingTarget final : public ControlTarget {
public:
    bool running = true;
    std::vector<std::string> acts;  // what the commands did, in order

    std::optional<std::string> Load(const std::string& file) override {
        acts.push_back("load " + file);
        if (file == "missing.conf") return std::string("cannot read missing.conf");
        return std::nullopt;
    }
    bool Running() const override { return running; }
    bool Knows(std::uint32_t serial) const override { return serial == 100; }
    void ClearLog() override { acts.push_back("clear-log"); }
    bool WriteImages(const std::string& path) override {
        acts.push_back("images " + path);
        return path != "/unwritable";
    }
    void SetBehaviour(std::uint32_t serial, Behaviour behaviour) override {
        acts.push_back("behaviour " + std::to_string(serial) + (behaviour.neverAnswers ? " silent" : ""));
    }
    void SendFrom(std::uint32_t serial, Ipv4Address destination, std::uint16_t port,
                  const std::vector<std::uint8_t>& bytes) override {
        acts.push_back("send-from " + std::to_string(serial) + " " + std::to_string(destination) +
                       " " + std::to_string(port) + " " + std::to_string(bytes.size()));
    }
    std::size_t AnswersSent() const override { return 42; }
    void WaitUntilIdle() override { acts.push_back("idle"); }
    std::string State(std::uint32_t serial) const override {
        return "restarts=0 serial=" + std::to_string(serial);
    }
    long long MillisecondsSinceStart() const override { return 1234; }
};

TEST(SimControlCommands, EachVerbRepliesAndActsOrRefusesAndActsOnNothing) {
    struct Case {
        const char* line;
        const char* reply;
        const char* act;  // "" when the command must act on nothing
    };
    const Case cases[] = {
        {"load lans/my lan.conf", "ok", "load lans/my lan.conf"},
        {"load missing.conf", "error cannot read missing.conf", "load missing.conf"},
        {"clear-log", "ok", "clear-log"},
        {"images /tmp/images.txt", "ok", "images /tmp/images.txt"},
        {"images /unwritable", "error cannot write \"/unwritable\"", "images /unwritable"},
        {"images", "error usage: images FILE", ""},
        {"behaviour 100 silent", "ok", "behaviour 100 silent"},
        {"behavior 100 silent", "ok", "behaviour 100 silent"},
        {"behaviour 100", "error usage: behaviour SERIAL BEHAVIOUR", ""},
        {"behaviour 100 silent extra", "error usage: behaviour SERIAL BEHAVIOUR", ""},
        {"behaviour 999 silent", "error no controller 999", ""},
        {"now", "ok 1234", ""},
        {"sent", "ok 42", ""},
        {"idle", "ok", "idle"},
        {"send-from 100 10.0.1.1 60000 0102", "ok 1234", "send-from 100 16842762 60000 2"},
        {"send-from 100 10.0.1.1 65536 0102", "error usage: send-from SERIAL IP PORT HEXBYTES", ""},
        {"send-from 100 10.0.1 60000 0102", nullptr, ""},   // the address's own error
        {"send-from 100 10.0.1.1 60000 0g", nullptr, ""},   // the bytes' own error
        {"send-from 999 10.0.1.1 60000 01", "error no controller 999", ""},
        {"state 100", "ok restarts=0 serial=100", ""},
        {"state", "error usage: state SERIAL", ""},
        {"state 999", "error no controller 999", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        RecordingTarget target;
        const std::string reply = RunControlCommand(c.line, target);
        if (c.reply != nullptr) {
            EXPECT_EQ(reply, c.reply);
        } else {
            EXPECT_EQ(reply.rfind("error ", 0), 0u) << reply;
        }
        const std::vector<std::string> expected =
            *c.act == '\0' ? std::vector<std::string>{} : std::vector<std::string>{c.act};
        EXPECT_EQ(target.acts, expected);
    }
}

TEST(SimControlCommands, WithoutALanImagesAndSentAreRefused) {
    RecordingTarget target;
    target.running = false;
    EXPECT_EQ(RunControlCommand("images /tmp/x", target), "error usage: images FILE");
    EXPECT_EQ(RunControlCommand("sent", target), "error no controllers");
    EXPECT_EQ(RunControlCommand("idle", target), "error no controllers");
    EXPECT_TRUE(target.acts.empty());
}

TEST(SimControlCommands, AnUnknownCommandIsNamedWithTheListOfCommands) {
    RecordingTarget target;
    EXPECT_EQ(RunControlCommand("reboot 100", target),
              std::string("error unknown command \"reboot 100\" (") + kControlCommands + ")");
    EXPECT_EQ(RunControlCommand("", target),
              std::string("error unknown command \"\" (") + kControlCommands + ")");
    EXPECT_TRUE(target.acts.empty());
}

}  // namespace
}  // namespace lumaro::sim
