#include "platform/com/strings_interface.h"

#include "platform/com/enumerator.h"
#include "platform/com/type_library_loader.h"

namespace {

constexpr ParamDescription kIndex[] = {{"Index", kLongType}};
constexpr ParamDescription kItem[] = {{"Item", kStringType}};

constexpr MemberDescription kIStringsMembers[] = {
    {.id = DISPID_VALUE, .name = "ControlDefault", .kind = MemberKind::Property, .type = kStringType, .params = kIndex},
    {.id = 1, .name = "Count", .kind = MemberKind::Property, .type = kLongType, .access = kAccessGet},
    {.id = 2, .name = "Item", .kind = MemberKind::Property, .type = kStringType, .params = kIndex},
    {.id = 3, .name = "Remove", .kind = MemberKind::Method, .params = kIndex},
    {.id = 4, .name = "Clear", .kind = MemberKind::Method},
    {.id = 5, .name = "Add", .kind = MemberKind::Method, .type = kLongType, .params = kItem},
    {.id = DISPID_NEWENUM, .name = "_NewEnum", .kind = MemberKind::Property, .type = kUnknownType, .access = kAccessGet},
};

constexpr const InterfaceDescription* kStdVclInterfaces[] = {&kIStringsDescription};

void CopyVariant(VARIANT& to, const VARIANT& from)
{
    VariantInit(&to);
    VariantCopy(&to, &from);
}
void FreeVariant(VARIANT& item)
{
    VariantClear(&item);
}
using VariantEnumerator = SnapshotEnumerator<IEnumVARIANT, VARIANT, CopyVariant, FreeVariant>;

const PublishedTypeLibrary published(kStdVclTypeLibrary);

} // namespace

constexpr InterfaceDescription kIStringsDescription{
    "IStrings", IStrings::kIID, nullptr, InterfaceKind::Dual, "Standard string list interface", kIStringsMembers};

constexpr TypeLibraryDescription kStdVclTypeLibrary{
    "StdVCL", MakeGuid("{EE05DFE1-5549-11D0-9EA9-0020AF3D82DA}"), 4, 0, 0, "Standard VCL type library", {},
    kStdVclInterfaces};

constexpr DispatchBinding kIStringsBindings[9] = {
    BindGet<&IStrings::get_ControlDefault>("ControlDefault"),
    BindPut<&IStrings::put_ControlDefault>("ControlDefault"),
    BindGet<&IStrings::Count>("Count"),
    BindGet<&IStrings::get_Item>("Item"),
    BindPut<&IStrings::put_Item>("Item"),
    BindMethod<&IStrings::Remove>("Remove"),
    BindMethod<&IStrings::Clear>("Clear"),
    BindFunction<&IStrings::Add>("Add"),
    BindGet<&IStrings::_NewEnum>("_NewEnum"),
};

const DispatchTable& StringsDispatchTable()
{
    static const DispatchTable table(kIStringsDescription, {kIStringsBindings});
    return table;
}

HRESULT LoadStringsTypeLibrary()
{
    const TypeLibraryDescription* library = nullptr;
    return LoadRegTypeLib(kStdVclTypeLibrary.libid, kStdVclTypeLibrary.major, kStdVclTypeLibrary.minor, &library);
}

HRESULT RegisterStdTypeLibrary()
{
    // An object of internal linkage: a program that refers to the description itself may hold
    // its own copy of it, which would name the program instead of this library.
    return RegisterTypeLib(kStdVclTypeLibrary, ModulePath(&published));
}

HRESULT UnregisterStdTypeLibrary()
{
    return UnRegisterTypeLib(kStdVclTypeLibrary.libid, kStdVclTypeLibrary.major, kStdVclTypeLibrary.minor);
}

HRESULT CreateVariantEnumerator(std::vector<Variant> items, IUnknown** enumerator)
{
    if (!enumerator)
        return E_POINTER;
    std::vector<VARIANT> values(items.size());
    for (size_t i = 0; i < items.size(); ++i)
        items[i].Detach(&values[i]);
    return MakeComObject<VariantEnumerator>(std::move(values))->QueryInterface(IUnknown::kIID,
                                                                                reinterpret_cast<void**>(enumerator));
}
