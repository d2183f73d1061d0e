#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "script/interpreter/object_registry.h"

namespace mavu::script::test {

// An object that only has a name and a kind.
class FakeObject : public KelObject {
 public:
  FakeObject(std::string name, uint8_t kind) : name_(std::move(name)), kind_(kind) {}
  const std::string& Name() const override { return name_; }
  uint8_t Kind() const override { return kind_; }
  bool SaveState(base::ByteWriter&) override { return true; }
  bool LoadState(base::ByteReader&) override { return true; }

 private:
  std::string name_;
  uint8_t kind_;
};

class FakeSystemButton : public SystemButton {
 public:
  explicit FakeSystemButton(std::string text) : text_(std::move(text)) {}
  std::string ActionText() const override { return text_; }
  bool Checked() const override { return checked; }
  void SetChecked(bool on) override { checked = on; }
  void SetEnabled(bool on) override { enabled = on; }

  bool checked = false;
  bool enabled = true;

 private:
  std::string text_;
};

// A registry of name-and-kind objects. Message states, button hits and system
// buttons are set by the test; broadcasts are counted.
class FakeObjectRegistry : public ObjectRegistry {
 public:
  // Kind numbers of the kind names (1 sys ... 26 ext); 0 for unknown names.
  static uint8_t KindOf(std::string_view kindName);

  KelObject* CreateObject(std::string_view kindName, std::string_view name) override;
  bool FreeObject(std::string_view name) override;
  KelObject* FindObject(std::string_view name) override;

  void ClearObjects() override { objects.clear(); }
  void SetCameraOffset(int32_t x, int32_t y) override { cameraX = x, cameraY = y; }
  void AdvanceAll(int32_t, int32_t ms, uint32_t groupSet) override;
  void DrawAll(int32_t, bool fixedLayers, uint32_t) override;
  void HoverAll(int32_t, int32_t x, int32_t y, uint32_t groupSet) override;
  int32_t MessageState() override { return messageState; }
  void ClickMessages(int32_t x, int32_t y) override { messageClicks.push_back({x, y}); }
  std::optional<ButtonHit> HitButton(int32_t mask, int32_t x, int32_t y) override;
  SystemButton* HitSystemButton(int32_t mask, int32_t x, int32_t y) override;
  void ForEachSystemButton(const std::function<void(SystemButton&)>& visit) override;
  void CarryOutDeferredLoads() override { ++deferredLoads; }

  // A system button hit at any point with x below `right`.
  FakeSystemButton& AddSystemButton(std::string text, int32_t right);

  struct Point {
    int32_t x;
    int32_t y;
  };
  struct SystemButtonArea {
    std::unique_ptr<FakeSystemButton> button;
    int32_t right;
  };

  std::vector<std::unique_ptr<FakeObject>> objects;
  int32_t messageState = 0;
  std::vector<Point> messageClicks;
  std::optional<ButtonHit> button;  // hit at every point
  std::vector<SystemButtonArea> systemButtons;
  std::vector<uint32_t> advancedGroups;
  int64_t advancedMs = 0;
  int draws = 0;
  int deferredLoads = 0;
  int fixedDraws = 0;
  std::vector<uint32_t> hoverGroups;
  int32_t cameraX = 0;
  int32_t cameraY = 0;
};

}  // namespace mavu::script::test
