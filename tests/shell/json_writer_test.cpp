#include "shell/app/json_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace mavu::shell {
namespace {

std::string Quoted(std::string_view text) {
  JsonWriter json;
  json.String(text);
  return json.Text();
}

TEST(JsonWriter, PlacesCommasBetweenMembersAndElements) {
  JsonWriter json;
  json.BeginObject();
  json.Key("a");
  json.Number(1);
  json.Key("b");
  json.BeginArray();
  json.Number(-2);
  json.String("x");
  json.BeginObject();
  json.EndObject();
  json.BeginArray();
  json.EndArray();
  json.EndArray();
  json.Key("c");
  json.BeginObject();
  json.Key("d");
  json.String("");
  json.EndObject();
  json.EndObject();
  EXPECT_EQ(json.Text(), R"({"a":1,"b":[-2,"x",{},[]],"c":{"d":""}})");
}

TEST(JsonWriter, WritesTheFullRangeOfNumbers) {
  JsonWriter json;
  json.BeginArray();
  json.Number(INT64_MIN);
  json.Number(0);
  json.Number(INT64_MAX);
  json.EndArray();
  EXPECT_EQ(json.Text(), "[-9223372036854775808,0,9223372036854775807]");
}

TEST(JsonWriter, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(Quoted("a\"b\\c/"), R"("a\"b\\c/")");
  EXPECT_EQ(Quoted("\b\f\n\r\t"), R"("\b\f\n\r\t")");
  EXPECT_EQ(Quoted(std::string("\x00\x01\x1f\x7f", 4)), "\"\\u0000\\u0001\\u001f\x7f\"");
}

TEST(JsonWriter, KeysAreEscapedLikeStrings) {
  JsonWriter json;
  json.BeginObject();
  json.Key("q\"\n");
  json.Number(3);
  json.EndObject();
  EXPECT_EQ(json.Text(), "{\"q\\\"\\n\":3}");
}

TEST(JsonWriter, KeepsValidUtf8AsItIs) {
  // Two-, three- and four-byte characters at the edges of their ranges.
  const std::string text =
      "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"
      "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\xE3\x81\x82";
  EXPECT_EQ(Quoted(text), "\"" + text + "\"");
}

TEST(JsonWriter, ReplacesEveryByteOfABrokenSequence) {
  const std::string bad = "\xEF\xBF\xBD";
  EXPECT_EQ(Quoted("a\x80z"), "\"a" + bad + "z\"");                  // stray continuation
  EXPECT_EQ(Quoted("\xC0\xAF"), "\"" + bad + bad + "\"");            // overlong '/'
  EXPECT_EQ(Quoted("\xC1\xBF"), "\"" + bad + bad + "\"");            // overlong
  EXPECT_EQ(Quoted("\xE0\x9F\xBF"), "\"" + bad + bad + bad + "\"");  // overlong three bytes
  EXPECT_EQ(Quoted("\xED\xA0\x80"), "\"" + bad + bad + bad + "\"");  // surrogate
  EXPECT_EQ(Quoted("\xF4\x90\x80\x80"), "\"" + bad + bad + bad + bad + "\"");  // above U+10FFFF
  EXPECT_EQ(Quoted("\xF5\x80"), "\"" + bad + bad + "\"");
  EXPECT_EQ(Quoted("\xE3\x81"), "\"" + bad + bad + "\"");  // cut short at the end
  EXPECT_EQ(Quoted("\xE3\x41\x82"), "\"" + bad + "A" + bad + "\"");
}

TEST(Utf8SequenceLength, MeasuresTheSequenceAtAPosition) {
  const std::string text = "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80";
  EXPECT_EQ(Utf8SequenceLength(text, 0), 1u);
  EXPECT_EQ(Utf8SequenceLength(text, 1), 2u);
  EXPECT_EQ(Utf8SequenceLength(text, 2), 0u);
  EXPECT_EQ(Utf8SequenceLength(text, 3), 3u);
  EXPECT_EQ(Utf8SequenceLength(text, 6), 4u);
  EXPECT_EQ(Utf8SequenceLength(text.substr(0, 9), 6), 0u);
}

}  // namespace
}  // namespace mavu::shell
