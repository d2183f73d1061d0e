#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/byte_writer.h"
#include "resource/sealed_stream.h"
#include "resource/system_data.h"
#include "system_data_variables.h"

namespace {

using mavu::fuzz::kSystemDataFuzzKey;
using mavu::fuzz::OpaqueVariables;
using mavu::resource::SystemData;

// Magic, checksum and length ahead of a sealed payload.
constexpr size_t kSealHead = 12;

// Never written to: the target reads and builds files in memory only.
constexpr const char* kNoFolder = "/nonexistent/mavu-fuzz";

// What loaded must build a file that loads to the same variables and builds
// the same file again.
void CheckLoaded(SystemData& data, const OpaqueVariables& variables) {
  const auto file = data.BuildFile();
  if (!file) std::abort();
  OpaqueVariables againVariables;
  SystemData again(kNoFolder, kSystemDataFuzzKey, againVariables);
  if (!again.LoadFromBytes(*file) || againVariables.bytes != variables.bytes) std::abort();
  if (again.BuildFile() != file) std::abort();
  data.OpenedFiles().AddFilter("cg");
  data.OpenedFiles().CountOpen("cg\\fuzz.png");
  data.ReadLines().ReportLine("fuzz.s@@top", 3);
  data.ReadLines().Counts().LookupCount("fuzz.s@@top");
}

void Load(std::span<const uint8_t> file) {
  OpaqueVariables variables;
  SystemData systemData(kNoFolder, kSystemDataFuzzKey, variables);
  if (systemData.LoadFromBytes(file)) CheckLoaded(systemData, variables);
}

}  // namespace

// Reads arbitrary bytes as a system-data file, and once more with everything
// after the seal's head sealed afresh, so that damaged blocks get past the
// checksum.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  Load(input);
  if (size >= kSealHead) {
    mavu::base::ByteWriter resealed;
    mavu::resource::SealStream(input.subspan(kSealHead), resealed);
    Load(resealed.Data());
  }
  return 0;
}
