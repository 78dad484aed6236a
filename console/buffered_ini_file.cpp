#include "console/buffered_ini_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string_view>

#include "platform/sys/exception.h"
#include "platform/sys/format.h"
#include "platform/sys/str_to_int.h"

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// "[Name]" gives Name; anything else is no header.
bool SectionHeader(std::string_view line, std::string& name)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']')
        return false;
    name = std::string(Trim(trimmed.substr(1, trimmed.size() - 2)));
    return true;
}

// Comments start with ";" or "#"; an entry needs a name before its "=".
std::string EntryKey(std::string_view line)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
        return {};
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {};
    return std::string(Trim(line.substr(0, equals)));
}

}  // namespace

TBufferedIniFile::TBufferedIniFile(std::string fileName) : fileName_(std::move(fileName))
{
    sections_.push_back({});
    std::ifstream file(fileName_, std::ios::binary);
    if (!file) {
        if (errno == ENOENT)
            return;
        throw Exception(Format("Cannot read settings file \"%s\": %s", fileName_.c_str(), strerror(errno)));
    }
    std::stringstream content;
    content << file.rdbuf();
    std::string line;
    bool first = true;
    while (std::getline(content, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            if (first)
                lineEnd_ = "\r\n";
        }
        first = false;
        std::string name;
        if (SectionHeader(line, name)) {
            sections_.push_back({name, {{line, {}}}});
            continue;
        }
        sections_.back().lines.push_back({line, EntryKey(line)});
    }
}

const TBufferedIniFile::Line* TBufferedIniFile::Find(const std::string& section, const std::string& key) const
{
    for (const Section& s : sections_) {
        if (s.name.empty() || !SameName(s.name, section))
            continue;
        for (const Line& line : s.lines)
            if (!line.key.empty() && SameName(line.key, key))
                return &line;
    }
    return nullptr;
}

std::string TBufferedIniFile::ReadString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const
{
    const Line* line = Find(section, key);
    if (!line)
        return defaultValue;
    return line->text.substr(line->text.find('=') + 1);
}

void TBufferedIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (Line* line = const_cast<Line*>(Find(section, key))) {
        line->text = line->key + "=" + value;
        return;
    }
    Section* target = nullptr;
    for (Section& s : sections_)
        if (!s.name.empty() && SameName(s.name, section))
            target = &s;
    if (!target) {
        sections_.push_back({section, {{"[" + section + "]", {}}}});
        target = &sections_.back();
    }
    // After the section's last non-blank line, so a blank line that separates it from the next
    // section stays below.
    auto at = target->lines.begin() + 1;
    for (auto it = at; it != target->lines.end(); ++it)
        if (!Trim(it->text).empty())
            at = it + 1;
    target->lines.insert(at, {key + "=" + value, key});
}

int TBufferedIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    int value;
    const std::string text(Trim(ReadString(section, key, {})));
    return TryStrToInt(text, value) ? value : defaultValue;
}

void TBufferedIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TBufferedIniFile::UpdateFile() const
{
    std::string content;
    for (const Section& s : sections_)
        for (const Line& line : s.lines)
            content += line.text + lineEnd_;
    std::ofstream file(fileName_, std::ios::binary | std::ios::trunc);
    if (!file)
        throw Exception(Format("Cannot write settings file \"%s\": %s", fileName_.c_str(), strerror(errno)));
    file << content;
    file.close();
    if (!file)
        throw Exception(Format("Cannot write settings file \"%s\"", fileName_.c_str()));
}
