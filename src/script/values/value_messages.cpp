#include "script/values/value_messages.h"

#include "base/cp932.h"

namespace mavu::script::messages {

// Written here in UTF-8 and converted once, so the texts stay readable.
#define MAVU_MESSAGE(function, utf8)                         \
  const std::string& function() {                            \
    static const std::string text = base::Utf8ToCp932(utf8); \
    return text;                                             \
  }

MAVU_MESSAGE(AlreadyDeclared, "既に変数が登録されています：")
MAVU_MESSAGE(ObjectCreateFailed, "Objectの生成に失敗しました：")
MAVU_MESSAGE(ObjectFreeFailed, "Objectの解放に失敗しました：")
MAVU_MESSAGE(NotDeclared, "変数が宣言されていません:")
MAVU_MESSAGE(NotReadable, "この変数は読み込めません:")
MAVU_MESSAGE(OutOfRange, "範囲外の配列にアクセスしました")
MAVU_MESSAGE(NotWritable, "この変数には書き込めません:")
MAVU_MESSAGE(WriteFailed, "変数の書き込みに失敗しました:")
MAVU_MESSAGE(NotDeletable, "この変数は削除出来ません:")
MAVU_MESSAGE(BadValueKind, "変数の型が異常です")
MAVU_MESSAGE(ArrayTooLarge, "配列の要素数が多すぎます：")
MAVU_MESSAGE(Unbalanced, "カッコが正しく閉じられていません")
MAVU_MESSAGE(UndefinedVariable, "未定義の変数：")
MAVU_MESSAGE(CalculationError, "計算中エラーが発生しました")

#undef MAVU_MESSAGE

}  // namespace mavu::script::messages
