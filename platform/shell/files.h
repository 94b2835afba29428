#pragma once
// Files named by people: a plan to read, a record to write. Names are UTF-8; on Windows
// they are opened by their wide-character names, so that a name in Chinese opens whatever
// the system's code page.

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace lumaro::platform {

// The system's open of a file by its UTF-8 name, as std::fopen does with `mode`; null (and
// errno set) when it fails.
std::FILE* OpenFileByUtf8Name(const std::string& utf8Name, const char* mode);

struct FileRead {
    std::optional<std::string> bytes;  // nothing: the file could not be read (see `error`)
    bool longerThanLimit = false;      // the file holds more than the limit; `bytes` is empty
    std::string error;                 // the system's reason, for people
};

// Reads the whole file, unless it holds more than `limit` bytes: then only that is said, and
// no more than `limit` + 1 bytes are ever held.
FileRead ReadFileUpTo(const std::string& utf8Name, std::size_t limit);

// A file made (or emptied) for writing, closed when it goes. Made before the work whose
// result it will hold, so that a name that cannot be written is found before the work.
class OutputFile {
public:
    // The file, or nothing with the system's reason in `error`.
    static std::optional<OutputFile> Create(const std::string& utf8Name, std::string& error);
    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&&) = delete;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Writes `bytes` exactly as given and closes the file; false, with the reason in `error`,
    // when they did not all reach it.
    bool WriteAndClose(std::string_view bytes, std::string& error);

private:
    explicit OutputFile(std::FILE* file) : file_(file) {}
    std::FILE* file_;
};

}  // namespace lumaro::platform
