#pragma once

#include <string>

namespace mavu::script {

// Where the script engine's messages go. The interpreter implements it and adds
// the script position; the values, tables and the evaluator only report through
// it. Messages are CP932 text.
class ScriptErrorSink {
 public:
  virtual ~ScriptErrorSink() = default;
  virtual void ScriptError(const std::string& message) = 0;
};

// A sink behind an on/off switch: optional expressions (fstr, fint, sub
// parameters) are evaluated with reporting off, and then nothing is said.
class ErrorReporter {
 public:
  void SetSink(ScriptErrorSink* sink) { sink_ = sink; }
  void SetEnabled(bool on) { enabled_ = on; }
  bool Enabled() const { return enabled_; }

  void Report(const std::string& message) const {
    if (enabled_ && sink_ != nullptr) sink_->ScriptError(message);
  }

 private:
  ScriptErrorSink* sink_ = nullptr;
  bool enabled_ = true;
};

}  // namespace mavu::script
