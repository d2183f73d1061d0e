#include "script/objects/kel_object_manager.h"

#include <algorithm>

#include "base/cp932.h"
#include "script/values/value.h"

namespace mavu::script {
namespace {

uint64_t CacheValue(TKelObjectDataCustom* object) {
  return reinterpret_cast<uintptr_t>(object);
}

TKelObjectDataCustom* CachedObject(uint64_t value) {
  return reinterpret_cast<TKelObjectDataCustom*>(static_cast<uintptr_t>(value));
}

}  // namespace

TKelObjectManager::TKelObjectManager(ObjectParts parts) : parts_(parts), cache_(kCacheSlots) {}

TKelObjectManager::~TKelObjectManager() = default;

std::unique_ptr<TKelObjectDataCustom> TKelObjectManager::CreateByKindName(
    std::string_view kindName, std::string_view name) const {
  return CreateObjectOfKind(kindName, std::string(name), parts_);
}

bool TKelObjectManager::Add(std::unique_ptr<TKelObjectDataCustom> object) {
  if (object == nullptr || Find(object->Name()) != nullptr) return false;
  const uint8_t group = object->Group();
  if (group != 0) grouped_.push_back(object.get());
  if (group <= TKelObjectDataCustom::kMaxGroup) groupsPresent_ |= 1u << group;
  objects_.push_back(std::move(object));
  return true;
}

bool TKelObjectManager::Delete(std::string_view name) {
  const std::string lower = base::LowerName(name);
  auto found = Locate(lower);
  if (found == objects_.end()) return false;
  cache_.Remove(lower);
  // Taken out of the list first, so that nothing finds it while it goes.
  std::unique_ptr<TKelObjectDataCustom> object = std::move(*found);
  objects_.erase(found);
  std::erase(grouped_, object.get());
  CountGroups();
  return true;
}

TKelObjectDataCustom* TKelObjectManager::Find(std::string_view name) {
  const std::string lower = base::LowerName(name);
  if (std::optional<uint64_t> cached = cache_.Find(lower)) return CachedObject(*cached);
  auto found = Locate(lower);
  if (found == objects_.end()) return nullptr;
  cache_.Put(lower, CacheValue(found->get()));
  return found->get();
}

std::vector<std::unique_ptr<TKelObjectDataCustom>>::iterator TKelObjectManager::Locate(
    std::string_view lowerName) {
  const uint32_t hash = NameHash(lowerName);
  return std::find_if(objects_.begin(), objects_.end(), [&](const auto& object) {
    return object->NameHash() == hash && base::EqualsIgnoreCase(object->Name(), lowerName);
  });
}

KelObject* TKelObjectManager::CreateObject(std::string_view kindName, std::string_view name) {
  std::unique_ptr<TKelObjectDataCustom> object = CreateByKindName(kindName, name);
  if (object == nullptr) return nullptr;
  TKelObjectDataCustom* created = object.get();
  return Add(std::move(object)) ? created : nullptr;
}

void TKelObjectManager::ClearObjects() {
  cache_.Clear();
  // Emptied before the objects go, so that nothing finds one while it goes.
  std::vector<std::unique_ptr<TKelObjectDataCustom>> objects = std::move(objects_);
  objects_.clear();
  grouped_.clear();
  groupsPresent_ = 0;
}

void TKelObjectManager::CountGroups() {
  groupsPresent_ = objects_.size() > grouped_.size() ? 1u : 0u;
  for (const TKelObjectDataCustom* object : grouped_) {
    if (object->Group() <= TKelObjectDataCustom::kMaxGroup) groupsPresent_ |= 1u << object->Group();
  }
}

void TKelObjectManager::SetCameraOffset(int32_t x, int32_t y) {
  cameraX_ = x;
  cameraY_ = y;
}

void TKelObjectManager::AdvanceAll(int32_t updateMask, int32_t ms, uint32_t groupSet) {
  ForGroups(groupSet, [&](TKelObjectDataCustom& object) {
    object.SetCameraOffset(cameraX_, cameraY_);
    object.Advance(updateMask, ms);
  });
}

void TKelObjectManager::DrawAll(int32_t drawMask, bool fixedLayers, uint32_t groupSet) {
  ForGroups(groupSet, [&](TKelObjectDataCustom& object) { object.Draw(drawMask, fixedLayers); });
}

void TKelObjectManager::HoverAll(int32_t mask, int32_t x, int32_t y, uint32_t groupSet) {
  ForGroups(groupSet, [&](TKelObjectDataCustom& object) { object.Hover(mask, x, y); });
}

TKelObjectDataCustom* TKelObjectManager::HitTest(int32_t mask, int32_t x, int32_t y,
                                                 uint32_t groupSet) {
  TKelObjectDataCustom* hit = nullptr;
  ForGroups(groupSet, [&](TKelObjectDataCustom& object) {
    if (object.HitTest(mask, x, y)) hit = &object;
  });
  return hit;
}

void TKelObjectManager::ReleaseAll() {
  for (size_t i = 0; i < objects_.size(); ++i) objects_[i]->Release();
}

int32_t TKelObjectManager::MessageState() {
  int32_t state = kMessageIdle;
  ForGroups(groups::kMessages,
            [&](TKelObjectDataCustom& object) { state = std::max(state, object.MessageState()); });
  return state;
}

// A message window takes a click through its hit test, which shows the rest
// of its text or turns its page.
void TKelObjectManager::ClickMessages(int32_t x, int32_t y) {
  constexpr int32_t kAnyLayer = -1;
  HitTest(kAnyLayer, x, y, groups::kMessages);
}

std::optional<ButtonHit> TKelObjectManager::HitButton(int32_t mask, int32_t x, int32_t y) {
  TKelObjectDataCustom* hit = HitTest(mask, x, y, groups::kButtons);
  if (hit == nullptr) return std::nullopt;
  std::optional<ButtonHit> values = hit->ButtonValues();
  if (values) values->objectName = hit->Name();
  return values;
}

SystemButton* TKelObjectManager::HitSystemButton(int32_t mask, int32_t x, int32_t y) {
  TKelObjectDataCustom* hit = HitTest(mask, x, y, groups::kSystemButtons);
  return hit == nullptr ? nullptr : hit->AsSystemButton();
}

void TKelObjectManager::ForEachSystemButton(const std::function<void(SystemButton&)>& visit) {
  ForGroups(groups::kSystemButtons, [&](TKelObjectDataCustom& object) {
    if (SystemButton* button = object.AsSystemButton()) visit(*button);
  });
}

void TKelObjectManager::CarryOutDeferredLoads() {
  for (size_t i = 0; i < objects_.size(); ++i) objects_[i]->CarryOutDeferred();
}

bool TKelObjectManager::SwapObjects(std::string_view first, std::string_view second) {
  TKelObjectDataCustom* a = Find(first);
  TKelObjectDataCustom* b = Find(second);
  if (a == nullptr || b == nullptr || a->KindOf() != b->KindOf()) return false;
  return a->SwapContents(*b);
}

}  // namespace mavu::script
