#include "platform/com/type_library_loader.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/com/error_info.h"
#include "platform/com/ole_error.h"
#include "platform/com/registry.h"

namespace {

struct Catalogue {
    std::mutex lock;
    std::vector<const TypeLibraryDescription*> libraries;  // guarded by lock
};

Catalogue& Published()
{
    static Catalogue catalogue;
    return catalogue;
}

const TypeLibraryDescription* FindPublished(const GUID& libid, uint16_t major)
{
    Catalogue& c = Published();
    std::lock_guard guard(c.lock);
    for (const TypeLibraryDescription* library : c.libraries)
        if (library->libid == libid && library->major == major)
            return library;
    return nullptr;
}

// Registration runs in registration programs and tests: a failure to write the file is
// reported as the thread's error description.
template <class Change>
HRESULT ChangeRegistry(Change&& change)
{
    return SafeCall(IUnknown::kIID, "Registry", [&] { Registry::Update(change); });
}

} // namespace

void PublishTypeLibrary(const TypeLibraryDescription& library)
{
    Catalogue& c = Published();
    std::lock_guard guard(c.lock);
    c.libraries.push_back(&library);
}

std::vector<const TypeLibraryDescription*> PublishedTypeLibraries()
{
    Catalogue& c = Published();
    std::lock_guard guard(c.lock);
    return c.libraries;
}

HRESULT RegisterTypeLib(const TypeLibraryDescription& library, const std::string& path)
{
    TypeLibraryEntry entry{library.libid, library.major, library.minor, library.lcid, library.name,
                           library.help ? library.help : "", path};
    return ChangeRegistry([&](Registry& r) { r.PutTypeLibrary(entry); });
}

HRESULT UnRegisterTypeLib(const GUID& libid, uint16_t major, uint16_t minor)
{
    return ChangeRegistry([&](Registry& r) { r.RemoveTypeLibrary(libid, major, minor); });
}

HRESULT LoadRegTypeLib(const GUID& libid, uint16_t major, uint16_t minor, const TypeLibraryDescription** library)
{
    if (!library)
        return E_POINTER;
    *library = nullptr;
    std::optional<TypeLibraryEntry> entry;
    try {
        entry = Registry().FindTypeLibrary(libid, major, minor);
    } catch (const std::exception&) {
        return TYPE_E_LIBNOTREGISTERED;
    }
    if (!entry)
        return TYPE_E_LIBNOTREGISTERED;
    // Loading the file runs its static initialisation, which publishes its description; a
    // file already loaded comes back at no cost.
    if (!dlopen(entry->path.c_str(), RTLD_NOW | RTLD_LOCAL))
        return TYPE_E_CANTLOADLIBRARY;
    *library = FindPublished(libid, major);
    return *library ? S_OK : TYPE_E_CANTLOADLIBRARY;
}

std::string ModulePath(const void* address)
{
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname)
        return {};
    char resolved[PATH_MAX];
    return realpath(info.dli_fname, resolved) ? resolved : info.dli_fname;
}
