#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "resource/game_settings.h"
#include "resource/message_table.h"
#include "resource/settings_list.h"
#include "resource/user_settings.h"
#include "resource/voice_table.h"

namespace resource = mavu::resource;

// Arbitrary bytes as Game.dat, the voice table, the message table and config.txt.
// Storing the settings read from a config file back into it must read back the same.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<mavu::base::Bytes> file(std::in_place, data, data + size);
  resource::ReadGameSettings(file);
  resource::ReadVoiceTable(file);

  resource::MessageTable messages;
  messages.LoadFromBytes(*file);
  resource::DialogDisplayText(messages.Text("EXIT_Text"), messages.Text("OK"));

  auto list = resource::SettingsList::FromBytes(*file);
  auto settings = resource::ReadUserSettings(list);
  resource::StoreUserSettings(settings, list);
  auto reread = resource::SettingsList(list.Text());
  if (!(resource::ReadUserSettings(reread) == settings)) std::abort();
  return 0;
}
