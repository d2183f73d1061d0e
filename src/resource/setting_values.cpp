#include "resource/setting_values.h"

#include <charconv>
#include <limits>
#include <type_traits>

#include "base/cp932.h"

namespace mavu::resource {

namespace {

constexpr char kHexMark = '$';
constexpr std::string_view kNone = "none";

struct Magnitude {
  uint64_t value = 0;
  bool negative = false;
  bool hex = false;
};

std::optional<Magnitude> ParseMagnitude(std::string_view text) {
  Magnitude m;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    m.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (!text.empty() && text.front() == kHexMark) {
    m.hex = true;
    text.remove_prefix(1);
  }
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, m.value, m.hex ? 16 : 10);
  if (ec != std::errc{} || ptr != end) return std::nullopt;
  return m;
}

template <class Int>
std::optional<Int> ParseSigned(std::string_view text) {
  using Bits = std::make_unsigned_t<Int>;
  auto m = ParseMagnitude(text);
  if (!m) return std::nullopt;
  uint64_t limit = m->hex ? std::numeric_limits<Bits>::max()
                          : uint64_t{std::numeric_limits<Int>::max()} + (m->negative ? 1 : 0);
  if (m->value > limit) return std::nullopt;
  auto bits = static_cast<Bits>(m->value);
  if (m->negative) bits = static_cast<Bits>(Bits{0} - bits);
  return static_cast<Int>(bits);
}

}  // namespace

std::optional<int32_t> ParseInteger(std::string_view text) {
  return ParseSigned<int32_t>(text);
}

std::optional<int64_t> ParseInteger64(std::string_view text) {
  return ParseSigned<int64_t>(text);
}

std::optional<bool> ParseBoolean(std::string_view text) {
  if (base::EqualsIgnoreCase(text, "TRUE")) return true;
  if (base::EqualsIgnoreCase(text, "FALSE")) return false;
  return std::nullopt;
}

int32_t ReadInteger(const SettingsList& list, std::string_view key, int32_t fallback) {
  return ParseInteger(list.Value(key)).value_or(fallback);
}

int64_t ReadInteger64(const SettingsList& list, std::string_view key, int64_t fallback) {
  return ParseInteger64(list.Value(key)).value_or(fallback);
}

bool ReadBoolean(const SettingsList& list, std::string_view key, bool fallback) {
  return ParseBoolean(list.Value(key)).value_or(fallback);
}

std::string ReadTextOrNone(const SettingsList& list, std::string_view key) {
  std::string value = list.Value(key);
  return value == kNone ? std::string() : value;
}

std::string TextOrNone(std::string_view text) {
  return std::string(text.empty() ? kNone : text);
}

std::string IndexedKey(std::string_view name, int index) {
  return std::string(name) + "[" + std::to_string(index) + "]";
}

}  // namespace mavu::resource
