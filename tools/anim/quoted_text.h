#pragma once

#include <optional>
#include <string>
#include <string_view>

// Quoted strings of a description: text between double quotes in which \" and
// \\ stand for the sign itself and \xHH for one byte, so that any name a file
// holds can be written back exactly.
namespace mavu::tools {

// Whether `raw` (the text between the quotes) has only those escapes, none cut off.
bool HasValidEscapes(std::string_view raw);

// A name: the UTF-8 text converted to CP932, escaped bytes taken as they are.
// None when some text has no CP932 form.
std::optional<std::string> UnquoteName(std::string_view raw);
// A host path: the bytes as written.
std::string UnquotePath(std::string_view raw);

// The quoted forms: a CP932 name as UTF-8 where a character converts back to
// the same bytes, as \xHH where it does not; a path as its bytes. Both escape
// quotes, backslashes and control bytes.
std::string QuoteName(std::string_view cp932);
std::string QuotePath(std::string_view path);

}  // namespace mavu::tools
