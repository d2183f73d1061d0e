#include "imaging/layers/image_lib.h"

#include <algorithm>
#include <cstdio>

#include "base/cp932.h"
#include "imaging/argb8888_cell_draw.h"
#include "imaging/layers/easing.h"
#include "resource/data_tree.h"
#include "resource/setting_values.h"

namespace mavu::imaging {
namespace {

constexpr std::string_view kRect = "rect";
constexpr size_t kRectItems = 6;
constexpr int32_t kDefaultRectWidth = 800;
constexpr int32_t kDefaultRectHeight = 600;
constexpr std::string_view kOnMouse = "*OnMouse";
constexpr std::string_view kOffMouse = "*OffMouse";
constexpr std::string_view kEnableMotion = "*Enable";
constexpr std::string_view kDisableMotion = "*Disable";

std::string Cut(std::string_view text, size_t most) {
  return std::string(base::TruncateWhole(text, most));
}

int32_t ItemOr(const std::vector<std::string>& items, size_t index, int32_t fallback) {
  return resource::ParseInteger(items[index]).value_or(fallback);
}

std::vector<std::string> SplitAtCommas(std::string_view text) {
  std::vector<std::string> items;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    items.emplace_back(text.substr(start, comma - start));
    if (comma == std::string_view::npos) return items;
    start = comma + 1;
  }
}

}  // namespace

TImageLib::TImageLib(LayerContext& context) : context_(context), animation_(context.sound) {
  Reset();
}

void TImageLib::Reset() {
  animation_.Reset();
  state_ = ImageLibState{};
  state_.levelChannel = std::max(context_.soundChannels - 2, 0);
  state_.playChannel = std::max(context_.directChannels - 2, 0);
  animation_.SetSound(context_.sound);
  animation_.SetLevelChannel(state_.levelChannel);
  animation_.SetPlayChannel(state_.playChannel);
  deferred_ = Deferred{};
}

bool TImageLib::LoadFile(std::string_view file, std::string_view imageFile, bool force) {
  if (context_.deferring) {
    deferred_.file = std::string(file);
    deferred_.imageFile = std::string(imageFile);
    return true;
  }
  const std::string lower = base::LowerName(file);
  const std::vector<std::string> items = SplitAtCommas(lower);
  if (items.size() == kRectItems && items[0] == kRect) return LoadRectText(items, file);
  return LoadThroughDataTree(file, imageFile, force);
}

bool TImageLib::LoadRectText(const std::vector<std::string>& items, std::string_view file) {
  const int32_t x = ItemOr(items, 1, 0);
  const int32_t y = ItemOr(items, 2, 0);
  const int32_t w = ItemOr(items, 3, kDefaultRectWidth);
  const int32_t h = ItemOr(items, 4, kDefaultRectHeight);
  const auto colour = static_cast<uint32_t>(ItemOr(items, 5, -1));
  animation_.SetSolidColour({x, y, x + w, y + h}, colour);
  state_.file = Cut(file, kMaxName);
  state_.imageFile.clear();
  return true;
}

bool TImageLib::LoadThroughDataTree(std::string_view file, std::string_view imageFile, bool force) {
  if (file.empty()) {
    animation_.Reset();
    state_.file.clear();
    state_.imageFile.clear();
    return true;
  }
  const std::string resolved = resource::ResolveDataPath(file);
  const std::string name = Cut(resolved.empty() ? file : resolved, kMaxName);
  std::string image;
  if (!imageFile.empty()) {
    const std::string resolvedImage = resource::ResolveDataPath(imageFile);
    image = Cut(resolvedImage.empty() ? imageFile : resolvedImage, kMaxName);
  }
  if (!force && name == state_.file && image == state_.imageFile) return true;
  Hide();
  state_.file = name;
  state_.imageFile = image;
  std::optional<base::Bytes> bytes = resource::TryOpenDataFile(name);
  bool loaded = false;
  if (bytes) {
    base::ByteReader in(*bytes);
    loaded = animation_.Load(in, name);
  }
  if (loaded && !image.empty()) {
    if (std::optional<base::Bytes> picture = resource::TryOpenDataFile(image)) {
      base::ByteReader in(*picture);
      animation_.ReplaceImage(in, image);
    }
  }
  animation_.SetVolume(state_.volume);
  return loaded;
}

bool TImageLib::LoadRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
  char text[96];
  std::snprintf(text, sizeof text, "rect,%d,%d,%d,%d,$%.8x", x, y, w, h, colour);
  return LoadFile(text, {}, false);
}

void TImageLib::Show() {
  if (context_.deferring) {
    deferred_.shown = true;
    return;
  }
  state_.shown = true;
  state_.enabled = true;
}

void TImageLib::Hide() {
  if (context_.deferring) {
    deferred_.shown = false;
    return;
  }
  state_.shown = false;
  state_.enabled = false;
}

void TImageLib::Enable() {
  if (context_.deferring) {
    deferred_.shown = true;
    return;
  }
  const bool was = state_.enabled;
  state_.shown = true;
  state_.enabled = true;
  if (!was) PlayIfPresent(kEnableMotion);
}

// A layer with a "*Disable" motion stays visible while it plays it.
void TImageLib::Disable() {
  if (context_.deferring) {
    deferred_.shown = false;
    return;
  }
  if (state_.enabled && state_.shown && animation_.FindMotion(kDisableMotion) >= 0) {
    PlayIfPresent(kDisableMotion);
    state_.enabled = false;
    return;
  }
  Hide();
}

void TImageLib::MoveTo(int32_t x, int32_t y, int32_t priority, int32_t duration) {
  state_.moveStart = state_.moveTarget;
  state_.moveTarget = {x, y, priority};
  state_.moveDuration = std::max(duration, 0);
  state_.moveLeft = state_.moveDuration;
  if (state_.moveDuration == 0) state_.at = state_.moveTarget;
}

void TImageLib::FadeTo(int32_t opacity, int32_t duration) {
  state_.fadeStart = state_.fadeTarget;
  state_.fadeTarget = std::clamp(opacity, 0, 255);
  state_.fadeDuration = std::max(duration, 0);
  state_.fadeLeft = state_.fadeDuration;
  if (state_.fadeDuration == 0) state_.opacity = state_.fadeTarget;
}

void TImageLib::SetAnchor(int32_t h, int32_t v) {
  state_.anchorH = h;
  state_.anchorV = v;
}

void TImageLib::SetMasks(int32_t mouse, int32_t draw) {
  state_.mouseMask = mouse;
  state_.drawMask = draw;
}

void TImageLib::SetTag(std::string_view tag) {
  state_.tag = Cut(tag, kMaxName);
}

void TImageLib::WatchMotion(std::string_view name, std::string_view label) {
  state_.watchedMotion = Cut(name, ImageLibState::kMotionField - 1);
  state_.watchedLabel = Cut(label, ImageLibState::kLabelField - 1);
}

void TImageLib::SetLevelChannel(int32_t channel) {
  state_.levelChannel = channel;
  animation_.SetLevelChannel(channel);
}

void TImageLib::SetPlayChannel(int32_t channel) {
  state_.playChannel = channel;
  animation_.SetPlayChannel(channel);
}

void TImageLib::PlayMotion(std::string_view name, bool restart) {
  if (context_.deferring) {
    deferred_.motion = std::string(name);
    return;
  }
  SelectMotion(animation_.FindMotion(name), restart);
}

void TImageLib::PlayMotionAt(int index, bool restart) {
  if (context_.deferring) {
    deferred_.motion = std::to_string(index);
    return;
  }
  SelectMotion(index, restart);
}

void TImageLib::SelectMotion(int index, bool restart) {
  if (index < 0 || index >= animation_.MotionCount()) return;
  if (!state_.enabled) Hide();
  if (!restart && index == animation_.CurrentMotion()) return;
  animation_.SelectMotion(index);
}

bool TImageLib::PlayIfPresent(std::string_view name, bool restart) {
  const int index = animation_.FindMotion(name);
  if (index < 0) return false;
  if (restart || index != animation_.CurrentMotion()) animation_.SelectMotion(index);
  return true;
}

bool TImageLib::MotionIsCurrent(std::string_view name) const {
  return base::EqualsIgnoreCase(CurrentMotionName(), name);
}

std::string TImageLib::CurrentMotionName() const {
  return animation_.Motion(animation_.CurrentMotion()).name;
}

void TImageLib::Update(int32_t elapsed) {
  UpdateMove(elapsed);
  UpdateFade(elapsed);
  if (state_.shown) UpdateAnimation(elapsed);
}

void TImageLib::UpdateMove(int32_t elapsed) {
  state_.moveLeft = std::max(state_.moveLeft - std::max(elapsed, 0), 0);
  const int32_t p = Progress(state_.moveLeft, state_.moveDuration);
  const ImageLibState::Place& a = state_.moveStart;
  const ImageLibState::Place& b = state_.moveTarget;
  state_.at = {Ease(state_.easing, a.x, b.x, p), Ease(state_.easing, a.y, b.y, p),
               Ease(state_.easing, a.priority, b.priority, p)};
}

void TImageLib::UpdateFade(int32_t elapsed) {
  state_.fadeLeft = std::max(state_.fadeLeft - std::max(elapsed, 0), 0);
  const int32_t p = Progress(state_.fadeLeft, state_.fadeDuration);
  state_.opacity = Ease(static_cast<int>(Easing::kLinear), state_.fadeStart, state_.fadeTarget, p);
}

void TImageLib::UpdateAnimation(int32_t elapsed) {
  animation_.Advance(elapsed);
  const ImageLibState::Rect& hit = state_.hit;
  animation_.PushHitArea({hit.left, hit.top, hit.right, hit.bottom, 0});
  const int motion = animation_.CurrentMotion();
  if (motion != state_.motionSeen && !state_.watchedMotion.empty() &&
      base::EqualsIgnoreCase(CurrentMotionName(), state_.watchedMotion) && onWatchedMotion) {
    onWatchedMotion(state_.watchedLabel);
  }
  state_.motionSeen = motion;
}

void TImageLib::Post(int32_t layerMask, int32_t dx, int32_t dy) {
  if ((layerMask & state_.drawMask) == 0 || !state_.shown || !Loaded() || state_.opacity == 0) {
    return;
  }
  if (!state_.hover.Empty() && !PointerInHoverWindow()) return;
  const float x = static_cast<float>(int64_t{state_.at.x} + dx - AnchorX());
  const float y = static_cast<float>(int64_t{state_.at.y} + dy - AnchorY());
  animation_.Post(context_.compositor, x, y, static_cast<float>(state_.at.priority), state_.opacity,
                  context_.messageOpacity);
}

bool TImageLib::PointerInHoverWindow() const {
  const int64_t x = int64_t{state_.mouseX} - (int64_t{state_.at.x} - AnchorX());
  const int64_t y = int64_t{state_.mouseY} - (int64_t{state_.at.y} - AnchorY());
  const ImageLibState::Rect& w = state_.hover;
  return x >= w.left && x < w.right && y >= w.top && y < w.bottom;
}

// Where an edge (start, centre, end) lies along a side of `size` pixels.
int32_t TImageLib::EdgeOffset(int edge, int32_t size) {
  return edge == kAnchorCentre ? size / 2 : edge == kAnchorEnd ? size : 0;
}

int32_t TImageLib::ImageWidth() const {
  const TARGB8888* image = animation_.Image();
  return image == nullptr ? 0 : image->Width();
}

int32_t TImageLib::ImageHeight() const {
  const TARGB8888* image = animation_.Image();
  return image == nullptr ? 0 : image->Height();
}

int32_t TImageLib::AnchorX() const {
  return EdgeOffset(state_.anchorH, ImageWidth());
}

int32_t TImageLib::AnchorY() const {
  return EdgeOffset(state_.anchorV, ImageHeight());
}

int32_t TImageLib::TargetEdgeX(int edge) const {
  return state_.moveTarget.x - AnchorX() + EdgeOffset(edge, ImageWidth());
}

int32_t TImageLib::TargetEdgeY(int edge) const {
  return state_.moveTarget.y - AnchorY() + EdgeOffset(edge, ImageHeight());
}

bool TImageLib::HitTest(int32_t x, int32_t y) const {
  if (!state_.shown) return false;
  const int64_t lx = int64_t{x} - (int64_t{state_.moveTarget.x} - AnchorX());
  const int64_t ly = int64_t{y} - (int64_t{state_.moveTarget.y} - AnchorY());
  return animation_.HitStack().Hits(static_cast<int32_t>(lx), static_cast<int32_t>(ly));
}

void TImageLib::MouseMove(int32_t layerMask, int32_t x, int32_t y) {
  state_.mouseX = x;
  state_.mouseY = y;
  if (!state_.enabled || (layerMask & state_.mouseMask) == 0) return;
  const bool over = MotionIsCurrent(kOnMouse);
  if (HitTest(x, y)) {
    if (over) return;
    PlayIfPresent(kOnMouse);
    if (onMouseEnter) onMouseEnter();
  } else if (over) {
    PlayIfPresent(kOffMouse);
    if (onMouseLeave) onMouseLeave();
  }
}

void TImageLib::SaveState(base::ByteWriter& out) const {
  ImageLibState saved = state_;
  saved.volume = animation_.Volume();
  saved.motion = animation_.CurrentMotion();
  saved.clocks = animation_.LayerClocks();
  saved.waits = animation_.LayerWaits();
  saved.Write(out);
}

void TImageLib::LoadState(base::ByteReader& in) {
  const ImageLibState saved = ImageLibState::Read(in);
  deferred_ = Deferred{};
  {
    DeferralPause pause(context_);
    LoadFile(saved.file, saved.imageFile, true);
  }
  animation_.SelectMotion(saved.motion);
  animation_.LayerClocks() = saved.clocks;
  animation_.LayerWaits() = saved.waits;
  animation_.SetVolume(saved.volume);
  animation_.SetLevelChannel(saved.levelChannel);
  animation_.SetPlayChannel(saved.playChannel);
  state_ = saved;
}

void TImageLib::CarryOutDeferred() {
  Deferred deferred = std::move(deferred_);
  deferred_ = Deferred{};
  if (deferred.file) LoadFile(*deferred.file, deferred.imageFile, true);
  if (deferred.shown) *deferred.shown ? Enable() : Hide();
  if (!deferred.motion) return;
  if (std::optional<int32_t> index = resource::ParseInteger(*deferred.motion)) {
    PlayMotionAt(*index, true);
  } else {
    PlayMotion(*deferred.motion, true);
  }
}

}  // namespace mavu::imaging
