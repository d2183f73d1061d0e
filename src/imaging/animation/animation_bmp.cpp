#include "imaging/animation/animation_bmp.h"

#include <algorithm>
#include <random>

#include "base/cp932.h"
#include "imaging/animation/animation_file.h"
#include "imaging/animation/argb8888_manager.h"
#include "imaging/animation/interpolation.h"
#include "imaging/animation/memory_stream_manager.h"
#include "imaging/argb8888_cell_draw.h"
#include "resource/random_table.h"

namespace mavu::imaging {
namespace {

constexpr std::string_view kMessageLayer = "*message";
constexpr std::string_view kDecodedSuffix = ".wave";
constexpr int kLastKey = AnimationLayer::kKeys - 1;

// A number to stand for a missing name, so that caches can tell things apart.
std::string RandomName(std::string_view suffix) {
  static std::minstd_rand generator{std::random_device{}()};
  return std::to_string(generator()) + std::string(suffix);
}

std::string_view ImageExtension(uint8_t format) {
  switch (static_cast<EmbeddedImageFormat>(format)) {
    case EmbeddedImageFormat::kBmp:
      return ".bmp";
    case EmbeddedImageFormat::kJpeg:
      return ".jpg";
    default:
      return ".png";
  }
}

int ClampKey(int k) {
  return std::clamp(k, 0, kLastKey);
}

// The still a plain picture becomes: layer 1 shows the whole image at (0, 0)
// and its key 1 jumps back to key 0.
AnimationMotion StillMotion(const TARGB8888& image) {
  AnimationMotion motion = AnimationMotion::Fresh();
  AnimationLayer& layer = motion.layers[1];
  AnimationKey& show = layer.keys[0];
  const auto w = static_cast<int16_t>(image.Width());
  const auto h = static_cast<int16_t>(image.Height());
  show.source = {0, 0, w, h};
  show.destination = {0, 0, w, h, 0};
  show.drawType = static_cast<uint8_t>(image.HasAlpha() ? KeyDrawType::kAlpha : KeyDrawType::kCopy);
  layer.keys[1].action = static_cast<uint8_t>(KeyAction::kJump);
  layer.keys[1].argument = 0;
  return motion;
}

int16_t Scaled(int16_t value, int from, int to) {
  return static_cast<int16_t>(from == 0 ? value : int64_t{value} * to / from);
}

bool IsImageDraw(uint8_t type) {
  return (type >= 1 && type <= 7) || (type >= 9 && type <= 13) || type == 20;
}

}  // namespace

// A layer as it is drawn this frame: its keys interpolated and placed.
struct TAnimationBmp::Placed {
  RectF source;
  RectF destination;
  float priority = 0;
  uint32_t colour = 0;
  uint8_t drawType = 0;
  bool message = false;
};

TAnimationBmp::TAnimationBmp(base::SoundPlayer* sound) : sound_(sound) {
  Reset();
}

TAnimationBmp::~TAnimationBmp() {
  ReleaseImage();
  ReleaseSounds();
}

void TAnimationBmp::Reset() {
  ReleaseImage();
  ReleaseSounds();
  motions_.assign(1, AnimationMotion::Fresh());
  current_ = 0;
  lastMotion_ = -1;
  clocks_.fill(0);
  waits_.fill(0);
  lastKeys_.fill(-1);
  volume_ = 255;
  hitStack_.Clear();
}

bool TAnimationBmp::Load(base::ByteReader& in, std::string_view name) {
  Reset();
  name_ = name.empty() ? RandomName(".b") : std::string(name);
  const std::string lower = base::LowerName(name_);
  bool loaded = false;
  if (lower.ends_with(".b")) {
    loaded = LoadAnimationFile(in);
  } else if (lower.ends_with(".bmp") || lower.ends_with(".jpg") || lower.ends_with(".png")) {
    loaded = LoadStill(in);
  }
  if (!loaded) Reset();
  return loaded;
}

bool TAnimationBmp::LoadStill(base::ByteReader& in) {
  std::shared_ptr<TARGB8888> image = TheARGB8888Manager().Acquire(in, in.Remaining(), name_);
  if (image == nullptr) return false;
  TakeImage(std::move(image));
  imageCached_ = true;
  motions_.assign(1, StillMotion(*image_));
  SelectMotion(0);
  return true;
}

bool TAnimationBmp::LoadAnimationFile(base::ByteReader& in) {
  std::optional<AnimationFile> file;
  try {
    file = ReadAnimationFile(in);
  } catch (const AnimationFileError&) {
    return false;
  }
  if (!file || file->motions.empty()) return false;
  motions_ = std::move(file->motions);
  if (file->hasImage && !file->image.empty()) {
    base::ByteReader picture(file->image);
    const std::string imageName = name_ + std::string(ImageExtension(file->imageFormat));
    // A picture that does not decode leaves the animation without one: fills still draw.
    TakeImage(TheARGB8888Manager().Acquire(picture, file->image.size(), imageName));
    imageCached_ = image_ != nullptr;
  }
  sounds_.resize(file->sounds.size());
  for (size_t i = 0; i < sounds_.size(); ++i) {
    sounds_[i].name = file->sounds[i].name.empty() ? RandomName("") : file->sounds[i].name;
    if (!file->sounds[i].data.empty()) InstallSound(sounds_[i], file->sounds[i].data);
  }
  SelectMotion(0);
  return true;
}

void TAnimationBmp::InstallSound(SoundSlot& slot, std::span<const uint8_t> data) {
  base::ByteReader in(data);
  slot.source = TheMemoryStreamManager().Acquire(in, data.size(), slot.name);
  if (sound_ == nullptr || data.empty()) return;
  const std::string decodedName = slot.name + std::string(kDecodedSuffix);
  slot.decoded = TheMemoryStreamManager().Lookup(decodedName);
  if (slot.decoded != nullptr) return;
  slot.decoded = sound_->Decode(data);
  if (slot.decoded != nullptr) TheMemoryStreamManager().Add(decodedName, slot.decoded);
}

void TAnimationBmp::TakeImage(std::shared_ptr<TARGB8888> image) {
  ReleaseImage();
  image_ = std::move(image);
}

void TAnimationBmp::ReleaseImage() {
  if (image_ != nullptr && imageCached_) TheARGB8888Manager().Release(image_.get());
  image_.reset();
  imageCached_ = false;
}

void TAnimationBmp::ReleaseSounds() {
  for (SoundSlot& slot : sounds_) {
    if (slot.source) TheMemoryStreamManager().Release(slot.source.get());
    if (slot.decoded) TheMemoryStreamManager().Release(slot.decoded.get());
  }
  sounds_.clear();
}

void TAnimationBmp::SetOwnImage(const TARGB8888& picture) {
  auto own = std::make_shared<TARGB8888>();
  own->AssignImage(picture);
  TakeImage(std::move(own));
}

void TAnimationBmp::SelectMotion(int index) {
  if (index < 0 || index >= MotionCount()) return;
  current_ = index;
  clocks_.fill(0);
  waits_.fill(0);
  lastKeys_.fill(-1);
  const AnimationMotion& motion = CurrentMotionData();
  for (size_t i = 0; i < motion.layers.size(); ++i) {
    for (const AnimationKey& key : motion.layers[i].keys) {
      if (key.action == static_cast<uint8_t>(KeyAction::kStartMark)) clocks_[i] = key.time;
    }
  }
}

int TAnimationBmp::FindMotion(std::string_view name) const {
  for (size_t i = 0; i < motions_.size(); ++i) {
    if (base::EqualsIgnoreCase(motions_[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

bool TAnimationBmp::IsFinished() const {
  const AnimationMotion& motion = motions_[static_cast<size_t>(current_)];
  for (size_t i = 0; i < motion.layers.size(); ++i) {
    if (clocks_[i] < motion.layers[i].keys[kLastKey].time) return false;
  }
  return true;
}

void TAnimationBmp::Advance(int32_t ms) {
  for (int32_t left = std::max(ms, 0); left > 0; left -= kSliceMs) {
    AdvanceSlice(std::min(left, kSliceMs));
  }
  CollectHitAreas();
}

void TAnimationBmp::AdvanceSlice(int32_t slice) {
  const size_t layers = CurrentMotionData().layers.size();
  for (size_t i = 0; i < layers; ++i) {
    if (!AdvanceLayer(static_cast<int>(i), slice)) return;
  }
  lastMotion_ = current_;
}

bool TAnimationBmp::AdvanceLayer(int index, int32_t slice) {
  const auto i = static_cast<size_t>(index);
  const AnimationLayer& layer = CurrentMotionData().layers[i];
  const int32_t end = layer.keys[kLastKey].time;
  if (clocks_[i] == end) return true;
  const int32_t left = waits_[i] - slice;
  if (left < 1) {
    clocks_[i] -= left;
    waits_[i] = 0;
  } else {
    waits_[i] = left;
  }
  clocks_[i] = std::min(clocks_[i], end);
  const int j = KeyAt(layer, clocks_[i]);
  const AnimationKey& key = layer.keys[static_cast<size_t>(j)];
  const int32_t past = clocks_[i] - key.time;
  const int target = ClampKey(key.argument);
  switch (static_cast<KeyAction>(key.action)) {
    case KeyAction::kJump:
      clocks_[i] = layer.keys[static_cast<size_t>(target)].time + past;
      break;
    case KeyAction::kJumpWhileSounding:
      if (sound_ != nullptr && sound_->ChannelLevel(levelChannel_) > kSoundingLevel) {
        clocks_[i] = layer.keys[static_cast<size_t>(target)].time + past;
      }
      break;
    case KeyAction::kSwitchMotion:
      SelectMotion(key.argument);
      for (int32_t& clock : clocks_) clock += past;
      return false;
    case KeyAction::kEnd: {
      const AnimationMotion& motion = CurrentMotionData();
      for (size_t l = 0; l < motion.layers.size(); ++l) {
        clocks_[l] = motion.layers[l].keys[kLastKey].time;
      }
      break;
    }
    default:
      break;
  }
  if (current_ == lastMotion_ && j == lastKeys_[i]) return true;
  EnterKey(index, key);
  lastKeys_[i] = j;
  return true;
}

int TAnimationBmp::NextKey(const AnimationLayer& layer, int32_t clock) {
  for (int k = 0; k < kKeys; ++k) {
    if (layer.keys[static_cast<size_t>(k)].time > clock) return k;
  }
  return kKeys;
}

int TAnimationBmp::KeyAt(const AnimationLayer& layer, int32_t clock) const {
  int found = 0;
  for (int k = 0; k < kKeys; ++k) {
    if (layer.keys[static_cast<size_t>(k)].time <= clock) found = k;
  }
  return found;
}

void TAnimationBmp::EnterKey(int index, const AnimationKey& key) {
  int32_t& wait = waits_[static_cast<size_t>(index)];
  resource::RandomTable& random = resource::TheRandomTable();
  const int32_t a = key.argument;
  switch (static_cast<KeyAction>(key.action)) {
    case KeyAction::kRandomWaitSeconds:
      wait = random.Draw(a * 1000);
      break;
    case KeyAction::kWaitSeconds:
      wait = a * 1000;
      break;
    case KeyAction::kRandomWaitHundredths:
      wait = random.Draw(a * 10);
      break;
    case KeyAction::kWaitHundredths:
      wait = a * 10;
      break;
    case KeyAction::kPlaySound:
      if (sound_ != nullptr && static_cast<size_t>(a) < sounds_.size() &&
          sounds_[static_cast<size_t>(a)].decoded != nullptr) {
        sound_->PlayDecoded(playChannel_, sounds_[static_cast<size_t>(a)].decoded, volume_);
      }
      break;
    default:
      break;
  }
}

TAnimationBmp::Placed TAnimationBmp::PlaceLayer(const AnimationLayer& layer, int index) {
  const int32_t clock = clocks_[static_cast<size_t>(index)];
  const int k = NextKey(layer, clock);
  const AnimationKey& k0 = layer.keys[static_cast<size_t>(ClampKey(k - 2))];
  const AnimationKey& k1 = layer.keys[static_cast<size_t>(ClampKey(k - 1))];
  const AnimationKey& k2 = layer.keys[static_cast<size_t>(ClampKey(k))];
  const AnimationKey& k3 = layer.keys[static_cast<size_t>(ClampKey(k + 1))];
  const int64_t span = int64_t{k2.time} - k1.time;
  const int64_t u = k1.time < k2.time ? (int64_t{clock} - k1.time) * 1023 / span : 0;
  const double t = std::clamp(static_cast<double>(u) / 1024, 0.0, 1.0);
  resource::RandomTable& random = resource::TheRandomTable();
  const auto value = [&](int mode, auto field) {
    const KeyValues v{double(field(k0)), double(field(k1)), double(field(k2)), double(field(k3))};
    return static_cast<float>(
        InterpolateValue(mode, v, t, mode == 6 ? random.Draw(kShakeRange) : 0));
  };
  Placed placed;
  const int sm = k1.sourceMode;
  const int dm = k1.destinationMode;
  placed.source = {value(sm, [](const AnimationKey& key) { return key.source[0]; }),
                   value(sm, [](const AnimationKey& key) { return key.source[1]; }),
                   value(sm, [](const AnimationKey& key) { return key.source[2]; }),
                   value(sm, [](const AnimationKey& key) { return key.source[3]; })};
  placed.destination = {value(dm, [](const AnimationKey& key) { return key.destination[0]; }),
                        value(dm, [](const AnimationKey& key) { return key.destination[1]; }),
                        value(dm, [](const AnimationKey& key) { return key.destination[2]; }),
                        value(dm, [](const AnimationKey& key) { return key.destination[3]; })};
  placed.priority = value(dm, [](const AnimationKey& key) { return key.destination[4]; });
  placed.colour = InterpolateColour(k1.colourMode, k1.colour, k2.colour, t);
  placed.drawType = k1.drawType;
  placed.message = base::EqualsIgnoreCase(layer.name, kMessageLayer);
  return placed;
}

void TAnimationBmp::Post(TARGB8888CellDraw& compositor, float x, float y, float priority,
                         int opacity, int messageOpacity) {
  ForEachPlacedLayer(x, y, priority, opacity, messageOpacity, false, &compositor);
}

void TAnimationBmp::CollectHitAreas() {
  hitStack_.Clear();
  ForEachPlacedLayer(0, 0, 0, 255, 255, true, nullptr);
}

// Layer 0 frames the others: later layers move with its source and destination
// corners and priority, and take on its colour.
void TAnimationBmp::ForEachPlacedLayer(float x, float y, float priority, int opacity,
                                       int messageOpacity, bool hitOnly,
                                       TARGB8888CellDraw* compositor) {
  const AnimationMotion& motion = CurrentMotionData();
  Placed frame;
  Placed previous;
  for (size_t i = 0; i < motion.layers.size(); ++i) {
    const AnimationLayer& layer = motion.layers[i];
    const int32_t clock = clocks_[i];
    if (hitOnly && i > 0 &&
        layer.keys[static_cast<size_t>(ClampKey(NextKey(layer, clock) - 1))].drawType !=
            static_cast<uint8_t>(KeyDrawType::kHitArea)) {
      continue;
    }
    Placed placed = PlaceLayer(layer, static_cast<int>(i));
    if (i == 0) {
      placed.destination = {placed.destination.left + x, placed.destination.top + y,
                            placed.destination.right + x, placed.destination.bottom + y};
      placed.priority += priority;
      frame = placed;
    } else {
      placed.source = {placed.source.left + frame.source.left, placed.source.top + frame.source.top,
                       placed.source.right + frame.source.left,
                       placed.source.bottom + frame.source.top};
      const float dx = frame.destination.left;
      const float dy = frame.destination.top;
      placed.destination = {placed.destination.left + dx, placed.destination.top + dy,
                            placed.destination.right + dx, placed.destination.bottom + dy};
      placed.priority += frame.priority;
      placed.colour = MultiplyColours(placed.colour, frame.colour);
    }
    uint32_t alpha =
        (placed.colour >> 24) * static_cast<uint32_t>(std::clamp(opacity, 0, 255)) / 255;
    if (placed.message)
      alpha = alpha * static_cast<uint32_t>(std::clamp(messageOpacity, 0, 255)) / 255;
    placed.colour = (placed.colour & 0x00FFFFFF) | (alpha << 24);
    if (hitOnly) {
      if (placed.drawType == static_cast<uint8_t>(KeyDrawType::kHitArea)) {
        hitStack_.Push({static_cast<int32_t>(placed.destination.left),
                        static_cast<int32_t>(placed.destination.top),
                        static_cast<int32_t>(placed.destination.right),
                        static_cast<int32_t>(placed.destination.bottom),
                        static_cast<int32_t>(placed.priority)});
      }
    } else {
      PostLayer(*compositor, placed, i > 0 ? &previous : nullptr);
    }
    previous = placed;
  }
}

void TAnimationBmp::PostLayer(TARGB8888CellDraw& compositor, const Placed& p,
                              const Placed* previous) {
  const int opacity = static_cast<int>(p.colour >> 24);
  const PointF at{p.destination.left, p.destination.top};
  const auto type = static_cast<KeyDrawType>(p.drawType);
  if (IsImageDraw(p.drawType) && image_ == nullptr) return;
  const TARGB8888* image = image_.get();
  switch (type) {
    case KeyDrawType::kAlpha:
      return compositor.PostAlpha(*image, p.source, at, opacity, p.priority);
    case KeyDrawType::kAdd:
      return compositor.PostAdd(*image, p.source, at, opacity, p.priority);
    case KeyDrawType::kMultiply:
      return compositor.PostMultiply(*image, p.source, at, opacity, p.priority);
    case KeyDrawType::kExclusion:
      return compositor.PostExclusion(*image, p.source, at, opacity, p.priority);
    case KeyDrawType::kColourAdd:
      return compositor.PostColourAdd(*image, p.source, at, p.colour, p.priority);
    case KeyDrawType::kColourMultiply:
      return compositor.PostColourMultiply(*image, p.source, at, p.colour, p.priority);
    case KeyDrawType::kCopy:
      return compositor.PostCopy(*image, p.source, at, opacity, p.priority);
    case KeyDrawType::kFillBlend:
    case KeyDrawType::kSolid:
      return compositor.PostFillBlend(p.destination, p.colour, p.priority);
    case KeyDrawType::kAlphaStretched:
      return compositor.PostAlphaStretched(*image, p.source, p.destination, opacity, p.priority);
    case KeyDrawType::kAddStretched:
      return compositor.PostAddStretched(*image, p.source, p.destination, opacity, p.priority);
    case KeyDrawType::kMultiplyStretched:
      return compositor.PostMultiplyStretched(*image, p.source, p.destination, opacity, p.priority);
    case KeyDrawType::kExclusionStretched:
      return compositor.PostExclusionStretched(*image, p.source, p.destination, opacity,
                                               p.priority);
    case KeyDrawType::kCopyStretched:
      return compositor.PostCopyStretched(*image, p.source, p.destination, opacity, p.priority);
    case KeyDrawType::kFillAdd:
      return compositor.PostFillAdd(p.destination, p.colour, p.priority);
    case KeyDrawType::kFillMultiply:
      return compositor.PostFillMultiply(p.destination, p.colour, p.priority);
    case KeyDrawType::kFillInvert:
      return compositor.PostFillInvert(p.destination, p.colour, p.priority);
    case KeyDrawType::kAfterimage:
      return compositor.PostAfterimage();
    case KeyDrawType::kHitArea:
      if (showHitAreas_) compositor.PostFillBlend(p.destination, kHitAreaColour, kHitAreaPriority);
      return;
    case KeyDrawType::kMasked: {
      // The picture masks itself, the mask lying where the layer before drew.
      const Placed& mask = previous != nullptr ? *previous : p;
      const PointF origin{mask.source.left + (at.x - mask.destination.left),
                          mask.source.top + (at.y - mask.destination.top)};
      return compositor.PostMasked(*image, p.source, at, *image, origin, p.colour, p.priority);
    }
    default:
      return;
  }
}

void TAnimationBmp::SetSolidColour(const RectI& rect, uint32_t colour) {
  Reset();
  AnimationMotion motion;
  AnimationLayer layer = AnimationLayer::Fresh(0);
  AnimationKey& fill = layer.keys[0];
  fill.destination = {static_cast<int16_t>(rect.left), static_cast<int16_t>(rect.top),
                      static_cast<int16_t>(rect.right), static_cast<int16_t>(rect.bottom), 0};
  fill.colour = colour;
  fill.drawType = static_cast<uint8_t>(KeyDrawType::kSolid);
  layer.keys[1].action = static_cast<uint8_t>(KeyAction::kJump);
  motion.layers.push_back(layer);
  motions_.assign(1, std::move(motion));
  SelectMotion(0);
}

bool TAnimationBmp::ReplaceImage(base::ByteReader& in, std::string_view name) {
  TAnimationBmp other(nullptr);
  if (!other.Load(in, name) || other.image_ == nullptr) return false;
  const int oldWidth = image_ ? image_->Width() : 0;
  const int oldHeight = image_ ? image_->Height() : 0;
  ReleaseImage();
  // The hold on the cached picture passes over with it.
  image_ = std::move(other.image_);
  imageCached_ = other.imageCached_;
  other.imageCached_ = false;
  if (oldWidth != image_->Width() || oldHeight != image_->Height()) {
    ScaleSources(oldWidth, oldHeight);
  }
  return true;
}

void TAnimationBmp::ScaleSources(int oldWidth, int oldHeight) {
  const int w = image_->Width();
  const int h = image_->Height();
  for (AnimationMotion& motion : motions_) {
    for (size_t l = 0; l < motion.layers.size(); ++l) {
      for (AnimationKey& key : motion.layers[l].keys) {
        key.source = {Scaled(key.source[0], oldWidth, w), Scaled(key.source[1], oldHeight, h),
                      Scaled(key.source[2], oldWidth, w), Scaled(key.source[3], oldHeight, h)};
        if (l == 0) continue;
        auto& d = key.destination;
        d[2] = static_cast<int16_t>(d[0] + Scaled(static_cast<int16_t>(d[2] - d[0]), oldWidth, w));
        d[3] = static_cast<int16_t>(d[1] + Scaled(static_cast<int16_t>(d[3] - d[1]), oldHeight, h));
      }
    }
  }
}

}  // namespace mavu::imaging
