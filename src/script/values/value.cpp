#include "script/values/value.h"

#include <algorithm>
#include <functional>

#include "base/cp932.h"
#include "script/values/value_array_integer.h"
#include "script/values/value_array_object.h"
#include "script/values/value_array_string.h"
#include "script/values/value_messages.h"

namespace mavu::script {
namespace {

constexpr uint8_t kLastValueKind = static_cast<uint8_t>(ValueKind::kObjectName);
// The smallest slot record: two bytes, two empty Str16, key, attributes, hash,
// four sizes and the element count.
constexpr size_t kMinSlotBytes = 1 + 1 + 2 + 2 + 2 + 2 + 4 + 4 * 4 + 4;
constexpr size_t kFlagBytes = TValue::kFlagWords * 4;

// What one element costs in memory, as far as the table can tell.
size_t ElementBytes(ValueKind kind) {
  return kind == ValueKind::kInteger ? sizeof(int32_t) : sizeof(std::string);
}

bool Allows(const ValueSlot& slot, int16_t right, bool ignoreRights) {
  return ignoreRights || (slot.attributes & right) != 0;
}

uint32_t LowerNameHash(std::string_view lower) {
  uint32_t hash = 0;
  for (size_t i = 0; i < lower.size(); ++i) {
    hash += static_cast<uint8_t>(lower[i]) * static_cast<uint32_t>((i + 1) % 256);
  }
  return hash;
}

}  // namespace

uint32_t NameHash(std::string_view name) {
  return LowerNameHash(base::LowerName(name));
}

TValue::TValue() = default;
TValue::~TValue() = default;

std::unique_ptr<TValueArrayCustom> TValue::MakeStorage(ValueKind kind, std::string name,
                                                       std::string_view kindName, bool reference) {
  switch (kind) {
    case ValueKind::kInteger:
      return std::make_unique<TValueArrayInteger>(std::move(name));
    case ValueKind::kString:
      return std::make_unique<TValueArrayString>(std::move(name));
    case ValueKind::kObjectName:
      return std::make_unique<TValueArrayObject>(std::move(name), std::string(kindName), reference,
                                                 host_, &reporter_);
    default:
      return nullptr;
  }
}

bool TValue::Declare(const VariableSpec& spec) {
  if (spec.name.empty() || spec.name.size() > kMaxNameBytes) return false;
  if (spec.key < 0 || spec.key > kMaxKey) return false;
  if (Find(spec.name, spec.key) != kNotFound) return false;
  auto storage = MakeStorage(spec.valueKind, std::string(spec.name), spec.kindName, spec.reference);
  if (!storage) return false;
  if (!storage->Declare(spec.sizes)) {
    reporter_.Report(messages::ArrayTooLarge() + std::string(spec.name));
    return false;
  }
  size_t taken = TakeFreeSlot();
  ValueSlot& slot = slots_[taken];
  ++generation_;
  slot.storage = std::move(storage);
  slot.key = static_cast<int16_t>(spec.key);
  slot.attributes = spec.attributes;
  slot.hash = NameHash(spec.name);
  IndexSlot(taken);
  return true;
}

size_t TValue::TakeFreeSlot() {
  for (size_t i = slots_.size(); i-- > 0;) {
    if (slots_[i].IsFree()) return i;
  }
  size_t first = slots_.size();
  slots_.resize(first + kGrowSlots);
  return first;
}

size_t TValue::IndexKeyHash::operator()(const IndexKey& k) const {
  constexpr size_t kKeyFactor = 0x9E3779B97F4A7C15ull;  // spreads the small keys over the bits
  return std::hash<std::string>{}(k.lowerName) ^ (static_cast<size_t>(k.key) * kKeyFactor);
}

int32_t TValue::Find(std::string_view name, int32_t key) const {
  for (const FoundName& found : found_) {
    if (found.generation == generation_ && found.key == key && found.name == name)
      return found.slot;
  }
  std::string lower = base::LowerName(name);
  const int32_t slot = FindLower(lower, LowerNameHash(lower), key);
  found_[nextFound_] = {std::string(name), key, generation_, slot};
  nextFound_ = (nextFound_ + 1) % kFoundNames;
  return slot;
}

int32_t TValue::Find(std::string_view name, uint32_t hash, int32_t key) const {
  return FindLower(base::LowerName(name), hash, key);
}

int32_t TValue::FindLower(const std::string& lowerName, uint32_t hash, int32_t key) const {
  // Free slots hold key -1 and used ones 0..kMaxKey, so no other key can match.
  if (key < 0 || key > kMaxKey) return kNotFound;
  auto found = index_.find(IndexKey{lowerName, static_cast<int16_t>(key)});
  if (found == index_.end()) return kNotFound;
  for (int32_t slot : found->second) {
    if (slots_[static_cast<size_t>(slot)].hash == hash) return slot;
  }
  return kNotFound;
}

// Every change of the index is a new generation, so that nothing found
// before it is taken for current.
void TValue::IndexSlot(size_t slot) {
  ++generation_;
  const ValueSlot& used = slots_[slot];
  SlotList& list = index_[IndexKey{base::LowerName(used.storage->Name()), used.key}];
  const auto number = static_cast<int32_t>(slot);
  list.insert(std::lower_bound(list.begin(), list.end(), number), number);
}

// Moving slots down keeps their order, so the list stays ascending.
void TValue::RenumberSlot(size_t from, size_t to) {
  ++generation_;
  const ValueSlot& used = slots_[from];
  SlotList& list = index_.at(IndexKey{base::LowerName(used.storage->Name()), used.key});
  *std::ranges::find(list, static_cast<int32_t>(from)) = static_cast<int32_t>(to);
}

void TValue::UnindexSlot(size_t slot) {
  ++generation_;
  const ValueSlot& used = slots_[slot];
  auto listed = index_.find(IndexKey{base::LowerName(used.storage->Name()), used.key});
  std::erase(listed->second, static_cast<int32_t>(slot));
  if (listed->second.empty()) index_.erase(listed);
}

TReturnValue TValue::Read(std::string_view name, int32_t key, const ArrayIndex& index,
                          bool ignoreRights) {
  int32_t slot = Find(name, key);
  if (slot == kNotFound) {
    reporter_.Report(messages::NotDeclared() + std::string(name));
    return TReturnValue::None();
  }
  return ReadSlot(slot, name, index, ignoreRights);
}

TReturnValue TValue::ReadSlot(int32_t slot, std::string_view name, const ArrayIndex& index,
                              bool ignoreRights) const {
  const ValueSlot& found = slots_.at(static_cast<size_t>(slot));
  if (!Allows(found, kReadable, ignoreRights)) {
    reporter_.Report(messages::NotReadable() + std::string(name));
    return TReturnValue::None();
  }
  std::optional<int32_t> element = found.storage->CombinedIndex(index);
  if (!element) {
    reporter_.Report(messages::OutOfRange() + std::string(name));
    return TReturnValue::None();
  }
  return found.storage->ReadElement(*element);
}

bool TValue::Write(std::string_view name, int32_t key, const ArrayIndex& index,
                   const TReturnValue& value, bool ignoreRights) {
  int32_t slot = Find(name, key);
  if (slot == kNotFound) {
    reporter_.Report(messages::NotDeclared() + std::string(name));
    return false;
  }
  return WriteSlot(slot, name, index, value, ignoreRights);
}

bool TValue::WriteSlot(int32_t slot, std::string_view name, const ArrayIndex& index,
                       const TReturnValue& value, bool ignoreRights) {
  ValueSlot& found = slots_.at(static_cast<size_t>(slot));
  if (!Allows(found, kWritable, ignoreRights)) {
    reporter_.Report(messages::NotWritable() + std::string(name));
    return false;
  }
  std::optional<int32_t> element = found.storage->CombinedIndex(index);
  if (!element) {
    reporter_.Report(messages::WriteFailed() + std::string(name));
    return false;
  }
  found.storage->WriteElement(*element, value);
  return true;
}

// The variable stays findable while its storage frees its objects.
void TValue::FreeSlot(size_t index) {
  ValueSlot& slot = slots_[index];
  ++generation_;
  slot.storage->SetCount(0);
  UnindexSlot(index);
  slot.storage.reset();
  slot.key = ValueSlot::kFreeKey;
  slot.attributes = 0;
  slot.hash = 0;
  ++freed_;
}

bool TValue::Delete(std::string_view name, int32_t key, bool force) {
  int32_t index = Find(name, key);
  if (index == kNotFound) return false;
  if (!force && (slots_[static_cast<size_t>(index)].attributes & kDeletable) == 0) {
    reporter_.Report(messages::NotDeletable() + std::string(name));
    return false;
  }
  FreeSlot(static_cast<size_t>(index));
  CompactIfNeeded();
  return true;
}

void TValue::DeleteDeeperLocals(int32_t depth) {
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (!slots_[i].IsFree() && slots_[i].key > depth) FreeSlot(i);
  }
  CompactIfNeeded();
}

void TValue::Clear() {
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (!slots_[i].IsFree()) FreeSlot(i);
  }
  slots_.clear();
  ++generation_;
  freed_ = 0;
  flags_.fill(0);
}

void TValue::CompactIfNeeded() {
  if (freed_ > kMaxFreedSlots) Compact();
}

// Used slots keep their order and move down over free ones; trailing free
// ones go away. Slots before the first free one stay, so unwinding the locals
// at the end of a large table moves (and re-indexes) only a few.
void TValue::Compact() {
  auto isFree = [](const ValueSlot& slot) { return slot.IsFree(); };
  size_t next = static_cast<size_t>(std::ranges::find_if(slots_, isFree) - slots_.begin());
  for (size_t i = next; i < slots_.size(); ++i) {
    if (slots_[i].IsFree()) continue;
    RenumberSlot(i, next);
    slots_[next++] = std::move(slots_[i]);
  }
  slots_.resize(next);
  ++generation_;
  freed_ = 0;
}

bool TValue::WriteTable(base::ByteWriter& out) {
  Compact();
  bool ok = true;
  out.I32(static_cast<int32_t>(slots_.size()));
  for (const ValueSlot& slot : slots_) {
    const TValueArrayCustom& storage = *slot.storage;
    out.U8(static_cast<uint8_t>(storage.Kind())).U8(storage.IsReference() ? 1 : 0);
    out.Str16(storage.Name()).Str16(storage.KindName());
    out.U16(static_cast<uint16_t>(slot.key)).U16(static_cast<uint16_t>(slot.attributes));
    out.U32(slot.hash);
    for (int32_t size : storage.StoredSizes()) out.I32(size);
    out.I32(storage.Count());
    ok = storage.WriteElements(out) && ok;
  }
  for (uint32_t word : flags_) out.U32(word);
  return ok;
}

void TValue::ReadTable(base::ByteReader& in) {
  Clear();
  try {
    int32_t count = in.I32();
    if (count < 0 || in.Remaining() < kFlagBytes ||
        static_cast<size_t>(count) > (in.Remaining() - kFlagBytes) / kMinSlotBytes) {
      throw base::FormatError("variable table: slot count beyond the stream");
    }
    slots_.resize(static_cast<size_t>(count));
    ++generation_;
    size_t budget = kReadBudgetBytes;
    for (size_t i = 0; i < slots_.size(); ++i) ReadSlotRecord(in, i, budget);
    for (uint32_t& word : flags_) word = in.U32();
  } catch (...) {
    Clear();
    throw;
  }
}

// Reads one slot record. The storage is attached to the slot (and the slot
// indexed) before its elements are read, so that a failure frees the objects
// already created.
void TValue::ReadSlotRecord(base::ByteReader& in, size_t index, size_t& budget) {
  uint8_t kind = in.U8();
  bool reference = in.U8() != 0;
  std::string name = in.Str16();
  if (kind > kLastValueKind) {
    reporter_.Report(messages::BadValueKind() + name);
    throw base::FormatError("variable " + name + ": bad value kind");
  }
  std::string kindName = in.Str16();
  auto key = static_cast<int16_t>(in.U16());
  auto attributes = static_cast<int16_t>(in.U16());
  uint32_t hash = in.U32();
  if (key < 0) throw base::FormatError("variable " + name + ": bad scope key");
  TValueArrayCustom::Sizes sizes;
  for (int32_t& size : sizes) size = in.I32();
  int32_t count = in.I32();
  auto storage = MakeStorage(static_cast<ValueKind>(kind), std::move(name), kindName, reference);
  storage->LoadSizes(sizes, count);
  const size_t cost = static_cast<size_t>(count) * ElementBytes(storage->Kind());
  if (cost > budget) {
    throw base::FormatError("variable " + storage->Name() + ": the table holds more than " +
                            std::to_string(kReadBudgetBytes >> 20) + " MiB of elements");
  }
  budget -= cost;
  ValueSlot& slot = slots_[index];
  slot.storage = std::move(storage);
  slot.key = key;
  slot.attributes = attributes;
  slot.hash = hash;
  IndexSlot(index);
  slot.storage->ReadElements(in, count);
}

}  // namespace mavu::script
