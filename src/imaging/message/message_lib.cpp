#include "imaging/message/message_lib.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/cp932.h"
#include "imaging/argb8888_cell_draw.h"
#include "imaging/font_table.h"
#include "imaging/kel_log_data.h"
#include "resource/data_tree.h"

namespace mavu::imaging {
namespace {

constexpr int32_t kFullOpacity = 1024;
constexpr int32_t kMinLayerSide = 4;
constexpr int32_t kDrawnMargin = 2;
constexpr int32_t kMaxMeasure = MessageLibState::kMaxMeasure;

// A text area of script or save size, cut to what a text layer can hold.
MessageLibState::Area BoundedArea(const MessageLibState::Area& area) {
  const int32_t left = MessageLibState::Bounded(area.left);
  const int32_t top = MessageLibState::Bounded(area.top);
  return {
      left, top,
      left + MessageLibState::Bounded(int64_t{area.right} - left, MessageLibState::kMaxAreaSide),
      top + MessageLibState::Bounded(int64_t{area.bottom} - top, MessageLibState::kMaxAreaSide)};
}
constexpr int32_t kFadeScale = MessageLibState::kMaxFadeSpeed;
constexpr int32_t kDefaultIconCell = 32;
constexpr int32_t kMinIconCell = 2;
// The test character of icons for the line and page rules: a full-width space.
constexpr std::string_view kIconTestCharacter = "\x81\x40";
constexpr std::string_view kLineStartBrackets[] = {"\x81\x75", "\x81\x69"};  // 「 （

bool IsLineStartBracket(std::string_view c) {
  return c == kLineStartBrackets[0] || c == kLineStartBrackets[1];
}

}  // namespace

TMessageLib::TMessageLib(LayerContext& context) : TImageLib(context) {
  Reset();
}

void TMessageLib::Reset() {
  TImageLib::Reset();
  text_ = MessageLibState{};
  layer_.SetSize(kMinLayerSide, kMinLayerSide);
  ForgetTyping();
  icons_.Clear();
  ownSpeed_ = kOwnSpeed;
  usePlayerSpeed_ = false;
  autoPage_ = true;
  skip_ = showOnText_ = false;
  tagMask_ = 0;
  typingClock_ = 0;
  scrollRaised_ = false;
}

// Empties the page and everything typed on it; the pen and fonts stay.
void TMessageLib::ForgetTyping() {
  ClearLayer();
  drawn_ = {};
  buffer_.clear();
  text_.readPosition = 0;
  backlogCopy_.clear();
  insert_.clear();
  insertPosition_ = 0;
  limit_ = used_ = lineHeight_ = hangCount_ = 0;
  lineEmpty_ = true;
}

// --- the text and its clock --------------------------------------------

void TMessageLib::AddText(std::string_view text) {
  if (showOnText_ || Enabled()) Enable();
  std::string converted;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      converted += "[n]";
      ++i;  // the byte after a CR goes with it
    } else {
      converted += text[i];
    }
  }
  buffer_ += converted;
  backlogCopy_ += converted;
  if (Interval() == 0) ShowAll();
}

void TMessageLib::AddTag(std::string_view tag) {
  const std::string text = "[" + base::LowerName(tag) + "]";
  buffer_ += text;
  backlogCopy_ += text;
}

int32_t TMessageLib::Interval() const {
  int32_t interval = ownSpeed_;
  if (text_.speedOverride > 0) {
    interval = text_.speedOverride;
  } else if (usePlayerSpeed_) {
    interval = Context().messageSpeed;
  }
  return std::max(interval, 0);
}

void TMessageLib::Update(int32_t elapsed) {
  TImageLib::Update(elapsed);
  elapsed = std::max(elapsed, 0);
  text_.textOpacity = static_cast<int32_t>(std::clamp<int64_t>(
      text_.textOpacity + int64_t{elapsed} * text_.fadeRate / 1000, 0, kFullOpacity));
  if (text_.state == kIdle) {
    Step();
  } else if (text_.state == kTyping) {
    Type(elapsed);
  }
  RaiseScrollMotions();
}

void TMessageLib::Type(int32_t elapsed) {
  if (text_.wait > 0) {
    text_.wait = std::max(text_.wait - elapsed, 0);
    return;
  }
  const int32_t interval = Interval();
  typingClock_ = MessageLibState::Bounded(int64_t{typingClock_} + elapsed,
                                          std::numeric_limits<int32_t>::max() / 2);
  for (int n = 0; typingClock_ >= interval && n < kMaxSteps; ++n) {
    typingClock_ -= interval;
    Step();
    if (text_.state != kTyping || text_.wait > 0) {
      typingClock_ = 0;
      return;
    }
  }
}

void TMessageLib::RaiseScrollMotions() {
  if (text_.state == kWaitingForScroll) {
    PlayIfPresent("*OnScroll");
    scrollRaised_ = true;
  } else if (scrollRaised_) {
    PlayIfPresent("*OffScroll");
    scrollRaised_ = false;
  }
}

void TMessageLib::ShowAll() {
  const bool skip = skip_;
  skip_ = true;
  text_.wait = 0;
  for (int n = 0; n <= kMaxSteps; ++n) {
    Step();
    if (text_.state == kIdle) break;
  }
  skip_ = skip;
  typingClock_ = 0;
  text_.textOpacity = kFullOpacity;
  text_.fadeRate = text_.fadeSpeed;
}

bool TMessageLib::NextToken(MessageToken& token, size_t& restart, bool& fromInsert) {
  if (insertPosition_ >= insert_.size() && !insert_.empty()) {
    insert_.clear();
    insertPosition_ = 0;
  }
  fromInsert = insertPosition_ < insert_.size();
  if (fromInsert) {
    restart = insertPosition_;
    token = ReadMessageToken(insert_, insertPosition_);
    return true;
  }
  if (static_cast<size_t>(text_.readPosition) >= buffer_.size()) return false;
  size_t position = static_cast<size_t>(text_.readPosition);
  restart = position;
  token = ReadMessageToken(buffer_, position);
  text_.readPosition = static_cast<int32_t>(position);
  return true;
}

void TMessageLib::Rewind(size_t restart, bool fromInsert) {
  if (fromInsert) {
    insertPosition_ = restart;
  } else {
    text_.readPosition = static_cast<int32_t>(restart);
  }
}

void TMessageLib::Step() {
  MessageToken token;
  size_t restart = 0;
  bool fromInsert = false;
  while (true) {
    if (!NextToken(token, restart, fromInsert)) {
      text_.state = kIdle;
      return;
    }
    if (text_.state == kIdle) text_.state = kTyping;
    if (token.tag) {
      if (!DoTag(token.text, restart, fromInsert)) return;
      continue;
    }
    if (DrawCharacter(token.text) == Drawn::kWaits) Rewind(restart, fromInsert);
    return;
  }
}

// --- the rules of one character -----------------------------------------

int32_t TMessageLib::Along() const {
  return text_.vertical ? text_.pen.y : text_.pen.x;
}

void TMessageLib::SetAlong(int32_t value) {
  (text_.vertical ? text_.pen.y : text_.pen.x) = value;
}

int32_t TMessageLib::Extent() const {
  return text_.vertical ? text_.area.Height() : text_.area.Width();
}

TMessageLib::Drawn TMessageLib::DrawCharacter(std::string_view character) {
  if (text_.area.Width() <= 0 || text_.area.Height() <= 0) return Drawn::kDrawn;
  if (limit_ > 0 && limit_ < (3 * text_.pitch.x + 3 * text_.size.x) / 2 + used_) {
    return Drawn::kDrawn;
  }
  if (text_.wait > 0) return Drawn::kWaits;
  const Drawn rules = LineAndPageRules(character, static_cast<int32_t>(character.size()));
  if (rules != Drawn::kDrawn) return rules;
  if (lineEmpty_ && IsLineStartBracket(character)) SetAlong(Along() - text_.lineStartIndent);
  DrawGlyph(character);
  return Drawn::kDrawn;
}

TMessageLib::Drawn TMessageLib::LineAndPageRules(std::string_view character, int32_t bytes) {
  const int64_t k = int64_t{bytes + 2} * (text_.size.x + text_.pitch.x);
  const bool crossing = std::llround(static_cast<double>(k) / 2 + Along()) >= Extent();
  // A character wider than a whole line is drawn past the edge: wrapping it
  // again and again would never finish the message.
  const bool wrapHelps = !lineEmpty_ || Along() > text_.lineStartIndent;
  if (crossing && wrapHelps) {
    const bool space = character == " " || character == kIconTestCharacter;
    if (!IsOpeningCharacter(character) &&
        (space || (IsClosingCharacter(character) && hangCount_ == 0))) {
      ++hangCount_;
    } else {
      NewLine(0);
      return Drawn::kWaits;
    }
  }
  if (autoPage_ && PageFull()) {
    if (!skip_ && !text_.scrollOnFullPage) {
      text_.state = kWaitingForScroll;
      return Drawn::kWaits;
    }
    ScrollUp();
    text_.state = kTyping;
  }
  return Drawn::kDrawn;
}

bool TMessageLib::PageFull() const {
  if (text_.vertical) return text_.pen.x < 0;
  return text_.pen.y + text_.size.y > text_.area.Height();
}

void TMessageLib::NewLine(int32_t feed) {
  feed = MessageLibState::Bounded(feed);
  if (feed <= 0) feed = std::max(lineHeight_, text_.size.y) + text_.pitch.y;
  if (text_.vertical) {
    text_.pen.y = text_.lineStartIndent;
    text_.pen.x -= feed;
  } else {
    text_.pen.x = text_.lineStartIndent;
    text_.pen.y += feed;
  }
  lineHeight_ = 0;
  hangCount_ = 0;
  lineEmpty_ = true;
  text_.Bound();
}

void TMessageLib::DrawGlyph(std::string_view character) {
  const TextExtent extent = DrawText(layer_, character, text_.vertical, text_.font, text_.colour,
                                     text_.size.x, text_.size.y, text_.pen.x, text_.pen.y);
  MarkDrawn({text_.pen.x, text_.pen.y, text_.pen.x + std::max(extent.width, text_.size.x),
             text_.pen.y + std::max(extent.height, text_.size.y)});
  Advance((text_.vertical ? extent.height : extent.width) + text_.pitch.x);
}

void TMessageLib::Advance(int32_t amount) {
  SetAlong(Along() + amount);
  text_.Bound();
  used_ = MessageLibState::Bounded(int64_t{used_} + amount, 2 * kMaxMeasure);
  lineHeight_ = std::max(lineHeight_, text_.size.y);
  lineEmpty_ = false;
  if (text_.autoWaitCounting) {
    Context().autoWaitGained += std::max(Context().messageSpeed, Context().autoPlayWaitTime);
  }
}

void TMessageLib::MarkDrawn(const RectI& rect) {
  const RectI grown{std::max(rect.left, 0), std::max(rect.top, 0),
                    std::min(rect.right + kDrawnMargin, layer_.Width()),
                    std::min(rect.bottom + kDrawnMargin, layer_.Height())};
  if (grown.right <= grown.left || grown.bottom <= grown.top) return;
  if (drawn_.right <= drawn_.left) {
    drawn_ = grown;
  } else {
    drawn_ = {std::min(drawn_.left, grown.left), std::min(drawn_.top, grown.top),
              std::max(drawn_.right, grown.right), std::max(drawn_.bottom, grown.bottom)};
  }
  layerChanged_ = true;
}

void TMessageLib::DrawIcon(int32_t index) {
  const int32_t cellW = text_.iconCellWidth;
  const int32_t cellH = text_.iconCellHeight;
  if (icons_.Empty() || index < 0) return;
  const int32_t columns = (icons_.Width() + cellW - 1) / cellW;
  const float x = static_cast<float>(index % columns) * static_cast<float>(cellW);
  const float y = static_cast<float>(index / columns) * static_cast<float>(cellH);
  const RectF cell{x, y, x + static_cast<float>(cellW), y + static_cast<float>(cellH)};
  const RectF box{static_cast<float>(text_.pen.x), static_cast<float>(text_.pen.y),
                  static_cast<float>(text_.pen.x + text_.size.x),
                  static_cast<float>(text_.pen.y + text_.size.y)};
  icons_.DrawAlphaStretched(layer_, cell, box, 255);
  MarkDrawn({text_.pen.x, text_.pen.y, text_.pen.x + text_.size.x, text_.pen.y + text_.size.y});
  Advance(text_.size.x + text_.pitch.x);
}

bool TMessageLib::DrawRuby(std::string_view base, std::string_view ruby) {
  const int64_t full = text_.size.x + text_.pitch.x;
  const int32_t b = MessageLibState::Bounded(static_cast<int64_t>(base.size()) * full / 2);
  if (Along() + b >= Extent() && !lineEmpty_) {
    NewLine(0);
    return false;
  }
  if (autoPage_ && PageFull()) {
    if (!skip_ && !text_.scrollOnFullPage) {
      text_.state = kWaitingForScroll;
      return false;
    }
    ScrollUp();
  }
  const int32_t r = MessageLibState::Bounded((static_cast<int64_t>(ruby.size()) - 1) *
                                             (text_.rubySize.x + text_.rubyPitch.x) / 2);
  int32_t along = Along() + text_.rubyOffset.x + (b - r) / 2;
  const int32_t across = (text_.vertical ? text_.pen.x : text_.pen.y) + text_.rubyOffset.y;
  size_t pos = 0;
  while (pos < ruby.size()) {
    const MessageToken token = ReadMessageToken(ruby, pos);
    const int32_t x = text_.vertical ? across : along;
    const int32_t y = text_.vertical ? along : across;
    const TextExtent extent = DrawText(layer_, token.text, text_.vertical, text_.rubyFont,
                                       text_.rubyColour, text_.rubySize.x, text_.rubySize.y, x, y);
    MarkDrawn({x, y, x + std::max(extent.width, text_.rubySize.x),
               y + std::max(extent.height, text_.rubySize.y)});
    along += (text_.vertical ? extent.height : extent.width) + text_.rubyPitch.x;
  }
  insert_ = std::string(base) + insert_.substr(std::min(insertPosition_, insert_.size()));
  insertPosition_ = 0;
  return true;
}

int32_t TMessageLib::RunWidth(std::string_view text) const {
  int64_t width = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    const MessageToken token = ReadMessageToken(text, pos);
    if (token.tag) continue;
    width += (token.text.size() == 2 ? text_.size.x : text_.size.x / 2) + text_.pitch.x;
  }
  return MessageLibState::Bounded(width);
}

// --- pages -----------------------------------------------------------------

void TMessageLib::ClearLayer() {
  layer_.FillSolid({0, 0, static_cast<float>(layer_.Width()), static_cast<float>(layer_.Height())},
                   text_.textBackground & 0x00FFFFFF);
  layerChanged_ = true;
}

void TMessageLib::SetArea(const MessageLibState::Area& wanted) {
  const MessageLibState::Area area = BoundedArea(wanted);
  if (area == text_.area) return;
  text_.area = area;
  layer_.SetSize(std::max(kMinLayerSide, area.Width()), std::max(kMinLayerSide, area.Height()));
  ClearLayer();
  drawn_ = {};
}

void TMessageLib::ScrollUp() {
  int32_t shift = 0;
  if (text_.vertical) {
    shift = text_.pen.x < 0 ? -text_.pen.x : 0;
    layer_.Scroll(text_.textBackground & 0x00FFFFFF, shift, 0);
    text_.pen.x += shift;
  } else {
    const int32_t over = text_.pen.y - (text_.area.Height() - text_.size.y);
    shift = text_.pen.y < 0 ? text_.pen.y : std::max(over, 0);
    layer_.Scroll(text_.textBackground & 0x00FFFFFF, 0, -shift);
    text_.pen.y -= shift;
  }
  SetAlong(text_.lineStartIndent);
  lineEmpty_ = true;
  hangCount_ = 0;
  layerChanged_ = true;
}

void TMessageLib::ClearPage() {
  ShowAll();
  ForgetTyping();
  const MessageLibState& t = text_;
  const MessageLibState::Pair start =
      t.vertical ? MessageLibState::Pair{t.area.Width() - t.size.y - t.pitch.y, t.lineStartIndent}
                 : MessageLibState::Pair{t.lineStartIndent, std::max(0, t.pitch.y)};
  char tags[512];
  std::snprintf(tags, sizeof tags,
                "[p,%d,%d][f,%d][c,$%08x][pi,%d,%d][s,%d,%d][rf,%d][rc,$%08x][rpi,%d,%d][rs,%d,%d]"
                "[rp,%d,%d]",
                start.x, start.y, t.font, t.colour, t.pitch.x, t.pitch.y, t.size.x, t.size.y,
                t.rubyFont, t.rubyColour, t.rubyPitch.x, t.rubyPitch.y, t.rubySize.x, t.rubySize.y,
                t.rubyOffset.x, t.rubyOffset.y);
  buffer_ = tags;
  ShowAll();
  text_.voice.clear();
  if (!restoring_ && Context().sound != nullptr) {
    Context().sound->FadeOutSpeakerVoices(text_.speaker, kVoiceFadeMs);
  }
  text_.textOpacity = 0;
  text_.fadeRate = -text_.fadeSpeed;
}

void TMessageLib::Finish() {
  if (Context().backlog != nullptr && HasVisibleText(backlogCopy_)) {
    KelLogEntry entry;
    entry.speaker = text_.speaker;
    entry.text = WithoutTrailingLineTags(backlogCopy_);
    entry.voice = text_.voice;
    entry.byteAttribute = static_cast<uint8_t>(text_.logAttributes[0]);
    entry.attribute1 = static_cast<uint32_t>(text_.logAttributes[1]);
    entry.attribute2 = static_cast<uint32_t>(text_.logAttributes[2]);
    Context().backlog->Add(std::move(entry));
  }
  backlogCopy_.clear();
}

// --- the window ------------------------------------------------------------

void TMessageLib::Show() {
  TImageLib::Show();
  if (!Context().deferring) text_.fadeRate = text_.fadeSpeed;
}

void TMessageLib::Hide() {
  TImageLib::Hide();
  if (!Context().deferring) text_.fadeRate = -text_.fadeSpeed;
}

void TMessageLib::Enable() {
  TImageLib::Enable();
  if (!Context().deferring) text_.fadeRate = text_.fadeSpeed;
}

void TMessageLib::Disable() {
  TImageLib::Disable();
  if (!Context().deferring) text_.fadeRate = -text_.fadeSpeed;
}

bool TMessageLib::Click(int32_t layerMask, int32_t&, int32_t&) {
  if ((layerMask & State().mouseMask) == 0) return false;
  if (text_.state == kTyping) {
    ShowAll();
  } else if (text_.state == kWaitingForScroll) {
    ScrollUp();
    text_.state = kTyping;
  }
  return true;
}

// The frame first, then the drawn part of the text layer just above it.
void TMessageLib::Post(int32_t layerMask, int32_t dx, int32_t dy) {
  TImageLib::Post(layerMask, dx, dy);
  if ((layerMask & State().drawMask) == 0 || !Shown() || text_.textOpacity <= 0) return;
  if (drawn_.right <= drawn_.left || drawn_.bottom <= drawn_.top) return;
  const float x = static_cast<float>(int64_t{State().at.x} + dx + text_.area.left + drawn_.left);
  const float y = static_cast<float>(int64_t{State().at.y} + dy + text_.area.top + drawn_.top);
  const RectF source{static_cast<float>(drawn_.left), static_cast<float>(drawn_.top),
                     static_cast<float>(drawn_.right), static_cast<float>(drawn_.bottom)};
  TARGB8888CellDraw& compositor = Context().compositor;
  if (layerChanged_) {
    compositor.PostInvalidate(
        {x, y, x + source.right - source.left, y + source.bottom - source.top});
    layerChanged_ = false;
  }
  compositor.PostAlpha(layer_, source, {x, y}, text_.textOpacity * 255 / kFullOpacity,
                       static_cast<float>(State().at.priority + kTextPriority));
}

bool TMessageLib::SetIconSheet(std::string_view file, int32_t cellWidth, int32_t cellHeight) {
  icons_.Clear();
  text_.iconSheet.clear();
  const auto cell = [](int32_t side) {
    return side <= 0 ? kDefaultIconCell : std::clamp(side, kMinIconCell, kMaxMeasure);
  };
  text_.iconCellWidth = cell(cellWidth);
  text_.iconCellHeight = cell(cellHeight);
  if (file.empty()) return true;
  std::optional<base::Bytes> bytes = resource::TryOpenDataFile(file);
  if (!bytes) return false;
  base::ByteReader in(*bytes);
  const std::string lower = base::LowerName(file);
  try {
    if (lower.ends_with(".png")) {
      icons_.LoadPng(in);
    } else if (lower.ends_with(".jpg")) {
      icons_.LoadJpeg(in);
    } else {
      icons_.LoadBmp(in);
    }
  } catch (const ImageLoadError&) {
    return false;
  }
  text_.iconSheet = std::string(base::TruncateWhole(file, MessageLibState::kNameField - 1));
  return true;
}

void TMessageLib::SetFadeDuration(int32_t ms) {
  text_.fadeSpeed = ms <= 0 ? kFadeScale : kFadeScale / ms;
}

void TMessageLib::SetSpeaker(std::string_view name) {
  text_.speaker = std::string(base::TruncateWhole(name, MessageLibState::kNameField - 1));
}

void TMessageLib::SetVoice(std::string_view name) {
  text_.voice = std::string(base::TruncateWhole(name, MessageLibState::kNameField - 1));
}

void TMessageLib::SetLogAttributes(int32_t first, int32_t second, int32_t third) {
  text_.logAttributes = {first, second, third};
}

// --- saving ----------------------------------------------------------------

void TMessageLib::SaveMessageState(base::ByteWriter& out) const {
  SaveState(out);
  text_.Write(out);
  out.Str16(buffer_).Str16(backlogCopy_);
}

void TMessageLib::LoadMessageState(base::ByteReader& in) {
  const size_t start = in.Position();
  in.Skip(ImageLibState::kBytes);
  MessageLibState saved = MessageLibState::Read(in);
  saved.area = BoundedArea(saved.area);
  saved.Bound();
  std::string buffer = in.Str16();
  std::string copy = in.Str16();
  const size_t end = in.Position();
  in.Seek(start);
  LoadState(in);
  in.Seek(end);
  SetArea(saved.area);
  text_ = TypingStart(saved);
  ForgetTyping();
  buffer_ = std::move(buffer);
  backlogCopy_ = std::move(copy);
  SetIconSheet(saved.iconSheet, saved.iconCellWidth, saved.iconCellHeight);
  Replay(saved.readPosition);
  text_ = saved;
}

// The window's options with the pen, fonts, colours and spacing as a new
// window has them: the buffer sets them again as it is read.
MessageLibState TMessageLib::TypingStart(const MessageLibState& saved) {
  MessageLibState start;
  start.vertical = saved.vertical;
  start.area = saved.area;
  start.speaker = saved.speaker;
  start.voice = saved.voice;
  start.logAttributes = saved.logAttributes;
  start.fadeSpeed = saved.fadeSpeed;
  start.lineStartIndent = saved.lineStartIndent;
  start.speedOverride = saved.speedOverride;
  start.textBackground = saved.textBackground;
  start.scrollOnFullPage = saved.scrollOnFullPage;
  start.iconSheet = saved.iconSheet;
  start.iconCellWidth = saved.iconCellWidth;
  start.iconCellHeight = saved.iconCellHeight;
  start.autoWaitCounting = saved.autoWaitCounting;
  return start;
}

// Draws the buffer again up to the read position, as quickly as showing all.
void TMessageLib::Replay(int32_t upTo) {
  restoring_ = true;
  const bool skip = skip_;
  skip_ = true;
  text_.state = kTyping;
  // A ruby's base text is typed after the read position has passed its tag.
  const auto pending = [&] {
    return text_.readPosition < upTo || insertPosition_ < insert_.size();
  };
  for (int n = 0; n <= kMaxSteps * 16 && pending(); ++n) {
    Step();
    if (text_.state == kIdle) break;
  }
  skip_ = skip;
  restoring_ = false;
}

}  // namespace mavu::imaging
