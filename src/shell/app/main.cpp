#include <exception>
#include <iostream>
#include <new>
#include <string_view>
#include <variant>
#include <vector>

#include "base/cp932.h"
#include "base/error_log.h"
#include "shell/app/command_line.h"
#include "shell/app/headless_runner.h"
#include "shell/platform/sdl/sdl_window_runner.h"

namespace {

int Run(int argc, char** argv) {
  using namespace mavu::shell;
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  ParsedCommandLine parsed = ParseCommandLine(args);
  if (std::holds_alternative<HelpRequest>(parsed)) {
    std::cout << UsageText();
    return HeadlessRunner::kExitNormal;
  }
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    std::cerr << "mavu: " << *error << '\n' << UsageText();
    return HeadlessRunner::kExitStartupFailure;
  }
  // Authors running a game from a terminal see its script errors as they come.
  mavu::base::TheErrorLog().SetEcho([](std::string_view line) {
    std::cerr << "mavu: " << mavu::base::Cp932ToUtf8(line) << '\n';
  });
  CommandLine line = std::get<CommandLine>(std::move(parsed));
  if (!line.headless) return RunInWindow(std::move(line), argv[0]);
  return HeadlessRunner(std::move(line)).Run();
}

}  // namespace

// The last line of defence: whatever escaped the layers that should have caught
// it ends the process with a message, never with an abort.
int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::cerr << "mavu: not enough memory\n";
  } catch (const std::exception& error) {
    std::cerr << "mavu: " << mavu::base::Cp932ToUtf8(error.what()) << '\n';
  }
  return mavu::shell::HeadlessRunner::kExitStartupFailure;
}
