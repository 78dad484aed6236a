#include "sim/simulator.h"

#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/sys/port_directory.h"
#include "sim/tpdu.h"

namespace sim {

namespace {

constexpr size_t kReadChunk = 4096;
// What a client that stopped reading may leave queued before the oldest bytes are dropped,
// as a real line would lose them.
constexpr size_t kMaxQueued = 1 << 20;
constexpr int kDrainCheckMs = 5;
constexpr int kDrainChecks = 400;

void MakeDirectories(const std::string& path)
{
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos)
            return;
    }
}

std::string LowerCase(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c | 0x20);
    return text;
}

}  // namespace

TSimulator::TSimulator(TSimulatorOptions options, TLogHandler log)
    : options_(std::move(options)), log_(std::move(log)), path_(pty_.Path()),
      network_(std::make_shared<TNetwork>())
{
    options_.device.profile = FindProfile(options_.model);
    if (!options_.device.profile)
        throw std::invalid_argument("unknown model: " + options_.model);
    device_ = std::make_unique<TAtDevice>(options_.device, static_cast<TAtDeviceHost&>(*this));
    network_->Attach(this);
    if (!options_.link.empty())
        PublishLink();
    loop_.Start();
    loop_.Call([this] {
        loop_.Watch(pty_.Master(), POLLIN, [this](short) { ReadClient(); });
    });
}

TSimulator::~TSimulator()
{
    loop_.Stop();
    network_->Detach(this);
    if (!linkPath_.empty()) {
        char target[256];
        const ssize_t n = readlink(linkPath_.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, n) == path_)
            unlink(linkPath_.c_str());
    }
}

void TSimulator::PublishLink()
{
    const std::string dir = PortDirectory();
    if (dir.empty())
        throw std::invalid_argument("no port directory: set GATEWAY_PORT_DIR, XDG_RUNTIME_DIR or HOME");
    MakeDirectories(dir);
    const std::string link = dir + "/" + LowerCase(options_.link);
    unlink(link.c_str());
    if (symlink(path_.c_str(), link.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), "symlink " + link);
    linkPath_ = link;
}

void TSimulator::Log(TLogDirection direction, std::string_view text)
{
    if (log_)
        log_(direction, text);
}

// ---- Client side --------------------------------------------------------------------------

void TSimulator::ReadClient()
{
    char buffer[kReadChunk];
    const ssize_t n = read(pty_.Master(), buffer, sizeof buffer);
    if (n <= 0)
        return;
    const std::string_view bytes(buffer, n);
    Log(TLogDirection::FromClient, bytes);
    const int rate = pty_.ClientRate();
    if (rate != lastRate_ && rate != options_.device.profile->defaultRate && rate != 0)
        Log(TLogDirection::Event, "client line at " + std::to_string(rate) + " bit/s, the " +
                                      options_.model + " listens at " +
                                      std::to_string(options_.device.profile->defaultRate));
    lastRate_ = rate;
    if (!silent_)
        device_->Receive(bytes);
}

void TSimulator::Emit(TOutputKind kind, std::string bytes)
{
    if (silent_ || hangingUp_ || !pty_.IsOpen())
        return;
    TChunk chunk{std::move(bytes), TClock::now()};
    if (kind == TOutputKind::Reply) {
        chunk.notBefore += std::chrono::milliseconds(delayMs_);
        if (!garbage_.empty()) {
            chunk.bytes = garbage_ + chunk.bytes;
            garbage_.clear();
        }
        if (hangUpAfter_ >= 0) {
            if (static_cast<size_t>(hangUpAfter_) < chunk.bytes.size())
                chunk.bytes.resize(hangUpAfter_);
            chunk.hangUpAfter = true;
            hangUpAfter_ = -1;
        }
    }
    // Nothing overtakes what was queued before it.
    if (!output_.empty() && chunk.notBefore < output_.back().notBefore)
        chunk.notBefore = output_.back().notBefore;
    size_t queued = chunk.bytes.size();
    for (const TChunk& c : output_)
        queued += c.bytes.size();
    if (queued > kMaxQueued)
        output_.clear();
    output_.push_back(std::move(chunk));
    Pump();
}

void TSimulator::Pump()
{
    while (!output_.empty() && pty_.IsOpen()) {
        TChunk& front = output_.front();
        const auto now = TClock::now();
        if (front.notBefore > now) {
            if (!pumpScheduled_) {
                pumpScheduled_ = true;
                const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(front.notBefore - now);
                loop_.AddTimer(static_cast<int>(wait.count()) + 1, [this] {
                    pumpScheduled_ = false;
                    Pump();
                });
            }
            return;
        }
        size_t size = front.bytes.size();
        if (splitChunk_ > 0 && size > static_cast<size_t>(splitChunk_))
            size = splitChunk_;
        const ssize_t n = size ? write(pty_.Master(), front.bytes.data(), size) : 0;
        if (n < 0) {
            if (errno == EAGAIN) {
                loop_.Watch(pty_.Master(), POLLIN | POLLOUT, [this](short revents) {
                    if (revents & POLLIN)
                        ReadClient();
                    if (revents & POLLOUT) {
                        loop_.Watch(pty_.Master(), POLLIN, [this](short) { ReadClient(); });
                        Pump();
                    }
                });
            }
            return;
        }
        Log(TLogDirection::ToClient, std::string_view(front.bytes).substr(0, n));
        front.bytes.erase(0, n);
        if (!front.bytes.empty()) {
            if (splitChunk_ > 0)
                front.notBefore = now + std::chrono::milliseconds(splitGapMs_);
            continue;
        }
        const bool hangUp = front.hangUpAfter;
        output_.pop_front();
        if (hangUp) {
            hangingUp_ = true;
            output_.clear();
            // The terminal moves written bytes to the client's queue a moment later.
            loop_.AddTimer(kDrainCheckMs, [this] { HangUpWhenDrained(kDrainChecks); });
            return;
        }
    }
}

void TSimulator::HangUpWhenDrained(int checksLeft)
{
    // The terminal tells nobody when the client has read its queue, and hanging up drops what
    // is still queued; look again shortly so the bytes before the hang-up reach the client.
    if (pty_.PendingForClient() > 0 && checksLeft > 0) {
        loop_.AddTimer(kDrainCheckMs, [this, checksLeft] { HangUpWhenDrained(checksLeft - 1); });
        return;
    }
    loop_.Unwatch(pty_.Master());
    pty_.HangUp();
    Log(TLogDirection::Event, "hung up");
}

void TSimulator::After(int ms, std::function<void()> fn)
{
    loop_.AddTimer(ms, std::move(fn));
}

// ---- Network ------------------------------------------------------------------------------

void TSimulator::Send(const TSubmit& submit, const TAddress& sender)
{
    TIncomingSms sms;
    sms.originator = sender;
    sms.flags = submit.firstOctet & (kUdhi | kReplyPath | kStatusReportFlag);
    sms.pid = submit.pid;
    sms.dcs = submit.dcs;
    sms.ud = submit.ud;
    const bool routed = network_->Route(submit.destination, sms);
    Log(TLogDirection::Event, "sent to " + submit.destination.Text() +
                                  (routed ? "" : " (outside the simulation)"));
}

void TSimulator::Deliver(const TIncomingSms& sms)
{
    loop_.Post([this, sms] { device_->ReceiveSms(sms); });
}

void TSimulator::InjectSms(const std::string& from, const std::string& text, uint8_t dcs)
{
    TIncomingSms sms;
    sms.originator = TAddress::FromText(from);
    sms.dcs = dcs;
    sms.ud = EncodeText(text, dcs);
    loop_.Post([this, sms] { device_->ReceiveSms(sms); });
}

void TSimulator::InjectCellBroadcast(uint16_t messageId, const std::string& text)
{
    const std::string page = BuildCellBroadcastPage(0x0010, messageId, 0x0F, 1, 1, text);
    loop_.Post([this, page] { device_->ReceiveCellBroadcast(page); });
}

void TSimulator::SetRegistration(int status, const std::string& lac, const std::string& cellId)
{
    loop_.Post([=, this] { device_->SetRegistration(status, lac, cellId); });
}

void TSimulator::SetSignal(int rssi, int ber)
{
    loop_.Post([=, this] { device_->SetSignal(rssi, ber); });
}

void TSimulator::Join(TSimulator& other)
{
    std::shared_ptr<TNetwork> shared;
    loop_.Call([&] { shared = network_; });
    other.loop_.Call([&] {
        other.network_->Detach(&other);
        other.network_ = shared;
        shared->Attach(&other);
    });
}

// ---- Faults and observation ---------------------------------------------------------------

void TSimulator::SetSilent(bool silent)
{
    loop_.Call([&] { silent_ = silent; });
}

void TSimulator::SetDelay(int ms)
{
    loop_.Call([&] { delayMs_ = ms; });
}

void TSimulator::SetSplit(int chunk, int gapMs)
{
    loop_.Call([&] {
        splitChunk_ = chunk;
        splitGapMs_ = gapMs;
    });
}

void TSimulator::InjectGarbage(const std::string& bytes)
{
    loop_.Call([&] { garbage_ += bytes; });
}

void TSimulator::InjectBytes(const std::string& bytes)
{
    loop_.Post([this, bytes] { Emit(TOutputKind::Unsolicited, bytes); });
}

void TSimulator::FailCommand(const std::string& name, const std::string& result, int times)
{
    loop_.Call([&] { device_->FailCommand(name, result, times); });
}

void TSimulator::HangUpAfter(int bytes)
{
    loop_.Call([&] { hangUpAfter_ = bytes; });
}

TSimState TSimulator::SimState()
{
    TSimState state;
    loop_.Call([&] { state = device_->SimState(); });
    return state;
}

bool TSimulator::PoweredOff()
{
    bool off;
    loop_.Call([&] { off = device_->PoweredOff(); });
    return off;
}

bool TSimulator::HungUp()
{
    bool hungUp;
    loop_.Call([&] { hungUp = hangingUp_; });
    return hungUp;
}

int TSimulator::UnacknowledgedCount()
{
    int count;
    loop_.Call([&] { count = device_->UnacknowledgedCount(); });
    return count;
}

int TSimulator::StoredCount(const std::string& storage)
{
    int count = -1;
    loop_.Call([&] {
        if (TMessageStore* store = device_->Store(storage))
            count = store->Used();
    });
    return count;
}

}  // namespace sim
