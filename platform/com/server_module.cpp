#include "platform/com/server_module.h"

#include "platform/com/com_object.h"
#include "platform/com/error_info.h"
#include "platform/com/registry.h"
#include "platform/com/type_library_loader.h"

namespace {

class ClassFactory : public ComObject<IClassFactory> {
public:
    ClassFactory(ServerModule& module, const ClassRegistration& registration)
        : module_(module), registration_(registration)
    {
    }

    HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return registration_.create(iid, object);
    }
    HRESULT LockServer(int32_t lock) override
    {
        module_.Lock(lock != 0);
        return S_OK;
    }

private:
    ServerModule& module_;
    const ClassRegistration& registration_;
};

} // namespace

ServerModule::ServerModule(std::span<const ClassRegistration> classes, const TypeLibraryDescription* library)
    : classes_(classes), library_(library)
{
    if (library_)
        PublishTypeLibrary(*library_);
}

HRESULT ServerModule::GetClassObject(const CLSID& clsid, const IID& iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    for (const auto& c : classes_)
        if (c.clsid == clsid && c.create)
            return CreateComObject<ClassFactory>(iid, object, *this, c);
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ServerModule::Register()
{
    std::string path = ModulePath(classes_.data());
    if (library_)
        if (HRESULT hr = RegisterTypeLib(*library_, path); FAILED(hr))
            return hr;
    return SafeCall(IUnknown::kIID, "Registry", [&] {
        Registry::Update([&](Registry& r) {
            for (const auto& c : classes_) {
                ClassEntry e;
                e.clsid = c.clsid;
                e.name = c.name;
                e.library = path;
                e.progId = c.progId ? c.progId : "";
                e.threadingModel = c.threadingModel;
                e.miscStatus = c.miscStatus;
                e.toolboxBitmap = c.toolboxBitmap;
                e.control = c.control;
                if (library_) {
                    e.typeLibrary = library_->libid;
                    e.typeLibraryMajor = library_->major;
                    e.typeLibraryMinor = library_->minor;
                }
                r.PutClass(e);
            }
        });
    });
}

HRESULT ServerModule::Unregister()
{
    HRESULT hr = SafeCall(IUnknown::kIID, "Registry", [&] {
        Registry::Update([&](Registry& r) {
            for (const auto& c : classes_)
                r.RemoveClass(c.clsid);
        });
    });
    if (SUCCEEDED(hr) && library_)
        hr = UnRegisterTypeLib(library_->libid, library_->major, library_->minor);
    return hr;
}

HRESULT ServerModule::CanUnloadNow() const
{
    return locks_ == 0 && LiveComObjects() == 0 ? S_OK : S_FALSE;
}
