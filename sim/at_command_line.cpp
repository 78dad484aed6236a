#include "sim/at_command_line.h"

#include <cctype>

namespace sim {

namespace {

constexpr std::string_view kExtendedPrefixes = "+^*%$";

bool IsExtendedNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '!' || c == '%' || c == '-' ||
           c == '.' || c == '/' || c == ':' || c == '_';
}

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// Arguments of an extended command run to the first ";" outside quotes.
bool ReadExtendedArgs(std::string_view body, size_t& pos, std::string& args)
{
    bool quoted = false;
    const size_t start = pos;
    while (pos < body.size() && (quoted || body[pos] != ';')) {
        if (body[pos] == '"')
            quoted = !quoted;
        ++pos;
    }
    if (quoted)
        return false;
    args = std::string(body.substr(start, pos - start));
    return true;
}

size_t SkipDigits(std::string_view body, size_t pos)
{
    while (pos < body.size() && std::isdigit(static_cast<unsigned char>(body[pos])))
        ++pos;
    return pos;
}

}  // namespace

bool SplitCommandLine(std::string_view body, std::vector<TAtCommand>& commands)
{
    size_t pos = 0;
    while (pos < body.size()) {
        const char c = body[pos];
        TAtCommand command;
        if (c == ' ' || c == ';') {
            ++pos;
            continue;
        }
        if (kExtendedPrefixes.find(c) != std::string_view::npos) {
            const size_t start = pos++;
            while (pos < body.size() && IsExtendedNameChar(body[pos]))
                ++pos;
            command.name = Upper(body.substr(start, pos - start));
            if (command.name.size() < 2)
                return false;
            if (body.substr(pos, 2) == "=?") {
                command.form = TAtForm::Test;
                pos += 2;
            } else if (pos < body.size() && body[pos] == '?') {
                command.form = TAtForm::Read;
                ++pos;
            } else if (pos < body.size() && body[pos] == '=') {
                command.form = TAtForm::Set;
                ++pos;
                if (!ReadExtendedArgs(body, pos, command.args))
                    return false;
            }
            if (pos < body.size() && body[pos] != ';')
                return false;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '&') {
            const size_t start = pos;
            pos += c == '&' ? 2 : 1;
            if (pos > body.size())
                return false;
            command.name = Upper(body.substr(start, pos - start));
            if (command.name == "S") {
                const size_t digitsEnd = SkipDigits(body, pos);
                command.name += std::string(body.substr(pos, digitsEnd - pos));
                pos = digitsEnd;
                if (pos < body.size() && body[pos] == '?') {
                    command.form = TAtForm::Read;
                    ++pos;
                } else if (pos < body.size() && body[pos] == '=') {
                    command.form = TAtForm::Set;
                    const size_t valueEnd = SkipDigits(body, ++pos);
                    command.args = std::string(body.substr(pos, valueEnd - pos));
                    pos = valueEnd;
                }
            } else {
                const size_t digitsEnd = SkipDigits(body, pos);
                command.args = std::string(body.substr(pos, digitsEnd - pos));
                command.form = TAtForm::Set;
                pos = digitsEnd;
            }
        } else {
            return false;
        }
        commands.push_back(std::move(command));
    }
    return true;
}

std::vector<TAtParam> SplitParams(std::string_view args)
{
    std::vector<TAtParam> params;
    if (args.empty())
        return params;
    TAtParam current;
    bool quoted = false;
    int depth = 0;
    for (char c : args) {
        if (c == '"') {
            quoted = !quoted;
            current.quoted = true;
            continue;
        }
        if (!quoted) {
            if (c == '(')
                ++depth;
            else if (c == ')' && depth > 0)
                --depth;
            else if (c == ',' && depth == 0) {
                params.push_back(std::move(current));
                current = TAtParam{};
                continue;
            } else if (c == ' ')
                continue;
        }
        current.text += c;
    }
    params.push_back(std::move(current));
    return params;
}

bool ParamToInt(const TAtParam& param, int low, int high, int& value)
{
    if (param.quoted || param.text.empty() || param.text.size() > 9)
        return false;
    int result = 0;
    for (char c : param.text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        result = result * 10 + (c - '0');
    }
    if (result < low || result > high)
        return false;
    value = result;
    return true;
}

}  // namespace sim
