#pragma once
// The console program's standard streams, where the systems differ.

#include <string_view>

namespace lumaro::platform {

// Whether standard input is a terminal (a console on Windows) at which a person can answer.
bool StandardInputIsTerminal();

// Writes `bytes` to standard output exactly as given, without the line-end translation of
// Windows' text mode (LF to CR LF), and flushes it.
void WriteStandardOutputExactly(std::string_view bytes);

}  // namespace lumaro::platform
