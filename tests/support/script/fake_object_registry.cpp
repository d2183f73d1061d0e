#include "support/script/fake_object_registry.h"

#include <algorithm>
#include <array>

#include "base/cp932.h"

namespace mavu::script::test {
namespace {

// Index + 1 = kind number; 24 is unused.
constexpr std::array<std::string_view, 26> kKindNames = {
    "sys",  "dat", "sdat", "snd",  "dsnd", "img",  "msg",  "btn",  "eff",
    "scsr", "csr", "log",  "cam",  "rep",  "path", "show", "simg", "sbtn",
    "file", "tcp", "dlg",  "slog", "flog", "",     "math", "ext"};

}  // namespace

uint8_t FakeObjectRegistry::KindOf(std::string_view kindName) {
  if (kindName.empty()) return 0;
  for (size_t i = 0; i < kKindNames.size(); ++i) {
    if (base::EqualsIgnoreCase(kindName, kKindNames[i])) return static_cast<uint8_t>(i + 1);
  }
  return 0;
}

KelObject* FakeObjectRegistry::CreateObject(std::string_view kindName, std::string_view name) {
  const uint8_t kind = KindOf(kindName);
  if (kind == 0 || FindObject(name) != nullptr) return nullptr;
  objects.push_back(std::make_unique<FakeObject>(std::string(name), kind));
  return objects.back().get();
}

bool FakeObjectRegistry::FreeObject(std::string_view name) {
  auto it = std::find_if(objects.begin(), objects.end(), [&](const auto& object) {
    return base::EqualsIgnoreCase(object->Name(), name);
  });
  if (it == objects.end()) return false;
  objects.erase(it);
  return true;
}

KelObject* FakeObjectRegistry::FindObject(std::string_view name) {
  for (const auto& object : objects) {
    if (base::EqualsIgnoreCase(object->Name(), name)) return object.get();
  }
  return nullptr;
}

void FakeObjectRegistry::AdvanceAll(int32_t, int32_t ms, uint32_t groupSet) {
  advancedGroups.push_back(groupSet);
  if (groupSet == groups::kScene) advancedMs += ms;
}

void FakeObjectRegistry::DrawAll(int32_t, bool fixedLayers, uint32_t) {
  ++draws;
  if (fixedLayers) ++fixedDraws;
}

void FakeObjectRegistry::HoverAll(int32_t, int32_t, int32_t, uint32_t groupSet) {
  hoverGroups.push_back(groupSet);
}

std::optional<ButtonHit> FakeObjectRegistry::HitButton(int32_t, int32_t, int32_t) {
  return button;
}

SystemButton* FakeObjectRegistry::HitSystemButton(int32_t, int32_t x, int32_t) {
  SystemButton* hit = nullptr;
  for (auto& area : systemButtons) {
    if (x < area.right) hit = area.button.get();
  }
  return hit;
}

void FakeObjectRegistry::ForEachSystemButton(const std::function<void(SystemButton&)>& visit) {
  for (auto& area : systemButtons) visit(*area.button);
}

FakeSystemButton& FakeObjectRegistry::AddSystemButton(std::string text, int32_t right) {
  systemButtons.push_back({std::make_unique<FakeSystemButton>(std::move(text)), right});
  return *systemButtons.back().button;
}

}  // namespace mavu::script::test
