#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_reader.h"
#include "base/cp932.h"

namespace mavu::imaging {

// A cache of objects built from bytes and kept by name (`TCache`), so that
// the same file shown by several objects, or shown again soon after, is
// decoded once. An entry is held by its users; one that nobody holds keeps a
// score that counts down over 48 cache operations before it goes, and the
// unheld entries together stay below the capacity (the lowest score goes first).
template <typename Object>
class TCache {
 public:
  static constexpr int32_t kScoreUnit = 1024;
  static constexpr int32_t kFreshScore = 48;

  explicit TCache(size_t capacity) : capacity_(capacity) {}
  virtual ~TCache() = default;
  TCache(const TCache&) = delete;
  TCache& operator=(const TCache&) = delete;

  // The object kept under the name (letter case ignored), now held once more;
  // or one built from the next `length` bytes. The reader moves past those
  // bytes either way. Null when they build nothing.
  std::shared_ptr<Object> Acquire(base::ByteReader& in, size_t length, std::string_view name) {
    const std::string key = base::LowerName(name);
    length = std::min(length, in.Remaining());
    if (Entry* entry = Find(key)) {
      in.Skip(length);
      return Hold(*entry);
    }
    std::shared_ptr<Object> object = Build(in.Span(length), key);
    if (object == nullptr) return nullptr;
    const size_t size = SizeOf(*object);
    entries_.push_back({key, size, object, 1, 1, Score(1)});
    Maintain();
    return object;
  }

  // Keeps an object made elsewhere under the name, held once.
  void Add(std::string_view name, std::shared_ptr<Object> object) {
    const size_t size = SizeOf(*object);
    entries_.push_back({base::LowerName(name), size, std::move(object), 1, 1, Score(1)});
    Maintain();
  }

  // The object kept under the name, now held once more, or null.
  std::shared_ptr<Object> Lookup(std::string_view name) {
    Entry* entry = Find(base::LowerName(name));
    return entry == nullptr ? nullptr : Hold(*entry);
  }

  // A holder lets go. An object the cache does not keep simply goes with its
  // last holder.
  void Release(const Object* object) {
    for (Entry& entry : entries_) {
      if (entry.object.get() != object) continue;
      entry.users = std::max(entry.users - 1, 0);
      entry.score = Score(entry.hits);
      return;
    }
  }

  void SetCapacity(size_t bytes) {
    capacity_ = bytes;
    Maintain();
  }

  size_t Capacity() const { return capacity_; }
  size_t EntryCount() const { return entries_.size(); }
  bool Holds(std::string_view name) const {
    const std::string key = base::LowerName(name);
    for (const Entry& entry : entries_) {
      if (entry.key == key) return true;
    }
    return false;
  }

 protected:
  // The object the bytes make, or null; `lowerName` tells its kind.
  virtual std::shared_ptr<Object> Build(std::span<const uint8_t> bytes,
                                        std::string_view lowerName) = 0;
  // The bytes it is charged with.
  virtual size_t SizeOf(const Object& object) const = 0;

 private:
  struct Entry {
    std::string key;
    size_t size = 0;
    std::shared_ptr<Object> object;
    int32_t users = 0;
    int32_t hits = 0;
    int32_t score = 0;
  };

  static int32_t Score(int32_t hits) { return hits * kScoreUnit + kFreshScore; }

  Entry* Find(const std::string& key) {
    for (Entry& entry : entries_) {
      if (entry.key == key) return &entry;
    }
    return nullptr;
  }

  std::shared_ptr<Object> Hold(Entry& entry) {
    std::shared_ptr<Object> object = entry.object;
    ++entry.users;
    ++entry.hits;
    entry.score = Score(entry.hits);
    Maintain();
    return object;
  }

  void Maintain() {
    constexpr int32_t kCountdown = kScoreUnit - 1;
    for (Entry& entry : entries_) {
      if (entry.users == 0 && (entry.score & kCountdown) != 0) --entry.score;
    }
    std::erase_if(entries_,
                  [](const Entry& e) { return e.users == 0 && (e.score & kCountdown) == 0; });
    while (UnheldSize() >= capacity_ && UnheldSize() > 0) {
      auto lowest = entries_.end();
      for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->users == 0 && (lowest == entries_.end() || it->score < lowest->score)) lowest = it;
      }
      entries_.erase(lowest);
    }
  }

  size_t UnheldSize() const {
    size_t total = 0;
    for (const Entry& entry : entries_) {
      if (entry.users == 0) total += entry.size;
    }
    return total;
  }

  size_t capacity_;
  std::vector<Entry> entries_;
};

}  // namespace mavu::imaging
