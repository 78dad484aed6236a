#include "console/terminal.h"

#include <QTextCursor>
#include <algorithm>
#include <mutex>

#include "console/qt_text.h"
#include "platform/sys/main_thread.h"

namespace {

constexpr char kBackspace = 8;
constexpr char kLineFeed = 10;
constexpr char kCarriageReturn = 13;


}  // namespace

TTerminalThread::TTerminalThread(TTerminal& terminal) : terminal_(terminal) {}

TTerminalThread::~TTerminalThread()
{
    Stop();
    try {
        WaitFor();
    } catch (...) {
        // Whatever the main thread's queue raised while this thread was joined belongs to
        // nobody any more: the terminal is going away.
    }
}

void TTerminalThread::AddLine(const std::string& line)
{
    {
        std::lock_guard guard(Lock);
        PendingLines.push_back(line);
    }
    Signal();
}

void TTerminalThread::AddText(const std::string& text)
{
    {
        std::lock_guard guard(Lock);
        PendingText += text;
    }
    Signal();
}

void TTerminalThread::Signal()
{
    // While the event is still set the loop has not reset it yet, and the pass that follows
    // the reset takes what was just queued: waking the thread again would only cost the
    // producer a system call and, on a busy machine, its time slice.
    if (!Wakeup.IsSet())
        Wakeup.SetEvent();
}

void TTerminalThread::Stop()
{
    Terminate();
    Wakeup.SetEvent();
}

void TTerminalThread::Execute()
{
    while (!Terminated()) {
        Wakeup.WaitFor(INFINITE);
        if (Terminated())
            break;
        // Reset before the pass: text queued while it runs sets the event again and gets a
        // pass of its own, so nothing is left behind.
        Wakeup.ResetEvent();
        Synchronize([this] { ApplyPending(); });
    }
}

void TTerminalThread::ApplyPending()
{
    // The terminal may be on its way out, waiting for this thread to end.
    if (Terminated())
        return;
    TTerminalLines lines = terminal_.lines_;

    std::vector<std::string> newLines;
    {
        std::lock_guard guard(Lock);
        newLines.swap(PendingLines);
    }
    for (std::string& line : newLines) {
        lines.push_back(std::move(line));
        terminal_.Column = 0;
        LineEnded = true;
    }
    TrimToMaxLines(lines);

    std::string text;
    {
        std::lock_guard guard(Lock);
        text.swap(PendingText);
    }
    if (!text.empty() && LineEnded) {
        // The characters start on a line of their own, below the last whole line.
        lines.emplace_back();
        LineEnded = false;
    }
    for (char ch : text)
        terminal_.ProcessChar(ch, lines);
    // Again after the characters: a burst of traffic opens thousands of lines in one pass,
    // and showing them all only to drop them on the next pass would stall the GUI thread.
    TrimToMaxLines(lines);

    terminal_.Show(lines);
}

void TTerminalThread::TrimToMaxLines(TTerminalLines& lines) const
{
    const size_t keep = static_cast<size_t>(std::max(terminal_.MaxLines, 0));
    if (lines.size() > keep)
        lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(lines.size() - keep));
}

TTerminal::TTerminal(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    thread_ = std::make_unique<TTerminalThread>(*this);
    thread_->SetPriority(TThreadPriority::tpHigher);
    thread_->Start();
}

TTerminal::~TTerminal()
{
    // The thread may be waiting for the GUI thread to run a pass; joining serves that pass,
    // which sees the stop and drops what is queued.
    thread_.reset();
}

void TTerminal::ProcessChar(char ch, TTerminalLines& lines)
{
    if (lines.empty())
        lines.emplace_back();
    switch (ch) {
    case kBackspace:
        if (Column > 0)
            --Column;
        break;
    case kLineFeed:
        lines.emplace_back(static_cast<size_t>(Column), ' ');
        break;
    case kCarriageReturn:
        Column = 0;
        break;
    default: {
        std::string& line = lines.back();
        if (line.size() < static_cast<size_t>(Column) + 1)
            line.resize(static_cast<size_t>(Column) + 1, ' ');
        line[static_cast<size_t>(Column)] = ch;
        ++Column;
        break;
    }
    }
}

void TTerminal::Show(const TTerminalLines& lines)
{
    QString text;
    qsizetype caret = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += QChar(u'\n');
        if (i + 1 < lines.size())
            caret += static_cast<qsizetype>(lines[i].size()) + 1;  // one separator between lines
        text += ToQString(lines[i]);
    }
    caret = std::min(caret + Column, text.size());

    setUpdatesEnabled(false);
    if (text != toPlainText())
        setPlainText(text);
    lines_ = lines;
    QTextCursor cursor = textCursor();
    if (cursor.position() != caret || cursor.hasSelection()) {
        cursor.setPosition(static_cast<int>(caret));
        setTextCursor(cursor);
    }
    setUpdatesEnabled(true);
    ensureCursorVisible();
}
