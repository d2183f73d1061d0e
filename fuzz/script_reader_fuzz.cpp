#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "fuzz_game_folder.h"
#include "resource/data_tree.h"
#include "script/reader/kel_reader.h"
#include "script/reader/word_buf.h"

// The input is a main script, an include file and reader-state bytes, in that
// order, separated by "\xFE\xFE\xFE". The scripts are loaded through the data
// tree as loose files, walked command by command with every word function
// applied, jumped around by the labels they name, saved and restored; the
// state bytes are then loaded as a save would be.
namespace {

using namespace mavu;
using fuzz::GamePath;
using fuzz::TakePart;
using fuzz::WriteScript;

constexpr int kMaxCommands = 256;

class SilentEvents : public script::ReaderEvents {
 public:
  void LineReached(const std::string&, int32_t) override {}
  void PositionWarning(const std::string&) override {}
  void ReaderError(const std::string&) override {}
};

void TakeApartWords(std::string_view command, script::TKelReader& reader) {
  script::TWordBuf words;
  script::SplitWords(words, command, ',');
  script::TWordBuf indexed;
  for (int i = 0; i < words.count; ++i) {
    script::BracketContent(words.words[i]);
    script::ParseIndexedName(indexed, words.words[i], ',');
    script::InsertWord(indexed, i, script::NamePart(words.words[i]));
  }
  // A word naming a label sends the reader there, as a jump command would.
  if (words.count > 1 && words.words[1].starts_with("@@")) reader.GotoLabel(words.words[1], 1, 0);
}

void Walk(script::TKelReader& reader) {
  for (int i = 0; i < kMaxCommands; ++i) {
    std::string command = reader.ReadCommand();
    TakeApartWords(command, reader);
    reader.PositionText();
    if (command.empty() && reader.PositionText() == "EOF") return;
  }
}

void SaveAndRestore(const script::TKelReader& reader, SilentEvents& events) {
  base::ByteWriter out;
  reader.SaveReaderState(out);
  script::TKelReader restored;
  restored.SetEvents(&events);
  base::ByteReader in(out.Data());
  restored.LoadReaderState(in);  // must not throw: the bytes are our own
  if (!in.AtEnd()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  WriteScript("main.txt", TakePart(rest));
  WriteScript("inc.txt", TakePart(rest));
  std::string_view state = TakePart(rest);

  SilentEvents events;
  script::TKelReader reader;
  reader.SetEvents(&events);
  reader.AddReplacement("%name%", "\\n,", script::kReplaceText);
  reader.SetTextLinePrefix("\\m,");
  reader.SetEmptyLineText("\\e");
  if (reader.OpenScript("main.txt", true)) Walk(reader);
  SaveAndRestore(reader, events);

  base::ByteReader in(std::span(reinterpret_cast<const uint8_t*>(state.data()), state.size()));
  try {
    if (reader.LoadReaderState(in)) Walk(reader);
  } catch (const base::FormatError&) {
  }
  return 0;
}
