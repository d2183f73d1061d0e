#include "imaging/face_lookup.h"

#include <fontconfig/fontconfig.h>

#include <cctype>
#include <memory>

namespace mavu::imaging {

namespace {

constexpr char kJapanese[] = "ja";

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// `part` is lower-case ASCII; the UTF-8 bytes of Japanese text never look like ASCII.
bool ContainsCaseless(std::string_view text, std::string_view part) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return Contains(lower, part);
}

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

const FcChar8* Text(const char* s) {
  return reinterpret_cast<const FcChar8*>(s);
}

Pattern RequestFor(const std::string& name, bool bold, bool italic) {
  Pattern pattern(FcPatternCreate());
  if (!name.empty()) FcPatternAddString(pattern.get(), FC_FAMILY, Text(name.c_str()));
  FcPatternAddString(pattern.get(), FC_FAMILY, Text(StandInFamily(name)));
  FcPatternAddString(pattern.get(), FC_LANG, Text(kJapanese));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  return pattern;
}

}  // namespace

const char* StandInFamily(std::string_view name) {
  const bool mincho = Contains(name, "明朝") || ContainsCaseless(name, "mincho");
  const bool proportional = Contains(name, "Ｐ") || ContainsCaseless(name, "pgothic") ||
                            ContainsCaseless(name, "pmincho") ||
                            ContainsCaseless(name, "ui gothic");
  if (mincho) return proportional ? "IPAPMincho" : "IPAMincho";
  return proportional ? "IPAPGothic" : "IPAGothic";
}

std::optional<FaceLocation> FindFace(std::string_view utf8Name, bool bold, bool italic) {
  if (!FcInit()) return std::nullopt;
  Pattern request = RequestFor(std::string(utf8Name), bold, italic);
  FcResult result = FcResultNoMatch;
  Pattern match(FcFontMatch(nullptr, request.get(), &result));
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
    return std::nullopt;
  }
  FaceLocation face;
  face.file = reinterpret_cast<const char*>(file);
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &face.index);
  FcChar8* family = nullptr;
  if (FcPatternGetString(match.get(), FC_FAMILY, 0, &family) == FcResultMatch) {
    face.family = reinterpret_cast<const char*>(family);
  }
  return face;
}

}  // namespace mavu::imaging
