#include "script/commands/text_format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <vector>

namespace mavu::script {
namespace {

std::optional<std::string> Format(std::string_view format, std::vector<FormatArgument> args) {
  return FormatText(format, args);
}

std::string Printf(const std::string& format, int32_t value) {
  char buffer[256];
  // The formats below are valid printf formats for one int argument.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int length = std::snprintf(buffer, sizeof(buffer), format.c_str(), value);
#pragma GCC diagnostic pop
  return std::string(buffer, static_cast<size_t>(length));
}

TEST(TextFormat, IntegerConversionsAgreeWithThePlatformFormatter) {
  const std::vector<std::string> formats = {
      "%d",     "%i",   "%u",    "%x",     "%X",     "%o",    "%5d",   "%-5d|",
      "%05d",   "%+d",  "% d",   "%+5d",   "%-+5d|", "%.3d",  "%8.3d", "%-8.3d|",
      "%08.3d", "%.0d", "%#x",   "%#X",    "%#o",    "%#.0o", "%#08x", "%-#8x|",
      "%+u",    "% x",  "%010u", "%0-5d|", "%.10u",  "%3.0x", "%+.0d", "<%+05i>"};
  const std::vector<int32_t> values = {0,
                                       1,
                                       -1,
                                       42,
                                       -42,
                                       255,
                                       4096,
                                       std::numeric_limits<int32_t>::max(),
                                       std::numeric_limits<int32_t>::min()};
  for (const std::string& format : formats) {
    for (int32_t value : values) {
      EXPECT_EQ(Format(format, {value}), Printf(format, value)) << format << " " << value;
    }
  }
}

TEST(TextFormat, TextsArePaddedAndCutOnCharacterBoundaries) {
  const std::string_view text =
      "\x95\x5C\x8E\xA6"
      "ab";  // 表示ab: 6 bytes
  EXPECT_EQ(Format("[%8s]", {text}),
            "[  \x95\x5C\x8E\xA6"
            "ab]");
  EXPECT_EQ(Format("[%-8s]", {text}),
            "[\x95\x5C\x8E\xA6"
            "ab  ]");
  EXPECT_EQ(Format("[%3s]", {text}),
            "[\x95\x5C\x8E\xA6"
            "ab]");
  EXPECT_EQ(Format("%.2s", {text}), "\x95\x5C");
  // Three bytes would end inside the second character: it is left out whole.
  EXPECT_EQ(Format("%.3s", {text}), "\x95\x5C");
  EXPECT_EQ(Format("[%5.3s]", {text}), "[   \x95\x5C]");
  EXPECT_EQ(Format("%.0s|", {text}), "|");
  EXPECT_EQ(Format("%05s", {std::string_view("ab")}), "   ab");
}

TEST(TextFormat, LiteralTextAndPercentSignsPassThrough) {
  EXPECT_EQ(Format("", {}), "");
  EXPECT_EQ(Format("100%%", {}), "100%");
  EXPECT_EQ(Format("\x95\x5C%%\x83\x7B", {}), "\x95\x5C%\x83\x7B");
  EXPECT_EQ(Format("%d%%%s", {7, std::string_view("x")}), "7%x");
}

TEST(TextFormat, ArgumentsAreTakenInOrderAndSpareOnesIgnored) {
  EXPECT_EQ(Format("%d-%s-%x", {1, std::string_view("two"), 255}), "1-two-ff");
  EXPECT_EQ(Format("%d", {1, 2, 3}), "1");
  EXPECT_EQ(Format("none", {1}), "none");
}

TEST(TextFormat, TooFewArgumentsOrTheWrongKindAreRefused) {
  EXPECT_EQ(Format("%d", {}), std::nullopt);
  EXPECT_EQ(Format("%d %d", {1}), std::nullopt);
  EXPECT_EQ(Format("%s", {1}), std::nullopt);
  EXPECT_EQ(Format("%x", {std::string_view("12")}), std::nullopt);
}

TEST(TextFormat, ConversionsOutsideTheListAreRefused) {
  for (const char* format : {"%n",   "%hn",  "%p",  "%c",  "%f",  "%e",   "%g",   "%a",       "%ld",
                             "%lld", "%hd",  "%zd", "%jd", "%*d", "%.*d", "%1$d", "%S",       "%ls",
                             "%",    "abc%", "%5",  "%-",  "%.",  "%5.%", "%-%",  "%\x95\x5C"}) {
    EXPECT_EQ(Format(format, {1}), std::nullopt) << format;
    EXPECT_EQ(Format(format, {std::string_view("x")}), std::nullopt) << format;
  }
}

TEST(TextFormat, WidthsAndPrecisionsAreLimited) {
  EXPECT_EQ(Format("%1024d", {1})->size(), kMaxFieldWidth);
  EXPECT_EQ(Format("%.1024d", {1})->size(), kMaxFieldWidth);
  EXPECT_EQ(Format("%1025d", {1}), std::nullopt);
  EXPECT_EQ(Format("%.1025s", {std::string_view("x")}), std::nullopt);
  EXPECT_EQ(Format("%99999999999999999999d", {1}), std::nullopt);
  EXPECT_EQ(Format("%0001024d", {1})->size(), kMaxFieldWidth);
}

}  // namespace
}  // namespace mavu::script
