#pragma once
#include <string>
#include <vector>

// Settings in INI form ("[Section]" lines, then "Key=Value" lines), read whole when opened and
// written back whole by UpdateFile. Section and key names compare without regard to ASCII case;
// values are kept exactly as written after the "=". Every other line (comments, blank lines,
// unknown sections and keys) is kept in place, so a hand-written file survives a save.
class TBufferedIniFile {
public:
    // A missing file gives empty settings; a file that exists but cannot be read raises.
    explicit TBufferedIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // The default when the key is absent or its value (blanks around it ignored) is no integer.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    void WriteInteger(const std::string& section, const std::string& key, int value);

    // Raises when the file cannot be written.
    void UpdateFile() const;

private:
    struct Line {
        std::string text;  // the line as read, or as last written
        std::string key;   // empty for lines that are not an entry
    };
    struct Section {
        std::string name;  // empty for lines before the first section header
        std::vector<Line> lines;
    };
    const Line* Find(const std::string& section, const std::string& key) const;

    std::string fileName_;
    std::vector<Section> sections_;
    std::string lineEnd_ = "\n";
};
