#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/file_io.h"
#include "imaging/animation/animation_file.h"
#include "support/imaging/hand_made_animation.h"
#include "support/temp_dir.h"
#include "tool_runner.h"

// mavu-anim run as a program; what it writes is read by the engine's reader.
namespace mavu::tools {
namespace {

using imaging::AnimationFile;
using imaging::AnimationKey;
using imaging::AnimationLayer;
using imaging::AnimationMotion;

base::Bytes BytesOf(std::string_view text) {
  return base::Bytes(text.begin(), text.end());
}

// The description in the "anim" block of the format's documentation.
std::string ButtonExample() {
  const auto bytes = base::ReadWholeFile(std::filesystem::path(MAVU_DOCS_DIR) / "anim-format.md");
  if (!bytes) throw std::runtime_error("the format's documentation is missing");
  const std::string text(bytes->begin(), bytes->end());
  const size_t start = text.find("```anim\n");
  if (start == std::string::npos) throw std::runtime_error("no anim block in the documentation");
  const size_t body = start + 8;
  return text.substr(body, text.find("```", body) - body);
}

AnimationFile ReadFile(const std::filesystem::path& path) {
  const auto bytes = base::ReadWholeFile(path);
  if (!bytes) throw std::runtime_error("missing " + path.string());
  base::ByteReader in(*bytes);
  const std::optional<AnimationFile> file = imaging::ReadAnimationFile(in);
  if (!file) throw std::runtime_error(path.string() + " is no animation file");
  return *file;
}

// A layer of keys whose every field differs from a fresh one, times rising.
AnimationLayer BusyLayer(int number) {
  AnimationLayer layer = AnimationLayer::Fresh(number);
  for (int k = 0; k < AnimationLayer::kKeys; ++k) {
    AnimationKey& key = layer.keys[k];
    key.time = k * 50 + number;
    key.source = {static_cast<int16_t>(k), -32768, 32767, static_cast<int16_t>(number)};
    key.destination = {-1, 2, -3, 4, static_cast<int16_t>(-k)};
    key.colour = 0x80402010u + static_cast<uint32_t>(k);
    key.drawType = static_cast<uint8_t>(k * 7);
    key.sourceMode = static_cast<uint8_t>(k % 8);
    key.destinationMode = static_cast<uint8_t>(k * 3);
    key.colourMode = static_cast<uint8_t>(255 - k);
    key.action = static_cast<uint8_t>(k % 12);
    key.argument = static_cast<uint8_t>(k * 8 + 1);
  }
  return layer;
}

AnimationFile BusyFile(int version, int layers) {
  AnimationFile file;
  file.version = version;
  for (const char* name : {"*Normal", "*OnMouse", "\x83\x7B\x83\x5E\x83\x93\x01\"\\\x82"}) {
    AnimationMotion motion;
    motion.name = name;
    for (int i = 0; i < layers; ++i) motion.layers.push_back(BusyLayer(i));
    file.motions.push_back(motion);
  }
  file.hasImage = true;
  file.imageFormat = 3;
  file.image = BytesOf("\x89PNG picture");
  file.sounds = {{"click", BytesOf("OggS...")}, {"\x83\x7B", BytesOf("RIFF...")}, {"", {}}};
  return file;
}

class AnimToolTest : public ::testing::Test {
 protected:
  test::ToolResult Anim(const std::vector<std::string>& args) {
    return test::RunTool("mavu-anim", args, dir_.Path());
  }
  std::string Path(const std::string& relative) const { return (dir_.Path() / relative).string(); }

  // Dumps `bytes` as in.b to out/desc.txt and builds that into again.b.
  AnimationFile DumpAndBuild(const base::Bytes& bytes) {
    dir_.Write("in.b", bytes);
    std::filesystem::create_directories(Path("out"));
    const test::ToolResult dumped = Anim({"dump", Path("in.b"), "-o", Path("out/desc.txt")});
    EXPECT_EQ(dumped.code, 0) << dumped.err;
    const test::ToolResult built = Anim({"build", Path("again.b"), Path("out/desc.txt")});
    EXPECT_EQ(built.code, 0) << built.err;
    return ReadFile(Path("again.b"));
  }

  // Builds `description` and expects exit code 1, `message` and no file.
  void ExpectBuildFails(const std::string& description, const std::string& message) {
    dir_.Write("desc.txt", description);
    const test::ToolResult built = Anim({"build", Path("out.b"), Path("desc.txt")});
    EXPECT_EQ(built.code, 1);
    EXPECT_NE(built.err.find(message), std::string::npos) << built.err;
    EXPECT_FALSE(std::filesystem::exists(Path("out.b")));
  }

  test::TempDir dir_;
};

TEST_F(AnimToolTest, BuildsTheButtonOfTheDocumentation) {
  dir_.Write("button.txt", ButtonExample());
  dir_.Write("button.png", "picture");
  dir_.Write("click.ogg", "OggS sound");
  const test::ToolResult built = Anim({"build", Path("button.b"), Path("button.txt")});
  ASSERT_EQ(built.code, 0) << built.err;

  const AnimationFile file = ReadFile(Path("button.b"));
  ASSERT_EQ(file.motions.size(), 3u);
  EXPECT_EQ(file.motions[1].name, "*OnMouse");
  EXPECT_EQ(file.motions[2].name, "*OnClick");
  EXPECT_TRUE(file.hasImage);
  EXPECT_EQ(file.imageFormat, 2);
  EXPECT_EQ(file.image, BytesOf("picture"));
  ASSERT_EQ(file.sounds.size(), 1u);
  EXPECT_EQ(file.sounds[0].name, "click");

  const AnimationLayer& pulse = file.motions[0].layers[1];
  EXPECT_EQ(pulse.keys[1].colour, 0xC0FFFFFFu);
  EXPECT_EQ(pulse.keys[1].colourMode, 1);
  EXPECT_EQ(pulse.keys[2].time, 1600);
  EXPECT_EQ(pulse.keys[2].action, static_cast<uint8_t>(imaging::KeyAction::kJump));
  EXPECT_EQ(pulse.keys[2].argument, 0);
  EXPECT_EQ(pulse.keys[3], AnimationLayer::Fresh(0).keys[3]);
  for (const AnimationMotion& motion : file.motions) {
    const AnimationKey& hit = motion.layers.at(2).keys[0];
    EXPECT_EQ(hit.drawType, static_cast<uint8_t>(imaging::KeyDrawType::kHitArea));
    EXPECT_EQ(hit.destination, (std::array<int16_t, 5>{0, 0, 120, 40, 0}));
  }
  const AnimationLayer& pressed = file.motions[2].layers[1];
  EXPECT_EQ(pressed.keys[0].action, static_cast<uint8_t>(imaging::KeyAction::kPlaySound));
  EXPECT_EQ(pressed.keys[1].action, static_cast<uint8_t>(imaging::KeyAction::kSwitchMotion));
  EXPECT_EQ(pressed.keys[1].argument, 1);
  EXPECT_EQ(pressed.keys[1].source, (std::array<int16_t, 4>{240, 0, 360, 40}));
}

TEST_F(AnimToolTest, BuildOfADumpGivesTheSameFile) {
  const base::Bytes original = imaging::WriteAnimationFile(BusyFile(7, 5));
  DumpAndBuild(original);
  EXPECT_EQ(base::ReadWholeFile(Path("again.b")), original);
  for (const char* written :
       {"desc-image.png", "desc-sound0.ogg", "desc-sound1.wav", "desc-sound2.bin"}) {
    EXPECT_TRUE(std::filesystem::exists(Path("out/") + written)) << written;
  }
}

TEST_F(AnimToolTest, DumpReadsVersions5And6AndBuildWritesThemAsVersion7) {
  for (int version : {5, 6}) {
    SCOPED_TRACE(version);
    AnimationFile file = BusyFile(version, AnimationFile::kOldLayerCount);
    const AnimationFile again = DumpAndBuild(test::HandMadeAnimation(file));
    file.version = 7;
    EXPECT_EQ(again, file);
  }
}

TEST_F(AnimToolTest, DumpWithoutOutputPrintsTheDescription) {
  dir_.Write("in.b", imaging::WriteAnimationFile(BusyFile(7, 1)));
  const test::ToolResult dumped = Anim({"dump", Path("in.b")});
  ASSERT_EQ(dumped.code, 0) << dumped.err;
  EXPECT_NE(dumped.out.find("image \"in-image.png\" format 3\n"), std::string::npos);
  EXPECT_NE(dumped.out.find("motion \"ボタン\\x01\\\"\\\\\\x82\"  # motion 2\n"), std::string::npos)
      << dumped.out;
  EXPECT_FALSE(std::filesystem::exists(Path("in-image.png")));
}

TEST_F(AnimToolTest, BuildNamesTheLineOfAFileItCannotRead) {
  ExpectBuildFails("motion \"m\"\nsound \"s\" \"missing.ogg\"\n",
                   "desc.txt:2: cannot read the sound file \"missing.ogg\"");
}

TEST_F(AnimToolTest, BuildNamesTheLineOfABadDescription) {
  ExpectBuildFails("motion \"m\"\nlayer\nkey 40\n",
                   "desc.txt:3: key: 40 is out of range (0 to 31)");
}

TEST_F(AnimToolTest, MessagesShowControlCharactersAsEscapes) {
  ExpectBuildFails("motion \"m\"\n\x1B[2J\n", "desc.txt:2: unknown word \"\\x1B[2J\"");
}

TEST_F(AnimToolTest, DumpRefusesDamagedAndForeignFiles) {
  base::Bytes damaged = imaging::WriteAnimationFile(BusyFile(7, 1));
  damaged.resize(damaged.size() - 20);
  dir_.Write("damaged.b", damaged);
  dir_.Write("foreign.b", "BM not an animation");
  const test::ToolResult cut = Anim({"dump", Path("damaged.b")});
  EXPECT_EQ(cut.code, 1);
  EXPECT_NE(cut.err.find("damaged.b: animation file:"), std::string::npos) << cut.err;
  const test::ToolResult foreign = Anim({"dump", Path("foreign.b")});
  EXPECT_EQ(foreign.code, 1);
  EXPECT_NE(foreign.err.find("no ABMP5, ABMP6 or ABMP7 magic"), std::string::npos);
}

TEST_F(AnimToolTest, BadArgumentsPrintTheUsage) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"build", "a.b"}, {"dump"}, {"dump", "a.b", "-x", "b"}, {"pack"}}) {
    const test::ToolResult result = Anim(args);
    EXPECT_EQ(result.code, 2) << ::testing::PrintToString(args);
    EXPECT_NE(result.err.find("usage: mavu-anim"), std::string::npos);
  }
  const test::ToolResult help = Anim({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("usage: mavu-anim"), std::string::npos);
}

}  // namespace
}  // namespace mavu::tools
