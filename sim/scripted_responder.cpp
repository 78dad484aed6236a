#include "sim/scripted_responder.h"

#include <chrono>
#include <cstdlib>
#include <utility>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

#include "sim/control_command.h"

namespace sim {

namespace {

constexpr char kCtrlZ = 0x1A;
constexpr char kEscape = 0x1B;

std::string Trimmed(const std::string& text)
{
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos)
        return "";
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

}  // namespace

TScriptedResponder::TScriptedResponder(const std::string& script)
{
    size_t start = 0;
    while (start < script.size()) {
        size_t end = script.find('\n', start);
        if (end == std::string::npos)
            end = script.size();
        std::string line = script.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (Trimmed(line).empty() || Trimmed(line)[0] == '#')
            continue;
        const size_t arrow = line.find(" -> ");
        if (arrow == std::string::npos)
            throw std::invalid_argument("script line without \" -> \": " + line);
        TStep step;
        const std::string left = Trimmed(line.substr(0, arrow));
        step.answer = UnescapeBytes(line.substr(arrow + 4));
        if (left.rfind("!after", 0) == 0) {
            step.timed = true;
            step.afterMs = std::atoi(left.c_str() + 6);
        } else {
            step.expect = UnescapeBytes(left);
        }
        steps_.push_back(std::move(step));
    }
    loop_.Start();
    loop_.Call([this] {
        loop_.Watch(pty_.Master(), POLLIN, [this](short) { ReadClient(); });
        Advance();
    });
}

TScriptedResponder::~TScriptedResponder()
{
    loop_.Stop();
}

bool TScriptedResponder::WaitDone(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return finished_; });
    if (!finished_ && difference_.empty())
        difference_ = "time-out at step " + std::to_string(next_ + 1) + " of " +
                      std::to_string(steps_.size()) +
                      (next_ < steps_.size() && !steps_[next_].timed
                           ? ", waiting for \"" + PrintableBytes(steps_[next_].expect) + "\""
                           : "");
    return finished_ && difference_.empty();
}

std::string TScriptedResponder::Difference()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return difference_;
}

std::string TScriptedResponder::Written()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
}

void TScriptedResponder::ReadClient()
{
    char buffer[4096];
    const ssize_t n = read(pty_.Master(), buffer, sizeof buffer);
    if (n <= 0)
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        written_.append(buffer, n);
    }
    for (ssize_t i = 0; i < n; ++i) {
        const char c = buffer[i];
        if (skipLf_ && c == '\n') {
            skipLf_ = false;
            continue;
        }
        skipLf_ = false;
        if (c == '\r') {
            skipLf_ = true;
            TakeLine(std::exchange(line_, std::string()));
        } else if (c == kCtrlZ || c == kEscape) {
            line_ += c;
            TakeLine(std::exchange(line_, std::string()));
        } else {
            line_ += c;
        }
    }
}

void TScriptedResponder::TakeLine(const std::string& line)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!difference_.empty())
        return;
    if (next_ >= steps_.size()) {
        lock.unlock();
        Finish("unexpected line after the script: \"" + PrintableBytes(line) + "\"");
        return;
    }
    const TStep& step = steps_[next_];
    if (step.timed || line != step.expect) {
        const std::string expected = step.timed ? "nothing (a timed step)" : "\"" + PrintableBytes(step.expect) + "\"";
        const std::string text = "step " + std::to_string(next_ + 1) + ": expected " + expected +
                                 ", got \"" + PrintableBytes(line) + "\"";
        lock.unlock();
        Finish(text);
        return;
    }
    ++next_;
    lock.unlock();
    if (!step.answer.empty())
        [[maybe_unused]] ssize_t n = write(pty_.Master(), step.answer.data(), step.answer.size());
    Advance();
}

// Runs the timed steps that follow, each after its pause, and notes the end of the script.
void TScriptedResponder::Advance()
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!difference_.empty())
        return;
    if (next_ >= steps_.size()) {
        finished_ = true;
        changed_.notify_all();
        return;
    }
    const TStep& step = steps_[next_];
    if (!step.timed)
        return;
    const int ms = step.afterMs;
    lock.unlock();
    loop_.AddTimer(ms, [this] {
        std::unique_lock<std::mutex> timerLock(mutex_);
        if (finished_)
            return;
        const std::string answer = steps_[next_++].answer;
        timerLock.unlock();
        [[maybe_unused]] ssize_t n = write(pty_.Master(), answer.data(), answer.size());
        Advance();
    });
}

void TScriptedResponder::Finish(const std::string& difference)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (difference_.empty())
        difference_ = difference;
    finished_ = true;
    changed_.notify_all();
}

}  // namespace sim
