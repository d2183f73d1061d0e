// TMessageLib: the tags of message text.
#include <algorithm>

#include "imaging/message/message_lib.h"
#include "resource/setting_values.h"

namespace mavu::imaging {
namespace {

constexpr int32_t kDefaultWait = 100;
constexpr int32_t kFontSlots = 8;
constexpr MessageLibState::Pair kDefaultRubySize{12, 12};
constexpr MessageLibState::Pair kBareRubyOffset{0, -12};
constexpr int32_t kDefaultRubyFont = 7;

// The mask bits that switch tags off.
enum TagBit : int {
  kNewLine = 0,
  kNewLineToStart = 1,
  kPitch = 2,
  kColour = 3,
  kSize = 4,
  kPosition = 5,
  kFont = 6,
  kWait = 7,
  kSpeed = 8,
  kRubyPitch = 9,
  kRubySize = 10,
  kRubyRun = 11,
  kRubyOffset = 12,
  kRubyFont = 13,
  kRubyColour = 14,
  kIcon = 15,
  kIndent = 16,
  kCentre = 17,
  kRight = 18,
  kLimit = 20,
};

size_t Count(const MessageTag& tag) {
  return tag.arguments.size();
}

int32_t Arg(const MessageTag& tag, size_t index, int32_t fallback) {
  if (index >= tag.arguments.size()) return fallback;
  return resource::ParseInteger(tag.arguments[index]).value_or(fallback);
}

// `percent` of a measure, kept within the measures' bounds.
int32_t Percent(int32_t value, int32_t percent) {
  return MessageLibState::Bounded(int64_t{value} * percent / 100);
}

// Sets a value and keeps the one before, so that a bare tag goes back to it.
template <typename T>
void Change(T& value, T& previous, T next) {
  previous = value;
  value = next;
}

// The arguments from `index` on as one text, commas kept.
std::string Joined(const MessageTag& tag, size_t index) {
  std::string text;
  for (size_t i = index; i < tag.arguments.size(); ++i) {
    if (i > index) text += ',';
    text += tag.arguments[i];
  }
  return text;
}

}  // namespace

bool TMessageLib::DoTag(std::string_view text, size_t restart, bool fromInsert) {
  const MessageTag tag = SplitMessageTag(text);
  const std::string& name = tag.name;
  MessageLibState& t = text_;
  if ((name == "n" || name == "np") && Allowed(kNewLine)) {
    TagNewLine(tag, name == "np", false);
  } else if ((name == "nn" || name == "nnp") && Allowed(kNewLineToStart)) {
    TagNewLine(tag, name == "nnp", true);
  } else if ((name == "pi" || name == "pip") && Allowed(kPitch)) {
    TagPitch(tag, name == "pip");
  } else if (name == "c" && Allowed(kColour)) {
    TagColour(tag);
  } else if ((name == "s" || name == "sp") && Allowed(kSize)) {
    TagSize(tag, name == "sp");
  } else if ((name == "p" || name == "pp") && Allowed(kPosition)) {
    TagPosition(tag, name == "pp");
  } else if (name == "f" && Allowed(kFont)) {
    TagFont(tag);
  } else if (name == "w" && Allowed(kWait)) {
    if (!skip_) t.wait = std::max(Arg(tag, 0, kDefaultWait), 0);
  } else if (name == "spd" && Allowed(kSpeed)) {
    t.speedOverride = Arg(tag, 0, -1);
  } else if (name == "rpi" && Allowed(kRubyPitch)) {
    t.rubyPitch = {Arg(tag, 0, 0), Arg(tag, 1, 0)};
  } else if (name == "rs" && Allowed(kRubySize)) {
    t.rubySize =
        Count(tag) < 2 ? kDefaultRubySize : MessageLibState::Pair{Arg(tag, 0, 12), Arg(tag, 1, 12)};
  } else if (name == "rp" && Allowed(kRubyOffset)) {
    t.rubyOffset =
        Count(tag) < 2 ? kBareRubyOffset : MessageLibState::Pair{Arg(tag, 0, 0), Arg(tag, 1, 0)};
  } else if (name == "rf" && Allowed(kRubyFont)) {
    t.rubyFont = Arg(tag, 0, kDefaultRubyFont);
  } else if (name == "rc" && Allowed(kRubyColour)) {
    Change(t.rubyColour, t.previousRubyColour, static_cast<uint32_t>(Arg(tag, 0, -1)));
  } else if (name == "rb" && Allowed(kRubyRun)) {
    // A run that cannot be drawn yet is read again in the next step.
    if (!TagRuby(tag)) Rewind(restart, fromInsert);
    return false;
  } else if (name == "x" && Allowed(kIcon)) {
    if (LineAndPageRules("\x81\x40", 2) != Drawn::kDrawn) {
      Rewind(restart, fromInsert);
    } else {
      DrawIcon(Arg(tag, 0, 0));
    }
    return false;
  } else if ((name == "i" || name == "ip") && Allowed(kIndent)) {
    TagIndent(tag, name == "ip");
  } else if (name == "pc" && Allowed(kCentre)) {
    TagAlign(tag, true);
  } else if (name == "pr" && Allowed(kRight)) {
    TagAlign(tag, false);
  } else if (name == "lim" && Allowed(kLimit)) {
    limit_ = Arg(tag, 0, 0);
    used_ = 0;
  }
  text_.Bound();
  return true;
}

void TMessageLib::TagNewLine(const MessageTag& tag, bool percent, bool toLineStart) {
  int32_t feed = Arg(tag, 0, 0);
  if (percent && Count(tag) > 0) feed = Percent(text_.size.y + text_.pitch.y, feed);
  NewLine(percent && Count(tag) == 0 ? 0 : feed);
  if (toLineStart) SetAlong(0);
}

void TMessageLib::TagPitch(const MessageTag& tag, bool percent) {
  MessageLibState& t = text_;
  if (percent) {
    Change(t.pitch, t.previousPitch,
           {Percent(t.pitch.x, Arg(tag, 0, 100)), Percent(t.pitch.y, Arg(tag, 1, 100))});
  } else if (Count(tag) < 2) {
    std::swap(t.pitch, t.previousPitch);
  } else {
    Change(t.pitch, t.previousPitch, {Arg(tag, 0, 0), Arg(tag, 1, 0)});
  }
  if (!t.vertical) t.pen.y = std::max(t.pen.y, t.pitch.y);
}

void TMessageLib::TagColour(const MessageTag& tag) {
  MessageLibState& t = text_;
  if (Count(tag) == 0) {
    std::swap(t.colour, t.previousColour);
  } else {
    Change(t.colour, t.previousColour, static_cast<uint32_t>(Arg(tag, 0, -1)));
  }
}

void TMessageLib::TagSize(const MessageTag& tag, bool percent) {
  MessageLibState& t = text_;
  if (percent) {
    Change(t.size, t.previousSize,
           {Percent(t.size.x, Arg(tag, 0, 100)), Percent(t.size.y, Arg(tag, 1, 100))});
  } else if (Count(tag) < 2) {
    std::swap(t.size, t.previousSize);
  } else {
    Change(t.size, t.previousSize, {Arg(tag, 0, 32), Arg(tag, 1, 32)});
  }
}

void TMessageLib::TagPosition(const MessageTag& tag, bool percent) {
  MessageLibState& t = text_;
  int32_t x = Arg(tag, 0, 0);
  int32_t y = Arg(tag, 1, 0);
  if (percent) {
    x = Percent(t.area.Width(), x);
    y = Percent(t.area.Height(), y);
  }
  t.pen = {std::clamp(x, 0, std::max(t.area.Width(), 0)),
           std::clamp(y, 0, std::max(t.area.Height(), 0))};
  hangCount_ = 0;
}

void TMessageLib::TagFont(const MessageTag& tag) {
  MessageLibState& t = text_;
  if (Count(tag) == 0) {
    std::swap(t.font, t.previousFont);
    return;
  }
  const int32_t font = Arg(tag, 0, -1);
  if (font >= 0 && font < kFontSlots) Change(t.font, t.previousFont, font);
}

bool TMessageLib::TagRuby(const MessageTag& tag) {
  const std::string base = Count(tag) > 0 ? tag.arguments[0] : std::string();
  return DrawRuby(base, Joined(tag, 1));
}

void TMessageLib::TagIndent(const MessageTag& tag, bool percent) {
  int32_t move = Arg(tag, 0, 0);
  if (percent) move = Percent(text_.size.x + text_.pitch.x, move);
  SetAlong(static_cast<int32_t>(
      std::clamp<int64_t>(int64_t{Along()} + move, 0, MessageLibState::kMaxMeasure)));
}

void TMessageLib::TagAlign(const MessageTag& tag, bool centre) {
  const std::string text = Joined(tag, 0);
  const int32_t width = RunWidth(text);
  SetAlong(centre ? std::max(0, (Extent() - width) / 2)
                  : std::max(0, Extent() - width - text_.size.x));
  insert_ = text + insert_.substr(std::min(insertPosition_, insert_.size()));
  insertPosition_ = 0;
}

}  // namespace mavu::imaging
