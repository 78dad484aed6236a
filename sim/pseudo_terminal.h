#pragma once
#include <string>

namespace sim {

// The device end of a pseudo-terminal. The simulator keeps a descriptor of the terminal end
// open itself, so a client closing and reopening the port does not hang the line up; HangUp
// does, as an unplugged device would.
class TPseudoTerminal {
public:
    TPseudoTerminal();   // raises std::system_error when no pseudo-terminal can be had
    ~TPseudoTerminal();
    TPseudoTerminal(const TPseudoTerminal&) = delete;
    TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

    int Master() const { return master_; }
    const std::string& Path() const { return path_; }
    bool IsOpen() const { return master_ >= 0; }
    // Bytes written by the device that the client has not read yet.
    int PendingForClient() const;
    // The bit rate the client last configured.
    int ClientRate() const;
    void HangUp();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace sim
