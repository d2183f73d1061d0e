#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace mavu::test {

struct ToolResult {
  int code = -1;
  std::string out;
  std::string err;
};

// Runs an authoring tool from MAVU_TOOLS_DIR with the arguments, keeping its
// output in files below `scratch`.
inline ToolResult RunTool(const std::string& tool, const std::vector<std::string>& args,
                          const std::filesystem::path& scratch) {
  auto quoted = [](const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
  };
  auto slurp = [](const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  };
  const char* tools = std::getenv("MAVU_TOOLS_DIR");
  if (!tools) throw std::runtime_error("MAVU_TOOLS_DIR is not set");
  std::string command = quoted((std::filesystem::path(tools) / tool).string());
  for (const auto& arg : args) command += " " + quoted(arg);
  const auto out = scratch / (tool + ".out"), err = scratch / (tool + ".err");
  int status = std::system((command + " >" + quoted(out) + " 2>" + quoted(err)).c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
}

}  // namespace mavu::test
