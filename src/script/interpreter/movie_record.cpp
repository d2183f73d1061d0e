#include "script/interpreter/movie_record.h"

namespace mavu::script {

void MovieRecord::Write(base::ByteWriter& out) const {
  out.I32(x).I32(y).I32(width).I32(height).ShortString(path, kPathField);
  out.U64(static_cast<uint64_t>(position)).I32(state);
}

MovieRecord MovieRecord::Read(base::ByteReader& in) {
  if (in.Remaining() < kSize) throw base::FormatError("movie state: the block is short");
  MovieRecord record;
  record.x = in.I32();
  record.y = in.I32();
  record.width = in.I32();
  record.height = in.I32();
  record.path = in.ShortString(kPathField);
  record.position = static_cast<int64_t>(in.U64());
  record.state = in.I32();
  if (record.state < 0 || record.state > 2) throw base::FormatError("movie state: bad play state");
  return record;
}

}  // namespace mavu::script
