#include "script/regex/replacement_template.h"

#include <gtest/gtest.h>

#include <string>

namespace mavu::script {
namespace {

// Expands with group n standing for "<n>", and B and A for the texts before and after.
std::string Expand(std::string_view text) {
  std::string storage;
  std::string out;
  ReplacementTemplate(text).Expand(
      [&](int reference) -> std::string_view {
        if (reference == ReplacementTemplate::kTextBefore) return "B";
        if (reference == ReplacementTemplate::kTextAfter) return "A";
        storage = "<" + std::to_string(reference) + ">";
        return storage;
      },
      out);
  return out;
}

TEST(ReplacementTemplate, GroupReferences) {
  EXPECT_EQ(Expand("$1-${2}-\\3-$&"), "<1>-<2>-<3>-<0>");
  EXPECT_EQ(Expand("$12x${34}y"), "<12>x<34>y");
  EXPECT_EQ(Expand("$`|$'"), "B|A");
  EXPECT_EQ(Expand("$99999999999"), "<1000000>");  // capped, still no such group
}

TEST(ReplacementTemplate, ADollarOrBackslashThatStartsNothingIsItself) {
  EXPECT_EQ(Expand("5$"), "5$");
  EXPECT_EQ(Expand("${x}"), "${x}");
  EXPECT_EQ(Expand("${1"), "${1");
  EXPECT_EQ(Expand("$x"), "$x");
  EXPECT_EQ(Expand("a\\"), "a\\");
  EXPECT_EQ(Expand("\\$1\\\\\\/\\q"), "$1\\/q");
}

TEST(ReplacementTemplate, CharacterEscapes) {
  EXPECT_EQ(Expand("\\n\\t\\r\\f\\e\\a"), "\n\t\r\f\x1B\a");
  EXPECT_EQ(Expand("\\x41\\x{3042}\\x4"), std::string("A\x82\xA0\x04"));
  EXPECT_EQ(Expand("\\10\\0"), std::string("\x08\0", 2));  // two digits: octal, not a group
  EXPECT_EQ(Expand("\\x{41"), "x{41");
  EXPECT_EQ(Expand("\\x{1F600}"), "?");  // no such character in CP932
}

TEST(ReplacementTemplate, TwoByteCharactersStayWhole) {
  const std::string hyou = "\x95\x5C";
  EXPECT_EQ(Expand(hyou + "1"), hyou + "1");  // 表 then 1: no \1
  EXPECT_EQ(Expand(hyou + "$1"), hyou + "<1>");
  EXPECT_EQ(Expand("\\" + hyou + "2"), hyou + "2");  // an escaped 表 is 表
  EXPECT_EQ(Expand("\x81\x22$1"), "\x81\x22<1>");
}

}  // namespace
}  // namespace mavu::script
