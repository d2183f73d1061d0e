#include <string>
#include <string_view>

#include "base/byte_writer.h"
#include "base/cp932.h"
#include "script/reader/reader_state_block.h"
#include "seed_registry.h"

namespace {

using namespace mavu;

constexpr std::string_view kPartSeparator = "\xFE\xFE\xFE";

// Reader state as a save writes it: the fixed block, the line, 64 slots, 16 markers.
base::Bytes ReaderState(std::string_view file, std::string_view label, int32_t offset) {
  script::ReaderStateBlock block;
  block.fileName = file;
  block.labelName = label;
  block.lineOffset = offset;
  block.modes[0] = 3;
  block.linePrefix = "\\m,";
  base::ByteWriter out;
  block.Write(out);
  out.Str16("\\line");
  out.Str16("/,/").Str16("#");
  for (int i = 1; i < 64; ++i) out.Str16("").Str16("");
  for (int n = 0; n < 16; ++n) out.Str16("%%%" + std::to_string(n)).Str16("");
  return out.Take();
}

base::Bytes Seed(std::string_view main, std::string_view include, const base::Bytes& state) {
  std::string text(main);
  text.append(kPartSeparator).append(include).append(kPartSeparator);
  text.append(state.begin(), state.end());
  return {text.begin(), text.end()};
}

}  // namespace

MAVU_FUZZ_SEEDS(script_reader) {
  std::string main = base::Utf8ToCp932(
      "// 開始\r\n@@TOP\r\n\\mes,\"ソ表\\ボ{マ}\",能\\wait\r\n/* block\r\n*/@@@inc.txt\r\n"
      "Hello %name%\r\n\r\n\\sel,x[1,(2)],\"a,b\"\\jmp,@@sub\r\n@@!raw\r\n%%%12 [tag]\r\n\\end");
  std::string include = "@@Sub\n\\if{\\a}\\b\n\\jmp,@@top\n@@@main.txt\n@@@inc.txt\n";
  return {
      Seed(main, include, ReaderState("main.txt", "@@top", 2)),
      Seed("@@a\n\\x\\y\n@@@inc.txt", "\x82\n\\z\x82\"\\w", ReaderState("main.txt", "@@sub", 1)),
      Seed("", "", ReaderState("gone.txt", "@@a", -1)), Seed("\\a\n@@End", "", {})};
}
