#include "platform/com/ole_error.h"

#include "platform/com/error_info.h"
#include "platform/sys/format.h"

namespace {

struct StatusName {
    HRESULT code;
    const char* text;
};
constexpr StatusName kStatusTexts[] = {
    {E_NOTIMPL, "Not implemented"},
    {E_NOINTERFACE, "Interface not supported"},
    {E_POINTER, "Invalid pointer"},
    {E_FAIL, "Unspecified error"},
    {E_UNEXPECTED, "Catastrophic failure"},
    {E_INVALIDARG, "The parameter is incorrect"},
    {CLASS_E_NOAGGREGATION, "Class does not support aggregation"},
    {CLASS_E_CLASSNOTAVAILABLE, "Class not available"},
    {REGDB_E_CLASSNOTREG, "Class not registered"},
    {CO_E_DLLNOTFOUND, "The library of the class cannot be loaded"},
    {CO_E_ERRORINDLL, "The library of the class lacks its entry points"},
    {DISP_E_UNKNOWNINTERFACE, "Unknown interface"},
    {DISP_E_MEMBERNOTFOUND, "Member not found"},
    {DISP_E_PARAMNOTFOUND, "Parameter not found"},
    {DISP_E_TYPEMISMATCH, "Type mismatch"},
    {DISP_E_UNKNOWNNAME, "Unknown name"},
    {DISP_E_NONAMEDARGS, "No named arguments"},
    {DISP_E_BADVARTYPE, "Bad variable type"},
    {DISP_E_EXCEPTION, "Exception occurred"},
    {DISP_E_OVERFLOW, "Out of present range"},
    {DISP_E_BADINDEX, "Invalid index"},
    {DISP_E_BADPARAMCOUNT, "Invalid number of parameters"},
    {DISP_E_PARAMNOTOPTIONAL, "Parameter not optional"},
    {TYPE_E_ELEMENTNOTFOUND, "Element not found"},
    {TYPE_E_LIBNOTREGISTERED, "Library not registered"},
    {TYPE_E_CANTLOADLIBRARY, "Error loading type library"},
    {CONNECT_E_NOCONNECTION, "No connection for this cookie"},
    {CONNECT_E_ADVISELIMIT, "The connection point accepts no more connections"},
    {CONNECT_E_CANNOTCONNECT, "The sink does not support the event interface"},
};

} // namespace

std::string StatusText(HRESULT code)
{
    for (const auto& entry : kStatusTexts)
        if (entry.code == code)
            return entry.text;
    return Format("Error %08X", static_cast<uint32_t>(code));
}

void OleCheck(HRESULT code)
{
    if (SUCCEEDED(code))
        return;
    ComPtr<IErrorInfo> info;
    Bstr description;
    if (GetErrorInfo(0, info.Out()) == S_OK)
        info->GetDescription(description.Out());
    throw EOleSysError(code, description.Length() ? description.Narrow() : StatusText(code));
}
