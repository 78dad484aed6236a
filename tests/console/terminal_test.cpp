#include <QTest>
#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "console/qt_text.h"
#include "console/terminal.h"
#include "platform/sys/main_thread.h"

namespace {

constexpr int kDeadlineMs = 5000;

std::string Shown(const TTerminal& terminal)
{
    return FromQString(terminal.toPlainText());
}

// Waits until the terminal shows text; the failure message then shows what it does show.
void ExpectShown(TTerminal& terminal, const std::string& text)
{
    (void)QTest::qWaitFor([&] { return Shown(terminal) == text; }, kDeadlineMs);
    EXPECT_EQ(Shown(terminal), text);
}

// The caret sits at Column of the last line, with nothing selected.
void ExpectCaret(TTerminal& terminal, int column)
{
    const std::string text = Shown(terminal);
    const size_t lastLine = text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1;
    EXPECT_EQ(terminal.Column, column);
    EXPECT_EQ(terminal.textCursor().position(), static_cast<int>(lastLine) + column);
    EXPECT_FALSE(terminal.textCursor().hasSelection());
}

enum class Kind { Line, Text };
struct Step {
    Kind kind;
    std::string text;
    // What the terminal shows once the step has been applied, and the cursor column then.
    std::string shown;
    int column;
};
struct TerminalCase {
    const char* name;
    std::vector<Step> steps;
};

const TerminalCase kCases[] = {
    {"result lines", {{Kind::Text, "OK\r\nAT\r\n", "OK\nAT\n", 0}}},
    {"backspace keeps the character for the next one to overwrite", {{Kind::Text, "ABC\bx", "ABx", 3}}},
    {"backspace at the start stays there", {{Kind::Text, "\b\bA", "A", 1}}},
    {"CR lets the next characters overwrite", {{Kind::Text, "12345\rab", "ab345", 2}}},
    {"LF alone goes straight down", {{Kind::Text, "AB\nC", "AB\n  C", 3}}},
    {"text after whole lines starts a line of its own, then continues it",
     {{Kind::Line, "first", "first", 0},
      {Kind::Line, "second", "first\nsecond", 0},
      {Kind::Text, "x", "first\nsecond\nx", 1},
      {Kind::Text, "y", "first\nsecond\nxy", 2}}},
    {"a whole line after text goes below it", {{Kind::Text, "AT", "AT", 2}, {Kind::Line, "logged", "AT\nlogged", 0}}},
    {"control characters other than BS, LF and CR are shown", {{Kind::Text, "a\tb", "a\tb", 3}}},
};

TEST(Terminal, RendersCharactersAndLines)
{
    for (const TerminalCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TTerminal terminal;
        for (const Step& step : c.steps) {
            if (step.kind == Kind::Line)
                terminal.AddLine(step.text);
            else
                terminal.AddText(step.text);
            ExpectShown(terminal, step.shown);
            ExpectCaret(terminal, step.column);
        }
    }
}

TEST(Terminal, IsAReadOnlyLogWithoutWrapping)
{
    TTerminal terminal;
    EXPECT_TRUE(terminal.isReadOnly());
    EXPECT_EQ(terminal.lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(terminal.MaxLines, 100);
}

TEST(Terminal, KeepsTheNewestMaxLinesLines)
{
    TTerminal terminal;
    terminal.MaxLines = 30;
    std::string expected;
    for (int i = 1; i <= 40; ++i) {
        terminal.AddLine("line " + std::to_string(i));
        if (i >= 11)
            expected += (i > 11 ? "\n" : "") + std::string("line ") + std::to_string(i);
    }
    ExpectShown(terminal, expected);
}

TEST(Terminal, ShowsWhatAnotherThreadQueuedWhileTheGuiThreadWasBusy)
{
    TTerminal terminal;
    terminal.MaxLines = 1000;
    std::string expected;
    for (int i = 0; i < 200; ++i)
        expected += "L" + std::to_string(i) + "\n";
    for (int i = 0; i < 200; ++i)
        expected += std::to_string(i % 10);

    // The GUI thread runs no event loop while the producer works: it is busy joining it.
    std::thread producer([&] {
        for (int i = 0; i < 200; ++i)
            terminal.AddLine("L" + std::to_string(i));
        for (int i = 0; i < 200; ++i)
            terminal.AddText(std::to_string(i % 10));
    });
    producer.join();
    EXPECT_EQ(Shown(terminal), "");

    ExpectShown(terminal, expected);
}

// Counts what it is asked to render.
class CountingTerminal : public TTerminal {
public:
    explicit CountingTerminal(std::atomic<int>& rendered) : rendered_(rendered) {}

protected:
    void ProcessChar(char ch, TTerminalLines& lines) override
    {
        ++rendered_;
        TTerminal::ProcessChar(ch, lines);
    }

private:
    std::atomic<int>& rendered_;
};

TEST(Terminal, ADescendantRendersThroughProcessChar)
{
    std::atomic<int> rendered{0};
    CountingTerminal terminal(rendered);
    terminal.AddText("OK\r\n");
    ExpectShown(terminal, "OK\n");
    EXPECT_EQ(rendered, 4);
}

TEST(Terminal, DestructionWithTextQueuedDropsIt)
{
    std::atomic<int> rendered{0};
    {
        CountingTerminal terminal(rendered);
        terminal.AddText("never shown");
        terminal.AddLine("nor this");
    }
    // The terminal's thread has gone; a pass it may have queued finds nothing to touch.
    CheckSynchronize();
    EXPECT_EQ(rendered, 0);
}

TEST(Terminal, DestructionWhileAPassWaitsForTheGuiThread)
{
    std::atomic<int> rendered{0};
    {
        CountingTerminal terminal(rendered);
        terminal.AddText("queued");
        // Wait until the terminal's thread has handed its pass to the GUI thread.
        pollfd wake{SynchronizeWakeFd(), POLLIN, 0};
        ASSERT_EQ(poll(&wake, 1, kDeadlineMs), 1);
    }
    EXPECT_EQ(rendered, 0);
}

}  // namespace
