// The setup file: optional magic, a chain of tagged blocks, the program block, and the
// character code the instrument's settings select.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "setupfile/setup_image.h"
#include "store/program_area.h"

namespace vx {

// "KESTRAN SETUP" with two blanks and a zero byte.
inline constexpr std::array<std::uint8_t, 16> SetupFileMagic = {
    'K', 'E', 'S', 'T', 'R', 'A', 'N', ' ', 'S', 'E', 'T', 'U', 'P', ' ', ' ', 0};
inline constexpr std::uint32_t ProgramBlockLength = static_cast<std::uint32_t>(ProgramAreaSize);
inline constexpr std::size_t BlockHeaderSize = 8;
inline constexpr std::size_t MaxSetupFileSize = 67'108'864;
inline constexpr std::size_t DefaultSetupTemplateSize = 1780;

// Magic, "STUP" block of 1756 bytes of default settings selecting character code 0.
extern const std::array<std::uint8_t, DefaultSetupTemplateSize> DefaultSetupTemplate;

// The one document of a run.
struct SetupDocument {
  // The bytes of the file last loaded (or of the default template); only the first
  // setupLength bytes are ever written back.
  SetupImage image;
  ProgramArea programArea;
  // File offset of the program block's tag: the length of the part kept on save.
  std::int32_t setupLength = 0;
};

// Default template and four empty programs of 512 lines.
void initialise(SetupDocument& document);

enum class LoadError {
  None,
  CannotOpen,
  ReadFailed,
  TooLarge,
  NoProgramBlock,
  Truncated,       // the program block's data runs past the end of the file
  NotRegularFile,  // a FIFO, device or directory, refused without reading
};
// A short English description ("no program block", ...).
const char* describe(LoadError error);

// Loads a setup file. Returns the character-code byte the settings select (0..255) or -1 on
// failure, with the reason in `why` when given. A failed load changes nothing in the document
// and never creates a file.
int load(SetupDocument& document, const std::filesystem::path& path, LoadError* why = nullptr);
// The same on bytes already in memory; `bytes` is taken over on success.
int loadImage(SetupDocument& document, SetupImage&& bytes, LoadError* why = nullptr);
// The same on a plain byte vector, whose bytes are copied into the image on success.
int loadImage(SetupDocument& document, const std::vector<std::uint8_t>& bytes,
              LoadError* why = nullptr);

class FileLock;

// Saves: the first setupLength bytes of the image (the default template when the file began with
// its program block), then the program block. The file is replaced atomically (see
// writeFileAtomically for links, owners and files the user may not write): on any failure the
// previous file is left as it was, no temporary file remains, and -1 is returned with a short
// reason in `why` when given ("the file is read-only"). 0 on success. `heldLock` is this
// process's lock on the file, if it holds one.
int save(SetupDocument& document, const std::filesystem::path& path, std::string* why = nullptr,
         FileLock* heldLock = nullptr);

// One block of the chain as found by the walk.
struct BlockInfo {
  std::array<char, 4> tag{};
  std::uint64_t offset = 0;  // file offset of the tag
  std::uint32_t length = 0;  // data bytes after the 8-byte header
  bool isProgramBlock = false;
};

// Whether the bytes begin with the 16-byte magic.
bool hasMagic(std::span<const std::uint8_t> bytes);
// The blocks along the chain up to and including the program block (or until the walk leaves
// the file or a block header does not fit).
std::vector<BlockInfo> blockChain(std::span<const std::uint8_t> bytes);
// The character-code byte the settings of the first block select (0..255); missing bytes of a
// short file count as 0.
int characterCodeByte(std::span<const std::uint8_t> bytes);

}  // namespace vx
