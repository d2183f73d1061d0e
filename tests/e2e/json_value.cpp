#include "json_value.h"

#include <charconv>
#include <stdexcept>

namespace mavu::test {

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : text_(text) {}

  JsonValue Document() {
    JsonValue value = Value();
    Blanks();
    if (pos_ != text_.size()) Fail("text after the value");
    return value;
  }

 private:
  JsonValue Value() {
    Blanks();
    JsonValue value;
    const char c = Peek();
    if (c == '{') {
      value.value_ = Object();
    } else if (c == '[') {
      value.value_ = Array();
    } else if (c == '"') {
      value.value_ = String();
    } else if (Word("true")) {
      value.value_ = true;
    } else if (Word("false")) {
      value.value_ = false;
    } else if (Word("null")) {
      value.value_ = std::monostate{};
    } else {
      value.value_ = Number();
    }
    return value;
  }

  JsonValue::Object Object() {
    JsonValue::Object members;
    Expect('{');
    Blanks();
    if (Take('}')) return members;
    do {
      Blanks();
      std::string key = String();
      Blanks();
      Expect(':');
      if (!members.emplace(std::move(key), Value()).second) Fail("a key twice");
      Blanks();
    } while (Take(','));
    Expect('}');
    return members;
  }

  JsonValue::Array Array() {
    JsonValue::Array items;
    Expect('[');
    Blanks();
    if (Take(']')) return items;
    do {
      items.push_back(Value());
      Blanks();
    } while (Take(','));
    Expect(']');
    return items;
  }

  std::string String() {
    Expect('"');
    std::string out;
    while (true) {
      const char c = Next();
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("a raw control character");
      if (c != '\\') {
        out += c;
        continue;
      }
      const char e = Next();
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u':
          AppendUtf8(out, CodePoint());
          break;
        default:
          Fail("an unknown escape");
      }
    }
  }

  uint32_t CodePoint() {
    uint32_t unit = Hex4();
    if (unit < 0xD800 || unit > 0xDFFF) return unit;
    if (unit > 0xDBFF || !Take('\\') || !Take('u')) Fail("a lone surrogate");
    const uint32_t low = Hex4();
    if (low < 0xDC00 || low > 0xDFFF) Fail("a lone surrogate");
    return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
  }

  uint32_t Hex4() {
    if (text_.size() - pos_ < 4) Fail("a short \\u escape");
    uint32_t value = 0;
    const auto [end, error] =
        std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, value, 16);
    if (error != std::errc() || end != text_.data() + pos_ + 4) Fail("a bad \\u escape");
    pos_ += 4;
    return value;
  }

  static void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  int64_t Number() {
    int64_t value = 0;
    const auto [end, error] =
        std::from_chars(text_.data() + pos_, text_.data() + text_.size(), value);
    if (error != std::errc()) Fail("a bad value");
    pos_ = static_cast<size_t>(end - text_.data());
    if (pos_ < text_.size() && (text_[pos_] == '.' || text_[pos_] == 'e' || text_[pos_] == 'E')) {
      Fail("a number that is not whole");
    }
    return value;
  }

  void Blanks() {
    while (pos_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos) {
      ++pos_;
    }
  }

  bool Word(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  char Next() {
    if (pos_ >= text_.size()) Fail("the end of the text");
    return text_[pos_++];
  }
  bool Take(char c) {
    if (Peek() != c || pos_ >= text_.size()) return false;
    ++pos_;
    return true;
  }
  void Expect(char c) {
    if (!Take(c)) Fail(std::string("no '") + c + "'");
  }
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("bad JSON at byte " + std::to_string(pos_) + ": " + what);
  }

  std::string_view text_;
  size_t pos_ = 0;
};

JsonValue JsonValue::Parse(std::string_view text) {
  return JsonParser(text).Document();
}

namespace {

template <typename T, typename V>
const T& As(const V& value, const char* kind) {
  if (const T* held = std::get_if<T>(&value)) return *held;
  throw std::runtime_error(std::string("the JSON value is not ") + kind);
}

}  // namespace

int64_t JsonValue::Number() const {
  return As<int64_t>(value_, "a number");
}

const std::string& JsonValue::String() const {
  return As<std::string>(value_, "a string");
}

const JsonValue::Array& JsonValue::Items() const {
  return As<Array>(value_, "an array");
}

const JsonValue::Object& JsonValue::Members() const {
  return As<Object>(value_, "an object");
}

const JsonValue& JsonValue::operator[](std::string_view key) const {
  const Object& members = Members();
  auto it = members.find(key);
  if (it == members.end()) throw std::runtime_error("no member \"" + std::string(key) + "\"");
  return it->second;
}

bool JsonValue::Has(std::string_view key) const {
  return Members().find(key) != Members().end();
}

}  // namespace mavu::test
