#include <gtest/gtest.h>

#include "sim/tpdu.h"
#include "tests/sim/sim_test_support.h"

using namespace sim;

namespace {

constexpr char kCtrlZ[] = "\x1A";
const std::string kOk = "\r\nOK\r\n";

// Own number +491701234567 as a destination: 12 digits, international.
const std::string kOwnField = "0C91947110325476";
// A submit without service centre (the leading 00), with or without a status report request.
std::string SubmitPdu(bool reportRequest, const std::string& text = "Hello gammu")
{
    TSubmit submit;
    submit.firstOctet = kMtiSubmit | kVpfRelative | (reportRequest ? kStatusReportFlag : 0);
    submit.destination = TAddress::FromText("+491701234567");
    submit.validity = "\xA7";
    submit.ud = EncodeText(text, 0);
    return "00" + ToHex(BuildSubmit(submit));
}

// The reply to the send, and when `until` is given everything up to that text.
std::string SendPdu(TPtyClient& client, const std::string& pdu, const std::string& until = "")
{
    const std::string prompt = client.Command("AT+CMGS=" + std::to_string(pdu.size() / 2 - 1));
    EXPECT_EQ(prompt, "\r\n> ");
    client.Write(pdu + kCtrlZ);
    return until.empty() ? client.ReadReply() : client.ReadUntilText(until);
}

// The PDU line after a +CMGR:/+CMGL:/+CMT: header.
std::string BodyAfter(const std::string& reply, const std::string& header)
{
    const size_t at = reply.find(header);
    if (at == std::string::npos)
        return "";
    const size_t start = reply.find("\r\n", at) + 2;
    return reply.substr(start, reply.find("\r\n", start) - start);
}

TDeliver DeliverOf(const std::string& pduWithCentre)
{
    std::string octets;
    EXPECT_TRUE(ParseHex(pduWithCentre, octets));
    return ParseDeliver(octets.substr(1 + static_cast<uint8_t>(octets[0])));
}

}  // namespace

TEST(AtDevice, AnswersEachCommandLikeTheDevice)
{
    struct TCase {
        const char* command;
        std::string reply;
    };
    const TCase kCases[] = {
        {"AT", kOk},
        {"at", kOk},
        {"ATI", "\r\nSIEMENS\r\nTC35\r\n" + kOk},
        {"AT+CGMI", Framed("SIEMENS") + kOk},
        {"AT+CGMM", Framed("TC35") + kOk},
        {"AT+CGMR", Framed("REVISION 03.02") + kOk},
        {"AT+CGSN", Framed("490154203237518") + kOk},
        {"AT+CIMI", Framed("262019876543210") + kOk},
        {"AT+CPIN?", Framed("+CPIN: READY") + kOk},
        {"AT+CREG?", Framed("+CREG: 0,1") + kOk},
        {"AT+CREG=2;+CREG?", Framed("+CREG: 2,1,\"1A2B\",\"3C4D\"") + kOk},
        {"AT+CREG=3", "\r\nERROR\r\n"},
        {"AT+CSQ", Framed("+CSQ: 21,99") + kOk},
        {"AT+CPMS?", Framed("+CPMS: \"SM\",0,20,\"SM\",0,20,\"SM\",0,20") + kOk},
        {"AT+CPMS=\"ME\"", Framed("+CPMS: 0,50,0,20,0,20") + kOk},
        {"AT+CPMS=\"XX\"", Framed("+CMS ERROR: 302")},
        {"AT+CPMS=?", Framed("+CPMS: (\"SM\",\"ME\",\"BM\"),(\"SM\",\"ME\"),(\"SM\",\"ME\")") + kOk},
        {"AT+CSMS?", Framed("+CSMS: 0,1,1,1") + kOk},
        {"AT+CSMS=1", Framed("+CSMS: 1,1,1") + kOk},
        {"AT+CSCA?", Framed("+CSCA: \"+491710760000\",145") + kOk},
        {"AT+CSCA=\"+4917\";+CSCA?", Framed("+CSCA: \"+4917\",145") + kOk},
        {"AT+CMGF=?", Framed("+CMGF: (0,1)") + kOk},
        {"AT+CMGF=1;+CMGF?", Framed("+CMGF: 1") + kOk},
        {"AT+CMGF=2", Framed("+CMS ERROR: 303")},
        {"AT+CSDH=1;+CSDH?", Framed("+CSDH: 1") + kOk},
        {"AT+CNMI=?", Framed("+CNMI: (0-3),(0-3),(0,2,3),(0-2),(0,1)") + kOk},
        {"AT+CNMI=2,1,0,2,0;+CNMI?", Framed("+CNMI: 2,1,0,2,0") + kOk},
        {"AT+CNMI=2,1,1", Framed("+CMS ERROR: 303")},
        {"AT+CSMP=17,167,0,0;+CSMP?", Framed("+CSMP: 17,167,0,0") + kOk},
        {"AT+CMGR=1", Framed("+CMS ERROR: 321")},
        {"AT+CMGD=1", Framed("+CMS ERROR: 321")},
        {"AT+CMGL", kOk},
        {"AT+CMGL=?", Framed("+CMGL: (0-4)") + kOk},
        {"AT+CNMA", Framed("+CMS ERROR: 340")},
        {"AT+CMEE=1;+CPIN=\"1234\"", Framed("+CME ERROR: 3")},
        {"AT+CMEE=2;+CPIN=\"1234\"", Framed("+CME ERROR: operation not allowed")},
        {"AT+CPIN=\"1234\"", "\r\nERROR\r\n"},   // errors stay plain while +CMEE is 0
        {"AT+CFUN=1", kOk},
        {"AT+CSCS=?", Framed("+CSCS: (\"GSM\",\"IRA\",\"8859-1\")") + kOk},
        {"AT+CNUM", Framed("+CNUM: ,\"+491701234567\",145") + kOk},
        {"AT+WIND=12", "\r\nERROR\r\n"},          // a Siemens device knows no +WIND
        {"AT+XYZ", "\r\nERROR\r\n"},
        {"AT+CSCA=\"open", "\r\nERROR\r\n"},
        {"ATS3?", Framed("013") + kOk},
        {"ATV0", "0\r"},
        {"ATQ1", ""},
    };
    for (const TCase& c : kCases) {
        TSimulatedPort port;
        EXPECT_EQ(port.client.Command(c.command, c.reply.empty() ? 200 : 3000), c.reply) << c.command;
    }
}

TEST(AtDevice, EchoesWhatIsTypedUntilEchoIsOff)
{
    TSimulatedPort port("TC35", {}, true);
    EXPECT_EQ(port.client.Command("AT"), "AT\r" + kOk);
    EXPECT_EQ(port.client.Command("ATE0"), "ATE0\r" + kOk);
    EXPECT_EQ(port.client.Command("AT"), kOk);
    // Text before the attention prefix gets no answer; line editing works.
    port.client.Write("hello\rATX\b\r");
    EXPECT_EQ(port.client.ReadReply(), kOk);
}

TEST(AtDevice, MultiLineRevisionOfTheNokia6650)
{
    TSimulatedPort port("Nokia6650");
    EXPECT_EQ(port.client.Command("AT+CGMR"), "\r\nNokia 6650\r\nNHM-1\r\n(c) Nokia\r\nV 4.42\r\n" + kOk);
}

TEST(AtDevice, WrongPinsCountDownToPukAndPukSetsANewPin)
{
    TDeviceSettings settings;
    settings.pin = "1234";
    TSimulatedPort port("TC35", settings);
    EXPECT_EQ(port.client.Command("AT+CPIN?"), Framed("+CPIN: SIM PIN") + kOk);
    EXPECT_EQ(port.client.Command("AT+CMGL"), Framed("+CMS ERROR: 311"));
    EXPECT_EQ(port.client.Command("AT+CIMI"), "\r\nERROR\r\n");
    EXPECT_EQ(port.client.Command("AT+CMEE=1"), kOk);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(port.client.Command("AT+CPIN=\"0000\""), Framed("+CME ERROR: 16"));
    EXPECT_EQ(port.client.Command("AT+CPIN?"), Framed("+CPIN: SIM PUK") + kOk);
    EXPECT_EQ(port.client.Command("AT+CPIN=\"1234\""), Framed("+CME ERROR: 16"));
    EXPECT_EQ(port.client.Command("AT+CPIN=\"12345678\",\"4321\""), kOk);
    EXPECT_EQ(port.client.Command("AT+CPIN?"), Framed("+CPIN: READY") + kOk);
    EXPECT_EQ(port.simulator.SimState(), TSimState::Ready);
}

TEST(AtDevice, HandsetModelsShowReadyWhateverThePin)
{
    TDeviceSettings settings;
    settings.pin = "1234";
    TSimulatedPort port("Nokia6210", settings);
    EXPECT_EQ(port.client.Command("AT+CPIN?"), Framed("+CPIN: READY") + kOk);
}

TEST(AtDevice, MessageToOwnNumberIsStoredAnnouncedReadAndListed)
{
    TSimulatedPort port;
    EXPECT_EQ(port.client.Command("AT+CNMI=2,1,0,0,0"), kOk);
    EXPECT_EQ(SendPdu(port.client, SubmitPdu(false), "+CMTI: \"SM\",1\r\n"),
              Framed("+CMGS: 0") + kOk + "\r\n+CMTI: \"SM\",1\r\n");

    const std::string read = port.client.Command("AT+CMGR=1");
    EXPECT_EQ(read.substr(0, 18), "\r\n+CMGR: 0,,29\r\n07");
    const TDeliver deliver = DeliverOf(BodyAfter(read, "+CMGR:"));
    EXPECT_EQ(deliver.originator.Text(), "+491701234567");
    EXPECT_EQ(DecodeText(deliver.ud, deliver.dcs, false), "Hello gammu");
    EXPECT_EQ(BodyAfter(read, "+CMGR:").substr(0, 16), "0791947101670000");   // the service centre

    // Reading made it read: the default list shows unread messages only.
    EXPECT_EQ(port.client.Command("AT+CMGR=1").substr(0, 16), "\r\n+CMGR: 1,,29\r\n");
    EXPECT_EQ(port.client.Command("AT+CMGL"), kOk);
    EXPECT_EQ(port.client.Command("AT+CMGL=4").substr(0, 20), "\r\n+CMGL: 1,1,,29\r\n07");
    EXPECT_EQ(port.client.Command("AT+CMGD=1"), kOk);
    EXPECT_EQ(port.client.Command("AT+CMGL=4"), kOk);
}

TEST(AtDevice, ListsEverythingByDefaultWhenSoConfigured)
{
    TDeviceSettings settings;
    settings.listAllByDefault = true;
    TSimulatedPort port("TC35", settings);
    port.simulator.InjectSms("+4930123", "first");
    EXPECT_EQ(port.client.Command("AT+CMGL=4").substr(0, 17), "\r\n+CMGL: 1,0,,22\r");
    EXPECT_EQ(port.client.Command("AT+CMGL").substr(0, 17), "\r\n+CMGL: 1,1,,22\r");
}

TEST(AtDevice, RoutedMessageAndStatusReportNeedAcknowledgementAtServiceLevelOne)
{
    TSimulatedPort port;
    EXPECT_EQ(port.client.Command("AT+CSMS=1"), Framed("+CSMS: 1,1,1") + kOk);
    EXPECT_EQ(port.client.Command("AT+CNMI=2,2,0,1,0"), kOk);
    const std::string routed = SendPdu(port.client, SubmitPdu(true), "\r\n+CDS: 25\r\n");
    ASSERT_EQ(routed.find(Framed("+CMGS: 0") + kOk + "\r\n+CMT: ,29\r\n"), 0u) << routed;
    const TDeliver deliver = DeliverOf(BodyAfter(routed, "+CMT:"));
    EXPECT_TRUE(deliver.firstOctet & kStatusReportFlag);   // a report will follow
    const std::string rest = port.client.ReadUntil([](const std::string& b) { return b.find("\r\n") != std::string::npos; });
    const std::string report = BodyAfter(routed + rest, "+CDS:");
    std::string octets;
    ASSERT_TRUE(ParseHex(report, octets)) << report;
    const TStatusReport parsed = ParseStatusReport(octets.substr(8));
    EXPECT_EQ(parsed.reference, 0);
    EXPECT_EQ(parsed.recipient.Text(), "+491701234567");
    EXPECT_EQ(parsed.status, 0);

    EXPECT_EQ(port.simulator.UnacknowledgedCount(), 2);
    EXPECT_EQ(port.client.Command("AT+CNMA"), kOk);
    EXPECT_EQ(port.client.Command("AT+CNMA"), kOk);
    EXPECT_EQ(port.client.Command("AT+CNMA"), Framed("+CMS ERROR: 340"));
}

TEST(AtDevice, StoredStatusReportIsAnnouncedWithCdsi)
{
    TSimulatedPort port;
    EXPECT_EQ(port.client.Command("AT+CNMI=2,0,0,2,0"), kOk);
    EXPECT_EQ(SendPdu(port.client, SubmitPdu(true), "+CDSI: \"SM\",2\r\n"),
              Framed("+CMGS: 0") + kOk + "\r\n+CDSI: \"SM\",2\r\n");
    EXPECT_EQ(port.client.Command("AT+CMGR=2").substr(0, 16), "\r\n+CMGR: 0,,25\r\n");
}

TEST(AtDevice, IndicationsWaitInTheBufferWhileModeIsZero)
{
    TSimulatedPort port;
    EXPECT_EQ(port.client.Command("AT+CNMI=0,1,0,0,0"), kOk);
    port.simulator.InjectSms("+4930123", "buffered");
    EXPECT_EQ(port.client.Command("AT+CPMS?"), Framed("+CPMS: \"SM\",1,20,\"SM\",1,20,\"SM\",1,20") + kOk);
    // Leaving mode 0 flushes the buffer after the result code.
    port.client.Write("AT+CNMI=2,1,0,0,0\r");
    EXPECT_EQ(port.client.ReadUntilText("+CMTI: \"SM\",1\r\n"), kOk + "\r\n+CMTI: \"SM\",1\r\n");
}

TEST(AtDevice, TextModeSendReadListAndRoute)
{
    TSimulatedPort port;
    EXPECT_EQ(port.client.Command("AT+CMGF=1;+CSDH=1;+CNMI=2,1,0,0,0"), kOk);
    EXPECT_EQ(port.client.Command("AT+CMGS=\"+491701234567\""), "\r\n> ");
    port.client.Write(std::string("Hello") + kCtrlZ);
    EXPECT_EQ(port.client.ReadUntilText("+CMTI: \"SM\",1\r\n"), Framed("+CMGS: 0") + kOk + "\r\n+CMTI: \"SM\",1\r\n");

    const std::string read = port.client.Command("AT+CMGR=1");
    EXPECT_EQ(read.find("+CMGR: \"REC UNREAD\",\"+491701234567\",,\""), 2u) << read;
    EXPECT_NE(read.find("\",145,4,0,0,\"+491710760000\",145,5\r\nHello\r\n"), std::string::npos) << read;
    const std::string list = port.client.Command("AT+CMGL=\"ALL\"");
    EXPECT_NE(list.find("+CMGL: 1,\"REC READ\",\"+491701234567\",,\""), std::string::npos) << list;
    EXPECT_NE(list.find("\",145,5\r\nHello\r\n"), std::string::npos) << list;
    EXPECT_EQ(port.client.Command("AT+CMGL=4"), Framed("+CMS ERROR: 305"));

    EXPECT_EQ(port.client.Command("AT+CNMI=2,2,0,0,0"), kOk);
    port.simulator.InjectSms("+4930123", "routed");
    const std::string routed = port.client.ReadUntilText("routed\r\n");
    EXPECT_EQ(routed.find("+CMT: \"+4930123\",,\""), 2u) << routed;
    EXPECT_NE(routed.find("\",145,4,0,0,\"+491710760000\",145,6\r\nrouted\r\n"), std::string::npos) << routed;
}

TEST(AtDevice, EscapeCancelsASend)
{
    TSimulatedPort port;
    EXPECT_EQ(port.client.Command("AT+CMGS=10"), "\r\n> ");
    port.client.Write("0011\x1B");
    EXPECT_EQ(port.client.ReadReply(), kOk);
    EXPECT_EQ(port.client.Command("AT+CPMS?").substr(0, 22), "\r\n+CPMS: \"SM\",0,20,\"SM");
}

TEST(AtDevice, RefusesBadPdusLengthsAndMissingNetwork)
{
    TSimulatedPort port;
    EXPECT_EQ(SendPdu(port.client, "00110005"), Framed("+CMS ERROR: 304"));   // cut short
    EXPECT_EQ(port.client.Command("AT+CMGS=99"), "\r\n> ");
    port.client.Write(SubmitPdu(false) + kCtrlZ);                           // length does not match
    EXPECT_EQ(port.client.ReadReply(), Framed("+CMS ERROR: 304"));
    port.simulator.SetRegistration(0);
    EXPECT_EQ(SendPdu(port.client, SubmitPdu(false)), Framed("+CMS ERROR: 331"));
}

TEST(AtDevice, FixedLengthModelsIgnoreTheAnnouncedLength)
{
    TSimulatedPort port("A1");
    EXPECT_EQ(port.client.Command("AT+CMGS=165"), "\r\n> ");
    port.client.Write(SubmitPdu(false) + kCtrlZ);
    EXPECT_EQ(port.client.ReadReply(), Framed("+CMGS: 0") + kOk);
}

TEST(AtDevice, ModelsWithoutServiceCentreFieldReadAndWriteBareTpdus)
{
    TSimulatedPort port("WaveCom");
    const std::string tpdu = SubmitPdu(false).substr(2);
    EXPECT_EQ(port.client.Command("AT+CMGS=" + std::to_string(tpdu.size() / 2)), "\r\n> ");
    port.client.Write(tpdu + kCtrlZ);
    EXPECT_EQ(port.client.ReadReply(), Framed("+CMGS: 0") + kOk);
    const std::string list = port.client.Command("AT+CMGL=4");
    EXPECT_EQ(BodyAfter(list, "+CMGL:").substr(0, 2), "04");   // the first octet, no centre field
}

TEST(AtDevice, Nokia6650AnnouncesTheCombinedStorage)
{
    TSimulatedPort port("Nokia6650");
    EXPECT_EQ(port.client.Command("AT+CNMI=2,1,0,0,0"), kOk);
    for (int i = 0; i < 11; ++i)
        port.simulator.InjectSms("+4930123", "n" + std::to_string(i));
    const std::string indications = port.client.ReadUntilText("\"MT\",11\r\n");
    EXPECT_NE(indications.find("\r\n+CMTI: \"MT\",10\r\n"), std::string::npos);
    EXPECT_NE(indications.find("\r\n+CMTI: \"MT\",11\r\n"), std::string::npos);
    EXPECT_EQ(port.simulator.StoredCount("ME"), 1);
}

TEST(AtDevice, CellBroadcastIsRoutedOrStored)
{
    TSimulatedPort port;
    EXPECT_EQ(port.client.Command("AT+CNMI=2,0,2,0,0"), kOk);
    port.simulator.InjectCellBroadcast(50, "Hi");
    const std::string routed =
        port.client.ReadUntil([](const std::string& b) { return b.size() >= 12 + 176 + 2; });
    EXPECT_EQ(routed.substr(0, 28), "\r\n+CBM: 88\r\n001000320F11C874");
    EXPECT_EQ(routed.size(), 12u + 176u + 2u);
    EXPECT_EQ(port.client.Command("AT+CMGF=1;+CNMI=2,0,2,0,0"), kOk);
    port.simulator.InjectCellBroadcast(50, "Text page");
    EXPECT_EQ(port.client.ReadUntilText("page\r\n"), "\r\n+CBM: 16,50,15,1,1\r\nText page\r\n");
    // The Siemens list has no bm 1; a Wavecom stores pages.
    EXPECT_EQ(port.client.Command("AT+CNMI=2,0,1,0,0"), Framed("+CMS ERROR: 303"));
    TSimulatedPort wavecom("WaveCom");
    EXPECT_EQ(wavecom.client.Command("AT+CNMI=2,0,1,0,0"), kOk);
    wavecom.simulator.InjectCellBroadcast(51, "stored");
    EXPECT_EQ(wavecom.client.ReadUntilText("\r\n+CBMI: \"BM\",1\r\n"), "\r\n+CBMI: \"BM\",1\r\n");
    EXPECT_EQ(wavecom.client.Command("AT+CPMS=\"BM\";+CMGR=1").substr(0, 15), "\r\n+CPMS: 1,10,0");
}

TEST(AtDevice, RegistrationChangesAreIndicatedPlainAndWithCell)
{
    TSimulatedPort port;
    EXPECT_EQ(port.client.Command("AT+CREG=1"), kOk);
    port.simulator.SetRegistration(2);
    EXPECT_EQ(port.client.ReadUntilText("+CREG: 2\r\n"), "\r\n+CREG: 2\r\n");
    EXPECT_EQ(port.client.Command("AT+CREG=2"), kOk);
    port.simulator.SetRegistration(5, "00AA", "0BBB");
    EXPECT_EQ(port.client.ReadUntilText("\"0BBB\"\r\n"), "\r\n+CREG: 5,\"00AA\",\"0BBB\"\r\n");
    port.simulator.SetSignal(99, 99);
    EXPECT_EQ(port.client.Command("AT+CSQ"), Framed("+CSQ: 99,99") + kOk);
}

TEST(AtDevice, SwitchedOffDeviceGoesSilent)
{
    struct TCase {
        const char* model;
        const char* command;
        std::string reply;
    };
    const TCase kCases[] = {
        {"TC35", "AT^SMSO", Framed("^SMSO: MS OFF") + kOk},
        {"GM12", "AT+CFUN=0", kOk},
    };
    for (const TCase& c : kCases) {
        TSimulatedPort port(c.model);
        EXPECT_EQ(port.client.Command(c.command), c.reply) << c.model;
        EXPECT_TRUE(port.simulator.PoweredOff()) << c.model;
        EXPECT_EQ(port.client.Command("AT", 200), "") << c.model;
    }
    TSimulatedPort gm12("GM12");
    EXPECT_EQ(gm12.client.Command("AT^SMSO"), "\r\nERROR\r\n");
}

TEST(AtDevice, WavecomReportsReadinessAfterThePin)
{
    TDeviceSettings settings;
    settings.pin = "1234";
    settings.readyDelayMs = 10;
    TSimulatedPort port("WaveCom", settings);
    EXPECT_EQ(port.client.Command("AT+WIND=12"), kOk);
    EXPECT_EQ(port.client.Command("AT+CPIN=\"1234\""), kOk);
    EXPECT_EQ(port.client.ReadUntilText("+WIND: 4\r\n"), "\r\n+WIND: 3\r\n\r\n+WIND: 4\r\n");
}

TEST(AtDevice, JoinedSimulatorsReachEachOther)
{
    TDeviceSettings second;
    second.ownNumber = "+491709999999";
    TSimulatedPort a;
    TSimulatedPort b("M35", second);
    a.simulator.Join(b.simulator);
    EXPECT_EQ(b.client.Command("AT+CNMI=2,1,0,0,0"), kOk);

    TSubmit submit;
    submit.destination = TAddress::FromText("+491709999999");
    submit.ud = EncodeText("over the air", 0);
    EXPECT_EQ(SendPdu(a.client, "00" + ToHex(BuildSubmit(submit))), Framed("+CMGS: 0") + kOk);
    EXPECT_EQ(b.client.ReadUntilText("+CMTI: \"SM\",1\r\n"), "\r\n+CMTI: \"SM\",1\r\n");
    const TDeliver deliver = DeliverOf(BodyAfter(b.client.Command("AT+CMGR=1"), "+CMGR:"));
    EXPECT_EQ(deliver.originator.Text(), "+491701234567");
    EXPECT_EQ(DecodeText(deliver.ud, deliver.dcs, false), "over the air");
    EXPECT_EQ(a.simulator.StoredCount("SM"), 0);
}

TEST(AtDevice, FullStorageKeepsTheMessageUntilSpaceFrees)
{
    TDeviceSettings settings;
    settings.simCapacity = 1;
    TSimulatedPort port("TC35", settings);
    EXPECT_EQ(port.client.Command("AT+CNMI=2,1,0,0,0"), kOk);
    port.simulator.InjectSms("+4930123", "one");
    port.simulator.InjectSms("+4930123", "two");
    EXPECT_EQ(port.client.ReadUntilText("+CMTI: \"SM\",1\r\n"), "\r\n+CMTI: \"SM\",1\r\n");
    port.client.Write("AT+CMGD=1\r");
    EXPECT_EQ(port.client.ReadUntilText("+CMTI: \"SM\",1\r\n"), kOk + "\r\n+CMTI: \"SM\",1\r\n");
    EXPECT_EQ(port.simulator.StoredCount("SM"), 1);
}
