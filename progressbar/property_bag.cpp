#include "progressbar/property_bag.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv {

namespace {

// Pictures are small tiles; this keeps a damaged file from asking for gigabytes.
constexpr std::int64_t maxPicturePixels = std::int64_t{1} << 22;

bool isIdentifier(std::string_view name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

std::vector<std::string_view> splitWords(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) {
            ++pos;
        }
        std::size_t start = pos;
        while (pos < text.size() && !std::isspace(static_cast<unsigned char>(text[pos]))) {
            ++pos;
        }
        if (pos > start) {
            words.push_back(text.substr(start, pos - start));
        }
    }
    return words;
}

std::optional<std::uint32_t> parseHex(std::string_view digits, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> parseLong(std::string_view text) {
    if (text.size() > 2 && (text.substr(0, 2) == "&H" || text.substr(0, 2) == "&h")) {
        auto hex = parseHex(text.substr(2), 8);
        if (!hex) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(*hex);
    }
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

FontInfo parseFont(std::string_view text) {
    FontInfo font;
    font.name.clear();
    std::size_t pos = 1;
    for (;; ++pos) {
        if (pos >= text.size()) {
            throw FormatError("font name has no closing quote");
        }
        if (text[pos] == '"') {
            if (pos + 1 < text.size() && text[pos + 1] == '"') {
                font.name += '"';
                ++pos;
                continue;
            }
            break;
        }
        font.name += text[pos];
    }
    // The writer could not give it back on one line.
    if (font.name.find('\r') != std::string::npos) {
        throw FormatError("font name holds a line break");
    }
    std::vector<std::string_view> words = splitWords(text.substr(pos + 1));
    if (words.empty()) {
        throw FormatError("font has no size");
    }
    double size = 0;
    auto [end, error] = std::from_chars(words[0].data(), words[0].data() + words[0].size(), size);
    if (error != std::errc() || end != words[0].data() + words[0].size() || !(size > 0) ||
        size > 1000) {
        throw FormatError("font size must be a number of points from above 0 to 1000");
    }
    font.size = size;
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::string word = toLowerAscii(words[i]);
        if (word == "bold") {
            font.bold = true;
        } else if (word == "italic") {
            font.italic = true;
        } else if (word == "underline") {
            font.underline = true;
        } else if (word == "strikethrough") {
            font.strikethrough = true;
        } else {
            throw FormatError("unknown font style '" + std::string(words[i]) + "'");
        }
    }
    return font;
}

Bitmap parsePicture(std::string_view text) {
    std::vector<std::string_view> words = splitWords(text);
    auto width = words.size() > 1 ? parseLong(words[1]) : std::nullopt;
    auto height = words.size() > 2 ? parseLong(words[2]) : std::nullopt;
    if (!width || !height || *width <= 0 || *height <= 0 ||
        std::int64_t{*width} * *height > maxPicturePixels) {
        throw FormatError("picture needs a width and height above 0 and at most 4M pixels");
    }
    Bitmap picture(*width, *height);
    if (words.size() != picture.pixels.size() + 3) {
        throw FormatError("picture needs " + std::to_string(picture.pixels.size()) + " pixels");
    }
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        auto pixel = words[i + 3].size() == 6 ? parseHex(words[i + 3], 6) : std::nullopt;
        if (!pixel) {
            throw FormatError("picture pixel '" + std::string(words[i + 3]) +
                              "' is not six hex digits");
        }
        picture.pixels[i] = *pixel;
    }
    return picture;
}

PropertyValue parseValue(std::string_view text) {
    if (text.empty()) {
        throw FormatError("missing value");
    }
    if (equalsIgnoreCase(text, "True")) {
        return true;
    }
    if (equalsIgnoreCase(text, "False")) {
        return false;
    }
    if (equalsIgnoreCase(text, "Nothing")) {
        return std::monostate{};
    }
    if (text.front() == '"') {
        return parseFont(text);
    }
    if (equalsIgnoreCase(text.substr(0, std::min<std::size_t>(text.size(), 8)), "picture ")) {
        return parsePicture(text);
    }
    if (auto number = parseLong(text)) {
        return *number;
    }
    throw FormatError("'" + std::string(text) +
                      "' is not a 32-bit number, Boolean, font or picture");
}

std::string formatFont(const FontInfo& font) {
    if (font.name.find_first_of("\r\n") != std::string::npos) {
        throw FormatError("font name holds a line break");
    }
    std::string text = "\"" + replaceAll(font.name, "\"", "\"\"") + "\" " + formatNumber(font.size);
    text += font.bold ? " bold" : "";
    text += font.italic ? " italic" : "";
    text += font.underline ? " underline" : "";
    text += font.strikethrough ? " strikethrough" : "";
    return text;
}

std::string formatPicture(const Bitmap& picture) {
    std::string text =
        "picture " + std::to_string(picture.width) + " " + std::to_string(picture.height);
    char pixel[8];
    for (Color c : picture.pixels) {
        std::snprintf(pixel, sizeof pixel, " %06X", static_cast<unsigned>(c & 0xFFFFFF));
        text += pixel;
    }
    return text;
}

std::string formatValue(const PropertyValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return std::to_string(*number);
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "True" : "False";
    }
    if (const auto* font = std::get_if<FontInfo>(&value)) {
        return formatFont(*font);
    }
    if (const auto* picture = std::get_if<Bitmap>(&value)) {
        return formatPicture(*picture);
    }
    return "Nothing";
}

[[noreturn]] void wrongType(std::string_view name, std::string_view expected) {
    throw FormatError("property " + std::string(name) + " must be " + std::string(expected));
}

}  // namespace

std::vector<std::pair<std::string, PropertyValue>>::const_iterator PropertyBag::find(
    std::string_view name) const {
    return std::find_if(entries_.begin(), entries_.end(),
                        [name](const auto& entry) { return equalsIgnoreCase(entry.first, name); });
}

PropertyValue PropertyBag::readProperty(std::string_view name,
                                        const PropertyValue& defaultValue) const {
    auto it = find(name);
    return it != entries_.end() ? it->second : defaultValue;
}

void PropertyBag::writeProperty(std::string_view name, const PropertyValue& value,
                                const PropertyValue& defaultValue) {
    if (value == defaultValue) {
        auto it = find(name);
        if (it != entries_.end()) {
            entries_.erase(it);
        }
        return;
    }
    writeProperty(name, value);
}

void PropertyBag::writeProperty(std::string_view name, const PropertyValue& value) {
    auto it = find(name);
    if (it != entries_.end()) {
        entries_[static_cast<std::size_t>(it - entries_.begin())].second = value;
    } else {
        entries_.emplace_back(std::string(name), value);
    }
}

bool PropertyBag::contains(std::string_view name) const {
    return find(name) != entries_.end();
}

std::vector<std::string> PropertyBag::names() const {
    std::vector<std::string> result;
    for (const auto& entry : entries_) {
        result.push_back(entry.first);
    }
    return result;
}

std::string PropertyBag::toText() const {
    std::string text;
    for (const auto& [name, value] : entries_) {
        text += name + " = " + formatValue(value) + "\n";
    }
    return text;
}

PropertyBag PropertyBag::fromText(std::string_view text) {
    PropertyBag bag;
    int lineNumber = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string line = trimWhitespace(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        try {
            std::size_t equals = line.find('=');
            if (equals == std::string_view::npos) {
                throw FormatError("expected 'Key = value'");
            }
            std::string name = trimWhitespace(line.substr(0, equals));
            if (!isIdentifier(name)) {
                throw FormatError("'" + std::string(name) + "' is not a property name");
            }
            if (bag.contains(name)) {
                throw FormatError(std::string(name) + " is given twice");
            }
            bag.entries_.emplace_back(std::string(name),
                                      parseValue(trimWhitespace(line.substr(equals + 1))));
        } catch (const FormatError& error) {
            throw FormatError("line " + std::to_string(lineNumber) + ": " + error.what());
        }
    }
    return bag;
}

std::int32_t readLong(const PropertyBag& bag, std::string_view name, std::int32_t defaultValue) {
    PropertyValue value = bag.readProperty(name, defaultValue);
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return *number;
    }
    wrongType(name, "a number");
}

bool readBool(const PropertyBag& bag, std::string_view name, bool defaultValue) {
    PropertyValue value = bag.readProperty(name, defaultValue);
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag;
    }
    // The host reads numbers as Booleans too: 0 is False.
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return *number != 0;
    }
    wrongType(name, "True or False");
}

std::optional<FontInfo> readFont(const PropertyBag& bag, std::string_view name) {
    PropertyValue value = bag.readProperty(name, std::monostate{});
    if (std::holds_alternative<std::monostate>(value)) {
        return std::nullopt;
    }
    if (const auto* font = std::get_if<FontInfo>(&value)) {
        return *font;
    }
    wrongType(name, "a font");
}

std::optional<Bitmap> readPicture(const PropertyBag& bag, std::string_view name) {
    PropertyValue value = bag.readProperty(name, std::monostate{});
    if (std::holds_alternative<std::monostate>(value)) {
        return std::nullopt;
    }
    if (const auto* picture = std::get_if<Bitmap>(&value)) {
        return *picture;
    }
    wrongType(name, "a picture");
}

}  // namespace tv
