#pragma once
#include <string>

namespace sim {

class TSimulator;

// The line-oriented control language of gsmsim: one command per line, the answer is "ok",
// a status text, or "error: " and the reason.
std::string ExecuteControl(TSimulator& simulator, const std::string& line);

// The list of control commands, for --help and the "help" command.
extern const char* const kControlHelp;

// Bytes as a readable log line: printable text as it is, CR as \r, LF as \n, others as \xNN.
std::string PrintableBytes(const std::string& bytes);
// The escapes of PrintableBytes back to bytes (\r \n \t \\ \" \xNN).
std::string UnescapeBytes(const std::string& text);

}  // namespace sim
