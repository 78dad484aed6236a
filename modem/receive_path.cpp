// Everything the device sends: the receive handler on the serial event thread, the hand-over
// to the main thread, and there the byte reports, the cutting into lines and the dispatcher of
// unsolicited result codes.

#include "modem/gsm_async_thread.h"

#include "codec/sms.h"
#include "link/comm.h"
#include "modem/at_response.h"
#include "modem/gsm.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/str_to_int.h"

namespace {

constexpr char kCR = 13;
constexpr char kLF = 10;

bool IsControl(char c)
{
    return static_cast<unsigned char>(c) < 32;
}

}  // namespace

TGSMAsyncThread::TGSMAsyncThread(TGSM& gsm) : gsm_(gsm)
{
    SetPriority(TThreadPriority::tpLower);
    Start();
}

TGSMAsyncThread::~TGSMAsyncThread()
{
    Stop();
    WaitFor();
}

void TGSMAsyncThread::Stop()
{
    Terminate();
    wake_.SetEvent();
}

void TGSMAsyncThread::Execute()
{
    while (!Terminated()) {
        wake_.WaitFor(INFINITE);
        // Reset before the hand-over: bytes that arrive meanwhile cause one more pass.
        wake_.ResetEvent();
        if (Terminated())
            break;
        try {
            Synchronize([this] {
                if (!Terminated())
                    gsm_.ProcessReceived();
            });
        } catch (...) {
            // A failing pass has already removed the line it was handling and left the later
            // ones for the next pass; nobody here could act on the failure.
        }
    }
}

// Serial event thread.
void TGSM::ReceiveHandler(int count)
{
    if (count <= 0)
        return;
    std::string chunk;
    comDevice_->ReadString(count, chunk);
    ReceiveChunk(chunk);
}

void TGSM::ReceiveChunk(const std::string& chunk)
{
    if (chunk.empty())
        return;
    {
        std::lock_guard lock(rxLock_);
        rxLog_ += chunk;
    }
    bool wake = false;
    {
        std::lock_guard lock(replyLock_);
        const char last = chunk.back();
        bool incomplete = true;
        if (last == kLF || last == kCR)
            incomplete = false;
        else if (waitFlags_ & atrPDU)
            incomplete = !(last == '>' || (chunk.size() >= 2 && chunk.find("> ") == chunk.size() - 2));
        lineIncomplete_ = incomplete;
        if (waitFlags_ != 0) {
            RecogniseReply(chunk);
            wake = true;
        }
    }
    if (wake)
        replyEvent_.SetEvent();
    if (RxLength() > rxPos_)
        asyncThread_->Wake();
}

int TGSM::RxLength()
{
    std::lock_guard lock(rxLock_);
    return static_cast<int>(rxLog_.size());
}

// 1-based, as the scanning below counts; 0 outside the log.
char TGSM::RxByte(int position)
{
    std::lock_guard lock(rxLock_);
    if (position < 1 || position > static_cast<int>(rxLog_.size()))
        return 0;
    return rxLog_[static_cast<size_t>(position) - 1];
}

// Copies the to - from bytes starting at from, and removes the first to bytes, all at once.
std::string TGSM::Extract(int from, int to)
{
    std::lock_guard lock(rxLock_);
    const auto size = static_cast<int>(rxLog_.size());
    std::string copy;
    if (from >= 1 && from <= size && to > from)
        copy = rxLog_.substr(static_cast<size_t>(from) - 1, static_cast<size_t>(std::min(to, size + 1) - from));
    rxLog_.erase(0, static_cast<size_t>(std::clamp(to, 0, size)));
    rxPos_ -= to;
    return copy;
}

void TGSM::ReportReceived()
{
    while (RxLength() > rxPos_) {
        // -1: an extraction took a byte that had not been reported; it never is.
        if (rxPos_ >= 0)
            DoRxChar(RxByte(rxPos_ + 1));
        ++rxPos_;
    }
}

void TGSM::ProcessReceived()
{
    ReportReceived();
    // A host that pumps its event loop inside one of our events brings a second pass in here;
    // it only reports bytes, the running pass goes on cutting the lines.
    if (processing_)
        return;
    processing_ = true;
    struct ProcessingScope {
        bool& flag;
        ~ProcessingScope() { flag = false; }
    } scope{processing_};

    int pos = 0;
    int consumed = 0;
    for (;;) {
        if (waitFlags_ != 0)
            return;  // a transaction waits: the lines stay for the pass after it

        if (bodyLength_ > 0) {
            while (bodyStart_ > 0 && !IsControl(RxByte(bodyStart_)))
                --bodyStart_;
            const int length = RxLength();
            for (int k = 0; k < bodyLength_ && bodyStart_ + 1 + k <= length; ++k)
                if (RxByte(bodyStart_ + 1 + k) == kCR) {
                    bodyLength_ = k;
                    break;
                }
            if (rxPos_ - bodyStart_ < bodyLength_)
                return;  // the body is not complete yet
            // The body, everything in front of it and the one byte after it (its CR) go.
            const std::string line = Extract(bodyStart_ + 1, bodyStart_ + 1 + bodyLength_);
            bodyLength_ = 0;
            bodyStart_ = 0;
            pos = 0;
            HandleUnsolicitedLine(line);
        }

        int s = pos + 1;
        while (s <= rxPos_ && IsControl(RxByte(s)))
            ++s;
        int e = s;
        while (e <= rxPos_ && !IsControl(RxByte(e)))
            ++e;
        consumed = s - 1;
        if (e <= rxPos_) {
            if (RxByte(e) == kCR) {
                const std::string line = Extract(s, e);
                // The body of a routed message starts after the LF of this line's CR LF.
                bodyStart_ = 1;
                // The next scan starts at the front again: it skips the LF of a CR LF pair as
                // a control byte, and keeps the first byte of a line after a lone CR.
                e = 0;
                consumed = 0;
                HandleUnsolicitedLine(line);
            } else {
                consumed = e;  // text ended by another control byte is dropped
            }
        }
        pos = e;
        if (pos >= RxLength())
            break;
        ReportReceived();
    }
    Extract(1, consumed);
}

void TGSM::HandleUnsolicitedLine(const std::string& line)
{
    if (pendingSMS_) {
        HandleRoutedBody(line);
        return;
    }
    if (line.starts_with("+CREG: ")) {
        if (line.find('(') != std::string::npos)
            return;  // the reply to the test command
        int status;
        if (line.find(',') != std::string::npos) {
            // Both the reply "+CREG: n,stat" and the indication "+CREG: stat,lac,ci" give the state.
            int p = 7;
            status = StrToInt(ExtractParam(line, p));
            const std::string second = ExtractParam(line, p);
            if (!second.empty() && second[0] != '"')
                status = StrToInt(second);
        } else {
            status = StrToInt(line.substr(7));
        }
        if (status != networkRegistration_)
            DoNetworkRegistration(status);
        return;
    }
    if ((equipment_ == eqWaveCom || equipment_ == eqFasttrack) && line.starts_with("+WIND:")) {
        int p = 7;
        if (StrToInt(ExtractParam(line, p)) == 4) {
            wind4Seen_ = true;
            replyEvent_.SetEvent();
        }
        return;
    }
    if (equipment_ == eqT260 && line.starts_with("+CSQ: ") && line.find('(') == std::string::npos) {
        int p = 7;
        const int rssi = StrToInt(ExtractParam(line, p));
        const int status = rssi == 99 ? 0 : 1;
        if (status != networkRegistration_)
            DoNetworkRegistration(status);
        return;
    }
    if (line.starts_with("+CMTI:") || line.starts_with("+CBMI:") || line.starts_with("+CDSI:")) {
        int p = 7;
        std::string mem = ExtractParam(line, p);
        int index = StrToInt(ExtractParam(line, p));
        if (equipment_ == eqNokia6650 && mem == "\"MT\"") {
            // This phone names its combined storage MT: the first ten places are the SIM's.
            if (index <= 10) {
                mem = "\"SM\"";
            } else {
                mem = "\"ME\"";
                index -= 10;
            }
        }
        SetMem1(mem);
        DoUnsolicitedSMS(index, nullptr);
        return;
    }
    if (equipment_ == eqT260 && line.starts_with("+CDS:")) {
        int p = 6;
        SetMem1(ExtractParam(line, p));
        const int index = StrToInt(ExtractParam(line, p));
        DoUnsolicitedSMS(index, nullptr);
        return;
    }
    if (line.starts_with("+CMT:") || line.starts_with("+CDS:") || line.starts_with("+CBM:")) {
        // A header that fails to parse must leave no message waiting, or the next line (an
        // indication, a reply) would be swallowed as its body.
        try {
            HandleRoutedHeader(line);
        } catch (...) {
            pendingSMS_.reset();
            throw;
        }
        return;
    }
    DoUnsolicitedLine(line);
}

void TGSM::DoRxChar(char aChar)
{
    if (OnRxChar)
        OnRxChar(this, aChar);
}

void TGSM::DoUnsolicitedLine(const std::string& line)
{
    if (OnUnsolicitedLine)
        OnUnsolicitedLine(this, line);
}

void TGSM::DoUnsolicitedSMS(int index, TSMS* message)
{
    if (OnUnsolicitedSMS)
        OnUnsolicitedSMS(this, index, message);
}

void TGSM::DoNetworkRegistration(int status)
{
    if (OnNetworkRegistration)
        OnNetworkRegistration(this, status);
    networkRegistration_ = status;
}
