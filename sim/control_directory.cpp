#include "sim/control_directory.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace lumaro::sim {

std::optional<std::string> ControlDirectory::TakeCommand() const {
    const std::string path = directory_ + "/command";
    std::ifstream file(path);
    if (!file) return std::nullopt;
    std::string line;
    std::getline(file, line);
    file.close();
    std::remove(path.c_str());
    std::remove((directory_ + "/reply").c_str());
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

bool ControlDirectory::Reply(const std::string& text) const {
    const std::string temporary = directory_ + "/reply.tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << text << "\n";
        if (!file.flush()) return false;
    }
    return std::rename(temporary.c_str(), (directory_ + "/reply").c_str()) == 0;
}

}  // namespace lumaro::sim
