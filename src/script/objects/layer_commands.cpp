#include <array>
#include <initializer_list>
#include <stdexcept>

#include "script/interpreter/command_arguments.h"
#include "script/interpreter/kel_script.h"
#include "script/objects/kel_object_data_button.h"
#include "script/objects/object_commands.h"
#include "script/objects/object_messages.h"

// The layer commands that image, system image, button and system button
// objects share, and that the two wait indicators (csr, scsr) take on the
// interpreter's own layers.
namespace mavu::script {
namespace {

using namespace arguments;
using imaging::ImageLibState;
using imaging::TImageLib;
using LayerHandler = bool (*)(TImageLib& layer, const Command& command);

constexpr int32_t kIndicatorChannels = 6;

const std::string& LoadFailedMessage(const Command& command) {
  switch (static_cast<ObjectKind>(command.object->Kind())) {
    case ObjectKind::kMessage:
      return messages::MessageImageLoadFailed();
    case ObjectKind::kButton:
    case ObjectKind::kSysButton:
      return messages::ButtonImageLoadFailed();
    default:
      return messages::ImageLoadFailed();
  }
}

// l,file[,image file]: a load takes time, so the next step does not count it.
bool Load(TImageLib& layer, const Command& command) {
  const std::string file = Text(command, 1);
  const std::string image = Text(command, 2);
  if (!layer.LoadFile(file, image, false)) {
    command.script.ReportError(LoadFailedMessage(command) + file + ":" + image);
  }
  command.script.SettleInput();
  return true;
}

bool FillRect(TImageLib& layer, const Command& command) {
  layer.LoadRect(Integer(command, 1), Integer(command, 2), Integer(command, 3), Integer(command, 4),
                 static_cast<uint32_t>(Integer(command, 5)));
  return true;
}

bool ResetLayer(TImageLib& layer, const Command&) {
  layer.Reset();
  return true;
}

bool Enable(TImageLib& layer, const Command&) {
  layer.Enable();
  return true;
}

bool Disable(TImageLib& layer, const Command&) {
  layer.Disable();
  return true;
}

bool Move(TImageLib& layer, const Command& command) {
  layer.MoveTo(Integer(command, 1), Integer(command, 2), Integer(command, 3), Integer(command, 4));
  return true;
}

bool Fade(TImageLib& layer, const Command& command) {
  layer.FadeTo(Integer(command, 1), Integer(command, 2));
  return true;
}

bool Easing(TImageLib& layer, const Command& command) {
  layer.SetEasing(static_cast<uint8_t>(Integer(command, 1)));
  return true;
}

bool Anchor(TImageLib& layer, const Command& command) {
  layer.SetAnchor(Integer(command, 1), Integer(command, 2));
  return true;
}

// m,motion: a number selects by index, a text by name; always from its start.
bool Motion(TImageLib& layer, const Command& command) {
  const TReturnValue motion = Value(command, 1);
  if (motion.kind == ValueKind::kInteger) {
    layer.PlayMotionAt(motion.integer, true);
  } else {
    layer.PlayMotion(motion.Text(), true);
  }
  return true;
}

// Four corners, or only right and bottom with the others 0.
ImageLibState::Rect RectArgument(const Command& command) {
  if (command.words.count - 1 == 2) return {0, 0, Integer(command, 1), Integer(command, 2)};
  return {Integer(command, 1), Integer(command, 2), Integer(command, 3), Integer(command, 4)};
}

bool HitRect(TImageLib& layer, const Command& command) {
  layer.SetHitRect(RectArgument(command));
  return true;
}

bool HoverWindow(TImageLib& layer, const Command& command) {
  layer.SetHoverWindow(RectArgument(command));
  return true;
}

int32_t MaskArgument(const Command& command) {
  return Has(command, 1) ? Integer(command, 1) : -1;
}

bool MouseMask(TImageLib& layer, const Command& command) {
  layer.SetMasks(MaskArgument(command), layer.State().drawMask);
  return true;
}

bool DrawMask(TImageLib& layer, const Command& command) {
  layer.SetMasks(layer.State().mouseMask, MaskArgument(command));
  return true;
}

bool Watch(TImageLib& layer, const Command& command) {
  layer.WatchMotion(Text(command, 1), Text(command, 2));
  return true;
}

// The channel argument, or none (reported) outside 0 .. count - 1.
std::optional<int32_t> Channel(const Command& command, int32_t count, const std::string& error) {
  const int32_t channel = Integer(command, 1);
  if (channel >= 0 && channel < count) return channel;
  command.script.ReportError(error);
  return std::nullopt;
}

bool LevelChannel(TImageLib& layer, const Command& command) {
  const int32_t count = layer.Context().soundChannels;
  if (auto channel = Channel(command, count, messages::LevelChannelOutOfRange())) {
    layer.SetLevelChannel(*channel);
  }
  return true;
}

bool PlayChannel(TImageLib& layer, const Command& command) {
  const int32_t count = layer.Context().directChannels;
  if (auto channel = Channel(command, count, messages::PlayChannelOutOfRange())) {
    layer.SetPlayChannel(*channel);
  }
  return true;
}

// The wait indicators play their sounds on the first six channels only.
bool IndicatorPlayChannel(TImageLib& layer, const Command& command) {
  if (auto channel = Channel(command, kIndicatorChannels, messages::IndicatorChannelOutOfRange())) {
    layer.SetPlayChannel(*channel);
  }
  return true;
}

bool GetEnabled(TImageLib& layer, const Command& command) {
  SetResultInt(command, layer.Enabled() ? 1 : 0);
  SetResultStr(command, layer.Enabled() ? "Enable" : "Disable");
  return true;
}

bool GetFile(TImageLib& layer, const Command& command) {
  SetResultInt(command, layer.Loaded() ? 1 : 0);
  SetResultStr(command, layer.State().file);
  return true;
}

bool GetMotion(TImageLib& layer, const Command& command) {
  SetResultInt(command, layer.CurrentMotionIndex());
  SetResultStr(command, layer.CurrentMotionName());
  return true;
}

bool GetX(TImageLib& layer, const Command& command) {
  SetResultInt(command, layer.TargetEdgeX(Integer(command, 1)));
  return true;
}

bool GetY(TImageLib& layer, const Command& command) {
  SetResultInt(command, layer.TargetEdgeY(Integer(command, 1)));
  return true;
}

bool GetPriority(TImageLib& layer, const Command& command) {
  SetResultInt(command, layer.State().moveTarget.priority);
  return true;
}

// gp,x,y,z: the move target into three variables.
bool GetPlace(TImageLib& layer, const Command& command) {
  const ImageLibState::Place& target = layer.State().moveTarget;
  TKelCalculation& calculation = command.script.Calculation();
  const int32_t depth = command.script.CallDepth();
  const std::array<int32_t, 3> values = {target.x, target.y, target.priority};
  for (int i = 0; i < 3; ++i) {
    if (Has(command, i + 1))
      calculation.AssignInteger(command.words.words[i + 1], depth, values[i]);
  }
  return true;
}

bool UserText(TImageLib& layer, const Command& command) {
  layer.SetTag(Text(command, 1));
  return true;
}

bool UserValue(TImageLib& layer, const Command& command) {
  layer.SetUserValue(Integer(command, 1));
  return true;
}

// The layer an object owns, or the interpreter's indicator layer.
template <LayerHandler Handler>
bool OnImage(TKelObjectDataImage& object, const Command& command) {
  return Handler(object.Layer(), command);
}

template <LayerHandler Handler>
bool OnWaitIndicator(const Command& command) {
  return Handler(command.script.Stage().WaitIndicator(), command);
}

template <LayerHandler Handler>
bool OnEventIndicator(const Command& command) {
  return Handler(command.script.Stage().EventIndicator(), command);
}

template <LayerHandler Handler>
bool OnTransitionLayer(const Command& command) {
  return Handler(command.script.Stage().Graphic().TransitionLayer(), command);
}

struct LayerCommand {
  std::string_view word;
  bool (*onImage)(TKelObjectDataImage& object, const Command& command);
  CommandHandler onWaitIndicator;
  CommandHandler onEventIndicator;
};

template <LayerHandler Handler>
constexpr LayerCommand Entry(std::string_view word) {
  return {word, &OnImage<Handler>, &OnWaitIndicator<Handler>, &OnEventIndicator<Handler>};
}

constexpr std::array kLayerCommands = {
    Entry<Load>("l"),          Entry<FillRect>("fr"),    Entry<ResetLayer>("i"),
    Entry<Enable>("e"),        Entry<Disable>("d"),      Entry<Move>("p"),
    Entry<Fade>("a"),          Entry<Easing>("mm"),      Entry<Anchor>("alg"),
    Entry<Motion>("m"),        Entry<HitRect>("ss"),     Entry<HoverWindow>("ds"),
    Entry<MouseMask>("in"),    Entry<DrawMask>("out"),   Entry<Watch>("ev"),
    Entry<LevelChannel>("sc"), Entry<PlayChannel>("dc"), Entry<GetEnabled>("ge"),
    Entry<GetFile>("gf"),      Entry<GetMotion>("gm"),   Entry<GetX>("gx"),
    Entry<GetY>("gy"),         Entry<GetPriority>("gz"), Entry<GetPlace>("gp"),
    Entry<UserText>("us"),     Entry<UserValue>("ui"),
};
constexpr LayerCommand kIndicatorChannel = Entry<IndicatorPlayChannel>("dc");

const LayerCommand& Find(std::string_view word) {
  for (const LayerCommand& command : kLayerCommands) {
    if (command.word == word) return command;
  }
  throw std::logic_error("no layer command " + std::string(word));
}

void AddForObjects(CommandTable& table, ObjectKind kind,
                   std::initializer_list<std::string_view> words) {
  for (std::string_view word : words) {
    table.AddObjectCommand<TKelObjectDataImage>(KindNumber(kind), word, Find(word).onImage);
  }
}

void AddForIndicator(CommandTable& table, ObjectKind kind, bool wait,
                     std::initializer_list<std::string_view> words) {
  for (std::string_view word : words) {
    const LayerCommand& command = word == "dc" ? kIndicatorChannel : Find(word);
    table.AddObjectCommand(KindNumber(kind), word,
                           wait ? command.onWaitIndicator : command.onEventIndicator);
  }
}

// lk[,n] and ck[,n]: without an argument, lock or check.
bool Lock(TKelObjectDataButton& button, const Command& command) {
  button.Button().SetLocked(Has(command, 1) ? Integer(command, 1) != 0 : true);
  return true;
}

bool Check(TKelObjectDataButton& button, const Command& command) {
  button.Button().SetChecked(Has(command, 1) ? Integer(command, 1) != 0 : true);
  return true;
}

}  // namespace

void RegisterLayerCommands(CommandTable& table) {
  AddForObjects(table, ObjectKind::kImage,
                {"l",  "a",  "i",  "e",  "d",  "in", "out", "fr",  "dc", "sc", "m", "p",
                 "ss", "ds", "mm", "gx", "gy", "gz", "gm",  "alg", "ge", "gf", "ev"});
  AddForObjects(table, ObjectKind::kSysImage,
                {"l",  "a", "i",  "e",  "d",  "in", "out", "ui", "us", "fr",  "dc",
                 "sc", "p", "ss", "ds", "mm", "gx", "gy",  "gz", "gm", "alg", "gf"});
  for (ObjectKind kind : {ObjectKind::kButton, ObjectKind::kSysButton}) {
    AddForObjects(table, kind, {"l",  "i",  "m",  "p",  "a",  "e",   "d",  "in", "out", "ui",
                                "us", "sc", "dc", "ss", "ds", "alg", "mm", "gp", "gm",  "gf"});
  }
  AddForObjects(table, ObjectKind::kMessage,
                {"l", "i", "m", "p", "a", "e", "d", "in", "out", "sc", "dc", "ss", "ds", "alg", "mm",
                 "gp", "gm", "ge", "ev"});
  AddForObjects(table, ObjectKind::kButton, {"ev"});
  AddForObjects(table, ObjectKind::kSysButton, {"ge"});
  table.AddObjectCommand<TKelObjectDataButton>(KindNumber(ObjectKind::kButton), "lk", Lock);
  table.AddObjectCommand<TKelObjectDataButton>(KindNumber(ObjectKind::kButton), "ck", Check);
  AddForIndicator(table, ObjectKind::kCursor, true, {"l", "p", "i", "e", "d", "dc"});
  AddForIndicator(table, ObjectKind::kSysCursor, false,
                  {"l", "m", "i", "e", "d", "in", "out", "p", "sc", "dc"});
  // The effect object's channels are those of its transition's layer.
  table.AddObjectCommand(KindNumber(ObjectKind::kEffect), "sc", OnTransitionLayer<LevelChannel>);
  table.AddObjectCommand(KindNumber(ObjectKind::kEffect), "dc", OnTransitionLayer<PlayChannel>);
}

}  // namespace mavu::script
