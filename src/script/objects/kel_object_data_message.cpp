#include "script/objects/kel_object_data_message.h"

namespace mavu::script {

TKelObjectDataMessage::TKelObjectDataMessage(std::string name, ObjectKind kind,
                                             std::unique_ptr<imaging::TMessageLib> window)
    : TKelObjectDataImage(std::move(name), kind, std::move(window)) {}

bool TKelObjectDataMessage::SaveState(base::ByteWriter& out) {
  Window().SaveMessageState(out);
  return true;
}

bool TKelObjectDataMessage::LoadState(base::ByteReader& in) {
  Window().LoadMessageState(in);
  return true;
}

bool TKelObjectDataMessage::HitTest(int32_t mask, int32_t x, int32_t y) {
  return Window().Click(mask, x, y);
}

}  // namespace mavu::script
