#include "script/commands/general_messages.h"

#include "base/cp932.h"

namespace mavu::script::messages {
// Written here in UTF-8 and converted once, so the texts stay readable. The
// deletion message keeps its missing syllable: scripts and logs match it as is.
#define MAVU_MESSAGE(function, utf8)                         \
  const std::string& function() {                            \
    static const std::string text = base::Utf8ToCp932(utf8); \
    return text;                                             \
  }

MAVU_MESSAGE(CannotCreateType, "指定されたオブジェクトは生成出来ません：")
MAVU_MESSAGE(DeleteFailed, "変数の削除に失敗しまた：")
MAVU_MESSAGE(CalculationFailed, "計算に失敗しました：")
MAVU_MESSAGE(ScopeNotObject, "オブジェクト型以外の変数はスコープ出来ません：")
MAVU_MESSAGE(SwapNotObject, "オブジェクト型を渡してください:")
MAVU_MESSAGE(SwapFailed, "オブジェクトのスワップに失敗しました:")

#undef MAVU_MESSAGE

}  // namespace mavu::script::messages
