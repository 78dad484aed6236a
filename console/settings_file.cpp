#include "console/settings_file.h"

#include <filesystem>
#include <memory>

#include "console/command_line_switches.h"
#include "console/program_dir.h"
#include "platform/sys/exception.h"

namespace {

// GUI thread only.
std::unique_ptr<TBufferedIniFile> settings;

}  // namespace

std::string SettingsFilePath()
{
    std::string path;
    if (GetSwitchValue("I:", kSwitchValueAsTyped | kSwitchValueUpper, path))
        return path;
    return std::filesystem::path(ProgramPath()).replace_extension(".ini").string();
}

void OpenSettingsFile(const std::string& path)
{
    settings.reset();
    settings = std::make_unique<TBufferedIniFile>(std::filesystem::absolute(path).string());
}

void CloseSettingsFile()
{
    try {
        if (settings)
            settings->UpdateFile();
    } catch (const std::exception&) {
        // Nothing can be told at this point: the windows are gone.
    }
    settings.reset();
}

TBufferedIniFile& SettingsFile()
{
    if (!settings)
        throw Exception("The settings file is not open");
    return *settings;
}
