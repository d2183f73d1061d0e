#include "resource/save_data.h"

#include <new>
#include <utility>

#include "base/byte_writer.h"
#include "base/file_io.h"
#include "resource/bpe.h"
#include "resource/scramble.h"
#include "resource/sealed_stream.h"

namespace mavu::resource {
namespace {

void AppendBlock(base::ByteWriter& payload, std::span<const uint8_t> block) {
  payload.U32(static_cast<uint32_t>(block.size())).Append(block);
}

std::span<const uint8_t> ReadBlock(base::ByteReader& payload) {
  const uint32_t length = payload.U32();
  return payload.Span(length);
}

}  // namespace

void TKelSaveData::SetHeader(const SaveTitles& titles, std::string_view excerptSource) {
  header_ = SaveHeader::Make(titles, excerptSource, CurrentSaveTime());
}

void TKelSaveData::SetState(std::span<const uint8_t> state) {
  state_.emplace(state.begin(), state.end());
}

void TKelSaveData::SetThumbnail(SaveThumbnail thumbnail) {
  thumbnail_ = std::move(thumbnail);
}

void TKelSaveData::ClearSaveData() {
  header_ = SaveHeader{};
  thumbnail_.reset();
  state_.reset();
}

std::optional<base::Bytes> TKelSaveData::BuildFile(bool compress) const {
  base::Bytes state = state_.value_or(base::Bytes{});
  if (state.size() > kBpeMaxUnpacked) return std::nullopt;
  if (compress) state = BpeCompress(state);
  ScrambleBlocks(state, ScrambleDirection::kScramble, codeKey_);
  SaveHeader header = header_;
  header.scrambled = true;
  header.packed = compress;
  base::ByteWriter payload;
  header.Write(payload);
  AppendBlock(payload, thumbnail_ ? thumbnail_->ToBmp() : base::Bytes{});
  AppendBlock(payload, state);
  base::ByteWriter file;
  SealStream(payload.Data(), file);
  return file.Take();
}

bool TKelSaveData::WriteSaveFile(const std::filesystem::path& path, bool compress) const {
  const auto file = BuildFile(compress);
  return file && base::WriteFileAtomic(path, *file);
}

bool TKelSaveData::ReadSaveFile(const std::filesystem::path& path, bool checkHeader, bool loadState,
                                bool loadThumbnail) {
  const auto file = base::ReadWholeFile(path);
  if (!file) return Fail();
  base::ByteReader in(*file);
  return ReadSaveStream(in, checkHeader, loadState, loadThumbnail);
}

bool TKelSaveData::ReadSaveStream(base::ByteReader& in, bool checkHeader, bool loadState,
                                  bool loadThumbnail) {
  const auto payload = UnsealStream(in);
  if (!payload) return Fail();
  ClearSaveData();
  try {
    ReadPayload(*payload, checkHeader, loadState, loadThumbnail);
  } catch (const base::FormatError&) {
    return Fail();
  } catch (const std::bad_alloc&) {
    return Fail();
  }
  return true;
}

// Throws base::FormatError for any damage.
void TKelSaveData::ReadPayload(std::span<const uint8_t> payload, bool checkHeader, bool loadState,
                               bool loadThumbnail) {
  base::ByteReader in(payload);
  if (checkHeader || loadState) {
    auto header = SaveHeader::Read(in);
    if (!header) throw base::FormatError("not a saved game of this engine");
    header_ = std::move(*header);
  }
  in.Seek(kSaveHeaderSize);
  const auto bmp = ReadBlock(in);
  if (loadThumbnail && !bmp.empty()) {
    thumbnail_ = SaveThumbnail::FromBmp(bmp);
    if (!thumbnail_) throw base::FormatError("damaged thumbnail");
  }
  const auto state = ReadBlock(in);
  if (loadState) state_ = DecodeState(state);
}

base::Bytes TKelSaveData::DecodeState(std::span<const uint8_t> stored) const {
  base::Bytes state(stored.begin(), stored.end());
  if (header_.scrambled) ScrambleBlocks(state, ScrambleDirection::kUnscramble, codeKey_);
  if (!header_.packed) return state;
  auto expanded = BpeExpand(state);
  if (!expanded) throw base::FormatError("the game state does not expand");
  return std::move(*expanded);
}

bool TKelSaveData::Fail() {
  ClearSaveData();
  return false;
}

}  // namespace mavu::resource
