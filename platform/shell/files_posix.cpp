#include "platform/shell/files.h"

namespace lumaro::platform {

std::FILE* OpenFileByUtf8Name(const std::string& utf8Name, const char* mode) {
    return std::fopen(utf8Name.c_str(), mode);  // Linux names are bytes: UTF-8 as given
}

}  // namespace lumaro::platform
