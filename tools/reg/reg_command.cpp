#include "tools/reg/reg_command.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/linux/registry_sqlite.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv::reg {
namespace {

struct RootName {
    const char* shortName;
    HKEY root;
};

constexpr RootName kShortRoots[] = {
    {"HKLM", HKEY_LOCAL_MACHINE}, {"HKCU", HKEY_CURRENT_USER},   {"HKCR", HKEY_CLASSES_ROOT},
    {"HKU", HKEY_USERS},          {"HKCC", HKEY_CURRENT_CONFIG},
};

struct TypeEntry {
    const char* name;
    std::uint32_t type;
};

constexpr TypeEntry kTypes[] = {
    {"REG_NONE", REG_NONE},
    {"REG_SZ", REG_SZ},
    {"REG_EXPAND_SZ", REG_EXPAND_SZ},
    {"REG_BINARY", REG_BINARY},
    {"REG_DWORD", REG_DWORD},
    {"REG_DWORD_LITTLE_ENDIAN", REG_DWORD},  // a second name, after the one shown
    {"REG_DWORD_BIG_ENDIAN", REG_DWORD_BIG_ENDIAN},
    {"REG_MULTI_SZ", REG_MULTI_SZ},
    {"REG_QWORD", REG_QWORD},
};

std::string operationName(Operation operation) {
    switch (operation) {
        case Operation::Query:
            return "QUERY";
        case Operation::Add:
            return "ADD";
        case Operation::Delete:
            return "DELETE";
        case Operation::Export:
            return "EXPORT";
        case Operation::Import:
            return "IMPORT";
        case Operation::Help:
            break;
    }
    return "";
}

std::string syntaxError(Operation operation) {
    std::string name = operationName(operation);
    return "ERROR: Invalid syntax. Type \"REG " + (name.empty() ? "" : name + " ") +
           "/?\" for usage.";
}

bool isHelp(std::string_view arg) {
    return arg == "/?" || arg == "-?" || equalsIgnoreCase(arg, "/h") || equalsIgnoreCase(arg, "-h");
}

bool isNumberType(std::uint32_t type) {
    return type == REG_DWORD || type == REG_DWORD_BIG_ENDIAN || type == REG_QWORD;
}

bool isSwitch(std::string_view arg) {
    return arg.size() >= 2 && (arg[0] == '/' || arg[0] == '-');
}

// Whole decimal or 0x-prefixed hex number within max; no sign, no blanks.
std::optional<std::uint64_t> parseUnsigned(std::string_view text, std::uint64_t max) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 20) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9'                 ? c - '0'
                    : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                         : -1;
        if (digit < 0 || value > (max - static_cast<std::uint64_t>(digit)) / base) {
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::vector<std::uint8_t> littleEndian(std::uint64_t value, int size) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return bytes;
}

void appendText(std::vector<std::uint8_t>* bytes, std::string_view text) {
    bytes->insert(bytes->end(), text.begin(), text.end());
    bytes->push_back(0);
}

}  // namespace

std::string KeyPath::text() const {
    std::string name = rootKeyName(root);
    return subKey.empty() ? name : name + "\\" + subKey;
}

std::optional<KeyPath> parseKeyPath(std::string_view text) {
    if (text.ends_with("\\\\")) {
        return std::nullopt;
    }
    if (!text.empty() && text.back() == '\\') {
        text.remove_suffix(1);
    }
    std::size_t slash = text.find('\\');
    std::string_view rootText = text.substr(0, slash);
    KeyPath path;
    for (const RootName& entry : kShortRoots) {
        if (equalsIgnoreCase(rootText, entry.shortName) ||
            equalsIgnoreCase(rootText, rootKeyName(entry.root))) {
            path.root = entry.root;
        }
    }
    if (path.root == 0) {
        return std::nullopt;
    }
    if (slash != std::string_view::npos) {
        path.subKey = std::string(text.substr(slash + 1));
        if (path.subKey.empty() || path.subKey.find("\\\\") != std::string::npos ||
            path.subKey.front() == '\\' || path.subKey.find('\0') != std::string::npos) {
            return std::nullopt;
        }
    }
    return path;
}

std::optional<std::uint32_t> parseTypeName(std::string_view name) {
    for (const TypeEntry& entry : kTypes) {
        if (equalsIgnoreCase(name, entry.name)) {
            return entry.type;
        }
    }
    return std::nullopt;
}

std::string typeName(std::uint32_t type) {
    for (const TypeEntry& entry : kTypes) {
        if (entry.type == type) {
            return entry.name;
        }
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "REG_UNKNOWN(0x%X)", type);
    return buffer;
}

namespace {

// Items split at the separator ("\\0" by default). A trailing separator ends the list and a
// lone one is the empty list, as the Windows tool reads them; an empty item elsewhere
// would cut the list short, so it is refused.
std::optional<std::vector<std::uint8_t>> multiStringData(std::string_view text, char separator,
                                                         std::string* error) {
    std::string_view mark = separator == '\0' ? std::string_view("\\0") : std::string_view();
    std::vector<std::string_view> items;
    for (std::size_t start = 0; !text.empty();) {
        std::size_t end = separator == '\0' ? text.find(mark, start) : text.find(separator, start);
        items.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + (separator == '\0' ? mark.size() : 1);
    }
    if (items.size() > 1 && items.back().empty()) {
        items.pop_back();
    }
    std::vector<std::uint8_t> bytes;
    bool lone = items.size() == 1 && items[0].empty();
    for (std::string_view item : lone ? std::vector<std::string_view>() : items) {
        if (item.empty()) {
            *error = "ERROR: REG_MULTI_SZ data may not contain empty strings.";
            return std::nullopt;
        }
        appendText(&bytes, item);
    }
    bytes.push_back(0);
    if (lone) {
        bytes.push_back(0);
    }
    return bytes;
}

// Decimal or 0x hex; a QWORD may also be a negative decimal, stored as its two's
// complement ("-1" is all ones), as the Windows tool reads it.
std::optional<std::vector<std::uint8_t>> numberData(std::uint32_t type, std::string_view text,
                                                    std::string* error) {
    bool qword = type == REG_QWORD;
    bool negative = qword && text.size() > 1 && text[0] == '-' && text[1] >= '0' && text[1] <= '9';
    std::optional<std::uint64_t> value =
        text.empty()
            ? std::optional<std::uint64_t>(0)
            : parseUnsigned(negative ? text.substr(1) : text, qword ? ~0ull : 0xFFFFFFFFull);
    if (!value || (negative && text.substr(1).starts_with("0x"))) {
        *error = std::string("ERROR: Invalid ") + (qword ? "QWORD" : "DWORD") + " data \"" +
                 std::string(text) + "\"; give a decimal number or 0x followed by hex digits.";
        return std::nullopt;
    }
    std::uint64_t number = negative ? ~*value + 1 : *value;
    std::vector<std::uint8_t> bytes = littleEndian(number, qword ? 8 : 4);
    if (type == REG_DWORD_BIG_ENDIAN) {
        std::reverse(bytes.begin(), bytes.end());
    }
    return bytes;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> valueData(std::uint32_t type, std::string_view text,
                                                   char separator, std::string* error) {
    std::vector<std::uint8_t> bytes;
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_NONE) {
        appendText(&bytes, text);
        return bytes;
    }
    if (type == REG_MULTI_SZ) {
        return multiStringData(text, separator, error);
    }
    if (isNumberType(type)) {
        return numberData(type, text, error);
    }
    auto hex = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    // An odd count of digits reads as if a 0 led them.
    std::string digits = (text.size() % 2 == 1 ? "0" : "") + std::string(text);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        if (hex(digits[i]) < 0 || hex(digits[i + 1]) < 0) {
            *error = "ERROR: Invalid binary data \"" + std::string(text) + "\"; give hex digits.";
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(hex(digits[i]) * 16 + hex(digits[i + 1])));
    }
    return bytes;
}

std::string displayData(std::uint32_t type, const std::vector<std::uint8_t>& data) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::string text(data.begin(), data.end());
        return text.substr(0, text.find('\0'));
    }
    if (type == REG_MULTI_SZ) {
        std::string joined;
        std::string item;
        for (std::size_t i = 0; i < data.size(); ++i) {
            if (data[i] != 0) {
                item += static_cast<char>(data[i]);
                continue;
            }
            if (item.empty()) {
                break;  // the empty item ends the list
            }
            joined += (joined.empty() ? "" : "\\0") + item;
            item.clear();
        }
        return joined + (item.empty() ? "" : (joined.empty() ? "" : "\\0") + item);
    }
    char buffer[24];
    if ((type == REG_DWORD || type == REG_DWORD_BIG_ENDIAN) && data.size() == 4) {
        std::vector<std::uint8_t> low(data);
        if (type == REG_DWORD_BIG_ENDIAN) {
            std::reverse(low.begin(), low.end());
        }
        std::uint32_t value =
            low[0] | (low[1] << 8) | (low[2] << 16) | (static_cast<std::uint32_t>(low[3]) << 24);
        std::snprintf(buffer, sizeof buffer, "0x%x", value);
        return buffer;
    }
    if (type == REG_QWORD && data.size() == 8) {
        unsigned long long value = 0;
        for (int i = 7; i >= 0; --i) {
            value = (value << 8) | data[static_cast<std::size_t>(i)];
        }
        std::snprintf(buffer, sizeof buffer, "0x%llx", value);
        return buffer;
    }
    std::string hex;
    for (std::uint8_t byte : data) {
        std::snprintf(buffer, sizeof buffer, "%02X", byte);
        hex += buffer;
    }
    return hex;
}

ParsedCommand parseCommand(const std::vector<std::string>& args) {
    static const std::map<std::string, Operation> kOperations = {
        {"QUERY", Operation::Query},   {"ADD", Operation::Add},       {"DELETE", Operation::Delete},
        {"EXPORT", Operation::Export}, {"IMPORT", Operation::Import},
    };
    ParsedCommand result;
    Command command;
    if (args.empty() || isHelp(args[0])) {
        result.command = command;
        return result;
    }
    auto found = kOperations.find(toUpperAscii(args[0]));
    if (found == kOperations.end()) {
        result.error = "ERROR: Invalid syntax. Type \"REG /?\" for usage.";
        return result;
    }
    command.operation = found->second;
    if (args.size() == 2 && isHelp(args[1])) {
        command.operation = Operation::Help;
        command.helpTopic = found->first;
        result.command = command;
        return result;
    }
    Operation op = command.operation;
    std::size_t positional = op == Operation::Export ? 2 : 1;
    if (args.size() < 1 + positional) {
        result.error = syntaxError(op);
        return result;
    }
    if (op != Operation::Import) {
        auto key = isSwitch(args[1]) ? std::nullopt : parseKeyPath(args[1]);
        if (!key) {
            result.error = isSwitch(args[1]) ? syntaxError(op)
                                             : "ERROR: Invalid key name \"" + args[1] + "\".";
            return result;
        }
        // A root followed by a backslash names no key to write to.
        if (op == Operation::Add && key->subKey.empty() && args[1].back() == '\\') {
            result.error = "ERROR: Invalid key name \"" + args[1] + "\".";
            return result;
        }
        command.key = *key;
    }
    if (op == Operation::Import || op == Operation::Export) {
        command.file = args[positional];
    }

    std::map<std::string, std::string> switches;  // upper-case switch to its argument
    for (std::size_t i = 1 + positional; i < args.size(); ++i) {
        std::string name = toUpperAscii(args[i]);
        if (!isSwitch(name)) {
            result.error = syntaxError(op);
            return result;
        }
        name[0] = '/';
        bool takesArgument =
            name == "/V" || name == "/T" || name == "/D" || (name == "/S" && op == Operation::Add);
        bool allowed =
            (op == Operation::Query && (name == "/V" || name == "/VE" || name == "/S")) ||
            (op == Operation::Add && (name == "/V" || name == "/VE" || name == "/T" ||
                                      name == "/S" || name == "/D" || name == "/F")) ||
            (op == Operation::Delete &&
             (name == "/V" || name == "/VE" || name == "/VA" || name == "/F")) ||
            (op == Operation::Export && name == "/Y");
        if (!allowed || switches.count(name) != 0 || (takesArgument && i + 1 == args.size())) {
            result.error = syntaxError(op);
            return result;
        }
        switches[name] = takesArgument ? args[++i] : std::string();
    }
    if (switches.count("/V") + switches.count("/VE") + switches.count("/VA") > 1) {
        result.error = syntaxError(op);
        return result;
    }
    if (switches.count("/V") != 0) {
        command.valueName = switches["/V"];
    } else if (switches.count("/VE") != 0) {
        command.valueName = "";
    }
    command.allValues = switches.count("/VA") != 0;
    if (op == Operation::Delete && !command.valueName && !command.allValues &&
        command.key.subKey.empty()) {
        result.error = "ERROR: A root key cannot be deleted.";
        return result;
    }
    command.force = switches.count("/F") != 0 || switches.count("/Y") != 0;
    command.recursive = op == Operation::Query && switches.count("/S") != 0;
    if (op == Operation::Add) {
        if (switches.count("/T") != 0) {
            auto type = parseTypeName(switches["/T"]);
            if (!type) {
                result.error = "ERROR: Invalid value type \"" + switches["/T"] + "\".";
                return result;
            }
            command.type = *type;
        }
        char separator = '\0';
        if (switches.count("/S") != 0) {
            if (switches["/S"].size() != 1 || command.type != REG_MULTI_SZ) {
                result.error = syntaxError(op);
                return result;
            }
            separator = switches["/S"][0];
        }
        // Without /v the data goes to the default value, and plain "reg add KEY" sets
        // it to an empty string, as the Windows tool does.
        if (!command.valueName) {
            command.valueName = "";
        }
        if (isNumberType(command.type) && switches.count("/D") == 0) {
            result.error = syntaxError(op);  // a number needs its data
            return result;
        }
        auto data = valueData(command.type, switches["/D"], separator, &result.error);
        if (!data) {
            return result;
        }
        command.data = *data;
    }
    result.command = command;
    return result;
}

std::string usageText(const std::string& topic) {
    if (topic == "QUERY") {
        return "REG QUERY KeyName [/v ValueName | /ve] [/s]\n"
               "  Shows the values of a key and its subkeys; /s goes through all subkeys.\n";
    }
    if (topic == "ADD") {
        return "REG ADD KeyName [/v ValueName | /ve] [/t Type] [/s Separator] [/d Data] [/f]\n"
               "  Types: REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD "
               "(REG_DWORD_LITTLE_ENDIAN),\n"
               "  REG_DWORD_BIG_ENDIAN, REG_QWORD, REG_BINARY, REG_NONE. Without /v the default\n"
               "  value is set. /f overwrites without asking.\n";
    }
    if (topic == "DELETE") {
        return "REG DELETE KeyName [/v ValueName | /ve | /va] [/f]\n"
               "  Without a value switch the key and all its subkeys are deleted.\n";
    }
    if (topic == "EXPORT") {
        return "REG EXPORT KeyName FileName [/y]\n"
               "  Writes the key and its subkeys as a .reg file; /y overwrites without asking.\n";
    }
    if (topic == "IMPORT") {
        return "REG IMPORT FileName\n"
               "  Applies a .reg file; nothing is written unless the whole file is valid.\n";
    }
    return "REG Operation [Parameter List]\n"
           "  Operation: QUERY | ADD | DELETE | EXPORT | IMPORT\n"
           "  KeyName: ROOT\\Subkey, ROOT one of HKLM, HKCU, HKCR, HKU, HKCC or the full name.\n"
           "  Questions are answered from standard input; no answer counts as No.\n"
           "  REG Operation /? (or /h) shows the usage of one operation.\n";
}

}  // namespace tv::reg
