#include "platform/sys/port_directory.h"

#include <cstdlib>
#include <sys/stat.h>

namespace {

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The N of "ComN", or 0 when the name has another shape.
int ComNumber(const std::string& name)
{
    if (name.size() < 4 || name.size() > 9)
        return 0;
    if ((name[0] | 0x20) != 'c' || (name[1] | 0x20) != 'o' || (name[2] | 0x20) != 'm')
        return 0;
    int number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

}  // namespace

std::string PortDirectory()
{
    if (std::string dir = Variable("GATEWAY_PORT_DIR"); !dir.empty())
        return dir;
    if (std::string runtime = Variable("XDG_RUNTIME_DIR"); !runtime.empty())
        return runtime + "/gateway-ports";
    if (std::string home = Variable("HOME"); !home.empty())
        return home + "/.gateway/ports";
    return "";
}

std::string ResolvePortName(const std::string& deviceName)
{
    const int number = ComNumber(deviceName);
    if (number == 0)
        return deviceName;
    const std::string dir = PortDirectory();
    if (!dir.empty()) {
        const std::string link = dir + "/com" + std::to_string(number);
        struct stat st;
        if (lstat(link.c_str(), &st) == 0)
            return link;
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}
