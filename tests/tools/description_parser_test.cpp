#include "description_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace mavu::tools {
namespace {

using imaging::AnimationKey;
using imaging::AnimationLayer;

std::string Repeat(const std::string& line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line;
  return text;
}

const AnimationLayer& OnlyLayer(const AnimationDescription& description) {
  return description.motions.at(0).layers.at(0);
}

TEST(DescriptionParser, KeysNotWrittenKeepTheirFreshValues) {
  const AnimationDescription description =
      ParseDescription("motion \"m\"\nlayer\nkey 2 time 2500 draw alpha\n");
  AnimationLayer expected = AnimationLayer::Fresh(0);
  expected.keys[2].time = 2500;
  expected.keys[2].drawType = 1;
  EXPECT_EQ(OnlyLayer(description), expected);
  EXPECT_EQ(description.image, std::nullopt);
  EXPECT_TRUE(description.sounds.empty());
}

TEST(DescriptionParser, ReadsEveryFieldOfAKey) {
  const AnimationDescription description = ParseDescription(
      "motion \"m\"\nlayer \"l\"\n"
      "key 0 action play-sound 7 colour-mode ease-in dest-mode hermite src-mode shake"
      "  draw masked colour 80FF0010 priority -5 dest -1 -2 300 400 src 1 2 3 4 time -100\n");
  AnimationKey expected;
  expected.time = -100;
  expected.source = {1, 2, 3, 4};
  expected.destination = {-1, -2, 300, 400, -5};
  expected.colour = 0x80FF0010;
  expected.drawType = 20;
  expected.sourceMode = 6;
  expected.destinationMode = 5;
  expected.colourMode = 4;
  expected.action = 8;
  expected.argument = 7;
  EXPECT_EQ(OnlyLayer(description).keys[0], expected);
  EXPECT_EQ(OnlyLayer(description).name, "l");
}

TEST(DescriptionParser, NumbersStandForTheNamedValuesAndBeyondThem) {
  const AnimationDescription named = ParseDescription(
      "motion \"m\"\nlayer\nkey 0 draw hit-area src-mode spline action switch-motion 2\n");
  const AnimationDescription numbered =
      ParseDescription("motion \"m\"\nlayer\nkey 0 draw 19 src-mode 2 action 5 2\n");
  EXPECT_EQ(named, numbered);
  const AnimationKey& key =
      OnlyLayer(ParseDescription("motion \"m\"\nlayer\nkey 0 draw 200 colour-mode 9 action 99\n"))
          .keys[0];
  EXPECT_EQ(key.drawType, 200);
  EXPECT_EQ(key.colourMode, 9);
  EXPECT_EQ(key.action, 99);
  EXPECT_EQ(key.argument, 0);
}

TEST(DescriptionParser, NamesAreConvertedToCp932AndEscapedBytesKept) {
  const AnimationDescription description =
      ParseDescription("motion \"ボタン\"\nlayer \"a\\\"\\\\\\x82\\x00\"\n");
  EXPECT_EQ(description.motions[0].name, "\x83\x7B\x83\x5E\x83\x93");
  EXPECT_EQ(OnlyLayer(description).name, std::string("a\"\\\x82\0", 5));
}

TEST(DescriptionParser, TheImageFormatComesFromTheExtensionOrIsGiven) {
  auto image = [](const std::string& line) {
    return ParseDescription(line + "\nmotion \"m\"\n").image;
  };
  EXPECT_EQ(image("image \"pic/a.PNG\"")->format, 2);
  EXPECT_EQ(image("image \"a.jpeg\"")->format, 1);
  EXPECT_EQ(image("image \"a.bmp\"")->format, 0);
  EXPECT_EQ(image("image \"a.png\" format 3")->format, 3);
  EXPECT_EQ(image("image \"a\" format 7")->path, "a");
  EXPECT_EQ(image("image none"), std::nullopt);
}

TEST(DescriptionParser, SoundsKeepTheirOrderAndLines) {
  const AnimationDescription description =
      ParseDescription("sound \"b\" \"x/b.ogg\"\n\nsound \"a\" \"a.wav\"\nmotion \"m\"\n");
  ASSERT_EQ(description.sounds.size(), 2u);
  EXPECT_EQ(description.sounds[0].name, "b");
  EXPECT_EQ(description.sounds[0].path, "x/b.ogg");
  EXPECT_EQ(description.sounds[1].line, 3);
}

TEST(DescriptionParser, SkipsCommentsBlankLinesAByteOrderMarkAndCarriageReturns) {
  const AnimationDescription description = ParseDescription(
      "\xEF\xBB\xBF# a button\r\n\r\nmotion \"#1\"  # not a name\r\n\tlayer\r\nkey 0 time 5# "
      "x\r\n");
  EXPECT_EQ(description.motions[0].name, "#1");
  EXPECT_EQ(OnlyLayer(description).keys[0].time, 5);
}

TEST(DescriptionParser, ALayerWithoutANameIsNamedAfterItsNumber) {
  const AnimationDescription description =
      ParseDescription("motion \"m\"\nlayer \"first\"\nlayer\nmotion \"n\"\n");
  EXPECT_EQ(description.motions[0].layers[1].name, "Layer1");
  EXPECT_TRUE(description.motions[1].layers.empty());
}

TEST(DescriptionParser, KeysAfterTheLastOneWrittenMayKeepEarlierTimes) {
  // A loop at key 1 never reaches keys 2 and on, whose fresh times lie below it.
  const AnimationLayer& layer =
      OnlyLayer(ParseDescription("motion \"m\"\nlayer\nkey 1 time 5000 action jump 0\n"));
  EXPECT_EQ(layer.keys[1].time, 5000);
  EXPECT_EQ(layer.keys[2].time, 2000);
}

struct BadDescription {
  const char* name;
  std::string text;
  int line;
  const char* message;
};

void PrintTo(const BadDescription& bad, std::ostream* out) {
  *out << bad.name;
}

class DescriptionErrors : public testing::TestWithParam<BadDescription> {};

TEST_P(DescriptionErrors, NameTheLineAndTheProblem) {
  const BadDescription& bad = GetParam();
  try {
    ParseDescription(bad.text);
    ADD_FAILURE() << "no error";
  } catch (const DescriptionError& e) {
    EXPECT_EQ(e.Line(), bad.line);
    EXPECT_NE(std::string(e.what()).find(bad.message), std::string::npos) << e.what();
  }
}

const std::string kLayer = "motion \"m\"\nlayer\n";

INSTANTIATE_TEST_SUITE_P(
    Each, DescriptionErrors,
    testing::Values(
        BadDescription{"UnknownStatement", "motion \"m\"\nlayr\n", 2, "unknown word \"layr\""},
        BadDescription{"UnknownClause", kLayer + "key 0 colr 1\n", 3, "unknown word \"colr\""},
        BadDescription{"UnknownDrawType", kLayer + "key 0 draw alpah\n", 3, "hit-area"},
        BadDescription{"CoordinateOutOfRange", kLayer + "key 0 src 0 0 32768 0\n", 3,
                       "src: 32768 is out of range (-32768 to 32767)"},
        BadDescription{"ArgumentOutOfRange", kLayer + "key 0 action jump 256\n", 3, "(0 to 255)"},
        BadDescription{"TimeOutOfRange", kLayer + "key 0 time 2147483648\n", 3, "out of range"},
        BadDescription{"NotANumber", kLayer + "key 0 time 1.5\n", 3, "not a whole number"},
        BadDescription{"ColourNotEightHexDigits", kLayer + "key 0 colour FFF\n", 3,
                       "eight hex digits"},
        BadDescription{"ThirtyThirdKey", kLayer + "key 32\n", 3, "key: 32 is out of range"},
        BadDescription{"SixtyFifthLayer", "motion \"m\"\n" + Repeat("layer\n", 65), 66,
                       "64 at most"},
        BadDescription{"TwoHundredFiftySixthMotion", Repeat("motion \"m\"\n", 256), 256,
                       "255 at most"},
        BadDescription{"TwoHundredFiftySixthSound", Repeat("sound \"s\" \"s.ogg\"\n", 256), 256,
                       "255 at most"},
        BadDescription{"TimeGoingDown", kLayer + "key 1 time 500\nkey 2 time 400\n", 4,
                       "time 400 comes before key 1's time 500"},
        BadDescription{"UnwrittenKeyBeforeAnEarlierTime", kLayer + "key 0 time 5000\nkey 3\n", 4,
                       "key 1, not written"},
        BadDescription{"KeysOutOfOrder", kLayer + "key 2\nkey 1\n", 4, "rising order"},
        BadDescription{"KeyTwice", kLayer + "key 2\nkey 2\n", 4, "rising order"},
        BadDescription{"ClauseTwice", kLayer + "key 0 time 1 time 2\n", 3, "given twice"},
        BadDescription{"NameTooLong", "motion \"" + std::string(32, 'n') + "\"\n", 1,
                       "32 bytes in CP932; its field holds 31"},
        BadDescription{"TwoByteNameTooLong", "sound \"" + Repeat("あ", 16) + "\" \"s\"\n", 1,
                       "32 bytes"},
        BadDescription{"NameWithoutCp932", "motion \"caf\xC3\xA9\"\n", 1, "CP932"},
        BadDescription{"UnclosedQuote", "motion \"m\n", 1, "closing quote"},
        BadDescription{"BadEscape", "motion \"\\n\"\n", 1, "escape"},
        BadDescription{"LayerBeforeMotion", "layer\n", 1, "before the first motion"},
        BadDescription{"KeyOutsideLayer", "motion \"m\"\nkey 0\n", 2, "outside a layer"},
        BadDescription{"WordsLeftOver", "motion \"m\" \"n\"\n", 1, "unexpected"},
        BadDescription{"ImageOfUnknownFormat", "image \"a.gif\"\n", 1, "add format N"},
        BadDescription{"SecondImage", "image none\nimage \"a.png\"\n", 2, "a second image"},
        BadDescription{"NoMotion", "image none\n", 0, "no motion"}),
    [](const testing::TestParamInfo<BadDescription>& info) { return info.param.name; });

}  // namespace
}  // namespace mavu::tools
