#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace mavu::tools {

// The words of one description line, taken one at a time. A word is a run of
// anything but blanks and quotes; a quoted string may hold anything; "#"
// outside quotes starts a comment. Every problem throws DescriptionError
// naming the line.
class LineCursor {
 public:
  LineCursor(int line, std::string_view text);

  int Line() const { return line_; }
  bool AtEnd() const { return next_ == tokens_.size(); }
  bool NextIsQuoted() const { return !AtEnd() && tokens_[next_].quoted; }
  // Whether the next word starts like a number (a digit or a minus sign).
  bool NextIsNumber() const;

  // `what` names the expected thing in the message when it is missing.
  std::string_view Word(std::string_view what);
  // The text between the quotes, escapes still in it.
  std::string_view Quoted(std::string_view what);
  int64_t Integer(std::string_view what, int64_t least, int64_t most);
  template <class T>
  T Number(std::string_view what) {
    return static_cast<T>(
        Integer(what, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
  }
  // Fails when words are left over.
  void ExpectEnd();

  [[noreturn]] void Fail(const std::string& message) const;

 private:
  struct Token {
    bool quoted;
    std::string_view text;
  };

  void Lex(std::string_view text);
  const Token& Take(bool quoted, std::string_view what);

  int line_;
  std::vector<Token> tokens_;
  size_t next_ = 0;
};

}  // namespace mavu::tools
