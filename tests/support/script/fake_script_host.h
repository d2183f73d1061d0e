#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp932.h"
#include "script/values/kel_object_host.h"
#include "script/values/script_error_sink.h"

namespace mavu::script::test {

// Collects every message, so tests can check the exact texts and their order.
class FakeErrorSink : public ScriptErrorSink {
 public:
  void ScriptError(const std::string& message) override { messages.push_back(message); }

  std::vector<std::string> messages;
};

// An object whose state is one Str16 text.
class FakeStateObject : public KelObject {
 public:
  FakeStateObject(std::string name, std::string kind)
      : name_(std::move(name)), kind_(std::move(kind)) {}

  const std::string& Name() const override { return name_; }
  uint8_t Kind() const override { return 6; }
  bool SaveState(base::ByteWriter& out) override {
    out.Str16(state);
    return !failSave;
  }
  bool LoadState(base::ByteReader& in) override {
    state = in.Str16();
    return state != "unloadable";
  }

  const std::string& KindName() const { return kind_; }

  std::string state;
  bool failSave = false;

 private:
  std::string name_;
  std::string kind_;
};

// A registry of fake objects by lower-cased name. Knows the kinds img, msg
// and btn; logs every creation and freeing in order.
class FakeObjectHost : public KelObjectHost {
 public:
  KelObject* CreateObject(std::string_view kindName, std::string_view name) override {
    std::string key = base::LowerName(name);
    if (!kKinds.contains(base::LowerName(kindName)) || objects.contains(key)) return nullptr;
    log.push_back("create " + std::string(kindName) + " " + std::string(name));
    auto object = std::make_unique<FakeStateObject>(std::string(name), std::string(kindName));
    KelObject* created = object.get();
    objects.emplace(key, std::move(object));
    return created;
  }
  bool FreeObject(std::string_view name) override {
    log.push_back("free " + std::string(name));
    return objects.erase(base::LowerName(name)) == 1;
  }
  KelObject* FindObject(std::string_view name) override {
    auto found = objects.find(base::LowerName(name));
    return found == objects.end() ? nullptr : found->second.get();
  }

  FakeStateObject* Object(std::string_view name) {
    return static_cast<FakeStateObject*>(FindObject(name));
  }

  inline static const std::set<std::string> kKinds = {"img", "msg", "btn"};
  std::map<std::string, std::unique_ptr<FakeStateObject>> objects;
  std::vector<std::string> log;
};

}  // namespace mavu::script::test
