#pragma once
#include <string>
#include <vector>

// Command-line switches: arguments that begin with "-" or "/".
constexpr int kSwitchCaseSensitive = 1;   // compare the name with case
constexpr int kSwitchValueUpper = 2;      // GetSwitchValue: the value in upper case
constexpr int kSwitchValueLower = 4;      // GetSwitchValue: the value in lower case
constexpr int kSwitchFromLastMatch = 8;   // start after the previous match
constexpr int kSwitchValueAsTyped = 16;   // GetSwitchValue: the value as typed (wins over 2 and 4)

// The program's arguments after its name; main sets them once, tests as they need.
void SetProgramArguments(std::vector<std::string> arguments);
void SetProgramArguments(int argc, char** argv);

// True when a switch whose text after its first character begins with name is present. With an
// empty name the first argument that is not a switch matches instead.
bool FindSwitch(const std::string& name, int flags);
// The matching argument without its switch character and name.
bool GetSwitchValue(const std::string& name, int flags, std::string& value);
