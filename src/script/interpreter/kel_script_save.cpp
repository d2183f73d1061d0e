#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/host_path.h"
#include "imaging/argb8888.h"
#include "imaging/message/message_text.h"
#include "resource/data_tree.h"
#include "resource/save_data.h"
#include "script/interpreter/interpreter_messages.h"
#include "script/interpreter/kel_script.h"
#include "script/interpreter/movie_record.h"
#include "script/interpreter/run_state_record.h"

// Saved games: the state stream every part of the game writes its share to,
// and the files that carry it.
namespace mavu::script {
namespace {

// The screen reduced by whole steps to the game's thumbnail size.
std::optional<resource::SaveThumbnail> MakeThumbnail(const imaging::TARGB8888& screen,
                                                     int32_t width, int32_t height) {
  width = std::min({width, screen.Width(), resource::SaveThumbnail::kMaxSide});
  height = std::min({height, screen.Height(), resource::SaveThumbnail::kMaxSide});
  if (width < 1 || height < 1) return std::nullopt;
  imaging::TARGB8888 reduced;
  reduced.SetSize(width, height);
  screen.Thumbnail(reduced, screen.Width() / width, screen.Height() / height);
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    pixels.insert(pixels.end(), reduced.Row(y), reduced.Row(y) + width);
  return resource::SaveThumbnail::FromArgb(pixels, width, height);
}

}  // namespace

std::optional<std::filesystem::path> TKelScript::SaveFilePath(std::string_view name) const {
  return base::PathInsideFolder(saveFolder_, name);
}

bool TKelScript::SaveExists(std::string_view name) const {
  const auto path = SaveFilePath(name);
  std::error_code error;
  return path && std::filesystem::is_regular_file(*path, error);
}

void TKelScript::DeleteSave(std::string_view name) {
  const auto path = SaveFilePath(name);
  std::error_code error;
  if (path) std::filesystem::remove(*path, error);
}

bool TKelScript::IsLoadableSave(std::string_view name) const {
  const auto path = SaveFilePath(name);
  return path && resource::TKelSaveData(codeKey_).ReadSaveFile(*path, true, false, false);
}

std::string TKelScript::NextQuickSaveName() const {
  if (settings_.quickSaveMode != 1) return std::string(kQuickSaveFile);
  std::string oldest;
  double oldestTime = 0;
  for (int32_t i = 0; i < settings_.quickSaveCount; ++i) {
    std::string name =
        std::string(kQuickSaveStem) + std::to_string(i) + std::string(kSaveExtension);
    if (!SaveExists(name)) return name;
    resource::TKelSaveData data(codeKey_);
    if (!data.ReadSaveFile(*SaveFilePath(name), true, false, false)) continue;
    if (oldest.empty() || data.Header().saveTime < oldestTime) {
      oldest = std::move(name);
      oldestTime = data.Header().saveTime;
    }
  }
  return oldest;
}

bool TKelScript::SaveGame(std::string_view name, bool compressed) {
  if (name.empty()) return true;
  systemData_.SaveWithBackup();
  const auto path = SaveFilePath(name);
  base::ByteWriter state;
  if (!path || !WriteGameState(state)) return false;
  ComposeFrame(true);
  resource::TKelSaveData data(codeKey_);
  // A slot list shows the excerpt as it reads, not the tags that draw it.
  const imaging::KelLogEntry* newest = stage_.Backlog().Back(0);
  data.SetHeader(Module().saveTitles, newest ? imaging::PlainText(newest->text) : std::string());
  data.SetState(state.Data());
  auto thumbnail =
      MakeThumbnail(stage_.Graphic().ShownPicture(), settings_.thumbWidth, settings_.thumbHeight);
  if (thumbnail) data.SetThumbnail(std::move(*thumbnail));
  return data.WriteSaveFile(*path, compressed);
}

bool TKelScript::LoadGame(std::string_view name) {
  const std::string file(name);
  if (!SaveExists(name)) {
    ReportError(messages::GameDataNotFound() + file);
    return false;
  }
  systemData_.SaveSystemData(resource::kSystemDataName);
  resource::TKelSaveData data(codeKey_);
  std::string why;
  if (!data.ReadSaveFile(*SaveFilePath(name), true, true, false) ||
      !InstallGameState(*data.State(), why)) {
    ReportError(messages::GameDataReadError() + file);
    return false;
  }
  SettleAfterLoad();
  return true;
}

// A transition saved on its way has lost the picture it started from: the
// loaded scene is shown at rest instead.
void TKelScript::SettleAfterLoad() {
  imaging::TKelGraphic& graphic = stage_.Graphic();
  if (graphic.CurrentMode() != imaging::TKelGraphic::Mode::kNone) graphic.EndTransition();
  graphic.Compositor().PostInvalidateAll();
  CancelSkip(true);
  DropFrameState();
}

bool TKelScript::WriteGameState(base::ByteWriter& out) {
  RunStateRecord::Write(Module(), resource::TheDataTree().DataDirs(), out);
  Reader().SaveReaderState(out);
  stage_.Backlog().WriteState(out);
  services_.sound.SaveState(out);
  stage_.WaitIndicator().SaveState(out);
  stage_.EventIndicator().SaveState(out);
  stage_.Graphic().SaveState(out);
  stage_.Camera().SaveState(out);
  services_.movie.SaveMovie(out);
  textDialog_.SaveToStream(out);
  systemData_.ReadLines().WriteState(out);
  systemData_.OpenedFiles().WriteState(out);
  const bool global = Calculation().GlobalTable().WriteTable(out);
  return Calculation().LocalTable().WriteTable(out) && global;
}

// A stream that does not read whole leaves the game as it was: what was
// installed before the damage is taken back from the game's own stream, and
// the sound and the movie, which cannot be taken back without being heard, are
// installed only once everything else has read.
bool TKelScript::InstallGameState(std::span<const uint8_t> state, std::string& why) {
  base::ByteWriter before;
  const bool canRollBack = WriteGameState(before);
  try {
    ApplyGameState(state, true);
    return true;
  } catch (const std::bad_alloc&) {
    why = "not enough memory for what it holds";
  } catch (const std::exception& e) {  // damage found by any part of the game
    why = e.what();
  }
  if (!canRollBack || !TakeBack(before.Data())) Reset();
  return false;
}

// The game's own stream reads back unless the script it stands in has gone
// from the data since; the game then starts afresh rather than run half loaded.
bool TKelScript::TakeBack(std::span<const uint8_t> state) {
  try {
    ApplyGameState(state, false);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TKelScript::ApplyGameState(std::span<const uint8_t> state, bool withSound) {
  base::ByteReader in(state);
  RunStateRecord run = RunStateRecord::Read(in);
  // Every file named after this point is found through the saved folders.
  resource::TheDataTree().RestoreDataDirs(run.dirs);
  if (!Reader().LoadReaderState(in)) {
    throw base::FormatError("the saved script position cannot be reached");
  }
  stage_.Backlog().ReadState(in);
  base::ByteReader sound(in.Span(services_.sound.StateBytes()));
  stage_.WaitIndicator().LoadState(in);
  stage_.EventIndicator().LoadState(in);
  stage_.Graphic().LoadState(in);
  stage_.Camera().LoadState(in);
  base::ByteReader movie(in.Span(MovieRecord::kSize));
  MovieRecord::Read(movie);
  movie.Seek(0);
  textDialog_.LoadFromStream(in);
  systemData_.ReadLines().ReadState(in);
  systemData_.OpenedFiles().ReadState(in);
  Calculation().GlobalTable().ReadTable(in);
  Calculation().LocalTable().ReadTable(in);
  if (!in.AtEnd()) throw base::FormatError("the state goes on after the variables");
  if (withSound) services_.sound.RestoreState(sound);
  services_.movie.RestoreMovie(movie);
  Module() = std::move(run.module);
}

}  // namespace mavu::script
