#include "imaging/png_error_callbacks.h"

#include <string>

namespace mavu::imaging::detail {

void KeepPngErrorAndJump(png_structp png, png_const_charp message) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = message ? message : "error";
  png_longjmp(png, 1);
}

void IgnorePngWarning(png_structp, png_const_charp) {}

}  // namespace mavu::imaging::detail
