#pragma once
// The reg command line: operations, key paths with full or short root names, value
// types and the /d data as the store's bytes. Parsing is complete before anything
// touches the store, so a malformed command changes nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_api.h"

namespace tv::reg {

// The Windows tool's name for a DWORD stored most significant byte first.
inline constexpr std::uint32_t REG_DWORD_BIG_ENDIAN = 5;

struct KeyPath {
    HKEY root = 0;
    std::string subKey;

    // Full root name, then the subkey: "HKEY_CURRENT_USER\Control Panel".
    std::string text() const;
};

// "HKLM\Software", "hkey_local_machine\Software"; a single trailing backslash is
// dropped. Nullopt for unknown roots, remote machines, empty names inside and two
// trailing backslashes.
std::optional<KeyPath> parseKeyPath(std::string_view text);

// "REG_SZ" (any case) to its code; nullopt for names the tool does not write.
std::optional<std::uint32_t> parseTypeName(std::string_view name);
// Code to name; types without a name show as "REG_UNKNOWN(0xN)".
std::string typeName(std::uint32_t type);

// The bytes "reg add" stores for /d text; strings get their terminator. Nullopt with a
// reason for data that does not fit the type.
std::optional<std::vector<std::uint8_t>> valueData(std::uint32_t type, std::string_view text,
                                                   char separator, std::string* error);
// Data as "reg query" shows it: text, 0x hex numbers, hex bytes, items joined by "\0".
std::string displayData(std::uint32_t type, const std::vector<std::uint8_t>& data);

enum class Operation { Help, Query, Add, Delete, Export, Import };

struct Command {
    Operation operation = Operation::Help;
    std::string helpTopic;  // operation name, empty for the overview
    KeyPath key;
    std::optional<std::string> valueName;  // /v NAME; "" for /ve
    bool allValues = false;                // /va
    bool recursive = false;                // query /s
    std::uint32_t type = REG_SZ;
    std::vector<std::uint8_t> data;
    bool force = false;  // /f or /y
    std::string file;
};

struct ParsedCommand {
    std::optional<Command> command;
    std::string error;  // one line, "ERROR: ..." when command is empty
};

// args excludes the program name.
ParsedCommand parseCommand(const std::vector<std::string>& args);

std::string usageText(const std::string& topic);

}  // namespace tv::reg
