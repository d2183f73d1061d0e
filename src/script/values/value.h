#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "script/values/kel_object_host.h"
#include "script/values/return_value.h"
#include "script/values/script_error_sink.h"
#include "script/values/value_array_custom.h"

namespace mavu::script {

// Access rights of a variable (the attributes of its slot).
inline constexpr int16_t kReadable = 1;
inline constexpr int16_t kWritable = 2;
inline constexpr int16_t kDeletable = 4;
// What script declarations give: everything, or everything but writing for
// object variables.
inline constexpr int16_t kValueVariableRights = 255;
inline constexpr int16_t kObjectVariableRights = 253;

// The hash that speeds up name comparisons: over the lower-cased name, the
// sum of byte(i) * ((i + 1) mod 256), wrapping at 32 bits. Objects use it too.
uint32_t NameHash(std::string_view name);

// One variable of a table, or a free slot.
struct ValueSlot {
  static constexpr int16_t kFreeKey = -1;

  int16_t key = kFreeKey;  // 0 in the system and global tables, the call depth for locals
  int16_t attributes = 0;
  uint32_t hash = 0;
  std::unique_ptr<TValueArrayCustom> storage;

  bool IsFree() const { return key == kFreeKey; }
};

// What a declaration asks for.
struct VariableSpec {
  std::string_view name = {};
  std::string_view kindName = {};  // object kind ("img" ...); ignored for integers and strings
  bool reference = false;          // object names only; no objects created or freed
  int16_t attributes = kValueVariableRights;
  ValueKind valueKind = ValueKind::kInteger;
  int32_t key = 0;
  std::span<const int32_t> sizes = {};  // up to four, in declaration order
};

// A variable table (`TValue`): the system, global or local variables. Slots are
// found by scope key, hash and name (letter case ignored). Every failure is
// reported through the table's reporter (only while reporting is on) and
// returned as false or a None value; nothing throws except ReadTable on bad
// data.
//
// Slot order is kept as the original allocation gives it, because it is the
// order of the table stream: a new variable takes the last free slot, and when
// there is none the table grows by 32 free slots and the first of them is used.
//
// Lookups go through an index from (lower-cased name, key) to the used slots
// of that name, so that they do not scan tables of thousands of locals. It
// gives the same slot a scan in slot order would: the first one whose stored
// hash matches.
class TValue {
 public:
  static constexpr int kGrowSlots = 32;
  // Deleting more than this many variables compacts the table.
  static constexpr int32_t kMaxFreedSlots = 31;
  static constexpr int kFlagWords = 128;  // 4096 flag bits
  static constexpr int32_t kMaxKey = std::numeric_limits<int16_t>::max();
  // Longer names are refused: element object names must fit a Str16.
  static constexpr size_t kMaxNameBytes = 1024;
  static constexpr int32_t kNotFound = -1;
  // ReadTable builds at most this much element storage (4 bytes an integer, a
  // string's or name's own size for the others), whatever a stream declares:
  // two bytes of an empty string in a stream are 32 in memory.
  static constexpr size_t kReadBudgetBytes = size_t{128} << 20;

  TValue();
  ~TValue();
  TValue(const TValue&) = delete;
  TValue& operator=(const TValue&) = delete;

  // Wiring by the owner; both may be null and must outlive the table.
  void SetErrorSink(ScriptErrorSink* sink) { reporter_.SetSink(sink); }
  void SetObjectHost(KelObjectHost* host) { host_ = host; }
  void SetReporting(bool on) { reporter_.SetEnabled(on); }
  bool Reporting() const { return reporter_.Enabled(); }
  const ErrorReporter& Reporter() const { return reporter_; }

  // False when the name is empty or too long, the key is outside 0..32767, the
  // name exists with that key, the value kind is not 0-2, or the sizes ask for
  // more than TValueArrayCustom::kMaxElements elements (reported). Object
  // variables that cannot create an object report it and are declared all the
  // same.
  bool Declare(const VariableSpec& spec);

  // The slot of the variable, or kNotFound.
  int32_t Find(std::string_view name, int32_t key) const;
  int32_t Find(std::string_view name, uint32_t hash, int32_t key) const;

  TReturnValue Read(std::string_view name, int32_t key, const ArrayIndex& index, bool ignoreRights);
  bool Write(std::string_view name, int32_t key, const ArrayIndex& index, const TReturnValue& value,
             bool ignoreRights);
  // The same on a slot Find gave; `name` is what the messages show.
  TReturnValue ReadSlot(int32_t slot, std::string_view name, const ArrayIndex& index,
                        bool ignoreRights) const;
  bool WriteSlot(int32_t slot, std::string_view name, const ArrayIndex& index,
                 const TReturnValue& value, bool ignoreRights);

  // Fails silently when there is no such variable; reports a variable that
  // may not be deleted unless `force`.
  bool Delete(std::string_view name, int32_t key, bool force);
  // Frees every slot whose key is greater than `depth` (locals of calls that
  // have returned).
  void DeleteDeeperLocals(int32_t depth);
  // Frees every variable (and the objects they own), zeroes the flag bits.
  void Clear();

  // Compacts, then writes: int32 slot count; per slot value kind (u8),
  // reference flag (u8), name and object kind name (Str16), key and
  // attributes (int16), hash (u32), S0..S3 and the element count (int32), the
  // elements; then the 4096 flag bits. False when an object could not write
  // its state (the stream is then unusable).
  bool WriteTable(base::ByteWriter& out);
  // Clears, then reads what WriteTable wrote. Bad data, or elements beyond
  // kReadBudgetBytes, throw FormatError and leave the table empty (as does a
  // failed allocation, which is passed on); a value kind other than 0-2 is
  // also reported.
  void ReadTable(base::ByteReader& in);

  const std::vector<ValueSlot>& Slots() const { return slots_; }
  // Grows whenever a variable is added or removed or slots move, so a slot
  // found before stays valid while it is unchanged.
  uint64_t Generation() const { return generation_; }
  int32_t FreedCount() const { return freed_; }
  std::array<uint32_t, kFlagWords>& FlagBits() { return flags_; }
  const std::array<uint32_t, kFlagWords>& FlagBits() const { return flags_; }

 private:
  struct IndexKey {
    std::string lowerName;
    int16_t key = 0;
    bool operator==(const IndexKey&) const = default;
  };
  struct IndexKeyHash {
    size_t operator()(const IndexKey& k) const;
  };
  // Ascending slot numbers. More than one only when a loaded table repeats a
  // name under one key, or stores a hash that is not the name's own (such a
  // slot is never found, as the hash must match).
  using SlotList = std::vector<int32_t>;

  int32_t FindLower(const std::string& lowerName, uint32_t hash, int32_t key) const;
  void IndexSlot(size_t slot);
  void UnindexSlot(size_t slot);
  void RenumberSlot(size_t from, size_t to);
  std::unique_ptr<TValueArrayCustom> MakeStorage(ValueKind kind, std::string name,
                                                 std::string_view kindName, bool reference);
  size_t TakeFreeSlot();
  void FreeSlot(size_t index);
  void CompactIfNeeded();
  void Compact();
  void ReadSlotRecord(base::ByteReader& in, size_t index, size_t& budget);

  ErrorReporter reporter_;
  KelObjectHost* host_ = nullptr;
  int32_t freed_ = 0;
  uint64_t generation_ = 0;
  // The engine reads and writes a few variables by name over and over (the
  // result variables after every wait and query): the last names found, as
  // written, while no slot has changed since.
  struct FoundName {
    std::string name;
    int32_t key = 0;
    uint64_t generation = UINT64_MAX;
    int32_t slot = kNotFound;
  };
  static constexpr size_t kFoundNames = 4;
  mutable std::array<FoundName, kFoundNames> found_;
  mutable size_t nextFound_ = 0;
  std::vector<ValueSlot> slots_;
  // Every used slot, and only those, is listed under its name and key.
  std::unordered_map<IndexKey, SlotList, IndexKeyHash> index_;
  std::array<uint32_t, kFlagWords> flags_{};
};

}  // namespace mavu::script
