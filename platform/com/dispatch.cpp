#include "platform/com/dispatch.h"

#include <cstring>

void ClearExcepInfo(EXCEPINFO* info)
{
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrDescription);
    SysFreeString(info->bstrHelpFile);
    std::memset(info, 0, sizeof(EXCEPINFO));
}
