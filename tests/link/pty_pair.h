#pragma once
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

// A pseudo-terminal: the device opens the slave by its path, the test plays the peer on the
// master.
class PtyPair {
public:
    PtyPair()
    {
        int slave = -1;
        char name[128];
        if (openpty(&master_, &slave, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        path_ = name;
        close(slave);
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair() { close(master_); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return path_; }
    int Master() const { return master_; }

    void Send(const std::string& bytes) const
    {
        if (write(master_, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
            throw std::runtime_error("write to the pty master failed");
    }

    // What the device wrote, once count bytes are there or the deadline passes.
    std::string Receive(size_t count, int timeoutMs = 2000) const
    {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now()).count();
            if (left <= 0)
                break;
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, int(left)) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, size_t(n));
        }
        return got;
    }

private:
    int master_ = -1;
    std::string path_;
};
