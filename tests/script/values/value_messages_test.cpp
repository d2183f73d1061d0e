#include "script/values/value_messages.h"

#include <gtest/gtest.h>

namespace mavu::script {
namespace {

// The texts are CP932 bytes; two of them spelled out byte by byte.
TEST(ValueMessages, AreCp932Bytes) {
  EXPECT_EQ(messages::CalculationError(),
            "\x8C\x76\x8E\x5A\x92\x86\x83\x47\x83\x89\x81\x5B\x82\xAA\x94\xAD\x90\xB6\x82\xB5"
            "\x82\xDC\x82\xB5\x82\xBD");
  EXPECT_EQ(messages::UndefinedVariable(),
            "\x96\xA2\x92\xE8\x8B\x60\x82\xCC\x95\xCF\x90\x94\x81\x46");
}

// Some texts end in a full-width colon, some in an ASCII one, some in none.
TEST(ValueMessages, KeepTheirOwnSeparators) {
  const std::string fullWidthColon = "\x81\x46";
  EXPECT_TRUE(messages::AlreadyDeclared().ends_with(fullWidthColon));
  EXPECT_TRUE(messages::ObjectCreateFailed().ends_with(fullWidthColon));
  EXPECT_TRUE(messages::ObjectFreeFailed().starts_with("Object"));
  for (const std::string* text :
       {&messages::NotDeclared(), &messages::NotReadable(), &messages::NotWritable(),
        &messages::WriteFailed(), &messages::NotDeletable()}) {
    EXPECT_TRUE(text->ends_with(":")) << *text;
  }
  EXPECT_FALSE(messages::OutOfRange().ends_with(":"));
  EXPECT_FALSE(messages::BadValueKind().ends_with(fullWidthColon));
}

}  // namespace
}  // namespace mavu::script
