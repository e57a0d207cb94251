#include "setupfile/setup_file.h"

#include <algorithm>
#include <cstring>

#include "setupfile/file_io.h"
#include "store/bytes.h"

namespace vx {
namespace {

constexpr std::array<std::uint8_t, 4> ProgramBlockTag = {'S', 'P', 'G', '1'};

// Where the selector of the settings points: the offset of the character-code byte in the first
// block's data, per selector value; -1 for selectors that select no byte (code 0).
// clang-format off
constexpr std::array<int, 11> CharacterCodeOffsets = {
  /* 0 */ 32, /* 1 */ 72, /* 2 */ 112, /* 3 */ 164, /* 4 */ 192, /* 5 */ 216,
  /* 6 */ 236, /* 7 */ -1, /* 8 */ 112, /* 9 */ -1, /* 10 */ 256,
};
// clang-format on
constexpr std::size_t SelectorOffset = 9;

std::size_t chainStart(std::span<const std::uint8_t> bytes) { return hasMagic(bytes) ? 16 : 0; }

bool isProgramBlockHeader(std::span<const std::uint8_t> bytes, std::uint64_t position) {
  return std::equal(ProgramBlockTag.begin(), ProgramBlockTag.end(),
                    bytes.begin() + static_cast<std::ptrdiff_t>(position)) &&
         readU32(&bytes[static_cast<std::size_t>(position) + 4]) == ProgramBlockLength;
}

void fail(LoadError* why, LoadError reason) {
  if (why) {
    *why = reason;
  }
}

}  // namespace

void initialise(SetupDocument& document) {
  document.image.assign(DefaultSetupTemplate.begin(), DefaultSetupTemplate.end());
  document.setupLength = static_cast<std::int32_t>(DefaultSetupTemplateSize);
  resetProgramArea(document.programArea);
}

const char* describe(LoadError error) {
  switch (error) {
    case LoadError::None:
      return "no error";
    case LoadError::CannotOpen:
      return "cannot open the file";
    case LoadError::ReadFailed:
      return "cannot read the file";
    case LoadError::TooLarge:
      return "the file is larger than 64 MiB";
    case LoadError::NoProgramBlock:
      return "no program block";
    case LoadError::Truncated:
      return "the program block is cut short";
    case LoadError::NotRegularFile:
      return "not a regular file";
  }
  return "unknown error";
}

bool hasMagic(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= SetupFileMagic.size() &&
         std::equal(SetupFileMagic.begin(), SetupFileMagic.end(), bytes.begin());
}

int characterCodeByte(std::span<const std::uint8_t> bytes) {
  const std::size_t settings = chainStart(bytes) + BlockHeaderSize;
  auto byteAt = [&](std::size_t offset) -> int {
    return settings + offset < bytes.size() ? bytes[settings + offset] : 0;
  };
  const int selector = byteAt(SelectorOffset);
  if (selector >= static_cast<int>(CharacterCodeOffsets.size())) {
    return 0;
  }
  const int offset = CharacterCodeOffsets[static_cast<std::size_t>(selector)];
  return offset < 0 ? 0 : byteAt(static_cast<std::size_t>(offset));
}

std::vector<BlockInfo> blockChain(std::span<const std::uint8_t> bytes) {
  std::vector<BlockInfo> blocks;
  // Each step moves on by at least the 8-byte header, so the walk always ends.
  for (std::uint64_t position = chainStart(bytes); position + BlockHeaderSize <= bytes.size();) {
    BlockInfo block;
    const auto at = static_cast<std::size_t>(position);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), 4, block.tag.begin());
    block.offset = position;
    block.length = readU32(&bytes[at + 4]);
    block.isProgramBlock = isProgramBlockHeader(bytes, position);
    blocks.push_back(block);
    if (block.isProgramBlock) {
      break;
    }
    position += BlockHeaderSize + block.length;
  }
  return blocks;
}

namespace {

// Where the program block of a file image stands, or -1 with the reason.
std::int64_t findProgramBlock(std::span<const std::uint8_t> bytes, LoadError* why) {
  if (bytes.size() > MaxSetupFileSize) {
    fail(why, LoadError::TooLarge);
    return -1;
  }
  const std::vector<BlockInfo> blocks = blockChain(bytes);
  if (blocks.empty() || !blocks.back().isProgramBlock) {
    fail(why, LoadError::NoProgramBlock);
    return -1;
  }
  const std::uint64_t position = blocks.back().offset;
  if (position + BlockHeaderSize + ProgramAreaSize > bytes.size()) {
    fail(why, LoadError::Truncated);
    return -1;
  }
  return static_cast<std::int64_t>(position);
}

// Takes the program area and the kept length from an image whose program block stands at
// `position`; the caller puts the image itself in place.
void takeProgramBlock(SetupDocument& document, std::span<const std::uint8_t> bytes,
                      std::int64_t position) {
  std::memcpy(&document.programArea,
              bytes.data() + static_cast<std::size_t>(position) + BlockHeaderSize, ProgramAreaSize);
  document.setupLength = static_cast<std::int32_t>(position);
}

}  // namespace

int loadImage(SetupDocument& document, SetupImage&& bytes, LoadError* why) {
  const std::int64_t position = findProgramBlock(bytes, why);
  if (position < 0) return -1;
  const int code = characterCodeByte(bytes);
  takeProgramBlock(document, bytes, position);
  document.image = std::move(bytes);
  fail(why, LoadError::None);
  return code;
}

int loadImage(SetupDocument& document, const std::vector<std::uint8_t>& bytes, LoadError* why) {
  const std::int64_t position = findProgramBlock(bytes, why);
  if (position < 0) return -1;
  const int code = characterCodeByte(bytes);
  takeProgramBlock(document, bytes, position);
  document.image.assign(bytes.begin(), bytes.end());
  fail(why, LoadError::None);
  return code;
}

int load(SetupDocument& document, const std::filesystem::path& path, LoadError* why) {
  SetupImage bytes;
  switch (readWholeFile(path, MaxSetupFileSize, bytes)) {
    case ReadStatus::Ok:
      break;
    case ReadStatus::CannotOpen:
      fail(why, LoadError::CannotOpen);
      return -1;
    case ReadStatus::ReadFailed:
      fail(why, LoadError::ReadFailed);
      return -1;
    case ReadStatus::TooLarge:
      fail(why, LoadError::TooLarge);
      return -1;
    case ReadStatus::NotRegularFile:
      fail(why, LoadError::NotRegularFile);
      return -1;
  }
  return loadImage(document, std::move(bytes), why);
}

int save(SetupDocument& document, const std::filesystem::path& path, std::string* why,
         FileLock* heldLock) {
  if (document.setupLength < 0 ||
      static_cast<std::size_t>(document.setupLength) > document.image.size()) {
    if (why) {
      *why = "the document's settings part is damaged";
    }
    return -1;
  }
  // A file that began with its program block gets the default settings in front of it.
  if (document.setupLength == 0) {
    document.image.resize(std::max(document.image.size(), DefaultSetupTemplateSize));
    std::copy(DefaultSetupTemplate.begin(), DefaultSetupTemplate.end(), document.image.begin());
    document.setupLength = static_cast<std::int32_t>(DefaultSetupTemplateSize);
  }
  std::array<std::uint8_t, BlockHeaderSize> header{};
  std::copy(ProgramBlockTag.begin(), ProgramBlockTag.end(), header.begin());
  writeU32(&header[4], ProgramBlockLength);
  const std::array<std::span<const std::uint8_t>, 3> pieces = {
      std::span<const std::uint8_t>(document.image.data(),
                                    static_cast<std::size_t>(document.setupLength)),
      std::span<const std::uint8_t>(header),
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(&document.programArea),
                                    ProgramAreaSize),
  };
  return writeFileAtomically(path, pieces, why, heldLock) ? 0 : -1;
}

}  // namespace vx
