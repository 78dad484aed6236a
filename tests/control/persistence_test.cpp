#include <gtest/gtest.h>

#include "control/ole_control.h"
#include "platform/com/registry.h"
#include "platform/com/stream.h"
#include "tests/control/celvane_fixture.h"

namespace {

using namespace celvane;

// The framework's block that precedes the control's fields: signature, length, 26 x 26.
constexpr size_t kFrameworkBlock = 16;

struct Settings {
    int32_t baudRate, dataBits, equipment, parity, recTimeout, repeatCount, repeatTimeout, smsFormat, stopBits,
        indications, checkInterval;
    bool commandEcho, extendedErrorMsg;
    std::string deviceName, pin, mem1, sca;
};

void Apply(ICelvane& c, const Settings& s)
{
    ASSERT_EQ(c.put_BaudRate(s.baudRate), S_OK);
    ASSERT_EQ(c.put_CommandEcho(ToVariantBool(s.commandEcho)), S_OK);
    ASSERT_EQ(c.put_DataBits(s.dataBits), S_OK);
    ASSERT_EQ(c.put_Equipment(s.equipment), S_OK);
    ASSERT_EQ(c.put_ExtendedErrorMsg(ToVariantBool(s.extendedErrorMsg)), S_OK);
    ASSERT_EQ(c.put_Parity(s.parity), S_OK);
    ASSERT_EQ(c.put_RecTimeout(s.recTimeout), S_OK);
    ASSERT_EQ(c.put_RepeatCount(s.repeatCount), S_OK);
    ASSERT_EQ(c.put_RepeatTimeout(s.repeatTimeout), S_OK);
    ASSERT_EQ(c.put_SMSFormat(s.smsFormat), S_OK);
    ASSERT_EQ(c.put_StopBits(s.stopBits), S_OK);
    ASSERT_EQ(c.put_UnsolicitedIndication(s.indications), S_OK);
    ASSERT_EQ(c.put_CheckInterval(s.checkInterval), S_OK);
    ASSERT_EQ(c.put_DeviceName(Bstr::FromNarrow(s.deviceName).Get()), S_OK);
    ASSERT_EQ(c.put_PIN(Bstr::FromNarrow(s.pin).Get()), S_OK);
    ASSERT_EQ(c.put_Mem1(Bstr::FromNarrow(s.mem1).Get()), S_OK);
    ASSERT_EQ(c.put_SCA(Bstr::FromNarrow(s.sca).Get()), S_OK);
}

Settings Read(ICelvane& c)
{
    Settings s{};
    VARIANT_BOOL echo, extended;
    Bstr device, pin, mem1, sca;
    c.get_BaudRate(&s.baudRate);
    c.get_CommandEcho(&echo);
    c.get_DataBits(&s.dataBits);
    c.get_Equipment(&s.equipment);
    c.get_ExtendedErrorMsg(&extended);
    c.get_Parity(&s.parity);
    c.get_RecTimeout(&s.recTimeout);
    c.get_RepeatCount(&s.repeatCount);
    c.get_RepeatTimeout(&s.repeatTimeout);
    c.get_SMSFormat(&s.smsFormat);
    c.get_StopBits(&s.stopBits);
    c.get_UnsolicitedIndication(&s.indications);
    c.get_CheckInterval(&s.checkInterval);
    c.get_DeviceName(device.Out());
    c.get_PIN(pin.Out());
    c.get_Mem1(mem1.Out());
    c.get_SCA(sca.Out());
    s.commandEcho = echo != VARIANT_FALSE;
    s.extendedErrorMsg = extended != VARIANT_FALSE;
    s.deviceName = device.Narrow();
    s.pin = pin.Narrow();
    s.mem1 = mem1.Narrow();
    s.sca = sca.Narrow();
    return s;
}

void ExpectSame(const Settings& a, const Settings& b)
{
    EXPECT_EQ(a.baudRate, b.baudRate);
    EXPECT_EQ(a.commandEcho, b.commandEcho);
    EXPECT_EQ(a.dataBits, b.dataBits);
    EXPECT_EQ(a.equipment, b.equipment);
    EXPECT_EQ(a.extendedErrorMsg, b.extendedErrorMsg);
    EXPECT_EQ(a.parity, b.parity);
    EXPECT_EQ(a.recTimeout, b.recTimeout);
    EXPECT_EQ(a.repeatCount, b.repeatCount);
    EXPECT_EQ(a.repeatTimeout, b.repeatTimeout);
    EXPECT_EQ(a.smsFormat, b.smsFormat);
    EXPECT_EQ(a.stopBits, b.stopBits);
    EXPECT_EQ(a.indications, b.indications);
    EXPECT_EQ(a.checkInterval, b.checkInterval);
    EXPECT_EQ(a.deviceName, b.deviceName);
    EXPECT_EQ(a.pin, b.pin);
    EXPECT_EQ(a.mem1, b.mem1);
    EXPECT_EQ(a.sca, b.sca);
}

// Every field away from its default.
const Settings kChanged{11, 3, 7, 2, 1234, 3, 77, 1, 2, 0x05, 42, false, true,
                        "/dev/ttyGW9", "4321", "\"ME\"", "+491710760000"};

class Persistence : public CelvaneRegistry {
protected:
    std::string Saved(ICelvane& control)
    {
        ComPtr<IPersistStreamInit> persist;
        EXPECT_EQ(control.QueryInterface(IID_PPV_ARGS(persist.Out())), S_OK);
        ComPtr<IStream> stream;
        CreateMemoryStream("", stream.Out());
        EXPECT_EQ(persist->Save(stream.Get(), 1), S_OK);
        std::string bytes;
        MemoryStreamBytes(stream.Get(), &bytes);
        return bytes;
    }
    HRESULT LoadInto(ICelvane& control, const std::string& bytes)
    {
        ComPtr<IPersistStreamInit> persist;
        EXPECT_EQ(control.QueryInterface(IID_PPV_ARGS(persist.Out())), S_OK);
        ComPtr<IStream> stream;
        CreateMemoryStream(bytes, stream.Out());
        return persist->Load(stream.Get());
    }
    static int32_t Field(const std::string& bytes, int number)
    {
        const size_t at = kFrameworkBlock + 4 * (number - 1);
        return static_cast<int32_t>(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8 | uint8_t(bytes[at + 2]) << 16 |
                                    uint32_t(uint8_t(bytes[at + 3])) << 24);
    }
};

TEST_F(Persistence, SaveThenLoadRestoresAllSeventeenProperties)
{
    ComPtr<ICelvane> saved = Create<ICelvane>(CLSID_Celvane);
    Apply(*saved.Get(), kChanged);
    const std::string bytes = Saved(*saved.Get());
    ComPtr<ICelvane> loaded = Create<ICelvane>(CLSID_Celvane);
    ASSERT_EQ(LoadInto(*loaded.Get(), bytes), S_OK) << LastErrorDescription();
    ExpectSame(Read(*loaded.Get()), kChanged);
}

TEST_F(Persistence, TheBlockIsLaidOutFieldByField)
{
    ComPtr<ICelvane> control = Create<ICelvane>(CLSID_Celvane);
    Apply(*control.Get(), kChanged);
    control->put_CommandEcho(VARIANT_TRUE);
    control->put_DeviceName(Bstr(u"").Get());
    const std::string bytes = Saved(*control.Get());
    EXPECT_EQ(bytes.substr(0, 4), "GWAX");
    EXPECT_EQ(bytes.substr(kFrameworkBlock + 4, 4), "\xFF\xFF\xFF\xFF");  // CommandEcho true
    EXPECT_EQ(Field(bytes, 5), -1);                                       // ExtendedErrorMsg
    EXPECT_EQ(Field(bytes, 12), 0x05);
    EXPECT_EQ(Field(bytes, 13), 42);  // seconds
    // An empty DeviceName is its length alone, then the PIN follows.
    const size_t strings = kFrameworkBlock + 13 * 4;
    EXPECT_EQ(bytes.substr(strings, 2), std::string("\0\0", 2));
    EXPECT_EQ(bytes.substr(strings + 2, 6), std::string("\x04\x00" "4321", 6));
}

TEST_F(Persistence, AStreamCutAfterTheIntegersLoadsThemAndNothingElse)
{
    ComPtr<ICelvane> source = Create<ICelvane>(CLSID_Celvane);
    Apply(*source.Get(), kChanged);
    const std::string cut = Saved(*source.Get()).substr(0, kFrameworkBlock + 13 * 4);

    ComPtr<ICelvane> target = Create<ICelvane>(CLSID_Celvane);
    const Settings before = Read(*target.Get());
    ASSERT_EQ(LoadInto(*target.Get(), cut), S_OK);
    Settings expected = kChanged;
    expected.deviceName = before.deviceName;
    expected.pin = before.pin;
    expected.mem1 = before.mem1;
    expected.sca = before.sca;
    ExpectSame(Read(*target.Get()), expected);
}

TEST_F(Persistence, StoredValuesGoThroughTheSetters)
{
    ComPtr<ICelvane> control = Create<ICelvane>(CLSID_Celvane);
    std::string bytes = Saved(*control.Get());
    const size_t indications = kFrameworkBlock + 11 * 4;
    bytes.replace(indications, 4, std::string("\x15\0\0\0", 4));
    bytes.replace(kFrameworkBlock + 4, 4, std::string("\0\0\x01\0", 4));  // only high bits: false
    ASSERT_EQ(LoadInto(*control.Get(), bytes), S_OK);
    int32_t value = 0;
    control->get_UnsolicitedIndication(&value);
    EXPECT_EQ(value, 0x05);  // bit 4 ignored
    VARIANT_BOOL echo = VARIANT_TRUE;
    control->get_CommandEcho(&echo);
    EXPECT_EQ(echo, VARIANT_FALSE);
}

TEST_F(Persistence, ARefusedValueEndsTheLoadSilently)
{
    ComPtr<ICelvane> source = Create<ICelvane>(CLSID_Celvane);
    Apply(*source.Get(), kChanged);
    std::string bytes = Saved(*source.Get());
    bytes.replace(kFrameworkBlock + 5 * 4, 4, std::string("\x09\0\0\0", 4));  // Parity 9
    ComPtr<ICelvane> target = Create<ICelvane>(CLSID_Celvane);
    ASSERT_EQ(LoadInto(*target.Get(), bytes), S_OK);
    Settings read = Read(*target.Get());
    EXPECT_EQ(read.extendedErrorMsg, true);  // field 5 was taken
    EXPECT_EQ(read.parity, 0);               // field 6 refused
    EXPECT_EQ(read.recTimeout, 6000);        // the rest untouched
}

TEST_F(Persistence, ADamagedFrameworkBlockFailsTheLoad)
{
    ComPtr<ICelvane> control = Create<ICelvane>(CLSID_Celvane);
    std::string bytes = Saved(*control.Get());
    bytes[0] = 'X';
    EXPECT_EQ(LoadInto(*control.Get(), bytes), E_UNEXPECTED);
    EXPECT_FALSE(LastErrorDescription().empty());
    EXPECT_EQ(LoadInto(*control.Get(), ""), E_UNEXPECTED);
}

class Registration : public CelvaneRegistry {};

TEST_F(Registration, EveryClassIsRegisteredWithThreadingModelBoth)
{
    Registry registry;
    auto control = registry.FindClass(CLSID_Celvane);
    ASSERT_TRUE(control);
    EXPECT_TRUE(control->control);
    EXPECT_EQ(control->miscStatus, OLEMISC_INVISIBLEATRUNTIME | OLEMISC_ACTSLIKELABEL | OLEMISC_SIMPLEFRAME);
    EXPECT_EQ(control->toolboxBitmap, 1);
    EXPECT_EQ(control->progId, "Celvane.Celvane");
    for (const CLSID& clsid : {CLSID_Celvane, CLSID_SMSDeliver, CLSID_SMSSubmit, CLSID_SMSStatusReport,
                               CLSID_SMSCommand, CLSID_SMSDeliverReport, CLSID_SMSSubmitReport, CLSID_CellBroadcast,
                               CLSID_Global}) {
        auto entry = registry.FindClass(clsid);
        ASSERT_TRUE(entry) << GuidToString(clsid);
        EXPECT_EQ(entry->threadingModel, "Both");
        EXPECT_EQ(entry->typeLibrary, kLibraryId);
    }
    EXPECT_FALSE(registry.FindClass(CLSID_SMS));
    EXPECT_TRUE(registry.FindTypeLibrary(kLibraryId, 1, 0));

    ASSERT_EQ(CallCelvane("DllUnregisterServer"), S_OK);
    ComPtr<ICelvane> gone;
    EXPECT_EQ(CoCreateInstance(CLSID_Celvane, nullptr, ICelvane::kIID, reinterpret_cast<void**>(gone.Out())),
              REGDB_E_CLASSNOTREG);
}

TEST_F(Registration, TheControlNamesItsPropertyPage)
{
    ComPtr<ISpecifyPropertyPages> pages = Create<ISpecifyPropertyPages>(CLSID_Celvane);
    CAUUID ids{};
    ASSERT_EQ(pages->GetPages(&ids), S_OK);
    ASSERT_EQ(ids.cElems, 1u);
    EXPECT_EQ(ids.pElems[0], CLSID_UnsolicitedIndicationPage);
    free(ids.pElems);
}

TEST_F(Registration, TheToolboxBitmapIsA24By24SixteenColourBitmap)
{
    void* library = dlopen(GW_CELVANE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    auto resource = reinterpret_cast<HRESULT (*)(int, const uint8_t**, uint32_t*)>(
        dlsym(library, "DllGetBitmapResource"));
    ASSERT_NE(resource, nullptr);
    const uint8_t* bmp = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(resource(1, &bmp, &size), S_OK);
    auto u32 = [&](size_t at) { return uint32_t(bmp[at]) | bmp[at + 1] << 8 | bmp[at + 2] << 16 | bmp[at + 3] << 24; };
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(u32(18), 24u);  // width
    EXPECT_EQ(u32(22), 24u);  // height
    EXPECT_EQ(bmp[28], 4);    // bits per pixel: 16 colours
    EXPECT_EQ(u32(2), size);
    EXPECT_EQ(resource(2, &bmp, &size), E_INVALIDARG);
}

} // namespace
