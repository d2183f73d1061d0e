#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "resource/setting_values.h"

namespace mavu::resource {

// Read through the data tree when the system object starts.
inline constexpr std::string_view kVoiceTablePath = "system\\voice\\voicedata.dat";

// For each speaker, the texts of its "act[N]" line.
struct VoiceTable {
  std::array<std::vector<std::string>, kSpeakerCount> Speakers;
};

// "act[N]=a,b,..." with blanks dropped and "//" starting a comment. A missing
// file or key gives empty lists.
VoiceTable ReadVoiceTable(const std::optional<base::Bytes>& file);

}  // namespace mavu::resource
