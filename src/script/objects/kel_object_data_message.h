#pragma once

#include <memory>
#include <string>

#include "imaging/message/message_lib.h"
#include "script/objects/kel_object_data_image.h"

namespace mavu::script {

// A message object (`TKelObjectDataMessage`, kind msg): it owns a message
// window; its hit test is a click on the window (which shows the rest of the
// text or turns the page), and it reports the window's state to the message
// wait.
class TKelObjectDataMessage : public TKelObjectDataImage {
 public:
  TKelObjectDataMessage(std::string name, ObjectKind kind,
                        std::unique_ptr<imaging::TMessageLib> window);

  imaging::TMessageLib& Window() { return static_cast<imaging::TMessageLib&>(*layer_); }
  const imaging::TMessageLib& Window() const {
    return static_cast<const imaging::TMessageLib&>(*layer_);
  }

  bool SaveState(base::ByteWriter& out) override;
  bool LoadState(base::ByteReader& in) override;
  bool HitTest(int32_t mask, int32_t x, int32_t y) override;
  int32_t MessageState() const override { return Window().MessageState(); }
};

}  // namespace mavu::script
