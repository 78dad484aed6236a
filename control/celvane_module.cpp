// The library's entry points and the classes it registers.
#include "control/activex_component.h"
#include "control/celvane.h"
#include "control/celvane_tlb.h"
#include "control/celvane_type_library.h"
#include "control/global.h"
#include "control/message_objects.h"
#include "control/library_bitmap.h"
#include "platform/com/server_module.h"

#ifdef CELVANE_GUI
#include "control/property_page.h"
#endif

namespace {

constexpr const char* kBoth = "Both";

constexpr ClassRegistration kClasses[] = {
    {celvane::CLSID_Celvane, "TGSM Object", kCelvaneProgId, kBoth, kActiveXComponentMiscStatus, kControlBitmapId,
     true, &CreateCelvane},
    {celvane::CLSID_SMSDeliver, "SMSDeliver", "Celvane.SMSDeliver", kBoth, 0, 0, false, &GSM2::CreateSMSDeliver},
    {celvane::CLSID_SMSSubmit, "SMSSubmit", "Celvane.SMSSubmit", kBoth, 0, 0, false, &GSM2::CreateSMSSubmit},
    {celvane::CLSID_SMSStatusReport, "SMSStatusReport", "Celvane.SMSStatusReport", kBoth, 0, 0, false,
     &GSM2::CreateSMSStatusReport},
    {celvane::CLSID_SMSCommand, "SMSCommand", "Celvane.SMSCommand", kBoth, 0, 0, false, &GSM2::CreateSMSCommand},
    {celvane::CLSID_SMSDeliverReport, "SMSDeliverReport", "Celvane.SMSDeliverReport", kBoth, 0, 0, false,
     &GSM2::CreateSMSDeliverReport},
    {celvane::CLSID_SMSSubmitReport, "SMSSubmitReport", "Celvane.SMSSubmitReport", kBoth, 0, 0, false,
     &GSM2::CreateSMSSubmitReport},
    {celvane::CLSID_CellBroadcast, "CellBroadcast", "Celvane.CellBroadcast", kBoth, 0, 0, false,
     &GSM2::CreateCellBroadcast},
    {celvane::CLSID_Global, "Global", "Celvane.Global", kBoth, 0, 0, false, &CreateGlobal},
#ifdef CELVANE_GUI
    {celvane::CLSID_UnsolicitedIndicationPage, "TCelvaneUnsolicitedIndicationPropertyPage",
     "Celvane.UnsolicitedIndicationPage", kBoth, 0, 0, false, &CreateUnsolicitedIndicationPage},
#endif
};

ServerModule module(kClasses, &kCelvaneTypeLibrary);

} // namespace

extern "C" {
HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object)
{
    return module.GetClassObject(clsid, iid, object);
}
HRESULT DllRegisterServer()
{
    return module.Register();
}
HRESULT DllUnregisterServer()
{
    return module.Unregister();
}
HRESULT DllCanUnloadNow()
{
    return module.CanUnloadNow();
}
// The library's bitmap resources as BMP files, for a container's toolbox.
HRESULT DllGetBitmapResource(int id, const uint8_t** bitmap, uint32_t* size)
{
    if (!bitmap || !size)
        return E_POINTER;
    const std::string& bytes = LibraryBitmap(id);
    *bitmap = reinterpret_cast<const uint8_t*>(bytes.data());
    *size = static_cast<uint32_t>(bytes.size());
    return bytes.empty() ? E_INVALIDARG : S_OK;
}
}
