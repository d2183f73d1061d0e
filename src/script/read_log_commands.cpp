#include "script/kel_script.h"
#include "script/object_arguments.h"
#include "script/object_commands.h"

// The read logs of the system data: slog (and llog, of the same kind) on the
// line log, flog on the file log with its filters.
namespace mavu::script {
namespace {

using namespace arguments;

constexpr int32_t kLockValue = 1;

resource::TLineLog& LineLog(const TCommand& command) {
  return command.script.SystemData().LineLog();
}

resource::TFileLog& FileLog(const TCommand& command) {
  return command.script.SystemData().FileLog();
}

// g,key: ResultInt = the value of the key, -1 when absent.
void Lookup(const TCommand& command, resource::TLabelLog& log) {
  SetResultInt(command, log.LookupCount(Text(command, 1)));
}

// s,key,n: stores the value whatever was there.
void Store(const TCommand& command, resource::TLabelLog& log) {
  log.RecordCount(Text(command, 1), Integer(command, 2), true);
}

bool LineUnlock(const TCommand& command) {
  LineLog(command).SetLocked(false);
  return true;
}

bool LineLock(const TCommand& command) {
  LineLog(command).SetLocked(Integer(command, 1) == kLockValue);
  return true;
}

bool LineLookup(const TCommand& command) {
  Lookup(command, LineLog(command).Counts());
  return true;
}

bool LineClear(const TCommand& command) {
  LineLog(command).Counts().ClearLog();
  return true;
}

bool LineStore(const TCommand& command) {
  Store(command, LineLog(command).Counts());
  return true;
}

// i: unlocks the file log and empties every filter.
bool FileReset(const TCommand& command) {
  FileLog(command).Reset();
  return true;
}

bool FileLock(const TCommand& command) {
  FileLog(command).SetLocked(Integer(command, 1) == kLockValue);
  return true;
}

bool FileAddFilter(const TCommand& command) {
  FileLog(command).AddFilter(Text(command, 1));
  return true;
}

bool FileRemoveFilter(const TCommand& command) {
  FileLog(command).RemoveFilter(Text(command, 1));
  return true;
}

bool FileLookup(const TCommand& command) {
  Lookup(command, FileLog(command).Counts());
  return true;
}

bool FileClear(const TCommand& command) {
  FileLog(command).Counts().ClearLog();
  return true;
}

bool FileStore(const TCommand& command) {
  Store(command, FileLog(command).Counts());
  return true;
}

}  // namespace

void RegisterReadLogCommands(TCommandTable& table) {
  constexpr uint8_t kSlog = KindNumber(ObjectKind::SkipLog);
  table.AddObjectCommand(kSlog, "i", LineUnlock);
  table.AddObjectCommand(kSlog, "lk", LineLock);
  table.AddObjectCommand(kSlog, "g", LineLookup);
  table.AddObjectCommand(kSlog, "cc", LineClear);
  table.AddObjectCommand(kSlog, "s", LineStore);

  constexpr uint8_t kFlog = KindNumber(ObjectKind::FileLog);
  table.AddObjectCommand(kFlog, "i", FileReset);
  table.AddObjectCommand(kFlog, "lk", FileLock);
  table.AddObjectCommand(kFlog, "a", FileAddFilter);
  table.AddObjectCommand(kFlog, "d", FileRemoveFilter);
  table.AddObjectCommand(kFlog, "g", FileLookup);
  table.AddObjectCommand(kFlog, "cc", FileClear);
  table.AddObjectCommand(kFlog, "s", FileStore);
}

}  // namespace mavu::script
