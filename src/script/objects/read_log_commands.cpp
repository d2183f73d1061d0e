#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/object_commands.h"

// The read logs of the system data: slog (and llog, of the same kind) on the
// line log, flog on the file log with its filters.
namespace mavu::script {
namespace {

using namespace arguments;

constexpr int32_t kLockValue = 1;

resource::LineLog& LineLog(const Command& command) {
  return command.script.SystemData().ReadLines();
}

resource::FileLog& FileLog(const Command& command) {
  return command.script.SystemData().OpenedFiles();
}

// g,key: ResultInt = the value of the key, -1 when absent.
void Lookup(const Command& command, resource::TLabelLog& log) {
  SetResultInt(command, log.LookupCount(Text(command, 1)));
}

// s,key,n: stores the value whatever was there.
void Store(const Command& command, resource::TLabelLog& log) {
  log.RecordCount(Text(command, 1), Integer(command, 2), true);
}

bool LineUnlock(const Command& command) {
  LineLog(command).SetLocked(false);
  return true;
}

bool LineLock(const Command& command) {
  LineLog(command).SetLocked(Integer(command, 1) == kLockValue);
  return true;
}

bool LineLookup(const Command& command) {
  Lookup(command, LineLog(command).Counts());
  return true;
}

bool LineClear(const Command& command) {
  LineLog(command).Counts().ClearLog();
  return true;
}

bool LineStore(const Command& command) {
  Store(command, LineLog(command).Counts());
  return true;
}

// i: unlocks the file log and empties every filter.
bool FileReset(const Command& command) {
  FileLog(command).Reset();
  return true;
}

bool FileLock(const Command& command) {
  FileLog(command).SetLocked(Integer(command, 1) == kLockValue);
  return true;
}

bool FileAddFilter(const Command& command) {
  FileLog(command).AddFilter(Text(command, 1));
  return true;
}

bool FileRemoveFilter(const Command& command) {
  FileLog(command).RemoveFilter(Text(command, 1));
  return true;
}

bool FileLookup(const Command& command) {
  Lookup(command, FileLog(command).Counts());
  return true;
}

bool FileClear(const Command& command) {
  FileLog(command).Counts().ClearLog();
  return true;
}

bool FileStore(const Command& command) {
  Store(command, FileLog(command).Counts());
  return true;
}

}  // namespace

void RegisterReadLogCommands(CommandTable& table) {
  constexpr uint8_t kSlog = KindNumber(ObjectKind::kSkipLog);
  table.AddObjectCommand(kSlog, "i", LineUnlock);
  table.AddObjectCommand(kSlog, "lk", LineLock);
  table.AddObjectCommand(kSlog, "g", LineLookup);
  table.AddObjectCommand(kSlog, "cc", LineClear);
  table.AddObjectCommand(kSlog, "s", LineStore);

  constexpr uint8_t kFlog = KindNumber(ObjectKind::kFileLog);
  table.AddObjectCommand(kFlog, "i", FileReset);
  table.AddObjectCommand(kFlog, "lk", FileLock);
  table.AddObjectCommand(kFlog, "a", FileAddFilter);
  table.AddObjectCommand(kFlog, "d", FileRemoveFilter);
  table.AddObjectCommand(kFlog, "g", FileLookup);
  table.AddObjectCommand(kFlog, "cc", FileClear);
  table.AddObjectCommand(kFlog, "s", FileStore);
}

}  // namespace mavu::script
