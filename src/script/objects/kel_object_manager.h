#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "resource/string_cache.h"
#include "script/interpreter/object_registry.h"
#include "script/objects/kel_object_data_custom.h"
#include "script/objects/object_factory.h"
#include "script/objects/object_swap.h"

namespace mavu::script {

// The object registry (`TKelObjectManager`): owns every script object in
// creation order, finds them by name through a small cache of recent names,
// and broadcasts the per-frame operations to the objects of a group set. The
// order is what scripts see: later objects advance and draw after earlier
// ones, and the last object hit wins.
class TKelObjectManager : public ObjectRegistry, public ObjectSwap {
 public:
  static constexpr size_t kCacheSlots = 16;

  explicit TKelObjectManager(ObjectParts parts);
  ~TKelObjectManager() override;
  TKelObjectManager(const TKelObjectManager&) = delete;
  TKelObjectManager& operator=(const TKelObjectManager&) = delete;

  // A new object of the kind, not registered; null for an unknown kind name.
  std::unique_ptr<TKelObjectDataCustom> CreateByKindName(std::string_view kindName,
                                                         std::string_view name) const;
  // Registers the object; false (and the object is freed) when its name is
  // taken, letter case ignored.
  bool Add(std::unique_ptr<TKelObjectDataCustom> object);
  bool Delete(std::string_view name);
  TKelObjectDataCustom* Find(std::string_view name);
  size_t Count() const { return objects_.size(); }

  // The last object of the groups that reports a hit at the point, or null.
  TKelObjectDataCustom* HitTest(int32_t mask, int32_t x, int32_t y, uint32_t groupSet);
  void ReleaseAll();

  // ObjectSwap: what two objects of the same kind own changes places.
  bool SwapObjects(std::string_view first, std::string_view second) override;

  // KelObjectHost
  KelObject* CreateObject(std::string_view kindName, std::string_view name) override;
  bool FreeObject(std::string_view name) override { return Delete(name); }
  KelObject* FindObject(std::string_view name) override { return Find(name); }

  // ObjectRegistry
  void ClearObjects() override;
  void SetCameraOffset(int32_t x, int32_t y) override;
  void AdvanceAll(int32_t updateMask, int32_t ms, uint32_t groupSet) override;
  void DrawAll(int32_t drawMask, bool fixedLayers, uint32_t groupSet) override;
  void HoverAll(int32_t mask, int32_t x, int32_t y, uint32_t groupSet) override;
  int32_t MessageState() override;
  void ClickMessages(int32_t x, int32_t y) override;
  std::optional<ButtonHit> HitButton(int32_t mask, int32_t x, int32_t y) override;
  SystemButton* HitSystemButton(int32_t mask, int32_t x, int32_t y) override;
  void ForEachSystemButton(const std::function<void(SystemButton&)>& visit) override;
  void CarryOutDeferredLoads() override;

 private:
  // Every object of the groups, in list order. By index, so that an object
  // created or freed while the broadcast runs cannot leave it walking a moved
  // list.
  template <typename Visit>
  void ForGroups(uint32_t groupSet, Visit&& visit) {
    if ((groupSet & groupsPresent_) == 0) return;
    if ((groupSet & 1u) != 0) return VisitGroups(objects_, groupSet, visit);
    VisitGroups(grouped_, groupSet, visit);
  }
  // By index, so that an object created or freed while the broadcast runs
  // cannot leave it walking a moved list.
  template <typename List, typename Visit>
  static void VisitGroups(const List& list, uint32_t groupSet, Visit& visit) {
    for (size_t i = 0; i < list.size(); ++i) {
      TKelObjectDataCustom& object = *list[i];
      if (object.InGroups(groupSet)) visit(object);
    }
  }
  void CountGroups();
  std::vector<std::unique_ptr<TKelObjectDataCustom>>::iterator Locate(std::string_view lowerName);

  ObjectParts parts_;
  int32_t cameraX_ = 0;
  int32_t cameraY_ = 0;
  // Lower-cased names of recently found objects -> the object's address.
  resource::TStringCache cache_;
  std::vector<std::unique_ptr<TKelObjectDataCustom>> objects_;
  // Most objects belong to group 0, which the per-frame broadcasts never
  // reach: the others, in list order, and the groups in use let those
  // broadcasts skip what they would pass over.
  std::vector<TKelObjectDataCustom*> grouped_;
  uint32_t groupsPresent_ = 0;
};

}  // namespace mavu::script
