#include "script/interpreter/run_state_record.h"

#include <string_view>

namespace mavu::script {
namespace {

// kind, two names, two positions and eight texts, every text empty.
constexpr size_t kSmallestEntryBytes = 1 + 2 * 2 + 2 * 4 + TScriptRunStack::kTexts * 2;

template <typename Enum>
Enum Bounded(uint8_t value, Enum last, std::string_view what) {
  if (value > static_cast<uint8_t>(last)) {
    throw base::FormatError(std::string("run state: bad ") + std::string(what));
  }
  return static_cast<Enum>(value);
}

void WriteEntry(const TScriptRunStack& entry, base::ByteWriter& out) {
  out.U8(static_cast<uint8_t>(entry.kind)).Str16(entry.fileName).Str16(entry.labelName);
  out.I32(entry.lineOffset).I32(entry.charPosition);
  for (const std::string& text : entry.texts) out.Str16(text);
}

TScriptRunStack ReadEntry(base::ByteReader& in) {
  TScriptRunStack entry;
  entry.kind = Bounded(in.U8(), RunKind::kCall, "run-stack kind");
  entry.fileName = in.Str16();
  entry.labelName = in.Str16();
  entry.lineOffset = in.I32();
  entry.charPosition = in.I32();
  for (std::string& text : entry.texts) text = in.Str16();
  return entry;
}

std::vector<TScriptRunStack> ReadStack(base::ByteReader& in) {
  const uint32_t depth = in.U32();
  if (depth > in.Remaining() / kSmallestEntryBytes) {
    throw base::FormatError("run state: run-stack depth beyond the stream");
  }
  std::vector<TScriptRunStack> entries;
  entries.reserve(depth);
  for (uint32_t i = 0; i < depth; ++i) entries.push_back(ReadEntry(in));
  return entries;
}

void WriteScope(const TScriptObjectScope& scope, base::ByteWriter& out) {
  for (const std::string& name : scope.names) out.Str16(name);
}

void ReadScope(TScriptObjectScope& scope, base::ByteReader& in) {
  for (std::string& name : scope.names) name = in.Str16();
}

template <size_t N>
void WriteTexts(const std::array<std::string, N>& texts, base::ByteWriter& out) {
  for (const std::string& text : texts) out.Str16(text);
}

template <size_t N>
void ReadTexts(std::array<std::string, N>& texts, base::ByteReader& in) {
  for (std::string& text : texts) text = in.Str16();
}

}  // namespace

void RunStateRecord::Write(const TScriptModuleData& m,
                           const std::array<std::string, kDirEntries>& dirs,
                           base::ByteWriter& out) {
  out.I32(m.runStack.CallDepth()).U32(static_cast<uint32_t>(m.runStack.Size()));
  for (const TScriptRunStack& entry : m.runStack.Entries()) WriteEntry(entry, out);
  WriteScope(m.scope, out);
  out.U32(m.scopeWord);
  for (const TScriptObjectScope& scope : m.savedScopes) WriteScope(scope, out);
  out.U8(static_cast<uint8_t>(m.waitState)).I32(m.waitTime).I32(m.clickSkipTime);
  out.U8(m.waveChannel).Str16(m.jumpLabel).U32(m.lockFlags).U8(static_cast<uint8_t>(m.mode));
  out.I32(m.commandsPerFrame).I32(m.elapsedTime).I32(m.timeTarget).I32(m.soundTimeTarget);
  out.U8(m.soundChannel);
  WriteTexts(m.saveTitles, out);
  out.I32(m.updateMask).I32(m.drawMask);
  WriteTexts(m.texts, out);
  out.U8(m.sceneSkipAllowed ? 1 : 0);
  WriteTexts(dirs, out);
}

RunStateRecord RunStateRecord::Read(base::ByteReader& in) {
  RunStateRecord record;
  TScriptModuleData& m = record.module;
  const int32_t callDepth = in.I32();
  m.runStack.Assign(ReadStack(in));
  if (callDepth != m.runStack.CallDepth()) {
    throw base::FormatError("run state: the call depth disagrees with the run stack");
  }
  ReadScope(m.scope, in);
  m.scopeWord = in.U32();
  for (TScriptObjectScope& scope : m.savedScopes) ReadScope(scope, in);
  m.waitState = Bounded(in.U8(), WaitState::kForever, "wait state");
  m.waitTime = in.I32();
  m.clickSkipTime = in.I32();
  m.waveChannel = in.U8();
  m.jumpLabel = in.Str16();
  m.lockFlags = in.U32();
  m.mode = Bounded(in.U8(), SkipMode::kSceneSkipNoLoad, "mode");
  m.commandsPerFrame = in.I32();
  m.elapsedTime = in.I32();
  m.timeTarget = in.I32();
  m.soundTimeTarget = in.I32();
  m.soundChannel = in.U8();
  ReadTexts(m.saveTitles, in);
  m.updateMask = in.I32();
  m.drawMask = in.I32();
  ReadTexts(m.texts, in);
  m.sceneSkipAllowed = in.U8() != 0;
  ReadTexts(record.dirs, in);
  return record;
}

}  // namespace mavu::script
