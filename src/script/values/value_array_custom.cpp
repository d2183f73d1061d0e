#include "script/values/value_array_custom.h"

#include <algorithm>

#include "base/bytes.h"

namespace mavu::script {
namespace {

// Where each declared size goes, counted from the last: the last size is S0,
// the second-last S1, the third-last S3 and the fourth-last S2.
constexpr std::array<int, TValueArrayCustom::kDimensions> kSlotFromLast = {0, 1, 3, 2};

// The element count of the sizes, or none when it exceeds the limit (checked
// step by step, so four large sizes never overflow).
std::optional<int32_t> ElementCount(const TValueArrayCustom::Sizes& sizes) {
  int64_t product = 1;
  for (int32_t size : sizes) {
    product *= size;
    if (product > TValueArrayCustom::kMaxElements) return std::nullopt;
  }
  return static_cast<int32_t>(product);
}

}  // namespace

const std::string& TValueArrayCustom::KindName() const {
  static const std::string kNone;
  return kNone;
}

bool TValueArrayCustom::Declare(std::span<const int32_t> declared) {
  size_t given = std::min<size_t>(declared.size(), kDimensions);
  Sizes sizes{1, 1, 1, 1};
  for (size_t fromLast = 0; fromLast < given; ++fromLast) {
    sizes[kSlotFromLast[fromLast]] = std::max<int32_t>(declared[given - 1 - fromLast], 1);
  }
  std::optional<int32_t> count = ElementCount(sizes);
  if (!count) return false;
  sizes_ = sizes;
  SetCount(*count);
  return true;
}

void TValueArrayCustom::LoadSizes(const Sizes& stored, int32_t count) {
  bool positive = std::all_of(stored.begin(), stored.end(), [](int32_t s) { return s >= 1; });
  std::optional<int32_t> product = positive ? ElementCount(stored) : std::nullopt;
  if (!product) throw base::FormatError("variable " + name_ + ": bad array sizes");
  if (*product != count) throw base::FormatError("variable " + name_ + ": bad element count");
  sizes_ = stored;
}

// The stored sizes do not say how many were declared. Leading sizes of 1 are
// taken as not declared: that changes nothing for any access whose indices lie
// within their own sizes, and it gives the same answer before and after a save.
std::optional<int32_t> TValueArrayCustom::CombinedIndex(const ArrayIndex& index) const {
  std::array<int32_t, kDimensions> declared = {sizes_[2], sizes_[3], sizes_[1], sizes_[0]};
  int first = 0;
  while (first < kDimensions - 1 && declared[first] == 1) ++first;
  int dimensions = kDimensions - first;
  int given = std::clamp<int>(index.count, 0, ArrayIndex::kMaxIndices);
  int used = std::max(dimensions, given);
  // Omitted trailing indices count as 0, sizes beyond the declared ones as 1.
  // The sizes multiply to at most kMaxElements, so 64 bits always suffice.
  int64_t combined = 0;
  for (int i = 0; i < used; ++i) {
    int64_t size = i < dimensions ? declared[first + i] : 1;
    int64_t at = i < given ? index.at[i] : 0;
    combined = combined * size + at;
  }
  if (combined < 0 || combined >= count_) return std::nullopt;
  return static_cast<int32_t>(combined);
}

}  // namespace mavu::script
