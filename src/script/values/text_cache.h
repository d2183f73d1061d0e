#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace mavu::script {

// What is worked out from a text alone (a command split into words, a
// compiled expression), kept by the text: scripts run the same few texts over
// and over (loops, subroutines, every frame of a wait). When full the cache
// starts again empty, which keeps it simple and bounded; texts longer than
// the limit are rare and costly to keep, and are worked out every time.
// Entries are shared, so that one stays alive while it is in use even if a
// nested run empties the cache.
template <typename Value>
class TextCache {
 public:
  using Make = Value (*)(std::string_view text);

  // A capacity of 0 keeps nothing.
  TextCache(Make make, size_t capacity, size_t longestKept)
      : make_(make), capacity_(capacity), longestKept_(longestKept) {}

  std::shared_ptr<const Value> Get(std::string_view text) {
    if (auto found = entries_.find(text); found != entries_.end()) return found->second;
    auto made = std::make_shared<const Value>(make_(text));
    if (capacity_ == 0 || text.size() > longestKept_) return made;
    if (entries_.size() >= capacity_) entries_.clear();
    entries_.emplace(std::string(text), made);
    return made;
  }

  size_t Size() const { return entries_.size(); }

 private:
  // Looks a text up without making a string of it.
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };

  Make make_;
  size_t capacity_;
  size_t longestKept_;
  std::unordered_map<std::string, std::shared_ptr<const Value>, TextHash, std::equal_to<>>
      entries_;
};

}  // namespace mavu::script
