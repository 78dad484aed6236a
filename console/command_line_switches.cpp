#include "console/command_line_switches.h"

#include <algorithm>
#include <cctype>
#include <mutex>

namespace {

std::mutex argumentsLock;
std::vector<std::string> arguments;  // guarded by argumentsLock
int lastMatch = -1;                  // guarded by argumentsLock

bool IsSwitch(const std::string& argument)
{
    return !argument.empty() && (argument[0] == '-' || argument[0] == '/');
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The index of the matching argument, or -1; remembers it for kSwitchFromLastMatch.
int Match(const std::string& name, int flags)
{
    std::lock_guard guard(argumentsLock);
    const int first = (flags & kSwitchFromLastMatch) ? lastMatch + 1 : 0;
    const bool withCase = flags & kSwitchCaseSensitive;
    const std::string wanted = withCase ? name : Upper(name);
    for (int i = std::max(first, 0); i < static_cast<int>(arguments.size()); ++i) {
        const std::string& argument = arguments[static_cast<size_t>(i)];
        const bool matches = name.empty()
            ? !IsSwitch(argument)
            : IsSwitch(argument) && (withCase ? argument.substr(1) : Upper(argument.substr(1))).starts_with(wanted);
        if (matches) {
            lastMatch = i;
            return i;
        }
    }
    return -1;
}

}  // namespace

void SetProgramArguments(std::vector<std::string> values)
{
    std::lock_guard guard(argumentsLock);
    arguments = std::move(values);
    lastMatch = -1;
}

void SetProgramArguments(int argc, char** argv)
{
    SetProgramArguments(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
}

bool FindSwitch(const std::string& name, int flags)
{
    return Match(name, flags) >= 0;
}

bool GetSwitchValue(const std::string& name, int flags, std::string& value)
{
    const int index = Match(name, flags);
    if (index < 0)
        return false;
    std::string argument;
    {
        std::lock_guard guard(argumentsLock);
        argument = arguments[static_cast<size_t>(index)];
    }
    // A plain argument (the empty name) has no switch character to strip.
    value = IsSwitch(argument) ? argument.substr(1 + name.size()) : argument;
    if (!(flags & kSwitchValueAsTyped)) {
        if (flags & kSwitchValueUpper)
            value = Upper(value);
        else if (flags & kSwitchValueLower)
            value = Lower(value);
    }
    return true;
}
