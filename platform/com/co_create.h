#pragma once
#include "platform/com/com_ptr.h"
#include "platform/com/ole_error.h"
#include "platform/com/unknown.h"

// Creation by class id: the registry names the library, which is loaded once with dlopen and
// never unloaded, and its DllGetClassObject hands out the class factory. Failures:
// REGDB_E_CLASSNOTREG for a class the registry does not know, CO_E_DLLNOTFOUND when the
// library cannot be loaded, CO_E_ERRORINDLL when it lacks DllGetClassObject; the error
// description says which library and why.
HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** object);
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** object);

// For client code: the new object's interface I, or EOleSysError.
template <class I>
ComPtr<I> CreateComInstance(const CLSID& clsid)
{
    ComPtr<I> object;
    OleCheck(CoCreateInstance(clsid, nullptr, I::kIID, reinterpret_cast<void**>(object.Out())));
    return object;
}
