#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace mavu::shell {

// What `mavu` was asked to do: `mavu --game DIR --headless [options]`.
struct CommandLine {
  static constexpr int32_t kDefaultFrameMs = 25;
  // A frame may not pass more time than the frame loop ever hands the
  // interpreter in one step.
  static constexpr int32_t kMaxFrameMs = 500;

  std::filesystem::path game;
  bool headless = false;
  std::optional<int64_t> frames;  // none: until the script ends or exits
  int32_t frameMs = kDefaultFrameMs;
  std::optional<std::filesystem::path> input;
  std::optional<std::filesystem::path> dumpVars;
  std::optional<std::filesystem::path> saveDir;     // holds SaveData/; default the game folder
  std::optional<std::filesystem::path> screenshot;  // the picture at exit
  std::optional<std::filesystem::path> shots;       // a folder for a picture every shotEvery frames
  int64_t shotEvery = 0;
};

struct HelpRequest {};

// The parsed arguments (without the program name), a request for the usage
// text, or what is wrong with them.
using ParsedCommandLine = std::variant<CommandLine, HelpRequest, std::string>;
ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args);

std::string UsageText();

}  // namespace mavu::shell
