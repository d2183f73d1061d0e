#include <string_view>

#include "resource/setting_values.h"
#include "resource/settings_list.h"
#include "resource/user_settings.h"
#include "seed_registry.h"

namespace {

using namespace mavu;

base::Bytes FromText(std::string_view text) {
  return {text.begin(), text.end()};
}

base::Bytes UserSettingsSeed() {
  resource::UserSettings s;
  s.FullScreen = 1;
  s.FPSLimit = 60;
  s.Font[0] = {"\x82\x6C\x82\x72 Gothic", 1, 0};
  s.TCPProxyHost = "proxy";
  s.ActorVolume[5] = 100;
  s.ActorMute[31] = 1;
  resource::SettingsList list("; player settings\r\nMyTool=on");
  resource::StoreUserSettings(s, list);
  return FromText(list.Text());
}

base::Bytes GameSettingsSeed() {
  resource::SettingsList list;
  list.Set("ScreenWidth", "1024");
  list.Set("ScreenHeight", "$300");
  list.Set("GameTitle", "\x83\x66\x83\x82 %%%n");
  list.Set("FormCaption", "%%%fps/%%%limit %%%cpu");
  list.Set("CodeKey", "$123456789");
  list.Set("ConfigSoundTab", "false");
  list.Set("ConfigMovie", "no");
  list.Set(resource::IndexedKey("key", 0), "112,*F1 // help");
  list.Set(resource::IndexedKey("key", 31), "13");
  list.Set(resource::IndexedKey("act", 0), "a, (b,c) ,\"d,e\",");
  list.Set("EXIT_Text", "%%%app%%%nquit?");
  return FromText(list.Text());
}

}  // namespace

MAVU_FUZZ_SEEDS(settings_parser) {
  return {UserSettingsSeed(), GameSettingsSeed(), FromText("a=1\nb\rc=\r\n=\n\n")};
}
