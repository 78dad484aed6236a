#include "platform/com/co_create.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <string>

#include "platform/com/class_factory.h"
#include "platform/com/error_info.h"
#include "platform/com/ole_error.h"
#include "platform/com/registry.h"
#include "platform/sys/format.h"

namespace {

using GetClassObjectEntry = HRESULT (*)(const CLSID&, const IID&, void**);

constexpr const char* kSource = "CoCreateInstance";

// Loaded libraries by path; their code must outlive every object they made.
std::mutex librariesLock;
std::map<std::string, GetClassObjectEntry> libraries;  // guarded by librariesLock

HRESULT EntryOf(const std::string& path, GetClassObjectEntry& entry)
{
    std::lock_guard guard(librariesLock);
    if (auto it = libraries.find(path); it != libraries.end()) {
        entry = it->second;
        return S_OK;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return ReportError(CO_E_DLLNOTFOUND, IUnknown::kIID, kSource, Format("Cannot load %s: %s", path.c_str(), dlerror()));
    entry = reinterpret_cast<GetClassObjectEntry>(dlsym(handle, "DllGetClassObject"));
    if (!entry)
        return ReportError(CO_E_ERRORINDLL, IUnknown::kIID, kSource,
                           Format("%s has no entry point DllGetClassObject", path.c_str()));
    libraries.emplace(path, entry);
    return S_OK;
}

} // namespace

HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    std::optional<ClassEntry> entry;
    try {
        entry = Registry().FindClass(clsid);
    } catch (const std::exception& e) {
        return ReportError(REGDB_E_CLASSNOTREG, IUnknown::kIID, kSource, e.what());
    }
    if (!entry || entry->library.empty())
        return ReportError(REGDB_E_CLASSNOTREG, IUnknown::kIID, kSource,
                           Format("Class %s is not registered", GuidToString(clsid).c_str()));
    GetClassObjectEntry getClassObject = nullptr;
    if (HRESULT hr = EntryOf(entry->library, getClassObject); FAILED(hr))
        return hr;
    return getClassObject(clsid, iid, object);
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    ComPtr<IClassFactory> factory;
    if (HRESULT hr = CoGetClassObject(clsid, IClassFactory::kIID, reinterpret_cast<void**>(factory.Out())); FAILED(hr))
        return hr;
    return factory->CreateInstance(outer, iid, object);
}
