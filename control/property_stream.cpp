#include "control/property_stream.h"

#include "link/stream_string.h"
#include "platform/com/bstr.h"
#include "platform/com/error_info.h"
#include "platform/com/ole_error.h"

namespace {

enum class FieldKind { Integer, Boolean, String };

struct Field {
    FieldKind kind;
    HRESULT (ICelvane::*getInteger)(int32_t*) = nullptr;
    HRESULT (ICelvane::*putInteger)(int32_t) = nullptr;
    HRESULT (ICelvane::*getBoolean)(VARIANT_BOOL*) = nullptr;
    HRESULT (ICelvane::*putBoolean)(VARIANT_BOOL) = nullptr;
    HRESULT (ICelvane::*getString)(BSTR*) = nullptr;
    HRESULT (ICelvane::*putString)(BSTR) = nullptr;
};

constexpr Field Integer(HRESULT (ICelvane::*get)(int32_t*), HRESULT (ICelvane::*put)(int32_t))
{
    return {FieldKind::Integer, get, put};
}
constexpr Field Boolean(HRESULT (ICelvane::*get)(VARIANT_BOOL*), HRESULT (ICelvane::*put)(VARIANT_BOOL))
{
    return {.kind = FieldKind::Boolean, .getBoolean = get, .putBoolean = put};
}
constexpr Field String(HRESULT (ICelvane::*get)(BSTR*), HRESULT (ICelvane::*put)(BSTR))
{
    return {.kind = FieldKind::String, .getString = get, .putString = put};
}

constexpr Field kFields[] = {
    Integer(&ICelvane::get_BaudRate, &ICelvane::put_BaudRate),
    Boolean(&ICelvane::get_CommandEcho, &ICelvane::put_CommandEcho),
    Integer(&ICelvane::get_DataBits, &ICelvane::put_DataBits),
    Integer(&ICelvane::get_Equipment, &ICelvane::put_Equipment),
    Boolean(&ICelvane::get_ExtendedErrorMsg, &ICelvane::put_ExtendedErrorMsg),
    Integer(&ICelvane::get_Parity, &ICelvane::put_Parity),
    Integer(&ICelvane::get_RecTimeout, &ICelvane::put_RecTimeout),
    Integer(&ICelvane::get_RepeatCount, &ICelvane::put_RepeatCount),
    Integer(&ICelvane::get_RepeatTimeout, &ICelvane::put_RepeatTimeout),
    Integer(&ICelvane::get_SMSFormat, &ICelvane::put_SMSFormat),
    Integer(&ICelvane::get_StopBits, &ICelvane::put_StopBits),
    Integer(&ICelvane::get_UnsolicitedIndication, &ICelvane::put_UnsolicitedIndication),
    Integer(&ICelvane::get_CheckInterval, &ICelvane::put_CheckInterval),
    String(&ICelvane::get_DeviceName, &ICelvane::put_DeviceName),
    String(&ICelvane::get_PIN, &ICelvane::put_PIN),
    String(&ICelvane::get_Mem1, &ICelvane::put_Mem1),
    String(&ICelvane::get_SCA, &ICelvane::put_SCA),
};
static_assert(std::size(kFields) == 17);

// A boolean is true when its low 16 bits are not zero.
constexpr uint32_t kBooleanBits = 0xFFFF;

void WriteInt32(TStream& stream, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24)};
    stream.WriteBuffer(bytes, sizeof bytes);
}

int32_t ReadInt32(TStream& stream)
{
    uint8_t bytes[4];
    stream.ReadBuffer(bytes, sizeof bytes);
    return static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                                uint32_t(bytes[3]) << 24);
}

} // namespace

void SaveProperties(ICelvane& control, TStream& stream)
{
    for (const Field& f : kFields) {
        switch (f.kind) {
        case FieldKind::Integer: {
            int32_t value = 0;
            OleCheck((control.*f.getInteger)(&value));
            WriteInt32(stream, value);
            break;
        }
        case FieldKind::Boolean: {
            VARIANT_BOOL value = VARIANT_FALSE;
            OleCheck((control.*f.getBoolean)(&value));
            WriteInt32(stream, value != VARIANT_FALSE ? -1 : 0);
            break;
        }
        case FieldKind::String: {
            Bstr value;
            OleCheck((control.*f.getString)(value.Out()));
            WriteStreamString(stream, value.Narrow());
            break;
        }
        }
    }
}

int LoadProperties(ICelvane& control, TStream& stream)
{
    int taken = 0;
    try {
        for (const Field& f : kFields) {
            HRESULT hr = S_OK;
            switch (f.kind) {
            case FieldKind::Integer:
                hr = (control.*f.putInteger)(ReadInt32(stream));
                break;
            case FieldKind::Boolean: {
                const bool on = (static_cast<uint32_t>(ReadInt32(stream)) & kBooleanBits) != 0;
                hr = (control.*f.putBoolean)(ToVariantBool(on));
                break;
            }
            case FieldKind::String: {
                std::string value;
                ReadStreamString(stream, value);
                hr = (control.*f.putString)(Bstr::FromNarrow(value).Get());
                break;
            }
            }
            if (FAILED(hr)) {
                SetErrorInfo(0, nullptr);  // the container is told nothing
                break;
            }
            ++taken;
        }
    } catch (const Exception&) {
        // A stream that ends early: the container is told nothing.
    }
    return taken;
}
