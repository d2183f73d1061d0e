#include "script/interpreter/interpreter_messages.h"

#include "base/cp932.h"

namespace mavu::script::messages {
// Written here in UTF-8 and converted once, so the texts stay readable.
#define MAVU_MESSAGE(function, utf8)                         \
  const std::string& function() {                            \
    static const std::string text = base::Utf8ToCp932(utf8); \
    return text;                                             \
  }

MAVU_MESSAGE(UndefinedCommand, "未定義の命令：")
MAVU_MESSAGE(IfBadCondition, "if：評価式が間違っています：")
MAVU_MESSAGE(ElseWithoutBlock, "\\else：対となる\\if,\\caseがみつかりません")
MAVU_MESSAGE(ThenOutsideIf, "\\else：\\if～\\fiの中でしか使用できません")
MAVU_MESSAGE(EndWithoutBlock, "\\end : 対となる制御命令(\\if,\\for,\\swit)が見つかりません")
MAVU_MESSAGE(ForBadArguments, "\\for：引数の設定に誤りがあります。")
MAVU_MESSAGE(BrkOutsideFor, "\\brkは\\for～\\nextの中でしか使用できません")
MAVU_MESSAGE(CntOutsideFor, "\\cntは\\for～\\nextの中でしか使用できません")
MAVU_MESSAGE(CaseBadArguments, "\\case：引数の設定に誤りがあります。")
MAVU_MESSAGE(AnsWithoutCase, "\\ans：対応する\\caseが見つかりません")
MAVU_MESSAGE(JmpNotFound, "\\jmp：ジャンプ先が見つかりません：")
MAVU_MESSAGE(GoNotFound, "\\go：ジャンプ先が見つかりません：")
MAVU_MESSAGE(SubNotFound, "\\sub：不明なファイル名かラベル：")
MAVU_MESSAGE(SubTooDeep, "\\sub：呼び出しが深すぎます：")
MAVU_MESSAGE(RetWithoutSub, "\\ret : 対となる\\subが見つかりません : ")
MAVU_MESSAGE(LabelInBlock, "\\if～\\fi/\\for～\\next間にラベルを設置しないでください")
MAVU_MESSAGE(GameDataNotFound, "GameData:ファイルが見つかりません:")
MAVU_MESSAGE(GameDataReadError, "GameData:読み込みエラー:")

#undef MAVU_MESSAGE

}  // namespace mavu::script::messages
