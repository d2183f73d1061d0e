#pragma once

#include <array>
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace mavu::resource {

// The fixed head of a saved game: what a slot list shows without the state.
//   0  16 bytes  "KELSAVEDATA1" and zeros
//  16  u8        the state is scrambled
//  17  u8        the state is packed
//  18  f64       save time (see SaveTimeOf)
//  26  4 × 128   title texts, then the excerpt at 538: a length byte and up
//                to 127 bytes of text each
// Every other byte up to 1024 is zero.
constexpr size_t kSaveHeaderSize = 1024;
inline constexpr std::string_view kSaveSignature = "KELSAVEDATA1";
constexpr size_t kSaveTitleCount = 4;
constexpr size_t kSaveTextWidth = 128;
constexpr int kSaveExcerptCharacters = 30;

using SaveTitles = std::array<std::string, kSaveTitleCount>;

struct SaveHeader {
  // Titles and excerpt already cut to what the file holds, on a whole CP932
  // character; the excerpt to its first 30 characters as well.
  static SaveHeader Make(const SaveTitles& titles, std::string_view excerptSource, double saveTime);

  void Write(base::ByteWriter& out) const;
  // Reads kSaveHeaderSize bytes; nothing when the signature is not ours.
  // Throws base::FormatError when fewer bytes remain. Lenient with the rest:
  // an overlong length byte takes the whole field cut at a character, and a
  // time that is not a finite number reads as 0 (the oldest).
  static std::optional<SaveHeader> Read(base::ByteReader& in);

  bool operator==(const SaveHeader&) const = default;

  bool scrambled = false;
  bool packed = false;
  double saveTime = 0;
  SaveTitles titles;
  std::string excerpt;
};

// Days since 1899-12-30, the time of day as the fraction, from a broken-down
// local time (only the date and time fields count).
double SaveTimeOf(const std::tm& local, int milliseconds = 0);
// The same for a moment, in the process's time zone.
double LocalSaveTime(std::time_t moment);
double CurrentSaveTime();

}  // namespace mavu::resource
