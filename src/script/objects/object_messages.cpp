#include "script/objects/object_messages.h"

#include "base/cp932.h"

namespace mavu::script::messages {
// Written here in UTF-8 and converted once, so the texts stay readable.
#define MAVU_MESSAGE(function, utf8)                         \
  const std::string& function() {                            \
    static const std::string text = base::Utf8ToCp932(utf8); \
    return text;                                             \
  }

MAVU_MESSAGE(SystemUndefinedCommand, "未定義の命令です：(sys)/")
// The replacement table's texts have no blank after the colon; the path
// list's have one.
MAVU_MESSAGE(ReplaceTableFull, "これ以上追加できません。:")
MAVU_MESSAGE(ReplaceSlotOutOfRange, "範囲外を指定しました。:")
MAVU_MESSAGE(PathListFull, "これ以上追加できません。: ")
MAVU_MESSAGE(PathIndexOutOfRange, "範囲外を指定しました。: ")
MAVU_MESSAGE(FileLoadFailed, "\\l:ファイルの読み込みに失敗：")
MAVU_MESSAGE(SystemDataLoadFailed, "\\l：SystemDataのロードに失敗：")
MAVU_MESSAGE(SystemDataSaveFailed, "\\s：SystemDataのセーブに失敗：")
MAVU_MESSAGE(GameDataLoadFailed, "\\l：GameDataのロードに失敗：")
MAVU_MESSAGE(GameDataSaveFailed, "\\s：GameDataのセーブに失敗：")

MAVU_MESSAGE(ImageLoadFailed, "\\l:画像ファイルのロードに失敗：")
MAVU_MESSAGE(MessageImageLoadFailed, "\\l:画像のロードに失敗：")
MAVU_MESSAGE(ButtonImageLoadFailed, "\\l：画像にロードに失敗：")
MAVU_MESSAGE(LevelChannelOutOfRange, "\\sc:範囲外のチャンネルを指定しました")
MAVU_MESSAGE(PlayChannelOutOfRange, "\\dc:範囲外のチャンネルを指定しました")
MAVU_MESSAGE(IndicatorChannelOutOfRange, "\\sd:範囲外のチャンネルを指定しました")

MAVU_MESSAGE(IconSheetLoadFailed, "\\bl:外部定義ビットマップフォントのロードに失敗：")
MAVU_MESSAGE(BadTextValue, "\\o：不正な値が入力されました：")
// The two families write the colon after the command differently; scripts may match on it.
MAVU_MESSAGE(StreamLoadFailed, "\\l：サウンドデータのロードに失敗：")
MAVU_MESSAGE(EffectLoadFailed, "\\l:サウンドデータのロードに失敗：")

#undef MAVU_MESSAGE

}  // namespace mavu::script::messages
