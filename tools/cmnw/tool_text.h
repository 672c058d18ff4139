// Small text helpers of the cmnw tool.
#ifndef CMNW_TOOL_TEXT_H
#define CMNW_TOOL_TEXT_H

#include <string>
#include <string_view>

namespace cmnw::tool {

// Copies text into dst (size bytes), cut to size - 1 characters.
void CopyText(char *dst, size_t size, std::string_view text);

// A decimal integer with optional sign filling all of text.
bool ParseInt(std::string_view text, int &value);
bool ParseLong(std::string_view text, long &value);

// Removes blanks and tabs at both ends.
void TrimBlanks(std::string &text);

bool HasHighBytes(std::string_view text);

// UTF-8 to code page 1252 in place (characters without a byte become "?").
void Utf8ToLatin(std::string &text);
// Code page 1252 to UTF-8, appended to out.
void LatinToUtf8(std::string_view text, std::string &out);
// The library's ISO 8859-1 text as UTF-8.
std::string ToUtf8(std::string_view latin);

// text as a JSON string, quotes included, appended to out: bytes that are
// not part of valid UTF-8 become \ufffd, control characters are escaped.
void AppendJsonString(std::string &out, std::string_view text);
// text is valid UTF-8 throughout.
bool IsUtf8(std::string_view text);

// A character for a message: "'x'", or "0x07" for control characters.
std::string QuoteChar(char c, bool latin1);

// The 46 built-in locale names, in table order, and a lookup without
// regard to case.
extern const char *const kBuiltInLocales[46];
bool IsBuiltInLocale(std::string_view name);

}  // namespace cmnw::tool

#endif
