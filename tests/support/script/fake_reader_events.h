#pragma once

#include <string>
#include <utility>
#include <vector>

#include "script/reader/reader_events.h"

namespace mavu::script::test {

// Records every report so tests can check what the reader said and when.
class FakeReaderEvents : public ReaderEvents {
 public:
  void LineReached(const std::string& key, int32_t offset) override {
    lines.emplace_back(key, offset);
  }
  void PositionWarning(const std::string& text) override { warnings.push_back(text); }
  void ReaderError(const std::string& message) override { errors.push_back(message); }

  std::vector<std::pair<std::string, int32_t>> lines;
  std::vector<std::string> warnings;
  std::vector<std::string> errors;
};

}  // namespace mavu::script::test
