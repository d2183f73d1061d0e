#include "resource/string_cache.h"

namespace mavu::resource {

uint32_t KeySum(std::string_view key) {
  uint32_t sum = 0;
  for (size_t i = 1; i <= key.size(); ++i) {
    sum += static_cast<uint32_t>(static_cast<uint8_t>(key[i - 1])) * static_cast<uint32_t>(i % 256);
  }
  return sum;
}

TStringCache::TStringCache(size_t slots) : slots_(slots) {}

int TStringCache::FindSlot(std::string_view key, uint32_t sum) const {
  for (size_t i = 0; i < slots_.size(); ++i) {
    const Slot& slot = slots_[i];
    if (slot.used && slot.sum == sum && slot.key == key) return static_cast<int>(i);
  }
  return -1;
}

void TStringCache::Put(std::string_view key, uint64_t value) {
  if (slots_.empty()) return;
  const uint32_t sum = KeySum(key);
  const int found = FindSlot(key, sum);
  if (found >= 0) {
    slots_[found].value = value;
    return;
  }
  slots_[next_] = Slot{std::string(key), sum, value, true};
  next_ = (next_ + 1) % slots_.size();
}

uint64_t TStringCache::Get(std::string_view key, uint64_t fallback) const {
  const int found = FindSlot(key, KeySum(key));
  return found >= 0 ? slots_[found].value : fallback;
}

std::optional<uint64_t> TStringCache::Find(std::string_view key) const {
  const int found = FindSlot(key, KeySum(key));
  if (found < 0) return std::nullopt;
  return slots_[found].value;
}

bool TStringCache::Contains(std::string_view key) const {
  return FindSlot(key, KeySum(key)) >= 0;
}

void TStringCache::Remove(std::string_view key) {
  const int found = FindSlot(key, KeySum(key));
  if (found >= 0) slots_[found] = Slot{};
}

void TStringCache::Clear() {
  for (Slot& slot : slots_) slot = Slot{};
  next_ = 0;
}

}  // namespace mavu::resource
