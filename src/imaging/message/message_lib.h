#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/argb8888.h"
#include "imaging/layers/image_lib.h"
#include "imaging/message/message_lib_state.h"
#include "imaging/message/message_text.h"

namespace mavu::imaging {

// A message window (`TMessageLib`): a layer with a text area into which CP932
// text with bracketed tags is typed character by character, with Japanese
// line breaking, ruby, icons, page-full waits and a fade of the text; every
// finished message goes into the backlog. Vertical windows write top to bottom
// in columns from right to left.
class TMessageLib : public TImageLib {
 public:
  enum TextState : uint8_t { kIdle = 0, kTyping = 1, kWaitingForScroll = 2 };

  static constexpr int32_t kTextPriority = 10;
  static constexpr int kMaxSteps = 4096;
  static constexpr int32_t kOwnSpeed = 50;
  static constexpr int32_t kVoiceFadeMs = 500;

  explicit TMessageLib(LayerContext& context);

  void Reset() override;
  void Update(int32_t elapsed) override;
  void Post(int32_t layerMask, int32_t dx, int32_t dy) override;
  void Show() override;
  void Hide() override;
  void Enable() override;
  void Disable() override;
  // A click while typing shows the rest; while a full page waits it scrolls.
  // The click is consumed when the mask matches.
  virtual bool Click(int32_t layerMask, int32_t& x, int32_t& y);

  void AddText(std::string_view text);
  // "[" + the tag lower-cased + "]", as text.
  void AddTag(std::string_view tag);
  void SetArea(const MessageLibState::Area& area);
  void ClearPage();
  void ShowAll();
  void ScrollUp();
  // A BMP, JPEG or PNG of icons from the data tree; an empty name unloads.
  // False when the file cannot be loaded.
  bool SetIconSheet(std::string_view file, int32_t cellWidth, int32_t cellHeight);
  void SetFadeDuration(int32_t ms);
  // Writes the backlog entry of what was added since the last one.
  void Finish();

  // Options of the window.
  void SetVertical(bool vertical) { text_.vertical = vertical; }
  void SetOwnSpeed(int32_t ms) { ownSpeed_ = ms; }
  void SetUsePlayerSpeed(bool on) { usePlayerSpeed_ = on; }
  void SetAutoPage(bool on) { autoPage_ = on; }
  void SetSkip(bool on) { skip_ = on; }
  void SetScrollOnFullPage(bool on) { text_.scrollOnFullPage = on; }
  void SetShowOnText(bool on) { showOnText_ = on; }
  void SetLineStartIndent(int32_t indent) {
    text_.lineStartIndent = indent;
    text_.Bound();
  }
  void SetTagMask(uint32_t mask) { tagMask_ = mask & 0xFFFFFF; }
  void SetTextBackground(uint32_t colour) { text_.textBackground = colour & 0x00FFFFFF; }
  void SetSpeaker(std::string_view name);
  const std::string& Speaker() const { return text_.speaker; }
  void SetVoice(std::string_view name);
  void SetLogAttributes(int32_t first, int32_t second, int32_t third);
  void SetAutoWaitCounting(bool on) { text_.autoWaitCounting = on; }

  uint8_t MessageState() const { return text_.state; }
  const MessageLibState& Text() const { return text_; }
  const std::string& TextBuffer() const { return buffer_; }
  const TARGB8888& TextLayer() const { return layer_; }
  // The part of the text layer drawn on since the last ClearPage.
  const RectI& DrawnRect() const { return drawn_; }

  // The layer record, this window's 548-byte record, then the text buffer and
  // the backlog copy as Str16.
  void SaveMessageState(base::ByteWriter& out) const;
  // Reads it back and redraws the text up to the saved read position.
  void LoadMessageState(base::ByteReader& in);

 private:
  enum class Drawn { kDrawn, kWaits, kEnd };

  int32_t Interval() const;
  void Type(int32_t elapsed);
  void Step();
  bool NextToken(MessageToken& token, size_t& restart, bool& fromInsert);
  void Rewind(size_t restart, bool fromInsert);
  // False when the step ends after the tag.
  bool DoTag(std::string_view tag, size_t restart, bool fromInsert);
  Drawn DrawCharacter(std::string_view character);
  Drawn LineAndPageRules(std::string_view character, int32_t advanceBytes);
  bool PageFull() const;
  void NewLine(int32_t feed);
  void DrawGlyph(std::string_view character);
  void DrawIcon(int32_t index);
  bool DrawRuby(std::string_view base, std::string_view ruby);
  void Advance(int32_t amount);
  void MarkDrawn(const RectI& rect);
  void ClearLayer();
  void ForgetTyping();
  void Replay(int32_t upTo);
  static MessageLibState TypingStart(const MessageLibState& saved);
  int32_t Along() const;
  void SetAlong(int32_t value);
  int32_t Extent() const;
  int32_t RunWidth(std::string_view text) const;
  void RaiseScrollMotions();

  // Tags, by name (message_lib_tags.cpp).
  void TagNewLine(const MessageTag& tag, bool percent, bool toLineStart);
  void TagPitch(const MessageTag& tag, bool percent);
  void TagColour(const MessageTag& tag);
  void TagSize(const MessageTag& tag, bool percent);
  void TagPosition(const MessageTag& tag, bool percent);
  void TagFont(const MessageTag& tag);
  bool TagRuby(const MessageTag& tag);
  void TagIndent(const MessageTag& tag, bool percent);
  void TagAlign(const MessageTag& tag, bool centre);
  bool Allowed(int bit) const { return (tagMask_ >> bit & 1u) == 0; }

  MessageLibState text_;
  TARGB8888 layer_;
  TARGB8888 icons_;
  RectI drawn_;
  bool layerChanged_ = false;
  std::string buffer_;
  std::string insert_;
  size_t insertPosition_ = 0;
  std::string backlogCopy_;
  int32_t ownSpeed_ = kOwnSpeed;
  bool usePlayerSpeed_ = false;
  bool autoPage_ = true;
  bool skip_ = false;
  bool showOnText_ = false;
  uint32_t tagMask_ = 0;
  int32_t lineHeight_ = 0;
  int32_t hangCount_ = 0;
  bool lineEmpty_ = true;
  int32_t limit_ = 0;
  int32_t used_ = 0;
  int32_t typingClock_ = 0;
  bool scrollRaised_ = false;
  bool restoring_ = false;
};

}  // namespace mavu::imaging
