#include "resource/voice_table.h"

#include "base/cp932.h"
#include "resource/setting_values.h"
#include "resource/settings_list.h"

namespace mavu::resource {

VoiceTable ReadVoiceTable(const std::optional<base::Bytes>& file) {
  VoiceTable table;
  if (!file) return table;
  auto list = SettingsList::FromBytes(*file);
  for (int i = 0; i < kSpeakerCount; ++i) {
    std::string value = list.Value(IndexedKey("act", i));
    table.Speakers[i] = base::SplitList(",", value, true, true);
  }
  return table;
}

}  // namespace mavu::resource
