#include "script/reader/script_replace_dll.h"

#include <dlfcn.h>

#include <array>
#include <cstring>
#include <system_error>

#include "base/cp932.h"
#include "base/host_path.h"

namespace mavu::script {

namespace {

constexpr std::string_view kNotFoundMessage = "Not Found SCRREP.DLL \r\n(%s)";
// "関数(%s)の所得に失敗しました"
constexpr std::string_view kNoEntryPointMessage =
    "\x8A\xD6\x90\x94(%s)\x82\xCC\x8F\x8A\x93\xBE\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5"
    "\x82\xBD";

std::string Format(std::string_view message, std::string_view argument) {
  std::string text(message);
  text.replace(text.find("%s"), 2, argument);
  return text;
}

}  // namespace

TScriptReplaceDLL::LoadResult TScriptReplaceDLL::Load(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path fullPath = std::filesystem::absolute(path, error);
  if (error) fullPath = path;
  void* library = dlopen(fullPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    return {nullptr, Format(kNotFoundMessage, base::Utf8ToCp932(fullPath.string()))};
  }
  auto replace = reinterpret_cast<ReplaceFunction>(dlsym(library, kEntryPoint));
  if (replace == nullptr) {
    dlclose(library);
    return {nullptr, Format(kNoEntryPointMessage, kEntryPoint)};
  }
  return {std::unique_ptr<TScriptReplaceDLL>(new TScriptReplaceDLL(library, replace, fullPath)),
          {}};
}

TScriptReplaceDLL::LoadResult TScriptReplaceDLL::LoadFromGame(
    const std::filesystem::path& gameDir) {
  auto path = base::FindLooseFile(gameDir, kGamePath);
  if (!path) return {};
  return Load(*path);
}

TScriptReplaceDLL::TScriptReplaceDLL(void* library, ReplaceFunction replace,
                                     std::filesystem::path path)
    : library_(library), replace_(replace), path_(std::move(path)) {}

TScriptReplaceDLL::~TScriptReplaceDLL() {
  dlclose(library_);
}

std::string TScriptReplaceDLL::Replace(std::string_view line) const {
  if (line.size() >= kBufferSize || line.find('\0') != std::string_view::npos) {
    return std::string(line);
  }
  std::array<char, kBufferSize> buffer{};
  std::memcpy(buffer.data(), line.data(), line.size());
  replace_(buffer.data());
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

}  // namespace mavu::script
