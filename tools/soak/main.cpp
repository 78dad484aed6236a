// gwsoak: the control on two joined simulated modems, thousands of messages, faults at random.
#include <dlfcn.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/com/strings_interface.h"
#include "platform/sys/exception.h"
#include "platform/sys/str_to_int.h"
#include "tools/soak/soak_run.h"

namespace {

constexpr char kUsage[] =
    "usage: gwsoak [--messages N] [--seconds S] [--seed N] [--library PATH] [--verbose]\n"
    "  Sends N messages (default 2000) between two controls on joined simulated modems while\n"
    "  faults are injected, then prints a summary. No new message is sent after 80 % of S\n"
    "  seconds (default 3600). Exit status 0 when nothing was lost or duplicated, every fault\n"
    "  was recovered from and memory and descriptors stayed flat; 1 otherwise; 2 on bad usage.\n";

// The library registers itself in a registry of this run's own, as gwregsvr would.
bool RegisterLibrary(const std::string& library)
{
    if (RegisterStdTypeLibrary() != S_OK) {
        std::fprintf(stderr, "gwsoak: the standard type library cannot be registered\n");
        return false;
    }
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "gwsoak: %s\n", dlerror());
        return false;
    }
    auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(handle, "DllRegisterServer"));
    if (!entry || entry() != S_OK) {
        std::fprintf(stderr, "gwsoak: %s does not register\n", library.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    TSoakOptions options;
    std::string library = GW_CELVANE_LIBRARY;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            auto value = [&]() -> std::string {
                if (i + 1 >= argc)
                    throw Exception(arg + " needs a value");
                return argv[++i];
            };
            if (arg == "--messages")
                options.messages = StrToInt(value());
            else if (arg == "--seconds")
                options.seconds = StrToInt(value());
            else if (arg == "--seed")
                options.seed = static_cast<unsigned>(StrToInt(value()));
            else if (arg == "--library")
                library = value();
            else if (arg == "--verbose")
                options.verbose = true;
            else if (arg == "--help") {
                std::fputs(kUsage, stdout);
                return 0;
            } else
                throw Exception("unknown option " + arg);
        }
        if (options.messages < 1 || options.seconds < 1)
            throw Exception("--messages and --seconds must be positive");
    } catch (const Exception& e) {
        std::fprintf(stderr, "gwsoak: %s\n", e.Message().c_str());
        std::fputs(kUsage, stderr);
        return 2;
    }

    char pattern[] = "/tmp/gwsoak-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("gwsoak: mkdtemp");
        return 1;
    }
    const std::filesystem::path directory = pattern;
    setenv("GATEWAY_REGISTRY", (directory / "registry").c_str(), 1);
    setenv("GATEWAY_PORT_DIR", (directory / "ports").c_str(), 1);
    bool passed = false;
    if (RegisterLibrary(library)) {
        try {
            passed = TSoak(options).Run();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "gwsoak: %s\nFAIL\n", e.what());
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    return passed ? 0 : 1;
}
