#pragma once

#include <vorbis/vorbisenc.h>

#include <cstdint>

#include "base/byte_writer.h"
#include "base/bytes.h"

namespace mavu::tools {

// libvorbisenc's analysis chain (VBR), writing the Ogg pages of one stream
// into memory. Throws std::invalid_argument for a format the library refuses.
class VorbisEncoder {
 public:
  // `quality` from -0.1 to 1; `serial` names the Ogg stream (files that are
  // chained need different ones).
  VorbisEncoder(int32_t channels, int32_t rate, float quality, int32_t serial);
  ~VorbisEncoder();
  VorbisEncoder(const VorbisEncoder&) = delete;
  VorbisEncoder& operator=(const VorbisEncoder&) = delete;

  // One buffer per channel, room for `frames`; Wrote says how many were filled.
  float** Buffer(int32_t frames) { return vorbis_analysis_buffer(&dsp_, frames); }
  void Wrote(int32_t frames);
  // Ends the stream and hands over the whole file.
  base::Bytes Finish();

 private:
  void WriteHeaders();
  void EncodeReadyBlocks();
  void FlushPages();
  void Append(const ogg_page& page);

  vorbis_info info_;
  vorbis_comment comment_;
  vorbis_dsp_state dsp_;
  vorbis_block block_;
  ogg_stream_state stream_;
  base::ByteWriter file_;
};

}  // namespace mavu::tools
