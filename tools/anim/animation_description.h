#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/animation/animation_data.h"

namespace mavu::tools {

// The picture an animation file embeds, as a description names it. `line` is
// where it was named, for messages; it is not part of what it says.
struct ImageReference {
  std::string path;  // host path, relative to the description's folder
  uint8_t format = 0;
  int line = 0;

  bool operator==(const ImageReference& other) const {
    return path == other.path && format == other.format;
  }
};

struct SoundReference {
  std::string name;  // CP932
  std::string path;
  int line = 0;

  bool operator==(const SoundReference& other) const {
    return name == other.name && path == other.path;
  }
};

// What a description says: the motions whole, the image and sounds by file.
struct AnimationDescription {
  std::vector<imaging::AnimationMotion> motions;
  std::optional<ImageReference> image;
  std::vector<SoundReference> sounds;

  bool operator==(const AnimationDescription&) const = default;
};

// A description that cannot be built; `Line()` is 0 when no line is to blame.
class DescriptionError : public std::runtime_error {
 public:
  DescriptionError(int line, const std::string& message)
      : std::runtime_error(message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

}  // namespace mavu::tools
