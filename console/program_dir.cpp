#include "console/program_dir.h"

#include <filesystem>

std::string ProgramPath()
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string ProgramDir()
{
    std::string dir = std::filesystem::path(ProgramPath()).parent_path().string();
    if (dir.empty() || (dir.back() != '/' && dir.back() != ':' && dir.back() != '\\'))
        dir += '/';
    return dir;
}
