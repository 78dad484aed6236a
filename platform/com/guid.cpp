#include "platform/com/guid.h"

#include "platform/sys/format.h"

bool TryParseGuid(std::string_view text, GUID& guid)
{
    GUID parsed{};
    if (!guid_detail::Parse(text, parsed))
        return false;
    guid = parsed;
    return true;
}

std::string GuidToString(const GUID& g)
{
    return Format("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3, g.Data4[0],
                  g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
}
