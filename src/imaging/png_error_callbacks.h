#pragma once

#include <png.h>

// The error and warning callbacks the PNG loader and writer give libpng. The
// error pointer is the std::string that receives the message.
namespace mavu::imaging::detail {

// Keeps the message and jumps back to the caller's setjmp: libpng expects no
// return from a fatal error.
[[noreturn]] void KeepPngErrorAndJump(png_structp png, png_const_charp message);

// Warnings, and the benign errors the loader lets through, change nothing.
void IgnorePngWarning(png_structp png, png_const_charp message);

}  // namespace mavu::imaging::detail
