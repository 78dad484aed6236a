#pragma once
#include <atomic>
#include <span>

#include "platform/com/class_factory.h"
#include "platform/com/type_library.h"

// What a library that serves classes registers for each of them.
struct ClassRegistration {
    CLSID clsid;
    const char* name;
    const char* progId;
    const char* threadingModel;  // "Both" for every class of this system
    uint32_t miscStatus = 0;
    int toolboxBitmap = 0;
    bool control = false;
    HRESULT (*create)(const IID& iid, void** object) = nullptr;  // null: registered, not creatable
};

// The four entry points of a server library, over its class table:
//
//   static ServerModule module(kClasses, &kTypeLibrary);
//   extern "C" HRESULT DllGetClassObject(const CLSID& c, const IID& i, void** o)
//   { return module.GetClassObject(c, i, o); }
//   ... DllRegisterServer, DllUnregisterServer, DllCanUnloadNow likewise.
class ServerModule {
public:
    explicit ServerModule(std::span<const ClassRegistration> classes, const TypeLibraryDescription* library = nullptr);

    HRESULT GetClassObject(const CLSID& clsid, const IID& iid, void** object);
    // Enters every class (and the type library) with the path of the library itself.
    HRESULT Register();
    HRESULT Unregister();
    // S_OK when no factory is locked and no object of the whole process is alive: on the safe
    // side, since objects do not say which library made them.
    HRESULT CanUnloadNow() const;

    void Lock(bool lock) { locks_ += lock ? 1 : -1; }

private:
    std::span<const ClassRegistration> classes_;
    const TypeLibraryDescription* library_;
    std::atomic<int> locks_{0};
};
