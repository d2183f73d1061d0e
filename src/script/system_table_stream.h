#pragma once

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/system_data.h"
#include "script/value.h"

namespace mavu::script {

// The system variable table as system data stores it: the table stream.
class TSystemTableStream : public resource::TSystemVariableStream {
 public:
  explicit TSystemTableStream(TValue& table) : table_(table) {}

  bool WriteVariables(base::ByteWriter& out) override { return table_.WriteTable(out); }
  void ReadVariables(base::ByteReader& in) override { table_.ReadTable(in); }

 private:
  TValue& table_;
};

}  // namespace mavu::script
