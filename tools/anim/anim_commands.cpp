#include "anim_commands.h"

#include <cstdio>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "base/cp932.h"
#include "base/file_io.h"
#include "description_parser.h"
#include "description_printer.h"
#include "imaging/animation/animation_file.h"
#include "shown_text.h"

namespace mavu::tools {
namespace {

using imaging::AnimationFile;

// A description may hold any bytes; none of them may steer the terminal.
int Fail(const std::string& utf8Message) {
  std::fprintf(stderr, "mavu-anim: %s\n", Escaped(utf8Message).c_str());
  return kExitFailed;
}

std::string_view AsText(const base::Bytes& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// "FILE:LINE: " for a problem of the description.
std::string Where(const std::filesystem::path& description, int line) {
  return description.string() + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": ";
}

// A file the description names, relative to the description's folder.
base::Bytes ReadNamed(const std::filesystem::path& folder, const std::string& path, int line,
                      const char* what) {
  std::optional<base::Bytes> bytes = base::ReadWholeFile(folder / path);
  if (!bytes)
    throw DescriptionError(line, std::string("cannot read the ") + what + " \"" + path + "\"");
  return std::move(*bytes);
}

AnimationFile Assemble(const AnimationDescription& description,
                       const std::filesystem::path& folder) {
  AnimationFile file;
  file.motions = description.motions;
  if (description.image) {
    file.hasImage = true;
    file.imageFormat = description.image->format;
    file.image = ReadNamed(folder, description.image->path, description.image->line, "image file");
  }
  for (const SoundReference& sound : description.sounds) {
    file.sounds.push_back({sound.name, ReadNamed(folder, sound.path, sound.line, "sound file")});
  }
  return file;
}

// Data a dump writes beside its description.
struct DataFile {
  std::string name;
  const base::Bytes& bytes;
};

std::string ImageExtension(uint8_t format) {
  static constexpr std::array<const char*, 4> kExtensions = {".bmp", ".jpg", ".png", ".png"};
  return format < kExtensions.size() ? kExtensions[format] : ".bin";
}

std::string SoundExtension(const base::Bytes& data) {
  const std::string_view text = AsText(data);
  if (text.starts_with("OggS")) return ".ogg";
  if (text.starts_with("RIFF")) return ".wav";
  return ".bin";
}

// The description of `file`, its image and sounds named after `stem`.
AnimationDescription Describe(const AnimationFile& file, const std::string& stem,
                              std::vector<DataFile>& data) {
  AnimationDescription description;
  description.motions = file.motions;
  if (file.hasImage || !file.image.empty()) {
    description.image =
        ImageReference{stem + "-image" + ImageExtension(file.imageFormat), file.imageFormat};
    data.push_back({description.image->path, file.image});
  }
  for (size_t i = 0; i < file.sounds.size(); ++i) {
    const imaging::EmbeddedSound& sound = file.sounds[i];
    description.sounds.push_back(
        {sound.name, stem + "-sound" + std::to_string(i) + SoundExtension(sound.data)});
    data.push_back({description.sounds.back().path, sound.data});
  }
  return description;
}

bool WriteText(const std::filesystem::path& path, std::string_view text) {
  return base::WriteFileAtomic(
      path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace

int BuildAnimation(const std::filesystem::path& out, const std::filesystem::path& description) {
  const std::optional<base::Bytes> text = base::ReadWholeFile(description);
  if (!text) return Fail("cannot read " + description.string());
  try {
    const AnimationFile file = Assemble(ParseDescription(AsText(*text)), description.parent_path());
    if (!base::WriteFileAtomic(out, imaging::WriteAnimationFile(file))) {
      return Fail("cannot write " + out.string());
    }
  } catch (const DescriptionError& e) {
    return Fail(Where(description, e.Line()) + e.what());
  }
  return kExitOk;
}

int DumpAnimation(const std::filesystem::path& file,
                  const std::optional<std::filesystem::path>& out) {
  const std::optional<base::Bytes> bytes = base::ReadWholeFile(file);
  if (!bytes) return Fail("cannot read " + file.string());
  base::ByteReader in(*bytes);
  std::optional<AnimationFile> animation;
  try {
    animation = imaging::ReadAnimationFile(in);
  } catch (const imaging::AnimationFileError& e) {
    return Fail(file.string() + ": " + base::Cp932ToUtf8(e.what()));
  }
  if (!animation) return Fail(file.string() + ": no ABMP5, ABMP6 or ABMP7 magic");
  std::vector<DataFile> data;
  const AnimationDescription description =
      Describe(*animation, (out ? *out : file).stem().string(), data);
  std::string text = "# " + file.filename().string() + ", ABMP" +
                     std::to_string(animation->version) + ", dumped by mavu-anim\n";
  if (!out && !data.empty())
    text += "# (the image and sound files named here are written with -o)\n";
  text += PrintDescription(description);
  if (!out) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
  }
  if (!WriteText(*out, text)) return Fail("cannot write " + out->string());
  for (const DataFile& d : data) {
    const std::filesystem::path path = out->parent_path() / d.name;
    if (!base::WriteFileAtomic(path, d.bytes)) return Fail("cannot write " + path.string());
  }
  return kExitOk;
}

}  // namespace mavu::tools
