#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::script {

// The movie player's part of a saved game (156 bytes): the video rectangle,
// the file's path, the position in 100-nanosecond units and the play state.
struct MovieRecord {
  static constexpr size_t kSize = 156;
  static constexpr size_t kPathField = 128;

  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::string path;
  int64_t position = 0;
  int32_t state = 0;  // 0 stopped, 1 paused, 2 playing

  void Write(base::ByteWriter& out) const;
  // Throws base::FormatError for a short block, a path length over 127 or a
  // state other than 0..2.
  static MovieRecord Read(base::ByteReader& in);
};

}  // namespace mavu::script
