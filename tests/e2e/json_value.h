#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mavu::test {

// A parsed JSON value, for checking what the engine writes. Numbers are
// whole numbers only, as the engine writes no others.
class JsonValue {
 public:
  using Array = std::vector<JsonValue>;
  using Object = std::map<std::string, JsonValue, std::less<>>;

  // Throws std::runtime_error for anything that is not one complete JSON text.
  static JsonValue Parse(std::string_view text);

  bool IsNumber() const { return std::holds_alternative<int64_t>(value_); }
  bool IsString() const { return std::holds_alternative<std::string>(value_); }
  bool IsArray() const { return std::holds_alternative<Array>(value_); }
  bool IsObject() const { return std::holds_alternative<Object>(value_); }

  // Each throws std::runtime_error when the value is of another kind.
  int64_t Number() const;
  const std::string& String() const;
  const Array& Items() const;
  const Object& Members() const;
  const JsonValue& operator[](std::string_view key) const;  // a member that must exist
  bool Has(std::string_view key) const;

 private:
  friend class JsonParser;
  std::variant<std::monostate, bool, int64_t, std::string, Array, Object> value_;
};

}  // namespace mavu::test
