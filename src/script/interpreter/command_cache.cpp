#include "script/interpreter/command_cache.h"

#include "script/interpreter/command_code.h"

namespace mavu::script {

namespace {

std::shared_ptr<const ParsedCommand> Split(std::string_view trimmed) {
  auto parsed = std::make_shared<ParsedCommand>();
  SplitWords(parsed->words, trimmed, ',');
  parsed->code = CommandCode(parsed->words.words[0]);
  return parsed;
}

}  // namespace

std::shared_ptr<const ParsedCommand> CommandCache::Parse(std::string_view trimmed) {
  if (trimmed.size() > kMaxCachedBytes) return Split(trimmed);
  std::string key(trimmed);
  if (auto it = entries_.find(key); it != entries_.end()) return it->second;
  auto parsed = Split(trimmed);
  if (entries_.size() >= capacity_) entries_.clear();
  entries_.emplace(std::move(key), parsed);
  return parsed;
}

}  // namespace mavu::script
