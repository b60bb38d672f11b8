#pragma once
// Text routines shared by the records, the dialogs and the shell. Texts are
// 8-bit strings in the code page of the player's language.

#include <string>
#include <string_view>

namespace tb {

// Removes leading and trailing characters with codes up to 32 (blanks, controls).
std::string Trim(std::string_view text);

// Upper and lower case for ASCII letters and the Latin-1 letters 0xC0..0xDE /
// 0xE0..0xFE (except 0xD7 and 0xF7); other characters stay as they are.
char UpperChar(char c);
char LowerChar(char c);
std::string UpperCase(std::string_view text);

// Case-insensitive comparison by UpperCase: -1, 0 or 1.
int CompareNoCase(std::string_view a, std::string_view b);

// The canonical capitalisation of a typed name: trimmed, runs of separators
// (blank, "&", "-", ".") reduced to their last one, each word capitalised.
std::string NormaliseName(std::string_view text);

// A stored player name without its installation number ("Ann #0" → "Ann"):
// the text before its first " #".
std::string CutBeforeNumber(std::string_view name);

// Replaces the first "@" of `text` by `value`; a text without "@" stays unchanged.
void FillPlaceholder(std::string_view value, std::string& text);
void FillPlaceholder(long long value, std::string& text);

// Parses a whole decimal number (an optional sign, then digits only); false otherwise.
bool ParseInt(std::string_view text, long long& value);

} // namespace tb
