#include "script/interpreter/kel_script.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "base/cp932.h"
#include "base/error_log.h"
#include "resource/data_tree.h"
#include "script/interpreter/interpreter_messages.h"
#include "script/reader/script_text.h"
#include "script/values/script_number.h"

namespace mavu::script {
namespace {

constexpr char kCommandMark = '\\';
constexpr char kLabelStart = '@';

constexpr std::string_view kSaveDirectoryError = "SaveDirectoryERROR";
constexpr std::string_view kOkKey = "OK";
constexpr std::string_view kResetLabel = "@@reset";

// The system objects, declared in this order at every reset. A count of 0
// means one element per sound channel (snd) or direct-sound channel (dsnd).
struct SystemObject {
  std::string_view name;
  std::string_view kind;
};
constexpr std::array<SystemObject, 3> kLeadingObjects = {
    {{"sys", "sys"}, {"dat", "dat"}, {"sdat", "sdat"}}};
constexpr std::array<SystemObject, 14> kTrailingObjects = {{{"eff", "eff"},
                                                            {"csr", "csr"},
                                                            {"scsr", "scsr"},
                                                            {"log", "log"},
                                                            {"cam", "cam"},
                                                            {"rep", "rep"},
                                                            {"path", "path"},
                                                            {"show", "show"},
                                                            {"tcp", "tcp"},
                                                            {"dlg", "dlg"},
                                                            {"slog", "slog"},
                                                            {"llog", "slog"},
                                                            {"flog", "flog"},
                                                            {"math", "math"}}};
constexpr SystemObject kExtension = {"ext", "ext"};

constexpr int16_t kReadOnly = kReadable;
constexpr int16_t kReadWrite = kReadable | kWritable;

}  // namespace

TKelScript::TKelScript(InterpreterServices services, imaging::Stage& stage,
                       std::unique_ptr<ObjectRegistry> objects, std::filesystem::path saveFolder,
                       uint32_t codeKey)
    : services_(services),
      stage_(stage),
      objects_(std::move(objects)),
      saveFolder_(std::move(saveFolder)),
      codeKey_(codeKey),
      systemData_(saveFolder_, codeKey, *this),
      controlFlow_(*this),
      jumps_(*this) {
  Reader().SetEvents(this);
  base::TheErrorLog().SetErrorContextSource(this);
  Calculation().SetErrorSink(this);
  Calculation().SetObjectHost(objects_.get());
}

TKelScript::~TKelScript() {
  if (hooked_) resource::TheDataTree().SetOpenHook(nullptr);
  if (base::TheErrorLog().ContextSource() == this) {
    base::TheErrorLog().SetErrorContext(ErrorContext());
    base::TheErrorLog().SetErrorContextSource(nullptr);
  }
  // The variables own objects: free them while the registry still exists.
  Calculation().GlobalTable().Clear();
  Calculation().LocalTable().Clear();
  Calculation().SystemTable().Clear();
}

bool TKelScript::Initialize() {
  std::error_code error;
  std::filesystem::create_directories(saveFolder_, error);
  if (error || !std::filesystem::is_directory(saveFolder_, error)) {
    services_.notices.ShowKeyedNotice(kSaveDirectoryError, kOkKey);
    return false;
  }
  LoadSystemDataAtStart();
  resource::TheDataTree().SetOpenHook(
      [this](const std::string& name) { systemData_.OpenedFiles().CountOpen(name); });
  hooked_ = true;
  Reset();
  return true;
}

// A copy that cannot be read is passed over with a warning: what the table
// reader reports about it must not stop the game that the next copy (or empty
// system data) lets start.
void TKelScript::LoadSystemDataAtStart() {
  TValue& table = Calculation().SystemTable();
  table.SetReporting(false);
  systemData_.LoadAtStartup();
  table.SetReporting(Calculation().Reporting());
  for (const std::string& warning : systemData_.StartupWarnings()) {
    services_.notices.ShowWarning("system data passed over: " + warning);
  }
}

// --- Commands ---

void TKelScript::ExecuteCommand(std::string_view text) {
  errorPosition_ = Reader().CurrentPosition();
  errorPositionText_.reset();
  std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty() || (trimmed[0] != kCommandMark && trimmed[0] != kLabelStart)) return;
  std::shared_ptr<const ParsedCommand> parsed = commandCache_.Get(trimmed);
  Dispatch({*this, trimmed, parsed->words, parsed->code, nullptr});
}

void TKelScript::Dispatch(const Command& command) {
  if (controlFlow_.Handle(command) || jumps_.Handle(command) || jumps_.HandleLabelLine(command)) {
    return;
  }
  if (!commands_.RunGeneral(command)) SendToScope(command);
}

// Every object in scope gets the command, so one command can act on several
// objects, and each one that does not know it reports it.
void TKelScript::SendToScope(const Command& command) {
  // The scope may change while a command runs; walk a copy.
  const TScriptObjectScope scope = Module().scope;
  for (const std::string& name : scope.names) {
    if (name.empty()) continue;
    KelObject* object = objects_->FindObject(name);
    if (object == nullptr) continue;
    if (!commands_.RunObject({*this, command.text, command.words, command.code, object})) {
      ScriptError(messages::UndefinedCommand() + std::string(command.text));
    }
  }
}

void TKelScript::ExecuteLine(std::string_view text) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(kCommandMark, start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start)
      ExecuteCommand(std::string(1, kCommandMark).append(text.substr(start, end - start)));
    start = end + 1;
  }
}

bool TKelScript::ErrorRaised() const {
  return base::TheErrorLog().ErrorFlag();
}

void TKelScript::ScriptError(const std::string& message) {
  base::ScriptError(message);
}

// --- Reset ---

void TKelScript::Reset() {
  if (resetEvent_) resetEvent_();
  Calculation().ResetTables();
  objects_->ClearObjects();
  DeclareSystemVariables();
  Reader().Reset();
  services_.sound.ResetSounds();
  stage_.Reset();
  services_.movie.ResetMovie();
  textDialog_.Reset();
  LeaveSkip();
  Module() = TScriptModuleData{};
  DropFrameState();
  pendingEvent_.clear();
  systemData_.ReadLines().SetLocked(false);
  systemData_.OpenedFiles().Reset();
  resource::TheDataTree().ResetDataDirs();
}

void TKelScript::DropFrameState() {
  request_ = SystemRequest::kNone;
  holdCounter_ = 0;
  freezeCounter_ = 0;
  timeBonus_ = 0;
  autoDelay_ = 0;
  sceneSkipTargetActive_ = false;
}

void TKelScript::ResetInterpreter() {
  Reset();
  ComposeFrame(true);
  base::ClearErrors();
  ExecuteLine("\\go,\"" + std::string(kResetLabel) + "\",\"" + startScript_ + "\"");
}

void TKelScript::DeclareSystemVariables() {
  for (const SystemObject& object : kLeadingObjects) {
    DeclareObjectVariable(object.name, object.kind, 1);
  }
  DeclareObjectVariable("snd", "snd", services_.sound.ChannelCount());
  DeclareObjectVariable("dsnd", "dsnd", services_.sound.DirectChannelCount());
  for (const SystemObject& object : kTrailingObjects) {
    DeclareObjectVariable(object.name, object.kind, 1);
  }
  DeclareObjectVariable(kExtension.name, kExtension.kind, 1);
  DeclareValueVariable("ResultInt", ValueKind::kInteger, {}, kReadWrite);
  DeclareValueVariable("ResultStr", ValueKind::kString, {}, kReadWrite);
  DeclareValueVariable("ResultBtn", ValueKind::kObjectName, {}, kReadOnly);
  DeclareValueVariable("ResultBtnInt", ValueKind::kInteger, {}, kReadOnly);
  DeclareValueVariable("ResultBtnStr", ValueKind::kString, {}, kReadOnly);
  DeclareValueVariable("ResultClkInt", ValueKind::kInteger, "Int", kReadOnly);
  DeclareValueVariable("NULL", ValueKind::kObjectName, {}, kReadOnly);
  DeclareValueVariable("NIL", ValueKind::kObjectName, {}, kReadOnly);
  DeclareValueVariable("_SelectSaveFilename", ValueKind::kString, {}, kReadOnly);
  DeclareValueVariable("_BackUpSaveFilename", ValueKind::kString, {}, kReadOnly);
  DeclareValueVariable("_QuickSaveFilename", ValueKind::kString, {}, kReadOnly);
  DeclareValueVariable("SelfFilePath", ValueKind::kString, {}, kReadOnly);
  DeclareValueVariable("SelfFileName", ValueKind::kString, {}, kReadOnly);
  SetResultString("_SelectSaveFilename", kSelectSaveFile);
  SetResultString("_BackUpSaveFilename", kBackUpSaveFile);
  SetResultString("_QuickSaveFilename", kQuickSaveFile);
}

void TKelScript::DeclareObjectVariable(std::string_view name, std::string_view kind,
                                       int32_t count) {
  const std::array<int32_t, 1> sizes = {count};
  VariableSpec spec;
  spec.name = name;
  spec.kindName = kind;
  spec.attributes = kReadOnly;
  spec.valueKind = ValueKind::kObjectName;
  spec.sizes = sizes;
  Calculation().GlobalTable().Declare(spec);
}

// Object-name variables declared here are references: they name objects that
// others own.
void TKelScript::DeclareValueVariable(std::string_view name, ValueKind kind,
                                      std::string_view kindName, int16_t rights) {
  VariableSpec spec;
  spec.name = name;
  spec.kindName = kindName;
  spec.reference = kind == ValueKind::kObjectName;
  spec.attributes = rights;
  spec.valueKind = kind;
  Calculation().GlobalTable().Declare(spec);
}

// --- Reader events and system data ---

void TKelScript::LineReached(const std::string& key, int32_t offset) {
  const bool unread = systemData_.ReadLines().ReportLine(key, offset);
  if (unread && Module().mode == SkipMode::kReadSkip) LeaveSkip();
}

void TKelScript::PositionWarning(const std::string& text) {
  if (!WarningsMuted()) services_.notices.ShowWarning(text);
}

void TKelScript::ScriptReplacing() {
  if (!errorPositionText_) errorPositionText_ = Reader().PositionText(errorPosition_);
}

std::string TKelScript::ErrorContext() const {
  return errorPositionText_ ? *errorPositionText_ : Reader().PositionText(errorPosition_);
}

// Include problems are listed without stopping the script.
void TKelScript::ReaderError(const std::string& message) {
  base::TheErrorLog().ListError(message);
}

bool TKelScript::WriteVariables(base::ByteWriter& out) {
  return Calculation().SystemTable().WriteTable(out);
}

void TKelScript::ReadVariables(base::ByteReader& in) {
  Calculation().SystemTable().ReadTable(in);
}

// --- Queries ---

SystemRequest TKelScript::PendingRequest() const {
  if (services_.movie.MovieState() == MoviePlayer::kPlaying) return SystemRequest::kNone;
  return request_;
}

SystemAction TKelScript::MappedKeyAction() const {
  return ActionFromName(services_.input.ActiveAction());
}

WaitState TKelScript::CurrentWaitState() const {
  if (services_.movie.MovieState() == MoviePlayer::kPlaying) return WaitState::kMovie;
  return Module().waitState;
}

bool TKelScript::PresenceOf(std::string_view file, bool force, Presence& presence) {
  if (force || presence.calls >= kPresenceCheckInterval) {
    std::error_code error;
    presence.present = std::filesystem::is_regular_file(saveFolder_ / file, error);
    presence.calls = 0;
  }
  ++presence.calls;
  return presence.present;
}

// Rotating quick saves always have a file to write to.
bool TKelScript::QuickSavePresent(bool force) {
  const bool present = PresenceOf(kQuickSaveFile, force, quickSave_);
  return settings_.quickSaveMode == 1 || present;
}

bool TKelScript::SelectSavePresent(bool force) {
  return PresenceOf(kSelectSaveFile, force, selectSave_);
}

namespace {

bool WaitBlocksSkipping(WaitState state) {
  return state == WaitState::kButton || state == WaitState::kMovie;
}

}  // namespace

bool TKelScript::AutoAvailable() const {
  return !WaitBlocksSkipping(Module().waitState) && !Module().Locked(lock::kAuto);
}

bool TKelScript::SkipAvailable() const {
  return !WaitBlocksSkipping(Module().waitState) && !Module().Locked(lock::kSkip);
}

bool TKelScript::SceneSkipAvailable() const {
  return !Module().Locked(lock::kSceneSkip) && !WaitBlocksSkipping(Module().waitState) &&
         Module().sceneSkipAllowed;
}

bool TKelScript::StartSceneSkip(bool noLoad) {
  if (!SceneSkipAvailable()) return false;
  SetMode(noLoad ? SkipMode::kSceneSkipNoLoad : SkipMode::kSceneSkip);
  return true;
}

bool TKelScript::SceneReturnAvailable() {
  const std::string& label = Module().texts[TScriptModuleData::kSceneReturnLabel];
  if (Module().Locked(lock::kSceneSkip) || label.empty()) return false;
  const std::string current = QuietLabelName();
  return !base::EqualsIgnoreCase(label, current) &&
         Module().runStack.FindCall(label) != RunStack::kNone;
}

bool TKelScript::SceneReturn() {
  if (!SceneReturnAvailable()) return false;
  ExecuteLine("\\ret," + Module().texts[TScriptModuleData::kSceneReturnLabel]);
  Module().waitState = WaitState::kRunning;
  Module().waitTime = 0;
  Module().clickSkipTime = 0;
  return true;
}

// --- Modes and waits ---

void TKelScript::BeginWait(WaitState state, int32_t time) {
  Module().waitState = state;
  Module().waitTime = time;
}

void TKelScript::HoldSteps(int32_t steps) {
  if (!Skipping()) holdCounter_ = steps;
}

bool TKelScript::Skipping() const {
  return Module().mode >= SkipMode::kSkip;
}

// Leaving scene skip without loading takes the animation away and brings the
// scene back.
void TKelScript::SetMode(SkipMode mode) {
  Module().mode = mode;
  if (mode != SkipMode::kSceneSkipNoLoad && sceneSkipShown_) {
    sceneSkipShown_ = false;
    stage_.EndSceneSkipAnimation();
    objects_->CarryOutDeferredLoads();
    services_.sound.EndDeferral();
  }
}

void TKelScript::CancelSkip(bool force) {
  if (!force && sceneSkipTargetActive_) return;
  LeaveSkip();
}

void TKelScript::SettleInput() {
  if (!Skipping()) freezeCounter_ = kSettleSteps;
}

void TKelScript::AddAutoAdvanceDelay(int32_t ms) {
  if (ms > 0)
    autoDelay_ = static_cast<int32_t>(std::min<int64_t>(int64_t{autoDelay_} + ms, kMaxElapsedTime));
}

void TKelScript::SetSceneSkipTarget(int32_t line) {
  sceneSkipTarget_ = line;
  sceneSkipTargetActive_ = true;
}

}  // namespace mavu::script
