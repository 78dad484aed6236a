#pragma once
#include "platform/com/error_info.h"
#include "platform/com/ole_error.h"
#include "platform/com/strings_interface.h"
#include "platform/sys/string_list.h"

// IStrings over a string list: a live view, reads and writes go to the list itself. The
// concrete class supplies the list and decides who owns it; I is IStrings or an interface
// extending it. Failures (an index outside the list) carry the list's message and name
// IStrings as their interface.
template <class I = IStrings>
class StringsAdapter : public DispatchImpl<I, &StringsDispatchTable> {
public:
    HRESULT get_ControlDefault(int32_t index, BSTR* item) override { return get_Item(index, item); }
    HRESULT put_ControlDefault(int32_t index, BSTR item) override { return put_Item(index, item); }
    HRESULT Count(int32_t* count) override
    {
        return Guard([&] { *count = Strings().Count(); });
    }
    HRESULT get_Item(int32_t index, BSTR* item) override
    {
        return Guard([&] { *item = Bstr::FromNarrow(Strings().Get(index)).Detach(); });
    }
    HRESULT put_Item(int32_t index, BSTR item) override
    {
        return Guard([&] { Strings().Put(index, NarrowBstr(item)); });
    }
    HRESULT Remove(int32_t index) override
    {
        return Guard([&] { Strings().Delete(index); });
    }
    HRESULT Clear() override
    {
        return Guard([&] { Strings().Clear(); });
    }
    HRESULT Add(BSTR item, int32_t* index) override
    {
        return Guard([&] { *index = Strings().Add(NarrowBstr(item)); });
    }
    HRESULT _NewEnum(IUnknown** enumerator) override
    {
        return Guard([&] {
            std::vector<Variant> items;
            for (int i = 0; i < Strings().Count(); ++i)
                items.push_back(Variant::Narrow(Strings().Get(i)));
            OleCheck(CreateVariantEnumerator(std::move(items), enumerator));
        });
    }

protected:
    virtual TStrings& Strings() = 0;

    template <class Body>
    HRESULT Guard(Body&& body)
    {
        return SafeCall(IStrings::kIID, "", std::forward<Body>(body));
    }
};

// A view of a list that outlives it; TYPE_E_LIBNOTREGISTERED when the standard type library
// is not registered.
HRESULT CreateStringsAdapter(TStrings& strings, IStrings** adapter);
