#include "output_file.h"

#include <cstdio>
#include <string>

#include "base/file_io.h"

namespace mavu::demo {

bool WriteOutput(std::string_view program, const std::filesystem::path& path,
                 const base::Bytes& bytes) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  if (base::WriteFileAtomic(path, bytes)) return true;
  std::fprintf(stderr, "%s: cannot write %s\n", std::string(program).c_str(),
               path.string().c_str());
  return false;
}

}  // namespace mavu::demo
