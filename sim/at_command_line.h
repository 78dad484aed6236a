#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class TAtForm { Action, Set, Read, Test };

// One command of a command line: "+CMGL" with form Set and arguments "4", or the basic
// command "E" with form Set and arguments "0".
struct TAtCommand {
    std::string name;   // upper case
    TAtForm form = TAtForm::Action;
    std::string args;   // as typed, after "="
};

// Splits the text after the "AT" prefix into its commands: basic ones (E0, V1, &F, S0=0, S7?)
// and extended ones (+CMGF=0, ^SMSO), the latter ended by ";". False when the text has no valid
// shape (an unknown character, an unterminated quote).
bool SplitCommandLine(std::string_view body, std::vector<TAtCommand>& commands);

struct TAtParam {
    std::string text;    // without the quotes
    bool quoted = false;
    bool Empty() const { return text.empty() && !quoted; }
};

// Comma-separated parameters; quotes group, parentheses too (for range lists).
std::vector<TAtParam> SplitParams(std::string_view args);

// A decimal parameter within [low, high]; false when it is not one.
bool ParamToInt(const TAtParam& param, int low, int high, int& value);

}  // namespace sim
