#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The replacement half of s/// with Perl's references: $1, ${12} and \1 (one
// digit) for a group, $& for the whole match, $` and $' for the text before
// and after it. \n \t \r \f \e \a, \xHH, \x{HHHH} and octal \0.. give
// characters (code points, shown in CP932); a backslash before anything else
// gives that character, so \\ is a backslash and \$ a dollar sign. A $ that
// starts no reference stays a dollar sign. Two-byte characters are kept
// whole: the trail byte 0x5C of 表 followed by a digit is no group reference.
namespace mavu::script {

class ReplacementTemplate {
 public:
  // Reference numbers beside the group numbers (0 is the whole match).
  static constexpr int kTextBefore = -1;
  static constexpr int kTextAfter = -2;

  explicit ReplacementTemplate(std::string_view cp932);

  // Appends the replacement of one match to `out`; `reference(n)` gives the
  // CP932 text of group n (empty for a group that does not exist or did not
  // take part), kTextBefore or kTextAfter.
  void Expand(const std::function<std::string_view(int)>& reference, std::string& out) const;

 private:
  struct Piece {
    std::string literal;
    int reference = 0;
    bool isReference = false;
  };

  size_t ReadDollar(std::string_view text, size_t pos);
  size_t ReadEscape(std::string_view text, size_t pos);
  void AddLiteral(std::string_view text);
  void AddReference(int reference);

  std::vector<Piece> pieces_;
};

}  // namespace mavu::script
