#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "console/buffered_ini_file.h"
#include "console/command_line_switches.h"
#include "console/program_dir.h"
#include "console/render_ud.h"
#include "console/settings_file.h"

namespace {

class TempDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/console-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& content)
    {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    static std::string Read(const std::string& path)
    {
        std::stringstream content;
        content << std::ifstream(path, std::ios::binary).rdbuf();
        return content.str();
    }

    std::filesystem::path dir_;
};

using BufferedIniFile = TempDir;

TEST_F(BufferedIniFile, MissingFileGivesDefaults)
{
    TBufferedIniFile ini((dir_ / "none.ini").string());
    EXPECT_EQ(ini.ReadString("Modem", "PIN", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("Modem", "Baud", 7), 7);
}

TEST_F(BufferedIniFile, NamesIgnoreCaseAndValuesStayAsWritten)
{
    TBufferedIniFile ini(Write("a.ini", "[modem]\r\nPin= 12 34 \r\nBaud = 115200\r\nSMSFormat=x1\r\n"));
    EXPECT_EQ(ini.ReadString("Modem", "PIN", ""), " 12 34 ");
    EXPECT_EQ(ini.ReadInteger("MODEM", "baud", 0), 115200);
    EXPECT_EQ(ini.ReadInteger("Modem", "SMSFormat", 5), 5) << "not an integer";
    EXPECT_EQ(ini.ReadString("Modem.Files", "PIN", "none"), "none") << "another section";
}

TEST_F(BufferedIniFile, AHandWrittenFileSurvivesASave)
{
    const std::string original =
        "; written by hand\r\n"
        "[Modem]\r\n"
        "# the port\r\n"
        "DeviceName=Com1\r\n"
        "Extra=kept\r\n"
        "\r\n"
        "[Other]\r\n"
        "Anything=at all\r\n";
    const std::string path = Write("hand.ini", original);
    {
        TBufferedIniFile ini(path);
        ini.WriteString("modem", "devicename", "Com3");
        ini.WriteString("Modem", "PIN", "1234");
        ini.WriteString("Modem.Files", "GSMLog", "NUL");
        ini.UpdateFile();
    }
    EXPECT_EQ(Read(path),
              "; written by hand\r\n"
              "[Modem]\r\n"
              "# the port\r\n"
              "DeviceName=Com3\r\n"
              "Extra=kept\r\n"
              "PIN=1234\r\n"
              "\r\n"
              "[Other]\r\n"
              "Anything=at all\r\n"
              "[Modem.Files]\r\n"
              "GSMLog=NUL\r\n");
}

struct SwitchCase {
    std::vector<std::string> arguments;
    const char* name;
    int flags;
    bool found;
    const char* value;
};

const SwitchCase kSwitches[] = {
    {{"-I:C:\\data\\my.ini"}, "I:", kSwitchValueAsTyped | kSwitchValueUpper, true, "C:\\data\\my.ini"},
    {{"/i:my.ini"}, "I:", kSwitchValueAsTyped | kSwitchValueUpper, true, "my.ini"},
    {{"/i:my.ini"}, "I:", kSwitchValueUpper, true, "MY.INI"},
    {{"/I:My.Ini"}, "I:", kSwitchValueLower, true, "my.ini"},
    {{"/i:my.ini"}, "I:", kSwitchCaseSensitive, false, ""},
    {{"file", "-start"}, "START", kSwitchValueUpper, true, ""},
    {{"START"}, "START", 0, false, ""},                     // not a switch
    {{"-x", "plain", "other"}, "", kSwitchValueAsTyped, true, "plain"},
    {{}, "I:", 0, false, ""},
};

TEST(CommandLineSwitches, FindAndValue)
{
    for (const SwitchCase& c : kSwitches) {
        SCOPED_TRACE(c.name + std::string(" in ") + (c.arguments.empty() ? "" : c.arguments[0]));
        SetProgramArguments(c.arguments);
        EXPECT_EQ(FindSwitch(c.name, c.flags), c.found);
        std::string value;
        EXPECT_EQ(GetSwitchValue(c.name, c.flags, value), c.found);
        if (c.found) {
            EXPECT_EQ(value, c.value);
        }
    }
    SetProgramArguments({});
}

TEST(CommandLineSwitches, FromLastMatchFindsTheNextOne)
{
    SetProgramArguments({"-log:a", "-other", "-log:b"});
    std::string value;
    ASSERT_TRUE(GetSwitchValue("LOG:", kSwitchValueAsTyped, value));
    EXPECT_EQ(value, "a");
    ASSERT_TRUE(GetSwitchValue("LOG:", kSwitchValueAsTyped | kSwitchFromLastMatch, value));
    EXPECT_EQ(value, "b");
    EXPECT_FALSE(FindSwitch("LOG:", kSwitchFromLastMatch));
    SetProgramArguments({});
}

TEST(ProgramDirectory, IsTheProgramsDirectoryWithASeparator)
{
    const std::string dir = ProgramDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(dir + std::filesystem::path(ProgramPath()).filename().string()));
}

using SettingsFileLocation = TempDir;

TEST_F(SettingsFileLocation, BesideTheProgramUnlessASwitchNamesAnother)
{
    SetProgramArguments({});
    EXPECT_EQ(SettingsFilePath(), std::filesystem::path(ProgramPath()).replace_extension(".ini").string());

    SetProgramArguments({"/i:" + (dir_ / "My.ini").string()});
    EXPECT_EQ(SettingsFilePath(), (dir_ / "My.ini").string());
    SetProgramArguments({});
}

TEST_F(SettingsFileLocation, RelativePathsAreMadeAbsoluteAndTheFileIsWrittenAtTheEnd)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    OpenSettingsFile("rel.ini");
    std::filesystem::current_path(previous);
    EXPECT_EQ(SettingsFile().FileName(), (dir_ / "rel.ini").string());
    SettingsFile().WriteString("Modem", "PIN", "0000");
    CloseSettingsFile();
    EXPECT_EQ(Read((dir_ / "rel.ini").string()), "[Modem]\nPIN=0000\n");
    EXPECT_THROW(SettingsFile(), std::exception);
}

TEST_F(SettingsFileLocation, AFileThatCannotBeWrittenAtTheEndIsIgnored)
{
    OpenSettingsFile((dir_ / "missing-dir" / "x.ini").string());
    SettingsFile().WriteString("Modem", "PIN", "0000");
    EXPECT_NO_THROW(CloseSettingsFile());
}

struct UDCase {
    std::string text;
    const char* shown;
};

const UDCase kUserData[] = {
    {"Hi\r\n", "Hi<CR><LF>"},
    {"plain text", "plain text"},
    {std::string("A\r\t"), "410D09"},
    {std::string("x\0y", 3), "780079"},
    {"\xE9t\xE9", "\xE9t\xE9"},  // 8-bit characters are printable
    {"", ""},
};

TEST(RenderUD, PrintableOrHexadecimal)
{
    for (const UDCase& c : kUserData)
        EXPECT_EQ(RenderUD(c.text), c.shown) << c.shown;
}

}  // namespace
