#include "script/objects/kel_object_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/interpreter/interpreter_services.h"
#include "script/objects/kel_object_data_file.h"
#include "support/script/recording_services.h"
#include "support/script/recording_system_shell.h"
#include "support/script/script_game.h"

namespace mavu::script {
namespace {

// Notes every broadcast it receives in a shared journal, and answers hit
// tests and the message and button queries as the test sets it up.
class RecordingObject : public TKelObjectDataCustom, public SystemButton {
 public:
  RecordingObject(std::string name, ObjectKind kind, std::vector<std::string>& journal,
                  uint8_t group)
      : TKelObjectDataCustom(std::move(name), kind, group), journal_(journal) {}
  RecordingObject(std::string name, ObjectKind kind, std::vector<std::string>& journal)
      : RecordingObject(std::move(name), kind, journal, KindGroup(kind)) {}

  void Advance(int32_t mask, int32_t ms) override {
    Note("advance " + std::to_string(mask) + " " + std::to_string(ms) + " at " +
         std::to_string(CameraX()) + "," + std::to_string(CameraY()));
  }
  void Draw(int32_t mask, bool fixed) override {
    Note("draw " + std::to_string(mask) + (fixed ? " fixed" : ""));
  }
  void Hover(int32_t mask, int32_t x, int32_t y) override {
    Note("hover " + std::to_string(mask) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  bool HitTest(int32_t, int32_t x, int32_t y) override {
    Note("hit " + std::to_string(x) + "," + std::to_string(y));
    return hits;
  }
  void Release() override { Note("release"); }
  int32_t MessageState() const override { return messageState; }
  std::optional<ButtonHit> ButtonValues() const override {
    return ButtonHit{"", 7, "seven", "\\jmp,@@x"};
  }
  SystemButton* AsSystemButton() override { return this; }

  // SystemButton
  std::string ActionText() const override { return "save"; }
  bool Checked() const override { return false; }
  void SetChecked(bool) override {}
  void SetEnabled(bool) override {}

  bool hits = false;
  int32_t messageState = 0;

 private:
  void Note(const std::string& what) { journal_.push_back(Name() + " " + what); }
  std::vector<std::string>& journal_;
};

class KelObjectManagerTest : public ::testing::Test {
 protected:
  RecordingObject& AddRecording(const std::string& name, ObjectKind kind) {
    auto object = std::make_unique<RecordingObject>(name, kind, journal_);
    RecordingObject& added = *object;
    EXPECT_TRUE(objects_.Add(std::move(object)));
    return added;
  }

  imaging::Stage stage_;
  RecordingSystemShell shell_;
  RecordingServices sound_;
  TKelObjectManager objects_{{stage_, shell_, sound_}};
  std::vector<std::string> journal_;
};

struct KindCase {
  const char* name;
  uint8_t kind;
  uint8_t group;
};

constexpr KindCase kEveryKind[] = {
    {"sys", 1, 0},    {"dat", 2, 0},   {"sdat", 3, 0},  {"snd", 4, 0},   {"dsnd", 5, 0},
    {"img", 6, 1},    {"msg", 7, 2},   {"btn", 8, 3},   {"eff", 9, 4},   {"scsr", 10, 5},
    {"csr", 11, 6},   {"log", 12, 0},  {"cam", 13, 10}, {"rep", 14, 0},  {"path", 15, 0},
    {"show", 16, 11}, {"simg", 17, 7}, {"sbtn", 18, 8}, {"file", 19, 0}, {"tcp", 20, 12},
    {"dlg", 21, 0},   {"slog", 22, 0}, {"flog", 23, 0}, {"math", 25, 0}, {"ext", 26, 9},
};

TEST_F(KelObjectManagerTest, CreatesEveryKindByNameWithItsKindAndGroup) {
  for (const KindCase& kind : kEveryKind) {
    const std::string name = std::string(kind.name) + ",0";
    KelObject* created = objects_.CreateObject(kind.name, name);
    ASSERT_NE(created, nullptr) << kind.name;
    EXPECT_EQ(created->Kind(), kind.kind) << kind.name;
    EXPECT_EQ(created->Name(), name);
    TKelObjectDataCustom* found = objects_.Find(name);
    ASSERT_EQ(found, created);
    EXPECT_EQ(found->Group(), kind.group) << kind.name;
  }
  EXPECT_EQ(objects_.Count(), std::size(kEveryKind));
}

TEST_F(KelObjectManagerTest, KindNamesIgnoreLetterCase) {
  KelObject* created = objects_.CreateObject("FiLe", "f,0");
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->Kind(), KindNumber(ObjectKind::kFile));
  EXPECT_NE(dynamic_cast<TKelObjectDataFile*>(created), nullptr);
}

TEST_F(KelObjectManagerTest, UnknownKindNamesCreateNothing) {
  EXPECT_EQ(objects_.CreateObject("int", "x,0"), nullptr);
  EXPECT_EQ(objects_.CreateObject("llog", "x,0"), nullptr);  // a variable name, not a kind
  EXPECT_EQ(objects_.CreateObject("", "x,0"), nullptr);
  EXPECT_EQ(objects_.CreateByKindName("image", "x,0"), nullptr);
  EXPECT_EQ(objects_.Count(), 0u);
}

TEST_F(KelObjectManagerTest, ANameIsTakenWhateverItsLetterCase) {
  KelObject* first = objects_.CreateObject("img", "bg,0");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(objects_.CreateObject("msg", "BG,0"), nullptr);
  EXPECT_FALSE(objects_.Add(objects_.CreateByKindName("img", "Bg,0")));
  EXPECT_EQ(objects_.Count(), 1u);
  EXPECT_EQ(objects_.Find("bG,0"), first);
}

TEST_F(KelObjectManagerTest, DeletedObjectsAreNotFoundThroughTheCache) {
  ASSERT_NE(objects_.CreateObject("img", "bg,0"), nullptr);
  ASSERT_NE(objects_.Find("bg,0"), nullptr);  // now cached
  EXPECT_TRUE(objects_.FreeObject("BG,0"));
  EXPECT_EQ(objects_.Find("bg,0"), nullptr);
  EXPECT_FALSE(objects_.FreeObject("bg,0"));
  // A new object of the same name is the one found, not the freed one.
  KelObject* again = objects_.CreateObject("msg", "bg,0");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(objects_.FindObject("bg,0"), again);
  EXPECT_EQ(again->Kind(), KindNumber(ObjectKind::kMessage));
}

TEST_F(KelObjectManagerTest, FindsEveryObjectWhileTheCacheTurnsOver) {
  std::vector<KelObject*> created;
  for (int i = 0; i < 40; ++i) {
    created.push_back(objects_.CreateObject("img", "layer," + std::to_string(i)));
  }
  for (int round = 0; round < 3; ++round) {
    for (int i = 39; i >= 0; i -= (round + 1)) {
      EXPECT_EQ(objects_.Find("LAYER," + std::to_string(i)), created[static_cast<size_t>(i)]);
    }
  }
  for (int i = 0; i < 40; i += 2) EXPECT_TRUE(objects_.Delete("layer," + std::to_string(i)));
  for (int i = 0; i < 40; ++i) {
    TKelObjectDataCustom* found = objects_.Find("layer," + std::to_string(i));
    EXPECT_EQ(found, i % 2 == 0 ? nullptr : created[static_cast<size_t>(i)]) << i;
  }
}

TEST_F(KelObjectManagerTest, ClearFreesEverythingAndEmptiesTheCache) {
  ASSERT_NE(objects_.CreateObject("img", "a,0"), nullptr);
  ASSERT_NE(objects_.Find("a,0"), nullptr);
  objects_.ClearObjects();
  EXPECT_EQ(objects_.Count(), 0u);
  EXPECT_EQ(objects_.Find("a,0"), nullptr);
}

TEST_F(KelObjectManagerTest, AdvanceFollowsCreationOrderWithinTheGroupSet) {
  AddRecording("msg,0", ObjectKind::kMessage);  // group 2
  AddRecording("img,0", ObjectKind::kImage);    // group 1
  AddRecording("sys,0", ObjectKind::kSystem);   // group 0
  AddRecording("img,1", ObjectKind::kImage);
  objects_.SetCameraOffset(5, -3);
  objects_.AdvanceAll(-1, 25, groups::kScene);
  EXPECT_EQ(journal_,
            (std::vector<std::string>{"msg,0 advance -1 25 at 5,-3", "img,0 advance -1 25 at 5,-3",
                                      "img,1 advance -1 25 at 5,-3"}));
  EXPECT_EQ(objects_.Find("sys,0")->CameraX(), 0);  // not advanced, not moved
}

TEST_F(KelObjectManagerTest, DrawAndHoverReachOnlyTheGroupsAsked) {
  AddRecording("img,0", ObjectKind::kImage);
  AddRecording("sbtn,0", ObjectKind::kSysButton);  // group 8
  AddRecording("simg,0", ObjectKind::kSysImage);   // group 7
  objects_.DrawAll(6, true, 1u << 1);
  objects_.HoverAll(1, 10, 20, groups::kSystemHover);
  EXPECT_EQ(journal_, (std::vector<std::string>{"img,0 draw 6 fixed", "sbtn,0 hover 1 10,20",
                                                "simg,0 hover 1 10,20"}));
}

// Creates further objects while it is advanced.
class SpawningObject : public TKelObjectDataCustom {
 public:
  SpawningObject(std::string name, TKelObjectManager& objects)
      : TKelObjectDataCustom(std::move(name), ObjectKind::kImage), objects_(objects) {}
  void Advance(int32_t, int32_t) override {
    for (int i = 0; i < 64; ++i) objects_.CreateObject("img", "spawn," + std::to_string(i));
  }

 private:
  TKelObjectManager& objects_;
};

TEST_F(KelObjectManagerTest, ObjectsCreatedDuringABroadcastDoNotUpsetIt) {
  ASSERT_TRUE(objects_.Add(std::make_unique<SpawningObject>("spawner,0", objects_)));
  AddRecording("img,0", ObjectKind::kImage);
  objects_.AdvanceAll(-1, 5, groups::kScene);
  EXPECT_EQ(journal_, std::vector<std::string>{"img,0 advance -1 5 at 0,0"});
  EXPECT_EQ(objects_.Count(), 66u);
}

TEST_F(KelObjectManagerTest, ObjectsAboveGroupFifteenAreNeverBroadcastTo) {
  objects_.Add(std::make_unique<RecordingObject>("odd,0", ObjectKind::kImage, journal_, 16));
  objects_.AdvanceAll(-1, 10, 0xFFFFFFFF);
  objects_.DrawAll(-1, false, 0xFFFFFFFF);
  EXPECT_TRUE(journal_.empty());
  EXPECT_EQ(objects_.HitTest(-1, 0, 0, 0xFFFFFFFF), nullptr);
}

TEST_F(KelObjectManagerTest, TheLastObjectHitWins) {
  RecordingObject& first = AddRecording("msg,0", ObjectKind::kMessage);
  RecordingObject& second = AddRecording("msg,1", ObjectKind::kMessage);
  RecordingObject& third = AddRecording("msg,2", ObjectKind::kMessage);
  first.hits = true;
  second.hits = true;
  EXPECT_EQ(objects_.HitTest(-1, 3, 4, groups::kMessages), &second);
  // Every object of the groups is asked, also after a hit.
  EXPECT_EQ(journal_.size(), 3u);
  third.hits = true;
  EXPECT_EQ(objects_.HitTest(-1, 3, 4, groups::kMessages), &third);
  EXPECT_EQ(objects_.HitTest(-1, 3, 4, groups::kButtons), nullptr);
}

TEST_F(KelObjectManagerTest, MessageClicksAndStatesComeFromTheMessageWindows) {
  RecordingObject& window = AddRecording("msg,0", ObjectKind::kMessage);
  RecordingObject& image = AddRecording("img,0", ObjectKind::kImage);
  RecordingObject& other = AddRecording("msg,1", ObjectKind::kMessage);
  image.messageState = 2;  // not a message window: not asked
  EXPECT_EQ(objects_.MessageState(), 0);
  window.messageState = 1;
  other.messageState = 2;
  EXPECT_EQ(objects_.MessageState(), 2);
  objects_.ClickMessages(kNoPosition, kNoPosition);
  EXPECT_EQ(journal_,
            (std::vector<std::string>{"msg,0 hit -65536,-65536", "msg,1 hit -65536,-65536"}));
}

TEST_F(KelObjectManagerTest, AButtonHitCarriesTheObjectNameAndTheButtonsValues) {
  RecordingObject& button = AddRecording("choice,1", ObjectKind::kButton);
  EXPECT_FALSE(objects_.HitButton(-1, 1, 1));
  button.hits = true;
  std::optional<ButtonHit> hit = objects_.HitButton(-1, 1, 1);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->objectName, "choice,1");
  EXPECT_EQ(hit->value, 7);
  EXPECT_EQ(hit->text, "seven");
  EXPECT_EQ(hit->command, "\\jmp,@@x");
}

TEST_F(KelObjectManagerTest, SystemButtonsAreFoundAmongTheSystemButtonObjects) {
  RecordingObject& plain = AddRecording("btn,0", ObjectKind::kButton);
  RecordingObject& system = AddRecording("sbtn,0", ObjectKind::kSysButton);
  plain.hits = true;
  EXPECT_EQ(objects_.HitSystemButton(-1, 0, 0), nullptr);
  system.hits = true;
  EXPECT_EQ(objects_.HitSystemButton(-1, 0, 0), static_cast<SystemButton*>(&system));
  int visited = 0;
  objects_.ForEachSystemButton([&](SystemButton& button) {
    EXPECT_EQ(&button, static_cast<SystemButton*>(&system));
    ++visited;
  });
  EXPECT_EQ(visited, 1);
}

TEST_F(KelObjectManagerTest, ReleaseReachesEveryObject) {
  AddRecording("sys,0", ObjectKind::kSystem);
  AddRecording("img,0", ObjectKind::kImage);
  objects_.ReleaseAll();
  EXPECT_EQ(journal_, (std::vector<std::string>{"sys,0 release", "img,0 release"}));
}

TEST_F(KelObjectManagerTest, SwapExchangesFileReadersAndRefusesOtherPairs) {
  test::ScriptGame game({{"one.txt", "a\r\n"}, {"two.txt", "x\ny\nz\n"}});
  auto* first = dynamic_cast<TKelObjectDataFile*>(objects_.CreateObject("file", "a,0"));
  auto* second = dynamic_cast<TKelObjectDataFile*>(objects_.CreateObject("file", "b,0"));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(first->File().Load("one.txt"));
  ASSERT_TRUE(second->File().Load("two.txt"));
  EXPECT_TRUE(objects_.SwapObjects("a,0", "B,0"));
  EXPECT_EQ(first->Name(), "a,0");
  EXPECT_EQ(first->File().Name(), "two.txt");
  EXPECT_EQ(first->File().LineCount(), 3);
  EXPECT_EQ(second->File().Name(), "one.txt");
  EXPECT_EQ(second->File().Line(0), "a");
  EXPECT_TRUE(objects_.SwapObjects("a,0", "a,0"));
  EXPECT_EQ(first->File().LineCount(), 3);

  ASSERT_NE(objects_.CreateObject("math", "m,0"), nullptr);
  ASSERT_NE(objects_.CreateObject("math", "n,0"), nullptr);
  EXPECT_FALSE(objects_.SwapObjects("m,0", "n,0"));  // owns nothing to exchange
  EXPECT_FALSE(objects_.SwapObjects("a,0", "m,0"));  // different kinds

  ASSERT_NE(objects_.CreateObject("snd", "snd,2"), nullptr);
  ASSERT_NE(objects_.CreateObject("snd", "snd,5"), nullptr);
  ASSERT_NE(objects_.CreateObject("dsnd", "dsnd,5"), nullptr);
  EXPECT_TRUE(objects_.SwapObjects("snd,2", "snd,5"));  // the channels' contents
  EXPECT_FALSE(objects_.SwapObjects("snd,2", "dsnd,5"));
  EXPECT_EQ(sound_.soundCalls, std::vector<std::string>{"snd sw 2 5"});
  EXPECT_FALSE(objects_.SwapObjects("a,0", "missing,0"));
}

}  // namespace
}  // namespace mavu::script
