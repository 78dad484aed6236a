// One AT command exchange: framing, writing, waiting for the reply the caller's flags ask for,
// repeating failed attempts, and turning every failure into an EGSMError.

#include <algorithm>
#include <string_view>

#include "link/comm.h"
#include "link/hex_text.h"
#include "modem/error_texts.h"
#include "modem/gsm_async_thread.h"
#include "modem/gsm.h"
#include "modem/gsm_scopes.h"
#include "platform/sys/format.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/str_to_int.h"
#include "platform/sys/tick_count.h"

namespace {

constexpr char kCR = 13;
constexpr char kLF = 10;
constexpr char kCtrlZ = 26;
constexpr char kEsc = 27;

// Every attempt ends with this pause, success or not: the devices need it between commands.
constexpr uint32_t kAttemptPauseMs = 150;
// Longest wait for the device to finish a line it is in the middle of.
constexpr uint32_t kSettleMs = 500;

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && IsBlankOrControl(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlankOrControl(s.back()))
        s.remove_suffix(1);
    return s;
}

bool Contains(std::string_view s, std::string_view part)
{
    return s.find(part) != std::string_view::npos;
}

// The upper-cased command without "AT", cut before "=", "?" or ";": AT+CMGS=23>... gives
// +CMGS, ATE1 gives E1, AT gives the empty name.
std::string CommandNameOf(const std::string& cmd)
{
    const std::string upper(Trimmed(UpperCaseAscii(cmd)));
    if (!upper.starts_with("AT"))
        throw EGSMError("Bad AT command");
    const std::string rest = upper.substr(2);
    return rest.substr(0, rest.find_first_of("=?;"));
}

}  // namespace

int TGSM::SendATCommand(const std::string& Cmd, uint8_t WaitFor, int RepCount, TStrings* Response)
{
    BusyScope busy(*this);
    const std::string name = CommandNameOf(Cmd);
    if (!comDevice_)
        throw EGSMError("No assigned COM device");
    {
        std::lock_guard lock(replyLock_);
        commandName_ = name;
        responseList_ = Response;
        lastActivity_ = GetTickCount();
    }
    // A count of 0 (with RepeatCount 0 too) or below would never end the repetition while the
    // device keeps failing: it makes one attempt.
    int attempts = RepCount != 0 ? RepCount : repeatCount_;
    if (attempts < 1)
        attempts = 1;

    bool done = false;
    bool cancelled = false;
    try {
        do {
            done = RunAttempt(Cmd, WaitFor, cancelled);
            --attempts;
            if (!done)
                Sleep(static_cast<uint32_t>(std::max(repeatTimeout_, 0)));
        } while (!done && attempts > 0);
    } catch (...) {
        EndTransaction();
        throw;
    }
    EndTransaction();

    std::lock_guard lock(replyLock_);
    if (done)
        return lastError_;
    if (cancelled && lastErrorMsg_ == "OK")
        throw EGSMError("Cannot send SMS: canceled");
    if (!lastErrorMsg_.empty())
        throw EGSMError(ReturnedErrorText(lastErrorMsg_, Cmd));
    throw EGSMError(Format("No reply on AT command: %s", Cmd.c_str()));
}

// The lines received during the transaction stayed in the receive log; the bytes may all have
// been reported by its own waits already, so no later arrival would start the pass that cuts them.
void TGSM::EndTransaction()
{
    {
        std::lock_guard lock(replyLock_);
        responseList_ = nullptr;
    }
    if (RxLength() > 0)
        asyncThread_->Wake();
}

bool TGSM::RunAttempt(const std::string& cmd, uint8_t waitFor, bool& cancelled)
{
    {
        std::lock_guard lock(replyLock_);
        lastErrorMsg_.clear();
        lastError_ = 0;
    }
    // Settle: the device is in the middle of a line; let it finish, or the command's echo
    // would be glued to the tail of that line.
    while (lineIncomplete_) {
        {
            std::lock_guard lock(replyLock_);
            receivedFlags_ = 0;
            waitFlags_ = atrCRLF;
        }
        replyEvent_.ResetEvent();
        if (replyEvent_.WaitFor(kSettleMs) == TWaitResult::wrTimeout)
            break;
    }
    comDevice_->PurgeOut();
    {
        std::lock_guard lock(replyLock_);
        waitFlags_ = 0;
        lineBuffer_.clear();
        receivedFlags_ = 0;
    }
    replyEvent_.ResetEvent();
    cancelled = false;
    bool done = false;

    auto endAttempt = [this] {
        std::lock_guard lock(replyLock_);
        waitFlags_ = 0;
    };
    try {
        if ((waitFor & atrPDU) == 0) {
            {
                std::lock_guard lock(replyLock_);
                waitFlags_ = waitFor;
            }
            comDevice_->WriteString(cmd + kCR);
        } else {
            const size_t prompt = cmd.find('>');
            if (prompt == std::string::npos)
                throw EGSMError("Bad PDU format");
            {
                std::lock_guard lock(replyLock_);
                waitFlags_ = atrPDU;
            }
            comDevice_->WriteString(cmd.substr(0, prompt) + kCR);
            if (!WaitForReply(static_cast<uint32_t>(recTimeout_))) {
                // No prompt: ESC takes the device out of its text entry.
                comDevice_->WriteString(std::string(1, kEsc));
                cancelled = true;
            } else {
                replyEvent_.ResetEvent();
                {
                    std::lock_guard lock(replyLock_);
                    waitFlags_ = waitFor & ~atrPDU;
                    receivedFlags_ = 0;
                }
                comDevice_->WriteString(cmd.substr(prompt + 1) + kCtrlZ);
            }
        }
        if (!cancelled) {
            done = true;
            const uint8_t flags = waitFlags_;
            const uint8_t needed = flags & ~(atrATResponse | atrErrorCode);
            if (flags != 0) {
                for (;;) {
                    const TWaitResult r = replyEvent_.WaitFor(static_cast<uint32_t>(recTimeout_));
                    // Reset before looking: a reply that lands after the look sets it again.
                    replyEvent_.ResetEvent();
                    uint32_t idle;
                    {
                        std::lock_guard lock(replyLock_);
                        done = (receivedFlags_ & needed) == needed;
                        idle = GetTickCount() - lastActivity_;
                    }
                    if (OnMainThread())
                        ProcessReceived();
                    if (done)
                        break;
                    if (r == TWaitResult::wrTimeout && idle > static_cast<uint32_t>(recTimeout_))
                        break;
                }
            }
            std::lock_guard lock(replyLock_);
            if (done && (flags & atrCode))
                done = FinalResultOK();
            if (!done && (flags & atrErrorCode))
                done = Contains(lastErrorMsg_, "ERROR");
        }
    } catch (...) {
        endAttempt();
        Sleep(kAttemptPauseMs);
        throw;
    }
    endAttempt();
    Sleep(kAttemptPauseMs);
    return done;
}

// The prompt wait of a two-phase send: true once ">" has arrived, false after a silence.
bool TGSM::WaitForReply(uint32_t timeoutMs)
{
    for (;;) {
        const TWaitResult r = replyEvent_.WaitFor(timeoutMs);
        replyEvent_.ResetEvent();
        if (OnMainThread())
            ProcessReceived();
        {
            std::lock_guard lock(replyLock_);
            if (receivedFlags_ & atrPDU)
                return true;
        }
        if (r == TWaitResult::wrTimeout)
            return false;
    }
}

// Called with replyLock_ held.
bool TGSM::FinalResultOK() const
{
    return Contains(errorCodes_.Values(Format("%s.Params", lastErrorMsg_.c_str())), "OK");
}

void TGSM::CheckResult(int code) const
{
    if (code != 0)
        throw EGSMError(Format("Error was returned: %s", LastErrorMsg().c_str()));
}

int TGSM::LastError() const
{
    std::lock_guard lock(replyLock_);
    return lastError_;
}

std::string TGSM::LastErrorMsg() const
{
    std::lock_guard lock(replyLock_);
    return lastErrorMsg_;
}

// Event thread, with replyLock_ held and a transaction waiting.
void TGSM::RecogniseReply(const std::string& chunk)
{
    for (const char c : chunk) {
        if ((waitFlags_ & atrCRLF) && (c == kCR || c == kLF))
            receivedFlags_ |= atrCRLF;
        else if ((waitFlags_ & atrPDU) && c == '>')
            receivedFlags_ |= atrPDU;
    }
    lineBuffer_ += chunk;
    // A line starts after the control bytes in front of it, runs over printable bytes and CR,
    // and ends at the first other control byte; only LF makes it a line worth classifying.
    size_t pos = 0;
    for (;;) {
        while (pos < lineBuffer_.size() && static_cast<unsigned char>(lineBuffer_[pos]) < 32)
            ++pos;
        size_t end = pos;
        while (end < lineBuffer_.size() &&
               (static_cast<unsigned char>(lineBuffer_[end]) >= 32 || lineBuffer_[end] == kCR))
            ++end;
        if (end == lineBuffer_.size())
            break;  // unfinished: wait for the next chunk
        if (lineBuffer_[end] == kLF) {
            std::string line = lineBuffer_.substr(pos, end - pos);
            if (!line.empty() && line.back() == kCR)
                line.pop_back();
            ClassifyLine(line);
        }
        pos = end + 1;
    }
    lineBuffer_.erase(0, pos);
}

// Event thread, with replyLock_ held.
void TGSM::ClassifyLine(const std::string& line)
{
    const std::string upper = UpperCaseAscii(line);
    if (upper.starts_with("AT" + commandName_))
        return;  // the device's echo of the command

    std::string name = line;
    std::string value = errorCodes_.Values(name);
    if (value.empty() && Contains(line, "ERROR")) {
        name = "ERROR";
        value = errorCodes_.Values(name);
    }
    const std::string ownPrefix = commandName_ + ":";
    if (!value.empty()) {
        if (Contains(errorCodes_.Values(Format("%s.Params", name.c_str())), "RES")) {
            // The control refuses tables with values that are not integers; one that slipped
            // through still ends the transaction, as a plain error.
            int code = 4;
            TryStrToInt(value, code);
            lastError_ = code;
            lastErrorMsg_ = line;
            receivedFlags_ |= atrCode | atrParams;
        }
    } else if (waitFlags_ & atrATResponse) {
        if (upper.starts_with(ownPrefix)) {
            if (responseList_)
                responseList_->Add(std::string(Trimmed(std::string_view(line).substr(ownPrefix.size()))));
            lastActivity_ = GetTickCount();
            receivedFlags_ |= atrParams;
        }
    } else if (!line.empty()) {
        const bool indication = line[0] == '+' || line[0] == '^';
        if (!indication || upper.starts_with(ownPrefix)) {
            if (responseList_)
                responseList_->Add(line);
            lastActivity_ = GetTickCount();
            receivedFlags_ |= atrParams;
        }
    }
    if ((receivedFlags_ & atrCode) && (receivedFlags_ & atrParams))
        receivedFlags_ |= atrBothNecessary;
}

void TGSM::Busy()
{
    if (++busyCount_ == 1)
        DoBusyChanged(true);
}

void TGSM::Unbusy()
{
    if (busyCount_ <= 0)
        return;
    if (--busyCount_ == 0)
        DoBusyChanged(false);
}

void TGSM::DoBusyChanged(bool busy)
{
    if (OnBusyChanged)
        OnBusyChanged(this, busy);
}

bool TGSM::OnMainThread() const
{
    return IsMainThread();
}
