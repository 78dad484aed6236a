#pragma once
#include <QPlainTextEdit>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/critical_section.h"
#include "platform/sys/event.h"
#include "platform/sys/thread.h"

class TTerminal;

// The lines a terminal shows, oldest first, as 8-bit text.
using TTerminalLines = std::vector<std::string>;

// Waits for text queued for one terminal and has the GUI thread apply all of it in one pass.
// Producers only queue and signal; they never wait for the GUI thread.
class TTerminalThread : public TThread {
public:
    explicit TTerminalThread(TTerminal& terminal);
    ~TTerminalThread() override;

    // Any thread.
    void AddLine(const std::string& line);
    void AddText(const std::string& text);
    // Ends the loop at its next wake-up; a pass that still gets to run touches nothing.
    void Stop();

protected:
    void Execute() override;

private:
    void Signal();
    // GUI thread.
    void ApplyPending();
    void TrimToMaxLines(TTerminalLines& lines) const;

    TTerminal& terminal_;
    TCriticalSection Lock;
    std::vector<std::string> PendingLines;  // guarded by Lock
    std::string PendingText;                // guarded by Lock
    TEvent Wakeup;                          // set by producers and Stop, reset by the loop
    bool LineEnded = false;                 // GUI thread only
};

// A read-only, non-wrapping log that renders raw characters as a simple terminal does: CR goes
// back to the start of the line, LF moves one line down in the same column, backspace moves one
// column back and anything else overwrites the character under the cursor. Only the newest
// MaxLines lines are kept.
class TTerminal : public QPlainTextEdit {
public:
    explicit TTerminal(QWidget* parent = nullptr);
    ~TTerminal() override;

    // Any thread.
    void AddLine(const std::string& line) { thread_->AddLine(line); }
    void AddText(const std::string& text) { thread_->AddText(text); }

    int MaxLines = 100;
    // Cursor column in the last line, from 0. GUI thread only.
    int Column = 0;

protected:
    // Renders one character into lines; GUI thread.
    virtual void ProcessChar(char ch, TTerminalLines& lines);

private:
    friend class TTerminalThread;
    // Shows lines with the caret at Column of the last one; GUI thread.
    void Show(const TTerminalLines& lines);

    TTerminalLines lines_;  // what the control shows; it is read-only, so only Show changes it
    std::unique_ptr<TTerminalThread> thread_;
};
