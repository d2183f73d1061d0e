#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "imaging/layers/stage.h"
#include "imaging/message/message_lib.h"

// Types arbitrary text into a small message window: bytes from broken scripts
// reach the token reader, the tags and the draw rule as they are. The first
// byte picks the window's options; the typed page is then saved, and its
// record must redraw the same pixels.
namespace {

using mavu::imaging::TMessageLib;

void ApplyOptions(TMessageLib& window, uint8_t options) {
  const int32_t width = options & 1 ? 72 : 240;
  window.SetArea({0, 0, width, options & 2 ? 40 : 96});
  window.SetVertical((options & 4) != 0);
  window.SetSkip((options & 8) != 0);
  window.SetAutoPage((options & 16) == 0);
  window.SetScrollOnFullPage((options & 32) != 0);
  window.SetOwnSpeed(options & 64 ? 0 : 1);
  window.Enable();
}

bool SamePixels(const mavu::imaging::TARGB8888& a, const mavu::imaging::TARGB8888& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y) {
    if (!std::equal(a.Row(y), a.Row(y) + a.Width(), b.Row(y))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static mavu::imaging::Stage stage;
  TMessageLib window{stage.Context()};
  ApplyOptions(window, data[0]);
  // Small glyphs keep each input cheap and put many on a line.
  window.AddTag("s,12,12");
  // Longer pages only repeat what a few thousand bytes already reach.
  const size_t length = std::min<size_t>(size - 1, 1024);
  window.AddText(std::string(reinterpret_cast<const char*>(data + 1), length));
  for (int frame = 0; frame < 8; ++frame) {
    window.Update(16);
    int32_t x = 0;
    int32_t y = 0;
    if (frame % 3 == 2) window.Click(-1, x, y);
  }
  window.ShowAll();
  mavu::base::ByteWriter out;
  window.SaveMessageState(out);
  const mavu::base::Bytes saved = out.Take();
  // The record leaves the paging options to the object, as a game's own
  // window keeps them across a load.
  TMessageLib restored{stage.Context()};
  ApplyOptions(restored, data[0]);
  mavu::base::ByteReader in(saved);
  restored.LoadMessageState(in);
  if (!SamePixels(window.TextLayer(), restored.TextLayer())) __builtin_trap();
  window.ClearPage();
  return 0;
}
