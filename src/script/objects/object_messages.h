#pragma once

#include <string>

// The messages of the object commands, as CP932 text. Each is followed by
// the command text, the command word or the file it names.
namespace mavu::script::messages {

const std::string& SystemUndefinedCommand();  // + the command word
const std::string& ReplaceTableFull();        // + the command text
const std::string& ReplaceSlotOutOfRange();   // + the command text
const std::string& PathListFull();            // + the command text
const std::string& PathIndexOutOfRange();     // + the command text
const std::string& FileLoadFailed();          // + the file name
const std::string& SystemDataLoadFailed();    // + the file name
const std::string& SystemDataSaveFailed();    // + the file name
const std::string& GameDataLoadFailed();      // + the file name
const std::string& GameDataSaveFailed();      // + the file name
// A layer's picture did not load: + file + ":" + image file. Images,
// message windows and buttons each have their own wording.
const std::string& ImageLoadFailed();
const std::string& MessageImageLoadFailed();
const std::string& ButtonImageLoadFailed();
const std::string& LevelChannelOutOfRange();      // sc
const std::string& PlayChannelOutOfRange();       // dc
const std::string& IndicatorChannelOutOfRange();  // dc of the wait indicators
const std::string& IconSheetLoadFailed();         // + the file name
const std::string& BadTextValue();                // + the argument
const std::string& StreamLoadFailed();            // snd l: + the file name
const std::string& EffectLoadFailed();            // dsnd l: + the file name

}  // namespace mavu::script::messages
