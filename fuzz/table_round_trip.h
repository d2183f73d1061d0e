#pragma once

#include <cstddef>
#include <cstdint>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "script/values/value.h"

namespace mavu::fuzz {

inline base::Bytes WriteTable(script::TValue& table) {
  base::ByteWriter out;
  table.WriteTable(out);
  return out.Take();
}

// Reads arbitrary bytes as a variable table held by a fresh `Fixture` (which
// has a `table` member). A refused stream must leave `leftNothing(fixture)`
// true; an accepted one must write out a stream that reads back and writes out
// again to the same bytes. A break of either rule traps, which is a finding.
template <typename Fixture, typename LeftNothing>
void CheckTableRoundTrip(const uint8_t* data, size_t size, LeftNothing leftNothing) {
  Fixture first;
  base::ByteReader in({data, size});
  try {
    first.table.ReadTable(in);
  } catch (const base::FormatError&) {
    if (!leftNothing(first)) __builtin_trap();
    return;
  }
  const base::Bytes written = WriteTable(first.table);
  Fixture second;
  base::ByteReader again(written);
  second.table.ReadTable(again);  // a FormatError here ends the run as a finding
  if (!again.AtEnd() || WriteTable(second.table) != written) __builtin_trap();
}

}  // namespace mavu::fuzz
