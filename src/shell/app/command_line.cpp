#include "shell/app/command_line.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace mavu::shell {
namespace {

constexpr std::string_view kUsage =
    "usage: mavu --game DIR [--save-dir DIR]\n"
    "       mavu --game DIR --headless [options]\n"
    "Plays the game in DIR in a window, or with --headless runs it without a\n"
    "window or sound, on a simulated clock, with these options:\n"
    "  --frames N        stop after N frames (default: until the script ends or exits)\n"
    "  --frame-ms MS     simulated milliseconds per frame, 1 to 500 (default 25)\n"
    "  --input FILE      scripted input, one event per line:\n"
    "                    FRAME click X Y | FRAME rclick X Y | FRAME move X Y |\n"
    "                    FRAME wheel N | FRAME key VK | FRAME keyup VK | FRAME action NAME\n"
    "                    (frames count from 1; '#' starts a comment)\n"
    "  --dump-vars FILE  at exit, write the variables, the error lines, the script\n"
    "                    position and the frame count as JSON (UTF-8)\n"
    "  --save-dir DIR    the folder that holds SaveData/ (default: the game folder)\n"
    "  --screenshot FILE at exit, write the picture a window would show as PNG\n"
    "  --shots DIR --shot-every N\n"
    "                    write that picture every N frames as DIR/frame-000120.png\n"
    "  --help            this text\n"
    "A run also ends when the script waits for a click that the input no longer gives.\n"
    "Exit codes: 0 normal end, 1 a script error stopped the run, 2 start-up failure.\n";

class Parser {
 public:
  explicit Parser(std::span<const std::string_view> args) : args_(args) {}

  ParsedCommandLine Parse() {
    for (next_ = 0; next_ < args_.size();) {
      const std::string_view option = args_[next_++];
      if (option == "--help" || option == "-h") return HelpRequest{};
      if (!Take(option)) return error_;
    }
    if (line_.game.empty()) return std::string("--game DIR is required");
    if (!line_.headless && headlessOption_) {
      return std::string(*headlessOption_) + " is an option of --headless runs";
    }
    if (line_.shots.has_value() != (line_.shotEvery > 0)) {
      return std::string("--shots DIR and --shot-every N go together");
    }
    return line_;
  }

 private:
  // False with error_ set when the option is unknown or its value is wrong.
  bool Take(std::string_view option) {
    if (option == "--headless") {
      line_.headless = true;
      return true;
    }
    if (option == "--game") return Path(option, line_.game);
    if (option == "--save-dir") return OptionalPath(option, line_.saveDir);
    if (option != "--help") headlessOption_ = option;
    if (option == "--input") return OptionalPath(option, line_.input);
    if (option == "--dump-vars") return OptionalPath(option, line_.dumpVars);
    if (option == "--frames") {
      int64_t frames = 0;
      if (!Number(option, 0, INT64_MAX, frames)) return false;
      line_.frames = frames;
      return true;
    }
    if (option == "--frame-ms") {
      int64_t ms = 0;
      if (!Number(option, 1, CommandLine::kMaxFrameMs, ms)) return false;
      line_.frameMs = static_cast<int32_t>(ms);
      return true;
    }
    if (option == "--screenshot") return OptionalPath(option, line_.screenshot);
    if (option == "--shots") return OptionalPath(option, line_.shots);
    if (option == "--shot-every") return Number(option, 1, INT64_MAX, line_.shotEvery);
    error_ = "unknown option " + std::string(option);
    return false;
  }

  bool Value(std::string_view option, std::string& value) {
    if (next_ >= args_.size()) {
      error_ = std::string(option) + " needs a value";
      return false;
    }
    value = args_[next_++];
    return true;
  }

  bool Path(std::string_view option, std::filesystem::path& path) {
    std::string value;
    if (!Value(option, value)) return false;
    if (value.empty()) {
      error_ = std::string(option) + " needs a non-empty value";
      return false;
    }
    path = value;
    return true;
  }

  bool OptionalPath(std::string_view option, std::optional<std::filesystem::path>& path) {
    std::filesystem::path value;
    if (!Path(option, value)) return false;
    path = value;
    return true;
  }

  bool Number(std::string_view option, int64_t low, int64_t high, int64_t& number) {
    std::string value;
    if (!Value(option, value)) return false;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number);
    if (error != std::errc() || stop != end || value.empty() || number < low || number > high) {
      error_ = std::string(option) + " takes a whole number from " + std::to_string(low) + " to " +
               std::to_string(high) + ", not \"" + value + "\"";
      return false;
    }
    return true;
  }

  std::span<const std::string_view> args_;
  size_t next_ = 0;
  CommandLine line_;
  std::optional<std::string_view> headlessOption_;  // the last option only headless runs take
  std::string error_;
};

}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args) {
  return Parser(args).Parse();
}

std::string UsageText() {
  return std::string(kUsage);
}

}  // namespace mavu::shell
