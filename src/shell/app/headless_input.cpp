#include "shell/app/headless_input.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "base/byte_reader.h"
#include "base/bytes.h"
#include "base/cp932.h"
#include "script/interpreter/system_vocabulary.h"

namespace mavu::shell {
namespace {

constexpr char kComment = '#';
constexpr std::string_view kBlanks = " \t\r";

struct Verb {
  std::string_view name;
  InputEvent::Type type;
  size_t arguments;
};
constexpr std::array<Verb, 8> kVerbs = {{{"click", InputEvent::Type::kClick, 2},
                                         {"rclick", InputEvent::Type::kRightClick, 2},
                                         {"move", InputEvent::Type::kMove, 2},
                                         {"wheel", InputEvent::Type::kWheel, 1},
                                         {"key", InputEvent::Type::kKey, 1},
                                         {"keyup", InputEvent::Type::kKeyUp, 1},
                                         {"action", InputEvent::Type::kAction, 1},
                                         {"answer", InputEvent::Type::kAnswer, 1}}};

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

class LineParser {
 public:
  LineParser(std::string_view line, size_t number) : number_(number) {
    words_ = SplitWords(line.substr(0, line.find(kComment)));
  }

  bool Empty() const { return words_.empty(); }

  InputEvent Event() const {
    if (words_.size() < 2) Fail("a frame number and an event are needed");
    InputEvent event;
    event.frame = Number<int64_t>(words_[0], "frame number");
    if (event.frame < 1 || event.frame > HeadlessInputScript::kMaxFrame) {
      Fail("the frame number must lie in 1.." + std::to_string(HeadlessInputScript::kMaxFrame));
    }
    const Verb& verb = FindVerb(words_[1]);
    if (words_.size() != verb.arguments + 2) {
      Fail("\"" + std::string(verb.name) + "\" takes " + std::to_string(verb.arguments) +
           (verb.arguments == 1 ? " argument" : " arguments"));
    }
    event.type = verb.type;
    FillArguments(event);
    return event;
  }

 private:
  const Verb& FindVerb(std::string_view word) const {
    const std::string lower = base::LowerName(word);
    for (const Verb& verb : kVerbs) {
      if (verb.name == lower) return verb;
    }
    Fail("unknown event \"" + std::string(word) + "\"");
  }

  void FillArguments(InputEvent& event) const {
    switch (event.type) {
      case InputEvent::Type::kClick:
      case InputEvent::Type::kRightClick:
      case InputEvent::Type::kMove:
        event.x = Number<int32_t>(words_[2], "x");
        event.y = Number<int32_t>(words_[3], "y");
        return;
      case InputEvent::Type::kWheel:
        event.value = Number<int32_t>(words_[2], "wheel delta");
        return;
      case InputEvent::Type::kKey:
      case InputEvent::Type::kKeyUp:
        event.value = NumberIn(words_[2], "virtual key", HeadlessInputScript::kFirstKey,
                               HeadlessInputScript::kLastKey);
        return;
      case InputEvent::Type::kAction:
        event.action = base::LowerName(words_[2]);
        if (script::ActionFromName(event.action) == script::SystemAction::kNone) {
          Fail("unknown action \"" + std::string(words_[2]) + "\"");
        }
        return;
      case InputEvent::Type::kAnswer:
        event.value = NumberIn(words_[2], "answer", HeadlessInputScript::kLowestAnswer,
                               HeadlessInputScript::kHighestAnswer);
        return;
    }
  }

  // A whole number within first..last; `what` names it in the message, in the plural.
  int32_t NumberIn(std::string_view word, std::string_view what, int32_t first,
                   int32_t last) const {
    const int32_t value = Number<int32_t>(word, what);
    if (value < first || value > last) {
      Fail(std::string(what) + "s lie in " + std::to_string(first) + ".." + std::to_string(last));
    }
    return value;
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

HeadlessInputScript HeadlessInputScript::Parse(std::span<const uint8_t> bytes) {
  base::ByteReader in(bytes);
  const std::string text = in.Text(in.Remaining());
  HeadlessInputScript script;
  size_t number = 1;
  for (size_t start = 0; start <= text.size(); ++number) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    LineParser line(std::string_view(text).substr(start, end - start), number);
    if (!line.Empty()) script.events_.push_back(line.Event());
    start = end + 1;
  }
  std::stable_sort(script.events_.begin(), script.events_.end(),
                   [](const InputEvent& a, const InputEvent& b) { return a.frame < b.frame; });
  return script;
}

std::span<const InputEvent> HeadlessInputScript::EventsOf(int64_t frame) const {
  const auto first =
      std::lower_bound(events_.begin(), events_.end(), frame,
                       [](const InputEvent& event, int64_t value) { return event.frame < value; });
  auto last = first;
  while (last != events_.end() && last->frame == frame) ++last;
  return {first, last};
}

}  // namespace mavu::shell
