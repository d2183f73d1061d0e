#pragma once

#include <string>

// The messages of the variable tables and the evaluator, as CP932 text. Those
// that name a variable or token are followed by it.
namespace mavu::script::messages {

const std::string& AlreadyDeclared();     // a declared name is visible already
const std::string& ObjectCreateFailed();  // an object element could not be created
const std::string& ObjectFreeFailed();    // an object element could not be freed
const std::string& NotDeclared();         // read, write: no such variable
const std::string& NotReadable();
const std::string& OutOfRange();  // read outside the elements
const std::string& NotWritable();
const std::string& WriteFailed();  // write outside the elements
const std::string& NotDeletable();
const std::string& BadValueKind();       // table stream: value kind other than 0-2
const std::string& ArrayTooLarge();      // declared sizes beyond the element limit
const std::string& Unbalanced();         // brackets or quotes left open
const std::string& UndefinedVariable();  // an operand that does not resolve
const std::string& CalculationError();   // the expression as a whole failed

}  // namespace mavu::script::messages
