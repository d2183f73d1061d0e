#pragma once

#include <string>

// The messages of the general commands, as CP932 text. Each is followed by
// what it names.
namespace mavu::script::messages {

const std::string& CannotCreateType();   // var, gvar, svar: + the type word
const std::string& DeleteFailed();       // del: + the name
const std::string& CalculationFailed();  // cal: + the expression
const std::string& ScopeNotObject();     // scp: + the argument
const std::string& SwapNotObject();      // swap: + the argument
const std::string& SwapFailed();         // swap: + first + "/" + second

}  // namespace mavu::script::messages
