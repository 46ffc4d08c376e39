#include <gtest/gtest.h>

#include <sstream>

#include "tools/reg/reg_file.h"
#include "tools/reg/reg_text.h"

namespace tv::reg {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = RegOperation::Kind;

Bytes bytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::vector<RegOperation> parseOk(std::string_view text) {
    RegFileParse parsed = parseRegFile(text);
    EXPECT_EQ(parsed.error, "") << "line " << parsed.errorLine;
    return parsed.operations;
}

// Line of the first error; the operations must be empty then.
int errorLine(std::string_view text) {
    RegFileParse parsed = parseRegFile(text);
    EXPECT_NE(parsed.error, "");
    EXPECT_TRUE(parsed.operations.empty());
    return parsed.errorLine;
}

TEST(RegFileParse, KeysValuesAndDeletions) {
    auto ops = parseOk(R"(Windows Registry Editor Version 5.00

; the scheme the programs read
[HKEY_CURRENT_USER\Control Panel\PowerCfg]
"CurrentPowerPolicy"="0"
@="default"
"Path"="C:\\Program Files\\\"Tolvane\""
"Count"=dword:0000001A
"Gone"=-

[-HKEY_CURRENT_USER\Control Panel\Old]
)");
    ASSERT_EQ(ops.size(), 7u);
    EXPECT_EQ(ops[0].kind, Kind::CreateKey);
    EXPECT_EQ(ops[0].key.subKey, "Control Panel\\PowerCfg");
    EXPECT_EQ(ops[1].name, "CurrentPowerPolicy");
    EXPECT_EQ(ops[1].type, REG_SZ);
    EXPECT_EQ(ops[1].data, bytes(std::string("0\0", 2)));
    EXPECT_EQ(ops[2].name, "");
    EXPECT_EQ(ops[3].data, bytes(std::string("C:\\Program Files\\\"Tolvane\"\0", 27)));
    EXPECT_EQ(ops[4].type, REG_DWORD);
    EXPECT_EQ(ops[4].data, (Bytes{0x1a, 0, 0, 0}));
    EXPECT_EQ(ops[5].kind, Kind::DeleteValue);
    EXPECT_EQ(ops[5].name, "Gone");
    EXPECT_EQ(ops[6].kind, Kind::DeleteKey);
    EXPECT_EQ(ops[6].key.subKey, "Control Panel\\Old");
}

TEST(RegFileParse, HexDataWithContinuationLinesAndCrLf) {
    auto ops = parseOk(
        "Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\A]\r\n"
        "\"Blob\"=hex:00,01,\\\r\n  02,ff\r\n"
        "\"Odd\"=hex(1234):0a\r\n\"None\"=hex:\r\n");
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[1].type, REG_BINARY);
    EXPECT_EQ(ops[1].data, (Bytes{0, 1, 2, 255}));
    EXPECT_EQ(ops[2].type, 0x1234u);
    EXPECT_EQ(ops[2].data, Bytes{10});
    EXPECT_TRUE(ops[3].data.empty());
}

TEST(RegFileParse, CommentsAndBlanksWhereWindowsAllowsThem) {
    auto ops = parseOk(
        " \tREGEDIT4\n"
        "# a comment line\n"
        "[HKCU\\A\\\\]\n"
        "\"s\"=\"x;y\" ; after a string\n"
        "\"d\"=dword:\t 0000001f ; after a dword\n"
        "\"h\"=hex:01,02 ; after hex\n"
        "\"g\"=- ; after a deletion\n"
        "\"m\"=hex:03,\\ ; after a continuation\n"
        "; a comment inside the data\n"
        "\n"
        "  04\n"
        "\"e\"=hex:05,\\");
    ASSERT_EQ(ops.size(), 7u);
    EXPECT_EQ(ops[0].key.subKey, "A");
    EXPECT_EQ(ops[1].data, bytes(std::string("x;y\0", 4)));
    EXPECT_EQ(ops[2].data, (Bytes{0x1f, 0, 0, 0}));
    EXPECT_EQ(ops[3].data, (Bytes{1, 2}));
    EXPECT_EQ(ops[4].kind, Kind::DeleteValue);
    EXPECT_EQ(ops[5].data, (Bytes{3, 4}));
    EXPECT_EQ(ops[5].line, 8);
    EXPECT_EQ(ops[6].data, Bytes{5});  // the file ended inside the data
}

TEST(RegFileParse, OtherRegeditHeadersImportNothing) {
    for (const char* text : {"REGEDIT\n[HKCU\\A]\n", "REGEDIT5\n[HKCU\\A]\n", "REGEDIT4 FOO\n"}) {
        RegFileParse parsed = parseRegFile(text);
        EXPECT_EQ(parsed.error, "") << text;
        EXPECT_TRUE(parsed.operations.empty()) << text;
    }
}

TEST(RegFileParse, TextInHexIsUtf16InVersion5AndBytesInRegedit4) {
    auto ops = parseOk(R"(Windows Registry Editor Version 5.00

[HKCU\A]
"Expand"=hex(2):25,00,41,00,25,00,00,00
"Multi"=hex(7):61,00,00,00,e9,00,00,00,00,00
)");
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[1].type, REG_EXPAND_SZ);
    EXPECT_EQ(ops[1].data, bytes(std::string("%A%\0", 4)));
    EXPECT_EQ(ops[2].data, bytes(std::string("a\0\xC3\xA9\0\0", 6)));
    ops = parseOk(R"(REGEDIT4

[HKCU\A]
"Expand"=hex(2):25,41,25,00
)");
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[1].data, bytes(std::string("%A%\0", 4)));
}

TEST(RegFileParse, MalformedFilesReportTheLineAndYieldNothing) {
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 4.00
[HKCU\A]
)"),
              1);
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 5.00

[HKCU\A]
"ok"="fine"
"bad"="C:\path"
)"),
              5);
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 5.00
"orphan"="value"
)"),
              2);
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 5.00
[HKCU\A]
"n"=dword:123456789
)"),
              3);
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 5.00
[HKCU\A]
"n"="unclosed
)"),
              3);
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 5.00
[HKCU\A]
"n"=hex(2):41
)"),
              3);
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 5.00
[HKXX\A]
)"),
              2);
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 5.00
[-HKEY_LOCAL_MACHINE]
)"),
              2);
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 5.00
[HKCU\A]
"n"=hex:01,zz
)"),
              3);
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 5.00
[HKCU\A]
"n"="x" trailing
)"),
              3);
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 5.00
[HKCU\A]
just text
)"),
              3);
    // Windows ignores these lines; here they stop the whole file.
    EXPECT_EQ(errorLine("REGEDIT4\n[HKCU\\A]\n\"n\"=\"abc\\\ndef\"\n"), 3);
    EXPECT_EQ(errorLine("REGEDIT4\n[HKCU\\A]\n\"n\"=dword:00000001\\\n"), 3);
    EXPECT_EQ(errorLine("REGEDIT4\n[HKCU\\A]\n\\\n"), 3);
    EXPECT_EQ(errorLine("REGEDIT4\n[HKCU\\A]\n\"n\"=hex:01,\\\n\\\n02\n"), 4);
    EXPECT_EQ(errorLine("\nREGEDIT4\n"), 1);
    EXPECT_EQ(errorLine(R"(Windows Registry Editor Version 5.00
[-HKCU\A]
"n"="value under a deleted key"
)"),
              3);
}

TEST(RegFileFormat, WritesWhatParsesBackTheSame) {
    std::vector<ExportKey> keys = {
        {"HKEY_CURRENT_USER\\A",
         {{"", REG_SZ, bytes("no terminator")},
          {"quote\"back\\slash", REG_SZ, bytes(std::string("v\\\"\0", 4))},
          {"dw", REG_DWORD, {1, 2, 3, 4}},
          {"inner nul", REG_SZ, bytes(std::string("a\0b", 3))},
          {"expand", REG_EXPAND_SZ, bytes(std::string("%\xC3\xA9%\0", 5))},
          {"multi", REG_MULTI_SZ, bytes(std::string("a\0b\0\0", 5))},
          {"big", REG_BINARY, Bytes(100, 0xab)},
          {"odd", 0x99, {7}}}},
        {"HKEY_CURRENT_USER\\A\\B", {}},
    };
    std::string text;
    std::string error;
    ASSERT_TRUE(formatRegFile(keys, &text, &error)) << error;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        EXPECT_LE(line.size(), 81u) << line;
        EXPECT_EQ(line.back(), '\r');
    }
    EXPECT_NE(text.find("\r\n@=\"no terminator\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n\"dw\"=dword:04030201\r\n"), std::string::npos);
    auto ops = parseOk(text);
    ASSERT_EQ(ops.size(), 10u);
    EXPECT_EQ(ops[1].data, bytes(std::string("no terminator\0", 14)));
    EXPECT_EQ(ops[2].name, "quote\"back\\slash");
    for (std::size_t v = 1; v < keys[0].values.size(); ++v) {
        EXPECT_EQ(ops[v + 1].kind, Kind::SetValue);
        EXPECT_EQ(ops[v + 1].type, keys[0].values[v].type) << v;
        EXPECT_EQ(ops[v + 1].data, keys[0].values[v].data) << v;
    }
    EXPECT_EQ(ops[9].key.subKey, "A\\B");
}

TEST(RegFileFormat, RefusesTextThatIsNotUtf8) {
    std::string text;
    std::string error;
    EXPECT_FALSE(formatRegFile({{"HKEY_CURRENT_USER\\A", {{"v", REG_EXPAND_SZ, {0xff, 0}}}}}, &text,
                               &error));
    EXPECT_EQ(error, "the text of value \"v\" is not UTF-8");
    EXPECT_FALSE(
        formatRegFile({{"HKEY_CURRENT_USER\\A", {{"line\nbreak", REG_SZ, {}}}}}, &text, &error));
}

TEST(RegFileText, Utf16WithByteOrderMarkAndUtf8) {
    std::string text;
    std::string error;
    std::string utf16 = encodeUtf16File("REGEDIT4\r\n\xF0\x9F\x94\x8B \xC3\xA9");
    EXPECT_EQ(utf16.substr(0, 4), std::string("\xFF\xFER\0", 4));
    ASSERT_TRUE(decodeRegFileBytes(utf16, &text, &error)) << error;
    EXPECT_EQ(text, "REGEDIT4\r\n\xF0\x9F\x94\x8B \xC3\xA9");
    ASSERT_TRUE(decodeRegFileBytes("\xEF\xBB\xBFREGEDIT4", &text, &error));
    EXPECT_EQ(text, "REGEDIT4");
    EXPECT_FALSE(decodeRegFileBytes("REGEDIT4 \xFF", &text, &error));
    EXPECT_FALSE(decodeRegFileBytes(std::string("\xFF\xFE\x00\xD8", 4), &text, &error));
    EXPECT_FALSE(decodeRegFileBytes(std::string("\xFE\xFF\x00R", 4), &text, &error));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));      // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));  // surrogate
}

}  // namespace
}  // namespace tv::reg
