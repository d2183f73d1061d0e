#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/values/value.h"
#include "shell/platform/headless/scripted_dialogs.h"

namespace mavu::shell {

// What a headless run reports at its end.
struct RunState {
  const script::TValue& global;
  const script::TValue& system;
  const std::vector<std::string>& errors;  // the error-log lines, CP932
  std::string position;                    // the reader's position text, CP932
  int64_t frames = 0;
  std::span<const DialogRecord> dialogs = {};  // in the order shown
};

// {"global":{...},"system":{...},"errors":[...],"position":"...","frames":N,
// "dialogs":[...]} followed by a line feed. Each table lists its variables under their declared
// names, sorted ignoring letter case; a variable with one element and no declared size is
// its value, any other an array of its elements in storage order. Integers are
// numbers; strings and object names (the name of the object a variable holds)
// are strings. Engine text is converted from CP932. Each dialog is
// {"frame":N,"kind":"confirm"|"notice"|"exit","caption":"...","text":"...",
// "buttons":["...",...],"answer":N}.
std::string VariableDumpJson(const RunState& state);

}  // namespace mavu::shell
