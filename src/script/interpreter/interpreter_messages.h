#pragma once

#include <string>

// The messages of the dispatcher and the control-flow commands, as CP932 text.
// Those that name a command, a label or a condition are followed by it.
namespace mavu::script::messages {

const std::string& UndefinedCommand();  // + the command text
const std::string& IfBadCondition();    // + the condition
const std::string& ElseWithoutBlock();
const std::string& ThenOutsideIf();
const std::string& EndWithoutBlock();  // fi, end, next
const std::string& ForBadArguments();
const std::string& BrkOutsideFor();
const std::string& CntOutsideFor();
const std::string& CaseBadArguments();
const std::string& AnsWithoutCase();
const std::string& JmpNotFound();    // + label word + ":" + file word
const std::string& GoNotFound();     // + label word + ":" + file word
const std::string& SubNotFound();    // + label word + ":" + file word
const std::string& SubTooDeep();     // + label word
const std::string& RetWithoutSub();  // + label word
const std::string& LabelInBlock();
const std::string& GameDataNotFound();   // + the file name
const std::string& GameDataReadError();  // + the file name

}  // namespace mavu::script::messages
