#include "control/activex_component.h"

#include <array>
#include <cstring>

#include "platform/com/variant.h"

#ifdef CELVANE_GUI
#include "control/design_window.h"
#endif

namespace {

// The framework block: a signature, the length of what follows, then the window's size.
constexpr std::array<char, 4> kSignature = {'G', 'W', 'A', 'X'};
constexpr int32_t kWindowSide = 26;
constexpr uint32_t kLongestBlock = 4096;

void WriteUInt32(TStream& stream, uint32_t v)
{
    const uint8_t bytes[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    stream.WriteBuffer(bytes, sizeof bytes);
}

uint32_t ReadUInt32(TStream& stream)
{
    uint8_t b[4];
    stream.ReadBuffer(b, sizeof b);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

} // namespace

TActiveXFrame::TActiveXFrame()
{
#ifdef CELVANE_GUI
    window_ = TActiveXComponentControl::Create();
#endif
    UpdateDesignWindow();
}

TActiveXFrame::~TActiveXFrame()
{
#ifdef CELVANE_GUI
    delete window_;
#endif
}

HRESULT TActiveXFrame::SetClientSite(IOleClientSite* site)
{
    site_ = ComPtr<IOleClientSite>(site);
#ifdef CELVANE_GUI
    void* parent = nullptr;
    if (window_ && site_ && SUCCEEDED(site_->GetContainerWindow(&parent)))
        window_->SetParentWidget(parent);
#endif
    return S_OK;
}

HRESULT TActiveXFrame::GetClientSite(IOleClientSite** site)
{
    if (!site)
        return E_POINTER;
    *site = ComPtr<IOleClientSite>(site_).Detach();
    return S_OK;
}

void TActiveXFrame::ReadUserMode()
{
    ComPtr<IDispatch> ambient = site_.Query<IDispatch>();
    if (!ambient)
        return;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Variant value;
    if (FAILED(ambient->Invoke(DISPID_AMBIENT_USERMODE, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                               nullptr)))
        return;
    if (SUCCEEDED(VariantChangeType(&value, &value, VT_BOOL)))
        userMode_ = value.boolVal;
}

bool TActiveXFrame::FreezeEvents(bool freeze)
{
    if (freeze) {
        ++frozen_;
        return false;
    }
    if (frozen_ == 0)
        return false;
    return --frozen_ == 0;
}

void TActiveXFrame::UpdateDesignWindow()
{
#ifdef CELVANE_GUI
    if (window_)
        window_->ShowForDesign(userMode_ == 0);
#endif
}

void* TActiveXFrame::Window() const
{
#ifdef CELVANE_GUI
    return window_ ? window_->Widget() : nullptr;
#else
    return nullptr;
#endif
}

void TActiveXFrame::WriteBlock(TStream& stream) const
{
    stream.WriteBuffer(kSignature.data(), kSignature.size());
    WriteUInt32(stream, 2 * sizeof(int32_t));
    WriteUInt32(stream, kWindowSide);
    WriteUInt32(stream, kWindowSide);
}

void TActiveXFrame::ReadBlock(TStream& stream)
{
    std::array<char, 4> signature{};
    stream.ReadBuffer(signature.data(), signature.size());
    if (signature != kSignature)
        throw EReadError("The stream does not start with a control's framework block");
    const uint32_t length = ReadUInt32(stream);
    if (length > kLongestBlock)
        throw EReadError("The control's framework block is damaged");
    // The window's size is fixed: what the block says of it is read and passed over.
    std::string contents(length, '\0');
    stream.ReadBuffer(contents.data(), length);
}
