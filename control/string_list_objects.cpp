#include "control/string_list_objects.h"

#include "codec/sms.h"
#include "control/celvane_type_library.h"
#include "control/message_objects.h"
#include "control/dispatch_tables.h"
#include "platform/com/ole_error.h"
#include "platform/com/strings_adapter.h"

namespace {

class OwnedStrings final : public ComObject<StringsAdapter<IStrings>, SupportErrorInfo<IStrings>> {
public:
    explicit OwnedStrings(std::unique_ptr<TStrings> list) : list_(std::move(list)) {}

protected:
    TStrings& Strings() override { return *list_; }

private:
    std::unique_ptr<TStrings> list_;
};

class StringsView final : public ComObject<StringsAdapter<IStrings>, SupportErrorInfo<IStrings>> {
public:
    StringsView(TStrings& list, IUnknown* keeper) : list_(list), keeper_(keeper) {}

protected:
    TStrings& Strings() override { return list_; }

private:
    TStrings& list_;
    ComPtr<IUnknown> keeper_;
};

constexpr DispatchBinding kObjectsBindings[] = {
    BindGet<&IStrings2::get_Objects>("Objects"),
    BindPut<&IStrings2::put_Objects>("Objects"),
};

} // namespace

const DispatchTable& SMSListTable()
{
    static const DispatchTable table(kIStrings2Description, {kIStringsBindings, kObjectsBindings});
    return table;
}

namespace {

class TGSM_SMSListAdapter final : public ComObject<StringsAdapter<IStrings2>, SupportErrorInfo<IStrings2>> {
public:
    explicit TGSM_SMSListAdapter(std::unique_ptr<TStringList> list) : list_(std::move(list))
    {
        // The messages were decoded for the engine, which may go before this list: from now on
        // they stand alone, and so do the objects made from them.
        for (int i = 0; i < list_->Count(); ++i)
            if (auto* message = dynamic_cast<TSMS*>(list_->GetObject(i)))
                message->SetGSM(nullptr);
    }

    // Objects is reached by late binding too: the table extends the one of IStrings.
    HRESULT GetIDsOfNames(const IID&, const OLECHAR** names, uint32_t count, LCID, DISPID* ids) override
    {
        return SMSListTable().GetIDsOfNames(names, count, ids);
    }
    HRESULT Invoke(DISPID id, const IID&, LCID, uint16_t flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, uint32_t* argumentError) override
    {
        return SMSListTable().Invoke(static_cast<IDispatch*>(static_cast<IStrings2*>(this)), id, flags, params,
                                     result, exception, argumentError);
    }

    HRESULT get_Objects(int32_t Index, VARIANT* value) override
    {
        return Guard([&] {
            VariantInit(value);
            auto* message = dynamic_cast<TSMS*>(list_->GetObject(Index));
            if (ComPtr<ISMS> object = GSM2::WrapSMS(message))
                Variant::Dispatch(object.Get()).Detach(value);
        });
    }
    HRESULT put_Objects(int32_t Index, VARIANT value) override
    {
        return Guard([&] {
            if (AnswersForSMS(value))
                list_->GetObject(Index);  // still checks the index
            else
                list_->PutObject(Index, nullptr);  // the list owns the message and frees it
        });
    }

protected:
    TStrings& Strings() override { return *list_; }

private:
    static bool AnswersForSMS(const VARIANT& value)
    {
        if ((value.vt != VT_DISPATCH && value.vt != VT_UNKNOWN) || !value.punkVal)
            return false;
        ComPtr<ISMS> sms;
        return SUCCEEDED(value.punkVal->QueryInterface(ISMS::kIID, reinterpret_cast<void**>(sms.Out())));
    }

    std::unique_ptr<TStringList> list_;
};

} // namespace

HRESULT CreateOwnedStrings(std::unique_ptr<TStrings> list, IStrings** strings)
{
    if (!strings)
        return E_POINTER;
    *strings = nullptr;
    if (HRESULT hr = LoadStringsTypeLibrary(); FAILED(hr))
        return hr;
    return CreateComObject<OwnedStrings>(IStrings::kIID, reinterpret_cast<void**>(strings), std::move(list));
}

HRESULT CreateStringsView(TStrings& list, IUnknown* keeper, IStrings** strings)
{
    if (!strings)
        return E_POINTER;
    *strings = nullptr;
    if (HRESULT hr = LoadStringsTypeLibrary(); FAILED(hr))
        return hr;
    return CreateComObject<StringsView>(IStrings::kIID, reinterpret_cast<void**>(strings), list, keeper);
}

HRESULT CreateSMSListAdapter(std::unique_ptr<TStringList> list, IStrings2** adapter)
{
    if (!adapter)
        return E_POINTER;
    *adapter = nullptr;
    if (HRESULT hr = LoadStringsTypeLibrary(); FAILED(hr))
        return hr;
    return CreateComObject<TGSM_SMSListAdapter>(IStrings2::kIID, reinterpret_cast<void**>(adapter), std::move(list));
}

void CopyStrings(IStrings* from, TStrings& to)
{
    int32_t count = 0;
    OleCheck(from->Count(&count));
    for (int32_t i = 0; i < count; ++i) {
        Bstr item;
        OleCheck(from->get_Item(i, item.Out()));
        to.Add(item.Narrow());
    }
}
