#include "shell/app/headless_input.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "base/byte_reader.h"
#include "base/bytes.h"
#include "base/cp932.h"
#include "script/system_vocabulary.h"

namespace mavu::shell {
namespace {

constexpr char kComment = '#';
constexpr std::string_view kBlanks = " \t\r";

struct TVerb {
  std::string_view name;
  TInputEvent::Type type;
  size_t arguments;
};
constexpr std::array<TVerb, 7> kVerbs = {{{"click", TInputEvent::Type::Click, 2},
                                          {"rclick", TInputEvent::Type::RightClick, 2},
                                          {"move", TInputEvent::Type::Move, 2},
                                          {"wheel", TInputEvent::Type::Wheel, 1},
                                          {"key", TInputEvent::Type::Key, 1},
                                          {"keyup", TInputEvent::Type::KeyUp, 1},
                                          {"action", TInputEvent::Type::Action, 1}}};

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  size_t pos = line.find_first_not_of(kBlanks);
  while (pos != std::string_view::npos) {
    size_t end = line.find_first_of(kBlanks, pos);
    if (end == std::string_view::npos) end = line.size();
    words.push_back(line.substr(pos, end - pos));
    pos = line.find_first_not_of(kBlanks, end);
  }
  return words;
}

class TLineParser {
 public:
  TLineParser(std::string_view line, size_t number) : number_(number) {
    words_ = SplitWords(line.substr(0, line.find(kComment)));
  }

  bool Empty() const { return words_.empty(); }

  TInputEvent Event() const {
    if (words_.size() < 2) Fail("a frame number and an event are needed");
    TInputEvent event;
    event.frame = Number<int64_t>(words_[0], "frame number");
    if (event.frame < 1 || event.frame > THeadlessInputScript::kMaxFrame) {
      Fail("the frame number must lie in 1.." + std::to_string(THeadlessInputScript::kMaxFrame));
    }
    const TVerb& verb = Verb(words_[1]);
    if (words_.size() != verb.arguments + 2) {
      Fail("\"" + std::string(verb.name) + "\" takes " + std::to_string(verb.arguments) +
           (verb.arguments == 1 ? " argument" : " arguments"));
    }
    event.type = verb.type;
    FillArguments(event);
    return event;
  }

 private:
  const TVerb& Verb(std::string_view word) const {
    const std::string lower = base::LowerName(word);
    for (const TVerb& verb : kVerbs) {
      if (verb.name == lower) return verb;
    }
    Fail("unknown event \"" + std::string(word) + "\"");
  }

  void FillArguments(TInputEvent& event) const {
    switch (event.type) {
      case TInputEvent::Type::Click:
      case TInputEvent::Type::RightClick:
      case TInputEvent::Type::Move:
        event.x = Number<int32_t>(words_[2], "x");
        event.y = Number<int32_t>(words_[3], "y");
        return;
      case TInputEvent::Type::Wheel:
        event.value = Number<int32_t>(words_[2], "wheel delta");
        return;
      case TInputEvent::Type::Key:
      case TInputEvent::Type::KeyUp:
        event.value = Number<int32_t>(words_[2], "virtual key");
        if (event.value < THeadlessInputScript::kFirstKey ||
            event.value > THeadlessInputScript::kLastKey) {
          Fail("virtual keys lie in " + std::to_string(THeadlessInputScript::kFirstKey) + ".." +
               std::to_string(THeadlessInputScript::kLastKey));
        }
        return;
      case TInputEvent::Type::Action:
        event.action = base::LowerName(words_[2]);
        if (script::ActionFromName(event.action) == script::SystemAction::None) {
          Fail("unknown action \"" + std::string(words_[2]) + "\"");
        }
        return;
    }
  }

  template <typename T>
  T Number(std::string_view word, std::string_view what) const {
    T value{};
    std::string_view digits = word;
    if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (error != std::errc() || stop != end || digits.empty()) {
      Fail("the " + std::string(what) + " \"" + std::string(word) + "\" is not a whole number");
    }
    return value;
  }

  [[noreturn]] void Fail(const std::string& message) const {
    throw base::FormatError("line " + std::to_string(number_) + ": " + message);
  }

  size_t number_;
  std::vector<std::string_view> words_;
};

}  // namespace

THeadlessInputScript THeadlessInputScript::Parse(std::span<const uint8_t> bytes) {
  base::ByteReader in(bytes);
  const std::string text = in.Text(in.Remaining());
  THeadlessInputScript script;
  size_t number = 1;
  for (size_t start = 0; start <= text.size(); ++number) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    TLineParser line(std::string_view(text).substr(start, end - start), number);
    if (!line.Empty()) script.events_.push_back(line.Event());
    start = end + 1;
  }
  std::stable_sort(script.events_.begin(), script.events_.end(),
                   [](const TInputEvent& a, const TInputEvent& b) { return a.frame < b.frame; });
  return script;
}

std::span<const TInputEvent> THeadlessInputScript::EventsOf(int64_t frame) const {
  const auto first =
      std::lower_bound(events_.begin(), events_.end(), frame,
                       [](const TInputEvent& event, int64_t value) { return event.frame < value; });
  auto last = first;
  while (last != events_.end() && last->frame == frame) ++last;
  return {first, last};
}

}  // namespace mavu::shell
