#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "resource/sealed_stream.h"

// Unseals payloads one after another from arbitrary bytes; each payload that
// unseals must seal back to exactly the bytes it was read from.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> input(data, size);
  mavu::base::ByteReader in(input);
  for (;;) {
    const size_t start = in.Position();
    auto payload = mavu::resource::UnsealStream(in);
    if (!payload) break;
    mavu::base::ByteWriter out;
    mavu::resource::SealStream(*payload, out);
    auto original = input.subspan(start, in.Position() - start);
    if (!std::equal(original.begin(), original.end(), out.Data().begin(), out.Data().end())) {
      std::abort();
    }
  }
  return 0;
}
