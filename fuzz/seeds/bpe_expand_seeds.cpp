#include <string>
#include <string_view>

#include "base/byte_writer.h"
#include "resource/bpe.h"
#include "seed_registry.h"

namespace {

using mavu::base::Bytes;

Bytes ScriptText() {
  std::string text;
  for (int i = 0; i < 200; ++i) {
    text += "\\msg \x82\xa0\x82\xa2\x82\xa4 " + std::to_string(i) + "\r\n@@label" +
            std::to_string(i % 7) + "\r\n";
  }
  return Bytes(text.begin(), text.end());
}

Bytes AllValues() {
  Bytes bytes;
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<uint8_t>(i));
  }
  return bytes;
}

// The older form: unpacked length, then blocks with u32 data lengths.
Bytes OlderForm() {
  return mavu::base::ByteWriter()
      .U32(5)
      .Append(Bytes{0xFF, 'x', 'y', 0xFE})
      .U32(3)
      .Append(Bytes{0x80, 0x80, 'z'})
      .Take();
}

}  // namespace

MAVU_FUZZ_SEEDS(bpe_expand) {
  using mavu::resource::BpeCompress;
  return {BpeCompress({}), BpeCompress(ScriptText()), BpeCompress(AllValues()),
          BpeCompress(Bytes(20000, 0x7F)), OlderForm()};
}
