#include "script/interpreter/system_vocabulary.h"

#include <array>

#include "base/cp932.h"

namespace mavu::script {
namespace {

// Index = action number.
constexpr std::array<std::string_view, 23> kActionNames = {
    "",
    "click",
    "keyclick",
    "skipclick",
    "menu",
    "log",
    "screen",
    "reset",
    "exit",
    "load",
    "save",
    "view",
    "config",
    "text",
    "auto",
    "skip",
    "logskip",
    "sceneskipload",
    "sceneskipnoload",
    "quicksave",
    "quickload",
    "selectload",
    "scenereturn",
};

}  // namespace

SystemAction ActionFromName(std::string_view name) {
  if (name.empty()) return SystemAction::kNone;
  for (size_t i = 1; i < kActionNames.size(); ++i) {
    if (base::EqualsIgnoreCase(name, kActionNames[i])) return static_cast<SystemAction>(i);
  }
  return SystemAction::kNone;
}

}  // namespace mavu::script
