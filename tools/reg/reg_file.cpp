#include "tools/reg/reg_file.h"

#include <cstdio>
#include <optional>

#include "runtime/numbers.h"
#include "runtime/strings.h"
#include "tools/reg/reg_text.h"

namespace tv::reg {
namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::size_t kWrapColumn = 78;

std::string_view trimRight(std::string_view text) {
    std::size_t end = text.find_last_not_of(" \t\r");
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string_view trimLeft(std::string_view text) {
    std::size_t begin = text.find_first_not_of(" \t");
    return begin == std::string_view::npos ? std::string_view() : text.substr(begin);
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

int hexDigit(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

// Nothing, or a comment: what may follow the data of a value line.
bool endsLine(std::string_view rest) {
    rest = trimLeft(rest);
    return rest.empty() || rest[0] == ';';
}

// Where the data of a value line ("NAME"=DATA or @=DATA) starts; npos when the line has
// no "=" after its name (the parser then says what is wrong).
std::size_t dataStart(std::string_view line) {
    std::size_t pos = 1;
    if (line[0] == '"') {
        while (pos < line.size() && line[pos] != '"') {
            pos += line[pos] == '\\' ? 2 : 1;
        }
        if (pos >= line.size()) {
            return std::string_view::npos;
        }
        ++pos;
    }
    std::string_view rest = trimLeft(line.substr(pos));
    if (rest.empty() || rest[0] != '=') {
        return std::string_view::npos;
    }
    return line.size() - trimLeft(rest.substr(1)).size();
}

// Hex data never holds ";", so a comment starts at the first one.
std::string_view withoutComment(std::string_view text) {
    return trimRight(text.substr(0, text.find(';')));
}

bool isUnicodeText(std::uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

class LineParser {
  public:
    explicit LineParser(bool unicode) : unicode_(unicode) {}

    // One logical line (continuations joined); false with error_ set.
    bool parse(std::string_view line, std::vector<RegOperation>* out) {
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            return true;
        }
        if (line[0] == '[') {
            return parseKey(line, out);
        }
        if (line[0] == '"' || line[0] == '@') {
            return parseValue(line, out);
        }
        return fail("unexpected text \"" + std::string(line.substr(0, 40)) + "\"");
    }

    const std::string& error() const { return error_; }

  private:
    bool fail(std::string message) {
        error_ = std::move(message);
        return false;
    }

    bool parseKey(std::string_view line, std::vector<RegOperation>* out) {
        if (line.size() < 3 || line.back() != ']') {
            return fail("a key line must be [KEY] or [-KEY]");
        }
        std::string_view inner = line.substr(1, line.size() - 2);
        // Trailing backslashes are dropped, however many, as the Windows tool reads them.
        while (inner.size() > 1 && inner.back() == '\\') {
            inner.remove_suffix(1);
        }
        bool remove = inner[0] == '-';
        auto key = parseKeyPath(remove ? inner.substr(1) : inner);
        if (!key) {
            return fail("invalid key name \"" + std::string(inner) + "\"");
        }
        if (remove && key->subKey.empty()) {
            return fail("a root key cannot be deleted");
        }
        RegOperation op;
        op.kind = remove ? RegOperation::Kind::DeleteKey : RegOperation::Kind::CreateKey;
        op.key = *key;
        out->push_back(op);
        current_ = remove ? std::nullopt : key;
        return true;
    }

    // Reads a quoted string at text[*pos] == '"' with \\ and \" escapes.
    bool parseQuoted(std::string_view text, std::size_t* pos, std::string* value) {
        for (std::size_t i = *pos + 1; i < text.size(); ++i) {
            if (text[i] == '"') {
                *pos = i + 1;
                return true;
            }
            if (text[i] == '\\') {
                if (i + 1 == text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) {
                    return fail("a backslash in a quoted string must be written \\\\");
                }
                ++i;
            }
            *value += text[i];
        }
        return fail("a quoted string has no closing quote");
    }

    bool parseHex(std::string_view text, std::vector<std::uint8_t>* bytes) {
        text = trimLeft(withoutComment(text));
        while (!text.empty()) {
            std::size_t comma = text.find(',');
            std::string_view item = trimRight(trimLeft(text.substr(0, comma)));
            if (item.empty() || item.size() > 2 || hexDigit(item[0]) < 0 ||
                (item.size() == 2 && hexDigit(item[1]) < 0)) {
                return fail("hex data must be bytes like 0a,ff separated by commas");
            }
            int value =
                item.size() == 1 ? hexDigit(item[0]) : hexDigit(item[0]) * 16 + hexDigit(item[1]);
            bytes->push_back(static_cast<std::uint8_t>(value));
            if (comma == std::string_view::npos) {
                break;
            }
            text = trimLeft(text.substr(comma + 1));  // a trailing comma ends the list
        }
        return true;
    }

    bool parseData(std::string_view text, RegOperation* op) {
        if (!text.empty() && text[0] == '-' && endsLine(text.substr(1))) {
            op->kind = RegOperation::Kind::DeleteValue;
            return true;
        }
        op->kind = RegOperation::Kind::SetValue;
        if (!text.empty() && text[0] == '"') {
            std::size_t pos = 0;
            std::string value;
            if (!parseQuoted(text, &pos, &value)) {
                return false;
            }
            if (!endsLine(text.substr(pos))) {
                return fail("unexpected text after the closing quote");
            }
            op->type = REG_SZ;
            op->data.assign(value.begin(), value.end());
            op->data.push_back(0);
            return true;
        }
        if (startsWithIgnoreCase(text, "dword:")) {
            // Blanks around the digits and a comment after them are allowed.
            std::string_view digits = trimLeft(text.substr(6));
            std::size_t count = 0;
            while (count < digits.size() && hexDigit(digits[count]) >= 0) {
                ++count;
            }
            std::uint32_t value = 0;
            if (count == 0 || count > 8 || !endsLine(digits.substr(count))) {
                return fail("dword data must be 1 to 8 hex digits");
            }
            digits = digits.substr(0, count);
            for (char c : digits) {
                if (hexDigit(c) < 0) {
                    return fail("dword data must be 1 to 8 hex digits");
                }
                value = value * 16 + static_cast<std::uint32_t>(hexDigit(c));
            }
            op->type = REG_DWORD;
            op->data = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                        static_cast<std::uint8_t>(value >> 16),
                        static_cast<std::uint8_t>(value >> 24)};
            return true;
        }
        if (!startsWithIgnoreCase(text, "hex")) {
            return fail("value data must be \"text\", dword:, hex: or hex(N):");
        }
        text.remove_prefix(3);
        op->type = REG_BINARY;
        if (!text.empty() && text[0] == '(') {
            std::size_t close = text.find(')');
            std::string_view code = text.substr(1, close == std::string_view::npos ? 0 : close - 1);
            if (code.empty() || code.size() > 8) {
                return fail("hex(N) needs a type number in hex");
            }
            op->type = 0;
            for (char c : code) {
                if (hexDigit(c) < 0) {
                    return fail("hex(N) needs a type number in hex");
                }
                op->type = op->type * 16 + static_cast<std::uint32_t>(hexDigit(c));
            }
            text.remove_prefix(close + 1);
        }
        if (text.empty() || text[0] != ':') {
            return fail("hex data must follow a colon");
        }
        if (!parseHex(text.substr(1), &op->data)) {
            return false;
        }
        if (unicode_ && isUnicodeText(op->type)) {
            std::string utf8;
            if (!utf16leToUtf8(op->data.data(), op->data.size(), &utf8)) {
                return fail("text data in hex must be UTF-16 (an even number of bytes)");
            }
            op->data.assign(utf8.begin(), utf8.end());
        }
        return true;
    }

    bool parseValue(std::string_view line, std::vector<RegOperation>* out) {
        if (!current_) {
            return fail("a value line must follow a [KEY] line");
        }
        RegOperation op;
        op.key = *current_;
        std::size_t pos = 1;  // past '@'
        if (line[0] == '"') {
            pos = 0;
            if (!parseQuoted(line, &pos, &op.name)) {
                return false;
            }
        }
        std::string_view rest = trimLeft(line.substr(pos));
        if (rest.empty() || rest[0] != '=') {
            return fail("a value line must be \"NAME\"=DATA or @=DATA");
        }
        if (!parseData(trimLeft(rest.substr(1)), &op)) {
            return false;
        }
        out->push_back(std::move(op));
        return true;
    }

    bool unicode_;
    std::optional<KeyPath> current_;
    std::string error_;
};

std::string quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

// Text that reads back unchanged as a quoted .reg string.
bool fitsQuoted(std::string_view text) {
    return text.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos &&
           isValidUtf8(text);
}

std::string hexLine(std::string line, const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char item[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(item, sizeof item, i + 1 < bytes.size() ? "%02x," : "%02x", bytes[i]);
        if (line.size() + 3 > kWrapColumn) {
            out += line + "\\\r\n";
            line = "  ";
        }
        line += item;
    }
    return out + line + "\r\n";
}

bool formatValue(const ExportValue& value, std::string* out, std::string* error) {
    if (!fitsQuoted(value.name)) {
        *error = "the value name \"" + value.name + "\" cannot be written to a .reg file";
        return false;
    }
    std::string line = (value.name.empty() ? std::string("@") : quote(value.name)) + "=";
    std::string text(value.data.begin(), value.data.end());
    if (value.type == REG_SZ && !text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    if (value.type == REG_SZ && fitsQuoted(text)) {
        *out += line + quote(text) + "\r\n";
        return true;
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%02x%02x%02x%02x", value.data[3], value.data[2],
                      value.data[1], value.data[0]);
        *out += line + digits + "\r\n";
        return true;
    }
    std::vector<std::uint8_t> bytes = value.data;
    if (isUnicodeText(value.type) &&
        !utf8ToUtf16le(std::string(value.data.begin(), value.data.end()), &bytes)) {
        *error = "the text of value \"" + value.name + "\" is not UTF-8";
        return false;
    }
    char prefix[24];
    if (value.type == REG_BINARY) {
        std::snprintf(prefix, sizeof prefix, "hex:");
    } else {
        std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    }
    *out += hexLine(line + prefix, bytes);
    return true;
}

}  // namespace

RegFileParse parseRegFile(std::string_view text) {
    RegFileParse result;
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        start = end == std::string_view::npos ? text.size() + 1 : end + 1;
    }
    // Blanks may lead the header. Other headers starting with "REGEDIT" are accepted
    // and nothing is imported from such a file, as the Windows tool does.
    std::string_view header = trimLeft(trimRight(lines[0]));
    if (header != kHeader5 && header != kHeader4) {
        if (!header.starts_with("REGEDIT")) {
            result.error = "the file does not start with \"" + std::string(kHeader5) + "\" or \"" +
                           std::string(kHeader4) + "\"";
            result.errorLine = 1;
        }
        return result;
    }
    LineParser parser(header == kHeader5);
    auto failAt = [&](std::size_t index, std::string message) {
        result.operations.clear();
        result.error = std::move(message);
        result.errorLine = static_cast<int>(index) + 1;
        return result;
    };
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::size_t first = i;
        std::string_view line = trimLeft(trimRight(lines[i]));
        std::string logical(line);
        bool isValue = !line.empty() && (line[0] == '"' || line[0] == '@');
        std::size_t start = isValue ? dataStart(line) : std::string_view::npos;
        // Only hex data continues on the next line; a backslash ending other data is
        // part of it and refused there.
        if (start != std::string_view::npos && startsWithIgnoreCase(line.substr(start), "hex")) {
            logical = std::string(line.substr(0, start)) +
                      std::string(withoutComment(line.substr(start)));
            while (!logical.empty() && logical.back() == '\\') {
                logical.pop_back();
                // Blank and comment lines inside the data are skipped; the end of the file
                // ends the data with what came so far.
                std::string_view next;
                while (++i < lines.size()) {
                    next = trimLeft(trimRight(lines[i]));
                    if (!next.empty() && next[0] != ';') {
                        break;
                    }
                }
                if (i >= lines.size()) {
                    break;
                }
                if (next == "\\") {
                    return failAt(i, "a line holding only a backslash inside hex data");
                }
                logical += withoutComment(next);
            }
        }
        std::size_t before = result.operations.size();
        if (!parser.parse(logical, &result.operations)) {
            return failAt(first, parser.error());
        }
        for (std::size_t op = before; op < result.operations.size(); ++op) {
            result.operations[op].line = static_cast<int>(first) + 1;
        }
    }
    return result;
}

bool formatRegFile(const std::vector<ExportKey>& keys, std::string* text, std::string* error) {
    std::string out = std::string(kHeader5) + "\r\n\r\n";
    for (const ExportKey& key : keys) {
        if (!fitsQuoted(key.path)) {
            *error = "the key name \"" + key.path + "\" cannot be written to a .reg file";
            return false;
        }
        out += "[" + key.path + "]\r\n";
        for (const ExportValue& value : key.values) {
            if (!formatValue(value, &out, error)) {
                return false;
            }
        }
        out += "\r\n";
    }
    *text = std::move(out);
    return true;
}

}  // namespace tv::reg
