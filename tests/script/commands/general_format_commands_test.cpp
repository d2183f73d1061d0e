#include <gtest/gtest.h>

#include "support/script/general_command_test.h"

namespace mavu::script::test {
namespace {

using Strings = std::vector<std::string>;

class FormatCommandsTest : public GeneralCommandTest {
 protected:
  // ResultStr after one command; it is set to a marker first, so that an
  // empty result is seen to be written.
  std::string After(std::string_view utf8Command) {
    script_->SetResultString("ResultStr", "unset");
    Run(utf8Command);
    return ResultStr();
  }
};

TEST_F(FormatCommandsTest, FmtFormatsAnIntegerWithWidthsAndFlags) {
  DeclareGlobal("int", "n");
  script_->Calculation().AssignInteger("n", 0, 42);
  EXPECT_EQ(After(R"(\fmt,"%d",n)"), "42");
  EXPECT_EQ(After(R"(\fmt,"[%5d]",n)"), "[   42]");
  EXPECT_EQ(After(R"(\fmt,"[%-5d]",n)"), "[42   ]");
  EXPECT_EQ(After(R"(\fmt,"%05d",n)"), "00042");
  EXPECT_EQ(After(R"(\fmt,"%+d",n)"), "+42");
  EXPECT_EQ(After(R"(\fmt,"%x",n+213)"), "ff");
  EXPECT_EQ(After(R"(\fmt,"%04X",n+213)"), "00FF");
  EXPECT_EQ(After(R"(\fmt,"%x",-1)"), "ffffffff");
  EXPECT_EQ(After(R"(\fmt,"No.%03d 表",7)"), "No.007 \x95\x5C");
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(FormatCommandsTest, FmtFormatsAStringValueAsAText) {
  SetString("name", "\x95\x5C\x8E\xA6");  // 表示
  EXPECT_EQ(After(R"(\fmt,"[%6s]",name)"), "[  \x95\x5C\x8E\xA6]");
  EXPECT_EQ(After(R"(\fmt,"[%-6s]",name)"), "[\x95\x5C\x8E\xA6  ]");
  EXPECT_EQ(After(R"(\fmt,"%.3s",name)"), "\x95\x5C");
  EXPECT_EQ(After(R"(\fmt,"%s!","12")"), "12!");
}

TEST_F(FormatCommandsTest, AValueOfTheWrongKindGivesAnEmptyResult) {
  EXPECT_EQ(After(R"(\fmt,"%d","12")"), "");
  EXPECT_EQ(After(R"(\fmt,"%s",12)"), "");
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(FormatCommandsTest, TooFewArgumentsGiveAnEmptyResultAndSpareOnesAreIgnored) {
  EXPECT_EQ(After(R"(\fmt,"%d-%d",1)"), "");
  EXPECT_EQ(After(R"(\fmt,"%d")"), "");
  EXPECT_EQ(After(R"(\fmt,"plain",1)"), "plain");
  EXPECT_EQ(After(R"(\fmt,"100%%",1)"), "100%");
  EXPECT_EQ(After(R"(\fmt,"%d",1,2)"), "1");
}

TEST_F(FormatCommandsTest, DangerousConversionsAreRefused) {
  for (const char* command :
       {R"(\fmt,"%n",1)", R"(\fmt,"%p",1)", R"(\fmt,"%c",65)", R"(\fmt,"%f",1)", R"(\fmt,"%ld",1)",
        R"(\fmt,"%*d",1)", R"(\fmt,"%1025d",1)", R"(\fmt,"abc%",1)"}) {
    EXPECT_EQ(After(command), "") << command;
  }
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(FormatCommandsTest, CrcIsTheShiftRegisterChecksumInFourUpperCaseDigits) {
  EXPECT_EQ(After(R"(\crc,"")"), "0000");
  // "A" is 0x41: the register ends with stages 1 and 7 set, read from stage 0
  // as the top bit: 0100 0001 0000 0000.
  EXPECT_EQ(After(R"(\crc,"A")"), "4100");
  // 01 00 00: after 16 bits the one bit reaches stage 15 and its feedback
  // enters stages 0, 5 and 12, giving stages 0 3 7 8 12 after the last 8 bits
  // (0x9188 with stage k as bit k), read reversed: 0x1189.
  SetString("s", std::string("\x01\x00\x00", 3));
  EXPECT_EQ(After(R"(\crc,s)"), "1189");
}

TEST_F(FormatCommandsTest, CodeScramblesIntoLowDigitFirstHexadecimal) {
  // With the key 0x3D the name scrambler XORs a one-byte text with 0x9B:
  // "A" (0x41) becomes 0xDA, written low digit first.
  EXPECT_EQ(After(R"(\code,0,"A")"), "AD");
  // Two bytes: XOR 0x9E and 0xA0.
  EXPECT_EQ(After(R"(\code,0,"AB")"), "FD2E");
  EXPECT_EQ(After(R"(\code,0,"")"), "");
}

TEST_F(FormatCommandsTest, CodeWithAnyOtherModeReadsTheDigitsBack) {
  EXPECT_EQ(After(R"(\code,1,"AD")"), "A");
  EXPECT_EQ(After(R"(\code,-3,"fd2e")"), "AB");
  SetString("plain", "\x95\x5C\x8E\xA6{\\}");
  Run(R"(\code,0,plain
\code,1,ResultStr)");
  EXPECT_EQ(ResultStr(), "\x95\x5C\x8E\xA6{\\}");
}

TEST_F(FormatCommandsTest, CodeReadsNothingFromTextThatIsNotDigitPairs) {
  EXPECT_EQ(After(R"(\code,1,"ADA")"), "");
  EXPECT_EQ(After(R"(\code,1,"ZZ")"), "");
  EXPECT_EQ(Messages(), Strings{});
}

}  // namespace
}  // namespace mavu::script::test
