#include <gtest/gtest.h>

#include "tools/reg/reg_command.h"

namespace tv::reg {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Command parsed(const std::vector<std::string>& args) {
    ParsedCommand result = parseCommand(args);
    EXPECT_TRUE(result.command.has_value()) << result.error;
    return result.command.value_or(Command{});
}

std::string errorOf(const std::vector<std::string>& args) {
    ParsedCommand result = parseCommand(args);
    EXPECT_FALSE(result.command.has_value());
    return result.error;
}

TEST(KeyPathParsing, FullAndShortRootsInAnyCase) {
    auto key = parseKeyPath("hklm\\Software\\Tolvane");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(key->subKey, "Software\\Tolvane");
    EXPECT_EQ(key->text(), "HKEY_LOCAL_MACHINE\\Software\\Tolvane");
    EXPECT_EQ(parseKeyPath("HKEY_CURRENT_USER")->root, HKEY_CURRENT_USER);
    EXPECT_EQ(parseKeyPath("Hkcr")->root, HKEY_CLASSES_ROOT);
    EXPECT_EQ(parseKeyPath("HKU\\x")->root, HKEY_USERS);
    EXPECT_EQ(parseKeyPath("hkey_current_config\\x")->root, HKEY_CURRENT_CONFIG);
    EXPECT_EQ(parseKeyPath("HKCU\\Control Panel\\")->subKey, "Control Panel");
}

TEST(KeyPathParsing, UnknownRootsAndEmptyNamesAreRefused) {
    for (const char* text : {"HKXX\\a", "HKEY_LOCAL\\a", "", "\\\\host\\HKLM\\a", "HKCU\\\\a",
                             "HKCU\\a\\\\b", "Software\\a"}) {
        EXPECT_FALSE(parseKeyPath(text)) << text;
    }
}

TEST(CommandLine, SwitchesInAnyCaseWithSlashOrDash) {
    Command command =
        parsed({"query", "HKCU\\Control Panel\\PowerCfg", "-V", "CurrentPowerPolicy"});
    EXPECT_EQ(command.operation, Operation::Query);
    EXPECT_EQ(command.valueName, "CurrentPowerPolicy");
    command = parsed({"ADD", "HKCU\\x", "/VE", "/D", "text", "/F"});
    EXPECT_EQ(command.valueName, "");
    EXPECT_TRUE(command.force);
    EXPECT_EQ(command.data, bytes(std::string("text\0", 5)));
    command = parsed({"Delete", "HKCU\\x", "/va", "/f"});
    EXPECT_TRUE(command.allValues);
    EXPECT_FALSE(command.valueName);
}

TEST(CommandLine, SwitchArgumentsAreTakenAsTheyAre) {
    Command command = parsed({"add", "HKLM\\Run", "/v", "/f", "/d", "/opt/tv/tolvane", "/f"});
    EXPECT_EQ(command.valueName, "/f");
    EXPECT_EQ(command.data, bytes(std::string("/opt/tv/tolvane\0", 16)));
    command = parsed({"export", "HKCU\\x", "/tmp/out.reg", "/Y"});
    EXPECT_EQ(command.file, "/tmp/out.reg");
    EXPECT_TRUE(command.force);
    command = parsed({"import", "-dash.reg"});
    EXPECT_EQ(command.file, "-dash.reg");
}

TEST(CommandLine, HelpNeedsNoStore) {
    EXPECT_EQ(parsed({}).operation, Operation::Help);
    Command command = parsed({"add", "/?"});
    EXPECT_EQ(command.operation, Operation::Help);
    EXPECT_EQ(command.helpTopic, "ADD");
}

TEST(CommandLine, HelpOnEveryOperationWithQuestionMarkOrH) {
    for (const char* help : {"/?", "-?", "/h", "-H"}) {
        EXPECT_EQ(parsed({help}).operation, Operation::Help) << help;
        EXPECT_EQ(parsed({"import", help}).helpTopic, "IMPORT") << help;
    }
}

TEST(CommandLine, AddWithoutAValueNameSetsTheDefaultValue) {
    Command command = parsed({"add", "HKCU\\a", "/d", "text"});
    EXPECT_EQ(command.valueName, "");
    EXPECT_EQ(command.data, bytes(std::string("text\0", 5)));
    command = parsed({"add", "HKCU\\a", "/f"});
    EXPECT_EQ(command.valueName, "");
    EXPECT_EQ(command.data, bytes(std::string("\0", 1)));
    // A root with a backslash, or two trailing backslashes, name no key.
    EXPECT_EQ(errorOf({"add", "HKCU\\", "/v", "X", "/d", "1"}),
              "ERROR: Invalid key name \"HKCU\\\".");
    EXPECT_EQ(errorOf({"add", "HKCU\\a\\\\", "/f"}), "ERROR: Invalid key name \"HKCU\\a\\\\\".");
    EXPECT_EQ(parsed({"query", "HKCU\\"}).key.root, HKEY_CURRENT_USER);
}

TEST(CommandLine, MalformedCommandsSayWhy) {
    EXPECT_EQ(errorOf({"frobnicate", "HKCU"}), "ERROR: Invalid syntax. Type \"REG /?\" for usage.");
    EXPECT_EQ(errorOf({"query", "HKXY\\a"}), "ERROR: Invalid key name \"HKXY\\a\".");
    EXPECT_EQ(errorOf({"delete", "HKLM", "/f"}), "ERROR: A root key cannot be deleted.");
    const std::vector<std::vector<std::string>> syntaxErrors = {
        {"query"},
        {"query", "HKCU", "/v"},
        {"query", "HKCU", "/v", "a", "/ve"},
        {"add", "HKCU\\a", "/v", "a", "/v", "b"},
        {"add", "HKCU\\a", "/v", "n", "/t", "REG_QWORD"},  // a number needs its data
        {"add", "HKCU\\a", "stray"},
        {"delete", "HKCU\\a", "/y"},
        {"export", "HKCU\\a"},
    };
    for (const auto& args : syntaxErrors) {
        EXPECT_EQ(errorOf(args).rfind("ERROR: Invalid syntax. Type \"REG ", 0), 0u) << args[0];
    }
    EXPECT_EQ(errorOf({"export", "HKCU\\a"}),
              "ERROR: Invalid syntax. Type \"REG EXPORT /?\" for usage.");
}

TEST(CommandLine, TypeAndDataAreCheckedBeforeAnything) {
    EXPECT_EQ(errorOf({"add", "HKCU\\a", "/v", "x", "/t", "REG_STRING"}),
              "ERROR: Invalid value type \"REG_STRING\".");
    EXPECT_EQ(errorOf({"add", "HKCU\\a", "/v", "x", "/t", "reg_dword", "/d", "12abc"}),
              "ERROR: Invalid DWORD data \"12abc\"; give a decimal number or 0x followed by hex "
              "digits.");
    EXPECT_EQ(errorOf({"add", "HKCU\\a", "/v", "x", "/s", ",", "/d", "a,b"}),
              "ERROR: Invalid syntax. Type \"REG ADD /?\" for usage.");
    Command command = parsed({"add", "HKCU\\a", "/d", "0x10", "/t", "REG_DWORD", "/v", "x"});
    EXPECT_EQ(command.type, REG_DWORD);
    EXPECT_EQ(command.data, (Bytes{0x10, 0, 0, 0}));
}

TEST(ValueData, NumbersInDecimalOrHexWithinRange) {
    std::string error;
    EXPECT_EQ(valueData(REG_DWORD, "4294967295", 0, &error), (Bytes{255, 255, 255, 255}));
    EXPECT_EQ(valueData(REG_DWORD, "0XfF", 0, &error), (Bytes{255, 0, 0, 0}));
    EXPECT_EQ(valueData(REG_DWORD, "", 0, &error), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(valueData(REG_QWORD, "0x0102030405060708", 0, &error),
              (Bytes{8, 7, 6, 5, 4, 3, 2, 1}));
    for (const char* bad : {"4294967296", "-1", " 1", "0x", "1e3", "0x1g"}) {
        EXPECT_FALSE(valueData(REG_DWORD, bad, 0, &error)) << bad;
    }
    EXPECT_FALSE(valueData(REG_QWORD, "18446744073709551616", 0, &error));
}

TEST(ValueData, StringsBinaryAndMultiStrings) {
    std::string error;
    EXPECT_EQ(valueData(REG_EXPAND_SZ, "%PATH%", 0, &error), bytes(std::string("%PATH%\0", 7)));
    EXPECT_EQ(valueData(REG_BINARY, "00fFa0", 0, &error), (Bytes{0, 255, 160}));
    EXPECT_EQ(valueData(REG_NONE, "text", 0, &error), bytes(std::string("text\0", 5)));
    EXPECT_EQ(valueData(REG_BINARY, "abc", 0, &error), (Bytes{0x0a, 0xbc}));
    EXPECT_FALSE(valueData(REG_BINARY, "zz", 0, &error));
    EXPECT_EQ(valueData(REG_MULTI_SZ, "a\\0bc", 0, &error), bytes(std::string("a\0bc\0\0", 6)));
    EXPECT_EQ(valueData(REG_MULTI_SZ, "a,b", ',', &error), bytes(std::string("a\0b\0\0", 5)));
    EXPECT_FALSE(valueData(REG_MULTI_SZ, "a\\0\\0b", 0, &error));
    EXPECT_EQ(error, "ERROR: REG_MULTI_SZ data may not contain empty strings.");
    // A trailing separator ends the list; a lone one is the empty list.
    EXPECT_EQ(valueData(REG_MULTI_SZ, "a\\0b\\0", 0, &error), bytes(std::string("a\0b\0\0", 5)));
    EXPECT_EQ(valueData(REG_MULTI_SZ, "a,", ',', &error), bytes(std::string("a\0\0", 3)));
    EXPECT_EQ(valueData(REG_MULTI_SZ, "\\0", 0, &error), bytes(std::string("\0\0", 2)));
    EXPECT_FALSE(valueData(REG_MULTI_SZ, "\\0a", 0, &error));
    EXPECT_FALSE(valueData(REG_MULTI_SZ, "a\\0\\0", 0, &error));
}

TEST(ValueData, NegativeQwordsAndBigEndianDwords) {
    std::string error;
    EXPECT_EQ(valueData(REG_QWORD, "-1", 0, &error), Bytes(8, 0xFF));
    EXPECT_EQ(valueData(REG_QWORD, "-2", 0, &error),
              (Bytes{0xFE, 255, 255, 255, 255, 255, 255, 255}));
    EXPECT_FALSE(valueData(REG_QWORD, "-0x1", 0, &error));
    EXPECT_EQ(parseTypeName("reg_dword_little_endian"), REG_DWORD);
    EXPECT_EQ(parseTypeName("REG_DWORD_BIG_ENDIAN"), REG_DWORD_BIG_ENDIAN);
    EXPECT_EQ(valueData(REG_DWORD_BIG_ENDIAN, "0x01020304", 0, &error), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(displayData(REG_DWORD_BIG_ENDIAN, Bytes{1, 2, 3, 4}), "0x1020304");
    EXPECT_EQ(typeName(REG_DWORD), "REG_DWORD");
    EXPECT_EQ(typeName(REG_DWORD_BIG_ENDIAN), "REG_DWORD_BIG_ENDIAN");
}

TEST(ValueDisplay, AsTheQueryShowsIt) {
    EXPECT_EQ(displayData(REG_SZ, bytes(std::string("Max Battery\0junk", 16))), "Max Battery");
    EXPECT_EQ(displayData(REG_DWORD, Bytes{0x1a, 0, 0, 0}), "0x1a");
    EXPECT_EQ(displayData(REG_QWORD, Bytes{1, 0, 0, 0, 0, 0, 0, 0x80}), "0x8000000000000001");
    EXPECT_EQ(displayData(REG_BINARY, Bytes{0, 0xab, 0x10}), "00AB10");
    EXPECT_EQ(displayData(REG_DWORD, Bytes{1, 2}), "0102");
    EXPECT_EQ(displayData(REG_MULTI_SZ, bytes(std::string("a\0bc\0\0", 6))), "a\\0bc");
    EXPECT_EQ(typeName(REG_EXPAND_SZ), "REG_EXPAND_SZ");
    EXPECT_EQ(typeName(0x42), "REG_UNKNOWN(0x42)");
}

}  // namespace
}  // namespace tv::reg
