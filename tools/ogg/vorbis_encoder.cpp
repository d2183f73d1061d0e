#include "vorbis_encoder.h"

#include <stdexcept>
#include <string>

namespace mavu::tools {

VorbisEncoder::VorbisEncoder(int32_t channels, int32_t rate, float quality, int32_t serial) {
  vorbis_info_init(&info_);
  if (vorbis_encode_init_vbr(&info_, channels, rate, quality) != 0) {
    vorbis_info_clear(&info_);
    throw std::invalid_argument("libvorbisenc refuses " + std::to_string(channels) +
                                " channels at " + std::to_string(rate) + " Hz");
  }
  vorbis_comment_init(&comment_);
  vorbis_analysis_init(&dsp_, &info_);
  vorbis_block_init(&dsp_, &block_);
  ogg_stream_init(&stream_, serial);
  WriteHeaders();
}

VorbisEncoder::~VorbisEncoder() {
  ogg_stream_clear(&stream_);
  vorbis_block_clear(&block_);
  vorbis_dsp_clear(&dsp_);
  vorbis_comment_clear(&comment_);
  vorbis_info_clear(&info_);
}

void VorbisEncoder::Wrote(int32_t frames) {
  vorbis_analysis_wrote(&dsp_, frames);
  EncodeReadyBlocks();
}

base::Bytes VorbisEncoder::Finish() {
  Wrote(0);
  FlushPages();
  return file_.Take();
}

void VorbisEncoder::WriteHeaders() {
  ogg_packet id, comments, codebooks;
  vorbis_analysis_headerout(&dsp_, &comment_, &id, &comments, &codebooks);
  for (ogg_packet* packet : {&id, &comments, &codebooks}) ogg_stream_packetin(&stream_, packet);
  FlushPages();  // audio starts on a page of its own
}

void VorbisEncoder::EncodeReadyBlocks() {
  while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
    vorbis_analysis(&block_, nullptr);
    vorbis_bitrate_addblock(&block_);
    ogg_packet packet;
    while (vorbis_bitrate_flushpacket(&dsp_, &packet) == 1) {
      ogg_stream_packetin(&stream_, &packet);
      ogg_page page;
      while (ogg_stream_pageout(&stream_, &page) != 0) Append(page);
    }
  }
}

void VorbisEncoder::FlushPages() {
  ogg_page page;
  while (ogg_stream_flush(&stream_, &page) != 0) Append(page);
}

void VorbisEncoder::Append(const ogg_page& page) {
  file_.Append({page.header, static_cast<size_t>(page.header_len)});
  file_.Append({page.body, static_cast<size_t>(page.body_len)});
}

}  // namespace mavu::tools
