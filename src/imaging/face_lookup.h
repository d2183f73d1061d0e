#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace mavu::imaging {

// An installed outline face chosen for a face name.
struct FaceLocation {
  std::filesystem::path file;
  int index = 0;
  std::string family;  // UTF-8
};

// Asks fontconfig for the face named `utf8Name`, in the weight and slant asked
// for when the family has them. When no installed face has
// that name, a Japanese face stands in: the IPA Mincho faces for Mincho names
// ("明朝", "Mincho"), the IPA Gothic faces for every other name, their
// proportional forms for proportional names ("ＭＳ Ｐゴシック", "MS PMincho",
// "MS UI Gothic"), and failing those whatever fontconfig prefers for
// Japanese. Nothing only when fontconfig knows no font at all.
std::optional<FaceLocation> FindFace(std::string_view utf8Name, bool bold, bool italic);

// The stand-in family for a name ("IPAGothic", "IPAPGothic", "IPAMincho" or "IPAPMincho").
const char* StandInFamily(std::string_view utf8Name);

}  // namespace mavu::imaging
