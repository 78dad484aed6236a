// gwregsvr: enters the classes of server libraries into the object registry of this user,
// or removes them, by calling the libraries' DllRegisterServer or DllUnregisterServer.
// Registering also registers the platform's standard type library, which string lists need.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/com/error_info.h"
#include "platform/com/ole_error.h"
#include "platform/com/strings_interface.h"
#include "platform/com/type_library_loader.h"

namespace {

using EntryPoint = HRESULT (*)();

constexpr const char* kUsage =
    "Usage: gwregsvr [-u | -l] [LIBRARY...]\n"
    "  Registers each server library (or with -u unregisters it) in the object registry\n"
    "  ($GATEWAY_REGISTRY, else $XDG_CONFIG_HOME/gateway/registry). Without a library,\n"
    "  registers (or unregisters) the platform's standard type library alone.\n"
    "  -l prints the type libraries the libraries carry (without one, the platform's) as IDL.\n";

int Report(const std::string& what, HRESULT hr)
{
    if (SUCCEEDED(hr)) {
        std::printf("%s: done\n", what.c_str());
        return 0;
    }
    std::string reason = StatusText(hr);
    ComPtr<IErrorInfo> info;
    Bstr description;
    if (GetErrorInfo(0, info.Out()) == S_OK && SUCCEEDED(info->GetDescription(description.Out())) && description.Length())
        reason = description.Narrow();
    std::fprintf(stderr, "%s: failed (%08X): %s\n", what.c_str(), static_cast<uint32_t>(hr), reason.c_str());
    return 1;
}

void* Load(const std::string& library)
{
    // A bare file name means the file here, as the user sees it, not a search of the loader's paths.
    std::string path = std::filesystem::exists(library) ? std::filesystem::absolute(library).string() : library;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        std::fprintf(stderr, "%s: cannot load: %s\n", library.c_str(), dlerror());
    return handle;
}

// Loading a library publishes the descriptions it carries.
int List(const std::string& library)
{
    size_t before = PublishedTypeLibraries().size();
    if (!Load(library))
        return 1;
    auto published = PublishedTypeLibraries();
    for (size_t i = before; i < published.size(); ++i)
        std::fputs(DumpTypeLibrary(*published[i]).c_str(), stdout);
    return 0;
}

int Run(const std::string& library, bool unregister)
{
    const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    std::string what = std::string(entryName) + " in " + library;
    void* handle = Load(library);
    if (!handle)
        return 1;
    auto entry = reinterpret_cast<EntryPoint>(dlsym(handle, entryName));
    if (!entry) {
        std::fprintf(stderr, "%s: no entry point %s\n", library.c_str(), entryName);
        return 1;
    }
    return Report(what, entry());
}

} // namespace

int main(int argc, char** argv)
{
    bool unregister = false;
    bool list = false;
    std::vector<std::string> libraries;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-u") == 0) {
            unregister = true;
        } else if (std::strcmp(argv[i], "-l") == 0) {
            list = true;
        } else if (argv[i][0] == '-') {
            std::fputs(kUsage, stderr);
            return 2;
        } else {
            libraries.push_back(argv[i]);
        }
    }
    int failures = 0;
    if (list && unregister) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (list) {
        if (libraries.empty())
            std::fputs(DumpTypeLibrary(kStdVclTypeLibrary).c_str(), stdout);
        for (const auto& library : libraries)
            failures += List(library);
        return failures ? 1 : 0;
    }
    if (!unregister)
        failures += Report("Standard type library", RegisterStdTypeLibrary());
    else if (libraries.empty())
        failures += Report("Standard type library", UnregisterStdTypeLibrary());
    for (const auto& library : libraries)
        failures += Run(library, unregister);
    return failures ? 1 : 0;
}
