#include "description_printer.h"

#include "description_parser.h"
#include "key_clauses.h"
#include "quoted_text.h"

namespace mavu::tools {
namespace {

using imaging::AnimationLayer;

void PrintImage(std::string& out, const ImageReference& image) {
  out += "image " + QuotePath(image.path);
  if (ImageFormatOf(image.path) != image.format) out += " format " + std::to_string(image.format);
  out += "\n";
}

void PrintLayer(std::string& out, const AnimationLayer& layer) {
  static const AnimationLayer kFresh = AnimationLayer::Fresh(0);
  out += "  layer " + QuoteName(layer.name) + "\n";
  for (size_t k = 0; k < layer.keys.size(); ++k) {
    const std::string clauses = PrintKeyClauses(layer.keys[k], kFresh.keys[k]);
    if (!clauses.empty()) out += "    key " + std::to_string(k) + clauses + "\n";
  }
}

}  // namespace

std::string PrintDescription(const AnimationDescription& description) {
  std::string out;
  if (description.image) PrintImage(out, *description.image);
  for (size_t i = 0; i < description.sounds.size(); ++i) {
    const SoundReference& sound = description.sounds[i];
    out += "sound " + QuoteName(sound.name) + " " + QuotePath(sound.path) + "  # sound " +
           std::to_string(i) + "\n";
  }
  for (size_t i = 0; i < description.motions.size(); ++i) {
    out += "\nmotion " + QuoteName(description.motions[i].name) + "  # motion " +
           std::to_string(i) + "\n";
    for (const AnimationLayer& layer : description.motions[i].layers) PrintLayer(out, layer);
  }
  return out;
}

}  // namespace mavu::tools
