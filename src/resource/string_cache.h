#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mavu::resource {

// The unreduced key sum: the total of byte(i) * (i mod 256), i counting from 1.
uint32_t KeySum(std::string_view key);

// A small ring of recently used key -> value pairs in front of a hash table.
class TStringCache {
 public:
  explicit TStringCache(size_t slots);

  void Put(std::string_view key, uint64_t value);
  uint64_t Get(std::string_view key, uint64_t fallback) const;
  std::optional<uint64_t> Find(std::string_view key) const;
  bool Contains(std::string_view key) const;
  void Remove(std::string_view key);
  void Clear();

 private:
  struct Slot {
    std::string key;
    uint32_t sum = 0;
    uint64_t value = 0;
    bool used = false;
  };
  int FindSlot(std::string_view key, uint32_t sum) const;

  std::vector<Slot> slots_;
  size_t next_ = 0;
};

}  // namespace mavu::resource
