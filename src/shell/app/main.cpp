#include <iostream>
#include <string_view>
#include <variant>
#include <vector>

#include "shell/app/command_line.h"
#include "shell/app/headless_runner.h"

int main(int argc, char** argv) {
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
  return HeadlessRunner(std::get<CommandLine>(std::move(parsed))).Run();
}
