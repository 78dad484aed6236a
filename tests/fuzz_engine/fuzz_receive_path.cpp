// Arbitrary bytes into the receive path of an engine without a device, cut into chunks the
// input chooses, each chunk followed by a pass as the background thread would start it.
//
// Input: one byte choosing the model (low nibble, modulo the model count) and text mode (bit
// 4, where the model has it), one byte giving how many chunk lengths follow (modulo 17), those
// lengths (used in turn; 0 takes the rest), then the bytes the device sends.
//
// Besides crashes and sanitizer reports, a find is: a byte not reported through OnRxChar
// exactly once and in order, an exception other than the system's own, a pass that raises
// without consuming a line, or an engine that after the input no longer dispatches a
// well-formed line as itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "codec/sms.h"
#include "modem/gsm.h"
#include "platform/sys/exception.h"

namespace {

class TTestGSM : public TGSM {
public:
    using TGSM::ReceiveChunk;

    // Whether the line handled last raised.
    bool lastLineRaised = false;

protected:
    void HandleUnsolicitedLine(const std::string& line) override
    {
        lastLineRaised = false;
        try {
            TGSM::HandleUnsolicitedLine(line);
        } catch (...) {
            lastLineRaised = true;
            throw;
        }
    }
};

constexpr int kModelCount = eqZText + 1;
constexpr uint8_t kModelMask = 0x0F;
constexpr uint8_t kTextModeBit = 0x10;
constexpr size_t kMaxChunkLengths = 16;

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

struct Recorder {
    std::string rxChars;
    std::vector<std::string> lines;
    int messages = 0;
};

// Every pass the bytes so far call for. A pass that raises has removed the line it was
// handling, so each further pass has one complete line fewer to trip on: more passes than
// bytes means one raised without progress.
void Drain(TTestGSM& gsm, size_t bytesFed)
{
    for (size_t pass = 0; pass <= bytesFed + 1; ++pass) {
        try {
            gsm.ProcessReceived();
            return;
        } catch (const Exception&) {
            // A line that does not parse: the pass ends by design.
        }
    }
    Require(false);
}

void Feed(TTestGSM& gsm, const std::string& chunk)
{
    gsm.ReceiveChunk(chunk);
    try {
        gsm.ProcessReceived();
    } catch (const Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t config = data[0];
    const size_t lengthCount = data[1] % (kMaxChunkLengths + 1);
    if (size < 2 + lengthCount)
        return 0;
    const std::vector<uint8_t> lengths(data + 2, data + 2 + lengthCount);
    const std::string stream(reinterpret_cast<const char*>(data + 2 + lengthCount), size - 2 - lengthCount);

    TTestGSM gsm;
    gsm.SetEquipment(static_cast<TGSMEquipment>((config & kModelMask) % kModelCount));
    if ((config & kTextModeBit) && (gsm.SupportedSMSFormats() & (1u << smsfText)))
        gsm.SetSMSFormat(smsfText);

    Recorder seen;
    gsm.OnRxChar = [&](TObject*, char c) { seen.rxChars += c; };
    gsm.OnUnsolicitedLine = [&](TObject*, const std::string& line) { seen.lines.push_back(line); };
    gsm.OnUnsolicitedSMS = [&](TObject*, int, TSMS* message) {
        ++seen.messages;
        // The control copies a routed message through its PDU text while the event runs.
        if (message) {
            try {
                message->PDU();
            } catch (const Exception&) {
            }
        }
    };

    size_t next = 0;
    for (size_t at = 0; at < stream.size(); ++next) {
        const size_t length = lengths.empty() || lengths[next % lengths.size()] == 0
                                  ? stream.size() - at
                                  : std::min<size_t>(lengths[next % lengths.size()], stream.size() - at);
        Feed(gsm, stream.substr(at, length));
        at += length;
    }
    Drain(gsm, stream.size());
    Require(seen.rxChars == stream);

    // What may still be open: an unfinished line (ended by the CR below; it may be a header
    // that leaves a message pending) and a pending routed message (which takes the next
    // complete line as its body, and an empty line is no line). A line that raised leaves
    // nothing pending; otherwise one more line flushes a body. After that the engine is back
    // to scanning and must dispatch the next line as it is.
    std::string flushed = "\r\n";
    gsm.ReceiveChunk(flushed);
    Drain(gsm, stream.size() + flushed.size());
    if (!gsm.lastLineRaised) {
        gsm.ReceiveChunk("FLUSH\r\n");
        flushed += "FLUSH\r\n";
        Drain(gsm, stream.size() + flushed.size());
    }
    const size_t linesBefore = seen.lines.size();
    const int messagesBefore = seen.messages;
    gsm.ReceiveChunk("\r\nRING\r\n");
    gsm.ProcessReceived();  // a well-formed line must not raise
    Require(seen.lines.size() == linesBefore + 1 && seen.lines.back() == "RING");
    Require(seen.messages == messagesBefore);
    Require(seen.rxChars == stream + flushed + "\r\nRING\r\n");
    return 0;
}
