#pragma once

#include <string>

#include "base/bytes.h"
#include "shell/sound/dd_sound_device.h"

namespace mavu::shell {

// The longest sound decoded whole (five minutes): a file that claims more is
// cut there rather than taking the memory its header asks for.
inline constexpr size_t kMaxWholeSoundBytes = size_t{44100} * 4 * 300 / 1024 * 1024;

// A sound file (Ogg Vorbis, or a WAVE file as animations may carry) decoded
// completely, loop points included, at full level into a zero-padded buffer
// of at least 32768 bytes, a multiple of 1024. Null with `error` set when the
// file does not decode.
PcmBuffer DecodeWholeSound(base::Bytes file, std::string& error);

}  // namespace mavu::shell
