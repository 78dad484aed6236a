#include "platform/com/strings_adapter.h"

namespace {

class BorrowedStringsAdapter : public ComObject<StringsAdapter<IStrings>, SupportErrorInfo<IStrings>> {
public:
    explicit BorrowedStringsAdapter(TStrings& strings) : strings_(strings) {}

protected:
    TStrings& Strings() override { return strings_; }

private:
    TStrings& strings_;
};

} // namespace

HRESULT CreateStringsAdapter(TStrings& strings, IStrings** adapter)
{
    if (!adapter)
        return E_POINTER;
    *adapter = nullptr;
    if (HRESULT hr = LoadStringsTypeLibrary(); FAILED(hr))
        return hr;
    return CreateComObject<BorrowedStringsAdapter>(IStrings::kIID, reinterpret_cast<void**>(adapter), strings);
}
