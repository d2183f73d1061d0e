#include "headless_game.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "base/cp932.h"
#include "base/file_io.h"

namespace mavu::test {
namespace {

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void ExecChild(const std::string& program, std::vector<char*>& argv,
                            const std::string& out, const std::string& err, RunLimits limits) {
  const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int nullFd = open("/dev/null", O_RDONLY);
  if (outFd < 0 || errFd < 0 || nullFd < 0) _exit(126);
  dup2(nullFd, STDIN_FILENO);
  dup2(outFd, STDOUT_FILENO);
  dup2(errFd, STDERR_FILENO);
  if (limits.addressSpace != 0) {
    const rlimit space = {limits.addressSpace, limits.addressSpace};
    if (setrlimit(RLIMIT_AS, &space) != 0) _exit(126);
  }
  alarm(limits.seconds);  // survives exec: a hanging run is killed by SIGALRM
  execv(program.c_str(), argv.data());
  _exit(127);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

ProgramResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& scratch, RunLimits limits) {
  std::vector<std::string> words{program.string()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const std::string out = (scratch / "stdout.txt").string();
  const std::string err = (scratch / "stderr.txt").string();
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("cannot start " + program.string());
  if (pid == 0) ExecChild(words[0], argv, out, err, limits);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, WIFSIGNALED(status) ? WTERMSIG(status) : 0,
          usage.ru_maxrss, Slurp(out), Slurp(err)};
}

std::filesystem::path ProgramFrom(const char* variable, const std::string& name) {
  const char* folder = std::getenv(variable);
  if (folder == nullptr) throw std::runtime_error(std::string(variable) + " is not set");
  return std::filesystem::path(folder) / name;
}

imaging::TARGB8888 ReadShot(const std::filesystem::path& png) {
  imaging::TARGB8888 image;
  const std::optional<base::Bytes> bytes = base::ReadWholeFile(png);
  if (!bytes) return image;
  base::ByteReader in(*bytes);
  image.LoadPng(in);
  return image;
}

std::vector<std::string> HeadlessRun::Errors() const {
  std::vector<std::string> lines;
  for (const JsonValue& line : (*dump)["errors"].Items()) lines.push_back(line.String());
  return lines;
}

HeadlessGame::HeadlessGame() : source_(dir_.Path() / "source"), game_(dir_.Path() / "game") {
  std::filesystem::create_directories(source_);
  std::filesystem::create_directories(game_ / "GameData");
}

void HeadlessGame::Add(const std::string& name, std::string_view utf8) {
  dir_.Write(std::filesystem::path("source") / name, utf8);
  packed_ = false;
}

void HeadlessGame::PackWith(std::vector<std::string> options) {
  packOptions_ = std::move(options);
  packed_ = false;
}

void HeadlessGame::Loose(const std::filesystem::path& relative, std::string_view utf8) const {
  dir_.Write(std::filesystem::path("game") / relative, base::Utf8ToCp932(utf8));
}

void HeadlessGame::CopyGame(const std::filesystem::path& folder) const {
  std::filesystem::copy(
      folder, game_,
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

std::filesystem::path HeadlessGame::Pack() {
  const std::filesystem::path stem = game_ / "GameData" / "data0";
  std::vector<std::string> args = {"build", stem.string(), source_.string(), "--encode-text"};
  args.insert(args.end(), packOptions_.begin(), packOptions_.end());
  const ProgramResult result =
      RunProgram(ProgramFrom("MAVU_TOOLS_DIR", "mavu-pack"), args, dir_.Path());
  if (result.code != 0) throw std::runtime_error("mavu-pack failed: " + result.err);
  packed_ = true;
  return stem.string() + ".pack";
}

HeadlessRun HeadlessGame::Run(const std::vector<std::string>& args,
                              std::optional<std::string_view> input) {
  if (!packed_) Pack();
  const std::string tag = std::to_string(++runs_);
  const std::filesystem::path dump = dir_.Path() / ("dump" + tag + ".json");
  std::vector<std::string> words = {"--game", game_.string(), "--headless", "--dump-vars",
                                    dump.string()};
  if (input)
    words.insert(words.end(), {"--input", dir_.Write("input" + tag + ".txt", *input).string()});
  words.insert(words.end(), args.begin(), args.end());
  const ProgramResult result =
      RunProgram(ProgramFrom("MAVU_BIN_DIR", "mavu"), words, dir_.Path(), limits_);

  HeadlessRun run;
  run.code = result.code;
  run.signal = result.signal;
  run.peakKb = result.peakKb;
  run.err = result.err;
  if (std::filesystem::exists(dump)) run.dump = JsonValue::Parse(Slurp(dump));
  const std::filesystem::path log = game_ / "ERRORLOG.txt";
  if (std::filesystem::exists(log)) run.errorLog = Lines(base::Cp932ToUtf8(Slurp(log)));
  return run;
}

}  // namespace mavu::test
