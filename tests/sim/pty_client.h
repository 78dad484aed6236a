#pragma once
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

// The terminal side of a simulated device, as a serial client opens it: raw, non-blocking.
class TPtyClient {
public:
    explicit TPtyClient(const std::string& path)
    {
        fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ >= 0) {
            termios settings;
            tcgetattr(fd_, &settings);
            cfmakeraw(&settings);
            cfsetspeed(&settings, B19200);
            tcsetattr(fd_, TCSANOW, &settings);
        }
    }
    ~TPtyClient()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    bool IsOpen() const { return fd_ >= 0; }

    void Write(const std::string& bytes) { [[maybe_unused]] ssize_t n = write(fd_, bytes.data(), bytes.size()); }

    // Reads until `done` holds for what was read, or until the deadline; returns what was read.
    // hungUp tells whether the line was hung up meanwhile.
    template <typename Done>
    std::string ReadUntil(Done done, int timeoutMs = 3000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done(buffer_)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd pfd{fd_, POLLIN, 0};
            if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0)
                continue;
            char chunk[4096];
            const ssize_t n = read(fd_, chunk, sizeof chunk);
            if (n > 0) {
                buffer_.append(chunk, n);
                ++reads_;
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                hungUp_ = true;
                break;
            }
        }
        std::string text;
        text.swap(buffer_);
        return text;
    }

    // Everything up to and including the final result of a command line (or the send prompt).
    std::string ReadReply(int timeoutMs = 3000) { return ReadUntil(IsComplete, timeoutMs); }
    std::string Command(const std::string& line, int timeoutMs = 3000)
    {
        Write(line + "\r");
        return ReadReply(timeoutMs);
    }
    // Whatever arrives within the time.
    std::string ReadFor(int ms) { return ReadUntil([](const std::string&) { return false; }, ms); }
    std::string ReadUntilText(const std::string& text, int timeoutMs = 3000)
    {
        return ReadUntil([&](const std::string& b) { return b.find(text) != std::string::npos; }, timeoutMs);
    }

    bool HungUp() const { return hungUp_; }
    int Reads() const { return reads_; }

    static bool IsComplete(const std::string& b)
    {
        auto endsWith = [&](const std::string& tail) {
            return b.size() >= tail.size() && b.compare(b.size() - tail.size(), tail.size(), tail) == 0;
        };
        if (endsWith("\r\nOK\r\n") || endsWith("\r\nERROR\r\n") || endsWith("\r\n> "))
            return true;
        const size_t error = b.rfind("ERROR: ");
        return error != std::string::npos && endsWith("\r\n") && b.find("\r\n", error) == b.size() - 2;
    }

private:
    int fd_ = -1;
    std::string buffer_;
    bool hungUp_ = false;
    int reads_ = 0;
};
