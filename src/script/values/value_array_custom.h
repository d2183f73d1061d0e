#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "script/values/return_value.h"

namespace mavu::script {

// The indices of one element access, in the order written: x[a,b] is {a, b}.
struct ArrayIndex {
  static constexpr int kMaxIndices = 4;

  std::array<int32_t, kMaxIndices> at{};
  int32_t count = 0;
};

// The storage of one variable: its name, value kind, four sizes and elements.
// Every variable is an array of up to four dimensions; a plain variable has one
// element. The three kinds of element (integer, string, object name) live in
// the derived classes.
//
// The sizes are stored as S0 = size of the last declared index, S1 = of the
// second-last, S2 = of the fourth-last, S3 = of the third-last (missing ones 1);
// the element count is their product. Elements are addressed row-major by one
// combined index, and only that index is checked against the element count.
class TValueArrayCustom {
 public:
  static constexpr int kDimensions = 4;
  // No declaration or stream may ask for more elements than this.
  static constexpr int32_t kMaxElements = 1 << 20;

  using Sizes = std::array<int32_t, kDimensions>;

  TValueArrayCustom(ValueKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
  virtual ~TValueArrayCustom() = default;
  TValueArrayCustom(const TValueArrayCustom&) = delete;
  TValueArrayCustom& operator=(const TValueArrayCustom&) = delete;

  // The storage operations, in their slot order.
  //
  // Grows or shrinks to `count` elements (object storage creates or frees its
  // objects). False when something could not be created or freed; the count is
  // set all the same.
  virtual bool SetCount(int32_t count) = 0;
  // `index` lies in 0 .. Count()-1.
  virtual TReturnValue ReadElement(int32_t index) const = 0;
  // Converts to the storage's kind: integer storage takes the integer part,
  // string and object storage the text part.
  virtual void WriteElement(int32_t index, const TReturnValue& value) = 0;
  // The elements of the table stream. False when an object could not write its
  // state.
  virtual bool WriteElements(base::ByteWriter& out) const = 0;
  // Reads `count` elements written by WriteElements; FormatError on bad data.
  virtual void ReadElements(base::ByteReader& in, int32_t count) = 0;

  // The object kind name ("img" ...); empty for integer and string storage.
  virtual const std::string& KindName() const;
  virtual bool IsReference() const { return false; }

  ValueKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  const Sizes& StoredSizes() const { return sizes_; }
  int32_t Count() const { return count_; }

  // Sizes in declaration order (at most four; missing or below 1 count as 1).
  // False, with nothing changed, when the elements would exceed kMaxElements.
  bool Declare(std::span<const int32_t> declared);
  // Takes S0..S3 and the element count of a table stream before its elements
  // are read; FormatError unless they are sizes a declaration could give. The
  // stream does not say how many sizes were declared (see CombinedIndex).
  void LoadSizes(const Sizes& stored, int32_t count);
  // The combined index of an element, or none outside 0 .. Count()-1.
  std::optional<int32_t> CombinedIndex(const ArrayIndex& index) const;

 protected:
  void SetCountField(int32_t count) { count_ = count; }

 private:
  ValueKind kind_;
  std::string name_;
  Sizes sizes_{1, 1, 1, 1};
  // How many sizes the declaration gave; unknown for a variable read back
  // from a table stream.
  std::optional<int> declaredSizes_ = 0;
  int32_t count_ = 0;
};

}  // namespace mavu::script
