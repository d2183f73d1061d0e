#include "resource/pack_entry_name.h"

#include "base/cp932.h"

namespace mavu::resource {
namespace {

constexpr size_t kMaxNameLength = 0xFFFF;

bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

std::optional<std::string> PartProblem(std::string_view part) {
  if (part.empty()) return "an empty part (a leading, doubled or trailing \\)";
  if (part == "." || part == "..") return "a \".\" or \"..\" part";
  return std::nullopt;
}

std::optional<std::string> CharacterProblem(std::string_view character) {
  if (character.size() != 1) return std::nullopt;
  const char c = character[0];
  if (IsControl(c)) return "a control character";
  if (c == '/') return "a \"/\" (parts are separated by \\)";
  if (c >= 'A' && c <= 'Z') return "an upper-case letter (names are stored lower-cased)";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> EntryNameProblem(std::string_view name) {
  if (name.empty()) return "an empty name";
  if (name.size() > kMaxNameLength) return "a name of more than 65535 bytes";
  size_t partStart = 0;
  for (size_t pos = 0; pos <= name.size();) {
    const size_t length = pos < name.size() ? base::CharLength(name, pos) : 1;
    const bool partEnd = pos == name.size() || (length == 1 && name[pos] == '\\');
    if (partEnd) {
      if (auto problem = PartProblem(name.substr(partStart, pos - partStart))) return problem;
      partStart = pos + 1;
    } else if (auto problem = CharacterProblem(name.substr(pos, length))) {
      return problem;
    }
    pos += length;
  }
  return std::nullopt;
}

}  // namespace mavu::resource
