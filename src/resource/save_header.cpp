#include "resource/save_header.h"

#include <bit>
#include <chrono>
#include <cmath>

#include "base/cp932.h"

namespace mavu::resource {
namespace {

constexpr size_t kSignatureWidth = 16;
constexpr size_t kTextLimit = kSaveTextWidth - 1;
// Signature, two flags, the time and five texts; zeros fill the rest.
constexpr size_t kUsedSize = kSignatureWidth + 2 + sizeof(double) + 5 * kSaveTextWidth;
static_assert(kUsedSize <= kSaveHeaderSize);

constexpr double kSecondsPerDay = 86400;

std::string Cut(std::string_view text) {
  return std::string(base::TruncateWhole(text, kTextLimit));
}

std::tm LocalTime(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  return local;
}

bool SignatureMatches(base::ByteReader& in) {
  const std::string field = in.Text(kSignatureWidth);
  return std::string_view(field.c_str()) == kSaveSignature;
}

}  // namespace

SaveHeader SaveHeader::Make(const SaveTitles& titles, std::string_view excerptSource,
                            double saveTime) {
  SaveHeader header;
  header.saveTime = saveTime;
  for (size_t i = 0; i < kSaveTitleCount; ++i) header.titles[i] = Cut(titles[i]);
  header.excerpt = Cut(base::MbcsCopy(excerptSource, 1, kSaveExcerptCharacters));
  return header;
}

void SaveHeader::Write(base::ByteWriter& out) const {
  out.FixedText(kSaveSignature, kSignatureWidth);
  out.U8(scrambled ? 1 : 0).U8(packed ? 1 : 0).U64(std::bit_cast<uint64_t>(saveTime));
  for (const std::string& title : titles) out.ShortString(title, kSaveTextWidth);
  out.ShortString(excerpt, kSaveTextWidth).Zeros(kSaveHeaderSize - kUsedSize);
}

std::optional<SaveHeader> SaveHeader::Read(base::ByteReader& in) {
  base::ByteReader field(in.Span(kSaveHeaderSize));
  if (!SignatureMatches(field)) return std::nullopt;
  SaveHeader header;
  header.scrambled = field.U8() != 0;
  header.packed = field.U8() != 0;
  header.saveTime = std::bit_cast<double>(field.U64());
  if (!std::isfinite(header.saveTime)) header.saveTime = 0;
  for (std::string& title : header.titles) title = field.ShortString(kSaveTextWidth, true);
  header.excerpt = field.ShortString(kSaveTextWidth, true);
  return header;
}

double SaveTimeOf(const std::tm& local, int milliseconds) {
  using namespace std::chrono;
  constexpr sys_days kDayZero = year{1899} / December / 30;
  const sys_days date = year{local.tm_year + 1900} /
                        month{static_cast<unsigned>(local.tm_mon + 1)} /
                        day{static_cast<unsigned>(local.tm_mday)};
  const double seconds =
      local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + milliseconds / 1000.0;
  return static_cast<double>((date - kDayZero).count()) + seconds / kSecondsPerDay;
}

double LocalSaveTime(std::time_t moment) {
  return SaveTimeOf(LocalTime(moment));
}

double CurrentSaveTime() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto whole = floor<seconds>(now);
  const auto fraction = duration_cast<milliseconds>(now - whole);
  return SaveTimeOf(LocalTime(system_clock::to_time_t(whole)), static_cast<int>(fraction.count()));
}

}  // namespace mavu::resource
