// The reg executable end to end, on a store and autostart folder in a temporary folder.

#include <filesystem>

#include "tools/reg/tests/reg_tool_fixture.h"

namespace {

using namespace tv::testing;

TEST_F(RegTool, AddQueryExportDeleteImportRoundTrip) {
    EXPECT_EQ(reg({"add", "HKCU\\Software\\Tolvane", "/v", "Title", "/d", "Battery Monitor"}).out,
              kDone);
    EXPECT_EQ(
        reg({"ADD", "hkcu\\software\\tolvane", "/V", "Interval", "/T", "REG_DWORD", "/D", "5000"})
            .exitCode,
        0);
    EXPECT_EQ(reg({"add", "HKCU\\Software\\Tolvane\\Bar", "/ve", "/t", "REG_BINARY", "/d", "00ff"})
                  .exitCode,
              0);
    const std::string expected =
        "\nHKEY_CURRENT_USER\\Software\\Tolvane\n"
        "    Title    REG_SZ    Battery Monitor\n"
        "    Interval    REG_DWORD    0x1388\n"
        "\nHKEY_CURRENT_USER\\Software\\Tolvane\\Bar\n";
    Result query = reg({"query", "HKEY_CURRENT_USER\\Software\\Tolvane"});
    EXPECT_EQ(query.exitCode, 0);
    EXPECT_EQ(query.out, expected);
    EXPECT_EQ(
        reg({"query", "HKCU\\Software\\Tolvane\\Bar", "/ve"}).out,
        "\nHKEY_CURRENT_USER\\Software\\Tolvane\\Bar\n    (Default)    REG_BINARY    00FF\n\n");

    std::string file = dir_.file("tolvane.reg");
    EXPECT_EQ(reg({"export", "HKCU\\Software\\Tolvane", file}).out, kDone);
    EXPECT_EQ(readFile(file).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(reg({"delete", "HKCU\\Software\\Tolvane", "/f"}).out, kDone);
    expectFailure(reg({"query", "HKCU\\Software\\Tolvane"}), kNotFound);
    EXPECT_EQ(reg({"import", file}).out, kDone);
    EXPECT_EQ(reg({"query", "HKCU\\Software\\Tolvane"}).out, expected);
}

TEST_F(RegTool, SeededStoreAndRecursiveQuery) {
    Result result = reg({"query", "HKCU\\Control Panel\\PowerCfg\\PowerPolicies\\5", "/s"});
    EXPECT_EQ(result.out,
              "\nHKEY_CURRENT_USER\\Control Panel\\PowerCfg\\PowerPolicies\\5\n"
              "    Name    REG_SZ    Max Battery\n"
              "    Description    REG_SZ    This scheme is extremely aggressive for saving "
              "power.\n"
              "    Policies    REG_BINARY    "
              "01000000020000000000000000000000020000000000000000000000B004000078000000323203020400"
              "0000040000000000000000000000840300003C00000000000000B40000000000646464640000\n\n");
    result = reg({"query", "HKCU\\Control Panel\\PowerCfg", "/v", "name", "/s"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("End of search: 6 match(es) found."), std::string::npos);
}

TEST_F(RegTool, QueryAndAddOfDefaultValuesAsTheWindowsToolDoes) {
    ASSERT_EQ(reg({"add", "HKCU\\Q\\Sub", "/v", "x", "/d", "1", "/f"}).exitCode, 0);
    // A key without values shows only its subkeys; below it every key has a header.
    EXPECT_EQ(reg({"query", "HKCU\\Q"}).out, "\nHKEY_CURRENT_USER\\Q\\Sub\n");
    EXPECT_EQ(reg({"query", "HKCU\\Q", "/s"}).out,
              "\nHKEY_CURRENT_USER\\Q\\Sub\n    x    REG_SZ    1\n\n");
    Result unset = reg({"query", "HKCU\\Q", "/ve"});
    EXPECT_EQ(unset.exitCode, 0);
    EXPECT_EQ(unset.out, "\nHKEY_CURRENT_USER\\Q\n    (Default)    REG_SZ    (value not set)\n\n");
    EXPECT_EQ(reg({"add", "HKCU\\Q", "/d", "shown", "/f"}).out, kDone);
    EXPECT_EQ(reg({"query", "HKCU\\Q", "/ve"}).out,
              "\nHKEY_CURRENT_USER\\Q\n    (Default)    REG_SZ    shown\n\n");
    EXPECT_EQ(reg({"add", "HKCU\\R", "/f"}).out, kDone);
    EXPECT_EQ(reg({"query", "HKCU\\R"}).out,
              "\nHKEY_CURRENT_USER\\R\n    (Default)    REG_SZ    \n\n");
}

TEST_F(RegTool, MalformedCommandsChangeNothing) {
    expectFailure(reg({"add", "HKXY\\Software\\A", "/v", "x", "/d", "1"}),
                  "ERROR: Invalid key name \"HKXY\\Software\\A\".");
    EXPECT_FALSE(std::filesystem::exists(dir_.file("registry.db")));
    expectFailure(reg({"add", "HKCU\\Software\\A", "/v", "x", "/t", "REG_WORD", "/d", "1"}),
                  "ERROR: Invalid value type \"REG_WORD\".");
    expectFailure(reg({"add", "HKCU\\Software\\A", "/v", "x", "/t", "REG_DWORD", "/d", "x1"}),
                  "ERROR: Invalid DWORD data \"x1\"; give a decimal number or 0x followed by hex "
                  "digits.");
    expectFailure(reg({"query", "HKCU\\Software\\A"}), kNotFound);
    expectFailure(reg({"query", "HKCU\\Control Panel\\PowerCfg", "/v", "Missing"}), kNotFound);
    expectFailure(reg({"delete", "HKCU\\Nowhere", "/f"}), kNotFound);
}

TEST_F(RegTool, MalformedRegFileWritesNothing) {
    std::string file = dir_.file("bad.reg");
    writeFile(file, R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Imported]
"first"="written before the error?"

[HKEY_CURRENT_USER\Software\Imported\Sub]
"count"=dword:xyz
)");
    expectFailure(
        reg({"import", file}),
        "ERROR: " + file + " line 7: dword data must be 1 to 8 hex digits; nothing was imported.");
    expectFailure(reg({"query", "HKCU\\Software\\Imported"}), kNotFound);
    expectFailure(reg({"import", dir_.file("missing.reg")}),
                  "ERROR: Cannot read " + dir_.file("missing.reg") + ".");
}

TEST_F(RegTool, QuestionsWithoutAnAnswerMeanNo) {
    reg({"add", "HKCU\\Software\\A", "/v", "x", "/d", "1"});
    Result result = reg({"delete", "HKCU\\Software\\A", "/v", "x"});
    EXPECT_EQ(result.out, "Delete the registry value x (Yes/No)? \n");
    expectFailure(result, "ERROR: The operation was cancelled.");
    expectFailure(reg({"add", "HKCU\\Software\\A", "/v", "X", "/d", "2"}, "no\n"),
                  "ERROR: The operation was cancelled.");
    EXPECT_EQ(reg({"query", "HKCU\\Software\\A", "/v", "x"}).out,
              "\nHKEY_CURRENT_USER\\Software\\A\n    x    REG_SZ    1\n\n");
    result = reg({"delete", "HKCU\\Software\\A"}, "maybe\nyes\n");
    EXPECT_EQ(result.exitCode, 0);
    expectFailure(reg({"query", "HKCU\\Software\\A"}), kNotFound);
}

TEST_F(RegTool, StartupKeyWritesAnAutostartEntry) {
    std::string run = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    EXPECT_EQ(reg({"add", run, "/v", "Tolvane", "/d", "/opt/tv\\Tolvane.exe", "/f"}).out, kDone);
    std::string entry = dir_.file("config/autostart/Tolvane.desktop");
    EXPECT_NE(readFile(entry).find("Exec="), std::string::npos);
    EXPECT_EQ(reg({"query", run}).out,
              "\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\n"
              "    Tolvane    REG_SZ    /opt/tv\\Tolvane.exe\n\n");
    expectFailure(reg({"add", run, "/v", "../escape", "/d", "/x", "/f"}),
                  "ERROR: The parameter is incorrect.");
    EXPECT_EQ(reg({"delete", run, "/v", "tolvane", "/f"}).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(entry));
}

}  // namespace
