#include "platform/com/error_info.h"

#include <string>

#include "platform/com/ole_error.h"
#include "platform/sys/format.h"

namespace {

class ErrorInfo : public ComObject<IErrorInfo, ICreateErrorInfo> {
public:
    HRESULT GetGUID(GUID* iid) override { return Give(iid_, iid); }
    HRESULT GetSource(BSTR* source) override { return Give(source_, source); }
    HRESULT GetDescription(BSTR* description) override { return Give(description_, description); }
    HRESULT GetHelpFile(BSTR* helpFile) override { return Give(helpFile_, helpFile); }
    HRESULT GetHelpContext(uint32_t* helpContext) override { return Give(helpContext_, helpContext); }

    HRESULT SetGUID(const GUID& iid) override { return Take(iid, iid_); }
    HRESULT SetSource(const OLECHAR* source) override { return Take(source, source_); }
    HRESULT SetDescription(const OLECHAR* description) override { return Take(description, description_); }
    HRESULT SetHelpFile(const OLECHAR* helpFile) override { return Take(helpFile, helpFile_); }
    HRESULT SetHelpContext(uint32_t helpContext) override { return Take(helpContext, helpContext_); }

private:
    template <class T>
    static HRESULT Give(const T& field, T* out)
    {
        if (!out)
            return E_POINTER;
        *out = field;
        return S_OK;
    }
    static HRESULT Give(const Bstr& field, BSTR* out)
    {
        if (!out)
            return E_POINTER;
        *out = Bstr(field).Detach();
        return S_OK;
    }
    template <class T>
    static HRESULT Take(const T& value, T& field)
    {
        field = value;
        return S_OK;
    }
    static HRESULT Take(const OLECHAR* value, Bstr& field)
    {
        field = Bstr::Attach(SysAllocString(value));
        return S_OK;
    }

    GUID iid_{};
    Bstr source_;
    Bstr description_;
    Bstr helpFile_;
    uint32_t helpContext_ = 0;
};

thread_local ComPtr<IErrorInfo> threadErrorInfo;

} // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** info)
{
    if (!info)
        return E_POINTER;
    return CreateComObject<ErrorInfo>(ICreateErrorInfo::kIID, reinterpret_cast<void**>(info));
}

HRESULT SetErrorInfo(uint32_t, IErrorInfo* info)
{
    threadErrorInfo = ComPtr<IErrorInfo>(info);
    return S_OK;
}

HRESULT GetErrorInfo(uint32_t, IErrorInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = threadErrorInfo.Detach();
    return *info ? S_OK : S_FALSE;
}

HRESULT ReportError(HRESULT code, const IID& iid, std::string_view source, std::string_view description,
                    uint32_t helpContext)
{
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.Out())))
        return code;
    create->SetGUID(iid);
    create->SetSource(Bstr::FromNarrow(source).Get());
    create->SetDescription(Bstr::FromNarrow(description).Get());
    create->SetHelpContext(helpContext);
    SetErrorInfo(0, create.Query<IErrorInfo>().Get());
    return code;
}

HRESULT HandleMemberException(const IID& iid, std::string_view source)
{
    try {
        throw;
    } catch (const EOleSysError& e) {
        return ReportError(FAILED(e.ErrorCode()) ? e.ErrorCode() : E_UNEXPECTED, iid, source, e.Message());
    } catch (const std::exception& e) {
        return ReportError(E_UNEXPECTED, iid, source, e.what());
    } catch (...) {
        return ReportError(E_UNEXPECTED, iid, source, StatusText(E_UNEXPECTED));
    }
}
