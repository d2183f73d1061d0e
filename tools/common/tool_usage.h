#pragma once

#include <cstdio>
#include <exception>
#include <span>
#include <string_view>

#include "base/bytes.h"
#include "shown_text.h"

namespace mavu::tools {

// Process exit codes of the authoring tools.
enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// What an authoring tool says about its command line: the usage for --help on
// standard output, or after "TOOL: problem" on standard error for bad arguments.
class ToolUsage {
 public:
  constexpr ToolUsage(const char* tool, const char* text) : tool_(tool), text_(text) {}

  int Help() const {
    std::fputs(text_, stdout);
    return kExitOk;
  }
  int Refuse(const char* problem) const {
    if (problem) std::fprintf(stderr, "%s: %s\n", tool_, problem);
    std::fputs(text_, stderr);
    return kExitUsage;
  }

  // The whole of a tool's main: the command word and the arguments after it go
  // to `run`, which answers with an exit code.
  template <class Run>
  int Main(int argc, char** argv, Run run) const {
    if (argc < 2) return Refuse(nullptr);
    return Guarded([&] {
      return run(std::string_view(argv[1]),
                 std::span<char*>(argv + 2, static_cast<size_t>(argc - 2)));
    });
  }

  // Runs the command; an exception escaping it becomes "TOOL: message" and
  // exit code 1. The engine's messages are CP932; the terminal wants UTF-8
  // without control characters.
  template <class Command>
  int Guarded(Command command) const {
    try {
      return command();
    } catch (const base::FormatError& e) {
      std::fprintf(stderr, "%s: %s\n", tool_, Shown(e.what()).c_str());
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s: %s\n", tool_, Escaped(e.what()).c_str());
    }
    return kExitFailed;
  }

 private:
  const char* tool_;
  const char* text_;
};

}  // namespace mavu::tools
