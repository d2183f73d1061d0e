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
  declaredSizes_ = static_cast<int>(given);
  SetCount(*count);
  return true;
}

void TValueArrayCustom::LoadSizes(const Sizes& stored, int32_t count) {
  bool positive = std::all_of(stored.begin(), stored.end(), [](int32_t s) { return s >= 1; });
  std::optional<int32_t> product = positive ? ElementCount(stored) : std::nullopt;
  if (!product) throw base::FormatError("variable " + name_ + ": bad array sizes");
  if (*product != count) throw base::FormatError("variable " + name_ + ": bad element count");
  sizes_ = stored;
  declaredSizes_.reset();
}

// ((a x B + b) x C + c) x D + d over the sizes as declared; omitted trailing
// indices count as 0, and indices beyond the declared sizes meet sizes of 1.
// A variable read back from a table stream has lost how many sizes it was
// declared with: leading sizes of 1 count as not declared, unless the access
// gives more indices, which then take the sizes before them. So every access
// that gives all of a variable's indices reaches the same element after a
// save and load.
std::optional<int32_t> TValueArrayCustom::CombinedIndex(const ArrayIndex& index) const {
  const std::array<int32_t, kDimensions> declared = {sizes_[2], sizes_[3], sizes_[1], sizes_[0]};
  const int given = std::clamp<int>(index.count, 0, ArrayIndex::kMaxIndices);
  int dimensions = 0;
  if (declaredSizes_) {
    dimensions = *declaredSizes_;
  } else {
    int first = 0;
    while (first < kDimensions - 1 && declared[first] == 1) ++first;
    dimensions = std::max(kDimensions - first, given);
  }
  const int first = kDimensions - dimensions;
  const int used = std::max(dimensions, given);
  // The sizes multiply to at most kMaxElements, so 64 bits always suffice.
  int64_t combined = 0;
  for (int i = 0; i < used; ++i) {
    const int64_t size = i < dimensions ? declared[first + i] : 1;
    const int64_t at = i < given ? index.at[i] : 0;
    combined = combined * size + at;
  }
  if (combined < 0 || combined >= count_) return std::nullopt;
  return static_cast<int32_t>(combined);
}

}  // namespace mavu::script
