#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/byte_reader.h"
#include "resource/qda_archive.h"

namespace {

constexpr size_t kFirstIdOffset = 256 + 12;
constexpr size_t kIdWidth = 256;

// The ID of the first directory record, so that bodies are reached too.
std::string FirstId(std::span<const uint8_t> archive) {
  mavu::base::ByteReader in(archive);
  if (in.Size() < kFirstIdOffset + kIdWidth) return "";
  in.Seek(kFirstIdOffset);
  std::string id = in.Text(kIdWidth);
  return id.substr(0, id.find('\0'));
}

}  // namespace

// Reads arbitrary bytes as a QDA0 archive.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> archive(data, size);
  for (const std::string& id : {FirstId(archive), std::string("BG01"), std::string("missing")}) {
    try {
      mavu::resource::ReadQDAEntry(archive, id);
    } catch (const mavu::resource::EQDAError&) {
    }
  }
  return 0;
}
