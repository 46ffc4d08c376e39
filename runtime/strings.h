#pragma once
// Small text helpers shared by every layer: ASCII case, trimming, searching.

#include <string>
#include <string_view>

namespace tv {

// Case-insensitive ASCII comparison, as the platform compares names.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toUpperAscii(std::string_view text);
std::string toLowerAscii(std::string_view text);

// Blank (0x20) trimming, as the platform's Trim family does.
std::string trimBlanks(std::string_view text);

bool contains(std::string_view text, std::string_view part);
std::string replaceAll(std::string text, std::string_view from, std::string_view to);

bool endsWithIgnoreCase(std::string_view text, std::string_view suffix);
// The name without a trailing ".exe" in any case; the Windows-style names the
// programs build ("FOLDER\\About.exe") stand for our executables, which have none.
std::string withoutExe(std::string_view name);
// White space (as isspace in the C locale) trimmed from both sides.
std::string trimWhitespace(std::string_view text);

}  // namespace tv
