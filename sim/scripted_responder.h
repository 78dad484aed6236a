#pragma once
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "sim/event_loop.h"
#include "sim/pseudo_terminal.h"

namespace sim {

// A device that follows a script on a pseudo-terminal, for tests that check exact bytes:
//
//   AT+CPIN?        -> \r\n+CPIN: SIM PIN\r\n\r\nOK\r\n
//   AT+CPIN="1234"  -> \r\nOK\r\n
//   !after 50 ms    -> \r\n+CMTI: "SM",3\r\n
//
// A step "<line> -> <bytes>" waits for the client to write <line> and answers <bytes>. The
// client's lines end at CR (not part of the line; an LF after it is skipped), or at Ctrl-Z or
// ESC (part of the line, written \x1A and \x1B). "!after N ms -> <bytes>" writes <bytes> N ms
// after the previous step. Both sides take the escapes \r \n \t \\ \xNN; empty lines and lines
// starting with "#" are skipped. At the first line that differs the responder stops answering
// and keeps the difference.
//
//   TScriptedResponder responder(script);
//   ... open responder.Path() and talk ...
//   EXPECT_TRUE(responder.WaitDone(2000)) << responder.Difference();
class TScriptedResponder {
public:
    // Raises std::invalid_argument naming the script line that has no " -> ".
    explicit TScriptedResponder(const std::string& script);
    ~TScriptedResponder();

    const std::string& Path() const { return pty_.Path(); }
    // True once every step has run without a difference; false at a difference or time-out.
    bool WaitDone(int timeoutMs);
    // The first difference, or an empty text.
    std::string Difference();
    // Everything the client wrote so far.
    std::string Written();

private:
    struct TStep {
        bool timed = false;
        int afterMs = 0;
        std::string expect;
        std::string answer;
    };
    void ReadClient();
    void TakeLine(const std::string& line);
    void Advance();
    void Finish(const std::string& difference);

    std::vector<TStep> steps_;
    TPseudoTerminal pty_;
    std::mutex mutex_;                 // guards the fields below
    std::condition_variable changed_;
    size_t next_ = 0;
    bool finished_ = false;
    std::string difference_;
    std::string written_;
    std::string line_;                 // loop thread only
    bool skipLf_ = false;              // loop thread only
    TEventLoop loop_;                  // last: stopped first
};

}  // namespace sim
