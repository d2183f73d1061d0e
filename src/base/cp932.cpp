#include "base/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace mavu::base {

std::string_view TruncateWhole(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = 0;
  while (end < text.size()) {
    size_t next = end + CharLength(text, end);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

std::string MbcsCopy(std::string_view text, int first, int count) {
  std::string out;
  // 64-bit so that a "rest of the text" count such as INT_MAX cannot overflow.
  const int64_t end = int64_t{first} + count;
  int64_t index = 1;
  for (size_t pos = 0; pos < text.size() && index < end; ++index) {
    size_t len = CharLength(text, pos);
    if (index >= first) out.append(text.substr(pos, len));
    pos += len;
  }
  return out;
}

std::string LowerName(std::string_view text) {
  std::string out(text);
  for (size_t pos = 0; pos < out.size(); pos += CharLength(out, pos)) {
    char& c = out[pos];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerName(a) == LowerName(b);
}

std::vector<std::string> SplitList(std::string_view separator, std::string_view source,
                                   bool skipBlanks, bool stopAtComment) {
  std::vector<std::string> items;
  std::string current;
  bool inQuotes = false;
  int depth = 0;
  std::string_view lastChar;
  for (size_t pos = 0; pos < source.size();) {
    size_t len = CharLength(source, pos);
    std::string_view ch = source.substr(pos, len);
    pos += len;
    if (stopAtComment && ch == "/" && pos < source.size() && source[pos] == '/') break;
    lastChar = ch;
    if (len == 1) {
      char c = ch[0];
      if (skipBlanks && (c == ' ' || c == '\t')) continue;
      if (c == '"') inQuotes = !inQuotes;
      if (c == '{' || c == '(' || c == '[') ++depth;
      if (c == '}' || c == ')' || c == ']') --depth;
    }
    if (ch == separator && depth == 0 && !inQuotes) {
      items.push_back(std::move(current));
      current.clear();
      continue;
    }
    current.append(ch);
  }
  if (!current.empty()) items.push_back(std::move(current));
  // The text walked (before a comment) ending in the separator adds one empty item.
  // Whole characters are compared: a trail byte equal to the separator is no separator.
  if (!separator.empty() && lastChar == separator) items.emplace_back();
  return items;
}

namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  ~Iconv() { iconv_close(handle_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Whether the whole input converts without a single replacement.
  bool ConvertsWhole(std::string_view in) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
      char buffer[1024];
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      if (iconv(handle_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) &&
          errno != E2BIG) {
        return false;
      }
    }
    return true;
  }

  // Converts the whole input; an unconvertible or incomplete sequence is
  // replaced by `replacement` and the walk resumes after `skip` input bytes.
  std::string Convert(std::string_view in, std::string_view replacement,
                      size_t (*skip)(std::string_view rest)) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char buffer[1024];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      size_t rc = iconv(handle_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, dst);
      if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
        out.append(replacement);
        size_t n = std::min(srcLeft, skip(std::string_view(src, srcLeft)));
        src += n;
        srcLeft -= n;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return out;
  }

 private:
  iconv_t handle_;
};

size_t SkipCp932Char(std::string_view rest) {
  return CharLength(rest, 0);
}

size_t SkipUtf8Char(std::string_view rest) {
  auto lead = static_cast<uint8_t>(rest[0]);
  size_t len = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  size_t n = 1;
  while (n < len && n < rest.size() && (static_cast<uint8_t>(rest[n]) & 0xC0) == 0x80) ++n;
  return n;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  thread_local Iconv conv("UTF-8", "CP932");
  return conv.Convert(cp932, "\xEF\xBF\xBD", SkipCp932Char);
}

bool IsUtf8(std::string_view text) {
  thread_local Iconv conv("UTF-32LE", "UTF-8");
  return conv.ConvertsWhole(text);
}

std::string Utf8ToCp932(std::string_view utf8) {
  thread_local Iconv conv("CP932", "UTF-8");
  return conv.Convert(utf8, "?", SkipUtf8Char);
}

// The converter writes "?" for whatever it cannot convert, and no two-byte CP932
// character contains that byte, so a changed count of "?" means a loss.
std::optional<std::string> StrictUtf8ToCp932(std::string_view utf8) {
  std::string cp932 = Utf8ToCp932(utf8);
  if (std::ranges::count(cp932, '?') != std::ranges::count(utf8, '?')) return std::nullopt;
  return cp932;
}

}  // namespace mavu::base
