#include "sim/ip_batch.h"

#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/net/descriptor_posix.h"

extern char** environ;

namespace lumaro::sim {
namespace {

// An anonymous in-memory file: the commands go in as ip's standard input and ip's
// messages come back through another, so no pipe can fill up and stall either side.
std::optional<platform::Descriptor> MemoryFile(const char* name, const std::string& contents) {
    platform::Descriptor file(::memfd_create(name, MFD_CLOEXEC));
    if (!file.Valid()) return std::nullopt;
    std::size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = ::write(file.Get(), contents.data() + written, contents.size() - written);
        if (n <= 0) return std::nullopt;
        written += static_cast<std::size_t>(n);
    }
    if (::lseek(file.Get(), 0, SEEK_SET) != 0) return std::nullopt;
    return file;
}

std::string ReadAll(int fd) {
    std::string text;
    ::lseek(fd, 0, SEEK_SET);
    char chunk[4096];
    ssize_t n;
    while ((n = ::read(fd, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<std::size_t>(n));
    return text;
}

const char* IpProgram() {
    for (const char* path : {"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"}) {
        if (::access(path, X_OK) == 0) return path;
    }
    return "ip";
}

}  // namespace

std::optional<std::string> RunIpBatch(const std::string& commands, bool keepGoing) {
    auto input = MemoryFile("ip-batch", commands);
    auto messages = MemoryFile("ip-messages", "");
    if (!input || !messages) return std::string("cannot create a memory file: ") + std::strerror(errno);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input->Get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, messages->Get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, messages->Get(), STDERR_FILENO);

    std::vector<char*> argv{const_cast<char*>("ip")};
    if (keepGoing) argv.push_back(const_cast<char*>("-force"));
    argv.push_back(const_cast<char*>("-batch"));
    argv.push_back(const_cast<char*>("-"));
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawnError = ::posix_spawnp(&pid, IpProgram(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0) return std::string("cannot run ip: ") + std::strerror(spawnError);

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return std::string("cannot wait for ip: ") + std::strerror(errno);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return std::nullopt;
    std::string text = ReadAll(messages->Get());
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return "ip -batch failed: " + (text.empty() ? std::string("no message") : text);
}

}  // namespace lumaro::sim
