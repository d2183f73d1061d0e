#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "base/byte_reader.h"
#include "base/bytes.h"
#include "resource/save_header.h"
#include "resource/save_thumbnail.h"

namespace mavu::resource {

// One saved game in memory. The file is a sealed stream whose payload is the
// 1024-byte header, a u32 length and the thumbnail's BMP image (length 0 for
// none), then a u32 length and the state: packed when the header says so, then
// scrambled in 8-byte blocks with the game's code key.
class TKelSaveData {
 public:
  explicit TKelSaveData(uint32_t codeKey) : codeKey_(codeKey) {}

  // A fresh header: the signature, no flags, the current local time, the
  // titles and the excerpt's source, cut as the file holds them.
  void SetHeader(const SaveTitles& titles, std::string_view excerptSource);
  void SetState(std::span<const uint8_t> state);
  void SetThumbnail(SaveThumbnail thumbnail);
  void ClearSaveData();

  const SaveHeader& Header() const { return header_; }
  const std::optional<SaveThumbnail>& Thumbnail() const { return thumbnail_; }
  const std::optional<base::Bytes>& State() const { return state_; }

  // The file's bytes (the state scrambled always, packed when `compress`); a
  // missing state is stored empty. Nothing for a state over kBpeMaxUnpacked.
  std::optional<base::Bytes> BuildFile(bool compress) const;
  // Replaces the file whole: a failed write keeps the previous file and leaves
  // no temporary file behind.
  bool WriteSaveFile(const std::filesystem::path& path, bool compress) const;

  // Reads a sealed save from the reader's position. The seal is checked before
  // anything else, the header when `checkHeader` or `loadState`; the lengths of
  // thumbnail and state are always checked, their contents only when loaded.
  // False for any damage, and the object is then left cleared. A slot list
  // reads the header alone: checkHeader only.
  bool ReadSaveStream(base::ByteReader& in, bool checkHeader, bool loadState, bool loadThumbnail);
  // False also when the file is missing or unreadable.
  bool ReadSaveFile(const std::filesystem::path& path, bool checkHeader, bool loadState,
                    bool loadThumbnail);

 private:
  void ReadPayload(std::span<const uint8_t> payload, bool checkHeader, bool loadState,
                   bool loadThumbnail);
  base::Bytes DecodeState(std::span<const uint8_t> stored) const;
  bool Fail();

  uint32_t codeKey_;
  SaveHeader header_;
  std::optional<SaveThumbnail> thumbnail_;
  std::optional<base::Bytes> state_;
};

}  // namespace mavu::resource
