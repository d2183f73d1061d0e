#include <string_view>

#include "base/byte_writer.h"
#include "resource/bpe.h"
#include "resource/sealed_stream.h"
#include "seed_registry.h"

namespace {

using mavu::base::Bytes;

Bytes Sealed(const std::vector<Bytes>& payloads) {
  mavu::base::ByteWriter out;
  for (const auto& payload : payloads) mavu::resource::SealStream(payload, out);
  return out.Take();
}

Bytes FromText(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

}  // namespace

MAVU_FUZZ_SEEDS(unseal_stream) {
  const Bytes state = FromText("KELSAVEDATA1 state stream with some text in it");
  return {Sealed({{}}), Sealed({{1, 2, 3}}), Sealed({state}),
          Sealed({mavu::resource::BpeCompress(state), FromText("second payload")})};
}
