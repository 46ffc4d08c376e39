#pragma once
// Command lines as the Windows programs wrote them ("POWERCFG /QUERY \"Portable\""),
// split into arguments by the platform's own quoting rules.

#include <string>
#include <vector>

namespace tv {

// The program name (first word) ends at the next blank, or, when it starts with a
// double quote, at the next double quote; backslashes are literal in it. Later words:
// 2n backslashes before a quote give n backslashes and the quote opens or closes a
// quoted part; 2n+1 give n backslashes and a literal quote; "" inside a quoted part is
// a literal quote; other backslashes are literal. Blanks (space, tab) separate words
// outside quotes. Leading blanks are skipped.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

// One argument written so that splitCommandLine gives it back exactly: in double
// quotes, quotes escaped with a backslash and backslashes doubled where they precede
// a quote (or the closing quote). A text without quotes or a trailing backslash comes
// out as itself between quotes.
std::string quoteArgument(const std::string& argument);

}  // namespace tv
