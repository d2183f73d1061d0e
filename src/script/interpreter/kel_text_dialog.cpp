#include "script/interpreter/kel_text_dialog.h"

namespace mavu::script {

void TKelTextDialog::SaveToStream(base::ByteWriter& out) const {
  out.Str16(title_).Str16(prompt_).Str16(text_).I32(maxLength_);
}

void TKelTextDialog::LoadFromStream(base::ByteReader& in) {
  std::string title = in.Str16();
  std::string prompt = in.Str16();
  std::string text = in.Str16();
  const int32_t maxLength = in.I32();
  title_ = std::move(title);
  prompt_ = std::move(prompt);
  text_ = std::move(text);
  maxLength_ = maxLength;
}

}  // namespace mavu::script
