#include "schemes/my_mod.h"

#include <cmath>

#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv {
namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Past the line break at i (CR LF counts once).
std::size_t skipLineEnd(const std::string& text, std::size_t i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        return i + 2;
    }
    return i + 1;
}

// Characters, not bytes: UTF-8 continuation bytes do not count.
std::size_t characterCount(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char c : text) {
        count += (c & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

void removeWhere(ListControl& list, bool (*matches)(const std::string&)) {
    for (int i = list.ListCount() - 1; i >= 0; --i) {
        if (matches(list.List()[static_cast<std::size_t>(i)])) {
            list.RemoveItem(i);
        }
    }
}

}  // namespace

bool FileExists(FileSystem& files, const std::string& path) {
    return !files.Dir(path, vbAttrHidden | vbAttrSystem).empty();
}

bool saveTextToFile(FileSystem& files, const std::string& path, const std::string& text) {
    return files.writeFile(path, text + "\r\n");
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        while (end < text.size() && !isLineEnd(text[end])) {
            ++end;
        }
        lines.push_back(text.substr(i, end - i));
        i = end < text.size() ? skipLineEnd(text, end) : end;
    }
    return lines;
}

std::vector<std::string> readFields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        std::string field;
        if (i < text.size() && text[i] == '"') {
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != '"' && !isLineEnd(text[end])) {
                ++end;
            }
            field = text.substr(i + 1, end - i - 1);
            i = end < text.size() && text[end] == '"' ? end + 1 : end;
            // What follows the closing quote up to the field's end is dropped.
            while (i < text.size() && text[i] != ',' && !isLineEnd(text[i])) {
                ++i;
            }
        } else {
            std::size_t end = i;
            while (end < text.size() && text[end] != ',' && !isLineEnd(text[end])) {
                ++end;
            }
            field = text.substr(i, end - i);
            i = end;
        }
        fields.push_back(std::move(field));
        if (i < text.size()) {
            i = text[i] == ',' ? i + 1 : skipLineEnd(text, i);
        }
    }
    return fields;
}

void CopyFileToBox(FileSystem& files, const std::string& SourceFile, ListControl& DestBox) {
    DestBox.Clear();
    std::optional<std::string> text = files.readFile(SourceFile);
    if (!text) {
        return;
    }
    for (std::string& line : splitLines(*text)) {
        DestBox.AddItem(std::move(line));
    }
}

void FillListFromFile(FormRuntime& runtime, FileSystem& files, ListControl& list,
                      const std::string& path, ListControl& lstSchemes) {
    if (std::optional<std::string> text = files.readFile(path)) {
        for (std::string& field : readFields(*text)) {
            if (contains(field, "-") || contains(field, "Value")) {
                continue;
            }
            list.AddItem(std::move(field));
            runtime.DoEvents();
        }
    }
    RemoveEmptyItems(lstSchemes);
}

void RemoveEmptyItems(ListControl& list) {
    removeWhere(list, [](const std::string& item) { return item.empty(); });
}

void CleanSchemeList(ListControl& box) {
    removeWhere(box, [](const std::string& item) { return item.empty() || contains(item, "-"); });
}

void SetListScrollWidth(ListBox& lstSchemes, TextMeasure& measure) {
    std::string longest;
    std::size_t longestCount = 0;
    for (const std::string& item : lstSchemes.List()) {
        if (std::size_t count = characterCount(item); count > longestCount) {
            longest = item;
            longestCount = count;
        }
    }
    lstSchemes.HorizontalExtent = static_cast<int>(std::floor(measure.textWidth(longest + " ")));
}

}  // namespace tv
