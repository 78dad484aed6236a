#pragma once
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/com/strings_interface.h"

// A fresh temporary directory with its own registry and port directory, and the Celvane control
// registered there, as a host finds it after running the registration program.
inline void RegisterControlInTemporaryRegistry(const char* pattern, std::filesystem::path& dir)
{
    std::string name = pattern;
    ASSERT_NE(mkdtemp(name.data()), nullptr);
    dir = name;
    std::filesystem::create_directory(dir / "ports");
    setenv("GATEWAY_REGISTRY", (dir / "registry").c_str(), 1);
    setenv("GATEWAY_PORT_DIR", (dir / "ports").c_str(), 1);
    ASSERT_EQ(RegisterStdTypeLibrary(), S_OK);
    void* library = dlopen(GW_CELVANE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto registerServer = reinterpret_cast<HRESULT (*)()>(dlsym(library, "DllRegisterServer"));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK);
}
