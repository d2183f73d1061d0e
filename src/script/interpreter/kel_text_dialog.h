#pragma once

#include <cstdint>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::script {

// What the name-entry dialog keeps between showings and in saved games: its
// texts and the longest entry it accepts (-1: no limit).
class TKelTextDialog {
 public:
  static constexpr int32_t kNoLimit = -1;

  void Reset() { *this = TKelTextDialog(); }
  void SetTitle(std::string text) { title_ = std::move(text); }
  void SetPrompt(std::string text) { prompt_ = std::move(text); }
  void SetText(std::string text) { text_ = std::move(text); }
  void SetMaxLength(int32_t bytes) { maxLength_ = bytes; }
  const std::string& Title() const { return title_; }
  const std::string& Prompt() const { return prompt_; }
  const std::string& Text() const { return text_; }
  int32_t MaxLength() const { return maxLength_; }

  void SaveToStream(base::ByteWriter& out) const;
  // Reads everything before changing anything; throws base::FormatError.
  void LoadFromStream(base::ByteReader& in);

 private:
  std::string title_;
  std::string prompt_;
  std::string text_;
  int32_t maxLength_ = kNoLimit;
};

}  // namespace mavu::script
