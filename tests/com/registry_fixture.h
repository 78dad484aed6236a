#pragma once
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/com/hresult.h"

// Each test gets a registry of its own in a temporary directory, named by GATEWAY_REGISTRY.
class TemporaryRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/gwcom-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
        file_ = directory_ / "registry";
        setenv("GATEWAY_REGISTRY", file_.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("GATEWAY_REGISTRY");
        std::filesystem::remove_all(directory_);
    }

    // Calls an entry point of the test server as the registration program does.
    static HRESULT CallServer(const char* entryName)
    {
        void* handle = dlopen(GW_TEST_SERVER, RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(handle, nullptr) << dlerror();
        auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(handle, entryName));
        EXPECT_NE(entry, nullptr);
        return entry ? entry() : E_FAIL;
    }

    std::filesystem::path directory_;
    std::filesystem::path file_;
};
