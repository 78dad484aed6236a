#include "tools/soak/process_figures.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// A "Name:   1234 kB" line of /proc/self/status.
int64_t StatusKiB(const char* name)
{
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    int64_t value = 0;
    const size_t length = std::strlen(name);
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, name, length) == 0 && line[length] == ':') {
            std::sscanf(line + length + 1, "%ld", &value);
            break;
        }
    std::fclose(status);
    return value;
}

}  // namespace

TProcessFigures TProcessFigures::Now()
{
    TProcessFigures figures;
    figures.residentKiB = StatusKiB("VmRSS");
    figures.peakKiB = StatusKiB("VmHWM");
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++figures.descriptors;
    // The directory's own descriptor was counted while it was open.
    --figures.descriptors;
    return figures;
}
