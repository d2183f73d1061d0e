#include "shell/app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mavu::shell {
namespace {

ParsedCommandLine Parse(std::vector<std::string_view> args) {
  return ParseCommandLine(args);
}

CommandLine Line(std::vector<std::string_view> args) {
  ParsedCommandLine parsed = Parse(std::move(args));
  if (const auto* error = std::get_if<std::string>(&parsed)) ADD_FAILURE() << *error;
  if (!std::holds_alternative<CommandLine>(parsed)) return {};
  return std::get<CommandLine>(parsed);
}

std::string Error(std::vector<std::string_view> args) {
  ParsedCommandLine parsed = Parse(std::move(args));
  if (const auto* error = std::get_if<std::string>(&parsed)) return *error;
  return "accepted";
}

TEST(CommandLine, TheMinimalRunHasTheDefaults) {
  const CommandLine line = Line({"--game", "g", "--headless"});
  EXPECT_EQ(line.game, "g");
  EXPECT_TRUE(line.headless);
  EXPECT_FALSE(line.frames);
  EXPECT_EQ(line.frameMs, 25);
  EXPECT_FALSE(line.input);
  EXPECT_FALSE(line.dumpVars);
  EXPECT_FALSE(line.saveDir);
  EXPECT_FALSE(line.screenshot);
  EXPECT_FALSE(line.shots);
}

TEST(CommandLine, ReadsEveryOption) {
  const CommandLine line =
      Line({"--headless", "--frames", "0", "--frame-ms", "500", "--input", "in.txt", "--dump-vars",
            "out.json", "--save-dir", "saves", "--game", "my game"});
  EXPECT_EQ(line.game, "my game");
  EXPECT_EQ(line.frames, 0);
  EXPECT_EQ(line.frameMs, 500);
  EXPECT_EQ(line.input, "in.txt");
  EXPECT_EQ(line.dumpVars, "out.json");
  EXPECT_EQ(line.saveDir, "saves");
}

TEST(CommandLine, TheLastOfARepeatedOptionCounts) {
  EXPECT_EQ(Line({"--game", "a", "--headless", "--frames", "3", "--frames", "9"}).frames, 9);
}

TEST(CommandLine, PictureOptionsNeedTheirPartners) {
  const CommandLine line = Line(
      {"--game", "g", "--headless", "--screenshot", "a.png", "--shots", "d", "--shot-every", "2"});
  EXPECT_EQ(line.screenshot, "a.png");
  EXPECT_EQ(line.shots, "d");
  EXPECT_EQ(line.shotEvery, 2);
  EXPECT_EQ(Error({"--game", "g", "--headless", "--shots", "d"}),
            "--shots DIR and --shot-every N go together");
  EXPECT_EQ(Error({"--game", "g", "--headless", "--shot-every", "3"}),
            "--shots DIR and --shot-every N go together");
  EXPECT_EQ(Error({"--game", "g", "--headless", "--shots", "d", "--shot-every", "0"}),
            "--shot-every takes a whole number from 1 to 9223372036854775807, not \"0\"");
}

TEST(CommandLine, AWindowRunTakesTheGameAndTheSaveFolder) {
  const CommandLine line = Line({"--save-dir", "s", "--game", "g"});
  EXPECT_FALSE(line.headless);
  EXPECT_EQ(line.game, "g");
  EXPECT_EQ(line.saveDir, "s");
}

TEST(CommandLine, RefusesWhatItCannotRun) {
  EXPECT_EQ(Error({"--headless"}), "--game DIR is required");
  EXPECT_EQ(Error({"--game", "g", "--dump-vars", "v.json"}),
            "--dump-vars is an option of --headless runs");
  EXPECT_EQ(Error({"--game", "g", "--headless", "--fast"}), "unknown option --fast");
  EXPECT_EQ(Error({"--game"}), "--game needs a value");
  EXPECT_EQ(Error({"--game", ""}), "--game needs a non-empty value");
  EXPECT_EQ(Error({"--game", "g", "--headless", "--frames", "-1"}),
            "--frames takes a whole number from 0 to 9223372036854775807, not \"-1\"");
  EXPECT_EQ(Error({"--game", "g", "--headless", "--frames", "5x"}),
            "--frames takes a whole number from 0 to 9223372036854775807, not \"5x\"");
  EXPECT_EQ(Error({"--game", "g", "--headless", "--frame-ms", "0"}),
            "--frame-ms takes a whole number from 1 to 500, not \"0\"");
  EXPECT_EQ(Error({"--game", "g", "--headless", "--frame-ms", "501"}),
            "--frame-ms takes a whole number from 1 to 500, not \"501\"");
  EXPECT_EQ(Error({"--game", "g", "--headless", "--frame-ms", ""}),
            "--frame-ms takes a whole number from 1 to 500, not \"\"");
  EXPECT_EQ(Error({"--game", "g", "--headless", "--dump-vars"}), "--dump-vars needs a value");
}

TEST(CommandLine, HelpWinsOverEverythingBeforeIt) {
  EXPECT_TRUE(std::holds_alternative<HelpRequest>(Parse({"--game", "g", "--help"})));
  EXPECT_TRUE(std::holds_alternative<HelpRequest>(Parse({"-h"})));
  EXPECT_NE(UsageText().find("--dump-vars FILE"), std::string::npos);
}

}  // namespace
}  // namespace mavu::shell
