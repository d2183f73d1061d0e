#include "description_parser.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <utility>

#include "imaging/animation/animation_file.h"
#include "key_clauses.h"
#include "line_cursor.h"
#include "quoted_text.h"

namespace mavu::tools {
namespace {

using imaging::AnimationLayer;
using imaging::AnimationMotion;

// The file counts motions and sounds in one byte each.
constexpr size_t kMaxMotions = 255;
constexpr size_t kMaxSounds = 255;
constexpr size_t kNameBytes = AnimationMotion::kNameField - 1;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

class DescriptionParser {
 public:
  void Statement(LineCursor& in);
  AnimationDescription Finish();

 private:
  void Image(LineCursor& in);
  void Sound(LineCursor& in);
  void Motion(LineCursor& in);
  void Layer(LineCursor& in);
  void Key(LineCursor& in);
  AnimationLayer& CurrentLayer(LineCursor& in);
  static void CheckTimes(LineCursor& in, const AnimationLayer& layer, int from, int to);

  AnimationDescription result_;
  int imageLine_ = 0;  // where the image, or its absence, was given
  bool inLayer_ = false;
  int lastKey_ = -1;  // in the current layer
};

// A name in quotes, converted to CP932 and fitting its field.
std::string Name(LineCursor& in, std::string_view what) {
  const std::optional<std::string> name = UnquoteName(in.Quoted(what));
  if (!name) in.Fail(std::string(what) + " holds a character that CP932 does not have");
  if (name->size() > kNameBytes) {
    in.Fail(std::string(what) + " is " + std::to_string(name->size()) +
            " bytes in CP932; its field holds " + std::to_string(kNameBytes));
  }
  return *name;
}

void DescriptionParser::Statement(LineCursor& in) {
  struct Word {
    std::string_view word;
    void (DescriptionParser::*read)(LineCursor&);
  };
  static constexpr std::array<Word, 5> kStatements = {{{"image", &DescriptionParser::Image},
                                                       {"sound", &DescriptionParser::Sound},
                                                       {"motion", &DescriptionParser::Motion},
                                                       {"layer", &DescriptionParser::Layer},
                                                       {"key", &DescriptionParser::Key}}};
  const std::string_view word = in.Word("a statement");
  const Word* statement = std::ranges::find(kStatements, word, &Word::word);
  if (statement == kStatements.end()) {
    in.Fail("unknown word \"" + std::string(word) +
            "\" (a line starts with image, sound, motion, layer or key)");
  }
  (this->*statement->read)(in);
  in.ExpectEnd();
}

void DescriptionParser::Image(LineCursor& in) {
  if (imageLine_ > 0) in.Fail("a second image: a file holds one");
  imageLine_ = in.Line();
  if (!in.NextIsQuoted()) {
    const std::string_view word = in.Word("an image file or none");
    if (word != "none") in.Fail("image: expected a quoted file name or none");
    return;
  }
  ImageReference image{UnquotePath(in.Quoted("an image file")), 0, in.Line()};
  std::optional<uint8_t> format = ImageFormatOf(image.path);
  if (!in.AtEnd()) {
    if (in.Word("format") != "format") in.Fail("image: expected format after the file name");
    format = in.Number<uint8_t>("format");
  }
  if (!format) in.Fail("image: the extension names no format (.bmp, .jpg, .png); add format N");
  image.format = *format;
  result_.image = std::move(image);
}

void DescriptionParser::Sound(LineCursor& in) {
  if (result_.sounds.size() == kMaxSounds) in.Fail("a 256th sound: a file holds 255 at most");
  std::string name = Name(in, "the sound's name");
  result_.sounds.push_back({std::move(name), UnquotePath(in.Quoted("a sound file")), in.Line()});
}

void DescriptionParser::Motion(LineCursor& in) {
  if (result_.motions.size() == kMaxMotions) in.Fail("a 256th motion: a file holds 255 at most");
  AnimationMotion motion;
  motion.name = Name(in, "the motion's name");
  result_.motions.push_back(std::move(motion));
  inLayer_ = false;
}

void DescriptionParser::Layer(LineCursor& in) {
  if (result_.motions.empty()) in.Fail("a layer before the first motion");
  std::vector<AnimationLayer>& layers = result_.motions.back().layers;
  if (layers.size() == AnimationMotion::kMaxLayers) {
    in.Fail("a 65th layer: a motion holds 64 at most");
  }
  AnimationLayer layer = AnimationLayer::Fresh(static_cast<int>(layers.size()));
  if (in.NextIsQuoted()) layer.name = Name(in, "the layer's name");
  layers.push_back(std::move(layer));
  inLayer_ = true;
  lastKey_ = -1;
}

AnimationLayer& DescriptionParser::CurrentLayer(LineCursor& in) {
  if (!inLayer_) in.Fail("a key outside a layer (write a layer line first)");
  return result_.motions.back().layers.back();
}

void DescriptionParser::Key(LineCursor& in) {
  AnimationLayer& layer = CurrentLayer(in);
  const int index = static_cast<int>(in.Integer("key", 0, AnimationLayer::kKeys - 1));
  if (index <= lastKey_) {
    in.Fail("key " + std::to_string(index) + " after key " + std::to_string(lastKey_) +
            ": a layer's keys come once each, in rising order");
  }
  ReadKeyClauses(in, layer.keys[index]);
  CheckTimes(in, layer, lastKey_ + 1, index);
  lastKey_ = index;
}

// Keys from `from` to `to` (the key just written, the ones before it unwritten)
// must not start before the key before them.
void DescriptionParser::CheckTimes(LineCursor& in, const AnimationLayer& layer, int from, int to) {
  for (int k = std::max(from, 1); k <= to; ++k) {
    const int32_t time = layer.keys[k].time, before = layer.keys[k - 1].time;
    if (time >= before) continue;
    const std::string which = k == to
                                  ? "time " + std::to_string(time)
                                  : "key " + std::to_string(k) + ", not written, keeps its time " +
                                        std::to_string(time) + ", which";
    in.Fail(which + " comes before key " + std::to_string(k - 1) + "'s time " +
            std::to_string(before) + " (key times must not go down)");
  }
}

AnimationDescription DescriptionParser::Finish() {
  if (result_.motions.empty()) throw DescriptionError(0, "no motion: a file needs one at least");
  return std::move(result_);
}

}  // namespace

AnimationDescription ParseDescription(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  DescriptionParser parser;
  for (int line = 1; !text.empty(); ++line) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view content = text.substr(0, end);
    if (content.ends_with('\r')) content.remove_suffix(1);
    text.remove_prefix(std::min(end + 1, text.size()));
    LineCursor in(line, content);
    if (!in.AtEnd()) parser.Statement(in);
  }
  return parser.Finish();
}

std::optional<uint8_t> ImageFormatOf(std::string_view path) {
  using imaging::EmbeddedImageFormat;
  static constexpr std::array<std::pair<std::string_view, EmbeddedImageFormat>, 4> kExtensions = {
      {{".bmp", EmbeddedImageFormat::kBmp},
       {".jpg", EmbeddedImageFormat::kJpeg},
       {".jpeg", EmbeddedImageFormat::kJpeg},
       {".png", EmbeddedImageFormat::kPng}}};
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  for (const auto& [known, format] : kExtensions) {
    if (extension == known) return static_cast<uint8_t>(format);
  }
  return std::nullopt;
}

}  // namespace mavu::tools
