#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// The optional external replacer: a shared library in the game folder that may
// rewrite every script line before the reader's own replacement table runs.
// It exports
//   extern "C" void SRReplace(char* buffer);
// which gets a 1024-byte buffer, zero-filled, holding the line (CP932, no line
// end) and rewrites it in place; the result is the buffer up to its first zero
// byte (all 1024 bytes when there is none).
namespace mavu::script {

class TScriptReplaceDLL {
 public:
  // The library's place in the game folder, as a resource name.
  static constexpr std::string_view kGamePath = "DLL\\libscrrep.so";
  static constexpr const char* kEntryPoint = "SRReplace";
  static constexpr size_t kBufferSize = 1024;

  // A loaded replacer, or the CP932 message of why there is none (an empty
  // message when the game simply has no replacer).
  struct LoadResult {
    std::unique_ptr<TScriptReplaceDLL> replacer;
    std::string error;
  };

  // Loads the library file `path`.
  static LoadResult Load(const std::filesystem::path& path);
  // Loads the game's replacer if the game folder has one.
  static LoadResult LoadFromGame(const std::filesystem::path& gameDir);

  ~TScriptReplaceDLL();
  TScriptReplaceDLL(const TScriptReplaceDLL&) = delete;
  TScriptReplaceDLL& operator=(const TScriptReplaceDLL&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  // The line as the library rewrites it. A line that the buffer cannot carry
  // whole (1024 bytes or more, or one holding a zero byte, which would cut it
  // short) is returned unchanged without calling the library.
  std::string Replace(std::string_view line) const;

 private:
  using ReplaceFunction = void (*)(char* buffer);
  TScriptReplaceDLL(void* library, ReplaceFunction replace, std::filesystem::path path);

  void* library_;
  ReplaceFunction replace_;
  std::filesystem::path path_;
};

}  // namespace mavu::script
