#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/data_tree.h"
#include "script/kel_reader.h"
#include "script/word_buf.h"

// The input is a main script, an include file and reader-state bytes, in that
// order, separated by "\xFE\xFE\xFE". The scripts are loaded through the data
// tree as loose files, walked command by command with every word function
// applied, jumped around by the labels they name, saved and restored; the
// state bytes are then loaded as a save would be.
namespace {

using namespace mavu;

constexpr std::string_view kPartSeparator = "\xFE\xFE\xFE";
constexpr int kMaxCommands = 256;

class SilentEvents : public script::TReaderEvents {
 public:
  void LineReached(const std::string&, int32_t) override {}
  void PositionWarning(const std::string&) override {}
  void ReaderError(const std::string&) override {}
};

// The loose-file game folder, removed again when the fuzzer exits.
class GameFolder {
 public:
  GameFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mavu-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
    resource::DataTree().SetProgramDirectory(path_);
  }
  ~GameFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const std::filesystem::path& GamePath() {
  static const GameFolder folder;
  return folder.Path();
}

std::string_view TakePart(std::string_view& rest) {
  size_t end = rest.find(kPartSeparator);
  std::string_view part = rest.substr(0, end);
  rest =
      end == std::string_view::npos ? std::string_view() : rest.substr(end + kPartSeparator.size());
  return part;
}

void WriteScript(const char* name, std::string_view text) {
  std::ofstream out(GamePath() / name, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) std::abort();
}

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
