#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pontax {

// Blanks, tabs and line-end characters: what separates words and what Trim removes.
inline constexpr std::string_view kBlankChars = " \t\n\r\v\f";
inline constexpr std::string_view kEmptyText = "<empty>";

// The n-th word (from 1) of text, words separated by runs of delimiters; empty if there are fewer.
std::string GetWord(std::string_view text, int n, std::string_view delimiters = kBlankChars);
// All words of text, in order.
std::vector<std::string> SplitWords(std::string_view text, std::string_view delimiters = kBlankChars);
// The first blank-separated word of text, removed from it with the blanks before it; empty when
// none is left. Reads a line word by word without copying it.
std::string_view TakeWord(std::string_view& text);
// The word TakeWord would take, left in text.
std::string_view PeekWord(std::string_view text);
std::string Trim(std::string_view text);
// The same part of text, uncopied.
std::string_view TrimmedView(std::string_view text);
// 'a' to 'z' as capitals, any other byte as it is; no locale is asked.
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
std::string ToUpper(std::string_view text);
bool CharInSet(char c, std::string_view set);
// An ASCII digit, whatever the locale.
inline constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Position of the first character at or after `from` that is (not) in set, or -1.
int FindFirstOf(std::string_view text, std::string_view set, int from = 0);
int FindFirstNotOf(std::string_view text, std::string_view set, int from = 0);
// Decodes C-style backslash escapes; an unknown escape keeps its backslash.
std::string Unescape(std::string_view text);
// The inverse for display on one line: control characters and backslashes become escapes.
std::string EscapeControls(std::string_view text);
// The text as a strict host accepts it: control characters and bytes that are no UTF-8 become
// "?"; printable ASCII and well-formed UTF-8 stay.
std::string PrintableText(std::string_view text);
// PrintableText appended to out.
void AppendPrintableText(std::string& out, std::string_view text);
// "T...", "ON" and a leading non-zero digit are true; everything else is false.
bool ParseBool(std::string_view text);
// Optional sign and leading decimal digits, 0 without digits, clamped to the int range.
int ParseInteger(std::string_view text);
// True for "" and "<empty>", the two spellings of an unset text setting.
bool IsUnsetText(std::string_view text);
// Replaces the first %i/%d/%s of a command template with value ("%%" gives "%"); never
// interprets the template as a printf format, so any user text is safe.
std::string FormatTemplate(std::string_view pattern, std::string_view value);

}  // namespace pontax
