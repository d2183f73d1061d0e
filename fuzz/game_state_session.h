#pragma once

#include <string>
#include <string_view>

#include "fuzz_game_folder.h"
#include "support/script/live_game.h"

// The game whose state the state-stream fuzz target and its seeds write and
// read: a small scene of pictures, a message, the camera and variables.
namespace mavu::fuzz {

inline constexpr std::string_view kStateScene =
    "@@start\n"
    "\\gvar,img,a\\gvar,msg,m\\gvar,int,n,grid[2,2]\\gvar,str,s\\cal,n=3,s=\"x\"\n"
    "\\scp,a\\fr,0,0,20,20,$FFFFFFFFFFFF0000\\e\\p,10,10,5,500\n"
    "\\scp,m\\ts,0,0,200,40\\e\\t,[spd,50]text on its way\n"
    "\\scp,cam\\p,5,5,400\n"
    "\\sub,@@inner\n"
    "@@inner\n"
    "\\if,n==3\n"
    "\\wait,100000\n"
    "\\fi\n";

// The scene six frames in.
class GameStateSession {
 public:
  GameStateSession()
      : game_({{"main.s", std::string(kStateScene)}}, GamePath() / "SaveData", 320, 240) {
    game_.Frames(6);
  }

  script::TKelScript& Script() { return game_.Script(); }

 private:
  test::LiveGame game_;
};

}  // namespace mavu::fuzz
