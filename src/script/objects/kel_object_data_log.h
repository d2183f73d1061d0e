#pragma once

#include <string>

#include "imaging/kel_log_data.h"
#include "script/objects/kel_object_data_custom.h"

namespace mavu::script {

// The backlog object (`TKelObjectDataLog`, kind log): scripts clear the
// backlog and add entries through it. The backlog belongs to the interpreter.
class TKelObjectDataLog : public TKelObjectDataCustom {
 public:
  TKelObjectDataLog(std::string name, imaging::TKelLogData& backlog)
      : TKelObjectDataCustom(std::move(name), ObjectKind::kLog), backlog_(backlog) {}

  imaging::TKelLogData& Backlog() { return backlog_; }

 private:
  imaging::TKelLogData& backlog_;
};

}  // namespace mavu::script
