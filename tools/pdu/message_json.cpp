#include "message_json.h"

#include "codec/cell_broadcast.h"
#include "codec/data_coding_scheme.h"
#include "codec/default_alphabet.h"
#include "codec/sms_command.h"
#include "codec/sms_deliver.h"
#include "codec/sms_deliver_report.h"
#include "codec/sms_status_report.h"
#include "codec/sms_submit.h"
#include "codec/sms_submit_report.h"
#include "codec/ucs2.h"
#include "codec/user_data.h"
#include "link/hex_text.h"
#include "platform/sys/format.h"
#include "text_encoding.h"

namespace {

constexpr uint8_t kUCS2Alphabet = 0x08;

// Appends "key":value pairs to one object.
class JsonObject {
public:
    JsonObject() { text_.push_back('{'); }

    JsonObject& Text(const char* key, std::string_view utf8)
    {
        Key(key);
        text_.push_back('"');
        for (const char c : utf8) {
            if (c == '"' || c == '\\') {
                text_.push_back('\\');
                text_.push_back(c);
            } else if (static_cast<unsigned char>(c) < 0x20) {
                text_ += Format("\\u%04x", static_cast<unsigned>(c));
            } else {
                text_.push_back(c);
            }
        }
        text_.push_back('"');
        return *this;
    }
    JsonObject& Latin1(const char* key, std::string_view text) { return Text(key, Latin1ToUtf8(text)); }
    JsonObject& Hex(const char* key, std::string_view octets) { return Text(key, BytesToHex(octets)); }
    JsonObject& Number(const char* key, long long value)
    {
        Key(key);
        text_ += std::to_string(value);
        return *this;
    }
    JsonObject& Real(const char* key, double value)
    {
        Key(key);
        text_ += Format("%.10g", value);
        return *this;
    }
    JsonObject& Bool(const char* key, bool value)
    {
        Key(key);
        text_ += value ? "true" : "false";
        return *this;
    }
    JsonObject& Time(const char* key, TDateTime value)
    {
        int year, month, day, hour, minute, second, msec;
        DecodeDate(value, year, month, day);
        DecodeTime(value, hour, minute, second, msec);
        return Text(key, Format("%04d-%02d-%02dT%02d:%02d:%02d", year, month, day, hour, minute, second));
    }
    std::string Close()
    {
        text_.push_back('}');
        return std::move(text_);
    }

private:
    void Key(const char* key)
    {
        if (text_.size() > 1)
            text_.push_back(',');
        text_.push_back('"');
        text_ += key;
        text_ += "\":";
    }

    std::string text_;
};

// The user data as it travels, its header apart, and its text when the alphabet has one.
void AddUserData(JsonObject& json, std::string_view ud, uint8_t dcs, bool udhi)
{
    json.Hex("UD", ud);
    const std::string_view text = udhi ? UserDataText(ud) : ud;
    if (udhi)
        json.Hex("UDH", ud.substr(0, ud.size() - text.size()));
    if (IsDefaultAlphabet(dcs))
        json.Latin1("text", SMSToISO(text));
    else if ((dcs & kDCSAlphabetMask) == kUCS2Alphabet)
        json.Text("text", Utf16ToUtf8(UCS2ToWide(text)));
}

void AddCommon(JsonObject& json, const char* kind, const TSMS2& sms)
{
    json.Text("kind", kind).Latin1("SCA", sms.SCA()).Number("PDUType", sms.PDUType()).Number("MTI", sms.MTI());
}

std::string Describe(const TSMSDeliver& sms)
{
    JsonObject json;
    AddCommon(json, "SMS-DELIVER", sms);
    json.Bool("MMS", sms.MMS()).Bool("SRI", sms.SRI()).Bool("UDHI", sms.UDHI()).Bool("RP", sms.RP());
    json.Latin1("OA", sms.OA()).Number("PID", sms.PID()).Number("DCS", sms.DCS());
    json.Time("SCTS", sms.SCTS()).Number("SCTSTZ", sms.SCTSTZ());
    AddUserData(json, sms.UD(), sms.DCS(), sms.UDHI());
    return json.Close();
}

std::string Describe(const TSMSSubmit& sms)
{
    JsonObject json;
    AddCommon(json, "SMS-SUBMIT", sms);
    json.Bool("RD", sms.RD()).Number("VPF", sms.VPF()).Bool("SRR", sms.SRR()).Bool("UDHI", sms.UDHI());
    json.Bool("RP", sms.RP()).Number("MR", sms.MR()).Latin1("DA", sms.DA()).Number("PID", sms.PID());
    json.Number("DCS", sms.DCS());
    if (sms.VPF() == kVPFRelative)
        json.Real("VP", sms.VP());
    else if (sms.VPF() == kVPFAbsolute)
        json.Time("VP", sms.VP()).Number("VPTZ", sms.VPTZ());
    AddUserData(json, sms.UD(), sms.DCS(), sms.UDHI());
    return json.Close();
}

std::string Describe(const TSMSStatusReport& sms)
{
    JsonObject json;
    AddCommon(json, "SMS-STATUS-REPORT", sms);
    json.Bool("MMS", sms.MMS()).Bool("SRQ", sms.SRQ()).Number("MR", sms.MR()).Latin1("OA", sms.OA());
    json.Time("SCTS", sms.SCTS()).Number("SCTSTZ", sms.SCTSTZ());
    json.Time("DT", sms.DT()).Number("DTSTZ", sms.DTSTZ()).Number("Status", sms.Status());
    return json.Close();
}

std::string Describe(const TSMSCommand& sms)
{
    JsonObject json;
    AddCommon(json, "SMS-COMMAND", sms);
    json.Bool("SRR", sms.SRR()).Number("MR", sms.MR()).Number("PID", sms.PID()).Number("CT", sms.CT());
    json.Number("MN", sms.MN()).Latin1("DA", sms.DA());
    AddUserData(json, sms.UD(), sms.DCS(), sms.PDUType() & kUDHIBit);
    return json.Close();
}

std::string Describe(const TSMSDeliverReport& sms, const TSMSSubmitReport* submitReport)
{
    JsonObject json;
    AddCommon(json, submitReport ? "SMS-SUBMIT-REPORT" : "SMS-DELIVER-REPORT", sms);
    json.Number("PI", sms.PI()).Bool("PIDPresent", sms.PIDPresent()).Bool("DCSPresent", sms.DCSPresent());
    json.Bool("UDPresent", sms.UDPresent());
    if (submitReport)
        json.Time("SCTS", submitReport->SCTS()).Number("SCTSTZ", submitReport->SCTSTZ());
    if (sms.PIDPresent())
        json.Number("PID", sms.PID());
    if (sms.DCSPresent())
        json.Number("DCS", sms.DCS());
    if (sms.UDPresent())
        AddUserData(json, sms.UD(), sms.DCS(), sms.PDUType() & kUDHIBit);
    return json.Close();
}

}  // namespace

std::string MessageJson(const TSMS2& sms)
{
    if (const auto* deliver = dynamic_cast<const TSMSDeliver*>(&sms))
        return Describe(*deliver);
    if (const auto* submit = dynamic_cast<const TSMSSubmit*>(&sms))
        return Describe(*submit);
    if (const auto* report = dynamic_cast<const TSMSStatusReport*>(&sms))
        return Describe(*report);
    if (const auto* command = dynamic_cast<const TSMSCommand*>(&sms))
        return Describe(*command);
    const auto& deliverReport = dynamic_cast<const TSMSDeliverReport&>(sms);
    return Describe(deliverReport, dynamic_cast<const TSMSSubmitReport*>(&sms));
}

std::string MessageJson(const TCellBroadcast& page)
{
    JsonObject json;
    json.Text("kind", "CELL-BROADCAST");
    json.Number("GeographicalScope", page.GeographicalScope()).Number("MessageCode", page.MessageCode());
    json.Number("UpdateNumber", page.UpdateNumber()).Number("MessageId", page.MessageId());
    json.Number("DCS", page.DCS()).Number("CurrentPageNumber", page.CurrentPageNumber());
    json.Number("TotalPageNumber", page.TotalPageNumber());
    AddUserData(json, page.UD(), page.DCS(), false);
    return json.Close();
}

std::string ErrorJson(size_t line, std::string_view message)
{
    return JsonObject().Number("line", static_cast<long long>(line)).Text("error", message).Close();
}
